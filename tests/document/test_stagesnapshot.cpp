#include "doc_test_support.h"
#include "document/stagesnapshot.h"

#include <functional>

// Each kind of change shows up as exactly the chips, sets and screens it touched, whatever path made it.
TEST(StageSnapshot, ReportsWhatEachChangeTouched) {
    Doc d;
    const std::size_t kTypical = 0x80010;
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("a.nes", NoiseImage(kTypical, 21))), LoadResult::Loaded);
    struct Case {
        const char* what;
        std::function<void(RomImageData&)> change;
        std::function<bool(const StageChange&)> expected;
    };
    const std::vector<Case> cases = {
        {"nothing", [](RomImageData&) {}, [](const StageChange& c) { return !c.Any(); }},
        {"16x16 tile", [](RomImageData& r) { r.Current().SetChip16x16Tile(512 + 7, r.Current().Chip16x16Tiles()[519] ^ 1); },
         [](const StageChange& c) { return c.chip16.count() == 1 && c.chip16[7] && c.history && c.chip32.none(); }},
        {"attribute", [](RomImageData& r) { r.Current().SetChipProperty(200, r.Current().ChipProperties()[200] ^ 1); },
         [](const StageChange& c) { return c.chip16.count() == 1 && c.chip16[200]; }},
        {"32x32 byte", [](RomImageData& r) { r.Current().SetChip32x32Byte(4 * 9 + 3, r.Current().Chip32x32()[39] ^ 1); },
         [](const StageChange& c) { return c.chip32.count() == 1 && c.chip32[9] && c.chip16.none(); }},
        {"map set byte", [](RomImageData& r) { r.Current().SetMapSetByte(64 * 31 + 63, r.Current().MapSets()[2047] ^ 1); },
         [](const StageChange& c) { return c.mapSets.count() == 1 && c.mapSets[31]; }},
        {"map byte", [](RomImageData& r) { r.Current().SetMapEntry(47, r.Current().Map()[47] ^ 1); },
         [](const StageChange& c) { return c.mapScreens.count() == 1 && c.mapScreens[47] && c.objectScreens.none(); }},
        {"palette", [](RomImageData& r) { r.Current().SetPaletteAnimeByte(27, r.Current().PaletteAnime(6)[3] ^ 1); },
         [](const StageChange& c) { return c.palettes && c.mapScreens.none(); }},
        {"undo", [](RomImageData& r) { r.Undo(); },
         [](const StageChange& c) { return c.history && c.palettes; }},
        {"object added", [](RomImageData& r) { r.Current().AppendObject(5, 1, 2, 3); },
         [](const StageChange& c) { return c.objectScreens.count() == 1 && c.objectScreens[5] && !c.history; }},
        {"history cleared", [](RomImageData& r) { r.Current().ClearHistory(); },
         [](const StageChange& c) { return c.history && !c.whole; }},
        {"stage", [](RomImageData& r) { r.SetCurrentStage(4); }, [](const StageChange& c) { return c.whole; }},
        {"reload", [&](RomImageData& r) { r.LoadFromFile(d.dir / "a.nes"); }, [](const StageChange& c) { return c.whole; }},
        {"close", [](RomImageData& r) { r.CloseImage(); }, [](const StageChange& c) { return c.whole; }},
    };
    StageSnapshot before;
    before.Take(*d.rom);
    for (const Case& c : cases) {
        c.change(*d.rom);
        StageSnapshot after;
        after.Take(*d.rom);
        EXPECT_TRUE(c.expected(before.Compare(after))) << c.what;
        before = after;
    }
    EXPECT_TRUE(StageSnapshot().Compare(before).whole);
}
