#include "doc_test_support.h"
#include "document/overviewdirty.h"

// A chip edit reaches every screen whose map set holds it, through the 32x32 chips; a screen whose byte
// names no map set is drawn anew only with the whole stage.
TEST(OverviewDirty, FollowsChipsThroughMapSetsToScreens) {
    Doc d;
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("a.nes", NoiseImage(0x80010, 7))), LoadResult::Loaded);
    StageData& s = d.rom->Current();
    for (int screen = 0; screen < kScreenCount; ++screen) s.SetMapEntry(screen, Byte(0x20 + screen % 2));
    s.SetMapEntry(10, 31);
    s.SetMapEntry(40, 31);
    s.SetMapEntry(12, 30);
    const int chip16 = s.Chip32x32()[4 * 9 + 3];
    s.SetMapSetByte(64 * 31 + 5, 9);
    auto screens = [&](StageChange c) { return ScreensToRedraw(c, s); };

    StageChange chip;
    chip.chip16.set(std::size_t(chip16));
    EXPECT_TRUE(Chip32sUsing(s, chip.chip16).test(9));
    const ScreenSet byChip = screens(chip);
    EXPECT_TRUE(byChip.test(10) && byChip.test(40));
    EXPECT_FALSE(byChip.test(11));  // 0x21: no map set
    StageChange set;
    set.mapSets.set(30);
    EXPECT_EQ(screens(set), ScreenSet().set(12));
    StageChange objectsAndMap;
    objectsAndMap.mapScreens.set(3);
    objectsAndMap.objectScreens.set(47);
    EXPECT_EQ(screens(objectsAndMap), ScreenSet().set(3).set(47));
    StageChange whole, palettes;
    whole.whole = true;
    palettes.palettes = true;
    EXPECT_TRUE(screens(whole).all());
    EXPECT_TRUE(screens(palettes).all());
    EXPECT_TRUE(screens(StageChange{}).none());
}
