// The map set page driven through the real main window on the demo image: painting, picking, copying and
// pasting, the page scroll bars, hover outlines and status texts, reload, the grid option, colour refresh,
// and the duplicate chip replacement.

#include "test_mapset_fixture.h"

using namespace mapsettest;

namespace {

const char* kPaintUndo = "マップセットの編集";
const char* kPasteUndo = "マップセットの編集(貼り付け)";

TEST_F(MapSetPageTest, ControlsAfterOpenShowMapSets0And1AndChip0) {
    EXPECT_EQ(Label("LblMapSetPage0"), "00");
    EXPECT_EQ(Label("LblMapSetPage1"), "01");
    EXPECT_EQ(Label("LblMapSetSelect32x32ChipIndex"), "00");
    EXPECT_EQ(PageView(0)->Tag(), 0);
    EXPECT_EQ(PageView(1)->Tag(), 1);
    EXPECT_EQ(PageView(0)->size(), QSize(256, 256));
    EXPECT_EQ(Table()->size(), QSize(256, 256));
    EXPECT_EQ(Find<TImageEx>("ImgSelect32x32Chip")->size(), QSize(64, 64));
    EXPECT_EQ(Bar("ScrBarMapSet")->minimum(), 0);
    EXPECT_EQ(Bar("ScrBarMapSet")->maximum(), 30);
    EXPECT_EQ(Bar("ScrBarSelectPage0")->maximum(), 31);
    EXPECT_EQ(Bar("ScrBarSelectPage1")->maximum(), 31);
    EXPECT_EQ(Bar("ScrBarSelectPage0")->value(), 0);
    EXPECT_EQ(Bar("ScrBarSelectPage1")->value(), 1);
    EXPECT_EQ(Find<QPushButton>("Button3")->text(), QString::fromUtf8("再読み込み"));
    EXPECT_EQ(Find<QPushButton>("BtnReplaceMapSetChip")->text(), QString::fromUtf8("重複チップを置換"));
    EXPECT_EQ(GridBox()->text(), QString::fromUtf8("グリッド線の描画"));
    EXPECT_FALSE(GridBox()->isChecked());
    EXPECT_TRUE(PageShows(0, 0));
    EXPECT_TRUE(PageShows(1, 1));
    // The table is the chip sheet at half size, chip n at ((n mod 16) x 16, (n div 16) x 16).
    for (int chip : {0x00, 0x11, 0x5A, 0xFF})
        EXPECT_TRUE(ShowsChip(Table()->Picture(), 16 * (chip % 16), 16 * (chip / 16), 16, chip));
    // The selected chip at double size, with its four 16x16 chips and their attribute names.
    EXPECT_TRUE(ShowsChip(Find<TImageEx>("ImgSelect32x32Chip")->Picture(), 0, 0, 64, 0));
    for (int i = 0; i < 4; ++i) {
        const int q = Stage().Chip32x32()[i];
        EXPECT_EQ(Label(QString("LblMapSetStructChipIndex%1").arg(i)), Hex2(q));
        EXPECT_EQ(Label(QString("LblMapSetStructChipProperty%1").arg(i)),
                  G().ChipAttributeName(Stage().ChipProperties()[q]));
    }
}

TEST_F(MapSetPageTest, TableClickSelectsChipAndRightClickOnPagePicks) {
    const int chip = 0x23;
    ClickTable(chip);
    EXPECT_EQ(C().SelectedChip(), chip);
    EXPECT_EQ(form_->Links().mapSetSelectedChip, chip);
    EXPECT_EQ(Label("LblMapSetSelect32x32ChipIndex"), "23");
    EXPECT_TRUE(ShowsChip(Find<TImageEx>("ImgSelect32x32Chip")->Picture(), 0, 0, 64, chip));
    for (int i = 0; i < 4; ++i) {
        const int q = Stage().Chip32x32()[4 * chip + i];
        EXPECT_EQ(Label(QString("LblMapSetStructChipIndex%1").arg(i)), Hex2(q));
        EXPECT_EQ(Label(QString("LblMapSetStructChipProperty%1").arg(i)),
                  G().ChipAttributeName(Stage().ChipProperties()[q]));
    }
    // Right button on the table does nothing.
    QTest::mouseClick(Table(), Qt::RightButton, Qt::NoModifier, QPoint(8, 8));
    EXPECT_EQ(C().SelectedChip(), chip);

    // Pick on page 1 (map set 1), cell (5, 6); Shift with the right button picks as well.
    ClickCell(1, Qt::RightButton, 5, 6);
    EXPECT_EQ(C().SelectedChip(), Cell(1, 6 * 8 + 5));
    EXPECT_EQ(Label("LblMapSetSelect32x32ChipIndex"), Hex2(Cell(1, 6 * 8 + 5)));
    ClickCell(0, Qt::RightButton, 2, 7, Qt::ShiftModifier);
    EXPECT_EQ(C().SelectedChip(), Cell(0, 7 * 8 + 2));
    EXPECT_FALSE(Modified());
    EXPECT_FALSE(Stage().CanUndo());
}

TEST_F(MapSetPageTest, PaintWritesOneByteRecordsUndoAndRedrawsOnlyThatCell) {
    const int cell = 3 * 8 + 2;
    const int chip = ChipLookingUnlike(Cell(0, cell));
    ASSERT_GE(chip, 0);
    SelectChip(chip);
    // A marker in another cell shows whether the page was drawn again as a whole.
    QImage& pic = PageView(0)->Picture();
    pic.setPixel(200, 200, qRgb(1, 2, 3));
    const Bytes64 before = SetBytes(0);

    ClickCell(0, Qt::LeftButton, 2, 3);
    EXPECT_EQ(Cell(0, cell), chip);
    for (int i = 0; i < 64; ++i) {
        if (i == cell) continue;
        EXPECT_EQ(Cell(0, i), before[i]) << i;
    }
    EXPECT_EQ(Rgb(pic.pixel(200, 200)), qRgb(1, 2, 3) & 0xFFFFFFu) << "the page was redrawn whole";
    EXPECT_TRUE(ShowsChip(pic, 64, 96, 32, chip));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(form_->StatusText(0), QString::fromUtf8("変更あり"));
    EXPECT_EQ(UndoCaption(), UndoText(kPaintUndo));
    EXPECT_EQ(Stage().UndoDepth(), 1u);

    // The same chip again records nothing.
    ClickCell(0, Qt::LeftButton, 2, 3);
    EXPECT_EQ(Stage().UndoDepth(), 1u);

    // Undo puts the byte back and the page shows it.
    form_->Undo1Click();
    EXPECT_EQ(Cell(0, cell), before[cell]);
    EXPECT_TRUE(PageShows(0, 0));
}

TEST_F(MapSetPageTest, PaintKeepsTheHoverOutlineAndTheGrid) {
    GridBox()->setChecked(true);
    ASSERT_TRUE(GridShown(0));
    const int chip = ChipLookingUnlike(Cell(0, 9));
    SelectChip(chip);
    QTest::mouseMove(PageView(0), QPoint(32 + 10, 32 + 10));
    ClickCell(0, Qt::LeftButton, 1, 1);
    ASSERT_EQ(Cell(0, 9), chip);
    const QImage& pic = PageView(0)->Picture();
    const QRgb magenta = Rgb(G().MasterColor(EditorGraphics::kMagenta));
    // The outline of the painted cell is drawn again over the new chip, the grid lines around it too.
    EXPECT_EQ(Rgb(pic.pixel(32 + 31, 32 + 15)), magenta);
    EXPECT_EQ(Rgb(pic.pixel(32 + 15, 32 + 31)), magenta);
    for (int y = 33; y < 63; ++y)
        for (int x = 33; x < 63; ++x) ASSERT_EQ(Rgb(pic.pixel(x, y)), SheetPixel(chip, x - 32, y - 32));
    // Moving on repaints the old cell, whose top and left edges are grid lines again.
    QTest::mouseMove(PageView(0), QPoint(128 + 10, 128 + 10));
    EXPECT_TRUE(GridShown(0, 4 * 8 + 4));
    EXPECT_FALSE(GridShown(0)) << "the outline lies over the grid lines of the hovered cell";
    EXPECT_EQ(Rgb(pic.pixel(32 + 31, 32 + 15)), SheetPixel(chip, 31, 15));
}

TEST_F(MapSetPageTest, PaintOnAPageShowingTheSameMapSetAsTheOtherShowsOnBoth) {
    Bar("ScrBarSelectPage1")->setValue(0);
    ASSERT_EQ(C().PageSet(1), 0);
    const int chip = ChipLookingUnlike(Cell(0, 0));
    SelectChip(chip);
    ClickCell(1, Qt::LeftButton, 0, 0);
    EXPECT_EQ(Cell(0, 0), chip);
    EXPECT_TRUE(PageShows(0, 0));
    EXPECT_TRUE(PageShows(1, 0));
}

TEST_F(MapSetPageTest, CopyAndPasteBetweenPagesAndStages) {
    // Paste before anything was copied writes 64 zero bytes.
    ClickCell(1, Qt::LeftButton, 0, 0, Qt::ControlModifier);
    EXPECT_EQ(SetBytes(1), Bytes64{});
    EXPECT_EQ(UndoCaption(), UndoText(kPasteUndo));
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(PageShows(1, 1));
    // Zero bytes again into an all-zero map set: nothing is recorded.
    ClickCell(1, Qt::LeftButton, 3, 3, Qt::ControlModifier);
    EXPECT_EQ(Stage().UndoDepth(), 1u);

    // Copy page 0 (Ctrl with the right button, Shift does not matter), paste on page 1.
    const Bytes64 set0 = SetBytes(0);
    ClickCell(0, Qt::RightButton, 4, 4, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(C().CopyBuffer(), set0);
    EXPECT_EQ(C().SelectedChip(), 0) << "copy must not pick";
    ClickCell(1, Qt::LeftButton, 7, 7, Qt::ControlModifier);
    EXPECT_EQ(SetBytes(1), set0);
    EXPECT_EQ(Stage().UndoDepth(), 2u);
    EXPECT_TRUE(PageShows(1, 1));

    // Page 1 showing map set 0 as well: pasting what was copied from it records nothing.
    Bar("ScrBarSelectPage1")->setValue(0);
    ClickCell(1, Qt::LeftButton, 0, 0, Qt::ControlModifier);
    EXPECT_EQ(Stage().UndoDepth(), 2u);

    // The buffer survives a stage change: paste into map set 0 of stage 2.
    form_->findChild<QComboBox*>("CBStage")->setCurrentIndex(2);
    ASSERT_EQ(form_->Rom().CurrentStage(), 2);
    EXPECT_EQ(C().PageSet(0), 0);
    EXPECT_EQ(C().PageSet(1), 1);
    EXPECT_EQ(C().CopyBuffer(), set0);
    ASSERT_NE(SetBytes(0), set0);
    EXPECT_FALSE(Modified());
    ClickCell(0, Qt::LeftButton, 1, 1, Qt::ControlModifier);
    EXPECT_EQ(SetBytes(0), set0);
    EXPECT_TRUE(Modified(2));
    EXPECT_EQ(UndoCaption(), UndoText(kPasteUndo));
    EXPECT_TRUE(PageShows(0, 0));
}

TEST_F(MapSetPageTest, SavedFileChangesOnlyTheEditedStagesMapSets) {
    form_->findChild<QComboBox*>("CBStage")->setCurrentIndex(3);
    const int chip = ChipLookingUnlike(Cell(0, 10));
    SelectChip(chip);
    ClickCell(0, Qt::LeftButton, 2, 1);                        // paint map set 0, cell 0x0A
    ClickCell(0, Qt::RightButton, 0, 0, Qt::ControlModifier);  // copy map set 0
    Bar("ScrBarSelectPage1")->setValue(9);
    ClickCell(1, Qt::LeftButton, 0, 0, Qt::ControlModifier);  // paste into map set 9
    const QString out = dir_.filePath("saved.nes");
    prompts_.saveNames.push_back(out);
    ASSERT_TRUE(form_->SaveAs1Click());
    const QByteArray saved = ReadFile(out);
    ASSERT_EQ(saved.size(), original_.size());
    const int base = MapSetAddress(3);
    for (int i = 0; i < saved.size(); ++i) {
        if (i >= base && i < base + 2048) continue;
        ASSERT_EQ(saved[i], original_[i]) << "byte " << i << " outside stage 3's map sets";
    }
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(Byte(saved[base + i]), Stage().MapSets()[i]) << i;
    EXPECT_EQ(Byte(saved[base + 10]), chip);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(Byte(saved[base + 9 * 64 + i]), Stage().MapSet(0)[i]);
    EXPECT_FALSE(Modified(3));
}

TEST_F(MapSetPageTest, ScrollBarsMoveThePages) {
    QScrollBar* both = Bar("ScrBarMapSet");
    QScrollBar* p0 = Bar("ScrBarSelectPage0");
    QScrollBar* p1 = Bar("ScrBarSelectPage1");
    both->setValue(30);
    EXPECT_EQ(C().PageSet(0), 30);
    EXPECT_EQ(C().PageSet(1), 31);
    EXPECT_EQ(Label("LblMapSetPage0"), "1E");
    EXPECT_EQ(Label("LblMapSetPage1"), "1F");
    EXPECT_EQ(p0->value(), 30);
    EXPECT_EQ(p1->value(), 31);
    EXPECT_TRUE(PageShows(0, 30));
    EXPECT_TRUE(PageShows(1, 31));
    both->setValue(0);
    EXPECT_EQ(C().PageSet(0), 0);
    EXPECT_EQ(C().PageSet(1), 1);

    // Page 1 moved alone to 5: the distance is kept until page 1 reaches the end, then 0 gives 0 and 1.
    p1->setValue(5);
    EXPECT_EQ(C().PageSet(1), 5);
    EXPECT_EQ(both->value(), 0);
    EXPECT_EQ(p0->value(), 0);
    EXPECT_TRUE(PageShows(1, 5));
    both->setValue(3);
    EXPECT_EQ(C().PageSet(0), 3);
    EXPECT_EQ(C().PageSet(1), 8);
    both->setValue(30);
    EXPECT_EQ(C().PageSet(0), 30);
    EXPECT_EQ(C().PageSet(1), 31);
    both->setValue(0);
    EXPECT_EQ(C().PageSet(0), 0);
    EXPECT_EQ(C().PageSet(1), 1);

    // Each page alone may show any map set, the same as the other included; page 0 above page 1 too.
    p0->setValue(31);
    EXPECT_EQ(C().PageSet(0), 31);
    EXPECT_EQ(Label("LblMapSetPage0"), "1F");
    EXPECT_EQ(both->value(), 0);
    EXPECT_TRUE(PageShows(0, 31));
    p1->setValue(31);
    EXPECT_TRUE(PageShows(1, 31));
    // ScrBarMapSet from page 0 at 31: p = 1, page 1 = 31 + (1 - 31) = 1.
    both->setValue(1);
    EXPECT_EQ(C().PageSet(0), 1);
    EXPECT_EQ(C().PageSet(1), 1);
    // Scrolling against the end of ScrBarMapSet still moves the pages to its position.
    both->setValue(0);
    p0->setValue(5);
    p1->setValue(9);
    both->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(both->value(), 0);
    EXPECT_EQ(C().PageSet(0), 0);
    EXPECT_EQ(C().PageSet(1), 4);
    EXPECT_EQ(p0->value(), 0);
    EXPECT_EQ(p1->value(), 4);
    // Handlers keep their limits whatever position they are given.
    C().ScrBarMapSetScroll(99);
    EXPECT_EQ(C().PageSet(0), 30);
    C().ScrBarSelectPageXScroll(1, -7);
    EXPECT_EQ(C().PageSet(1), 0);
    C().ScrBarMapSetScroll(-5);
    EXPECT_EQ(C().PageSet(0), 0);
    EXPECT_EQ(C().PageSet(1), 1) << "page 1 is never 0 after moving both";
}

TEST_F(MapSetPageTest, HoverOutlineAndStatusTexts) {
    Bar("ScrBarSelectPage1")->setValue(0x1A);
    TImageEx* v = PageView(1);
    const QRgb magenta = Rgb(G().MasterColor(EditorGraphics::kMagenta));
    QTest::mouseMove(v, QPoint(2 * 32 + 5, 3 * 32 + 5));
    const int chip = Cell(0x1A, 3 * 8 + 2);
    EXPECT_EQ(form_->StatusText(1), "Index:1A(2,3) " + QString::fromUtf8("32x32チップNo:") + Hex2(chip));
    EXPECT_EQ(form_->Controller(kPageMapSet)->ShownSet(v), 0x1A);
    EXPECT_EQ(form_->Controller(kPageMapSet)->ShownSet(PageView(0)), 0);
    EXPECT_EQ(form_->Controller(kPageMapSet)->ShownSet(Table()), -1);
    const QImage& pic = v->Picture();
    EXPECT_EQ(Rgb(pic.pixel(64, 96)), magenta);
    EXPECT_EQ(Rgb(pic.pixel(64 + 31, 96 + 31)), magenta);
    EXPECT_NE(Rgb(pic.pixel(64 + 32, 96)), magenta);

    // The bottom-right cell.
    QTest::mouseMove(v, QPoint(255, 255));
    EXPECT_TRUE(form_->StatusText(1).startsWith("Index:3F(7,7) "));
    EXPECT_TRUE(form_->StatusText(1).endsWith(Hex2(Cell(0x1A, 63))));
    EXPECT_TRUE(ShowsChip(pic, 64, 96, 32, chip)) << "the old cell is repainted";
    EXPECT_EQ(Rgb(pic.pixel(224, 224)), magenta);

    // Leaving clears the outline and the status text.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(v, &leave);
    EXPECT_EQ(form_->StatusText(1), QString());
    EXPECT_TRUE(PageShows(1, 0x1A));

    // The table: half-size cells, its own status text, no grid.
    QTest::mouseMove(Table(), QPoint(16 * 5 + 3, 16 * 2 + 3));
    EXPECT_EQ(form_->StatusText(1), QString::fromUtf8("32x32チップNo:25"));
    EXPECT_EQ(Rgb(Table()->Picture().pixel(80, 32)), magenta);
    EXPECT_EQ(Rgb(Table()->Picture().pixel(95, 47)), magenta);
    QTest::mouseMove(Table(), QPoint(0, 0));
    EXPECT_TRUE(ShowsChip(Table()->Picture(), 80, 32, 16, 0x25));
    QApplication::sendEvent(Table(), &leave);
    EXPECT_EQ(form_->StatusText(1), QString());
    EXPECT_TRUE(ShowsChip(Table()->Picture(), 0, 0, 16, 0));
}

TEST_F(MapSetPageTest, ReloadAsksThenRereadsTheStageAndClearsItsHistory) {
    SelectChip(ChipLookingUnlike(Cell(0, 0)));
    ClickCell(0, Qt::LeftButton, 0, 0);
    Bar("ScrBarMapSet")->setValue(4);
    const Bytes64 painted = SetBytes(0);
    const QString question = QString::fromUtf8(MapSetEditClass::kReloadQuestion);

    prompts_.yesNoAnswers = {false};
    Find<QPushButton>("Button3")->click();
    EXPECT_EQ(prompts_.log, QStringList{"yesno:" + question});
    EXPECT_EQ(SetBytes(0), painted);
    EXPECT_EQ(C().PageSet(0), 4);
    EXPECT_TRUE(Stage().CanUndo());

    prompts_.yesNoAnswers = {true};
    Find<QPushButton>("Button3")->click();
    const int base = MapSetAddress(0);
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(Stage().MapSets()[i], Byte(original_[base + i])) << i;
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U)"));
    EXPECT_EQ(C().PageSet(0), 0);
    EXPECT_EQ(C().PageSet(1), 1);
    EXPECT_EQ(Label("LblMapSetPage0"), "00");
    EXPECT_EQ(Bar("ScrBarMapSet")->value(), 0);
    EXPECT_EQ(C().SelectedChip(), 0);
    EXPECT_TRUE(PageShows(0, 0));
    EXPECT_TRUE(Modified()) << "reload leaves the flag as it was";
}

TEST_F(MapSetPageTest, GridOptionRedrawsBothPagesAndIsAppliedWithoutDrawing) {
    EXPECT_FALSE(GridShown(0));
    GridBox()->setChecked(true);
    EXPECT_TRUE(GridShown(0));
    EXPECT_TRUE(GridShown(1));
    EXPECT_TRUE(PageShows(0, 0, true));
    EditorSettings s;
    C().StoreSettings(s);
    EXPECT_TRUE(s.gridMapSet);
    GridBox()->setChecked(false);
    EXPECT_FALSE(GridShown(1));
    EXPECT_TRUE(PageShows(1, 1));
    C().StoreSettings(s);
    EXPECT_FALSE(s.gridMapSet);

    // Applying the option ticks the box without drawing.
    s.gridMapSet = true;
    C().ApplySettings(s);
    EXPECT_TRUE(GridBox()->isChecked());
    EXPECT_FALSE(GridShown(0));
    // The next drawing uses it.
    Bar("ScrBarSelectPage0")->setValue(2);
    EXPECT_TRUE(GridShown(0));
}

TEST_F(MapSetPageTest, GridOptionSurvivesARestart) {
    GridBox()->setChecked(true);
    ASSERT_TRUE(form_->close());
    form_.reset();
    const QString ini = QString::fromLatin1(ReadFile(dir_.filePath("quorveneditor.ini")));
    const int section = ini.indexOf("[MapSetEdit]");
    ASSERT_GE(section, 0) << ini.toStdString();
    EXPECT_TRUE(ini.mid(section).section('[', 1, 1).contains("Grid=1")) << ini.toStdString();

    form_ = std::make_unique<TMainForm>(prompts_, CreateDefaultPageFactory(),
                                        StartupPaths{dir_.path(), dir_.filePath("fcpalette.pal")});
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    EXPECT_TRUE(GridBox()->isChecked());
    ASSERT_TRUE(form_->OpenImage(romPath_));
    form_->FrameTimer().stop();
    form_->PageControl()->setCurrentIndex(kPageMapSet);
    QApplication::processEvents();
    EXPECT_TRUE(GridShown(0));
    EXPECT_TRUE(GridShown(1));
}

TEST_F(MapSetPageTest, ColourRefreshRecoloursWithoutDecodingTiles) {
    GridBox()->setChecked(true);
    QTest::mouseMove(PageView(0), QPoint(40, 40));
    for (int i = 0; i < 16; ++i) G().SetStagePaletteEntry(i, (0x21 + 2 * i) & 0x3F);
    const std::uint64_t decodes = G().TileDecodeCount();
    C().RefreshColours();
    EXPECT_EQ(G().TileDecodeCount(), decodes);
    // The sheet has the new colours and the views show them.
    EXPECT_EQ(Rgb(G().ChipSheet32().PaletteEntry(5)), Rgb(G().GetStagePaletteColor(5)));
    EXPECT_TRUE(PageShows(0, 0, true, 9));
    EXPECT_TRUE(PageShows(1, 1, true));
    EXPECT_TRUE(GridShown(0, 9));
    EXPECT_TRUE(GridShown(1));
    EXPECT_EQ(Rgb(PageView(0)->Picture().pixel(63, 50)), Rgb(G().MasterColor(EditorGraphics::kMagenta)));
    EXPECT_TRUE(ShowsChip(Table()->Picture(), 16 * 3, 16 * 4, 16, 0x43));
    EXPECT_TRUE(ShowsChip(Find<TImageEx>("ImgSelect32x32Chip")->Picture(), 0, 0, 64, C().SelectedChip()));
}

TEST_F(MapSetPageTest, ActivateShowsTheChipSelectedOnThe32x32ChipPage) {
    form_->PageControl()->setCurrentIndex(kPage32x32Chip);
    QApplication::processEvents();
    TImageEx* chipView = form_->Page(kPage32x32Chip)->findChild<TImageEx*>("ImgEdit32x32ChipView");
    ASSERT_NE(chipView, nullptr);
    QTest::mouseClick(chipView, Qt::LeftButton, Qt::NoModifier, QPoint(32 * 4 + 3, 32 * 2 + 3));  // chip 0x24
    EXPECT_EQ(form_->Links().mapSetSelectedChip, 0x24);
    form_->PageControl()->setCurrentIndex(kPageMapSet);
    QApplication::processEvents();
    EXPECT_EQ(Label("LblMapSetSelect32x32ChipIndex"), "24");
    EXPECT_TRUE(ShowsChip(Find<TImageEx>("ImgSelect32x32Chip")->Picture(), 0, 0, 64, 0x24));
    ClickCell(0, Qt::LeftButton, 0, 0);
    EXPECT_EQ(Cell(0, 0), 0x24);
}

// ---------------------------------------------------------------------------------------------------------
// Duplicate chip replacement

class MapSetReplaceTest : public MapSetPageTest {
protected:
    // Gives every 32x32 chip of the stage its own definition (no duplicates), without history.
    void MakeAllChipsDistinct() {
        for (int n = 0; n < 256; ++n) Stage().PasteChip32x32(4 * n, {Byte(n), Byte(n ^ 0x5A), Byte(255 - n), Byte(7)});
        Stage().ClearHistory();
    }
    void MakeSameAs(int chip, int model) {
        std::array<Byte, 4> def{};
        std::copy(Stage().Chip32x32() + 4 * model, Stage().Chip32x32() + 4 * model + 4, def.begin());
        Stage().PasteChip32x32(4 * chip, def);
        Stage().ClearHistory();
    }
    QPushButton* ReplaceOk() { return form_->UsageListDialog()->ReplaceButton(); }
    void Replace() { Find<QPushButton>("BtnReplaceMapSetChip")->click(); }
};

TEST_F(MapSetReplaceTest, NoDuplicatesShowsTheNoticeAndNoDialog) {
    MakeAllChipsDistinct();
    Replace();
    EXPECT_EQ(prompts_.log, QStringList{QString::fromUtf8("message:置換対象チップはありません。")});
}

TEST_F(MapSetReplaceTest, OkReplacesCellsCountsThemAndClearsTheHistory) {
    MakeAllChipsDistinct();
    MakeSameAs(0x12, 0x05);
    MakeSameAs(0x34, 0x05);
    MakeSameAs(0x41, 0x40);
    // Some cells using the higher numbers, and one edit in the history.
    Stage().SetMapSetByte(0, 0x12);
    Stage().SetMapSetByte(70, 0x34);
    Stage().SetMapSetByte(2047, 0x41);
    Stage().SetMapSetByte(100, 0x05);
    Stage().ClearHistory();
    SelectChip(0x07);
    ClickCell(0, Qt::LeftButton, 1, 0);
    ASSERT_TRUE(Stage().CanUndo());
    std::vector<int> expected(2048);
    int count = 0;
    for (int i = 0; i < 2048; ++i) {
        int v = Stage().MapSets()[i];
        if (v == 0x12 || v == 0x34)
            v = 0x05, ++count;
        else if (v == 0x41)
            v = 0x40, ++count;
        expected[i] = v;
    }
    ASSERT_GE(count, 3);
    const QByteArray chipDefs(reinterpret_cast<const char*>(Stage().Chip32x32()), 1024);

    QString caption, message, list;
    bool okShown = false;
    prompts_.dialogHook = [&](QDialog& d, const QString&) {
        auto& form = dynamic_cast<TShowUnusedChipNumForm&>(d);
        caption = form.windowTitle();
        message = form.Message();
        list = form.ListText();
        okShown = !form.ReplaceButton()->isHidden();
        form.ReplaceButton()->click();
        return form.result();
    };
    Replace();
    EXPECT_EQ(caption, QString::fromUtf8("未使用チップ番号")) << "the caption is not set";
    EXPECT_EQ(message, QString::fromUtf8("マップセット内のチップ番号を以下のように置換します"));
    EXPECT_EQ(list, "05 <- 12 34 \r\n40 <- 41 \r\n");
    EXPECT_TRUE(okShown);
    EXPECT_TRUE(ReplaceOk()->isHidden()) << "hidden again after the dialog";
    EXPECT_EQ(prompts_.Messages(), QStringList{QString::number(count) + QString::fromUtf8("個のチップを置換しました")});
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(Stage().MapSets()[i], expected[i]) << i;
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(Stage().Chip32x32()), 1024), chipDefs);
    EXPECT_TRUE(Modified());
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_FALSE(Stage().CanRedo());
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U)"));

    // The saved file holds the replaced map sets of this stage and nothing else changed.
    const QString out = dir_.filePath("replaced.nes");
    prompts_.saveNames.push_back(out);
    ASSERT_TRUE(form_->SaveAs1Click());
    const QByteArray saved = ReadFile(out);
    const int base = MapSetAddress(0);
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(Byte(saved[base + i]), expected[i]) << i;
}

