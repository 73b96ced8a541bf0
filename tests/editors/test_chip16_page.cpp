// The 16x16 chip page driven through the real main window on the demo image.

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QScrollBar>

#include "test_chip16_fixture.h"

using namespace chip16test;

namespace {
QList<QRadioButton*> Radios(QWidget* page, const char* group) {
    return page->findChild<QGroupBox*>(group)->findChildren<QRadioButton*>();
}
int CheckedIndex(const QList<QRadioButton*>& radios) {
    for (int i = 0; i < radios.size(); ++i)
        if (radios[i]->isChecked()) return i;
    return -1;
}
QString Hex2(int n) {
    return QString::asprintf("%02X", n);
}
}  // namespace

TEST_F(Chip16PageTest, PageHoldsEveryControlAtItsSize) {
    const std::pair<const char*, QSize> views[] = {{"ImgBGBankTable", {256, 256}},
                                                   {"ImgEdit16x16ChipView", {256, 256}},
                                                   {"ImgEdit16x16Chip", {64, 64}},
                                                   {"ImgSelectTile", {32, 32}}};
    for (const auto& [name, size] : views) {
        TImageEx* v = View(name);
        ASSERT_NE(v, nullptr) << name;
        EXPECT_EQ(v->size(), size) << name;
        EXPECT_EQ(v->Picture().size(), size) << name;
    }
    for (int i = 0; i < 16; ++i) {
        QWidget* panel = Find<QWidget>(QString("PanelPaletteColor%1").arg(i));
        ASSERT_NE(panel, nullptr) << i;
        EXPECT_EQ(panel->size(), QSize(16, 16));
        EXPECT_EQ(Rgb(panel->palette().color(QPalette::Window).rgb()), StageColour(i)) << i;
    }
    for (const char* name :
         {"LblSelectChipIndex", "LblSelectBGBankTileIndex", "LblSelectChipTile0", "LblSelectChipTile1",
          "LblSelectChipTile2", "LblSelectChipTile3", "LblBGBank0", "LblBGBank1", "LblSelectChipProperty",
          "LblSelectScrollIndex", "LblSelectBGLoadDataIndex", "LblSelectBGLoadDataAddress",
          "LblSelectScrollBGLoadIndex", "LblSelectScrollBGLoadAddress"})
        EXPECT_NE(Find<QLabel>(name), nullptr) << name;
    for (const char* name : {"ScrBarBGBank0", "ScrBarBGBank1", "ScrBarSelectScrollIndex"})
        EXPECT_NE(Find<QScrollBar>(name), nullptr) << name;
    auto* scroll = Find<QScrollBar>("ScrBarSelectScrollIndex");
    EXPECT_EQ(scroll->minimum(), 0);
    EXPECT_EQ(scroll->maximum(), 15);

    auto* load = Find<QComboBox>("CBSelectBGloadPoint");
    ASSERT_NE(load, nullptr);
    ASSERT_EQ(load->count(), 3);
    EXPECT_EQ(load->itemText(0), QString::fromUtf8("スタート地点～"));
    EXPECT_EQ(load->itemText(1), QString::fromUtf8("中間1～"));
    EXPECT_EQ(load->itemText(2), QString::fromUtf8("中間2～"));
    EXPECT_EQ(Find<QLineEdit>("EditSelectChipProperty")->maxLength(), 2);
    EXPECT_EQ(Find<QPushButton>("Button1")->text(), QString::fromUtf8("再読み込み"));
    EXPECT_EQ(Find<QPushButton>("BtnUnused16x16ChipChk")->text(), QString::fromUtf8("未使用チップ番号表示"));
    EXPECT_EQ(Find<QPushButton>("BtnUnusedTileChk")->text(), QString::fromUtf8("未使用タイル番号表示"));

    // Without "ChipAttributes.txt" the kind buttons keep their own captions.
    const QList<QRadioButton*> kinds = Radios(Page(), "RGChipPropertySelect");
    ASSERT_EQ(kinds.size(), 16);
    EXPECT_EQ(Find<QGroupBox>("RGChipPropertySelect")->title(), QString::fromUtf8("チップ属性"));
    EXPECT_EQ(kinds[0]->text(), QString::fromUtf8("0x 背景"));
    EXPECT_EQ(kinds[6]->text(), QString::fromUtf8("6x 背景裏に隠れる"));
    EXPECT_EQ(kinds[13]->text(), QString::fromUtf8("Dx ダメージ床"));
    EXPECT_EQ(kinds[15]->text(), QString::fromUtf8("Fx トゲ"));
    const QList<QRadioButton*> pals = Radios(Page(), "RGPaletteSelect");
    ASSERT_EQ(pals.size(), 4);
    EXPECT_EQ(Find<QGroupBox>("RGPaletteSelect")->title(), QString::fromUtf8("使用パレット"));
    for (int p = 0; p < 4; ++p) EXPECT_EQ(pals[p]->text(), QString("x%1").arg(p));

    // After the open: chip 0 and tile 0 are selected and the labels say so.
    const Byte a = Stage().ChipProperties()[0];
    EXPECT_EQ(Label("LblSelectChipIndex"), "00");
    EXPECT_EQ(Label("LblSelectBGBankTileIndex"), "00");
    for (int q = 0; q < 4; ++q)
        EXPECT_EQ(Label(QString("LblSelectChipTile%1").arg(q)), Hex2(Stage().Chip16x16Tiles()[256 * q]));
    EXPECT_EQ(Find<QLineEdit>("EditSelectChipProperty")->text(), Hex2(a));
    EXPECT_EQ(CheckedIndex(kinds), a >> 4);
    EXPECT_EQ(CheckedIndex(pals), a & 3);
    EXPECT_EQ(Label("LblSelectScrollIndex"), "00");
}

