// EditorGraphics: palettes, surfaces, tile and chip drawing, copies into views and overlays.

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUORVEN_SHUFFLE_RECOLOUR 1
#endif

#include "document/fileio.h"
#include "graphics/graphics.h"

namespace {

// spread[a] holds, in memory order, the eight pixels of one plane byte: byte k of the 8-byte group is
// bit (7 - k) of a, so the leftmost pixel comes first. A tile row is then spread[a] + 2 x spread[b] plus
// the palette offset in every byte (no byte carries into the next), written with one 8-byte store.
struct SpreadTable {
    std::array<std::uint64_t, 256> v{};
    constexpr SpreadTable() {
        for (int a = 0; a < 256; ++a) {
            std::array<std::uint8_t, 8> bytes{};
            for (int k = 0; k < 8; ++k) bytes[std::size_t(k)] = std::uint8_t((a >> (7 - k)) & 1);
            v[std::size_t(a)] = std::bit_cast<std::uint64_t>(bytes);
        }
    }
};
constexpr SpreadTable kSpread;
constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;

// The RGB32 colours of every pixel value of an indexed picture (opaque; entries the picture lacks are black),
// and of every pair of stage pixels (values 0 to 15, the first in the low half): two pixels take one
// look-up and one 8-byte store.
struct Lut {
    std::array<QRgb, 256> one;
    std::array<std::uint64_t, 256> pair;
    // Byte k of the colours of pixel values 0 to 15 at [16 k + value], for the 16-pixel shuffle path.
    alignas(16) std::array<std::uint8_t, 64> planes;
    const QRgb* data() const { return one.data(); }
};

Lut BuildLut(const QImage& indexed) {
    Lut lut;
    lut.one.fill(0xFF000000u);
    const QList<QRgb> table = indexed.colorTable();
    const qsizetype n = std::min<qsizetype>(table.size(), 256);
    for (qsizetype i = 0; i < n; ++i) lut.one[std::size_t(i)] = 0xFF000000u | table[i];
    for (std::size_t i = 0; i < 256; ++i)
        lut.pair[i] = std::uint64_t(lut.one[i & 15]) | (std::uint64_t(lut.one[i >> 4]) << 32);
    for (std::size_t k = 0; k < 4; ++k)
        for (std::size_t v = 0; v < 16; ++v) lut.planes[16 * k + v] = std::uint8_t(lut.one[v] >> (8 * k));
    return lut;
}

// Views are true-colour pictures; anything else handed in is converted once.
bool PrepareView(QImage& view) {
    if (view.isNull()) return false;
    if (view.format() != QImage::Format_RGB32 && view.format() != QImage::Format_ARGB32)
        view = view.convertToFormat(QImage::Format_RGB32);
    return !view.isNull();
}

#ifdef QUORVEN_SHUFFLE_RECOLOUR
// Sixteen stage pixels (values below 16) at a time: each byte of the sixteen colours is one byte shuffle of
// the colour table's byte plane, and the four planes interleave into the pixels. False, and nothing
// written, when a pixel has another value.
__attribute__((target("ssse3"))) inline bool ShuffleGroup(QRgb* d, __m128i idx, const Lut& lut) {
    const __m128i high = _mm_set1_epi8(char(0xF0));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(idx, high), _mm_setzero_si128())) != 0xFFFF) return false;
    const auto* planes = reinterpret_cast<const __m128i*>(lut.planes.data());
    const __m128i b = _mm_shuffle_epi8(_mm_load_si128(planes), idx);
    const __m128i g = _mm_shuffle_epi8(_mm_load_si128(planes + 1), idx);
    const __m128i r = _mm_shuffle_epi8(_mm_load_si128(planes + 2), idx);
    const __m128i a = _mm_shuffle_epi8(_mm_load_si128(planes + 3), idx);
    const __m128i bgLo = _mm_unpacklo_epi8(b, g), bgHi = _mm_unpackhi_epi8(b, g);
    const __m128i raLo = _mm_unpacklo_epi8(r, a), raHi = _mm_unpackhi_epi8(r, a);
    auto* out = reinterpret_cast<__m128i*>(d);
    _mm_storeu_si128(out, _mm_unpacklo_epi16(bgLo, raLo));
    _mm_storeu_si128(out + 1, _mm_unpackhi_epi16(bgLo, raLo));
    _mm_storeu_si128(out + 2, _mm_unpacklo_epi16(bgHi, raHi));
    _mm_storeu_si128(out + 3, _mm_unpackhi_epi16(bgHi, raHi));
    return true;
}

