// The demo ROM image generator. Everything in the image is drawn or composed here:
//
//   file offset          contents
//   000000..000010       iNES header (32 x 16 KiB PRG, CHR RAM, mapper 4)
//   000010 + 0x2000 b    tile bank b (8 KiB); the game reads tiles from "16 + 0x2000 x bank + 256 x page - 0x8000",
//                        so source pages 0x80..0x9F address the bank's 8 KiB
//     banks 0x00..0x0F   per-stage tiles: pages 0x84..0x8F the stage's own art (BG pages 4..15), 0x90..0x93 other
//                        decorations (mid-point 1), 0x94..0x97 other terrain (mid-point 2), 0x98..0x9A variants of
//                        BG page 15 (scroll loads)
//     bank 0x10          common tiles, pages 0x80..0x83 (BG pages 0..3)
//   040010 + 0x2000 s    the per-stage tables of stage s at the default addresses (up to offset 0x162C of the block)
//   0418D7               palette animation colour triples (stage 0's block, past its tables)
//   041B53               palette animation records (pointer 0xBB43 is the record at 041B53)
//   041D3C / 041D7C      palette animation pointer tables (64 entries each)
//   051810 / 051880      initial graphics pointer tables (0x70 entries each, stage 8's block past its tables)
//   0518F0..052010       initial graphics load records (record = pointer + 0x46010)
//   053810 / 053870      scroll graphics pointer tables (0x50 entries each, stage 9's block past its tables)
//   0538C0..054010       scroll graphics load records (record = pointer + 0x48010)
//   07C8BB               mid-point table, 8 bytes per stage
//   08000A..080010       interrupt vectors
//
// Every write goes through ImageBuilder::Claim, which refuses a range outside the image or overlapping an earlier
// one, so the layout above is checked each time the image is built.

#include "demorom.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

namespace {

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

u32 TileSource(int bank, int page) { return 16u + 0x2000u * static_cast<u32>(bank) + 256u * static_cast<u32>(page) - 0x8000u; }

// ---------------------------------------------------------------------------------------------------------------
// The image and its claimed regions.

class ImageBuilder {
public:
    ImageBuilder() { layout_.image.assign(kDemoRomSize, 0); }

    u8* Claim(const std::string& name, u32 begin, u32 size) {
        if (size == 0 || begin > kDemoRomSize || size > kDemoRomSize - begin) {
            throw std::logic_error("demo image: region outside the image: " + name);
        }
        const u32 end = begin + size;
        for (const auto& r : layout_.regions) {
            if (begin < r.end && r.begin < end) {
                throw std::logic_error("demo image: region " + name + " overlaps " + r.name);
            }
        }
        layout_.regions.push_back({name, begin, end});
        return layout_.image.data() + begin;
    }
    void Put(const std::string& name, u32 begin, const std::vector<u8>& bytes) {
        u8* p = Claim(name, begin, static_cast<u32>(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), p);
    }
    DemoRomLayout Take() { return std::move(layout_); }

private:
    DemoRomLayout layout_;
};

// Hands out consecutive ranges of a free area.
class Arena {
public:
    Arena(u32 begin, u32 end) : next_(begin), end_(end) {}
    u32 Alloc(u32 size) {
        if (size > end_ - next_) throw std::logic_error("demo image: record area full");
        const u32 at = next_;
        next_ += size;
        return at;
    }

private:
    u32 next_, end_;
};

std::string Name(const char* fmt, int n) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, n);
    return buf;
}
std::string StageName(int stage, const char* table) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "stage %02d %s", stage, table);
    return buf;
}

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

// clang-format off
const Theme kThemes[kStages] = {
    // grassland
    {false, false, Feature::Water, Ground::Grass, Bricks::Bond, Backdrop::Hills, Decor::Tree, false,
     {0x21, 0x1A, 0x2A, 0x30, 0x21, 0x07, 0x17, 0x29, 0x21, 0x0F, 0x16, 0x26, 0x21, 0x01, 0x11, 0x31}},
    // cave
    {true, false, Feature::Lava, Ground::Rock, Bricks::Stones, Backdrop::Cave, Decor::Crystal, false,
     {0x0F, 0x08, 0x07, 0x18, 0x0F, 0x07, 0x17, 0x27, 0x0F, 0x2D, 0x00, 0x10, 0x0F, 0x05, 0x16, 0x27}},
    // ruins by the sea
    {false, false, Feature::Water, Ground::Rock, Bricks::Cobbles, Backdrop::Mountains, Decor::Statue, false,
     {0x31, 0x0B, 0x1B, 0x30, 0x31, 0x0C, 0x1C, 0x3C, 0x31, 0x2D, 0x10, 0x30, 0x31, 0x02, 0x12, 0x22}},
    // factory
    {true, false, Feature::Conveyor, Ground::Metal, Bricks::Plates, Backdrop::Panels, Decor::Machine, false,
     {0x0F, 0x2D, 0x00, 0x10, 0x0F, 0x2D, 0x00, 0x10, 0x0F, 0x07, 0x17, 0x27, 0x0F, 0x2D, 0x10, 0x30}},
    // snowfield
    {false, false, Feature::Water, Ground::Snow, Bricks::Stones, Backdrop::Mountains, Decor::Tree, false,
     {0x21, 0x01, 0x11, 0x30, 0x21, 0x0C, 0x1C, 0x30, 0x21, 0x01, 0x11, 0x31, 0x21, 0x0C, 0x1C, 0x2C}},
    // desert
    {false, false, Feature::Water, Ground::Sand, Bricks::Stones, Backdrop::Dunes, Decor::Statue, false,
     {0x36, 0x07, 0x17, 0x27, 0x36, 0x07, 0x27, 0x37, 0x36, 0x06, 0x16, 0x26, 0x36, 0x0C, 0x1C, 0x2C}},
    // volcano
    {false, false, Feature::Lava, Ground::Rock, Bricks::Cobbles, Backdrop::Mountains, Decor::Crystal, false,
     {0x05, 0x0F, 0x06, 0x16, 0x05, 0x0F, 0x2D, 0x00, 0x05, 0x0F, 0x00, 0x10, 0x05, 0x06, 0x16, 0x28}},
    // night city
    {false, true, Feature::Lights, Ground::Metal, Bricks::Plates, Backdrop::City, Decor::Machine, false,
     {0x0F, 0x01, 0x11, 0x30, 0x0F, 0x2D, 0x00, 0x10, 0x0F, 0x02, 0x12, 0x22, 0x0F, 0x07, 0x28, 0x38}},
    // forest
    {false, false, Feature::Water, Ground::Grass, Bricks::Bond, Backdrop::Forest, Decor::Tree, false,
     {0x39, 0x09, 0x19, 0x30, 0x39, 0x08, 0x18, 0x2A, 0x39, 0x07, 0x17, 0x27, 0x39, 0x0B, 0x1B, 0x2B}},
    // ice cave
    {true, false, Feature::Water, Ground::Snow, Bricks::Stones, Backdrop::Cave, Decor::Crystal, false,
     {0x0F, 0x0C, 0x01, 0x1C, 0x0F, 0x11, 0x21, 0x30, 0x0F, 0x01, 0x21, 0x31, 0x0F, 0x01, 0x11, 0x2C}},
    // sky fortress
    {false, false, Feature::Lights, Ground::Metal, Bricks::Plates, Backdrop::Clouds, Decor::Statue, false,
     {0x22, 0x12, 0x10, 0x30, 0x22, 0x2D, 0x10, 0x30, 0x22, 0x08, 0x28, 0x38, 0x22, 0x06, 0x16, 0x36}},
    // sewer
    {true, false, Feature::Water, Ground::Rock, Bricks::Bond, Backdrop::Sewer, Decor::Machine, false,
     {0x0F, 0x0B, 0x1B, 0x2B, 0x0F, 0x08, 0x18, 0x28, 0x0F, 0x2D, 0x10, 0x3B, 0x0F, 0x0A, 0x1A, 0x2A}},
    // crystal hollow
    {true, false, Feature::Lights, Ground::Rock, Bricks::Cobbles, Backdrop::Cave, Decor::Crystal, false,
     {0x0F, 0x03, 0x13, 0x23, 0x0F, 0x04, 0x14, 0x24, 0x0F, 0x02, 0x12, 0x32, 0x0F, 0x03, 0x23, 0x33}},
    // tech base
    {true, false, Feature::Lights, Ground::Metal, Bricks::Plates, Backdrop::Panels, Decor::Machine, true,
     {0x0F, 0x0C, 0x1C, 0x2C, 0x0F, 0x01, 0x0C, 0x1C, 0x0F, 0x0C, 0x1C, 0x3C, 0x0F, 0x11, 0x21, 0x30}},
    // castle
    {true, false, Feature::Lava, Ground::Rock, Bricks::Stones, Backdrop::Castle, Decor::Statue, false,
     {0x0F, 0x2D, 0x07, 0x17, 0x0F, 0x00, 0x10, 0x20, 0x0F, 0x06, 0x16, 0x26, 0x0F, 0x06, 0x16, 0x27}},
    // the last fortress
    {false, true, Feature::Conveyor, Ground::Metal, Bricks::Plates, Backdrop::Mountains, Decor::Machine, false,
     {0x04, 0x0F, 0x14, 0x24, 0x04, 0x0F, 0x00, 0x10, 0x04, 0x03, 0x13, 0x33, 0x04, 0x05, 0x15, 0x35}},
};
// clang-format on

