// Fuzz entry point: BG bank assembly and palette animation ticks on an image built from patches (see
// fuzz_support.h) with the address configuration text in front. The two choice bytes pick what one run looks
// at: the first the stage (low four bits) and the load point (high four bits: 1 and 2 are the mid-points,
// any other number the stage's start), the second the scroll number (0 to 15 read the stage's scroll table,
// any other number loads no scroll set). The run assembles that bank, then ticks the palette animation 40
// times for each of the stage's palette sets.
//
// One assembly per run: an assembly walks a load record's list up to the image's end, and the fuzzer reaches
// every stage, load point and scroll number through the choice bytes far sooner than by assembling all
// 768 combinations of every input.

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

// A document with its bank and graphics, kept per address table (fuzz_support.h).
struct Document {
    explicit Document(TMyMemIniFile& ini) : rom(flags, ini), bank(rom), gfx(Colours(), rom) {}
    EditFlagManagement flags{nullptr};
    RomImageData rom;
    BgBank bank;
    EditorGraphics gfx;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::IniAndImage in = fuzz::SplitIniAndImage(data, size);
    const auto image = fuzz::ScratchFolder() / "bank.nes";
    if (fuzz::WritePatchedImage(image, in.image, in.imageSize) == 0) return -1;
    const int choice = in.imageSize > 3 ? in.image[3] : 0;
    const int stage = choice & 0x0F, point = choice >> 4, scroll = in.imageSize > 4 ? in.image[4] : 0;

    Document& d = fuzz::DocumentFor<Document>(in.ini, fuzz::ScratchFolder() / "bank.ini", [](TMyMemIniFile&) {});
    FUZZ_CHECK(d.rom.LoadFromFile(image) == LoadResult::Loaded);

    d.bank.Assemble(stage, point, scroll);
    const BgBank::Report& r = d.bank.LastReport();
    FUZZ_CHECK(r.initialSet.size() == 2 && r.scrollSet.size() == 2);
    FUZZ_CHECK(r.initialAddress.size() == 5 && r.scrollAddress.size() == 5);

    const StageData& st = d.rom.StageAt(stage);
    for (int set = 0; set < kPaletteSetCount; ++set) {
        d.gfx.LoadStagePalette(st.BGPalette(set));
        d.gfx.ResetPaletteAnimation();
        for (int tick = 0; tick < 40; ++tick) d.gfx.StepPaletteAnimation(st.PaletteAnime(set));
        for (int p = 0; p < 4; ++p)
            FUZZ_CHECK(d.gfx.PaletteAnimationStep(p) >= 0 && d.gfx.PaletteAnimationStep(p) <= 0xFF);
    }
    return 0;
}