TEST_F(MapSetReplaceTest, DialogKeepsTheCaptionOfTheLastCheck) {
    MakeAllChipsDistinct();
    MakeSameAs(0x30, 0x31);
    auto* overlap = form_->Page(kPage32x32Chip)->findChild<QPushButton*>("BtnOverlap32x32ChipChk");
    ASSERT_NE(overlap, nullptr);
    overlap->click();  // closed without a hook
    QString caption, list;
    prompts_.dialogHook = [&](QDialog& d, const QString&) {
        auto& form = dynamic_cast<TShowUnusedChipNumForm&>(d);
        caption = form.windowTitle();
        list = form.ListText();
        return int(QDialog::Rejected);
    };
    Replace();
    EXPECT_EQ(caption, QString::fromUtf8("重複チップの置換"));
    EXPECT_EQ(list, "30 <- 31 \r\n");
}

TEST_F(MapSetReplaceTest, CancelChangesNothingAndHidesTheButton) {
    MakeAllChipsDistinct();
    MakeSameAs(0x80, 0x02);
    Stage().SetMapSetByte(5, 0x80);
    const QByteArray before(reinterpret_cast<const char*>(Stage().MapSets()), 2048);
    ASSERT_TRUE(Stage().CanUndo());
    Replace();  // no hook: closed as with "キャンセル"
    EXPECT_EQ(prompts_.log, QStringList{"dialog:" + form_->UsageListDialog()->objectName()});
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(Stage().MapSets()), 2048), before);
    EXPECT_TRUE(Stage().CanUndo());
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(ReplaceOk()->isHidden());
}