// ---------------------------------------------------------------------------------------------------------------
// Pixel art: 2-bit canvases cut into 16x16 arts of four 8x8 tiles.

class Canvas {
public:
    Canvas(int w, int h, u8 fill = 0) : w_(w), h_(h), px_(static_cast<std::size_t>(w * h), fill) {}
    int W() const { return w_; }
    int H() const { return h_; }
    u8 Get(int x, int y) const { return (x < 0 || y < 0 || x >= w_ || y >= h_) ? 0 : px_[y * w_ + x]; }
    void Set(int x, int y, int c) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[y * w_ + x] = static_cast<u8>(c & 3);
    }
    void Fill(int c) { std::fill(px_.begin(), px_.end(), static_cast<u8>(c & 3)); }
    void Rect(int x, int y, int w, int h, int c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) Set(i, j, c);
    }
    void HLine(int x0, int x1, int y, int c) { Rect(x0, y, x1 - x0 + 1, 1, c); }
    void VLine(int x, int y0, int y1, int c) { Rect(x, y0, 1, y1 - y0 + 1, c); }
    void Disc(int cx, int cy, int r, int c) {
        for (int y = cy - r; y <= cy + r; ++y)
            for (int x = cx - r; x <= cx + r; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r + r / 2) Set(x, y, c);
    }
    // A box with a light top-left edge and a dark bottom-right edge.
    void Bevel(int x, int y, int w, int h, int light, int body, int dark) {
        Rect(x, y, w, h, body);
        HLine(x, x + w - 1, y, light);
        VLine(x, y, y + h - 1, light);
        HLine(x, x + w - 1, y + h - 1, dark);
        VLine(x + w - 1, y, y + h - 1, dark);
    }
    void Outline(int x, int y, int w, int h, int c) {
        HLine(x, x + w - 1, y, c);
        HLine(x, x + w - 1, y + h - 1, c);
        VLine(x, y, y + h - 1, c);
        VLine(x + w - 1, y, y + h - 1, c);
    }
    // Colours every pixel of colour `from` that touches a pixel of colour `inside` (4-neighbourhood).
    void Edge(int inside, int from, int c) {
        Canvas copy = *this;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                if (copy.Get(x, y) != from) continue;
                const bool touch = (x > 0 && copy.Get(x - 1, y) == inside) || (x + 1 < w_ && copy.Get(x + 1, y) == inside) ||
                                   (y > 0 && copy.Get(x, y - 1) == inside) || (y + 1 < h_ && copy.Get(x, y + 1) == inside);
                if (touch) Set(x, y, c);
            }
    }
    void Blit(const Canvas& src, int dx, int dy) {
        for (int y = 0; y < src.h_; ++y)
            for (int x = 0; x < src.w_; ++x) Set(dx + x, dy + y, src.Get(x, y));
    }

private:
    int w_, h_;
    std::vector<u8> px_;
};

// A small integer wave, period 16, amplitude 2.
constexpr int kWave[16] = {0, 1, 1, 2, 2, 2, 1, 1, 0, -1, -1, -2, -2, -2, -1, -1};
int Wave(int x) { return kWave[((x % 16) + 16) % 16]; }

// Writes the 16x16 area at (ox, oy) of a canvas as four tiles (top left, top right, bottom left, bottom right).
void EncodeArt(const Canvas& c, int ox, int oy, u8* dst64) {
    for (int t = 0; t < 4; ++t) {
        const int tx = ox + 8 * (t % 2), ty = oy + 8 * (t / 2);
        u8* tile = dst64 + 16 * t;
        for (int r = 0; r < 8; ++r) {
            u8 p0 = 0, p1 = 0;
            for (int k = 0; k < 8; ++k) {
                const u8 v = c.Get(tx + k, ty + r);
                p0 = static_cast<u8>(p0 | ((v & 1) << (7 - k)));
                p1 = static_cast<u8>(p1 | (((v >> 1) & 1) << (7 - k)));
            }
            tile[r] = p0;
            tile[8 + r] = p1;
        }
    }
}

// 64 arts make one 4 KiB BG bank image: art a is tiles 4a .. 4a + 3.
using ArtBank = std::array<u8, 4096>;
void PutArt(ArtBank& bank, int art, const Canvas& c, int ox = 0, int oy = 0) { EncodeArt(c, ox, oy, bank.data() + 64 * art); }

// --- art numbers (= 16x16 chip numbers) -------------------------------------------------------------------------
enum Art : int {
    // common (BG pages 0..3)
    kBlank = 0, kCloudL, kCloudR, kStars, kLadder, kLadderTop, kSpikes, kConveyorR, kConveyorL, kWaterTop, kWaterBody,
    kWindow, kLamp, kBush, kCrate, kFence,
    // stage terrain (BG pages 4..11)
    kGroundTop = 16, kGroundFill, kCornerL, kCornerR, kBrick, kStone, kSpecial, kPlank,
    kWall, kWallVar, kFarTop, kFarFill, kDamageTop, kPillar, kForeground, kCeiling,
    kGroundTopVar = 32, kFillVar, kFillEdgeL, kFillEdgeR, kBrickVar, kStoneVar, kWallWindow, kFarTopVar,
    kPillarTop, kPillarBase, kPlankL, kPlankR, kDamageBody, kGirder, kChain, kGrate,
    // decorations (BG pages 12..15): two 32x32 pieces, four small ones, four small ones that scroll loads replace
    kBigA = 48, kBigB = 52, kSmall = 56, kVariable = 60,
    // extra chips that reuse the tiles of others with another palette or kind
    kBrickBack = 64, kStoneBack, kFillBack, kWaterDeep, kSpikesAlt, kHiddenBrick, kCrumble,
    kChip16Used
};

// --- painters: each draws one 16x16 art (or a 32x32 piece) ---------------------------------------------------

void PaintFillTexture(Canvas& c, Ground g, Rng& r, int top = 0) {
    for (int y = top; y < c.H(); ++y)
        for (int x = 0; x < c.W(); ++x) c.Set(x, y, 2);
    switch (g) {
    case Ground::Grass:
    case Ground::Sand:
        for (int i = 0; i < 7; ++i) {
            const int x = r.Range(c.W()), y = top + r.Range(c.H() - top);
            c.Set(x, y, 1);
            c.Set(x + 1, y, g == Ground::Sand ? 3 : 1);
        }
        if (g == Ground::Sand)
            for (int x = 0; x < c.W(); ++x) c.Set(x, top + 6 + Wave(x) / 2 + (x / 16) % 2, 3);
        break;
    case Ground::Rock: {
        for (int i = 0; i < 2; ++i) {
            int x = r.Range(c.W()), y = top + r.Range(c.H() - top);
            for (int k = 0; k < 7; ++k) {
                c.Set(x, y, 1);
                x += r.Range(3) - 1;
                y += 1;
            }
        }
        for (int i = 0; i < 4; ++i) c.Set(r.Range(c.W()), top + r.Range(c.H() - top), 3);
        break;
    }
    case Ground::Snow:
        for (int i = 0; i < 8; ++i) c.Set(r.Range(c.W()), top + r.Range(c.H() - top), i % 3 ? 3 : 1);
        break;
    case Ground::Metal:
        for (int y = top; y < c.H(); ++y)
            for (int x = 0; x < c.W(); ++x) {
                if ((y - top) % 8 == 7 || x % 16 == 15) c.Set(x, y, 1);
                if ((y - top) % 8 == 0 || x % 16 == 0) c.Set(x, y, 3);
            }
        c.Set(3, top + 3, 1);
        c.Set(12, top + 3, 1);
        break;
    }
}

// A ground surface at height `surf` (rows above are sky), drawn over a fill texture.
void PaintGroundTop(Canvas& c, Ground g, Rng& r, int variant) {
    const int surf = 3;
    PaintFillTexture(c, g, r, surf);
    for (int y = 0; y < surf; ++y) c.HLine(0, c.W() - 1, y, 0);
    switch (g) {
    case Ground::Grass:
        for (int x = 0; x < c.W(); ++x) {
            const int depth = 4 + (Wave(x * 3 + variant) > 0 ? 1 : 0) + r.Range(2);
            c.VLine(x, surf, surf + depth, 3);
            c.Set(x, surf + depth + 1, 1);
            if (r.Chance(30)) c.Set(x, surf - 1, 3);  // blades
            if (r.Chance(10)) c.VLine(x, surf - 2, surf - 1, 3);
        }
        if (variant)
            for (int i = 0; i < 3; ++i) {
                const int x = 2 + 5 * i + r.Range(2);
                c.Set(x, surf - 2, 2);  // flowers
                c.Set(x, surf - 1, 1);
            }
        break;
    case Ground::Rock:
        for (int x = 0; x < c.W(); ++x) {
            const int s = surf + (Wave(x * 2 + variant * 5) > 1 ? -1 : 0);
            for (int y = 0; y < s; ++y) c.Set(x, y, 0);
            c.Set(x, s, 3);
            c.Set(x, s + 1, x % 5 == 2 ? 1 : 3);
        }
        if (variant) c.Disc(6, surf - 1, 2, 1), c.Disc(6, surf - 2, 1, 3);
        break;
    case Ground::Snow:
        for (int x = 0; x < c.W(); ++x) {
            const int drip = 4 + (Wave(x * 5 + variant * 3) > 0 ? r.Range(4) : r.Range(2));
            c.VLine(x, surf, surf + drip, 3);
            c.Set(x, surf + drip + 1, 1);
        }
        if (variant) c.Disc(10, surf - 1, 2, 3);
        break;
    case Ground::Metal:
        c.HLine(0, c.W() - 1, surf, 3);
        c.HLine(0, c.W() - 1, surf + 1, 3);
        c.HLine(0, c.W() - 1, surf + 2, 2);
        c.HLine(0, c.W() - 1, surf + 3, 1);
        for (int x = variant ? 2 : 5; x < c.W(); x += 8) c.Set(x, surf + 1, 1);
        break;
    case Ground::Sand:
        for (int x = 0; x < c.W(); ++x) {
            const int s = surf + Wave(x + variant * 4) / 2;
            for (int y = 0; y < s; ++y) c.Set(x, y, 0);
            c.VLine(x, s, s + 2, 3);
        }
        if (variant) c.Set(4, surf - 1, 1), c.Set(11, surf - 2, 1);
        break;
    }
}