// Thirty-two stage pixels at a time, the same way with 32-byte registers (each half shuffles and
// interleaves on its own: the halves hold pixels 0-15 and 16-31).
__attribute__((target("avx2"))) inline bool ShuffleGroup32(QRgb* d, __m256i idx, const Lut& lut) {
    const __m256i high = _mm256_set1_epi8(char(0xF0));
    if (unsigned(_mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_and_si256(idx, high), _mm256_setzero_si256()))) !=
        0xFFFFFFFFu)
        return false;
    const auto* planes = reinterpret_cast<const __m128i*>(lut.planes.data());
    const __m256i b = _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(_mm_load_si128(planes)), idx);
    const __m256i g = _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(_mm_load_si128(planes + 1)), idx);
    const __m256i r = _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(_mm_load_si128(planes + 2)), idx);
    const __m256i a = _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(_mm_load_si128(planes + 3)), idx);
    const __m256i bgLo = _mm256_unpacklo_epi8(b, g), bgHi = _mm256_unpackhi_epi8(b, g);
    const __m256i raLo = _mm256_unpacklo_epi8(r, a), raHi = _mm256_unpackhi_epi8(r, a);
    const __m256i p0 = _mm256_unpacklo_epi16(bgLo, raLo);  // pixels 0-3 | 16-19
    const __m256i p1 = _mm256_unpackhi_epi16(bgLo, raLo);  // 4-7 | 20-23
    const __m256i p2 = _mm256_unpacklo_epi16(bgHi, raHi);  // 8-11 | 24-27
    const __m256i p3 = _mm256_unpackhi_epi16(bgHi, raHi);  // 12-15 | 28-31
    auto* out = reinterpret_cast<__m256i*>(d);
    _mm256_storeu_si256(out, _mm256_permute2x128_si256(p0, p1, 0x20));
    _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(p2, p3, 0x20));
    _mm256_storeu_si256(out + 2, _mm256_permute2x128_si256(p0, p1, 0x31));
    _mm256_storeu_si256(out + 3, _mm256_permute2x128_si256(p2, p3, 0x31));
    return true;
}

__attribute__((target("avx2"))) int ShuffleRow32(QRgb* d, const uchar* s, int n, const Lut& lut, bool everySecond) {
    int i = 0;
    const __m256i even = _mm256_set1_epi16(0x00FF);
    for (; i + 32 <= n; i += 32) {
        __m256i idx;
        if (everySecond) {
            // packus works per half: the 64-bit quarters come out as 0-7, 16-23, 8-15, 24-31.
            const __m256i lo = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 2 * i)), even);
            const __m256i hi =
                _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 2 * i + 32)), even);
            idx = _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8);
        } else {
            idx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        }
        if (!ShuffleGroup32(d + i, idx, lut))
            for (int k = i; k < i + 32; ++k) d[k] = lut.one[s[everySecond ? 2 * k : k]];
    }
    return i;
}

// The whole groups of sixteen pixels of a row from pixel i on (1:1, or every second source pixel), a group
// with other values than stage pixels through the table one by one; the rest is left to the caller, which
// goes on from the returned count.
__attribute__((target("ssse3"))) int ShuffleRow(QRgb* d, const uchar* s, int n, const Lut& lut, bool everySecond,
                                                int i) {
    const __m128i even = _mm_set1_epi16(0x00FF);
    for (; i + 16 <= n; i += 16) {
        __m128i idx;
        if (everySecond)
            idx = _mm_packus_epi16(
                _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * i)), even),
                _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * i + 16)), even));
        else
            idx = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        if (!ShuffleGroup(d + i, idx, lut))
            for (int k = i; k < i + 16; ++k) d[k] = lut.one[s[everySecond ? 2 * k : k]];
    }
    return i;
}

