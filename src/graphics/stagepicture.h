#pragma once
// Pictures of one part of a stage, drawn through the editor's renderer in the stage's stored colours (a
// palette set as the image holds it, not a frame of the palette animation): what the picture export of the
// main window writes and the stage renderer tool composes its overview from.

#include <QImage>
#include <QString>

class RomImageData;
class FcPaletteData;

enum class StagePictureKind {
    MapScreens,   // the 48 screens of the map left to right, each as the map page shows it: 12288 x 256
    MapSets,      // the 32 map sets, 8 across and 4 down: 2048 x 1024
    Chip16Sheet,  // the 16x16 chip sheet: 256 x 256
    Chip32Sheet,  // the 32x32 chip sheet: 512 x 512
    BgBank,       // the BG bank's 256 tiles as the 16x16 chip page shows them (16 x 16 tiles, doubled): 256 x 256
};

struct StagePictureOptions {
    int paletteSet = 0;   // 0 to 6: the palette set whose stored colours are used
    int loadPoint = 0;    // BG bank: 0 start, 1 mid-point 1, 2 mid-point 2
    int scroll = 0;       // BG bank: 0 to 15
    int bankPalette = 0;  // BgBank picture: the palette (0 to 3) of the set the tiles are shown in
};

// The stage must be 0 to 15 (other values give a null picture). Reads the stage's working tables, so edits
// not yet saved show. Needs no application object.
QImage RenderStagePicture(const RomImageData& rom, const FcPaletteData& palette, int stage, StagePictureKind kind,
                          const StagePictureOptions& options = {});

// A file name part for the kind ("map", "mapsets", "chip16", "chip32", "bgbank").
QString StagePictureKindName(StagePictureKind kind);
