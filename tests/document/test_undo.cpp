#include <functional>

#include "doc_test_support.h"
#include "document/MyIniFiles.h"

namespace {

struct UndoFixture {
    UndoFixture() {
        ini = std::make_unique<TMyMemIniFile>(dir / "absent.ini");
        addr = std::make_unique<AddressData>(*ini);
        std::vector<Byte> noise = NoiseImage(kImageCapacity, 21, false);
        std::copy(noise.begin(), noise.end(), image.begin());
        stage = std::make_unique<StageData>(0, image.data(), *addr);
        stage->ReadAllTables();
    }
    TempDir dir;
    std::vector<Byte> image = std::vector<Byte>(kImageCapacity, 0);
    std::unique_ptr<TMyMemIniFile> ini;
    std::unique_ptr<AddressData> addr;
    std::unique_ptr<StageData> stage;
};

// Everything of a stage the history can touch, to compare before and after.
std::vector<Byte> Tables(const StageData& s) {
    std::vector<Byte> v;
    v.insert(v.end(), s.Chip16x16Tiles(), s.Chip16x16Tiles() + 1024);
    v.insert(v.end(), s.ChipProperties(), s.ChipProperties() + 256);
    v.insert(v.end(), s.Chip32x32(), s.Chip32x32() + 1024);
    v.insert(v.end(), s.MapSets(), s.MapSets() + 2048);
    v.insert(v.end(), s.Map(), s.Map() + 48);
    for (int p = 0; p < 7; ++p) {
        v.insert(v.end(), s.BGPalette(p), s.BGPalette(p) + 16);
        v.insert(v.end(), s.PaletteAnime(p), s.PaletteAnime(p) + 4);
    }
    return v;
}

Byte Other(Byte b) {
    return static_cast<Byte>(b ^ 0x5A);
}

}  // namespace