bool HasShuffle() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
bool HasWideShuffle() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// The groups of 32 and then of 16 pixels the processor can shuffle; returns where the caller goes on.
int ShuffleRows(QRgb* d, const uchar* s, int n, const Lut& lut, bool everySecond) {
    if (!HasShuffle()) return 0;
    const int i = HasWideShuffle() ? ShuffleRow32(d, s, n, lut, everySecond) : 0;
    return ShuffleRow(d, s, n, lut, everySecond, i);
}
#endif

// One row of pixel values through the colour table. Eight source pixels are fetched with one load; when
// all eight are stage pixels (below 16), neighbours go through the pair table, two pixels a store.
inline void RecolourRow(QRgb* d, const uchar* s, int n, const Lut& lut) {
    int i = 0;
#ifdef QUORVEN_SHUFFLE_RECOLOUR
    i = ShuffleRows(d, s, n, lut, false);
#endif
    const QRgb* one = lut.one.data();
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t* pair = lut.pair.data();
        for (; i + 8 <= n; i += 8) {
            std::uint64_t v;
            std::memcpy(&v, s + i, 8);
            if ((v & 0xF0F0F0F0F0F0F0F0ull) == 0) {
                // Byte 2k of w holds pixel 2k in its low and pixel 2k + 1 in its high four bits.
                const std::uint64_t w = v | (v >> 4);
                const std::uint64_t p[4] = {pair[w & 0xFF], pair[(w >> 16) & 0xFF], pair[(w >> 32) & 0xFF],
                                            pair[(w >> 48) & 0xFF]};
                std::memcpy(d + i, p, sizeof p);
                continue;
            }
            d[i] = one[v & 0xFF];
            d[i + 1] = one[(v >> 8) & 0xFF];
            d[i + 2] = one[(v >> 16) & 0xFF];
            d[i + 3] = one[(v >> 24) & 0xFF];
            d[i + 4] = one[(v >> 32) & 0xFF];
            d[i + 5] = one[(v >> 40) & 0xFF];
            d[i + 6] = one[(v >> 48) & 0xFF];
            d[i + 7] = one[v >> 56];
        }
    }
    for (; i < n; ++i) d[i] = one[s[i]];
}

// The same for a picture shown at half size: every second source pixel of the row.
inline void RecolourEverySecond(QRgb* d, const uchar* s, int n, const Lut& lut) {
    int i = 0;
#ifdef QUORVEN_SHUFFLE_RECOLOUR
    i = ShuffleRows(d, s, n, lut, true);
#endif
    const QRgb* one = lut.one.data();
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t* pair = lut.pair.data();
        // The 8-byte load reaches one pixel past the last one used; stop one group early so it never
        // leaves the row.
        for (; i + 5 <= n; i += 4) {
            std::uint64_t v;
            std::memcpy(&v, s + 2 * i, 8);
            if ((v & 0x00F000F000F000F0ull) == 0) {
                const std::uint64_t w = (v & 0x00FF00FF00FF00FFull) | ((v & 0x00FF00FF00FF00FFull) >> 12);
                const std::uint64_t p[2] = {pair[w & 0xFF], pair[(w >> 32) & 0xFF]};
                std::memcpy(d + i, p, sizeof p);
                continue;
            }
            d[i] = one[v & 0xFF];
            d[i + 1] = one[(v >> 16) & 0xFF];
            d[i + 2] = one[(v >> 32) & 0xFF];
            d[i + 3] = one[(v >> 48) & 0xFF];
        }
    }
    for (; i < n; ++i) d[i] = one[s[2 * i]];
}

