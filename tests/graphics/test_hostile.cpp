// Malformed and foreign images: every stage is assembled, drawn and animated without reading or writing
// outside a buffer (run under the sanitizer build).

#include <QDir>
#include <random>

#include "gfxtest.h"

using namespace gfxtest;

namespace {

// Assembles every load point and scroll of every stage, draws its sheets and map sets, and plays every
// palette set and every animation number for a while.
void ExerciseAllStages(RomImageData& rom) {
    const auto pal = FcPaletteData::FromBytes(DistinctPaletteBytes());
    EditorGraphics gfx(pal, rom);
    BgBank bank(rom);
    QImage view = gfx.CreateViewBitmap(256, 256);
    IndexedBitmap tiles = gfx.CreateStageBitmap(128, 128);
    for (int s = 0; s < kStageCount; ++s) {
        const StageData& st = rom.StageAt(s);
        for (int point = 0; point < 3; ++point)
            for (int scroll = 0; scroll < 16; ++scroll) {
                bank.Assemble(s, point, scroll);
                const auto& r = bank.LastReport();
                ASSERT_EQ(r.initialSet.size(), 2);
                ASSERT_TRUE(r.initialAddress.size() == 5) << r.initialAddress.toStdString();
                ASSERT_EQ(r.scrollSet.size(), 2);
                ASSERT_EQ(r.scrollAddress.size(), 5);
            }
        bank.Assemble(s, 0, 0);
        gfx.LoadStagePalette(st.BGPalette(0));
        gfx.ApplyStagePalette(gfx.ChipSheet16());
        gfx.DrawChipSheet16(gfx.ChipSheet16(), bank.Bytes(), st.Chip16x16Tiles(), st.ChipProperties());
        gfx.RefreshChip32SheetPalette();
        gfx.DrawChipSheet32(gfx.ChipSheet32(), st.Chip32x32());
        gfx.DrawTileSheet(tiles, bank.Bytes(), 0);
        for (int m = 0; m < kMapSetCount; ++m) gfx.DrawMapSet(view, st.MapSet(m));
        gfx.DrawChip32Table(view);
        for (int set = 0; set < kPaletteSetCount; ++set) {
            gfx.ResetPaletteAnimation();
            gfx.LoadStagePalette(st.BGPalette(set));
            for (int tick = 0; tick < 40; ++tick) gfx.StepPaletteAnimation(st.PaletteAnime(set));
        }
    }
    // Every animation number, whatever the image's pointers say.
    for (int v = 0x80; v < 0x100; v += 4) {
        const Byte numbers[4] = {Byte(v), Byte(v + 1), Byte(v + 2), Byte(v + 3)};
        gfx.ResetPaletteAnimation();
        for (int tick = 0; tick < 300; ++tick) gfx.StepPaletteAnimation(numbers);
    }
}

std::vector<Byte> RandomImage(std::uint32_t seed, std::size_t size) {
    std::mt19937 gen(seed);
    std::vector<Byte> img(size);
    for (auto& b : img) b = Byte(gen());
    img[0] = 0x4E;
    img[1] = 0x45;
    img[2] = 0x53;
    img[3] = 0x1A;
    return img;
}

}  // namespace

TEST(HostileImages, RandomBytesWithTheMagic) {
    for (std::uint32_t seed : {1u, 2u}) {
        TestDoc doc;
        ASSERT_TRUE(doc.Load(RandomImage(seed, 0x80010)));
        ExerciseAllStages(doc.Rom());
    }
    TestDoc doc;
    ASSERT_TRUE(doc.Load(RandomImage(3, 0x200040)));  // the largest image there is
    ExerciseAllStages(doc.Rom());
}

TEST(HostileImages, AllFFAllZeroAndTheSmallestFile) {
    {
        TestDoc doc;
        std::vector<Byte> img(0x80010, 0xFF);
        img[0] = 0x4E, img[1] = 0x45, img[2] = 0x53, img[3] = 0x1A;
        ASSERT_TRUE(doc.Load(img));
        ExerciseAllStages(doc.Rom());
    }
    {
        TestDoc doc;
        ASSERT_TRUE(doc.Load(BlankImage(0x80010)));
        ExerciseAllStages(doc.Rom());
    }
    {
        TestDoc doc;
        ASSERT_TRUE(doc.Load(BlankImage(16)));
        ExerciseAllStages(doc.Rom());
    }
}

TEST(HostileImages, AddressesAtTheEdgesOfTheBuffer) {
    // Loading addresses near the end of the image buffer, past it, and at the largest values an INI
    // file can give.
    for (const char* value : {"200030", "20003F", "7FFFFFFF", "80000000", "FFFFFFFF"}) {
        std::string ini = "[Address]\r\n";
        for (const char* key : {"PaletteAnimationPointerLow", "PaletteAnimationPointerHigh", "PaletteAnimationData",
                                "PaletteAnimationPalette", "MidPointData", "InitialGraphicsPointerLow",
                                "InitialGraphicsPointerHigh", "ScrollGraphicsPointerLow", "ScrollGraphicsPointerHigh",
                                "InitialGraphicsPointerMax", "ScrollGraphicsPointerMax"})
            ini += std::string(key) + "=" + value + "\r\n";
        TestDoc doc(ini);
        ASSERT_TRUE(doc.Load(RandomImage(7, 0x200040)));
        ExerciseAllStages(doc.Rom());
    }
}

TEST(HostileImages, RealImagesOfOtherGames) {
    const QDir dir(QStringLiteral(QUORVEN_REALDATA_DIR));
    const QStringList names = dir.entryList({"*.nes"}, QDir::Files);
    if (names.isEmpty()) GTEST_SKIP() << "no real images in " << QUORVEN_REALDATA_DIR;
    for (const QString& name : names) {
        TestDoc doc;
        SCOPED_TRACE(name.toStdString());
        if (!doc.LoadPath(dir.filePath(name))) continue;  // refused by the document: nothing to draw
        ExerciseAllStages(doc.Rom());
    }
}
