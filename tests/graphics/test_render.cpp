// Pixels: palettes, tile decoding, chip sheets, copies into views and overlays.

#include <QFontDatabase>

#include "gfxtest.h"

using namespace gfxtest;

namespace {

using Bank = std::array<Byte, 4096>;

void SolidTile(Bank& bank, int t, int colour) {
    for (int r = 0; r < 8; ++r) {
        bank[std::size_t(16 * t + r)] = (colour & 1) ? 0xFF : 0x00;
        bank[std::size_t(16 * t + 8 + r)] = (colour & 2) ? 0xFF : 0x00;
    }
}

int CountColour(const QImage& view, QRgb c) {
    int n = 0;
    for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x) n += (view.pixel(x, y) == c);
    return n;
}

class Render : public ::testing::Test {
protected:
    Render() : pal_(FcPaletteData::FromBytes(DistinctPaletteBytes())), gfx_(pal_, doc_.Rom()) {
        // Stage palette entry i shows colour number 0x10 + i.
        for (int i = 0; i < 16; ++i) numbers_[std::size_t(i)] = Byte(0x10 + i);
        gfx_.LoadStagePalette(numbers_.data());
        gfx_.ApplyStagePalette(gfx_.ChipSheet16());
        gfx_.RefreshChip32SheetPalette();
    }
    QRgb Stage(int entry) const { return ColourOf(0x10 + entry); }

    TestDoc doc_;
    FcPaletteData pal_;
    EditorGraphics gfx_;
    std::array<Byte, 16> numbers_{};
    Bank bank_{};
};

}  // namespace

// ------------------------------------------------------------------------------------------------ palettes

TEST_F(Render, MasterAndStagePalettes) {
    for (int n : {0, 0x0F, 0x30, 0x3F}) EXPECT_EQ(gfx_.MasterColor(n), ColourOf(n)) << n;
    EXPECT_EQ(gfx_.MasterColor(EditorGraphics::kMagenta), qRgb(255, 0, 255));
    EXPECT_EQ(gfx_.MasterColor(EditorGraphics::kWhite), qRgb(255, 255, 255));
    EXPECT_EQ(gfx_.GetStagePaletteColor(EditorGraphics::kMagenta), qRgb(255, 0, 255));
    EXPECT_EQ(gfx_.GetStagePaletteColor(EditorGraphics::kWhite), qRgb(255, 255, 255));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(gfx_.GetStagePaletteColor(i), Stage(i)) << i;

    gfx_.SetStagePaletteEntry(5, 0x21);
    EXPECT_EQ(gfx_.GetStagePaletteColor(5), ColourOf(0x21));
    gfx_.SetStagePaletteEntry(6, 0x4F);  // low six bits: 0x0F
    EXPECT_EQ(gfx_.GetStagePaletteColor(6), ColourOf(0x0F));
    gfx_.SetStagePaletteEntry(16, 0x01);  // not a stage palette entry: ignored
    gfx_.SetStagePaletteEntry(-1, 0x01);
    EXPECT_EQ(gfx_.GetStagePaletteColor(16), qRgb(0, 0, 0));
}

TEST_F(Render, StageBitmapsKeepThePaletteTheyWereGiven) {
    IndexedBitmap bmp = gfx_.CreateStageBitmap(40, 24);
    ASSERT_EQ(bmp.Width(), 40);
    ASSERT_EQ(bmp.Height(), 24);
    EXPECT_EQ(bmp.Image().format(), QImage::Format_Indexed8);
    EXPECT_EQ(bmp.Image().colorCount(), 256);
    EXPECT_EQ(bmp.PaletteEntry(3), Stage(3));
    EXPECT_EQ(bmp.PaletteEntry(81), qRgb(255, 255, 255));
    gfx_.SetStagePaletteEntry(3, 0x05);
    EXPECT_EQ(bmp.PaletteEntry(3), Stage(3));
    gfx_.ApplyStagePalette(bmp);
    EXPECT_EQ(bmp.PaletteEntry(3), ColourOf(0x05));
    EXPECT_EQ(gfx_.ChipSheet16().Width(), 256);
    EXPECT_EQ(gfx_.ChipSheet32().Height(), 512);
}