class Chip16CaptionsTest : public Chip16PageTest {
protected:
    QStringList AttributeLines() const override {
        return {"A0 tsuchi", QString::fromUtf8("A1 ブロック改"), "A2 & more", "A3", "A4"};
    }
};

TEST_F(Chip16CaptionsTest, FiveLinesReplaceTheFirstFiveKindCaptions) {
    const QList<QRadioButton*> kinds = Radios(Page(), "RGChipPropertySelect");
    ASSERT_EQ(kinds.size(), 16);
    EXPECT_EQ(kinds[0]->text(), "A0 tsuchi");
    EXPECT_EQ(kinds[1]->text(), QString::fromUtf8("A1 ブロック改"));
    EXPECT_EQ(kinds[2]->text().remove('&'), "A2  more");  // shown as "A2 & more", no mnemonic
    EXPECT_EQ(kinds[4]->text(), "A4");
    EXPECT_EQ(kinds[5]->text(), QString::fromUtf8("5x コンベア(右)"));
    EXPECT_EQ(kinds[15]->text(), QString::fromUtf8("Fx トゲ"));
}

TEST_F(Chip16PageTest, ViewsShowTheBankAndTheChipsInTheStageColours) {
    DistinctStagePalette();
    const Byte* bank = C().Bank().Bytes();
    const QImage& table = View("ImgBGBankTable")->Picture();
    const QImage& sheet = View("ImgEdit16x16ChipView")->Picture();
    const QImage& chip = View("ImgEdit16x16Chip")->Picture();
    // The tile table at 2x in view palette 0: every tile, a few pixels each.
    for (int t = 0; t < 256; t += 7)
        for (int p = 0; p < 8; p += 3) {
            const QRgb want = StageColour(TileColour(bank, t, p, 7 - p));
            EXPECT_EQ(Rgb(table.pixel(16 * (t % 16) + 2 * p + 1, 16 * (t / 16) + 2 * (7 - p))), want) << t;
        }
    // The chip sheet at 1:1, each chip in its own palette.
    for (int n = 0; n < 256; n += 5)
        for (int p = 0; p < 16; p += 5)
            EXPECT_EQ(Rgb(sheet.pixel(16 * (n % 16) + p, 16 * (n / 16) + 15 - p)), ExpectedChipPixel(n, p, 15 - p))
                << n;
    // The enlarged chip (chip 0) at 4x.
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(Rgb(chip.pixel(4 * p + 2, 4 * (15 - p) + 1)), ExpectedChipPixel(0, p, 15 - p));
}

