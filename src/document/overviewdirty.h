#pragma once
// Which screens of a stage a picture of the whole stage must draw anew after a change: a screen shows its
// map set, whose cells are 32x32 chips, whose quarters are 16x16 chips, and the screen's objects.

#include <bitset>

#include "document/editdata.h"
#include "document/stagesnapshot.h"

using ChipSet = std::bitset<256>;
using MapSetSet = std::bitset<kMapSetCount>;
using ScreenSet = std::bitset<kScreenCount>;

// The 32x32 chips that have one of chips16 in a quarter.
ChipSet Chip32sUsing(const StageData& stage, const ChipSet& chips16);
// The map sets that have one of chips32 in a cell.
MapSetSet MapSetsUsing(const StageData& stage, const ChipSet& chips32);
// The screens whose map byte names one of sets (a byte that names no map set shows none).
ScreenSet ScreensShowing(const StageData& stage, const MapSetSet& sets);

// The screens change can have altered, read with the stage as it is after the change. Another stage or
// image, or new palettes, alter every screen.
ScreenSet ScreensToRedraw(const StageChange& change, const StageData& stage);