void PaintCorner(Canvas& c, Ground g, Rng& r, bool left) {
    PaintGroundTop(c, g, r, 0);
    for (int y = 0; y < 16; ++y) {
        const int cut = y < 3 ? 4 - y : (y < 6 ? 1 : 0);
        for (int i = 0; i < cut; ++i) c.Set(left ? i : 15 - i, y, 0);
        c.Set(left ? cut : 15 - cut, y, y < 3 ? 3 : 1);
    }
}

void PaintFillEdge(Canvas& c, Ground g, Rng& r, bool left) {
    PaintFillTexture(c, g, r);
    for (int y = 0; y < 16; ++y) {
        const int x = left ? 0 : 15;
        c.Set(x, y, 1);
        if (y % 6 == 2) c.Set(left ? 1 : 14, y, 1);
    }
}

void PaintBricks(Canvas& c, Bricks b, Rng& r, bool variant) {
    c.Fill(2);
    switch (b) {
    case Bricks::Bond:
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int row = y / 4, off = (row % 2) ? 4 : 0;
                if (y % 4 == 3 || (x + off) % 8 == 7) c.Set(x, y, 1);
                else if (y % 4 == 0 && (x + off) % 8 < 3) c.Set(x, y, 3);
            }
        break;
    case Bricks::Stones:
        for (int j = 0; j < 2; ++j)
            for (int i = -1; i < 2; ++i) c.Bevel(i * 8 + (j ? 4 : 0), j * 8, 8, 8, 3, 2, 1);
        break;
    case Bricks::Plates:
        c.Bevel(0, 0, 16, 16, 3, 2, 1);
        c.Bevel(2, 2, 12, 12, 1, 2, 3);
        for (int k : {3, 12}) c.Set(k, 3, 3), c.Set(k, 12, 3);
        break;
    case Bricks::Cobbles:
        c.Fill(1);
        c.Disc(4, 4, 3, 2), c.Disc(11, 3, 3, 2), c.Disc(4, 11, 3, 2), c.Disc(12, 11, 3, 2);
        c.Set(3, 3, 3), c.Set(10, 2, 3), c.Set(3, 10, 3), c.Set(11, 10, 3);
        break;
    }
    if (variant) {  // a crack
        int x = 5 + r.Range(6);
        for (int y = 1; y < 14; ++y) {
            c.Set(x, y, 1);
            x += r.Range(3) - 1;
        }
    }
}

void PaintStone(Canvas& c, Bricks b, Rng& r, bool variant) {
    c.Bevel(0, 0, 16, 16, 3, 2, 1);
    c.Bevel(1, 1, 14, 14, 3, 2, 1);
    if (b == Bricks::Plates || variant) {
        c.Set(4, 4, 1), c.Set(11, 4, 1), c.Set(4, 11, 1), c.Set(11, 11, 1);
    } else {
        for (int i = 0; i < 5; ++i) c.Set(3 + r.Range(10), 3 + r.Range(10), r.Chance(50) ? 1 : 3);
    }
}

void PaintSpecial(Canvas& c) {
    c.Bevel(0, 0, 16, 16, 3, 2, 1);
    c.Outline(1, 1, 14, 14, 1);
    for (int d = 0; d < 5; ++d) {  // a diamond emblem
        c.HLine(8 - d - 1, 7 + d, 3 + d, 3);
        c.HLine(8 - d - 1, 7 + d, 12 - d, 3);
    }
    c.HLine(7, 8, 7, 1), c.HLine(7, 8, 8, 1);
}

void PaintPlank(Canvas& c, int end) {  // end: 0 middle, 1 left, 2 right
    c.Fill(0);
    c.HLine(0, 15, 0, 3);
    c.Rect(0, 1, 16, 4, 2);
    c.HLine(0, 15, 5, 1);
    c.HLine(2, 6, 2, 1), c.HLine(10, 13, 3, 1);
    c.Set(3, 3, 3), c.Set(12, 2, 3);
    if (end == 1) c.VLine(0, 0, 5, 1), c.Set(0, 0, 0), c.Set(0, 5, 0), c.VLine(1, 1, 4, 3);
    if (end == 2) c.VLine(15, 0, 5, 1), c.Set(15, 0, 0), c.Set(15, 5, 0);
    // supports
    if (end) c.VLine(end == 1 ? 3 : 12, 6, 9, 1), c.VLine(end == 1 ? 4 : 11, 6, 8, 1);
}

void PaintGirder(Canvas& c) {
    c.Fill(0);
    c.HLine(0, 15, 0, 3), c.HLine(0, 15, 1, 2), c.HLine(0, 15, 6, 2), c.HLine(0, 15, 7, 1);
    for (int i = 0; i < 4; ++i) {
        c.Set(i + 1, 2 + i, 1), c.Set(i + 9, 2 + i, 1);
        c.Set(7 - i, 2 + i, 2), c.Set(15 - i, 2 + i, 2);
    }
}

// Back walls of indoor stages: mostly the background colour, so that chips drawn over it blend in, with a
// pattern in colours 1 and 2.
void PaintWall(Canvas& c, Backdrop bd, Rng& r, int variant) {
    c.Fill(0);
    switch (bd) {
    case Backdrop::Cave:
        for (int i = 0; i < 3; ++i) {
            const int x = r.Range(16), y = r.Range(16);
            c.Disc(x, y, 1 + r.Range(2), 1);
            c.Set(x - 1, y - 1, 2);
        }
        for (int i = 0; i < 4; ++i) c.Set(r.Range(16), r.Range(16), 1);
        if (variant) c.Disc(8, 9, 3, 1), c.Disc(7, 8, 1, 2);
        break;
    case Backdrop::Panels:
        c.Outline(0, 0, 16, 16, 1);
        c.VLine(8, 0, 15, 1);
        c.Set(2, 2, 2), c.Set(13, 2, 2), c.Set(2, 13, 2), c.Set(13, 13, 2);
        if (variant) c.Rect(3, 5, 10, 5, 1), c.HLine(4, 11, 6, 2), c.HLine(4, 11, 8, 2);
        break;
    case Backdrop::Castle:
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int off = ((y / 8) % 2) * 8;
                if (y % 8 == 7 || (x + off) % 16 == 15) c.Set(x, y, 1);
                else if (y % 8 == 0 && (x + off) % 16 < 5) c.Set(x, y, 2);
            }
        if (variant) c.Rect(6, 2, 4, 9, 1), c.Disc(7, 3, 1, 2);
        break;
    case Backdrop::Sewer:
    default:
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int off = ((y / 4) % 2) * 4;
                if (y % 4 == 3 || (x + off) % 8 == 7) c.Set(x, y, 1);
                else if (y % 4 == 0 && (x + off) % 8 == 0) c.Set(x, y, 2);
            }
        if (variant)
            for (int y = 4; y < 16; ++y) c.Set(6 + Wave(y) / 2, y, 2);
        break;
    }
}

void PaintWallWindow(Canvas& c, Backdrop bd, Rng& r) {
    PaintWall(c, bd, r, 0);
    c.Rect(3, 2, 10, 11, 2);
    c.Rect(4, 3, 8, 9, 1);
    c.VLine(7, 3, 11, 2), c.VLine(8, 3, 11, 2);
    c.HLine(4, 11, 7, 2);
}

