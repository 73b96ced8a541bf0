#pragma once
// Renders one stage of a loaded ROM image into a single true-colour picture through the editor's own
// renderer: the BG bank assembled from the start of the stage, palette set 0, the tile table, the 16x16
// and 32x32 chip sheets, the seven palette sets, and then either the 32 map sets (an 8 x 4 grid) or the
// 48 screens of the map (an 8 x 6 grid), each 256 x 256.

#include <QImage>

class RomImageData;
class FcPaletteData;

struct StageRenderOptions {
    bool screens = false;  // the 48 screens of the map instead of the 32 map sets
    int paletteSet = 0;    // 0 to 6
    int loadPoint = 0;     // 0 start, 1 mid-point 1, 2 mid-point 2
    int scroll = 0;        // 0 to 15
};

// The stage must be 0 to 15 (other values give a null picture). Needs no application object.
QImage RenderStage(const RomImageData& rom, const FcPaletteData& palette, int stage,
                   const StageRenderOptions& options = {});
