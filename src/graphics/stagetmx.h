#pragma once
// Writes a stage as a map of the Tiled map editor: OUT.tmx (document/tmxfile.h) and beside it the tileset
// picture OUT-chips32.png, the stage's 256 32x32 chips 16 a row, drawn from the BG bank the stage has at
// its start in palette set 0 as the image stores it (no palette animation step).

#include <filesystem>
#include <string>
#include <vector>

class RomImageData;
class FcPaletteData;

// kindNames: the object kinds' names (UTF-8). Both files are written atomically, the picture first.
// Throws FileError when a file cannot be written, std::runtime_error when the picture cannot be made.
void WriteStageTmx(const RomImageData& rom, const FcPaletteData& palette, int stage,
                   const std::vector<std::string>& kindNames, const std::filesystem::path& tmxPath);