// Nearest-pixel scaled copy of (sx, sy, sw, sh) of src into (dx, dy, dw, dh) of the RGB32 view through
// lut. Destination pixels outside the view and those whose source pixel lies outside src are left alone.
void CopyIndexedToView(QImage& view, int dx, int dy, int dw, int dh, const QImage& src, int sx, int sy, int sw, int sh,
                       const Lut& lut) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || src.isNull()) return;
    const std::int64_t srcW = src.width(), srcH = src.height();
    auto srcX = [&](std::int64_t x) { return std::int64_t(sx) + (x - dx) * sw / dw; };
    auto srcY = [&](std::int64_t y) { return std::int64_t(sy) + (y - dy) * sh / dh; };

    // Destination columns: inside the view and mapping into the source (the mapping only grows, so the
    // usable columns form one run).
    std::int64_t x0 = std::max<std::int64_t>(dx, 0);
    std::int64_t x1 = std::min<std::int64_t>(std::int64_t(dx) + dw, view.width());
    while (x0 < x1 && srcX(x0) < 0) ++x0;
    while (x1 > x0 && srcX(x1 - 1) >= srcW) --x1;
    if (x0 >= x1) return;
    std::int64_t y0 = std::max<std::int64_t>(dy, 0);
    std::int64_t y1 = std::min<std::int64_t>(std::int64_t(dy) + dh, view.height());
    if (y0 >= y1) return;

    uchar* vbits = view.bits();
    const qsizetype vbpl = view.bytesPerLine();
    const int n = int(x1 - x0);
    const bool oneToOne = (sw == dw);
    const bool halfSize = (sw == 2 * dw);
    std::vector<int> xs;
    if (!oneToOne && !halfSize) {
        xs.resize(std::size_t(n));
        for (int i = 0; i < n; ++i) xs[std::size_t(i)] = int(srcX(x0 + i));
    }
    const QRgb* lp = lut.data();
    const bool rowsOneToOne = (sh == dh), rowsHalf = (sh == 2 * dh);
    for (std::int64_t y = y0; y < y1; ++y) {
        const std::int64_t syp = rowsOneToOne ? sy + (y - dy) : rowsHalf ? sy + 2 * (y - dy) : srcY(y);
        if (syp < 0 || syp >= srcH) continue;
        const uchar* srow = src.constScanLine(int(syp));
        QRgb* drow = reinterpret_cast<QRgb*>(vbits + y * vbpl) + x0;
        if (oneToOne) {
            RecolourRow(drow, srow + srcX(x0), n, lut);
        } else if (halfSize) {
            RecolourEverySecond(drow, srow + srcX(x0), n, lut);
        } else {
            const int* xp = xs.data();
            for (int i = 0; i < n; ++i) drow[i] = lp[srow[xp[i]]];
        }
    }
}

// Copies a w x h block of pixel values between indexed pictures, clipped to both.
void BlitIndexed(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h) {
    if (dst.isNull() || src.isNull()) return;
    // Clip against the source, then the destination, moving both corners together.
    auto clip = [&](int& a, int& b, int& len, int limitA, int limitB) {
        if (a < 0) {
            b -= a;
            len += a;
            a = 0;
        }
        if (b < 0) {
            a -= b;
            len += b;
            b = 0;
        }
        len = std::min({len, limitA - a, limitB - b});
    };
    clip(sx, dx, w, src.width(), dst.width());
    clip(sy, dy, h, src.height(), dst.height());
    if (w <= 0 || h <= 0) return;
    uchar* dbits = dst.bits();
    const qsizetype dbpl = dst.bytesPerLine();
    for (int r = 0; r < h; ++r)
        std::memmove(dbits + qsizetype(dy + r) * dbpl + dx, src.constScanLine(sy + r) + sx, std::size_t(w));
}

// Exact one-pixel lines on an RGB32 view, end pixels included, clipped to the view.
void HLine(QImage& view, int x0, int x1, int y, QRgb c) {
    if (y < 0 || y >= view.height()) return;
    if (x0 > x1) std::swap(x0, x1);
    x0 = std::max(x0, 0);
    x1 = std::min(x1, view.width() - 1);
    if (x0 > x1) return;
    QRgb* row = reinterpret_cast<QRgb*>(view.scanLine(y));
    std::fill(row + x0, row + x1 + 1, c);
}

