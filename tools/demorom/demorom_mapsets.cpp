// The building blocks and the layout of the demo image's stages: the 16x16 chips (tiles and attributes), the 32x32
// chips, 32 map sets of composed screens per stage and the map of 48 screens.

#include <algorithm>
#include <array>
#include <vector>

#include "demorom_parts.h"

namespace demo {
namespace {

// Attribute byte: kind << 4 | sub-kind << 2 | palette.
constexpr u8 Attr(int kind, int sub, int palette) {
    return static_cast<u8>((kind << 4) | (sub << 2) | palette);
}

u8 ArtAttribute(int art, Decor decor) {
    switch (art) {
    case kBlank:
    case kCloudL:
    case kCloudR:
    case kStars: return Attr(0, 0, 0);
    case kLadder: return Attr(2, 0, 2);
    case kLadderTop: return Attr(4, 0, 2);
    case kSpikes: return Attr(0xF, 0, 2);
    case kConveyorR: return Attr(5, 0, 3);
    case kConveyorL: return Attr(7, 0, 3);
    case kWaterTop: return Attr(8, 0, 3);
    case kWaterBody: return Attr(8, 1, 3);
    case kWindow:
    case kLamp: return Attr(0, 0, 3);
    case kBush: return Attr(6, 0, 1);
    case kCrate: return Attr(1, 0, 2);
    case kFence: return Attr(0, 1, 2);
    case kGroundTop:
    case kGroundFill:
    case kCornerL:
    case kCornerR:
    case kCeiling:
    case kGroundTopVar:
    case kFillVar:
    case kFillEdgeL:
    case kFillEdgeR: return Attr(1, 0, 1);
    case kBrick:
    case kStone:
    case kBrickVar:
    case kStoneVar: return Attr(1, 0, 2);
    case kSpecial: return Attr(3, 0, 2);
    case kPlank:
    case kPlankL:
    case kPlankR:
    case kGirder: return Attr(1, 1, 2);
    case kWall:
    case kWallVar:
    case kWallWindow:
    case kFarTop:
    case kFarFill:
    case kFarTopVar: return Attr(0, 0, 0);
    case kDamageTop: return Attr(0xD, 0, 3);
    case kDamageBody: return Attr(0xD, 1, 3);
    case kPillar:
    case kPillarTop:
    case kPillarBase:
    case kChain: return Attr(0, 2, 2);
    case kForeground: return Attr(6, 1, 1);
    case kGrate: return Attr(1, 2, 2);
    default: break;
    }
    if (art >= kBigA && art < kSmall) {
        const bool first = art < kBigB;
        if (first && decor == Decor::Tree) return Attr(0, 0, 1);
        if (first && decor == Decor::Crystal) return Attr(0, 0, 3);
        return Attr(0, 0, 2);
    }
    if (art >= kSmall && art < 64) return Attr(0, 3, ((art - kSmall) % 3) == 0 ? 1 : 2);
    return 0;
}

struct ChipTables {
    std::array<u8, 1024> chip16{};
    std::array<u8, 256> attributes{};
    std::array<u8, 1024> chip32{};
};

void SetChip16(ChipTables& t, int chip, int art, u8 attribute) {
    for (int q = 0; q < 4; ++q) t.chip16[256 * q + chip] = static_cast<u8>(4 * art + q);
    t.attributes[chip] = attribute;
}

// --- 32x32 chips -----------------------------------------------------------------------------------------------
enum C32 : int {
    cSky,
    cCloud,
    cCloudLow,
    cStars,
    cGroundTop,
    cGroundFill,
    cGroundEndL,
    cGroundEndR,
    cFillL,
    cFillR,
    cBrick,
    cBrickVar,
    cStone,
    cSpecial,
    cPlankL,
    cPlankM,
    cPlankR,
    cLadder,
    cLadderTop,
    cLadderWall,
    cLadderGround,
    cLadderInGround,
    cSpikesPit,
    cSpikesOnGround,
    cWaterTop,
    cWaterBody,
    cConveyorR,
    cConveyorL,
    cWall,
    cWallVar,
    cWallWindow,
    cFarTop,
    cFarFill,
    cDamageTop,
    cDamageBody,
    cPillarTop,
    cPillar,
    cPillarBase,
    cBush,
    cCrates,
    cLitWindows,
    cLamp,
    cFence,
    cBigA,
    cBigB,
    cSmallA,
    cSmallB,
    cSmallC,
    cSmallD,
    cForeground,
    cBrickBack,
    cStoneBack,
    cFillBack,
    cGirder,
    cChain,
    cGrate,
    cCeiling,
    cWaterDeep,
    cCrumble,
    cHidden,
    cCount
};

// clang-format off
const std::array<std::array<int, 4>, cCount> kChip32Parts = {{
    {kBlank, kBlank, kBlank, kBlank},                 // sky
    {kCloudL, kCloudR, kBlank, kBlank},               // cloud
    {kBlank, kBlank, kCloudL, kCloudR},               // cloud, lower
    {kStars, kBlank, kBlank, kStars},                 // stars
    {kGroundTop, kGroundTopVar, kGroundFill, kFillVar},
    {kGroundFill, kFillVar, kFillVar, kGroundFill},
    {kCornerL, kGroundTop, kFillEdgeL, kGroundFill},  // ground starting after a gap
    {kGroundTopVar, kCornerR, kFillVar, kFillEdgeR},  // ground ending before a gap
    {kFillEdgeL, kGroundFill, kFillEdgeL, kFillVar},
    {kFillVar, kFillEdgeR, kGroundFill, kFillEdgeR},
    {kBrick, kBrick, kBrick, kBrick},
    {kBrick, kBrickVar, kBrickVar, kBrick},
    {kStone, kStoneVar, kStoneVar, kStone},
    {kSpecial, kSpecial, kSpecial, kSpecial},
    {kPlankL, kPlank, kBlank, kBlank},
    {kPlank, kPlank, kBlank, kBlank},
    {kPlank, kPlankR, kBlank, kBlank},
    {kLadder, kBlank, kLadder, kBlank},
    {kLadderTop, kBlank, kLadder, kBlank},
    {kLadder, kWall, kLadder, kWallVar},
    {kLadderTop, kGroundTop, kLadder, kGroundFill},
    {kLadder, kGroundFill, kLadder, kFillVar},
    {kBlank, kBlank, kSpikes, kSpikes},
    {kSpikes, kSpikes, kGroundTop, kGroundTopVar},
    {kWaterTop, kWaterTop, kWaterBody, kWaterBody},
    {kWaterBody, kWaterBody, kWaterBody, kWaterBody},
    {kBlank, kBlank, kConveyorR, kConveyorR},
    {kBlank, kBlank, kConveyorL, kConveyorL},
    {kWall, kWall, kWall, kWall},
    {kWall, kWallVar, kWallVar, kWall},
    {kWall, kWallWindow, kWallWindow, kWall},
    {kFarTop, kFarTopVar, kFarFill, kFarFill},
    {kFarFill, kFarFill, kFarFill, kFarFill},
    {kDamageTop, kDamageTop, kDamageBody, kDamageBody},
    {kDamageBody, kDamageBody, kDamageBody, kDamageBody},
    {kPillarTop, kBlank, kPillar, kBlank},
    {kPillar, kBlank, kPillar, kBlank},
    {kPillar, kBlank, kPillarBase, kBlank},
    {kBlank, kBlank, kBush, kBush},
    {kBlank, kCrate, kCrate, kCrate},
    {kWindow, kWall, kWall, kWindow},
    {kLamp, kBlank, kPillar, kBlank},
    {kBlank, kBlank, kFence, kFence},
    {kBigA, kBigA + 1, kBigA + 2, kBigA + 3},
    {kBigB, kBigB + 1, kBigB + 2, kBigB + 3},
    {kBlank, kBlank, kSmall, kSmall + 1},
    {kBlank, kBlank, kSmall + 2, kSmall + 3},
    {kBlank, kBlank, kVariable, kVariable + 1},
    {kBlank, kBlank, kVariable + 2, kVariable + 3},
    {kBlank, kBlank, kForeground, kForeground},
    {kBrickBack, kBrickBack, kBrickBack, kBrickBack},
    {kStoneBack, kStoneBack, kStoneBack, kStoneBack},
    {kFillBack, kFillBack, kFillBack, kFillBack},
    {kGirder, kGirder, kBlank, kBlank},
    {kChain, kBlank, kChain, kBlank},
    {kGrate, kGrate, kGrate, kGrate},
    {kGroundFill, kFillVar, kCeiling, kCeiling},
    {kWaterDeep, kWaterDeep, kWaterDeep, kWaterDeep},
    {kCrumble, kCrumble, kCrumble, kCrumble},
    {kHiddenBrick, kHiddenBrick, kHiddenBrick, kHiddenBrick},
}};
// clang-format on

ChipTables BuildChipTables(Decor decor, bool indoor, int stage) {
    ChipTables t;
    for (int art = 0; art < 64; ++art) SetChip16(t, art, art, ArtAttribute(art, decor));
    SetChip16(t, kBrickBack, kBrick, Attr(0, 0, 0));
    SetChip16(t, kStoneBack, kStone, Attr(0, 0, 0));
    SetChip16(t, kFillBack, kGroundFill, Attr(0, 1, 0));
    SetChip16(t, kWaterDeep, kWaterBody, Attr(8, 2, 3));
    SetChip16(t, kSpikesAlt, kSpikes, Attr(0xF, 1, 1));
    SetChip16(t, kHiddenBrick, kBrick, Attr(6, 2, 2));
    SetChip16(t, kCrumble, kBrickVar, Attr(3, 1, 2));
    // The rest of the 256 chips: tile-mixed leftovers, the way an edited chip table looks.
    Rng r(0x5EED0000u + static_cast<u32>(stage));
    for (int chip = kChip16Used; chip < 256; ++chip) {
        if (chip % 16 >= 8) continue;  // half of each later row stays blank
        const int art = kGroundTop + r.Range(kBigA - kGroundTop);
        SetChip16(t, chip, art, static_cast<u8>(ArtAttribute(art, decor) ^ (r.Range(4))));
    }
    // Indoors the empty quarters of a 32x32 chip show the back wall rather than the bare background colour.
    for (int m = 0; m < cCount; ++m)
        for (int q = 0; q < 4; ++q) {
            int part = kChip32Parts[m][q];
            if (indoor && m != cSky && part == kBlank) part = kWall;
            t.chip32[4 * m + q] = static_cast<u8>(part);
        }
    return t;
}

// ---------------------------------------------------------------------------------------------------------------
// Map sets: 32 screens of 8 x 8 32x32 chips per stage.

using Screen = std::array<std::array<int, 8>, 8>;  // [row][column]

bool IsBackground(int c) {
    return c == cSky || c == cCloud || c == cCloudLow || c == cStars || c == cWall || c == cWallVar || c == cWallWindow;
}

void Background(Screen& s, const Theme& th, Rng& r) {
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col) {
            int c = cSky;
            if (th.indoor) {
                c = r.Chance(20) ? cWallVar : cWall;
                if (th.backdrop != Backdrop::Cave && r.Chance(8)) c = cWallWindow;
            } else if (row <= 2 && r.Chance(th.night ? 30 : 14)) {
                c = th.night ? cStars : (row == 2 ? cCloudLow : cCloud);
            }
            s[row][col] = c;
        }
}

// Outdoor stages: the far backdrop (hills, town, forest, mountains ...) stands on the ground in runs of
// cells that nothing else uses.
void FarBackdrop(Screen& s, int ground, Rng& r) {
    bool inRun = false;
    for (int col = 0; col < 8; ++col) {
        const int g = s[ground][col];
        const bool free = (g == cGroundTop || g == cGroundEndL || g == cGroundEndR || g == cLadderGround) &&
                          IsBackground(s[ground - 1][col]) && IsBackground(s[ground - 2][col]) && g != cLadderGround;
        inRun = free && (inRun ? r.Chance(85) : r.Chance(55));
        if (!inRun) continue;
        s[ground - 1][col] = cFarFill;
        s[ground - 2][col] = cFarTop;
    }
}

void GroundRun(Screen& s, int ground, int c0, int c1, bool gapLeft, bool gapRight) {
    for (int col = c0; col <= c1; ++col) {
        int top = cGroundTop, fill = cGroundFill;
        if (col == c0 && gapLeft) top = cGroundEndL, fill = cFillL;
        if (col == c1 && gapRight) top = cGroundEndR, fill = cFillR;
        s[ground][col] = top;
        for (int row = ground + 1; row < 8; ++row) s[row][col] = fill;
    }
}

void Platform(Screen& s, int row, int c0, int c1, bool planks) {
    for (int col = c0; col <= c1; ++col) {
        if (!planks)
            s[row][col] = (col % 2) ? cBrickVar : cBrick;
        else
            s[row][col] = (c0 == c1) ? cPlankM : (col == c0 ? cPlankL : (col == c1 ? cPlankR : cPlankM));
    }
}

ScreenInfo BuildScreen(Screen& s, int type, const Theme& th, Rng& r) {
    ScreenInfo info;
    const int ground = (type == 5 || r.Chance(25)) ? 5 : 6;
    info.groundRow = ground;
    Background(s, th, r);
    info.standRow.fill(ground - 1);
    const bool planks = th.bricks != Bricks::Plates || r.Chance(40);

    auto pool = [&](int c0, int c1) {
        for (int col = c0; col <= c1; ++col) {
            for (int row = ground; row < 8; ++row) {
                int c = s[row][col];
                switch (th.feature) {
                case Feature::Water:
                    c = row == ground ? cWaterTop : (row == 7 && r.Chance(50) ? cWaterDeep : cWaterBody);
                    break;
                case Feature::Lava: c = row == ground ? cDamageTop : cDamageBody; break;
                default: c = row == 7 ? cSpikesPit : s[row][col]; break;
                }
                s[row][col] = c;
            }
            info.standRow[col] = -1;
        }
    };
    auto decorate = [&](int col, int c) {
        if (col < 0 || col > 7) return;
        if (info.standRow[col] == ground - 1 && s[ground][col] == cGroundTop && IsBackground(s[ground - 1][col]))
            s[ground - 1][col] = c;
    };
    auto building = [&](int c0, int c1, int height) {  // a wall with lit windows
        for (int col = c0; col <= c1; ++col)
            for (int row = ground - height; row < ground; ++row)
                s[row][col] = ((row + col) % 2 == 0) ? cLitWindows : (th.indoor ? cBrickBack : cWall);
    };

    switch (type) {
    case 0: {  // open ground, a floating platform, decorations
        GroundRun(s, ground, 0, 7, false, false);
        const int p = r.Between(1, 4), len = r.Between(1, 3);
        const int row = ground - 3 - r.Range(2);
        Platform(s, row, p, p + len, planks);
        for (int col = p; col <= p + len; ++col) info.standRow[col] = row - 1;
        decorate(r.Between(0, 1), cBigA);
        decorate(r.Between(5, 7), th.indoor ? cCrates : cBush);
        decorate(r.Between(3, 4), cSmallA);
        if (th.feature == Feature::Lights) decorate(2, cLamp);
        break;
    }
    case 1: {  // a pool (water or lava) or a pit with spikes
        const int g0 = r.Between(1, 3), g1 = g0 + r.Between(1, 3);
        GroundRun(s, ground, 0, g0 - 1, false, true);
        GroundRun(s, ground, g1 + 1, 7, true, false);
        pool(g0, g1);
        const int row = ground - 3;
        Platform(s, row, g0, std::min(g1, g0 + 1), true);
        for (int col = g0; col <= std::min(g1, g0 + 1); ++col) info.standRow[col] = row - 1;
        decorate(0, cSmallB);
        decorate(7, cSmallC);
        break;
    }
    case 2: {  // spike pit with stepping blocks
        const int a = r.Between(1, 2), b = r.Between(5, 6);
        GroundRun(s, ground, 0, a - 1, false, true);
        GroundRun(s, ground, b + 1, 7, true, false);
        for (int col = a; col <= b; ++col) {
            s[7][col] = cSpikesPit;
            info.standRow[col] = -1;
        }
        for (int col = a + 1; col < b; col += 2) {
            const int row = ground - 1 - r.Range(3);
            s[row][col] = (col + row) % 3 ? cStone : cSpecial;
            info.standRow[col] = row - 1;
        }
        decorate(0, cFence);
        decorate(7, cSmallD);
        break;
    }
    case 3: {  // a raised floor reached by a ladder
        GroundRun(s, ground, 0, 7, false, false);
        const int lad = r.Between(2, 5);
        const int row = ground - 3 - r.Range(2);
        const int c0 = std::max(0, lad - r.Between(1, 2)), c1 = std::min(7, lad + r.Between(1, 3));
        Platform(s, row, c0, c1, false);
        s[row][lad] = cLadderTop;
        for (int k = row + 1; k < ground; ++k) s[k][lad] = th.indoor ? cLadderWall : cLadder;
        for (int col = c0; col <= c1; ++col) info.standRow[col] = row - 1;
        info.standRow[lad] = -1;
        if (row - 1 >= 0 && c1 != lad) s[row - 1][c1] = cCrates;
        decorate(lad <= 3 ? 7 : 0, cBigB);
        break;
    }
    case 4: {  // stairs of blocks
        GroundRun(s, ground, 0, 7, false, false);
        const bool up = r.Chance(50);
        const int steps = r.Between(3, 4);
        for (int step = 0; step < steps; ++step) {
            const int col = up ? 7 - steps + 1 + step : steps - 1 - step;
            for (int k = 0; k <= step; ++k) s[ground - 1 - k][col] = (k + step) % 3 == 0 ? cStone : cBrick;
            info.standRow[col] = ground - 2 - step;
        }
        decorate(up ? 0 : 7, cSmallA);
        decorate(up ? 1 : 6, cBush);
        break;
    }
    case 5: {  // columns and a high walkway
        GroundRun(s, ground, 0, 7, false, false);
        const int a = r.Between(0, 1), b = a + r.Between(3, 4);
        for (int col : {a, b}) {
            s[1][col] = cPillarTop;
            for (int row = 2; row < ground - 1; ++row) s[row][col] = cPillar;
            s[ground - 1][col] = cPillarBase;
            info.standRow[col] = 0;
        }
        Platform(s, 1, a + 1, b - 1, planks);
        for (int col = a + 1; col < b; ++col) info.standRow[col] = 0;
        decorate(a + 2, cSmallB);
        decorate(7, cBigA);
        break;
    }
    case 6: {  // the stage's own feature
        GroundRun(s, ground, 0, 7, false, false);
        switch (th.feature) {
        case Feature::Water:
        case Feature::Lava: {
            const int c1 = r.Between(5, 6);
            GroundRun(s, ground, 0, 1, false, true);
            GroundRun(s, ground, c1 + 1, 7, true, false);
            pool(2, c1);
            s[ground - 1][3] = cStone;
            s[ground - 1][5] = cStone;
            info.standRow[3] = ground - 2;
            info.standRow[5] = ground - 2;
            Platform(s, ground - 4, 3, 5, true);
            break;
        }
        case Feature::Conveyor: {
            const int mid = r.Between(3, 5);
            for (int col = 1; col <= 6; ++col) s[ground - 1][col] = col < mid ? cConveyorR : cConveyorL;
            for (int col = 2; col <= 5; ++col) s[ground - 4][col] = cConveyorR;
            for (int col = 2; col <= 5; ++col) info.standRow[col] = ground - 5;
            s[ground - 4][1] = cGirder;
            s[ground - 4][6] = cGirder;
            break;
        }
        case Feature::Lights:
            building(1, r.Between(3, 5), r.Between(2, 3));
            decorate(0, cLamp);
            decorate(6, cLamp);
            decorate(7, cBigB);
            break;
        }
        break;
    }
    case 7:
    default: {  // two floors with a ladder shaft
        GroundRun(s, ground, 0, 7, false, false);
        if (th.indoor)
            for (int col = 0; col < 8; ++col) s[0][col] = cCeiling;
        const int lad = r.Between(1, 6);
        const int floor = ground - 3;
        for (int col = 0; col < 8; ++col) s[floor][col] = (col == lad) ? cLadderTop : ((col % 3) ? cBrick : cStone);
        for (int row = floor + 1; row < ground; ++row) s[row][lad] = th.indoor ? cLadderWall : cLadder;
        s[ground][lad] = cLadderGround;
        for (int row = ground + 1; row < 8; ++row) s[row][lad] = cLadderInGround;
        for (int col = 0; col < 8; ++col) info.standRow[col] = col == lad ? -1 : floor - 1;
        if (!th.indoor && floor >= 2) s[floor - 1][lad == 0 ? 7 : 0] = cChain;
        const int extra = lad == 6 ? 2 : 6;
        if (th.feature == Feature::Conveyor)
            s[ground - 1][extra] = cConveyorR;
        else
            decorate(extra, cSmallC);
        break;
    }
    }

    // A few loose blocks high up, now and then.
    if (type != 5 && r.Chance(45)) {
        const int row = std::max(1, ground - 4 - r.Range(2)), c0 = r.Between(0, 5), len = r.Between(1, 3);
        for (int col = c0; col < std::min(8, c0 + len); ++col)
            if (IsBackground(s[row][col]) && IsBackground(s[row + 1][col])) {
                s[row][col] = (col == c0 + 1) ? cSpecial : (th.bricks == Bricks::Plates ? cStone : cBrickVar);
                if (info.standRow[col] >= row) info.standRow[col] = row - 1;
            }
    }
    if (th.indoor && type != 7 && r.Chance(35))
        for (int col = 0; col < 8; ++col)
            if (IsBackground(s[0][col])) s[0][col] = cCeiling;
    if (!th.indoor) FarBackdrop(s, ground, r);
    return info;
}

// The order of the screen kinds in a stage's 32 map sets: each kind four times, shuffled; set 0 is open ground.
std::array<int, 32> ScreenOrder(Rng& r) {
    std::array<int, 32> order{};
    for (int i = 0; i < 32; ++i) order[i] = i % 8;
    for (int i = 31; i > 0; --i) std::swap(order[i], order[r.Range(i + 1)]);
    for (int i = 0; i < 32; ++i)
        if (order[i] == 0) {
            std::swap(order[i], order[0]);
            break;
        }
    return order;
}

}  // namespace