TEST_F(Chip16PageTest, TileTableSelectsTilesAndCyclesItsPalette) {
    DistinctStagePalette();
    Click("ImgBGBankTable", Qt::LeftButton, 16 * 5 + 3, 16 * 2 + 9);  // tile 0x25
    EXPECT_EQ(C().SelectedTile(), 0x25);
    EXPECT_EQ(Label("LblSelectBGBankTileIndex"), "25");
    const Byte* bank = C().Bank().Bytes();
    const QImage& preview = View("ImgSelectTile")->Picture();
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(Rgb(preview.pixel(4 * p + 1, 4 * p + 2)), StageColour(TileColour(bank, 0x25, p, p)));

    // Find a pixel of colour 1 and one of colour 3 so that each palette shows in the table.
    int tile = -1, px = 0, py = 0;
    for (int t = 0; t < 256 && tile < 0; ++t)
        for (int i = 0; i < 64 && tile < 0; ++i)
            if (TileColour(bank, t, i % 8, i / 8) == 3) tile = t, px = i % 8, py = i / 8;
    ASSERT_GE(tile, 0) << "the demo bank has a tile with colour 3";
    const QImage& table = View("ImgBGBankTable")->Picture();
    const QPoint at(16 * (tile % 16) + 2 * px, 16 * (tile / 16) + 2 * py);
    for (int i = 1; i <= 4; ++i) {
        Click("ImgBGBankTable", Qt::RightButton, 200, 200);
        EXPECT_EQ(C().ViewPalette(), i % 4);
        EXPECT_EQ(Rgb(table.pixel(at)), StageColour(4 * (i % 4) + 3)) << i;
        EXPECT_EQ(Rgb(preview.pixel(4 * 0, 4 * 0)), StageColour(4 * (i % 4) + TileColour(bank, 0x25, 0, 0))) << i;
    }
    // A right click selects nothing and edits nothing.
    EXPECT_EQ(C().SelectedTile(), 0x25);
    EXPECT_FALSE(form_->Rom().CanUndo());
}

TEST_F(Chip16PageTest, ChipViewSelectsChipsAndPicksTilesFromQuarters) {
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 3 + 4, 16 * 4 + 12);  // chip 0x43
    EXPECT_EQ(C().SelectedChip(), 0x43);
    EXPECT_EQ(Label("LblSelectChipIndex"), "43");
    const Byte* tiles = Stage().Chip16x16Tiles();
    const Byte a = Stage().ChipProperties()[0x43];
    for (int q = 0; q < 4; ++q) EXPECT_EQ(Label(QString("LblSelectChipTile%1").arg(q)), Hex2(tiles[256 * q + 0x43]));
    EXPECT_EQ(Find<QLineEdit>("EditSelectChipProperty")->text(), Hex2(a));
    EXPECT_EQ(Label("LblSelectChipProperty"), QString("(%1 + %2)").arg(Hex2(a & 0xFC)).arg(a & 3));
    EXPECT_EQ(CheckedIndex(Radios(Page(), "RGChipPropertySelect")), a >> 4);
    EXPECT_EQ(CheckedIndex(Radios(Page(), "RGPaletteSelect")), a & 3);
    const QImage& big = View("ImgEdit16x16Chip")->Picture();
    for (int p = 0; p < 16; ++p) EXPECT_EQ(Rgb(big.pixel(4 * p, 4 * p + 3)), ExpectedChipPixel(0x43, p, p));

    // Right clicks pick the tile of the quarter under the mouse.
    struct Pick {
        int x, y, chip, quarter;
    };
    for (const Pick& pick : {Pick{29, 3, 1, 1}, Pick{29, 25, 17, 3}, Pick{21, 9, 1, 2}, Pick{2, 2, 0, 0}}) {
        Click("ImgEdit16x16ChipView", Qt::RightButton, pick.x, pick.y);
        const int want = tiles[256 * pick.quarter + pick.chip];
        EXPECT_EQ(C().SelectedTile(), want) << pick.x << "," << pick.y;
        EXPECT_EQ(Label("LblSelectBGBankTileIndex"), Hex2(want));
    }
    EXPECT_EQ(C().SelectedChip(), 0x43);  // picking does not select the chip

    // Right clicks on the enlarged chip pick the tiles of the selected chip.
    Click("ImgEdit16x16Chip", Qt::RightButton, 40, 50);
    EXPECT_EQ(C().SelectedTile(), tiles[256 * 3 + 0x43]);
    Click("ImgEdit16x16Chip", Qt::RightButton, 10, 50);
    EXPECT_EQ(C().SelectedTile(), tiles[256 * 2 + 0x43]);
    EXPECT_FALSE(form_->Rom().CanUndo());
}

