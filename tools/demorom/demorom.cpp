// The demo ROM image generator. Everything in the image is drawn or composed here:
//
//   file offset          contents
//   000000..000010       iNES header (32 x 16 KiB PRG, CHR RAM, mapper 4)
//   000010 + 0x2000 b    tile bank b (8 KiB); the game reads tiles from "16 + 0x2000 x bank + 256 x page - 0x8000",
//                        so source pages 0x80..0x9F address the bank's 8 KiB
//     banks 0x00..0x0F   per-stage tiles: pages 0x84..0x8F the stage's own art (BG pages 4..15), 0x90..0x93 other
//                        decorations (mid-point 1), 0x94..0x97 other terrain (mid-point 2), 0x98..0x9A variants of
//                        BG page 15 (scroll loads)
//     bank 0x10          common tiles, pages 0x80..0x83 (BG pages 0..3)
//   040010 + 0x2000 s    the per-stage tables of stage s at the default addresses (up to offset 0x162C of the block)
//   0418D7               palette animation colour triples (stage 0's block, past its tables)
//   041B53               palette animation records (pointer 0xBB43 is the record at 041B53)
//   041D3C / 041D7C      palette animation pointer tables (64 entries each)
//   051810 / 051880      initial graphics pointer tables (0x70 entries each, stage 8's block past its tables)
//   0518F0..052010       initial graphics load records (record = pointer + 0x46010)
//   053810 / 053870      scroll graphics pointer tables (0x50 entries each, stage 9's block past its tables)
//   0538C0..054010       scroll graphics load records (record = pointer + 0x48010)
//   07C8BB               mid-point table, 8 bytes per stage
//   08000A..080010       interrupt vectors
//
// Each part lives in its own file: demorom_tiles.cpp (tiles), demorom_loads.cpp (graphics load records, pointers,
// mid-points, scroll tables), demorom_palettes.cpp (palette sets and animations), demorom_mapsets.cpp (16x16 and
// 32x32 chips, map sets, map), demorom_objects.cpp (objects). Every write goes through ImageBuilder::Claim
// (demorom_layout.cpp), which refuses a range outside the image or overlapping an earlier one, so the layout above
// is checked each time the image is built.

#include "demorom.h"

#include "demorom_parts.h"