void VLine(QImage& view, int x, int y0, int y1, QRgb c) {
    if (x < 0 || x >= view.width()) return;
    if (y0 > y1) std::swap(y0, y1);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, view.height() - 1);
    if (y0 > y1) return;
    uchar* bits = view.bits();
    const qsizetype bpl = view.bytesPerLine();
    for (int y = y0; y <= y1; ++y) reinterpret_cast<QRgb*>(bits + qsizetype(y) * bpl)[x] = c;
}

// A closed outline through the four corners (x0, y0) and (x1, y1), both included.
void Outline(QImage& view, int x0, int y0, int x1, int y1, QRgb c) {
    if (!PrepareView(view)) return;
    HLine(view, x0, x1, y0, c);
    HLine(view, x0, x1, y1, c);
    VLine(view, x0, y0, y1, c);
    VLine(view, x1, y0, y1, c);
}

}  // namespace

EditorGraphics::EditorGraphics(const FcPaletteData& palette, const RomImageData& rom)
    : palette_(palette), rom_(rom), masterHolder_(1, 1), stageHolder_(1, 1) {
    for (int n = 0; n < 64; ++n) masterHolder_.SetPaletteEntry(n, PackedToQRgb(palette_.GetColor(n)));
    masterHolder_.SetPaletteEntry(kMagenta, qRgb(255, 0, 255));
    masterHolder_.SetPaletteEntry(kWhite, qRgb(255, 255, 255));
    stageHolder_.SetPaletteEntry(kMagenta, qRgb(255, 0, 255));
    stageHolder_.SetPaletteEntry(kWhite, qRgb(255, 255, 255));
    sheet16_ = CreateStageBitmap(256, 256);
    sheet32_ = CreateStageBitmap(512, 512);
}

// ---------------------------------------------------------------------------------------------- palettes

void EditorGraphics::LoadStagePalette(const Byte* numbers16) {
    if (!numbers16) return;
    for (int i = 0; i < 16; ++i) SetStagePaletteEntry(i, numbers16[i]);
}

void EditorGraphics::SetStagePaletteEntry(int entry, int colourNumber) {
    if (entry < 0 || entry > 15) return;
    stageHolder_.SetPaletteEntry(entry, PackedToQRgb(palette_.GetColor(colourNumber)));
}

QRgb EditorGraphics::GetStagePaletteColor(int entry) const {
    return stageHolder_.PaletteEntry(entry);
}

void EditorGraphics::ApplyStagePalette(IndexedBitmap& bitmap) const {
    bitmap.CopyPaletteFrom(stageHolder_);
}

void EditorGraphics::RefreshChip32SheetPalette() {
    ApplyStagePalette(sheet32_);
}

QRgb EditorGraphics::MasterColor(int index) const {
    return masterHolder_.PaletteEntry(index);
}

// ---------------------------------------------------------------------------------------------- surfaces

QImage EditorGraphics::CreateViewBitmap(int width, int height) const {
    if (width <= 0 || height <= 0) return QImage();
    QImage view(width, height, QImage::Format_RGB32);
    if (!view.isNull()) view.fill(MasterColor(0x0F));
    return view;
}

IndexedBitmap EditorGraphics::CreateStageBitmap(int width, int height) const {
    IndexedBitmap bmp(width, height);
    ApplyStagePalette(bmp);
    return bmp;
}

// ---------------------------------------------------------------------------------------------- drawing

