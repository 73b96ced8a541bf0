#pragma once
// The parts of the demo image generator shared between its files: the table addresses, the image builder with
// its layout check, the pseudo-random generator, the stage themes, the art numbers, and what each file writes.
// Not part of the tool's interface (demorom.h).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "demorom.h"

namespace demo {

using u8 = std::uint8_t;
using u32 = std::uint32_t;

// ---------------------------------------------------------------------------------------------------------------
// Addresses (file offsets) of the tables, as the address configuration has them by default.

constexpr u32 kStageStride = 0x2000;
constexpr u32 kChip16Addr = 0x40010;
constexpr u32 kChipPropAddr = 0x40410;
constexpr u32 kChip32Addr = 0x40510;
constexpr u32 kMapSetAddr = 0x40910;
constexpr u32 kObjScreenAddr = 0x41110;
constexpr u32 kObjXAddr = 0x41190;
constexpr u32 kObjYAddr = 0x41210;
constexpr u32 kObjKindAddr = 0x41290;
constexpr u32 kObjOffsetAddr = 0x41310;
constexpr u32 kMapAddr = 0x41510;
constexpr u32 kScrollDataAddr = 0x41540;
constexpr u32 kScrollLoadAddr = 0x41570;
constexpr u32 kPaletteAddr = 0x415A0;  // 7 records of 20 bytes: 16 colours, then 4 animation numbers

constexpr u32 kAnimPointerLow = 0x41D3C;
constexpr u32 kAnimPointerHigh = 0x41D7C;
constexpr int kAnimPointerCount = 0x40;  // the two tables lie 0x40 apart
constexpr u32 kAnimData = 0x41B53;       // the record whose pointer is 0xBB43
constexpr u32 kAnimDataPointer = 0xBB43;
constexpr u32 kAnimPalette = 0x418D7;
constexpr u32 kMidPointAddr = 0x7C8BB;
constexpr u32 kInitPointerLow = 0x51810;
constexpr u32 kInitPointerHigh = 0x51880;
constexpr int kInitSetCount = 0x70;  // 0 .. InitialGraphicsPointerMax (0x6F)
constexpr u32 kInitRecordBase = 0x46010;
constexpr u32 kScrollPointerLow = 0x53810;
constexpr u32 kScrollPointerHigh = 0x53870;
constexpr int kScrollSetCount = 0x50;  // 0 .. ScrollGraphicsPointerMax (0x4F)
constexpr u32 kScrollRecordBase = 0x48010;

// Free areas of the stage blocks used for the load records.
constexpr u32 kInitRecordsBegin = kInitPointerHigh + kInitSetCount;  // 0x518F0
constexpr u32 kInitRecordsEnd = 0x52010;
constexpr u32 kScrollRecordsBegin = kScrollPointerHigh + kScrollSetCount;  // 0x538C0
constexpr u32 kScrollRecordsEnd = 0x54010;

constexpr int kCommonBank = 0x10;
constexpr int kStages = 16;

inline u32 TileSource(int bank, int page) {
    return 16u + 0x2000u * static_cast<u32>(bank) + 256u * static_cast<u32>(page) - 0x8000u;
}

// ---------------------------------------------------------------------------------------------------------------
// The image and its claimed regions (demorom_layout.cpp).

// Every write goes through Claim, which refuses a range outside the image or overlapping an earlier one.
class ImageBuilder {
public:
    ImageBuilder();
    u8* Claim(const std::string& name, u32 begin, u32 size);
    void Put(const std::string& name, u32 begin, const std::vector<u8>& bytes);
    DemoRomLayout Take();

private:
    DemoRomLayout layout_;
};

// Hands out consecutive ranges of a free area.
class Arena {
public:
    Arena(u32 begin, u32 end) : next_(begin), end_(end) {}
    u32 Alloc(u32 size);

private:
    u32 next_, end_;
};

std::string Name(const char* fmt, int n);
std::string StageName(int stage, const char* table);

// A small fixed pseudo-random generator (xorshift32), seeded per use, so the output never varies.
class Rng {
public:
    explicit Rng(u32 seed) : s_(seed ? seed : 0x9E3779B9u) {
        for (int i = 0; i < 4; ++i) Next();
    }
    u32 Next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    int Range(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<u32>(n)); }
    int Between(int lo, int hi) { return lo + Range(hi - lo + 1); }
    bool Chance(int percent) { return Range(100) < percent; }

private:
    u32 s_;
};

