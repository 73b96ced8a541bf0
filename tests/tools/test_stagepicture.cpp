// The stage pictures the editor exports (and the stage renderer is built from): sizes, and pixels worked out
// here from the image's own tables and the colour table: tile bits, chip tables, map set, map, stored palette.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QElapsedTimer>
#include <QImage>
#include <filesystem>

#include "demorom.h"
#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "graphics/bgbank.h"
#include "graphics/fcpalette.h"
#include "graphics/stagepicture.h"
#include "loadeddocument.h"

namespace {

using testdoc::Palette;

// The demo image, loaded.
struct Doc : testdoc::Doc {
    Doc() { EXPECT_EQ(Load(BuildDemoRom()), LoadResult::Loaded); }
};

QRgb Colour(int masterNumber) {
    return 0xFF000000u | PackedToQRgb(Palette().GetColor(masterNumber & 0x3F));
}

// The colour (0 to 3) of pixel (x, y) of a tile of the bank, from its two bit planes.
int TileColour(const Byte* bank, int tile, int x, int y) {
    const Byte* t = bank + 16 * tile;
    const int bit = 7 - x;
    return ((t[y] >> bit) & 1) | (((t[8 + y] >> bit) & 1) << 1);
}

// Pixel (x, y) of 16x16 chip n in the stored palette set.
QRgb Chip16Pixel(const StageData& st, const Byte* bank, int set, int n, int x, int y) {
    const int quarter = (y / 8) * 2 + x / 8;
    const int tile = st.Chip16x16Tiles()[256 * quarter + n];
    const int pal = st.ChipProperties()[n] & 3;
    return Colour(st.BGPalette(set)[4 * pal + TileColour(bank, tile, x % 8, y % 8)]);
}

QRgb Chip32Pixel(const StageData& st, const Byte* bank, int set, int n, int x, int y) {
    const int m = st.Chip32x32()[4 * n + (y / 16) * 2 + x / 16];
    return Chip16Pixel(st, bank, set, m, x % 16, y % 16);
}

QRgb MapSetPixel(const StageData& st, const Byte* bank, int set, int mapSet, int x, int y) {
    return Chip32Pixel(st, bank, set, st.MapSet(mapSet)[8 * (y / 32) + x / 32], x % 32, y % 32);
}

QRgb At(const QImage& img, int x, int y) {
    return 0xFF000000u | img.pixel(x, y);
}

}  // namespace

TEST(StagePicture, EveryKindHasItsSizeAndNoStageOutsideTheRange) {
    Doc d;
    EXPECT_EQ(RenderStagePicture(d.rom, Palette(), 2, StagePictureKind::MapScreens).size(), QSize(48 * 256, 256));
    EXPECT_EQ(RenderStagePicture(d.rom, Palette(), 2, StagePictureKind::MapSets).size(), QSize(2048, 1024));
    EXPECT_EQ(RenderStagePicture(d.rom, Palette(), 2, StagePictureKind::Chip16Sheet).size(), QSize(256, 256));
    EXPECT_EQ(RenderStagePicture(d.rom, Palette(), 2, StagePictureKind::Chip32Sheet).size(), QSize(512, 512));
    EXPECT_EQ(RenderStagePicture(d.rom, Palette(), 2, StagePictureKind::BgBank).size(), QSize(256, 256));
    EXPECT_TRUE(RenderStagePicture(d.rom, Palette(), 16, StagePictureKind::MapSets).isNull());
    EXPECT_TRUE(RenderStagePicture(d.rom, Palette(), -1, StagePictureKind::MapSets).isNull());
}

