// Fuzz entry point: an address configuration text and an image. Builds the address table and the table
// sharing from the text, loads the image (which reads every table of every stage), writes every table of
// every stage back (every category flagged), saves into a scratch folder and loads the saved file again.
//
// The document of an address table is kept for the runs that follow with the same table (fuzz_support.h);
// a text is read, its addresses and sharing written back and checked when it is not among the last ones seen.

#include <algorithm>
#include <memory>

#include "document/MyIniFiles.h"
#include "document/fileio.h"
#include "fuzz_support.h"

namespace {

struct Document {
    explicit Document(TMyMemIniFile& ini) : rom(flags, ini) {}
    EditFlagManagement flags{nullptr};
    RomImageData rom;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::IniAndImage in = fuzz::SplitIniAndImage(data, size);
    if (in.imageSize > static_cast<std::size_t>(kImageCapacity)) return -1;
    const auto& dir = fuzz::ScratchFolder();
    // Every address key is written back; the text must read back the same.
    Document& d = fuzz::DocumentFor<Document>(in.ini, dir / "q.ini", [&](TMyMemIniFile& ini) {
        ini.UpdateFile();
        FUZZ_CHECK(TMyMemIniFile(dir / "q.ini").ToText() == ini.ToText());
    });
    RomImageData& rom = d.rom;
    EditFlagManagement& flags = d.flags;

    fuzz::WriteWholeFile(dir / "in.nes", in.image, in.imageSize);
    if (rom.LoadFromFile(dir / "in.nes") != LoadResult::Loaded) return 0;
    for (int s = 0; s < kStageCount; ++s)
        for (int c = 0; c < kModifiedCategoryCount; ++c) flags.SetModified(static_cast<ModifiedCategory>(c), s, true);
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