void EditorGraphics::FillBlock(QImage& view, int x, int y, int w, int h, int pixelValue) const {
    if (!PrepareView(view)) return;
    const QRgb c = 0xFF000000u | MasterColor(pixelValue & 0xFF);
    const int x0 = std::max(x, 0), x1 = int(std::min<std::int64_t>(std::int64_t(x) + w, view.width()));
    const int y0 = std::max(y, 0), y1 = int(std::min<std::int64_t>(std::int64_t(y) + h, view.height()));
    if (x0 >= x1 || y0 >= y1) return;
    uchar* bits = view.bits();
    const qsizetype bpl = view.bytesPerLine();
    for (int yy = y0; yy < y1; ++yy) {
        QRgb* row = reinterpret_cast<QRgb*>(bits + qsizetype(yy) * bpl);
        std::fill(row + x0, row + x1, c);
    }
}

void EditorGraphics::FillBlock(IndexedBitmap& bmp, int x, int y, int w, int h, int pixelValue) const {
    QImage& img = bmp.Image();
    if (img.isNull()) return;
    const int x0 = std::max(x, 0), x1 = int(std::min<std::int64_t>(std::int64_t(x) + w, img.width()));
    const int y0 = std::max(y, 0), y1 = int(std::min<std::int64_t>(std::int64_t(y) + h, img.height()));
    if (x0 >= x1 || y0 >= y1) return;
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    for (int yy = y0; yy < y1; ++yy)
        std::memset(bits + qsizetype(yy) * bpl + x0, pixelValue & 0xFF, std::size_t(x1 - x0));
}

void EditorGraphics::DrawTile(IndexedBitmap& bmp, const Byte* bank, int tile, int palette, int x, int y) const {
    QImage& img = bmp.Image();
    if (!bank || img.isNull()) return;
    ++tileDecodes_;
    const Byte* t = bank + 16 * (tile & 0xFF);
    // 4p + colour stays inside one byte: the offset is a multiple of 4 no larger than 252.
    const std::uint64_t base = std::uint64_t((4 * palette) & 0xFC) * kEveryByte;
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    if (x >= 0 && y >= 0 && x <= img.width() - 8 && y <= img.height() - 8) {
        uchar* p = bits + qsizetype(y) * bpl + x;
        for (int r = 0; r < 8; ++r, p += bpl) {
            const std::uint64_t row = base + kSpread.v[t[r]] + 2 * kSpread.v[t[8 + r]];
            std::memcpy(p, &row, 8);
        }
        return;
    }
    // Partly outside the surface: only the pixels inside are written.
    for (int r = 0; r < 8; ++r) {
        const int yy = y + r;
        if (yy < 0 || yy >= img.height()) continue;
        const std::uint64_t rowValue = base + kSpread.v[t[r]] + 2 * kSpread.v[t[8 + r]];
        std::uint8_t row[8];
        std::memcpy(row, &rowValue, 8);
        uchar* line = bits + qsizetype(yy) * bpl;
        for (int k = 0; k < 8; ++k) {
            const int xx = x + k;
            if (xx >= 0 && xx < img.width()) line[xx] = row[k];
        }
    }
}

void EditorGraphics::DrawTileSheet(IndexedBitmap& bmp, const Byte* bank, int top) const {
    for (int t = 0; t < 256; ++t) DrawTile(bmp, bank, t, 0, 8 * (t % 16), top + 8 * (t / 16));
}

void EditorGraphics::DrawChip16(IndexedBitmap& bmp, const Byte* bank, const Byte* chipTiles, int chip, int palette,
                                int x, int y) const {
    if (!chipTiles) return;
    const int n = chip & 0xFF;
    DrawTile(bmp, bank, chipTiles[n], palette, x, y);
    DrawTile(bmp, bank, chipTiles[256 + n], palette, x + 8, y);
    DrawTile(bmp, bank, chipTiles[512 + n], palette, x, y + 8);
    DrawTile(bmp, bank, chipTiles[768 + n], palette, x + 8, y + 8);
}

void EditorGraphics::DrawChipSheet16(IndexedBitmap& sheet, const Byte* bank, const Byte* chipTiles,
                                     const Byte* attributes) const {
    if (!attributes) return;
    if (&sheet == &sheet16_) ++sheetGeneration_;
    for (int n = 0; n < 256; ++n)
        DrawChip16(sheet, bank, chipTiles, n, attributes[n] & 3, 16 * (n % 16), 16 * (n / 16));
}