TEST(StagePicture, PixelsComeFromTheTablesAndTheStoredPalette) {
    ASSERT_TRUE(Palette().Ok());
    Doc d;
    for (int stage : {0, 6, 12}) {
        for (int set : {0, 4}) {
            const StageData& st = d.rom.StageAt(stage);
            BgBank bank(d.rom);
            bank.Assemble(stage, 0, 0);
            StagePictureOptions o;
            o.paletteSet = set;
            const QImage c16 = RenderStagePicture(d.rom, Palette(), stage, StagePictureKind::Chip16Sheet, o);
            const QImage c32 = RenderStagePicture(d.rom, Palette(), stage, StagePictureKind::Chip32Sheet, o);
            const QImage sets = RenderStagePicture(d.rom, Palette(), stage, StagePictureKind::MapSets, o);
            const QImage map = RenderStagePicture(d.rom, Palette(), stage, StagePictureKind::MapScreens, o);
            o.bankPalette = 2;
            const QImage tiles = RenderStagePicture(d.rom, Palette(), stage, StagePictureKind::BgBank, o);
            for (int k = 0; k < 97; ++k) {
                const int n = (k * 37 + stage) % 256, x = (k * 5) % 16, y = (k * 11) % 16;
                ASSERT_EQ(At(c16, 16 * (n % 16) + x, 16 * (n / 16) + y), Chip16Pixel(st, bank.Bytes(), set, n, x, y))
                    << "stage " << stage << " chip16 " << n;
                const int x32 = (k * 13) % 32, y32 = (k * 7) % 32;
                ASSERT_EQ(At(c32, 32 * (n % 16) + x32, 32 * (n / 16) + y32),
                          Chip32Pixel(st, bank.Bytes(), set, n, x32, y32))
                    << "stage " << stage << " chip32 " << n;
                const int ms = k % 32, mx = (k * 53) % 256, my = (k * 29) % 256;
                ASSERT_EQ(At(sets, 256 * (ms % 8) + mx, 256 * (ms / 8) + my),
                          MapSetPixel(st, bank.Bytes(), set, ms, mx, my))
                    << "stage " << stage << " map set " << ms;
                const int screen = k % 48;
                ASSERT_LT(st.Map()[screen], 32);
                ASSERT_EQ(At(map, 256 * screen + mx, my), MapSetPixel(st, bank.Bytes(), set, st.Map()[screen], mx, my))
                    << "stage " << stage << " screen " << screen;
                const int t = (k * 71) % 256, tx = k % 8, ty = (k / 8) % 8;
                ASSERT_EQ(At(tiles, 16 * (t % 16) + 2 * tx + 1, 16 * (t / 16) + 2 * ty),
                          Colour(st.BGPalette(set)[4 * 2 + TileColour(bank.Bytes(), t, tx, ty)]))
                    << "stage " << stage << " tile " << t;
            }
        }
    }
}

TEST(StagePicture, MapShowsUnsavedEditsAndScreensThatNameNoMapSetAsTheMapPageDoes) {
    Doc d;
    StageData& st = d.rom.StageAt(3);
    ASSERT_TRUE(st.SetMapEntry(10, 0x40));
    ASSERT_TRUE(st.SetMapEntry(11, static_cast<Byte>((st.Map()[12] + 1) % 32)));
    BgBank bank(d.rom);
    bank.Assemble(3, 0, 0);
    const QImage map = RenderStagePicture(d.rom, Palette(), 3, StagePictureKind::MapScreens);
    // Screen 10: black, with white diagonals corner to corner.
    const QRgb white = 0xFF000000u | map.pixel(256 * 10, 0);
    EXPECT_EQ(At(map, 256 * 10 + 255, 255), white);
    EXPECT_EQ(At(map, 256 * 10 + 255, 0), white);
    EXPECT_EQ(At(map, 256 * 10 + 100, 100), white);
    EXPECT_EQ(At(map, 256 * 10 + 100, 30), Colour(0x0F));
    EXPECT_NE(white, Colour(0x0F));
    for (int k = 0; k < 50; ++k)
        ASSERT_EQ(At(map, 256 * 11 + (k * 41) % 256, (k * 23) % 256),
                  MapSetPixel(st, bank.Bytes(), 0, st.Map()[11], (k * 41) % 256, (k * 23) % 256));
}

TEST(StagePicture, AllScreensOfTheDemoImageTakeWellUnderASecond) {
    Doc d;
    QElapsedTimer timer;
    timer.start();
    const QImage map = RenderStagePicture(d.rom, Palette(), 9, StagePictureKind::MapScreens);
    ASSERT_FALSE(map.isNull());
    const QString path = QString::fromStdString(
        (std::filesystem::temp_directory_path() / ("quorven-picture-" + std::to_string(::getpid()) + ".png")).string());
    ASSERT_TRUE(map.save(path, "PNG"));
    EXPECT_LT(timer.elapsed(), 1000);
    const QImage back(path);
    std::filesystem::remove(path.toStdString());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), map.convertToFormat(QImage::Format_RGB32));
}