void WriteStageChips(ImageBuilder& img, int s) {
    const Theme& th = kThemes[s];
    const u32 base = kStageStride * static_cast<u32>(s);
    const ChipTables chips = BuildChipTables(th.decor, th.indoor, s);
    img.Put(StageName(s, "chip16x16"), kChip16Addr + base, {chips.chip16.begin(), chips.chip16.end()});
    img.Put(StageName(s, "chip attributes"), kChipPropAddr + base, {chips.attributes.begin(), chips.attributes.end()});
    img.Put(StageName(s, "chip32x32"), kChip32Addr + base, {chips.chip32.begin(), chips.chip32.end()});
}

StageScreens WriteStageMapSetsAndMap(ImageBuilder& img, int s) {
    const Theme& th = kThemes[s];
    const u32 base = kStageStride * static_cast<u32>(s);
    Rng r(0x3A950000u + 104729u * static_cast<u32>(s));
    std::array<ScreenInfo, 32> infos{};
    std::vector<u8> mapSets(2048, 0);
    const std::array<int, 32> order = ScreenOrder(r);
    for (int set = 0; set < 32; ++set) {
        Screen screen{};
        infos[set] = BuildScreen(screen, order[set], th, r);
        for (int row = 0; row < 8; ++row)
            for (int col = 0; col < 8; ++col) mapSets[64 * set + 8 * row + col] = static_cast<u8>(screen[row][col]);
    }
    img.Put(StageName(s, "map sets"), kMapSetAddr + base, mapSets);

    std::array<int, 48> map{};
    for (int i = 0; i < 48; ++i) map[i] = i < 32 ? i : (i * 5 + s) % 32;
    img.Put(StageName(s, "map"), kMapAddr + base, std::vector<u8>(map.begin(), map.end()));
    return {infos, map};
}

}  // namespace demo
