#include "doc_test_support.h"
#include "document/MyIniFiles.h"

namespace {

// One stage over its own image buffer, with the addresses of an INI text.
struct StageFixture {
    explicit StageFixture(const std::string& iniText = "", int stageNumber = 0) {
        WriteText(dir / "q.ini", iniText);
        ini = std::make_unique<TMyMemIniFile>(dir / "q.ini");
        addr = std::make_unique<AddressData>(*ini);
        stage = std::make_unique<StageData>(stageNumber, image.data(), *addr);
    }
    std::int32_t At(StageTable t) const { return addr->TableAddress(t, stage->Stage()); }

    TempDir dir;
    std::vector<Byte> image = std::vector<Byte>(kImageCapacity, 0);
    std::unique_ptr<TMyMemIniFile> ini;
    std::unique_ptr<AddressData> addr;
    std::unique_ptr<StageData> stage;
};

void PutObjects(StageFixture& f, const std::vector<std::array<int, 4>>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        f.image[f.At(StageTable::ObjectScreen) + i] = static_cast<Byte>(entries[i][0]);
        f.image[f.At(StageTable::ObjectX) + i] = static_cast<Byte>(entries[i][1]);
        f.image[f.At(StageTable::ObjectY) + i] = static_cast<Byte>(entries[i][2]);
        f.image[f.At(StageTable::ObjectKind) + i] = static_cast<Byte>(entries[i][3]);
    }
}

std::vector<int> Xs(const std::list<ObjectEntry>& list) {
    std::vector<int> xs;
    for (const auto& e : list) xs.push_back(e.x);
    return xs;
}

}  // namespace

TEST(StageTables, DecodeFromTheStageAddressesWithTheirLayouts) {
    StageFixture f("", 3);
    std::vector<Byte> noise = NoiseImage(kImageCapacity, 11, false);
    std::copy(noise.begin(), noise.end(), f.image.begin());
    f.stage->ReadAllTables();
    const std::int32_t stride = 3 * 0x2000;
    for (int i = 0; i < 1024; ++i) {
        ASSERT_EQ(f.stage->Chip16x16Tiles()[i], noise[0x40010 + stride + i]);
        ASSERT_EQ(f.stage->Chip32x32()[i], noise[0x40510 + stride + i]);
    }
    for (int i = 0; i < 256; ++i) ASSERT_EQ(f.stage->ChipProperties()[i], noise[0x40410 + stride + i]);
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(f.stage->MapSets()[i], noise[0x40910 + stride + i]);
    EXPECT_EQ(f.stage->MapSet(5)[9], noise[0x40910 + stride + 64 * 5 + 9]);
    for (int i = 0; i < 48; ++i) ASSERT_EQ(f.stage->Map()[i], noise[0x41510 + stride + i]);
    for (int p = 0; p < 7; ++p) {
        for (int e = 0; e < 16; ++e) ASSERT_EQ(f.stage->BGPalette(p)[e], noise[0x415A0 + stride + 20 * p + e]);
        for (int j = 0; j < 4; ++j) ASSERT_EQ(f.stage->PaletteAnime(p)[j], noise[0x415B0 + stride + 20 * p + j]);
    }
}

TEST(StageTables, PaletteWritesLeaveTheGapsBetweenRecords) {
    // Animation numbers moved away, so the 4 bytes after each palette record belong to nobody.
    StageFixture f("[LevelDataAddress]\nBGPaletteAnime=60000\n");
    std::vector<Byte> noise = NoiseImage(kImageCapacity, 12, false);
    std::copy(noise.begin(), noise.end(), f.image.begin());
    f.stage->ReadAllTables();
    f.stage->SetPaletteByte(16 * 6 + 15, static_cast<Byte>(noise[0x415A0 + 20 * 6 + 15] ^ 0xFF));
    f.stage->SetPaletteAnimeByte(4 * 6 + 3, static_cast<Byte>(noise[0x60000 + 20 * 6 + 3] ^ 0xFF));
    f.stage->WriteBGPalettes();
    f.stage->WritePaletteAnime();
    for (std::int32_t a = 0; a < kImageCapacity; ++a) {
        if (a == 0x415A0 + 20 * 6 + 15 || a == 0x60000 + 20 * 6 + 3)
            ASSERT_NE(f.image[a], noise[a]);
        else
            ASSERT_EQ(f.image[a], noise[a]) << std::hex << a;
    }
}