TEST_F(Render, ViewBitmapsAreTrueColourFilledWithColour0F) {
    QImage view = gfx_.CreateViewBitmap(33, 17);
    ASSERT_EQ(view.format(), QImage::Format_RGB32);
    ASSERT_EQ(view.size(), QSize(33, 17));
    EXPECT_EQ(CountColour(view, ColourOf(0x0F)), 33 * 17);
    EXPECT_TRUE(gfx_.CreateViewBitmap(0, 10).isNull());
}

TEST_F(Render, FillBlockIsClipped) {
    QImage view = gfx_.CreateViewBitmap(16, 16);
    gfx_.FillBlock(view, 10, -3, 20, 6, 0x21);
    EXPECT_EQ(CountColour(view, ColourOf(0x21)), 6 * 3);
    EXPECT_EQ(view.pixel(10, 0), ColourOf(0x21));
    EXPECT_EQ(view.pixel(9, 0), ColourOf(0x0F));
    EXPECT_EQ(view.pixel(10, 3), ColourOf(0x0F));

    IndexedBitmap bmp = gfx_.CreateStageBitmap(8, 8);
    gfx_.FillBlock(bmp, -2, 6, 4, 10, 9);
    int nines = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) nines += bmp.Pixel(x, y) == 9;
    EXPECT_EQ(nines, 2 * 2);
    EXPECT_EQ(bmp.Pixel(1, 7), 9);
}

// ------------------------------------------------------------------------------------------------ tiles

TEST_F(Render, TilePlaneBits) {
    bank_[16 * 1 + 0] = 0x80;  // plane 0 only: colour 1
    bank_[16 * 2 + 8] = 0x80;  // plane 1 only: colour 2
    bank_[16 * 3 + 0] = 0x80;  // both planes: colour 3
    bank_[16 * 3 + 8] = 0x80;
    IndexedBitmap bmp = gfx_.CreateStageBitmap(32, 8);
    for (int t = 1; t <= 3; ++t) gfx_.DrawTile(bmp, bank_.data(), t, 0, 8 * (t - 1), 0);
    EXPECT_EQ(bmp.Pixel(0, 0), 1);
    EXPECT_EQ(bmp.Pixel(8, 0), 2);
    EXPECT_EQ(bmp.Pixel(16, 0), 3);
    // Only the top-left pixel of each tile is set.
    for (int t = 0; t < 3; ++t)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (x || y) {
                    EXPECT_EQ(bmp.Pixel(8 * t + x, y), 0) << t << " " << x << " " << y;
                }
}

TEST_F(Render, TileRowsColumnsAndPaletteOffset) {
    bank_[16 * 7 + 0] = 0xB0;  // row 0, plane 0: 1011 0000
    bank_[16 * 7 + 8] = 0x60;  // row 0, plane 1: 0110 0000
    bank_[16 * 7 + 7] = 0x01;  // row 7: rightmost pixel colour 3
    bank_[16 * 7 + 15] = 0x01;
    bank_[16 * 7 + 12] = 0xFF;  // row 4, plane 1 only: colour 2 across
    IndexedBitmap bmp = gfx_.CreateStageBitmap(24, 24);
    gfx_.FillBlock(bmp, 0, 0, 24, 24, 0x55);
    gfx_.DrawTile(bmp, bank_.data(), 7, 2, 8, 4);
    const int row0[8] = {1, 2, 3, 1, 0, 0, 0, 0};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(bmp.Pixel(8 + k, 4), 8 + row0[k]) << k;
    for (int k = 0; k < 8; ++k) EXPECT_EQ(bmp.Pixel(8 + k, 8), 8 + 2) << k;
    EXPECT_EQ(bmp.Pixel(15, 11), 8 + 3);
    EXPECT_EQ(bmp.Pixel(14, 11), 8);
    // Nothing outside the 8x8 square is touched.
    EXPECT_EQ(bmp.Pixel(16, 4), 0x55);
    EXPECT_EQ(bmp.Pixel(7, 4), 0x55);
    EXPECT_EQ(bmp.Pixel(8, 3), 0x55);
    EXPECT_EQ(bmp.Pixel(8, 12), 0x55);
}