// Far backdrop (outdoor stages): a 32x16 strip, top = silhouettes against the sky, fill = below.
void PaintFarTop(Canvas& c, Backdrop bd, Rng& r, int variant) {
    c.Fill(0);
    switch (bd) {
    case Backdrop::Hills:
        c.Disc(8 + variant * 6, 14, 9, 1), c.Disc(8 + variant * 6, 14, 7, 2);
        c.Disc(26 - variant * 4, 18, 8, 1);
        c.Rect(0, 13, 32, 3, 1);
        break;
    case Backdrop::City:
        for (int x = 0; x < 32;) {
            const int w = 6 + r.Range(5), h = 5 + r.Range(10);
            c.Rect(x, 16 - h, w - 1, h, 1);
            c.HLine(x, x + w - 2, 16 - h, 2);
            if (r.Chance(40)) c.VLine(x + w / 2, 16 - h - 3, 16 - h - 1, 2);  // antenna
            for (int y = 16 - h + 3; y < 16; y += 4)
                for (int i = x + 1; i < x + w - 2; i += 3)
                    if (r.Chance(50)) c.Set(i, y, 3), c.Set(i + 1, y, 3);
            x += w;
        }
        break;
    case Backdrop::Forest:
        for (int x = 2 - variant * 3; x < 34; x += 7) {
            const int h = 6 + r.Range(6);
            c.Disc(x, 16 - h, 4, 2);
            c.Disc(x + 1, 17 - h, 3, 1);
            c.Rect(x - 1, 16 - h, 3, h, 1);
        }
        c.Rect(0, 14, 32, 2, 1);
        break;
    case Backdrop::Mountains:
    default:
        for (int x = 0; x < 32; ++x) {
            const int a = 15 - std::abs((x + variant * 5) % 20 - 10) - (x > 14 && x < 26 ? 3 : 0);
            for (int y = std::max(a, 1); y < 16; ++y) c.Set(x, y, (x + variant * 5) % 20 < 10 ? 1 : 2);
            if (a < 9) c.VLine(x, std::max(a, 1), std::min(15, std::max(a, 1) + 1), 3);
        }
        break;
    case Backdrop::Clouds:
        for (int x = -4 + variant * 3; x < 36; x += 9) c.Disc(x, 12 - r.Range(4), 5, 3);
        c.Rect(0, 12, 32, 4, 3);
        for (int x = 0; x < 32; ++x) c.Set(x, 15, 2);
        break;
    case Backdrop::Dunes:
        for (int x = 0; x < 32; ++x) {
            const int a = 9 + Wave(x / 2 + variant * 4) * 2;
            c.VLine(x, a, 15, 2);
            c.Set(x, a, 3);
        }
        break;
    case Backdrop::Cave:
    case Backdrop::Panels:
    case Backdrop::Castle:
    case Backdrop::Sewer:
        PaintWall(c, bd, r, variant);
        break;
    }
}

void PaintFarFill(Canvas& c, Backdrop bd, Rng& r) {
    c.Fill(bd == Backdrop::Clouds ? 3 : (bd == Backdrop::Dunes ? 2 : 1));
    if (bd == Backdrop::City) {
        c.VLine(7, 0, 15, 0);
        for (int y = 1; y < 16; y += 4)
            for (int x = 1; x < 15; x += 3)
                if (x != 7 && x + 1 != 7 && r.Chance(45)) c.Set(x, y, 3), c.Set(x + 1, y, 3);
        return;
    }
    for (int i = 0; i < 6; ++i) c.Set(r.Range(16), r.Range(16), 2);
}

void PaintLadder(Canvas& c, bool top) {
    c.Fill(0);
    for (int x : {2, 12}) {
        c.VLine(x, top ? 1 : 0, 15, 3);
        c.VLine(x + 1, top ? 1 : 0, 15, 1);
    }
    for (int y : {top ? 4 : 3, 11}) {
        c.HLine(4, 11, y, 3);
        c.HLine(4, 11, y + 1, 1);
    }
    if (top) {
        c.HLine(1, 4, 0, 3), c.HLine(11, 14, 0, 3);
        c.HLine(1, 4, 1, 2), c.HLine(11, 14, 1, 2);
    }
}

void PaintSpikes(Canvas& c) {
    c.Fill(0);
    for (int s = 0; s < 2; ++s) {
        const int cx = 8 * s + 4;
        for (int y = 1; y < 14; ++y) {
            const int w = (y * 4) / 13;
            for (int x = cx - w; x < cx + w; ++x) c.Set(x, y, x < cx ? 3 : 2);
            c.Set(cx - w - 1, y, 1);
        }
        c.Set(cx, 0, 3);
    }
    c.Rect(0, 14, 16, 2, 1);
}

void PaintConveyor(Canvas& c, bool right) {
    c.Fill(0);
    c.HLine(0, 15, 2, 3);
    c.HLine(0, 15, 3, 1);
    for (int y = 4; y < 9; ++y)
        for (int x = 0; x < 16; ++x) c.Set(x, y, 1 + ((x + (right ? -y : y) + 32) / 2) % 3);
    c.HLine(0, 15, 9, 1);
    c.Rect(0, 10, 16, 6, 1);
    for (int cx : {4, 12}) {
        c.Disc(cx, 12, 3, 2);
        c.Set(cx, 12, 3), c.Set(cx - 1, 11, 3);
    }
}

void PaintWaterTop(Canvas& c) {
    c.Fill(1);
    for (int x = 0; x < 16; ++x) {
        const int s = 4 + Wave(x) / 2;
        for (int y = 0; y < s; ++y) c.Set(x, y, 0);
        c.Set(x, s, 3);
        c.Set(x, s + 1, 2);
    }
    for (int y = 9; y < 16; y += 3)
        for (int x = (y * 5) % 16; x < (y * 5) % 16 + 4; ++x) c.Set(x % 16, y, 2);
}

void PaintWaterBody(Canvas& c, int shift) {
    c.Fill(1);
    for (int y = 1; y < 16; y += 4)
        for (int k = 0; k < 4; ++k) {
            const int x0 = (y * 7 + shift + k * 9) % 16;
            c.Set(x0, y, 2), c.Set((x0 + 1) % 16, y, 2), c.Set((x0 + 2) % 16, y, 3);
        }
}

void PaintWindow(Canvas& c) {
    c.Fill(1);
    c.Rect(2, 2, 12, 12, 3);
    c.VLine(7, 2, 13, 1), c.VLine(8, 2, 13, 1);
    c.HLine(2, 13, 7, 1);
    c.Set(3, 3, 2), c.Set(4, 3, 2), c.Set(3, 4, 2), c.Set(10, 9, 2), c.Set(11, 9, 2);
}

void PaintLamp(Canvas& c) {
    c.Fill(0);
    c.Disc(7, 6, 5, 2);
    c.Disc(7, 6, 3, 3);
    c.HLine(4, 11, 11, 1);
    c.Rect(6, 12, 4, 4, 1);
}

void PaintBush(Canvas& c, Rng& r) {
    c.Fill(0);
    c.Disc(4, 11, 4, 3), c.Disc(10, 9, 5, 3), c.Disc(14, 12, 3, 3);
    c.Rect(0, 13, 16, 3, 3);
    c.Edge(0, 3, 1);
    for (int i = 0; i < 4; ++i) c.Set(3 + r.Range(10), 10 + r.Range(5), 2);
}

void PaintCrate(Canvas& c) {
    c.Bevel(0, 0, 16, 16, 3, 2, 1);
    c.Outline(1, 1, 14, 14, 1);
    for (int i = 2; i < 14; ++i) c.Set(i, i, 3), c.Set(i, i + 1, 1);
}

void PaintFence(Canvas& c) {
    c.Fill(0);
    c.HLine(0, 15, 5, 2), c.HLine(0, 15, 6, 1);
    c.HLine(0, 15, 12, 2), c.HLine(0, 15, 13, 1);
    for (int x : {2, 7, 12}) {
        c.VLine(x, 2, 15, 3);
        c.VLine(x + 1, 1, 15, 2);
        c.VLine(x + 2, 2, 15, 1);
    }
}

void PaintCloud(Canvas& c) {  // 32x16
    c.Fill(0);
    c.Disc(9, 10, 5, 3), c.Disc(16, 7, 6, 3), c.Disc(23, 10, 5, 3);
    c.Rect(5, 11, 22, 4, 3);
    c.Edge(0, 3, 2);
    for (int x = 5; x < 27; ++x)
        if (c.Get(x, 14) == 2 || c.Get(x, 14) == 3) c.Set(x, 14, 2);
}

void PaintStars(Canvas& c, Rng& r) {
    c.Fill(0);
    const int x = 3 + r.Range(8), y = 3 + r.Range(8);
    c.Set(x, y, 3), c.Set(x - 1, y, 2), c.Set(x + 1, y, 2), c.Set(x, y - 1, 2), c.Set(x, y + 1, 2);
    for (int i = 0; i < 3; ++i) c.Set(r.Range(16), r.Range(16), i == 0 ? 3 : 2);
}

void PaintDamageTop(Canvas& c, Rng& r) {
    c.Fill(2);
    for (int x = 0; x < 16; ++x) {
        const int s = 3 + Wave(x * 2) / 2;
        for (int y = 0; y < s; ++y) c.Set(x, y, 0);
        c.Set(x, s, 3);
    }
    for (int i = 0; i < 3; ++i) {
        const int x = 2 + r.Range(12), y = 7 + r.Range(6);
        c.Disc(x, y, 1, 3);
        c.Set(x, y, 2);
    }
    for (int i = 0; i < 5; ++i) c.Set(r.Range(16), 8 + r.Range(8), 1);
}

void PaintDamageBody(Canvas& c, Rng& r) {
    c.Fill(1);
    for (int i = 0; i < 4; ++i) c.Disc(r.Range(16), r.Range(16), 2, 2);
    for (int i = 0; i < 4; ++i) c.Set(r.Range(16), r.Range(16), 3);
}

