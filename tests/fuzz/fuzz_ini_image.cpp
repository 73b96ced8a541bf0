// Fuzz entry point: an address configuration text and an image. Builds the address table and the table
// sharing from the text, loads the image, reads every table of every stage, writes every table of every
// stage back (every category flagged), saves into a scratch folder and loads the saved file again.

#include <algorithm>
#include <memory>

#include "document/MyIniFiles.h"
#include "document/fileio.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::IniAndImage in = fuzz::SplitIniAndImage(data, size);
    if (in.imageSize > static_cast<std::size_t>(kImageCapacity)) return -1;
    const auto& dir = fuzz::ScratchFolder();
    fuzz::WriteWholeFile(dir / "q.ini", in.ini.data(), in.ini.size());
    fuzz::WriteWholeFile(dir / "in.nes", in.image, in.imageSize);

    TMyMemIniFile ini(dir / "q.ini");
    EditFlagManagement flags(nullptr);
    RomImageData rom(flags, ini);
    // Every address key is written back; the text must read back the same.
    ini.UpdateFile();
    FUZZ_CHECK(TMyMemIniFile(dir / "q.ini").ToText() == ini.ToText());

    if (rom.LoadFromFile(dir / "in.nes") != LoadResult::Loaded) return 0;
    for (int s = 0; s < kStageCount; ++s) {
        rom.StageAt(s).ReadAllTables();
        for (int c = 0; c < kModifiedCategoryCount; ++c) flags.SetModified(static_cast<ModifiedCategory>(c), s, true);
    }
    // A few edits through the operations the pages use, so the written tables differ from the read ones.
    StageData& st = rom.StageAt(in.imageSize % kStageCount);
    st.SetMapEntry(static_cast<int>(in.imageSize % kScreenCount), static_cast<Byte>(in.ini.size()));
    st.SetChipProperty(static_cast<int>(in.ini.size() % 256), static_cast<Byte>(in.imageSize));
    if (st.ObjectTotal() < kObjectSlots) st.AppendObject(static_cast<int>(in.ini.size() % kScreenCount), 1, 2, 3);

    rom.SaveToFile(dir / "out.nes");
    FUZZ_CHECK(!flags.AnyModified());
    const std::vector<Byte> saved = fuzz::ReadWholeFile(dir / "out.nes");
    FUZZ_CHECK(saved.size() == in.imageSize);
    FUZZ_CHECK(std::equal(saved.begin(), saved.end(), rom.ImageBytes()));

    // The saved file loads again, and saving it unchanged writes the same bytes. (An address configuration
    // can place a table over the header: the image saved then has no magic and is refused, as any such file.)
    const bool magic =
        saved.size() >= 4 && saved[0] == 0x4E && saved[1] == 0x45 && saved[2] == 0x53 && saved[3] == 0x1A;
    const LoadResult again = rom.LoadFromFile(dir / "out.nes");
    FUZZ_CHECK(again == (magic ? LoadResult::Loaded : LoadResult::BadMagic));
    if (again != LoadResult::Loaded) return 0;
    rom.SaveToFile(dir / "again.nes");
    FUZZ_CHECK(fuzz::ReadWholeFile(dir / "again.nes") == saved);
    return 0;
}