TEST(StageTables, AddressesOutsideTheBufferReadZeroAndWritesAreDropped) {
    // A table straddling the end of the buffer, one before its start, one far beyond.
    StageFixture f(
        "[LevelDataAddress]\nChip16x16=200000\nMapSet=FFFFFF00\nMap=7FFFFFFF\nBGPalette=FFFFFFF8\n"
        "ObjectScreen=200030\nObjectOffset=80000000\n");
    std::fill(f.image.begin(), f.image.end(), Byte{0xAB});
    f.stage->ReadAllTables();
    for (int i = 0; i < 1024; ++i) ASSERT_EQ(f.stage->Chip16x16Tiles()[i], i < 0x40 ? 0xAB : 0) << i;
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(f.stage->MapSets()[i], i >= 0x100 ? 0xAB : 0) << i;
    for (int i = 0; i < 48; ++i) ASSERT_EQ(f.stage->Map()[i], 0);
    EXPECT_EQ(f.stage->BGPalette(0)[7], 0);     // address -1
    EXPECT_EQ(f.stage->BGPalette(0)[8], 0xAB);  // address 0
    EXPECT_EQ(f.stage->ObjectScreenArray()[0x0F], 0xAB);
    EXPECT_EQ(f.stage->ObjectScreenArray()[0x10], 0);

    std::fill(f.image.begin(), f.image.end(), Byte{0});
    f.stage->SetChip16x16Tile(0x3F, 0x11);
    f.stage->SetChip16x16Tile(0x40, 0x22);
    f.stage->WriteChip16x16Tiles();
    EXPECT_EQ(f.image[kImageCapacity - 1], 0x11);
    f.stage->WriteMapSets();
    f.stage->WriteMap();
    f.stage->WriteBGPalettes();
    f.stage->WritePaletteAnime();
    f.stage->WriteObjects();
    EXPECT_EQ(f.image[kImageCapacity - 1], 0xAB);  // object screen 0x0F, as read, written over the tile
    EXPECT_EQ(f.image[0], 0xAB);                   // palette byte 8 of set 0 landed on address 0
}

TEST(StageObjects, TheScanStopsAtTheFirstOutOfOrderEntry) {
    StageFixture f;
    PutObjects(f, {{0, 1, 2, 3}, {0, 4, 5, 6}, {2, 7, 8, 9}, {1, 10, 11, 12}, {3, 13, 14, 15}, {0xFF, 0, 0, 0}});
    f.stage->ReadObjects();
    EXPECT_EQ(f.stage->ObjectTotal(), 3);
    EXPECT_EQ(f.stage->ScreenObjectCount(0), 2);
    EXPECT_EQ(f.stage->ScreenObjectCount(1), 0);
    EXPECT_EQ(f.stage->ScreenObjectCount(2), 1);
    EXPECT_EQ(f.stage->ScreenObjectCount(3), 0);
    EXPECT_EQ(f.stage->LastObject(2)->kind, 9);

    f.stage->WriteObjects();
    const Byte* img = f.image.data();
    const auto sc = f.At(StageTable::ObjectScreen), x = f.At(StageTable::ObjectX), k = f.At(StageTable::ObjectKind);
    EXPECT_EQ(std::vector<Byte>(img + sc, img + sc + 4), (std::vector<Byte>{0, 0, 2, 0xFF}));
    EXPECT_EQ(std::vector<Byte>(img + x, img + x + 5), (std::vector<Byte>{1, 4, 7, 10, 13}));  // X[3] kept
    EXPECT_EQ(img[k + 4], 15);
    EXPECT_EQ(img[sc + 4], 3);  // entries after the end marker keep their values
    const auto off = f.At(StageTable::ObjectOffset);
    EXPECT_EQ(img[off + 0], 0);
    EXPECT_EQ(img[off + 1], 2);
    EXPECT_EQ(img[off + 2], 2);
    EXPECT_EQ(img[off + 3], 3);
    EXPECT_EQ(img[off + 47], 3);
}

TEST(StageObjects, AFullTableHasNoEndMarkerAndGetsOneBackAfterARemoval) {
    StageFixture f;
    std::vector<std::array<int, 4>> entries;
    for (int i = 0; i < 128; ++i) entries.push_back({i / 3, i, 2 * i, 3 * i});  // screens 0 to 42
    PutObjects(f, entries);
    f.stage->ReadObjects();
    EXPECT_EQ(f.stage->ObjectTotal(), 128);
    EXPECT_EQ(f.stage->AppendObject(47, 1, 1, 1), nullptr);  // the arrays cannot take a 129th
    f.stage->RemoveObject(f.stage->LastObject(10), 10);
    f.stage->WriteObjects();
    const Byte* sc = f.image.data() + f.At(StageTable::ObjectScreen);
    EXPECT_EQ(sc[126], 42);
    EXPECT_EQ(sc[127], 0xFF);
    f.stage->ReadObjects();
    EXPECT_EQ(f.stage->ObjectTotal(), 127);
}