void PaintPillar(Canvas& c, int part) {  // 0 shaft, 1 top, 2 base
    c.Fill(0);
    c.VLine(4, 0, 15, 1);
    c.VLine(5, 0, 15, 3), c.VLine(6, 0, 15, 3);
    c.Rect(7, 0, 4, 16, 2);
    c.VLine(9, 0, 15, 1);
    c.VLine(11, 0, 15, 1);
    if (part == 1) c.Bevel(2, 0, 12, 3, 3, 2, 1), c.Bevel(3, 3, 10, 2, 3, 2, 1);
    if (part == 2) c.Bevel(3, 11, 10, 2, 3, 2, 1), c.Bevel(2, 13, 12, 3, 3, 2, 1);
}

void PaintForeground(Canvas& c, Rng& r) {
    c.Fill(0);
    for (int x = 0; x < 16; ++x) {
        const int h = 3 + r.Range(9);
        c.VLine(x, 16 - h, 15, (x % 3 == 0) ? 2 : 3);
        if (r.Chance(30)) c.Set(x, 15 - h, 1);
    }
}

void PaintCeiling(Canvas& c, Ground g, Rng& r) {
    PaintFillTexture(c, g, r);
    for (int x = 0; x < 16; ++x) {
        const int s = 9 + (Wave(x * 3) > 0 ? 2 : 0) + r.Range(3);
        for (int y = s + 1; y < 16; ++y) c.Set(x, y, 0);
        c.Set(x, s, 1);
    }
}

void PaintChain(Canvas& c) {
    c.Fill(0);
    for (int y = 0; y < 16; y += 8) {
        c.Outline(6, y, 4, 6, 3);
        c.Set(6, y, 0), c.Set(9, y, 0), c.Set(6, y + 5, 0), c.Set(9, y + 5, 0);
        c.VLine(7, y + 5, y + 8, 2), c.VLine(8, y + 5, y + 8, 1);
    }
}

void PaintGrate(Canvas& c) {
    c.Fill(2);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (x % 4 == 0 || y % 4 == 0) c.Set(x, y, (x % 4 == 0 && y % 4 == 0) ? 3 : 2);
            else c.Set(x, y, (x % 4 == 3 || y % 4 == 3) ? 1 : 0);
        }
}

// Big decorations, 32x32.
void PaintTree(Canvas& c, Rng& r, bool tall) {
    c.Fill(0);
    c.Rect(13, 16, 6, 16, 1);
    c.VLine(14, 16, 31, 2);
    c.Disc(16, tall ? 10 : 12, tall ? 10 : 9, 3);
    c.Disc(9, 15, 6, 3), c.Disc(23, 15, 6, 3);
    c.Edge(0, 3, 1);
    for (int i = 0; i < 10; ++i) {
        const int x = 6 + r.Range(20), y = 4 + r.Range(14);
        if (c.Get(x, y) == 3) c.Set(x, y, 2);
    }
    c.HLine(10, 21, 31, 1);
}

void PaintCrystal(Canvas& c, Rng& r) {
    c.Fill(0);
    const int xs[3] = {8, 16, 24}, hs[3] = {16, 28, 20};
    for (int k = 0; k < 3; ++k) {
        const int cx = xs[k] + r.Range(3) - 1, h = hs[k] - r.Range(3);
        for (int y = 31 - h; y < 32; ++y) {
            const int t = y - (31 - h);
            const int w = std::min(4, 1 + t / 2);
            for (int x = cx - w; x <= cx + w; ++x) c.Set(x, y, x < cx ? 3 : 2);
            c.Set(cx - w - 1, y, 1), c.Set(cx + w + 1, y, 1);
        }
    }
    c.Rect(2, 29, 28, 3, 1);
}

void PaintMachine(Canvas& c, Rng& r) {
    c.Fill(0);
    c.Bevel(2, 6, 28, 26, 3, 2, 1);
    c.Outline(4, 8, 12, 10, 1);
    c.Rect(5, 9, 10, 8, 0);
    for (int x = 6; x < 14; ++x) c.Set(x, 13 + Wave(x * 2), 3);  // a trace on the screen
    c.Disc(23, 13, 4, 1), c.Disc(23, 13, 3, 3), c.VLine(23, 10, 13, 1);
    for (int i = 0; i < 4; ++i) c.Rect(5 + 6 * i, 22, 4, 3, r.Chance(50) ? 3 : 1);
    c.Rect(8, 2, 3, 4, 1), c.Rect(20, 0, 4, 6, 2), c.VLine(20, 0, 5, 3);
    c.HLine(2, 29, 28, 1);
}

void PaintStatue(Canvas& c) {
    c.Fill(0);
    c.Bevel(6, 24, 20, 8, 3, 2, 1);
    c.Bevel(10, 10, 12, 14, 3, 2, 1);
    c.Disc(16, 6, 5, 2);
    c.Disc(15, 5, 2, 3);
    c.Edge(0, 2, 1);
    c.HLine(8, 23, 27, 1);
}

void PaintBoulder(Canvas& c, Rng& r) {
    c.Fill(0);
    c.Disc(15, 20, 11, 2);
    c.Rect(4, 24, 24, 8, 2);
    c.Disc(11, 15, 4, 3);
    c.Edge(0, 2, 1);
    for (int i = 0; i < 8; ++i) {
        const int x = 6 + r.Range(20), y = 14 + r.Range(16);
        if (c.Get(x, y) == 2) c.Set(x, y, 1);
    }
}

void PaintTank(Canvas& c) {
    c.Fill(0);
    c.Rect(6, 4, 20, 28, 2);
    c.Disc(16, 6, 10, 2);
    c.Rect(6, 6, 3, 26, 3);
    c.Rect(23, 6, 3, 26, 1);
    for (int y = 10; y < 30; y += 7) c.HLine(6, 25, y, 1);
    c.Rect(13, 14, 6, 5, 3), c.Outline(13, 14, 6, 5, 1);
}

// Small decorations, 16x16.
void PaintSmall(Canvas& c, int kind, Rng& r) {
    c.Fill(0);
    switch (kind % 8) {
    case 0:  // flower
        c.VLine(7, 8, 15, 1), c.Set(6, 12, 1), c.Set(5, 11, 1);
        c.Disc(7, 6, 3, 3), c.Disc(7, 6, 1, 2);
        break;
    case 1:  // sign post
        c.Bevel(2, 2, 12, 7, 3, 2, 1);
        c.HLine(4, 11, 5, 1);
        c.Rect(7, 9, 2, 7, 1);
        break;
    case 2:  // barrel
        c.Bevel(3, 2, 10, 14, 3, 2, 1);
        c.HLine(3, 12, 5, 1), c.HLine(3, 12, 12, 1);
        break;
    case 3:  // rock
        c.Disc(8, 12, 5, 2), c.Rect(3, 12, 11, 4, 2), c.Disc(6, 10, 1, 3);
        c.Edge(0, 2, 1);
        break;
    case 4:  // mushroom
        c.Disc(8, 8, 6, 3), c.Rect(2, 9, 13, 7, 0), c.HLine(2, 14, 8, 2);
        c.Rect(6, 9, 4, 7, 2), c.Set(5, 5, 2), c.Set(10, 4, 2);
        c.Edge(0, 3, 1);
        break;
    case 5:  // gem
        for (int y = 0; y < 8; ++y) c.HLine(8 - y, 7 + y, 5 + y, y < 3 ? 3 : 2);
        c.HLine(1, 14, 12, 1);
        break;
    case 6:  // vent
        c.Bevel(1, 6, 14, 10, 3, 2, 1);
        for (int y = 8; y < 15; y += 2) c.HLine(3, 12, y, 1);
        break;
    case 7:  // torch
        c.Rect(7, 8, 2, 8, 1);
        c.Disc(8, 5, 3, 2), c.Disc(8, 6, 1, 3), c.Set(8, 1, 2);
        break;
    }
    if (r.Chance(30)) c.Set(r.Range(16), 15, 1);
}

// Draws the 48 stage arts (16..63) of one style into `bank` (common arts 0..15 are left alone).
struct StageStyle {
    Ground ground;
    Bricks bricks;
    Backdrop backdrop;
    Decor decor;
    bool indoor;
};