TEST_F(Chip16PageTest, PuttingATileEditsOneQuarterWithOneUndoStep) {
    DistinctStagePalette();
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 2 + 1, 1);  // chip 2
    const int old = Stage().Chip16x16Tiles()[256 * 1 + 2];
    const int tile = (old + 0x11) & 0xFF;
    Click("ImgBGBankTable", Qt::LeftButton, 16 * (tile % 16) + 1, 16 * (tile / 16) + 1);
    EXPECT_FALSE(Modified());
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U)"));

    Click("ImgEdit16x16Chip", Qt::LeftButton, 40, 10);  // quarter 1, top right
    EXPECT_EQ(Stage().Chip16x16Tiles()[256 * 1 + 2], tile);
    EXPECT_EQ(Label("LblSelectChipTile1"), Hex2(tile));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(form_->StatusText(0), QString::fromUtf8("変更あり"));
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U) - 16x16チップの編集"));
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    // The sheet, the chip view and the enlarged chip show the new tile.
    const QImage& sheet = View("ImgEdit16x16ChipView")->Picture();
    const QImage& big = View("ImgEdit16x16Chip")->Picture();
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(Rgb(sheet.pixel(32 + 8 + p, p)), ExpectedChipPixel(2, 8 + p, p));
        EXPECT_EQ(Rgb(G().ChipSheet16().Image().pixel(32 + 8 + p, p)), ExpectedChipPixel(2, 8 + p, p));
        EXPECT_EQ(Rgb(big.pixel(4 * (8 + p) + 1, 4 * p + 1)), ExpectedChipPixel(2, 8 + p, p));
    }
    // The same tile again records nothing.
    Click("ImgEdit16x16Chip", Qt::LeftButton, 33, 31);
    EXPECT_EQ(Stage().UndoDepth(), 1u);

    // Undo puts the old tile back and the page shows it.
    form_->Undo1Click();
    EXPECT_EQ(Stage().Chip16x16Tiles()[256 * 1 + 2], old);
    EXPECT_EQ(Label("LblSelectChipTile1"), Hex2(old));
    EXPECT_EQ(Rgb(sheet.pixel(32 + 9, 1)), ExpectedChipPixel(2, 9, 1));
    EXPECT_TRUE(Modified());  // undo leaves the flag alone

    // The saved file holds the edit.
    Click("ImgEdit16x16Chip", Qt::LeftButton, 40, 10);
    ASSERT_TRUE(form_->Save1Click());
    QFile f(romPath_);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray saved = f.readAll();
    const int addr = form_->Rom().Addresses().TableAddress(StageTable::Chip16x16, 0);
    ASSERT_GT(saved.size(), addr + 1024);
    EXPECT_EQ(Byte(saved[addr + 256 + 2]), tile);
    EXPECT_FALSE(Modified());
}

TEST_F(Chip16PageTest, CopyAndPasteMoveWholeChipsAsOneStep) {
    DistinctStagePalette();
    // Paste before any copy: four tiles 00 and attribute 00.
    bool allZero = Stage().ChipProperties()[0x17] == 0;
    for (int q = 0; q < 4; ++q) allZero = allZero && Stage().Chip16x16Tiles()[256 * q + 0x17] == 0;
    ASSERT_FALSE(allZero) << "chip 17 of the demo image must not be empty";
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 7 + 5, 16 * 1 + 5, Qt::ControlModifier);  // chip 0x17
    for (int q = 0; q < 4; ++q) EXPECT_EQ(Stage().Chip16x16Tiles()[256 * q + 0x17], 0) << q;
    EXPECT_EQ(Stage().ChipProperties()[0x17], 0);
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U) - 16x16チップの編集(貼り付け)"));
    EXPECT_TRUE(Modified());
    const QImage& sheet = View("ImgEdit16x16ChipView")->Picture();
    EXPECT_EQ(Rgb(sheet.pixel(16 * 7 + 3, 16 + 12)), ExpectedChipPixel(0x17, 3, 12));

    // Pasting over a chip that already equals the copied one records nothing.
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 7 + 5, 16 * 1 + 5, Qt::ControlModifier);
    EXPECT_EQ(Stage().UndoDepth(), 1u);

    // Copy chip 0x21 (Ctrl + right), paste into chip 0x05, which is the chip being edited.
    std::array<Byte, 5> src{};
    for (int q = 0; q < 4; ++q) src[q] = Stage().Chip16x16Tiles()[256 * q + 0x21];
    src[4] = Stage().ChipProperties()[0x21];
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 5, 0);
    Click("ImgEdit16x16ChipView", Qt::RightButton, 16 * 1 + 15, 16 * 2 + 15, Qt::ControlModifier);
    EXPECT_EQ(C().CopiedChip(), src);
    EXPECT_EQ(C().SelectedTile(), 0);  // a copy picks no tile
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 5 + 15, 15, Qt::ControlModifier);
    for (int q = 0; q < 4; ++q) EXPECT_EQ(Stage().Chip16x16Tiles()[256 * q + 5], src[q]);
    EXPECT_EQ(Stage().ChipProperties()[5], src[4]);
    EXPECT_EQ(Stage().UndoDepth(), 2u);
    EXPECT_EQ(Label("LblSelectChipTile3"), Hex2(src[3]));
    EXPECT_EQ(Find<QLineEdit>("EditSelectChipProperty")->text(), Hex2(src[4]));
    for (int p = 0; p < 16; ++p) {
        EXPECT_EQ(Rgb(sheet.pixel(16 * 5 + p, 15 - p)), ExpectedChipPixel(5, p, 15 - p));
        EXPECT_EQ(Rgb(View("ImgEdit16x16Chip")->Picture().pixel(4 * p, 4 * (15 - p))), ExpectedChipPixel(5, p, 15 - p));
    }
    // One undo restores all five bytes.
    form_->Undo1Click();
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    EXPECT_NE(C().CopiedChip(), (std::array<Byte, 5>{}));

    // The copied chip survives a stage change.
    auto* stages = form_->findChild<QComboBox*>("CBStage");
    ASSERT_NE(stages, nullptr);
    stages->setCurrentIndex(3);
    ASSERT_EQ(form_->Rom().CurrentStage(), 3);
    EXPECT_EQ(C().CopiedChip(), src);
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 9 + 1, 16 * 9 + 1, Qt::ControlModifier);  // chip 0x99
    for (int q = 0; q < 4; ++q) EXPECT_EQ(form_->Rom().StageAt(3).Chip16x16Tiles()[256 * q + 0x99], src[q]);
    EXPECT_TRUE(form_->Flags().IsModified(ModifiedCategory::Chip16x16, 3));
}