TEST(StageObjects, OffsetsCountTheObjectsOfEarlierScreens) {
    StageFixture f;
    std::fill(f.image.begin(), f.image.end(), Byte{0x55});
    f.stage->ReadObjects();  // screen bytes 0x55: nothing loads
    EXPECT_EQ(f.stage->ObjectTotal(), 0);
    f.stage->WriteObjects();
    const Byte* img = f.image.data();
    for (int j = 0; j < 48; ++j) ASSERT_EQ(img[f.At(StageTable::ObjectOffset) + j], 0);
    EXPECT_EQ(img[f.At(StageTable::ObjectScreen)], 0xFF);
    EXPECT_EQ(img[f.At(StageTable::ObjectScreen) + 1], 0x55);

    f.stage->AppendObject(5, 0x120, 3, 4);  // values keep only their low byte in the image
    f.stage->AppendObject(5, 2, 3, 4);
    f.stage->AppendObject(9, 2, 3, 4);
    f.stage->AppendObject(47, 2, 3, 4);
    f.stage->WriteObjects();
    for (int j = 0; j < 48; ++j) {
        int expected = j <= 5 ? 0 : j <= 9 ? 2 : j <= 47 ? 3 : 4;
        ASSERT_EQ(img[f.At(StageTable::ObjectOffset) + j], expected) << j;
    }
    EXPECT_EQ(img[f.At(StageTable::ObjectX)], 0x20);
    EXPECT_EQ(img[f.At(StageTable::ObjectScreen) + 3], 47);
    EXPECT_EQ(img[f.At(StageTable::ObjectScreen) + 4], 0xFF);
}

TEST(StageObjects, ListOperations) {
    StageFixture f;
    ObjectEntry* a = f.stage->AppendObject(0, 5, 0, 0);
    f.stage->AppendObject(0, 6, 0, 0);
    f.stage->AppendObject(1, 7, 0, 0);
    ObjectEntry* first2 = f.stage->AppendObject(2, 8, 0, 0);
    ObjectEntry* second2 = f.stage->AppendObject(2, 9, 0, 0);
    EXPECT_EQ(f.stage->ObjectNumber(first2, 2), 3);
    EXPECT_EQ(f.stage->ObjectNumber(second2, 2), 4);
    EXPECT_EQ(f.stage->ObjectNumber(a, 0), 0);
    EXPECT_EQ(f.stage->ObjectNumber(first2, 1), -1);  // not in that screen's list
    EXPECT_EQ(f.stage->ObjectNumber(nullptr, 0), -1);

    ObjectEntry stranger;
    f.stage->RemoveObject(&stranger, 2);  // not in the list: nothing happens
    f.stage->RemoveObject(first2, 0);
    EXPECT_EQ(f.stage->ObjectTotal(), 5);
    f.stage->RemoveObject(first2, 2);
    EXPECT_EQ(f.stage->ScreenObjectCount(2), 1);
    EXPECT_EQ(f.stage->LastObject(2), second2);
    EXPECT_EQ(f.stage->ObjectNumber(second2, 2), 3);

    f.stage->ClearScreenObjects(0);
    EXPECT_EQ(f.stage->ScreenObjectCount(0), 0);
    EXPECT_EQ(f.stage->LastObject(0), nullptr);
    EXPECT_EQ(f.stage->ObjectTotal(), 2);

    // Screens outside 0 to 47 are refused everywhere.
    EXPECT_EQ(f.stage->AppendObject(48, 0, 0, 0), nullptr);
    EXPECT_EQ(f.stage->AppendObject(-1, 0, 0, 0), nullptr);
    EXPECT_EQ(f.stage->ScreenObjectCount(48), 0);
    EXPECT_EQ(f.stage->LastObject(-1), nullptr);
    f.stage->SortScreenObjects(99);
    f.stage->ClearScreenObjects(99);
    EXPECT_EQ(f.stage->ObjectTotal(), 2);
}