TEST_F(Render, TilesPartlyOutsideTheSurfaceWriteOnlyInside) {
    SolidTile(bank_, 9, 3);
    IndexedBitmap bmp = gfx_.CreateStageBitmap(16, 16);
    gfx_.DrawTile(bmp, bank_.data(), 9, 1, 12, -4);
    gfx_.DrawTile(bmp, bank_.data(), 9, 1, -100, 1000);
    int sevens = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) sevens += bmp.Pixel(x, y) == 7;
    EXPECT_EQ(sevens, 4 * 4);
    EXPECT_EQ(bmp.Pixel(12, 0), 7);
    EXPECT_EQ(bmp.Pixel(15, 3), 7);
}

TEST_F(Render, TileSheetUsesBareColours) {
    for (int t = 0; t < 256; ++t) SolidTile(bank_, t, t % 4);
    IndexedBitmap bmp = gfx_.CreateStageBitmap(128, 136);
    gfx_.FillBlock(bmp, 0, 0, 128, 136, 0x55);
    gfx_.DrawTileSheet(bmp, bank_.data(), 8);
    EXPECT_EQ(bmp.Pixel(0, 0), 0x55);           // above top
    EXPECT_EQ(bmp.Pixel(0, 8), 0);              // tile 0
    EXPECT_EQ(bmp.Pixel(8 * 5 + 3, 8 + 2), 1);  // tile 5
    EXPECT_EQ(bmp.Pixel(8 * 2, 8 + 8 * 1), 2);  // tile 0x12
    EXPECT_EQ(bmp.Pixel(127, 135), 3);          // tile 0xFF, last pixel
}

TEST_F(Render, Chip16QuartersShareOnePalette) {
    SolidTile(bank_, 10, 1);
    SolidTile(bank_, 11, 2);
    SolidTile(bank_, 12, 3);
    SolidTile(bank_, 13, 0);
    std::array<Byte, 1024> tiles{};
    tiles[7] = 10;
    tiles[256 + 7] = 11;
    tiles[512 + 7] = 12;
    tiles[768 + 7] = 13;
    IndexedBitmap bmp = gfx_.CreateStageBitmap(24, 24);
    gfx_.FillBlock(bmp, 0, 0, 24, 24, 0x55);
    gfx_.DrawChip16(bmp, bank_.data(), tiles.data(), 7, 1, 3, 5);
    EXPECT_EQ(bmp.Pixel(3, 5), 5);
    EXPECT_EQ(bmp.Pixel(10, 12), 5);
    EXPECT_EQ(bmp.Pixel(11, 5), 6);
    EXPECT_EQ(bmp.Pixel(3, 13), 7);
    EXPECT_EQ(bmp.Pixel(11, 13), 4);
    EXPECT_EQ(bmp.Pixel(18, 20), 4);
    EXPECT_EQ(bmp.Pixel(19, 20), 0x55);
    EXPECT_EQ(bmp.Pixel(18, 21), 0x55);
    EXPECT_EQ(bmp.Pixel(2, 5), 0x55);
}