// ---------------------------------------------------------------------------------------------------------------
// Stage themes: what each stage looks like.

enum class Feature { Water, Lava, Conveyor, Lights };
enum class Ground { Grass, Rock, Snow, Metal, Sand };
enum class Bricks { Bond, Stones, Plates, Cobbles };
enum class Backdrop { Hills, City, Forest, Mountains, Clouds, Dunes, Cave, Panels, Castle, Sewer };
enum class Decor { Tree, Crystal, Machine, Statue };

struct Theme {
    bool indoor;
    bool night;  // stars instead of clouds
    Feature feature;
    Ground ground;
    Bricks bricks;
    Backdrop backdrop;
    Decor decor;
    bool fastLights;
    std::array<u8, 16> pal;  // palette set 0: background, terrain, blocks, feature (entry 0 of each = sky)
};

// One theme per stage (demorom.cpp).
extern const Theme kThemes[kStages];

// ---------------------------------------------------------------------------------------------------------------
// Art numbers (= 16x16 chip numbers): the tiles of art a are tiles 4a .. 4a + 3 of the BG bank.
enum Art : int {
    // common (BG pages 0..3)
    kBlank = 0,
    kCloudL,
    kCloudR,
    kStars,
    kLadder,
    kLadderTop,
    kSpikes,
    kConveyorR,
    kConveyorL,
    kWaterTop,
    kWaterBody,
    kWindow,
    kLamp,
    kBush,
    kCrate,
    kFence,
    // stage terrain (BG pages 4..11)
    kGroundTop = 16,
    kGroundFill,
    kCornerL,
    kCornerR,
    kBrick,
    kStone,
    kSpecial,
    kPlank,
    kWall,
    kWallVar,
    kFarTop,
    kFarFill,
    kDamageTop,
    kPillar,
    kForeground,
    kCeiling,
    kGroundTopVar = 32,
    kFillVar,
    kFillEdgeL,
    kFillEdgeR,
    kBrickVar,
    kStoneVar,
    kWallWindow,
    kFarTopVar,
    kPillarTop,
    kPillarBase,
    kPlankL,
    kPlankR,
    kDamageBody,
    kGirder,
    kChain,
    kGrate,
    // decorations (BG pages 12..15): two 32x32 pieces, four small ones, four small ones that scroll loads replace
    kBigA = 48,
    kBigB = 52,
    kSmall = 56,
    kVariable = 60,
    // extra chips that reuse the tiles of others with another palette or kind
    kBrickBack = 64,
    kStoneBack,
    kFillBack,
    kWaterDeep,
    kSpikesAlt,
    kHiddenBrick,
    kCrumble,
    kChip16Used
};

// ---------------------------------------------------------------------------------------------------------------
// What each part writes, in the order the image is built.

// demorom_tiles.cpp: the common tiles and every stage's tile pages.
void WriteTiles(ImageBuilder& img);

// demorom_loads.cpp: the graphics load records with their pointer tables, the mid-point table, and per stage the
// scroll data and scroll graphics load tables.
void WriteGraphicsLoads(ImageBuilder& img);
void WriteMidPoints(ImageBuilder& img);
void WriteStageScrollTables(ImageBuilder& img, int s);

// demorom_palettes.cpp: the palette animation triples, records and pointers; per stage the seven palette sets.
struct PaletteSet {
    std::array<u8, 16> colours{};
    std::array<u8, 4> anim{};
};
using StagePaletteSets = std::array<PaletteSet, 7>;
// Builds the palette sets of every stage, writes the palette animations and returns the sets.
std::array<StagePaletteSets, kStages> WritePaletteAnimations(ImageBuilder& img);
void WriteStagePalettes(ImageBuilder& img, int s, const StagePaletteSets& sets);

// demorom_mapsets.cpp: per stage the 16x16 chips with their attributes, the 32x32 chips, the map sets and the map.
void WriteStageChips(ImageBuilder& img, int s);

struct ScreenInfo {
    int groundRow = 6;
    std::array<int, 8> standRow{};  // per column, the row objects stand in (-1 = none)
};
struct StageScreens {
    std::array<ScreenInfo, 32> infos{};  // per map set
    std::array<int, 48> map{};           // per screen, its map set
};
StageScreens WriteStageMapSetsAndMap(ImageBuilder& img, int s);

// demorom_objects.cpp: per stage the object tables.
void WriteStageObjects(ImageBuilder& img, int s, const StageScreens& screens);

}  // namespace demo
