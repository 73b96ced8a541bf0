#pragma once
// A copy of what the current stage looks like, to tell afterwards what an edit, an undo, a reload or a
// change of stage or image has changed. The views beside the pages (overview, usage list, history) redraw
// from the difference only, whatever path the change took (a page's edit, an undo, a dialog, an import).

#include <bitset>
#include <cstdint>
#include <vector>

#include "document/editdata.h"

class RomImageData;

// What differs between two looks at the current stage.
struct StageChange {
    // Another stage, another image, or the image was closed: everything is to be drawn anew.
    bool whole = false;
    std::bitset<256> chip16;  // 16x16 chips whose four tiles or attribute changed
    std::bitset<256> chip32;  // 32x32 chips whose four 16x16 chip numbers changed
    std::bitset<kMapSetCount> mapSets;
    std::bitset<kScreenCount> mapScreens;     // map bytes
    std::bitset<kScreenCount> objectScreens;  // screens whose object list changed
    bool palettes = false;                    // BG palette or palette animation bytes
    bool history = false;                     // the undo or redo stack changed

    bool Any() const {
        return whole || chip16.any() || chip32.any() || mapSets.any() || mapScreens.any() || objectScreens.any() ||
               palettes || history;
    }
};

class StageSnapshot {
public:
    // Copies the current stage of rom (a few kilobytes; objects as their screen lists).
    void Take(const RomImageData& rom);
    // What changed from this look to the newer one. A snapshot never taken compares as a whole change.
    StageChange Compare(const StageSnapshot& newer) const;

private:
    bool taken_ = false;
    bool loaded_ = false;
    int stage_ = -1;
    std::uint64_t imageGeneration_ = 0;
    std::uint64_t historyRevision_ = 0;
    std::vector<Byte> chip16_, chipProp_, chip32_, mapSets_, map_, palettes_;
    // Per screen the objects as x, y, kind triples; objectStart_[s] indexes the first value of screen s.
    std::vector<std::int32_t> objects_;
    std::vector<std::uint32_t> objectStart_;
};
