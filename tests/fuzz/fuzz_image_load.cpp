// Fuzz entry point: load and decode of an image file, all 16 stages.
//
// One document serves every run, as one serves a whole editing session: each load must leave exactly
// the new file's bytes followed by zeros, whatever the earlier runs loaded. The address configuration
// moves stage 0's object and map tables into the first bytes of the file, so small inputs reach them.

#include <algorithm>
#include <memory>

#include "document/MyIniFiles.h"
#include "document/fileio.h"
#include "fuzz_support.h"

namespace {

constexpr const char* kIni =
    "[LevelDataAddress]\n"
    "ObjectScreen=10\nObjectX=90\nObjectY=110\nObjectKind=190\nObjectOffset=210\nMap=240\n"
    "BGPalette=270\nBGPaletteAnime=280\nChip32x32=300\n";

struct Session {
    Session() {
        const auto ini = fuzz::ScratchFolder() / "load.ini";
        fuzz::WriteWholeFile(ini, kIni, std::char_traits<char>::length(kIni));
        file = std::make_unique<TMyMemIniFile>(ini);
        rom = std::make_unique<RomImageData>(flags, *file);
        image = fuzz::ScratchFolder() / "load.nes";
    }
    EditFlagManagement flags{nullptr};
    std::unique_ptr<TMyMemIniFile> file;
    std::unique_ptr<RomImageData> rom;
    std::filesystem::path image;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Session s;
    if (size > static_cast<std::size_t>(kImageCapacity) + 1)
        return -1;  // refused by size alone; nothing to learn from longer inputs
    fuzz::WriteWholeFile(s.image, data, size);
    const std::int32_t before = s.rom->ImageSize();
    const LoadResult r = s.rom->LoadFromFile(s.image);
    const bool magic = size >= 4 && data[0] == 0x4E && data[1] == 0x45 && data[2] == 0x53 && data[3] == 0x1A;
    if (size < 16 || size > static_cast<std::size_t>(kImageCapacity)) {
        FUZZ_CHECK(r == LoadResult::SizeRefused);
    } else {
        FUZZ_CHECK(r == (magic ? LoadResult::Loaded : LoadResult::BadMagic));
    }
    if (r != LoadResult::Loaded) {
        FUZZ_CHECK(s.rom->ImageSize() == before);
        return 0;
    }
    FUZZ_CHECK(s.rom->ImageSize() == static_cast<std::int32_t>(size));
    const Byte* buf = s.rom->ImageBytes();
    FUZZ_CHECK(std::equal(data, data + size, buf));
    // Only the first 4 KiB past the end are checked each run; the document tests check the whole rest.
    const std::size_t end = std::min<std::size_t>(size + 0x1000, kImageCapacity);
    FUZZ_CHECK(std::all_of(buf + size, buf + end, [](Byte b) { return b == 0; }));
    for (int st = 0; st < kStageCount; ++st) {
        const StageData& stage = s.rom->StageAt(st);
        int total = 0;
        for (int screen = 0; screen < kScreenCount; ++screen)
            total += static_cast<int>(stage.ScreenObjects(screen).size());
        FUZZ_CHECK(total == stage.ObjectTotal());
        FUZZ_CHECK(total <= kObjectSlots);
    }
    // Stage 0's map lies in the file: it decodes to the file's bytes.
    if (size >= 0x240 + kScreenCount)
        FUZZ_CHECK(std::equal(data + 0x240, data + 0x240 + kScreenCount, s.rom->StageAt(0).Map()));
    return 0;
}
