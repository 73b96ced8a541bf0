#pragma once
// A stage as a map of the Tiled map editor (TMX): the 48 screens side by side as one tile layer of 32x32
// chips, the placed objects as point objects, the stage number and title as map properties.

#include <string>
#include <vector>

class StageData;

struct TmxMapInfo {
    int stage = 0;
    std::string title;         // UTF-8
    std::string tilesetImage;  // the tileset picture's file name, relative to the map file
    // The name of each object kind (UTF-8); kinds past the end are named by their two hexadecimal digits.
    std::vector<std::string> kindNames;
};

inline constexpr int kTmxTileSize = 32;
inline constexpr int kTmxWidth = 384;  // tiles: 48 screens of 8
inline constexpr int kTmxHeight = 8;

// The TMX text. A cell is its 32x32 chip number + 1; a screen whose map byte names no map set is empty (0).
std::string EncodeTmxMap(const StageData& stage, const TmxMapInfo& info);

// "OUT.tmx" -> "OUT-chips32.png": the tileset picture written beside a map.
std::string TmxTilesetFileName(const std::string& mapFileName);