void EditorGraphics::DrawChipSheet32(IndexedBitmap& sheet32, const Byte* chip32Table) const {
    if (&sheet32 == &sheet32_) ++sheetGeneration_;
    for (int n = 0; n < 256; ++n) RedrawChip32(sheet32, chip32Table, n);
}

void EditorGraphics::RedrawChip32(IndexedBitmap& sheet32, const Byte* chip32Table, int chip) const {
    if (!chip32Table) return;
    const int n = chip & 0xFF;
    for (int q = 0; q < 4; ++q) {
        const int m = chip32Table[4 * n + q];
        BlitIndexed(sheet32.Image(), 32 * (n % 16) + 16 * (q % 2), 32 * (n / 16) + 16 * (q / 2), sheet16_.Image(),
                    16 * (m % 16), 16 * (m / 16), 16, 16);
    }
}

// ---------------------------------------------------------------------------------------------- copies

void EditorGraphics::CopyToView(QImage& view, int dx, int dy, int dw, int dh, const IndexedBitmap& src, int sx, int sy,
                                int sw, int sh) const {
    if (!PrepareView(view)) return;
    CopyIndexedToView(view, dx, dy, dw, dh, src.Image(), sx, sy, sw, sh, BuildLut(src.Image()));
}

void EditorGraphics::CopyRect(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h) {
    if (dst.isNull() || src.isNull() || dst.depth() != 32 || src.depth() != 32) return;
    for (int r = 0; r < h; ++r) {
        const int yd = dy + r, ys = sy + r;
        if (yd < 0 || yd >= dst.height() || ys < 0 || ys >= src.height()) continue;
        int x0 = 0, x1 = w;
        if (dx + x0 < 0) x0 = -dx;
        if (sx + x0 < 0) x0 = std::max(x0, -sx);
        if (dx + x1 > dst.width()) x1 = dst.width() - dx;
        if (sx + x1 > src.width()) x1 = std::min(x1, src.width() - sx);
        if (x1 <= x0) continue;
        std::memcpy(reinterpret_cast<QRgb*>(dst.scanLine(yd)) + dx + x0,
                    reinterpret_cast<const QRgb*>(src.constScanLine(ys)) + sx + x0,
                    static_cast<std::size_t>(x1 - x0) * sizeof(QRgb));
    }
}

void EditorGraphics::CopyScaled(QImage& dst, int dx, int dy, int dw, int dh, const QImage& src, int sx, int sy, int sw,
                                int sh) {
    if (dst.isNull() || src.isNull() || dst.depth() != 32 || src.depth() != 32) return;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    for (int y = 0; y < dh; ++y) {
        const int yd = dy + y, ys = sy + y * sh / dh;
        if (yd < 0 || yd >= dst.height() || ys < 0 || ys >= src.height()) continue;
        QRgb* row = reinterpret_cast<QRgb*>(dst.scanLine(yd));
        const QRgb* srow = reinterpret_cast<const QRgb*>(src.constScanLine(ys));
        for (int x = 0; x < dw; ++x) {
            const int xd = dx + x, xs = sx + x * sw / dw;
            if (xd < 0 || xd >= dst.width() || xs < 0 || xs >= src.width()) continue;
            row[xd] = srow[xs];
        }
    }
}

void EditorGraphics::DrawMapSet(QImage& view, const Byte* mapSet64) const {
    if (!mapSet64 || !PrepareView(view)) return;
    const Lut lut = BuildLut(sheet32_.Image());
    for (int r = 0; r < 8; ++r)
        for (int k = 0; k < 8; ++k) {
            const int m = mapSet64[8 * r + k];
            CopyIndexedToView(view, 32 * k, 32 * r, 32, 32, sheet32_.Image(), 32 * (m % 16), 32 * (m / 16), 32, 32,
                              lut);
        }
}