TEST_F(MapSetReplaceTest, UnusedDuplicateReportsZeroAndLeavesHistoryAndFlag) {
    MakeAllChipsDistinct();
    MakeSameAs(0xFE, 0x03);
    // No cell uses 0xFE.
    for (int i = 0; i < 2048; ++i)
        if (Stage().MapSets()[i] == 0xFE) Stage().SetMapSetByte(i, 0x03);
    SelectChip(0x09);
    ClickCell(0, Qt::LeftButton, 6, 6);
    const std::size_t depth = Stage().UndoDepth();
    ASSERT_GT(depth, 0u);
    form_->Flags().SetModified(ModifiedCategory::MapSet, 0, false);
    const QByteArray before(reinterpret_cast<const char*>(Stage().MapSets()), 2048);
    QString list;
    prompts_.dialogHook = [&](QDialog& d, const QString&) {
        auto& form = dynamic_cast<TShowUnusedChipNumForm&>(d);
        list = form.ListText();
        form.ReplaceButton()->click();
        return form.result();
    };
    Replace();
    EXPECT_EQ(list, "03 <- FE \r\n");
    EXPECT_EQ(prompts_.Messages(), QStringList{QString::fromUtf8("0個のチップを置換しました")});
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(Stage().MapSets()), 2048), before);
    EXPECT_EQ(Stage().UndoDepth(), depth);
    EXPECT_FALSE(Modified());
}