TEST(UndoHistory, EveryKindUndoesAndRedoesWithItsDescription) {
    UndoFixture f;
    StageData& s = *f.stage;
    std::array<Byte, 64> block{};
    for (int i = 0; i < 64; ++i) block[i] = static_cast<Byte>(200 + i);
    struct Case {
        int kind;
        const char* text;
        std::function<bool()> edit;
    };
    const std::vector<Case> cases = {
        {0, "16x16チップの編集", [&] { return s.SetChip16x16Tile(700, Other(s.Chip16x16Tiles()[700])); }},
        {1, "16x16チップの編集(属性・パレット)", [&] { return s.SetChipProperty(9, Other(s.ChipProperties()[9])); }},
        {2, "16x16チップの編集(貼り付け)",
         [&] {
             return s.PasteChip16x16(77, {1, 2, 3, 4, 5});
         }},
        {4, "32x32チップの編集", [&] { return s.SetChip32x32Byte(1001, Other(s.Chip32x32()[1001])); }},
        {5, "32x32チップの編集(貼り付け)",
         [&] {
             return s.PasteChip32x32(4 * 100, {9, 8, 7, 6});
         }},
        {6, "マップセットの編集", [&] { return s.SetMapSetByte(1500, Other(s.MapSets()[1500])); }},
        {7, "マップセットの編集(貼り付け)", [&] { return s.PasteMapSet(64 * 3, block); }},
        {8, "マップセットの編集(グリッド編集)", [&] { return s.GridEditMapSet(64 * 30, block); }},
        {9, "マップの編集", [&] { return s.SetMapEntry(40, Other(s.Map()[40])); }},
        {10, "パレットの編集", [&] { return s.SetPaletteByte(16 * 3 + 5, Other(s.BGPalette(3)[5])); }},
        {11, "パレットアニメの編集", [&] { return s.SetPaletteAnimeByte(4 * 5 + 2, Other(s.PaletteAnime(5)[2])); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        std::vector<Byte> before = Tables(s);
        ASSERT_TRUE(c.edit());
        std::vector<Byte> after = Tables(s);
        ASSERT_NE(before, after);
        EXPECT_STREQ(UndoKindDescription(c.kind), c.text);
        EXPECT_STREQ(s.UndoDescription(), c.text);
        EXPECT_EQ(s.Undo(), c.kind);
        EXPECT_EQ(Tables(s), before);
        EXPECT_FALSE(s.CanUndo());
        ASSERT_TRUE(s.CanRedo());
        EXPECT_STREQ(s.RedoDescription(), c.text);
        EXPECT_EQ(s.Redo(), c.kind);  // the redo step has the same kind
        EXPECT_EQ(Tables(s), after);
        EXPECT_STREQ(s.UndoDescription(), c.text);
        EXPECT_FALSE(s.CanRedo());
        s.ClearHistory();
    }
    EXPECT_STREQ(UndoKindDescription(3), "");
    EXPECT_STREQ(UndoKindDescription(14), "");
}

TEST(UndoHistory, StepsAreNeverMergedAndUndoRestoresOnlyTheLast) {
    UndoFixture f;
    StageData& s = *f.stage;
    const Byte a = s.MapSets()[10], b = s.MapSets()[11], c = s.MapSets()[12];
    s.SetMapSetByte(10, Other(a));
    s.SetMapSetByte(11, Other(b));
    s.SetMapSetByte(12, Other(c));
    EXPECT_EQ(s.UndoDepth(), 3u);
    EXPECT_STREQ(s.UndoDescription(), "マップセットの編集");
    EXPECT_EQ(s.Undo(), kUndoMapSetByte);
    EXPECT_EQ(s.MapSets()[12], c);
    EXPECT_EQ(s.MapSets()[11], Other(b));
    EXPECT_EQ(s.MapSets()[10], Other(a));
    EXPECT_EQ(s.UndoDepth(), 2u);
    EXPECT_EQ(s.RedoDepth(), 1u);
}

TEST(UndoHistory, ANewEditEmptiesTheRedoStack) {
    UndoFixture f;
    StageData& s = *f.stage;
    s.SetMapEntry(0, Other(s.Map()[0]));
    s.SetMapEntry(1, Other(s.Map()[1]));
    s.Undo();
    ASSERT_TRUE(s.CanRedo());
    s.SetPaletteByte(0, Other(s.BGPalette(0)[0]));
    EXPECT_FALSE(s.CanRedo());
    EXPECT_EQ(s.Redo(), kUndoEmpty);
    EXPECT_EQ(s.UndoDepth(), 2u);
    // An edit that changes nothing leaves both stacks alone.
    s.Undo();
    s.SetMapEntry(0, s.Map()[0]);
    EXPECT_TRUE(s.CanRedo());
}

TEST(UndoHistory, EmptyStacksReport14) {
    UndoFixture f;
    const std::vector<Byte> before = Tables(*f.stage);
    EXPECT_EQ(f.stage->Undo(), kUndoEmpty);
    EXPECT_EQ(f.stage->Redo(), 14);
    EXPECT_STREQ(f.stage->UndoDescription(), "");
    EXPECT_EQ(Tables(*f.stage), before);
}

TEST(UndoHistory, PasteUndoThenRedoLeavesThePastedMapSet) {
    UndoFixture f;
    StageData& s = *f.stage;
    std::array<Byte, 64> block{};
    block.fill(0x1F);
    const std::vector<Byte> original(s.MapSet(2), s.MapSet(2) + 64);
    s.PasteMapSet(128, block);
    EXPECT_EQ(s.Undo(), kUndoMapSetPaste);
    EXPECT_EQ(std::vector<Byte>(s.MapSet(2), s.MapSet(2) + 64), original);
    EXPECT_STREQ(s.RedoDescription(), "マップセットの編集(貼り付け)");
    EXPECT_EQ(s.Redo(), kUndoMapSetPaste);
    EXPECT_EQ(std::vector<Byte>(s.MapSet(2), s.MapSet(2) + 64), std::vector<Byte>(64, 0x1F));
}

TEST(UndoHistory, UndoNeverTouchesTheImage) {
    UndoFixture f;
    const std::vector<Byte> image = f.image;
    f.stage->SetMapSetByte(3, Other(f.stage->MapSets()[3]));
    f.stage->PasteChip16x16(1, {0, 0, 0, 0, 0});
    f.stage->Undo();
    f.stage->Undo();
    f.stage->Redo();
    EXPECT_EQ(f.image, image);
}

TEST(UndoHistory, SwitchedOffRecordsNothingButStillEdits) {
    UndoFixture f;
    StageData& s = *f.stage;
    s.SetHistoryEnabled(false);
    EXPECT_TRUE(s.SetMapSetByte(4, Other(s.MapSets()[4])));
    EXPECT_TRUE(s.PasteMapSet(0, {}));
    EXPECT_TRUE(s.SetPaletteAnimeByte(0, Other(s.PaletteAnime(0)[0])));
    EXPECT_EQ(s.MapSets()[4], 0);  // the paste came after the cell edit
    EXPECT_FALSE(s.CanUndo());
    EXPECT_FALSE(s.CanRedo());
    EXPECT_EQ(s.Undo(), kUndoEmpty);
}

TEST(UndoHistory, ReloadingKeepsTheHistoryAndReadAllTablesClearsIt) {
    UndoFixture f;
    StageData& s = *f.stage;
    const Byte old = s.Chip16x16Tiles()[3];
    s.SetChip16x16Tile(3, Other(old));
    s.ReadChip16x16Tiles();
    EXPECT_EQ(s.Chip16x16Tiles()[3], old);
    ASSERT_TRUE(s.CanUndo());
    EXPECT_EQ(s.Undo(), kUndoChip16x16Tile);
    EXPECT_EQ(s.Chip16x16Tiles()[3], old);  // the recorded byte is written back even so
    s.ReadAllTables();
    EXPECT_FALSE(s.CanUndo());
    EXPECT_FALSE(s.CanRedo());
}