TEST_F(Chip16PageTest, TypingTheAttribute) {
    DistinctStagePalette();
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 8 + 2, 16 * 3 + 2);  // chip 0x38
    // Start from attribute 00 so "13" is a change.
    Stage().SetChipProperty(0x38, 0x00);
    Stage().ClearHistory();
    form_->RefreshActivePage();
    auto* edit = Find<QLineEdit>("EditSelectChipProperty");
    ASSERT_EQ(edit->text(), "00");

    TypeAttribute("1");
    EXPECT_EQ(edit->text(), "1");
    EXPECT_EQ(Stage().ChipProperties()[0x38], 0x00);
    EXPECT_FALSE(form_->Rom().CanUndo());

    QTest::keyClicks(edit, "3");
    EXPECT_EQ(Stage().ChipProperties()[0x38], 0x13);
    EXPECT_EQ(edit->text(), "13");
    EXPECT_EQ(Label("LblSelectChipProperty"), "(10 + 3)");
    EXPECT_EQ(CheckedIndex(Radios(Page(), "RGChipPropertySelect")), 1);
    EXPECT_EQ(CheckedIndex(Radios(Page(), "RGPaletteSelect")), 3);
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U) - 16x16チップの編集(属性・パレット)"));
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    EXPECT_TRUE(Modified());
    // The chip is drawn in palette 3 now, in the sheet and enlarged.
    for (int p = 0; p < 16; ++p) {
        EXPECT_EQ(Rgb(View("ImgEdit16x16ChipView")->Picture().pixel(16 * 8 + p, 16 * 3 + p)),
                  ExpectedChipPixel(0x38, p, p));
        EXPECT_EQ(G().ChipSheet16().Pixel(16 * 8 + p, 16 * 3 + p) / 4, 3);
        EXPECT_EQ(Rgb(View("ImgEdit16x16Chip")->Picture().pixel(4 * p + 3, 4 * p)), ExpectedChipPixel(0x38, p, p));
    }

    // Not hexadecimal: the field shows the attribute again and nothing is recorded.
    TypeAttribute("G1");
    EXPECT_EQ(edit->text(), "13");
    EXPECT_EQ(Stage().ChipProperties()[0x38], 0x13);
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    // Neither are a blank or a sign.
    TypeAttribute("+1");
    EXPECT_EQ(edit->text(), "13");
    TypeAttribute(" 1");
    EXPECT_EQ(edit->text(), "13");
    // The same value in lower case: refreshed to upper case, nothing recorded.
    Stage().SetChipProperty(0x38, 0xAF);
    form_->RefreshActivePage();
    TypeAttribute("af");
    EXPECT_EQ(edit->text(), "AF");
    EXPECT_EQ(Stage().UndoDepth(), 2u);
}

