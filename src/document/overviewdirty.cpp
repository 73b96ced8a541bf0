#include "document/overviewdirty.h"

ChipSet Chip32sUsing(const StageData& stage, const ChipSet& chips16) {
    ChipSet used;
    if (chips16.none()) return used;
    const Byte* table = stage.Chip32x32();
    for (int chip = 0; chip < 256; ++chip)
        for (int q = 0; q < 4; ++q)
            if (chips16.test(table[4 * chip + q])) used.set(std::size_t(chip));
    return used;
}

MapSetSet MapSetsUsing(const StageData& stage, const ChipSet& chips32) {
    MapSetSet used;
    if (chips32.none()) return used;
    for (int set = 0; set < kMapSetCount; ++set) {
        const Byte* cells = stage.MapSet(set);
        for (int cell = 0; cell < kMapSetSize && !used.test(std::size_t(set)); ++cell)
            if (chips32.test(cells[cell])) used.set(std::size_t(set));
    }
    return used;
}

ScreenSet ScreensShowing(const StageData& stage, const MapSetSet& sets) {
    ScreenSet screens;
    if (sets.none()) return screens;
    const Byte* map = stage.Map();
    for (int screen = 0; screen < kScreenCount; ++screen)
        if (map[screen] < kMapSetCount && sets.test(map[screen])) screens.set(std::size_t(screen));
    return screens;
}

ScreenSet ScreensToRedraw(const StageChange& change, const StageData& stage) {
    if (change.whole || change.palettes) return ScreenSet().set();
    const ChipSet chips32 = change.chip32 | Chip32sUsing(stage, change.chip16);
    const MapSetSet sets = change.mapSets | MapSetsUsing(stage, chips32);
    return change.mapScreens | change.objectScreens | ScreensShowing(stage, sets);
}