void PaintStageTerrain(ArtBank& bank, const StageStyle& st, Rng& r) {
    auto one = [&](int art, auto&& paint) {
        Canvas c(16, 16);
        paint(c);
        PutArt(bank, art, c);
    };
    one(kGroundTop, [&](Canvas& c) { PaintGroundTop(c, st.ground, r, 0); });
    one(kGroundFill, [&](Canvas& c) { PaintFillTexture(c, st.ground, r); });
    one(kCornerL, [&](Canvas& c) { PaintCorner(c, st.ground, r, true); });
    one(kCornerR, [&](Canvas& c) { PaintCorner(c, st.ground, r, false); });
    one(kBrick, [&](Canvas& c) { PaintBricks(c, st.bricks, r, false); });
    one(kStone, [&](Canvas& c) { PaintStone(c, st.bricks, r, false); });
    one(kSpecial, [&](Canvas& c) { PaintSpecial(c); });
    one(kPlank, [&](Canvas& c) { PaintPlank(c, 0); });
    one(kWall, [&](Canvas& c) { PaintWall(c, st.backdrop, r, 0); });
    one(kWallVar, [&](Canvas& c) { PaintWall(c, st.backdrop, r, 1); });
    {
        Canvas far(32, 16);
        PaintFarTop(far, st.backdrop, r, 0);
        PutArt(bank, kFarTop, far, 0);
        PutArt(bank, kFarTopVar, far, 16);
    }
    one(kFarFill, [&](Canvas& c) { PaintFarFill(c, st.backdrop, r); });
    one(kDamageTop, [&](Canvas& c) { PaintDamageTop(c, r); });
    one(kPillar, [&](Canvas& c) { PaintPillar(c, 0); });
    one(kForeground, [&](Canvas& c) { PaintForeground(c, r); });
    one(kCeiling, [&](Canvas& c) { PaintCeiling(c, st.ground, r); });
    one(kGroundTopVar, [&](Canvas& c) { PaintGroundTop(c, st.ground, r, 1); });
    one(kFillVar, [&](Canvas& c) { PaintFillTexture(c, st.ground, r); });
    one(kFillEdgeL, [&](Canvas& c) { PaintFillEdge(c, st.ground, r, true); });
    one(kFillEdgeR, [&](Canvas& c) { PaintFillEdge(c, st.ground, r, false); });
    one(kBrickVar, [&](Canvas& c) { PaintBricks(c, st.bricks, r, true); });
    one(kStoneVar, [&](Canvas& c) { PaintStone(c, st.bricks, r, true); });
    one(kWallWindow, [&](Canvas& c) { PaintWallWindow(c, st.backdrop, r); });
    one(kPillarTop, [&](Canvas& c) { PaintPillar(c, 1); });
    one(kPillarBase, [&](Canvas& c) { PaintPillar(c, 2); });
    one(kPlankL, [&](Canvas& c) { PaintPlank(c, 1); });
    one(kPlankR, [&](Canvas& c) { PaintPlank(c, 2); });
    one(kDamageBody, [&](Canvas& c) { PaintDamageBody(c, r); });
    one(kGirder, [&](Canvas& c) { PaintGirder(c); });
    one(kChain, [&](Canvas& c) { PaintChain(c); });
    one(kGrate, [&](Canvas& c) { PaintGrate(c); });
}

void PutBig(ArtBank& bank, int firstArt, const Canvas& c32) {
    PutArt(bank, firstArt, c32, 0, 0);
    PutArt(bank, firstArt + 1, c32, 16, 0);
    PutArt(bank, firstArt + 2, c32, 0, 16);
    PutArt(bank, firstArt + 3, c32, 16, 16);
}

// Decorations: two 32x32 pieces, then eight small ones (four fixed, four on the page scroll loads replace).
void PaintStageDecor(ArtBank& bank, Decor decor, bool indoor, Rng& r, int smallBase) {
    Canvas a(32, 32), b(32, 32);
    switch (decor) {
    case Decor::Tree: PaintTree(a, r, false); break;
    case Decor::Crystal: PaintCrystal(a, r); break;
    case Decor::Machine: PaintMachine(a, r); break;
    case Decor::Statue: PaintStatue(a); break;
    }
    if (decor == Decor::Tree) PaintTree(b, r, true);
    else if (indoor || decor == Decor::Machine) PaintTank(b);
    else PaintBoulder(b, r);
    PutBig(bank, kBigA, a);
    PutBig(bank, kBigB, b);
    for (int i = 0; i < 8; ++i) {
        Canvas c(16, 16);
        PaintSmall(c, smallBase + i, r);
        PutArt(bank, kSmall + i, c);
    }
}

// The common arts 0..15 (all stages).
ArtBank PaintCommonArts() {
    ArtBank bank{};
    Rng r(0xC0FFEEu);
    auto one = [&](int art, auto&& paint) {
        Canvas c(16, 16);
        paint(c);
        PutArt(bank, art, c);
    };
    one(kBlank, [](Canvas& c) { c.Fill(0); });
    Canvas cloud(32, 16);
    PaintCloud(cloud);
    PutArt(bank, kCloudL, cloud, 0);
    PutArt(bank, kCloudR, cloud, 16);
    one(kStars, [&](Canvas& c) { PaintStars(c, r); });
    one(kLadder, [](Canvas& c) { PaintLadder(c, false); });
    one(kLadderTop, [](Canvas& c) { PaintLadder(c, true); });
    one(kSpikes, [](Canvas& c) { PaintSpikes(c); });
    one(kConveyorR, [](Canvas& c) { PaintConveyor(c, true); });
    one(kConveyorL, [](Canvas& c) { PaintConveyor(c, false); });
    one(kWaterTop, [](Canvas& c) { PaintWaterTop(c); });
    one(kWaterBody, [](Canvas& c) { PaintWaterBody(c, 0); });
    one(kWindow, [](Canvas& c) { PaintWindow(c); });
    one(kLamp, [](Canvas& c) { PaintLamp(c); });
    one(kBush, [&](Canvas& c) { PaintBush(c, r); });
    one(kCrate, [](Canvas& c) { PaintCrate(c); });
    one(kFence, [](Canvas& c) { PaintFence(c); });
    return bank;
}

// ---------------------------------------------------------------------------------------------------------------
// 16x16 chips: tiles and attributes.

// Attribute byte: kind << 4 | sub-kind << 2 | palette.
constexpr u8 Attr(int kind, int sub, int palette) { return static_cast<u8>((kind << 4) | (sub << 2) | palette); }