TEST_F(Chip16PageTest, RadioGroupsChangeKindAndPaletteButNotWhenAlreadyShown) {
    DistinctStagePalette();
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 4 + 8, 8);  // chip 4
    Stage().SetChipProperty(4, 0x26);                              // kind 2, sub-kind 1, palette 2
    Stage().ClearHistory();
    form_->RefreshActivePage();
    const QList<QRadioButton*> kinds = Radios(Page(), "RGChipPropertySelect");
    const QList<QRadioButton*> pals = Radios(Page(), "RGPaletteSelect");
    ASSERT_TRUE(kinds[2]->isChecked());
    ASSERT_TRUE(pals[2]->isChecked());

    // The kind and the palette already shown: nothing recorded, nothing marked.
    QTest::mouseClick(kinds[2], Qt::LeftButton, Qt::NoModifier, QPoint(6, kinds[2]->height() / 2));
    QTest::mouseClick(pals[2], Qt::LeftButton, Qt::NoModifier, QPoint(6, pals[2]->height() / 2));
    EXPECT_FALSE(form_->Rom().CanUndo());
    EXPECT_FALSE(Modified());

    // Another kind keeps the low four bits.
    QTest::mouseClick(kinds[13], Qt::LeftButton, Qt::NoModifier, QPoint(6, kinds[13]->height() / 2));
    EXPECT_EQ(Stage().ChipProperties()[4], 0xD6);
    EXPECT_EQ(Find<QLineEdit>("EditSelectChipProperty")->text(), "D6");
    EXPECT_EQ(Label("LblSelectChipProperty"), "(D4 + 2)");
    EXPECT_TRUE(Modified());
    EXPECT_EQ(kinds[13]->window()->focusWidget(), kinds[13]);
    EXPECT_EQ(Stage().UndoDepth(), 1u);

    // Another palette keeps the upper six bits and redraws the chip.
    QTest::mouseClick(pals[1], Qt::LeftButton, Qt::NoModifier, QPoint(6, pals[1]->height() / 2));
    EXPECT_EQ(Stage().ChipProperties()[4], 0xD5);
    EXPECT_EQ(Label("LblSelectChipProperty"), "(D4 + 1)");
    EXPECT_EQ(Stage().UndoDepth(), 2u);
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U) - 16x16チップの編集(属性・パレット)"));
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(Rgb(View("ImgEdit16x16ChipView")->Picture().pixel(16 * 4 + p, 15 - p)),
                  ExpectedChipPixel(4, p, 15 - p));

    // Undo sets the radio groups back without recording anything.
    form_->Undo1Click();
    EXPECT_TRUE(kinds[13]->isChecked());
    EXPECT_TRUE(pals[2]->isChecked());
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    EXPECT_EQ(Stage().RedoDepth(), 1u);
}

TEST_F(Chip16PageTest, LoadPointAndScrollNumberReassembleTheBank) {
    auto* stages = form_->findChild<QComboBox*>("CBStage");
    stages->setCurrentIndex(2);
    ASSERT_EQ(form_->Rom().CurrentStage(), 2);
    auto* load = Find<QComboBox>("CBSelectBGloadPoint");
    auto* scroll = Find<QScrollBar>("ScrBarSelectScrollIndex");
    EXPECT_EQ(load->currentIndex(), 0);

    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 6, 16 * 6);  // chip 0x66
    Click("ImgBGBankTable", Qt::LeftButton, 16 * 3, 16 * 3);        // tile 0x33
    Click("ImgBGBankTable", Qt::RightButton, 16 * 3, 16 * 3);       // view palette 1
    load->setCurrentIndex(1);
    EXPECT_EQ(C().LoadPoint(), 1);
    EXPECT_EQ(C().SelectedChip(), 0);
    EXPECT_EQ(C().SelectedTile(), 0);
    EXPECT_EQ(C().ViewPalette(), 0);
    EXPECT_EQ(Label("LblSelectChipIndex"), "00");

    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 6, 16 * 6);
    scroll->setValue(3);
    EXPECT_EQ(C().ScrollNumber(), 3);
    EXPECT_EQ(Label("LblSelectScrollIndex"), "03");
    EXPECT_EQ(C().SelectedChip(), 0);
    EXPECT_EQ(Label("LblSelectChipIndex"), "00");

    BgBank ref(form_->Rom());
    ref.Assemble(2, 1, 3);
    EXPECT_EQ(Label("LblSelectBGLoadDataIndex"), ref.LastReport().initialSet);
    EXPECT_EQ(Label("LblSelectBGLoadDataAddress"), ref.LastReport().initialAddress);
    EXPECT_EQ(Label("LblSelectScrollBGLoadIndex"), ref.LastReport().scrollSet);
    EXPECT_EQ(Label("LblSelectScrollBGLoadAddress"), ref.LastReport().scrollAddress);
    EXPECT_TRUE(std::equal(ref.Bytes(), ref.Bytes() + BgBank::kSize, C().Bank().Bytes()));
    // The tile table shows the new bank.
    const QImage& table = View("ImgBGBankTable")->Picture();
    for (int t = 0; t < 256; t += 3)
        EXPECT_EQ(Rgb(table.pixel(16 * (t % 16) + 9, 16 * (t / 16) + 5)),
                  StageColour(TileColour(ref.Bytes(), t, 4, 2)));

    // Moving the scroll bar to where it is changes nothing.
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 6, 16 * 6);
    scroll->setValue(3);
    EXPECT_EQ(C().SelectedChip(), 0x66);

    // Another stage starts again from the start with scroll number 0.
    stages->setCurrentIndex(5);
    EXPECT_EQ(load->currentIndex(), 0);
    EXPECT_EQ(scroll->value(), 0);
    EXPECT_EQ(C().LoadPoint(), 0);
    EXPECT_EQ(C().ScrollNumber(), 0);
    EXPECT_EQ(Label("LblSelectScrollIndex"), "00");
    BgBank ref5(form_->Rom());
    ref5.Assemble(5, 0, 0);
    EXPECT_TRUE(std::equal(ref5.Bytes(), ref5.Bytes() + BgBank::kSize, C().Bank().Bytes()));
    EXPECT_EQ(Label("LblSelectBGLoadDataIndex"), "05");
    EXPECT_FALSE(form_->Rom().CanUndo());
}

