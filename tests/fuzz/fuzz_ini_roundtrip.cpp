// Fuzz entry point: the INI reader's parse and write round trip. Whatever text it reads, what it writes
// reads back to the same sections, keys and values, and writing that again gives the same text.

#include <algorithm>
#include <string>

#include "document/MyIniFiles.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& dir = fuzz::ScratchFolder();
    fuzz::WriteWholeFile(dir / "in.ini", data, size);
    TMyMemIniFile first(dir / "in.ini");
    // The typed readers on every value.
    for (const std::string& section : first.Sections())
        for (const std::string& key : first.Keys(section)) {
            (void)first.ReadHex(section, key, 1);
            (void)first.ReadInteger(section, key, 2);
            (void)first.ReadBool(section, key, true);
        }
    // A write to a name made from the input, as a hand-edited file and the program's own writes mix.
    const std::string name(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 12));
    first.WriteString(name, name, name);
    first.WriteHex("Address", name, static_cast<std::int32_t>(size));

    first.UpdateFile();  // into in.ini
    TMyMemIniFile second(dir / "in.ini");
    FUZZ_CHECK(second.ToText() == first.ToText());
    FUZZ_CHECK(second.Sections() == first.Sections());
    for (const std::string& section : first.Sections()) {
        FUZZ_CHECK(second.Keys(section) == first.Keys(section));
        for (const std::string& key : first.Keys(section))
            FUZZ_CHECK(second.ReadString(section, key, "\x01") == first.ReadString(section, key, "\x02"));
    }
    return 0;
}