namespace demo {

// Stage themes: what each stage looks like. Each follows the title the editor's stage selector gives the stage.

// clang-format off
const Theme kThemes[kStages] = {
    // 00 はじまりの草原: grassland
    {false, false, Feature::Water, Ground::Grass, Bricks::Bond, Backdrop::Hills, Decor::Tree, false,
     {0x21, 0x1A, 0x2A, 0x30, 0x21, 0x07, 0x17, 0x29, 0x21, 0x0F, 0x16, 0x26, 0x21, 0x01, 0x11, 0x31}},
    // 01 風の森: forest
    {false, false, Feature::Water, Ground::Grass, Bricks::Bond, Backdrop::Forest, Decor::Tree, false,
     {0x39, 0x09, 0x19, 0x30, 0x39, 0x08, 0x18, 0x2A, 0x39, 0x07, 0x17, 0x27, 0x39, 0x0B, 0x1B, 0x2B}},
    // 02 石切り場: quarry, stone on conveyors
    {false, false, Feature::Conveyor, Ground::Rock, Bricks::Stones, Backdrop::Mountains, Decor::Machine, false,
     {0x21, 0x00, 0x10, 0x30, 0x21, 0x07, 0x17, 0x27, 0x21, 0x2D, 0x00, 0x10, 0x21, 0x07, 0x17, 0x28}},
    // 03 地下水路: sewer
    {true, false, Feature::Water, Ground::Rock, Bricks::Bond, Backdrop::Sewer, Decor::Machine, false,
     {0x0F, 0x0B, 0x1B, 0x2B, 0x0F, 0x08, 0x18, 0x28, 0x0F, 0x2D, 0x10, 0x3B, 0x0F, 0x0A, 0x1A, 0x2A}},
    // 04 砂の遺跡: desert ruins
    {false, false, Feature::Water, Ground::Sand, Bricks::Stones, Backdrop::Dunes, Decor::Statue, false,
     {0x36, 0x07, 0x17, 0x27, 0x36, 0x07, 0x27, 0x37, 0x36, 0x06, 0x16, 0x26, 0x36, 0x0C, 0x1C, 0x2C}},
    // 05 氷の山道: snowy mountain path
    {false, false, Feature::Water, Ground::Snow, Bricks::Stones, Backdrop::Mountains, Decor::Tree, false,
     {0x21, 0x01, 0x11, 0x30, 0x21, 0x0C, 0x1C, 0x30, 0x21, 0x01, 0x11, 0x31, 0x21, 0x0C, 0x1C, 0x2C}},
    // 06 溶岩洞: lava cave
    {true, false, Feature::Lava, Ground::Rock, Bricks::Stones, Backdrop::Cave, Decor::Crystal, false,
     {0x0F, 0x08, 0x07, 0x18, 0x0F, 0x07, 0x17, 0x27, 0x0F, 0x2D, 0x00, 0x10, 0x0F, 0x05, 0x16, 0x27}},
    // 07 空中庭園: a garden above the clouds
    {false, false, Feature::Water, Ground::Grass, Bricks::Cobbles, Backdrop::Clouds, Decor::Tree, false,
     {0x22, 0x12, 0x10, 0x30, 0x22, 0x09, 0x1A, 0x2A, 0x22, 0x2D, 0x10, 0x30, 0x22, 0x11, 0x21, 0x31}},
    // 08 古い時計塔: an old clock tower, clockwork inside old brick
    {true, false, Feature::Lights, Ground::Rock, Bricks::Bond, Backdrop::Castle, Decor::Machine, false,
     {0x0F, 0x07, 0x17, 0x27, 0x0F, 0x08, 0x18, 0x28, 0x0F, 0x07, 0x17, 0x37, 0x0F, 0x08, 0x28, 0x38}},
    // 09 歯車工場: factory
    {true, false, Feature::Conveyor, Ground::Metal, Bricks::Plates, Backdrop::Panels, Decor::Machine, false,
     {0x0F, 0x2D, 0x00, 0x10, 0x0F, 0x2D, 0x00, 0x10, 0x0F, 0x07, 0x17, 0x27, 0x0F, 0x2D, 0x10, 0x30}},
    // 10 海底神殿: a temple under the sea
    {true, false, Feature::Water, Ground::Sand, Bricks::Cobbles, Backdrop::Castle, Decor::Statue, false,
     {0x01, 0x0C, 0x1C, 0x2C, 0x01, 0x0B, 0x1B, 0x3B, 0x01, 0x2D, 0x10, 0x3C, 0x01, 0x11, 0x21, 0x31}},
    // 11 雲の回廊: a walkway through the clouds
    {false, false, Feature::Lights, Ground::Metal, Bricks::Plates, Backdrop::Clouds, Decor::Statue, false,
     {0x22, 0x12, 0x10, 0x30, 0x22, 0x2D, 0x10, 0x30, 0x22, 0x08, 0x28, 0x38, 0x22, 0x06, 0x16, 0x36}},
    // 12 鏡の迷宮: crystal maze, its mirrors flickering on every tick
    {true, false, Feature::Lights, Ground::Rock, Bricks::Cobbles, Backdrop::Cave, Decor::Crystal, true,
     {0x0F, 0x03, 0x13, 0x23, 0x0F, 0x04, 0x14, 0x24, 0x0F, 0x02, 0x12, 0x32, 0x0F, 0x03, 0x23, 0x33}},
    // 13 嵐の港: a harbour town under a storm sky
    {false, false, Feature::Water, Ground::Rock, Bricks::Stones, Backdrop::City, Decor::Machine, false,
     {0x00, 0x0F, 0x2D, 0x10, 0x00, 0x08, 0x18, 0x28, 0x00, 0x2D, 0x10, 0x30, 0x00, 0x01, 0x11, 0x21}},
    // 14 黒い城壁: castle
    {true, false, Feature::Lava, Ground::Rock, Bricks::Stones, Backdrop::Castle, Decor::Statue, false,
     {0x0F, 0x2D, 0x07, 0x17, 0x0F, 0x00, 0x10, 0x20, 0x0F, 0x06, 0x16, 0x26, 0x0F, 0x06, 0x16, 0x27}},
    // 15 最後の塔: the last fortress
    {false, true, Feature::Conveyor, Ground::Metal, Bricks::Plates, Backdrop::Mountains, Decor::Machine, false,
     {0x04, 0x0F, 0x14, 0x24, 0x04, 0x0F, 0x00, 0x10, 0x04, 0x03, 0x13, 0x33, 0x04, 0x05, 0x15, 0x35}},
};
// clang-format on

namespace {

void WriteHeader(ImageBuilder& img) {
    // 32 x 16 KiB PRG, no CHR ROM (tiles are copied to CHR RAM), mapper 4, horizontal arrangement.
    img.Put("iNES header", 0, {0x4E, 0x45, 0x53, 0x1A, 0x20, 0x00, 0x40, 0x00, 0, 0, 0, 0, 0, 0, 0, 0});
    // NMI, reset and IRQ vectors of the fixed last bank.
    img.Put("interrupt vectors", kDemoRomSize - 6, {0x00, 0xE0, 0x40, 0xE0, 0x80, 0xE0});
}

}  // namespace
}  // namespace demo

DemoRomLayout BuildDemoRomLayout() {
    using namespace demo;
    ImageBuilder img;
    WriteHeader(img);
    WriteTiles(img);
    WriteGraphicsLoads(img);
    WriteMidPoints(img);
    const std::array<StagePaletteSets, kStages> palettes = WritePaletteAnimations(img);
    // The tables of each stage, stage after stage.
    for (int s = 0; s < kStages; ++s) {
        WriteStageChips(img, s);
        const StageScreens screens = WriteStageMapSetsAndMap(img, s);
        WriteStageObjects(img, s, screens);
        WriteStageScrollTables(img, s);
        WriteStagePalettes(img, s, palettes[static_cast<std::size_t>(s)]);
    }
    return img.Take();
}

std::vector<std::uint8_t> BuildDemoRom() {
    return BuildDemoRomLayout().image;
}
