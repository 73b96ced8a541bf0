// The tiles of the demo image: procedurally painted 2-bit pixel art (ground, bricks, ladders, spikes, water,
// backdrops, decorations) cut into 16x16 arts of four 8x8 tiles, written as the common tile pages and every
// stage's own pages.

#include <algorithm>
#include <array>
#include <vector>

#include "demorom_parts.h"

namespace demo {
namespace {

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
                const bool touch =
                    (x > 0 && copy.Get(x - 1, y) == inside) || (x + 1 < w_ && copy.Get(x + 1, y) == inside) ||
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
int Wave(int x) {
    return kWave[((x % 16) + 16) % 16];
}

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
void PutArt(ArtBank& bank, int art, const Canvas& c, int ox = 0, int oy = 0) {
    EncodeArt(c, ox, oy, bank.data() + 64 * art);
}

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
                if (y % 4 == 3 || (x + off) % 8 == 7)
                    c.Set(x, y, 1);
                else if (y % 4 == 0 && (x + off) % 8 < 3)
                    c.Set(x, y, 3);
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
                if (y % 8 == 7 || (x + off) % 16 == 15)
                    c.Set(x, y, 1);
                else if (y % 8 == 0 && (x + off) % 16 < 5)
                    c.Set(x, y, 2);
            }
        if (variant) c.Rect(6, 2, 4, 9, 1), c.Disc(7, 3, 1, 2);
        break;
    case Backdrop::Sewer:
    default:
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int off = ((y / 4) % 2) * 4;
                if (y % 4 == 3 || (x + off) % 8 == 7)
                    c.Set(x, y, 1);
                else if (y % 4 == 0 && (x + off) % 8 == 0)
                    c.Set(x, y, 2);
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
    case Backdrop::Sewer: PaintWall(c, bd, r, variant); break;
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
            if (x % 4 == 0 || y % 4 == 0)
                c.Set(x, y, (x % 4 == 0 && y % 4 == 0) ? 3 : 2);
            else
                c.Set(x, y, (x % 4 == 3 || y % 4 == 3) ? 1 : 0);
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
    if (decor == Decor::Tree)
        PaintTree(b, r, true);
    else if (indoor || decor == Decor::Machine)
        PaintTank(b);
    else
        PaintBoulder(b, r);
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

}  // namespace

void WriteTiles(ImageBuilder& img) {
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
                             static_cast<Bricks>((static_cast<int>(th.bricks) + 1) % 4), th.backdrop, th.decor,
                             th.indoor};
        PaintStageTerrain(alt, st2, r);
        PaintStageDecor(alt, th.decor == Decor::Tree ? Decor::Statue : Decor::Tree, th.indoor, r, s + 3);
        // Three versions of BG page 15 for the scroll loads.
        for (int v = 0; v < 3; ++v) {
            for (int i = 0; i < 4; ++i) {
                Canvas c(16, 16);
                PaintSmall(c, s + 5 + 4 * v + i, r);
                PutArt(variants, kVariable + i, c);
            }
            u8* p = img.Claim(Name("tiles stage %02d scroll variant", s) + static_cast<char>('A' + v),
                              TileSource(s, 0x98 + v), 0x100);
            std::copy(variants.begin() + 0xF00, variants.begin() + 0x1000, p);
        }
        u8* p = img.Claim(Name("tiles stage %02d", s), TileSource(s, 0x84), 0xC00);
        std::copy(main.begin() + 0x400, main.end(), p);
        p = img.Claim(Name("tiles stage %02d other decorations", s), TileSource(s, 0x90), 0x400);
        std::copy(alt.begin() + 0xC00, alt.end(), p);
        p = img.Claim(Name("tiles stage %02d other terrain", s), TileSource(s, 0x94), 0x400);
        std::copy(alt.begin() + 0x400, alt.begin() + 0x800, p);
    }
}

}  // namespace demo