TEST_F(Chip16PageTest, ReloadAsksAndKeepsTheUndoHistory) {
    const Byte before = Stage().Chip16x16Tiles()[9];
    Click("ImgEdit16x16ChipView", Qt::LeftButton, 16 * 9, 0);
    Click("ImgBGBankTable", Qt::LeftButton, 16 * ((before + 1) % 16), 16 * (((before + 1) & 0xFF) / 16));
    Click("ImgEdit16x16Chip", Qt::LeftButton, 5, 5);
    TypeAttribute(Hex2(Stage().ChipProperties()[9] ^ 0x40));
    ASSERT_EQ(Stage().UndoDepth(), 2u);
    ASSERT_NE(Stage().Chip16x16Tiles()[9], before);

    auto* reload = Find<QPushButton>("Button1");
    prompts_.yesNoAnswers = {false};
    QTest::mouseClick(reload, Qt::LeftButton);
    ASSERT_EQ(prompts_.log.size(), 1);
    EXPECT_EQ(prompts_.log.last(),
              QString::fromUtf8("yesno:このステージのチップ・BGバンクを読み込み直します。よろしいですか？"));
    EXPECT_NE(Stage().Chip16x16Tiles()[9], before);
    EXPECT_EQ(C().SelectedChip(), 9);

    prompts_.yesNoAnswers = {true};
    QTest::mouseClick(reload, Qt::LeftButton);
    EXPECT_EQ(prompts_.log.size(), 2);
    EXPECT_EQ(Stage().Chip16x16Tiles()[9], before);
    EXPECT_EQ(C().SelectedChip(), 0);
    EXPECT_EQ(Stage().UndoDepth(), 2u);  // the history stays
    EXPECT_TRUE(Modified());             // and so does the flag
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U) - 16x16チップの編集(属性・パレット)"));
}