TEST_F(Render, ChipSheet16PlacementAndPaletteFromAttributes) {
    for (int t = 0; t < 256; ++t) SolidTile(bank_, t, t % 4);
    std::array<Byte, 1024> tiles{};
    for (int n = 0; n < 256; ++n)
        for (int q = 0; q < 4; ++q) tiles[std::size_t(256 * q + n)] = Byte(n);
    std::array<Byte, 256> attrs{};
    for (int n = 0; n < 256; ++n) attrs[std::size_t(n)] = Byte(n * 7);
    attrs[0x25] = 0x13;  // kind 1, palette 3
    attrs[0xFF] = 0xFC;  // palette 0 whatever the other bits say
    const auto before = gfx_.TileDecodeCount();
    gfx_.DrawChipSheet16(gfx_.ChipSheet16(), bank_.data(), tiles.data(), attrs.data());
    EXPECT_EQ(gfx_.TileDecodeCount() - before, 1024u);
    const IndexedBitmap& s = gfx_.ChipSheet16();
    EXPECT_EQ(s.Pixel(80, 32), 12 + 1);  // chip 0x25 at (16 x 5, 16 x 2)
    EXPECT_EQ(s.Pixel(95, 47), 12 + 1);
    EXPECT_EQ(s.Pixel(240, 240), 0 + 3);                 // chip 0xFF
    EXPECT_EQ(s.Pixel(16, 0), 4 * 3 + 1);                // chip 1: attribute 7, palette 3
    EXPECT_EQ(s.Pixel(32, 16), 4 * ((18 * 7) & 3) + 2);  // chip 0x12
}

TEST_F(Render, ChipSheet32CopiesQuartersFromTheChipSheet16) {
    IndexedBitmap& s16 = gfx_.ChipSheet16();
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) s16.Row(y)[x] = Byte(x * 3 + y * 5);
    std::array<Byte, 1024> table{};
    table[4 * 17 + 0] = 3;
    table[4 * 17 + 1] = 200;
    table[4 * 17 + 2] = 0;
    table[4 * 17 + 3] = 255;
    table[4 * 255 + 3] = 0x11;
    const auto before = gfx_.TileDecodeCount();
    gfx_.DrawChipSheet32(gfx_.ChipSheet32(), table.data());
    EXPECT_EQ(gfx_.TileDecodeCount(), before);
    const IndexedBitmap& s32 = gfx_.ChipSheet32();
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
            ASSERT_EQ(s32.Pixel(32 + i, 32 + j), s16.Pixel(48 + i, j));         // chip 3 at (48, 0)
            ASSERT_EQ(s32.Pixel(48 + i, 32 + j), s16.Pixel(128 + i, 192 + j));  // chip 200 at (128, 192)
            ASSERT_EQ(s32.Pixel(32 + i, 48 + j), s16.Pixel(i, j));
            ASSERT_EQ(s32.Pixel(48 + i, 48 + j), s16.Pixel(240 + i, 240 + j));
            ASSERT_EQ(s32.Pixel(496 + i, 496 + j), s16.Pixel(16 + i, 16 + j));  // chip 0x11 at (16, 16)
        }

    // RedrawChip32 redraws only the chip it is given.
    table[4 * 17 + 0] = 1;
    table[4 * 18 + 0] = 1;
    gfx_.RedrawChip32(gfx_.ChipSheet32(), table.data(), 17);
    EXPECT_EQ(s32.Pixel(32, 32), s16.Pixel(16, 0));
    EXPECT_EQ(s32.Pixel(64, 32), s16.Pixel(0, 0));  // chip 18 still shows 16x16 chip 0
}

// ------------------------------------------------------------------------------------------------ views

