#pragma once
// Where a 16x16 chip, a 32x32 chip, a map set or an object kind is used in one stage: plain searches of the
// stage's tables, each use in table order, for the usage finder and any other caller.

#include <vector>

#include "document/editdata.h"

// What is looked for.
enum class UsageTargetKind {
    None,
    Chip16,      // a 16x16 chip: the 32x32 chip quarters that hold its number
    Chip32,      // a 32x32 chip: the map set cells that hold its number
    MapSet,      // a map set: the screens whose map byte names it
    ObjectKind,  // an object kind: the placed objects of that kind
};

struct UsageTarget {
    UsageTargetKind kind = UsageTargetKind::None;
    int number = 0;
    bool Any() const { return kind != UsageTargetKind::None; }
    bool operator==(const UsageTarget&) const = default;
};

// Where one use lives.
enum class UsePlace {
    Chip32Quarter,  // owner: the 32x32 chip; part: the quarter (0 top left, 1 top right, 2 bottom left, 3 bottom right)
    MapSetCell,     // owner: the map set; part: the cell, column + 8 x row
    Screen,         // owner: the screen; part: 0
    Object,         // owner: the screen; part: the object's place in its screen's list; x, y: its position
};

struct Usage {
    UsePlace place = UsePlace::Screen;
    int owner = 0;
    int part = 0;
    int x = 0;
    int y = 0;
    bool operator==(const Usage&) const = default;
};

// Every use of target in stage, in table order (objects screen by screen, each screen in list order).
// A target number outside its table's range has no use.
std::vector<Usage> FindUsages(const StageData& stage, UsageTarget target);
// The same into out (cleared first), keeping its memory for the next search.
void FindUsages(const StageData& stage, UsageTarget target, std::vector<Usage>& out);