TEST_F(Chip16PageTest, HoverOutlinesFollowTheMouse) {
    DistinctStagePalette();
    const QRgb magenta = 0xFF00FF;
    TImageEx* table = View("ImgBGBankTable");
    Move("ImgBGBankTable", 16 * 2 + 5, 16 * 1 + 5);  // tile 0x12
    EXPECT_EQ(form_->StatusText(1), QString::fromUtf8("タイルNo:12"));
    EXPECT_EQ(Rgb(table->Picture().pixel(32, 16)), magenta);
    EXPECT_EQ(Rgb(table->Picture().pixel(47, 31)), magenta);
    EXPECT_NE(Rgb(table->Picture().pixel(40, 24)), magenta);
    Move("ImgBGBankTable", 16 * 3 + 5, 16 * 1 + 5);  // tile 0x13: the old cell is clean again
    const Byte* bank = C().Bank().Bytes();
    EXPECT_EQ(Rgb(table->Picture().pixel(32, 16)), StageColour(TileColour(bank, 0x12, 0, 0)));
    EXPECT_EQ(Rgb(table->Picture().pixel(48, 16)), magenta);

    TImageEx* sheet = View("ImgEdit16x16ChipView");
    Move("ImgEdit16x16ChipView", 16 * 15 + 15, 16 * 15 + 15);  // chip 0xFF
    EXPECT_EQ(form_->StatusText(1), QString::fromUtf8("16x16チップNo:FF"));
    EXPECT_EQ(Rgb(sheet->Picture().pixel(255, 255)), magenta);
    EXPECT_EQ(Rgb(sheet->Picture().pixel(240, 240)), magenta);
    // Leaving the tile table cleaned its last cell.
    EXPECT_EQ(Rgb(table->Picture().pixel(48, 16)), StageColour(TileColour(bank, 0x13, 0, 0)));

    TImageEx* big = View("ImgEdit16x16Chip");
    Move("ImgEdit16x16Chip", 40, 40);  // quarter 3
    EXPECT_EQ(Rgb(big->Picture().pixel(32, 32)), magenta);
    EXPECT_EQ(Rgb(big->Picture().pixel(63, 63)), magenta);
    EXPECT_EQ(Rgb(sheet->Picture().pixel(255, 255)), ExpectedChipPixel(0xFF, 15, 15));
    EXPECT_EQ(form_->StatusText(1), QString());
    Move("ImgEdit16x16Chip", 10, 40);  // quarter 2
    EXPECT_EQ(Rgb(big->Picture().pixel(0, 32)), magenta);
    EXPECT_EQ(Rgb(big->Picture().pixel(63, 63)), ExpectedChipPixel(0, 15, 15));

    // Leaving for a place outside every view clears the outline.
    QTest::mouseMove(Find<QPushButton>("Button1"), QPoint(3, 3));
    EXPECT_EQ(Rgb(big->Picture().pixel(0, 32)), ExpectedChipPixel(0, 0, 8));
}

TEST_F(Chip16PageTest, RecolouringDecodesNothingButActivateRedraws) {
    DistinctStagePalette();
    Move("ImgEdit16x16ChipView", 16 * 2 + 3, 3);  // hover on chip 2
    IndexedBitmap& sheet = G().ChipSheet16();
    IndexedBitmap& tiles = C().TileSurface();
    // Marks no decode would write: a chip pixel of the wrong palette and a tile pixel of the wrong colour.
    const int chipPixel = (sheet.Pixel(5, 6) + 4) % 16;
    const int tilePixel = (tiles.Pixel(1, 1) + 1) % 4;
    sheet.Row(6)[5] = Byte(chipPixel);
    tiles.Row(1)[1] = Byte(tilePixel);

    // A palette-animation step changes some colours; the tick recolours the page.
    for (int i = 0; i < 16; ++i) G().SetStagePaletteEntry(i, (0x30 - 2 * i) & 0x3F);
    const std::uint64_t decodes = G().TileDecodeCount();
    C().RefreshColours();
    EXPECT_EQ(G().TileDecodeCount(), decodes);
    EXPECT_EQ(sheet.Pixel(5, 6), chipPixel);
    EXPECT_EQ(tiles.Pixel(1, 1), tilePixel);
    EXPECT_EQ(Rgb(View("ImgEdit16x16ChipView")->Picture().pixel(5, 6)), StageColour(chipPixel));
    EXPECT_EQ(Rgb(View("ImgBGBankTable")->Picture().pixel(2, 3)), StageColour(tilePixel));
    EXPECT_EQ(Rgb(View("ImgEdit16x16Chip")->Picture().pixel(4 * 5 + 1, 4 * 6 + 2)), StageColour(chipPixel));
    EXPECT_EQ(Rgb(View("ImgEdit16x16ChipView")->Picture().pixel(32, 0)), 0xFF00FFu);  // outline kept
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(Rgb(Find<QWidget>(QString("PanelPaletteColor%1").arg(i))->palette().color(QPalette::Window).rgb()),
                  StageColour(i));

    // Activating the page (switching tabs) draws the sheet and the tile surface again.
    form_->PageControl()->setCurrentIndex(kPagePalette);
    form_->PageControl()->setCurrentIndex(kPage16x16Chip);
    EXPECT_GE(G().TileDecodeCount(), decodes + 256 * 4 + 256);  // the sheet's chips and the tile table
    EXPECT_EQ(Rgb(View("ImgEdit16x16ChipView")->Picture().pixel(5, 6)), ExpectedChipPixel(0, 5, 6));
    EXPECT_NE(tiles.Pixel(1, 1), tilePixel);
}

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