TEST_F(MapSetReplaceTest, AllChipsIdenticalMakesEveryCellZero) {
    for (int n = 0; n < 256; ++n) Stage().PasteChip32x32(4 * n, {1, 2, 3, 4});
    Stage().ClearHistory();
    int nonZero = 0;
    for (int i = 0; i < 2048; ++i) nonZero += Stage().MapSets()[i] != 0;
    ASSERT_GT(nonZero, 0);
    QString list;
    prompts_.dialogHook = [&](QDialog& d, const QString&) {
        auto& form = dynamic_cast<TShowUnusedChipNumForm&>(d);
        list = form.ListText();
        form.ReplaceButton()->click();
        return form.result();
    };
    Replace();
    QString want = "00 <- ";
    for (int n = 1; n < 256; ++n) want += Hex2(n) + " ";
    want += "\r\n";
    EXPECT_EQ(list, want);
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(Stage().MapSets()[i], 0) << i;
    EXPECT_EQ(prompts_.Messages(),
              QStringList{QString::number(nonZero) + QString::fromUtf8("個のチップを置換しました")});
    // Stage 1 is untouched.
    EXPECT_FALSE(Modified(1));
}

TEST(MapSetReplaceRules, ReplaceDuplicatesCountsEachCellOnce) {
    std::array<Byte, 1024> defs{};
    for (int n = 0; n < 256; ++n) defs[4 * n] = Byte(n), defs[4 * n + 1] = 1;
    // Groups {2, 9, 200} and {3, 4}.
    for (int n : {9, 200}) std::copy(defs.begin() + 8, defs.begin() + 12, defs.begin() + 4 * n);
    std::copy(defs.begin() + 12, defs.begin() + 16, defs.begin() + 16);
    std::array<Byte, 2048> sets{};
    for (int i = 0; i < 2048; ++i) sets[i] = Byte(i % 256);
    const int count = MapSetEditClass::ReplaceDuplicates(sets.data(), defs.data());
    EXPECT_EQ(count, 8 * 3);  // 9, 200 and 4 appear 8 times each
    for (int i = 0; i < 2048; ++i) {
        const int v = i % 256;
        const int want = (v == 9 || v == 200) ? 2 : v == 4 ? 3 : v;
        ASSERT_EQ(sets[i], want) << i;
    }
    EXPECT_EQ(MapSetEditClass::ReplacementList(defs.data()), "02 <- 09 C8 \r\n03 <- 04 \r\n");
    EXPECT_EQ(MapSetEditClass::ReplaceDuplicates(nullptr, defs.data()), 0);
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