u8 ArtAttribute(int art, Decor decor) {
    switch (art) {
    case kBlank: case kCloudL: case kCloudR: case kStars: return Attr(0, 0, 0);
    case kLadder: return Attr(2, 0, 2);
    case kLadderTop: return Attr(4, 0, 2);
    case kSpikes: return Attr(0xF, 0, 2);
    case kConveyorR: return Attr(5, 0, 3);
    case kConveyorL: return Attr(7, 0, 3);
    case kWaterTop: return Attr(8, 0, 3);
    case kWaterBody: return Attr(8, 1, 3);
    case kWindow: case kLamp: return Attr(0, 0, 3);
    case kBush: return Attr(6, 0, 1);
    case kCrate: return Attr(1, 0, 2);
    case kFence: return Attr(0, 1, 2);
    case kGroundTop: case kGroundFill: case kCornerL: case kCornerR: case kCeiling:
    case kGroundTopVar: case kFillVar: case kFillEdgeL: case kFillEdgeR: return Attr(1, 0, 1);
    case kBrick: case kStone: case kBrickVar: case kStoneVar: return Attr(1, 0, 2);
    case kSpecial: return Attr(3, 0, 2);
    case kPlank: case kPlankL: case kPlankR: case kGirder: return Attr(1, 1, 2);
    case kWall: case kWallVar: case kWallWindow: case kFarTop: case kFarFill: case kFarTopVar: return Attr(0, 0, 0);
    case kDamageTop: return Attr(0xD, 0, 3);
    case kDamageBody: return Attr(0xD, 1, 3);
    case kPillar: case kPillarTop: case kPillarBase: case kChain: return Attr(0, 2, 2);
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
    cSky, cCloud, cCloudLow, cStars, cGroundTop, cGroundFill, cGroundEndL, cGroundEndR, cFillL, cFillR,
    cBrick, cBrickVar, cStone, cSpecial, cPlankL, cPlankM, cPlankR, cLadder, cLadderTop, cLadderWall,
    cLadderGround, cLadderInGround, cSpikesPit, cSpikesOnGround, cWaterTop, cWaterBody, cConveyorR, cConveyorL,
    cWall, cWallVar, cWallWindow, cFarTop, cFarFill, cDamageTop, cDamageBody, cPillarTop, cPillar, cPillarBase,
    cBush, cCrates, cLitWindows, cLamp, cFence, cBigA, cBigB, cSmallA, cSmallB, cSmallC, cSmallD, cForeground,
    cBrickBack, cStoneBack, cFillBack, cGirder, cChain, cGrate, cCeiling, cWaterDeep, cCrumble, cHidden,
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

struct ScreenInfo {
    int groundRow = 6;
    std::array<int, 8> standRow{};  // per column, the row objects stand in (-1 = none)
};

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
        if (!planks) s[row][col] = (col % 2) ? cBrickVar : cBrick;
        else s[row][col] = (c0 == c1) ? cPlankM : (col == c0 ? cPlankL : (col == c1 ? cPlankR : cPlankM));
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
                case Feature::Water: c = row == ground ? cWaterTop : (row == 7 && r.Chance(50) ? cWaterDeep : cWaterBody); break;
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
        if (th.indoor) for (int col = 0; col < 8; ++col) s[0][col] = cCeiling;
        const int lad = r.Between(1, 6);
        const int floor = ground - 3;
        for (int col = 0; col < 8; ++col) s[floor][col] = (col == lad) ? cLadderTop : ((col % 3) ? cBrick : cStone);
        for (int row = floor + 1; row < ground; ++row) s[row][lad] = th.indoor ? cLadderWall : cLadder;
        s[ground][lad] = cLadderGround;
        for (int row = ground + 1; row < 8; ++row) s[row][lad] = cLadderInGround;
        for (int col = 0; col < 8; ++col) info.standRow[col] = col == lad ? -1 : floor - 1;
        if (!th.indoor && floor >= 2) s[floor - 1][lad == 0 ? 7 : 0] = cChain;
        const int extra = lad == 6 ? 2 : 6;
        if (th.feature == Feature::Conveyor) s[ground - 1][extra] = cConveyorR;
        else decorate(extra, cSmallC);
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

// ---------------------------------------------------------------------------------------------------------------
// Palettes and palette animations.

u8 Darker(u8 c) {
    const int hue = c & 0x0F, level = c >> 4;
    if (hue >= 0x0D) return c;
    if (level == 0) return 0x0F;
    return static_cast<u8>(c - 0x10);
}
u8 Lighter(u8 c) {
    const int hue = c & 0x0F, level = c >> 4;
    if (c == 0x0F) return 0x2D;
    if (hue >= 0x0D || level == 3) return c;
    return static_cast<u8>(c + 0x10);
}
u8 HueShift(u8 c, int d) {
    const int hue = c & 0x0F;
    if (hue == 0 || hue >= 0x0D) return c;
    return static_cast<u8>((c & 0xF0) | (((hue - 1 + d + 120) % 12) + 1));
}
u8 Grey(u8 c) {
    const int hue = c & 0x0F, level = c >> 4;
    if (c == 0x0F || hue == 0x0D || hue >= 0x0E) return c;
    static const u8 kGreys[4] = {0x2D, 0x00, 0x10, 0x20};
    return hue == 0 ? c : kGreys[level];
}

using Triple = std::array<u8, 3>;
struct Animation {
    u8 delay = 8;
    std::vector<Triple> steps;
};

Animation FeatureAnimation(const Theme& th) {
    const u8 f1 = th.pal[13], f2 = th.pal[14], f3 = th.pal[15];
    Animation a;
    switch (th.feature) {
    case Feature::Water:  // shimmer: the ripple colours swap
        a.delay = 12;
        a.steps = {{f1, f2, f3}, {f1, f3, f2}};
        break;
    case Feature::Lava:
        a.delay = 6;
        a.steps = {{f1, f2, f3}, {f1, f3, f2}, {f2, f3, f3}};
        break;
    case Feature::Conveyor:  // belt stripes move: the three colours rotate
        a.delay = 4;
        a.steps = {{f1, f2, f3}, {f2, f3, f1}, {f3, f1, f2}};
        break;
    case Feature::Lights:
        if (th.fastLights) {
            a.delay = 1;
            a.steps = {{f1, f2, f3}, {f1, f3, f2}};
        } else {
            a.delay = 16;
            a.steps = {{f1, f2, f3}, {f1, f2, f3}, {f1, f2, f3}, {f1, f1, f2}};
        }
        break;
    }
    return a;
}

struct PaletteSet {
    std::array<u8, 16> colours{};
    std::array<u8, 4> anim{};
};

std::array<PaletteSet, 7> BuildPaletteSets(const Theme& th, int stage) {
    std::array<PaletteSet, 7> sets{};
    const u8 feature = static_cast<u8>(0x80 + stage), twinkle = static_cast<u8>(0x80 + 16 + stage);
    sets[0].colours = th.pal;
    sets[0].anim = {0, 0, 0, feature};
    for (int i = 0; i < 16; ++i) {
        const u8 c = th.pal[i];
        sets[1].colours[i] = i % 4 == 0 ? c : Darker(c);
        sets[2].colours[i] = i % 4 == 0 ? 0x0F : Darker(c);
        sets[3].colours[i] = HueShift(c, 2);
        sets[4].colours[i] = HueShift(c, 9);
        sets[5].colours[i] = Lighter(c);
        sets[6].colours[i] = Grey(c);
    }
    sets[2].colours[3] = 0x30;  // stars
    sets[1].anim = {0, 0, 0, feature};
    sets[2].anim = {twinkle, 0, 0, feature};
    sets[4].anim = {0, 0, 0, feature};
    return sets;
}

Animation TwinkleAnimation(const PaletteSet& night) {
    Animation a;
    a.delay = 24;
    a.steps = {{night.colours[1], night.colours[2], night.colours[3]},
               {night.colours[1], night.colours[2], Darker(night.colours[3])},
               {night.colours[1], night.colours[2], night.colours[3]},
               {night.colours[1], night.colours[2], Lighter(night.colours[2])}};
    return a;
}

// ---------------------------------------------------------------------------------------------------------------
// Graphics load records.

struct LoadEntry {
    int bank, count, srcPage, dstPage;
};

std::vector<u8> Record(const std::vector<LoadEntry>& entries, bool header, int headerSeed) {
    std::vector<u8> out;
    if (header) {
        // 8 bytes the loader skips (the first must not be 0xFF): sprite colours used at this point.
        const u8 h[8] = {static_cast<u8>(headerSeed & 0x3F), 0x0F, 0x30, 0x16, 0x0F, 0x27, 0x17, 0x07};
        out.assign(h, h + 8);
    } else {
        out.push_back(0xFF);
    }
    for (const auto& e : entries) {
        out.push_back(static_cast<u8>(e.bank));
        out.push_back(static_cast<u8>(e.count));
        out.push_back(static_cast<u8>(e.srcPage));
        out.push_back(static_cast<u8>(e.dstPage));
    }
    out.push_back(0xFF);
    return out;
}

// ---------------------------------------------------------------------------------------------------------------
// Objects.

struct Obj {
    int screen, x, y, kind;
};

std::vector<Obj> BuildObjects(int stage, const std::array<int, 48>& map, const std::array<ScreenInfo, 32>& infos) {
    std::vector<Obj> objs;
    Rng r(0x0B1EC700u + static_cast<u32>(stage) * 977u);
    const int enemyBase = (stage * 4) % 0x40;
    for (int screen = 0; screen < 48; ++screen) {
        if (screen % 4 == 3 || screen == 0) continue;
        const ScreenInfo& info = infos[map[screen]];
        const int n = 1 + r.Range(3);
        std::vector<Obj> here;
        std::array<bool, 8> used{};
        for (int k = 0; k < n; ++k) {
            const int col = r.Range(8);
            if (used[col] || info.standRow[col] < 0) continue;
            used[col] = true;
            int kind;
            const int roll = r.Range(10);
            if (roll < 6) kind = (enemyBase + r.Range(6)) % 0x40;  // enemies
            else if (roll < 9) kind = 0x40 + r.Range(0x18);       // items
            else kind = 0x60 + r.Range(0x10);                       // gimmicks
            here.push_back({screen, 32 * col + 16, 32 * info.standRow[col] + 24, kind});
        }
        std::sort(here.begin(), here.end(), [](const Obj& a, const Obj& b) { return a.x < b.x; });
        objs.insert(objs.end(), here.begin(), here.end());
    }
    if (objs.size() > 120) objs.resize(120);
    return objs;
}

// ---------------------------------------------------------------------------------------------------------------

void WriteHeader(ImageBuilder& img) {
    // 32 x 16 KiB PRG, no CHR ROM (tiles are copied to CHR RAM), mapper 4, horizontal arrangement.
    img.Put("iNES header", 0, {0x4E, 0x45, 0x53, 0x1A, 0x20, 0x00, 0x40, 0x00, 0, 0, 0, 0, 0, 0, 0, 0});
    // NMI, reset and IRQ vectors of the fixed last bank.
    img.Put("interrupt vectors", kDemoRomSize - 6, {0x00, 0xE0, 0x40, 0xE0, 0x80, 0xE0});
}

}  // namespace

DemoRomLayout BuildDemoRomLayout() {
    ImageBuilder img;
    WriteHeader(img);

    // --- tiles -------------------------------------------------------------------------------------------------
    const ArtBank common = PaintCommonArts();
    {
        u8* p = img.Claim("tiles common", TileSource(kCommonBank, 0x80), 0x400);
        std::copy(common.begin(), common.begin() + 0x400, p);
    }
    for (int s = 0; s < kStages; ++s) {
        const Theme& th = kThemes[s];
        ArtBank main{}, alt{}, variants{};
        Rng r(0xDE40000u + 7919u * static_cast<u32>(s));
        const StageStyle st{th.ground, th.bricks, th.backdrop, th.decor, th.indoor};
        PaintStageTerrain(main, st, r);
        PaintStageDecor(main, th.decor, th.indoor, r, s);
        // Mid-point 2 changes the terrain's look; mid-point 1 brings other decorations.
        const StageStyle st2{static_cast<Ground>((static_cast<int>(th.ground) + 1) % 5),
                             static_cast<Bricks>((static_cast<int>(th.bricks) + 1) % 4), th.backdrop, th.decor, th.indoor};
        PaintStageTerrain(alt, st2, r);
        PaintStageDecor(alt, th.decor == Decor::Tree ? Decor::Statue : Decor::Tree, th.indoor, r, s + 3);
        // Three versions of BG page 15 for the scroll loads.
        for (int v = 0; v < 3; ++v) {
            for (int i = 0; i < 4; ++i) {
                Canvas c(16, 16);
                PaintSmall(c, s + 5 + 4 * v + i, r);
                PutArt(variants, kVariable + i, c);
            }
            u8* p = img.Claim(Name("tiles stage %02d scroll variant", s) + static_cast<char>('A' + v), TileSource(s, 0x98 + v), 0x100);
            std::copy(variants.begin() + 0xF00, variants.begin() + 0x1000, p);
        }
        u8* p = img.Claim(Name("tiles stage %02d", s), TileSource(s, 0x84), 0xC00);
        std::copy(main.begin() + 0x400, main.end(), p);
        p = img.Claim(Name("tiles stage %02d other decorations", s), TileSource(s, 0x90), 0x400);
        std::copy(alt.begin() + 0xC00, alt.end(), p);
        p = img.Claim(Name("tiles stage %02d other terrain", s), TileSource(s, 0x94), 0x400);
        std::copy(alt.begin() + 0x400, alt.begin() + 0x800, p);
    }

    // --- graphics load records and pointers ---------------------------------------------------------------------
    Arena initArena(kInitRecordsBegin, kInitRecordsEnd), scrollArena(kScrollRecordsBegin, kScrollRecordsEnd);
    std::array<u32, kInitSetCount> initRecord{};
    std::array<u32, kScrollSetCount> scrollRecord{};
    const std::vector<u8> empty = {0xFF, 0xFF};
    const u32 initEmpty = initArena.Alloc(2);
    img.Put("initial record empty", initEmpty, empty);
    initRecord.fill(initEmpty);
    for (int s = 0; s < kStages; ++s) {
        const auto rec = Record({{kCommonBank, 4, 0x80, 0x00}, {s, 8, 0x84, 0x04}, {s, 4, 0x8C, 0x0C}}, s % 2 == 1, s);
        initRecord[s] = initArena.Alloc(static_cast<u32>(rec.size()));
        img.Put(Name("initial record %02X", s), initRecord[s], rec);
        const int mid1 = 0x10 + 2 * s, mid2 = 0x11 + 2 * s;
        const auto r1 = Record({{s, 4, 0x90, 0x0C}}, s % 3 == 0, mid1);
        initRecord[mid1] = initArena.Alloc(static_cast<u32>(r1.size()));
        img.Put(Name("initial record %02X", mid1), initRecord[mid1], r1);
        const auto r2 = Record({{s, 4, 0x94, 0x04}, {s, 4, 0x90, 0x0C}}, s % 3 == 1, mid2);
        initRecord[mid2] = initArena.Alloc(static_cast<u32>(r2.size()));
        img.Put(Name("initial record %02X", mid2), initRecord[mid2], r2);
    }
    const u32 scrollEmpty = scrollArena.Alloc(2);
    img.Put("scroll record empty", scrollEmpty, empty);
    scrollRecord.fill(scrollEmpty);
    for (int s = 0; s < kStages; ++s)
        for (int v = 0; v < 3; ++v) {
            const int n = 1 + 3 * s + v;
            const auto rec = Record({{s, v == 2 ? 8 : 16, 0x98 + v, 0x0F}}, (n % 2) == 0, n);
            scrollRecord[n] = scrollArena.Alloc(static_cast<u32>(rec.size()));
            img.Put(Name("scroll record %02X", n), scrollRecord[n], rec);
        }
    {
        u8* lo = img.Claim("initial graphics pointers low", kInitPointerLow, kInitSetCount);
        u8* hi = img.Claim("initial graphics pointers high", kInitPointerHigh, kInitSetCount);
        for (int n = 0; n < kInitSetCount; ++n) {
            const u32 ptr = initRecord[n] - kInitRecordBase;
            if (ptr > 0xFFFF) throw std::logic_error("demo image: initial record out of pointer reach");
            lo[n] = static_cast<u8>(ptr & 0xFF);
            hi[n] = static_cast<u8>(ptr >> 8);
        }
        lo = img.Claim("scroll graphics pointers low", kScrollPointerLow, kScrollSetCount);
        hi = img.Claim("scroll graphics pointers high", kScrollPointerHigh, kScrollSetCount);
        for (int n = 0; n < kScrollSetCount; ++n) {
            const u32 ptr = scrollRecord[n] - kScrollRecordBase;
            if (ptr > 0xFFFF) throw std::logic_error("demo image: scroll record out of pointer reach");
            lo[n] = static_cast<u8>(ptr & 0xFF);
            hi[n] = static_cast<u8>(ptr >> 8);
        }
    }

    // --- mid-points -------------------------------------------------------------------------------------------
    {
        u8* mp = img.Claim("mid-point table", kMidPointAddr, 8 * kStages);
        for (int s = 0; s < kStages; ++s) {
            u8* e = mp + 8 * s;
            e[0] = 0x10;                                                  // screen of mid-point 1
            e[1] = 0x40;                                                  // its X position
            e[2] = static_cast<u8>(s % 4 == 3 ? 0 : 0x10 + 2 * s);        // graphics set loaded there
            e[3] = static_cast<u8>(s % 7);                                // palette set there
            e[4] = 0x20;                                                  // screen of mid-point 2
            e[5] = 0x30;
            e[6] = static_cast<u8>(0x11 + 2 * s);
            e[7] = static_cast<u8>((s + 1) % 7);
        }
    }

    // --- palettes and animations --------------------------------------------------------------------------------
    std::vector<Animation> animations;
    std::array<std::array<PaletteSet, 7>, kStages> palettes{};
    for (int s = 0; s < kStages; ++s) {
        palettes[s] = BuildPaletteSets(kThemes[s], s);
        animations.push_back(FeatureAnimation(kThemes[s]));
    }
    for (int s = 0; s < kStages; ++s) animations.push_back(TwinkleAnimation(palettes[s][2]));
    {
        std::vector<Triple> triples;
        std::vector<u8> records;
        std::vector<u32> recordAt;
        for (const auto& a : animations) {
            recordAt.push_back(kAnimData + static_cast<u32>(records.size()));
            records.push_back(static_cast<u8>(a.steps.size() - 1));  // last step index
            records.push_back(a.delay);
            for (const auto& t : a.steps) {
                auto it = std::find(triples.begin(), triples.end(), t);
                if (it == triples.end()) it = triples.insert(triples.end(), t);
                records.push_back(static_cast<u8>(it - triples.begin()));
            }
        }
        std::vector<u8> tripleBytes;
        for (const auto& t : triples) tripleBytes.insert(tripleBytes.end(), t.begin(), t.end());
        img.Put("palette animation triples", kAnimPalette, tripleBytes);
        img.Put("palette animation records", kAnimData, records);
        u8* lo = img.Claim("palette animation pointers low", kAnimPointerLow, kAnimPointerCount);
        u8* hi = img.Claim("palette animation pointers high", kAnimPointerHigh, kAnimPointerCount);
        for (int k = 0; k < kAnimPointerCount; ++k) {
            const u32 at = recordAt[static_cast<std::size_t>(k) < recordAt.size() ? k : 0];
            const u32 ptr = at - kAnimData + kAnimDataPointer;
            lo[k] = static_cast<u8>(ptr & 0xFF);
            hi[k] = static_cast<u8>(ptr >> 8);
        }
    }

    // --- per-stage tables ------------------------------------------------------------------------------------------
    for (int s = 0; s < kStages; ++s) {
        const Theme& th = kThemes[s];
        const u32 base = kStageStride * static_cast<u32>(s);
        const ChipTables chips = BuildChipTables(th.decor, th.indoor, s);
        img.Put(StageName(s, "chip16x16"), kChip16Addr + base, {chips.chip16.begin(), chips.chip16.end()});
        img.Put(StageName(s, "chip attributes"), kChipPropAddr + base, {chips.attributes.begin(), chips.attributes.end()});
        img.Put(StageName(s, "chip32x32"), kChip32Addr + base, {chips.chip32.begin(), chips.chip32.end()});

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

        const std::vector<Obj> objs = BuildObjects(s, map, infos);
        std::vector<u8> scr(128, 0xFF), ox(128, 0), oy(128, 0), okind(128, 0), offsets(48, 0);
        for (std::size_t i = 0; i < objs.size(); ++i) {
            scr[i] = static_cast<u8>(objs[i].screen);
            ox[i] = static_cast<u8>(objs[i].x);
            oy[i] = static_cast<u8>(objs[i].y);
            okind[i] = static_cast<u8>(objs[i].kind);
        }
        for (int j = 0; j < 48; ++j)
            offsets[j] = static_cast<u8>(std::count_if(objs.begin(), objs.end(), [j](const Obj& o) { return o.screen < j; }));
        img.Put(StageName(s, "object screens"), kObjScreenAddr + base, scr);
        img.Put(StageName(s, "object x"), kObjXAddr + base, ox);
        img.Put(StageName(s, "object y"), kObjYAddr + base, oy);
        img.Put(StageName(s, "object kinds"), kObjKindAddr + base, okind);
        img.Put(StageName(s, "object offsets"), kObjOffsetAddr + base, offsets);

        // Scroll data: per screen, the direction the camera may move on (not read by the editor).
        std::vector<u8> scrollData(48);
        for (int i = 0; i < 48; ++i) scrollData[i] = static_cast<u8>(i % 8 == 7 ? 0x02 : 0x01);
        img.Put(StageName(s, "scroll data"), kScrollDataAddr + base, scrollData);
        const int a = 1 + 3 * s, b = a + 1, c = a + 2;
        const std::vector<u8> scrollLoad = {static_cast<u8>(s % 2 ? a : 0), static_cast<u8>(a), static_cast<u8>(b), static_cast<u8>(c),
                                            0, static_cast<u8>(b), 0, static_cast<u8>(a), 0, 0, 0, 0, 0, 0, 0, 0};
        img.Put(StageName(s, "scroll graphics load"), kScrollLoadAddr + base, scrollLoad);

        std::vector<u8> pal;
        for (const auto& set : palettes[s]) {
            pal.insert(pal.end(), set.colours.begin(), set.colours.end());
            pal.insert(pal.end(), set.anim.begin(), set.anim.end());
        }
        img.Put(StageName(s, "palette sets"), kPaletteAddr + base, pal);
    }
    return img.Take();
}

std::vector<std::uint8_t> BuildDemoRom() { return BuildDemoRomLayout().image; }
