#include "doc_test_support.h"

TEST(ModifiedFlags, RaisingShowsTheMarkerAndOnlyClearAllHidesIt) {
    RecordingSink sink;
    EditFlagManagement flags(&sink);
    EXPECT_EQ(sink.shown, (std::vector<std::string>{""}));  // starts clean
    EXPECT_FALSE(flags.AnyModified());

    flags.SetModified(ModifiedCategory::MapSet, 2, true);
    EXPECT_TRUE(flags.AnyModified());
    EXPECT_EQ(sink.shown.back(), "変更あり");
    for (int c = 0; c < kModifiedCategoryCount; ++c)
        for (int s = 0; s < 16; ++s) EXPECT_EQ(flags.IsModified(static_cast<ModifiedCategory>(c), s), c == 2 && s == 2);

    // Clearing one flag leaves the overall flag and the marker.
    const std::size_t shownBefore = sink.shown.size();
    flags.SetModified(ModifiedCategory::MapSet, 2, false);
    EXPECT_FALSE(flags.IsModified(ModifiedCategory::MapSet, 2));
    EXPECT_TRUE(flags.AnyModified());
    EXPECT_EQ(sink.shown.size(), shownBefore);

    flags.SetModified(ModifiedCategory::Palette, 15, true);
    flags.SetModified(ModifiedCategory::Chip16x16, 0, true);
    flags.ClearAllModified();
    EXPECT_FALSE(flags.AnyModified());
    EXPECT_FALSE(flags.IsModified(ModifiedCategory::Palette, 15));
    EXPECT_FALSE(flags.IsModified(ModifiedCategory::Chip16x16, 0));
    EXPECT_EQ(sink.shown.back(), "");
}

TEST(ModifiedFlags, OutOfRangeStagesAndNoSinkAreHarmless) {
    EditFlagManagement flags(nullptr);
    flags.SetModified(ModifiedCategory::Map, 16, true);
    flags.SetModified(ModifiedCategory::Map, -1, true);
    flags.SetModified(static_cast<ModifiedCategory>(6), 0, true);
    EXPECT_FALSE(flags.AnyModified());
    EXPECT_FALSE(flags.IsModified(ModifiedCategory::Map, 16));
    flags.SetModified(ModifiedCategory::Object, 7, true);
    EXPECT_TRUE(flags.IsModified(ModifiedCategory::Object, 7));
    EXPECT_TRUE(flags.AnyModified());
}