TEST(StageObjects, SortIsStableByXAndKeepsEveryHandle) {
    StageFixture f;
    ObjectEntry* first30 = f.stage->AppendObject(4, 30, 1, 0);
    ObjectEntry* ten = f.stage->AppendObject(4, 10, 2, 0);
    ObjectEntry* second30 = f.stage->AppendObject(4, 30, 3, 0);
    ObjectEntry* twenty = f.stage->AppendObject(4, 20, 4, 0);
    f.stage->SortScreenObjects(4);
    EXPECT_EQ(Xs(f.stage->ScreenObjects(4)), (std::vector<int>{10, 20, 30, 30}));
    EXPECT_EQ(f.stage->ObjectNumber(ten, 4), 0);
    EXPECT_EQ(f.stage->ObjectNumber(twenty, 4), 1);
    EXPECT_EQ(f.stage->ObjectNumber(first30, 4), 2);
    EXPECT_EQ(f.stage->ObjectNumber(second30, 4), 3);
    EXPECT_EQ(first30->y, 1);
    EXPECT_EQ(second30->y, 3);
}

TEST(StageEdits, ReturnValuesFollowWhetherTheTableChanged) {
    StageFixture f;
    StageData& s = *f.stage;
    EXPECT_FALSE(s.SetChip16x16Tile(5, 0));  // the same value: nothing written, nothing recorded
    EXPECT_FALSE(s.CanUndo());
    EXPECT_TRUE(s.SetChip16x16Tile(1023, 9));
    EXPECT_EQ(s.Chip16x16Tiles()[1023], 9);
    EXPECT_FALSE(s.SetChipProperty(3, 0));
    EXPECT_TRUE(s.SetChipProperty(255, 0x31));
    EXPECT_FALSE(s.SetChip32x32Byte(7, 0));
    EXPECT_TRUE(s.SetChip32x32Byte(7, 1));
    EXPECT_FALSE(s.SetMapSetByte(2047, 0));
    EXPECT_TRUE(s.SetMapSetByte(2047, 4));
    EXPECT_FALSE(s.SetMapEntry(47, 0));
    EXPECT_TRUE(s.SetMapEntry(47, 31));
    EXPECT_FALSE(s.SetPaletteByte(111, 0));
    EXPECT_TRUE(s.SetPaletteByte(111, 0x30));
    EXPECT_EQ(s.BGPalette(6)[15], 0x30);
    EXPECT_FALSE(s.SetPaletteAnimeByte(27, 0));
    EXPECT_TRUE(s.SetPaletteAnimeByte(27, 2));
    EXPECT_EQ(s.PaletteAnime(6)[3], 2);
    EXPECT_EQ(s.UndoDepth(), 7u);

    // The block operations always report a change and always record, even when nothing differs.
    EXPECT_TRUE(s.PasteChip16x16(0, {0, 0, 0, 0, 0}));
    EXPECT_TRUE(s.PasteChip32x32(1020, {0, 0, 0, 0}));
    std::array<Byte, 64> same{};
    std::copy(s.MapSet(31), s.MapSet(31) + 64, same.begin());
    EXPECT_TRUE(s.PasteMapSet(64 * 31, same));
    EXPECT_TRUE(s.GridEditMapSet(64 * 31, same));
    EXPECT_EQ(s.UndoDepth(), 11u);

    // Indexes outside the tables change nothing and record nothing.
    EXPECT_FALSE(s.SetChip16x16Tile(1024, 1));
    EXPECT_FALSE(s.SetChip16x16Tile(-1, 1));
    EXPECT_FALSE(s.SetChipProperty(256, 1));
    EXPECT_FALSE(s.SetChip32x32Byte(1024, 1));
    EXPECT_FALSE(s.SetMapSetByte(2048, 1));
    EXPECT_FALSE(s.SetMapEntry(48, 1));
    EXPECT_FALSE(s.SetPaletteByte(112, 1));
    EXPECT_FALSE(s.SetPaletteAnimeByte(28, 1));
    EXPECT_FALSE(s.PasteChip16x16(256, {1, 1, 1, 1, 1}));
    EXPECT_FALSE(s.PasteChip32x32(1021, {1, 1, 1, 1}));
    EXPECT_FALSE(s.PasteMapSet(2047, same));
    EXPECT_FALSE(s.GridEditMapSet(-64, same));
    EXPECT_EQ(s.UndoDepth(), 11u);
}

TEST(StageEdits, PasteChip16x16WritesTheFourPlanesAndTheAttribute) {
    StageFixture f;
    f.stage->PasteChip16x16(200, {1, 2, 3, 4, 5});
    EXPECT_EQ(f.stage->Chip16x16Tiles()[200], 1);
    EXPECT_EQ(f.stage->Chip16x16Tiles()[256 + 200], 2);
    EXPECT_EQ(f.stage->Chip16x16Tiles()[512 + 200], 3);
    EXPECT_EQ(f.stage->Chip16x16Tiles()[768 + 200], 4);
    EXPECT_EQ(f.stage->ChipProperties()[200], 5);
    EXPECT_EQ(f.stage->Chip16x16Tiles()[201], 0);
}