TEST_F(Render, MapSetCopiesChipsAtOneToOneInTheSheetColours) {
    IndexedBitmap& s32 = gfx_.ChipSheet32();
    // Every 32x32 chip m is filled with value m mod 16, with its top-left pixel (m div 16).
    for (int m = 0; m < 256; ++m) {
        gfx_.FillBlock(s32, 32 * (m % 16), 32 * (m / 16), 32, 32, m % 16);
        s32.Row(32 * (m / 16))[32 * (m % 16)] = Byte(m / 16);
    }
    std::array<Byte, 64> set{};
    for (int i = 0; i < 64; ++i) set[std::size_t(i)] = Byte(i * 3 + 1);
    set[63] = 0xFF;
    QImage view = gfx_.CreateViewBitmap(256, 256);
    gfx_.DrawMapSet(view, set.data());
    for (int r = 0; r < 8; ++r)
        for (int k = 0; k < 8; ++k) {
            const int m = set[std::size_t(8 * r + k)];
            EXPECT_EQ(view.pixel(32 * k + 5, 32 * r + 9), Stage(m % 16)) << r << " " << k;
            EXPECT_EQ(view.pixel(32 * k + 31, 32 * r + 31), Stage(m % 16)) << r << " " << k;
            EXPECT_EQ(view.pixel(32 * k, 32 * r), Stage(m / 16)) << r << " " << k;
        }
    // Byte 8r + k = 9 (row 1, column 1) is chip 28: value 12, corner value 1.
    EXPECT_EQ(view.pixel(40, 40), Stage(12));
    EXPECT_EQ(view.pixel(32, 32), Stage(1));

    // Recolouring: a new palette and a new copy, no tile decoded.
    const auto decodes = gfx_.TileDecodeCount();
    gfx_.SetStagePaletteEntry(12, 0x3A);
    EXPECT_EQ(view.pixel(40, 40), Stage(12));  // the view does not change by itself
    gfx_.RefreshChip32SheetPalette();
    gfx_.DrawMapSet(view, set.data());
    EXPECT_EQ(view.pixel(40, 40), ColourOf(0x3A));
    EXPECT_EQ(gfx_.TileDecodeCount(), decodes);
}

TEST_F(Render, Chip32TableIsScaledToTheView) {
    IndexedBitmap& s32 = gfx_.ChipSheet32();
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) s32.Row(y)[x] = Byte((x + 3 * y) % 16);
    QImage view = gfx_.CreateViewBitmap(256, 256);
    gfx_.DrawChip32Table(view);
    for (int y = 0; y < 256; y += 7)
        for (int x = 0; x < 256; x += 5) ASSERT_EQ(view.pixel(x, y), Stage((2 * x + 6 * y) % 16)) << x << " " << y;
    EXPECT_EQ(view.pixel(255, 255), Stage((510 + 3 * 510) % 16));
}

TEST_F(Render, OneChip32ScaledIntoARectangle) {
    IndexedBitmap& s32 = gfx_.ChipSheet32();
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) s32.Row(y)[x] = Byte((x / 2 + y) % 16);
    QImage view = gfx_.CreateViewBitmap(100, 100);
    // Chip 0x23 lies at (96, 64); drawn 64 x 64 at (10, 20), every pixel doubled.
    gfx_.DrawChip32(view, 10, 20, 64, 64, 0x23);
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i) {
            const QRgb c = Stage(((96 + i) / 2 + 64 + j) % 16);
            ASSERT_EQ(view.pixel(10 + 2 * i, 20 + 2 * j), c);
            ASSERT_EQ(view.pixel(11 + 2 * i, 21 + 2 * j), c);
        }
    EXPECT_EQ(view.pixel(9, 20), ColourOf(0x0F));
    EXPECT_EQ(view.pixel(74, 20), ColourOf(0x0F));
    EXPECT_EQ(view.pixel(10, 84), ColourOf(0x0F));
}

TEST_F(Render, CopiesAreClippedToViewAndSource) {
    IndexedBitmap src = gfx_.CreateStageBitmap(16, 16);
    gfx_.FillBlock(src, 0, 0, 16, 16, 2);
    QImage view = gfx_.CreateViewBitmap(20, 20);
    gfx_.CopyToView(view, 12, -4, 16, 16, src, 0, 0, 16, 16);
    EXPECT_EQ(CountColour(view, Stage(2)), 8 * 12);
    view = gfx_.CreateViewBitmap(20, 20);
    gfx_.CopyToView(view, 0, 0, 16, 16, src, 8, -8, 16, 16);  // half the source lies outside it
    EXPECT_EQ(CountColour(view, Stage(2)), 8 * 8);
    EXPECT_EQ(view.pixel(0, 8), Stage(2));
    EXPECT_EQ(view.pixel(0, 7), ColourOf(0x0F));
    gfx_.CopyToView(view, 0, 0, 0, 16, src, 0, 0, 16, 16);
    gfx_.CopyToView(view, -1000, -1000, 5000, 5000, src, -3, -3, 40, 40);
}

