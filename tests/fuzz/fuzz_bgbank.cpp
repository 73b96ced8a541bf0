// Fuzz entry point: BG bank assembly for every stage, load point and scroll number, and palette
// animation ticks for every stage and palette set, on an image built from patches (see fuzz_support.h)
// with the address configuration text in front.

#include <memory>

#include "document/MyIniFiles.h"
#include "document/fileio.h"
#include "fuzz_support.h"
#include "graphics/graphics.h"

namespace {

const FcPaletteData& Colours() {
    static const FcPaletteData palette = [] {
        std::array<std::uint8_t, 192> bytes{};
        for (int i = 0; i < 192; ++i) bytes[std::size_t(i)] = static_cast<std::uint8_t>(i * 37);
        return FcPaletteData::FromBytes(bytes);
    }();
    return palette;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::IniAndImage in = fuzz::SplitIniAndImage(data, size);
    const std::vector<Byte> image = fuzz::PatchedImage(in.image, in.imageSize);
    if (image.empty()) return -1;
    const auto& dir = fuzz::ScratchFolder();
    fuzz::WriteWholeFile(dir / "bank.ini", in.ini.data(), in.ini.size());
    fuzz::WriteWholeFile(dir / "bank.nes", image.data(), image.size());

    TMyMemIniFile ini(dir / "bank.ini");
    EditFlagManagement flags(nullptr);
    RomImageData rom(flags, ini);
    FUZZ_CHECK(rom.LoadFromFile(dir / "bank.nes") == LoadResult::Loaded);

    BgBank bank(rom);
    for (int s = 0; s < kStageCount; ++s)
        for (int point = 0; point < 3; ++point)
            for (int scroll = 0; scroll < 16; ++scroll) {
                bank.Assemble(s, point, scroll);
                const BgBank::Report& r = bank.LastReport();
                FUZZ_CHECK(r.initialSet.size() == 2 && r.scrollSet.size() == 2);
                FUZZ_CHECK(r.initialAddress.size() == 5 && r.scrollAddress.size() == 5);
            }

    EditorGraphics gfx(Colours(), rom);
    for (int s = 0; s < kStageCount; ++s) {
        const StageData& stage = rom.StageAt(s);
        for (int set = 0; set < kPaletteSetCount; ++set) {
            gfx.LoadStagePalette(stage.BGPalette(set));
            gfx.ResetPaletteAnimation();
            for (int tick = 0; tick < 40; ++tick) gfx.StepPaletteAnimation(stage.PaletteAnime(set));
            for (int p = 0; p < 4; ++p)
                FUZZ_CHECK(gfx.PaletteAnimationStep(p) >= 0 && gfx.PaletteAnimationStep(p) <= 0xFF);
        }
    }
    return 0;
}