void EditorGraphics::DrawChip32Table(QImage& view) const {
    if (view.isNull()) return;
    CopyToView(view, 0, 0, view.width(), view.height(), sheet32_, 0, 0, sheet32_.Width(), sheet32_.Height());
}

void EditorGraphics::DrawChip32(QImage& view, int x, int y, int w, int h, int chip) const {
    const int n = chip & 0xFF;
    CopyToView(view, x, y, w, h, sheet32_, 32 * (n % 16), 32 * (n / 16), 32, 32);
}

namespace {
// The pixels of the cross of an empty screen: both diagonals of a size x size square.
template <class Plot>
void CrossPixels(int size, Plot plot) {
    for (int i = 0; i < size; ++i) {
        plot(i, i);
        plot(size - 1 - i, i);
    }
}
}  // namespace

void EditorGraphics::DrawNoMapSet(QImage& view, int x, int y, int size) const {
    FillBlock(view, x, y, size, size, kBlack);
    const QRgb white = 0xFF000000u | MasterColor(kWhite);
    CrossPixels(size, [&](int px, int py) {
        if (x + px >= 0 && x + px < view.width() && y + py >= 0 && y + py < view.height())
            reinterpret_cast<QRgb*>(view.scanLine(y + py))[x + px] = white;
    });
}

void EditorGraphics::DrawNoMapSet(IndexedBitmap& bmp, int x, int y, int size, int blackValue) {
    QImage& image = bmp.Image();
    if (image.isNull()) return;
    auto plot = [&](int px, int py, int value) {
        if (x + px >= 0 && x + px < image.width() && y + py >= 0 && y + py < image.height())
            image.scanLine(y + py)[x + px] = uchar(value);
    };
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) plot(px, py, blackValue);
    CrossPixels(size, [&](int px, int py) { plot(px, py, kWhite); });
}

// ---------------------------------------------------------------------------------------------- overlays

void EditorGraphics::DrawHoverOutline(QImage& view, int x, int y, int size) const {
    if (size <= 0) return;
    Outline(view, x, y, x + size - 1, y + size - 1, MasterColor(kMagenta));
}

void EditorGraphics::DrawGridLines(QImage& view, int stepX, int stepY) const {
    if (!PrepareView(view)) return;
    const QRgb c = MasterColor(kWhite);
    // A step of 0 or less would never reach the edge: no lines in that direction.
    if (stepY > 0)
        for (int y = 0; y < view.height(); y += stepY) HLine(view, 0, view.width() - 1, y, c);
    if (stepX > 0)
        for (int x = 0; x < view.width(); x += stepX) VLine(view, x, 0, view.height() - 1, c);
}

QString EditorGraphics::ObjectMarkerFontFamily() {
    static QString family;
    if (!family.isEmpty()) return family;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return QStringLiteral("monospace");
    const QStringList families = QFontDatabase::families();
    for (const QString& wanted : {QString::fromUtf8("ＭＳ ゴシック"), QStringLiteral("IPAGothic")})
        if (families.contains(wanted, Qt::CaseInsensitive)) return family = wanted;
    family = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    if (family.isEmpty()) family = QStringLiteral("monospace");
    return family;
}

void EditorGraphics::DrawObjectMarker(QImage& view, int cx, int cy, int number) const {
    const QRgb white = MasterColor(kWhite);
    Outline(view, cx - 8, cy - 8, cx + 7, cy + 7, white);
    if (view.isNull() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    QFont font(ObjectMarkerFontFamily());
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&view);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(white));
    painter.drawText(QRect(cx - 6, cy - 6, 64, 32), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     QString::asprintf("%02X", unsigned(number) & 0xFFu));
}

void EditorGraphics::DrawCursor24(QImage& view, int cx, int cy) const {
    Outline(view, cx - 12, cy - 12, cx + 11, cy + 11, MasterColor(kWhite));
}

void EditorGraphics::DrawCursor32(QImage& view, int cx, int cy) const {
    Outline(view, cx - 16, cy - 16, cx + 15, cy + 15, MasterColor(kWhite));
}