TEST_F(Render, HalfSizeCopyReachingTheLastPixelOfThePicture) {
    // A one-row picture: the copy ends on its very last byte, so no read may go past it.
    IndexedBitmap src = gfx_.CreateStageBitmap(16, 1);
    for (int x = 0; x < 16; ++x) src.Row(0)[x] = Byte(x);
    QImage view = gfx_.CreateViewBitmap(8, 1);
    gfx_.CopyToView(view, 0, 0, 8, 1, src, 1, 0, 16, 2);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(view.pixel(i, 0), Stage(1 + 2 * i)) << i;
    IndexedBitmap wide = gfx_.CreateStageBitmap(40, 1);
    for (int x = 0; x < 40; ++x) wide.Row(0)[x] = Byte(x % 16);
    QImage v2 = gfx_.CreateViewBitmap(20, 1);
    gfx_.CopyToView(v2, 0, 0, 20, 1, wide, 0, 0, 40, 1);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(v2.pixel(i, 0), Stage((2 * i) % 16)) << i;
}

// Rows long enough for the 16- and 32-pixel groups, with stage pixels and, in some groups only, other values:
// every pixel comes out in its own colour, at 1:1 and at half size, from any start column.
TEST_F(Render, LongRowsMixingStagePixelsAndOtherValues) {
    IndexedBitmap src = gfx_.CreateStageBitmap(300, 1);
    for (int x = 0; x < 300; ++x) src.Row(0)[x] = Byte((x * 7 + x / 13) % 16);
    for (int x : {40, 41, 150, 299}) src.Row(0)[x] = Byte(x == 150 ? EditorGraphics::kMagenta : EditorGraphics::kWhite);
    auto colour = [&](int x) { return 0xFF000000u | src.PaletteEntry(src.Pixel(x, 0)); };
    for (int start : {0, 3}) {
        QImage one = gfx_.CreateViewBitmap(280, 1), half = gfx_.CreateViewBitmap(148, 1);
        gfx_.CopyToView(one, 0, 0, 280, 1, src, start, 0, 280, 1);
        gfx_.CopyToView(half, 0, 0, 148, 1, src, start, 0, 296, 1);
        for (int i = 0; i < 280; ++i) ASSERT_EQ(one.pixel(i, 0), colour(start + i)) << start << " " << i;
        for (int i = 0; i < 148; ++i) ASSERT_EQ(half.pixel(i, 0), colour(start + 2 * i)) << start << " " << i;
    }
}

// ------------------------------------------------------------------------------------------------ overlays

TEST_F(Render, GridLinesEveryStepAndNoneAtTheEdge) {
    const QRgb white = qRgb(255, 255, 255);
    QImage view = gfx_.CreateViewBitmap(256, 256);
    gfx_.DrawGridLines(view, 32, 32);
    int whiteRows = 0, whiteColumns = 0;
    for (int y = 0; y < 256; ++y) {
        int n = 0;
        for (int x = 0; x < 256; ++x) n += view.pixel(x, y) == white;
        if (n == 256) {
            ++whiteRows;
            EXPECT_EQ(y % 32, 0) << y;
        } else {
            EXPECT_EQ(n, 8) << y;  // only the crossings with the vertical lines
        }
    }
    for (int x = 0; x < 256; ++x) {
        int n = 0;
        for (int y = 0; y < 256; ++y) n += view.pixel(x, y) == white;
        if (n == 256) ++whiteColumns;
    }
    EXPECT_EQ(whiteRows, 8);
    EXPECT_EQ(whiteColumns, 8);
    EXPECT_EQ(view.pixel(224, 225), white);
    EXPECT_EQ(view.pixel(225, 255), ColourOf(0x0F));
    EXPECT_EQ(view.pixel(255, 1), ColourOf(0x0F));

    // Different steps; a step of 0 draws nothing in that direction.
    QImage other = gfx_.CreateViewBitmap(100, 50);
    gfx_.DrawGridLines(other, 48, 0);
    EXPECT_EQ(CountColour(other, white), 3 * 50);  // x = 0, 48, 96
    EXPECT_EQ(other.pixel(96, 49), white);
}

TEST_F(Render, OutlinesIncludeTheirEndPixels) {
    const QRgb magenta = qRgb(255, 0, 255), white = qRgb(255, 255, 255);
    QImage view = gfx_.CreateViewBitmap(64, 64);
    gfx_.DrawHoverOutline(view, 10, 20, 16);
    for (auto [x, y] : {std::pair{10, 20}, {25, 20}, {10, 35}, {25, 35}, {17, 20}, {10, 27}})
        EXPECT_EQ(view.pixel(x, y), magenta) << x << "," << y;
    for (auto [x, y] : {std::pair{26, 20}, {9, 20}, {10, 36}, {11, 21}, {24, 34}})
        EXPECT_NE(view.pixel(x, y), magenta) << x << "," << y;
    EXPECT_EQ(CountColour(view, magenta), 4 * 16 - 4);

    view = gfx_.CreateViewBitmap(64, 64);
    gfx_.DrawCursor24(view, 32, 32);
    EXPECT_EQ(view.pixel(20, 20), white);
    EXPECT_EQ(view.pixel(43, 43), white);
    EXPECT_EQ(view.pixel(43, 20), white);
    EXPECT_NE(view.pixel(44, 44), white);
    EXPECT_NE(view.pixel(21, 21), white);
    EXPECT_EQ(CountColour(view, white), 4 * 24 - 4);

    view = gfx_.CreateViewBitmap(64, 64);
    gfx_.DrawCursor32(view, 32, 32);
    EXPECT_EQ(view.pixel(16, 16), white);
    EXPECT_EQ(view.pixel(47, 47), white);
    EXPECT_EQ(CountColour(view, white), 4 * 32 - 4);

    // At the corner of the view only the part inside is drawn.
    view = gfx_.CreateViewBitmap(64, 64);
    gfx_.DrawCursor32(view, 0, 0);
    EXPECT_EQ(CountColour(view, white), 31);
    EXPECT_EQ(view.pixel(15, 0), white);
    EXPECT_EQ(view.pixel(0, 15), white);
    gfx_.DrawHoverOutline(view, 60, 60, 1000);
    gfx_.DrawHoverOutline(view, 5, 5, 0);
    EXPECT_EQ(CountColour(view, magenta), 4 + 4 - 1);
}

TEST_F(Render, ObjectMarkerIsASquareWithCrispWhiteDigits) {
    const QRgb white = qRgb(255, 255, 255), bg = ColourOf(0x0F);
    QImage view = gfx_.CreateViewBitmap(64, 64);
    gfx_.DrawObjectMarker(view, 32, 32, 0x2A);
    EXPECT_EQ(view.pixel(24, 24), white);
    EXPECT_EQ(view.pixel(39, 39), white);
    EXPECT_EQ(view.pixel(39, 24), white);
    EXPECT_NE(view.pixel(40, 40), white);
    int inside = 0, other = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb c = view.pixel(x, y);
            if (c != white && c != bg) ++other;  // anti-aliasing would leave grey pixels
            if (c == white && x > 24 && x < 39 && y > 24 && y < 39) ++inside;
        }
    EXPECT_EQ(other, 0);
    EXPECT_GT(inside, 10) << "the digits were not drawn inside the square";

    // Another number leaves another picture.
    QImage view2 = gfx_.CreateViewBitmap(64, 64);
    gfx_.DrawObjectMarker(view2, 32, 32, 0x71);
    EXPECT_NE(view, view2);

    if (QFontDatabase::families().contains("IPAGothic")) {
        EXPECT_TRUE(EditorGraphics::ObjectMarkerFontFamily() == "IPAGothic" ||
                    EditorGraphics::ObjectMarkerFontFamily() == QString::fromUtf8("ＭＳ ゴシック"));
    }
    EXPECT_FALSE(EditorGraphics::ObjectMarkerFontFamily().isEmpty());
}
