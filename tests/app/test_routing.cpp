// View routing, status-bar hover texts, page refresh, undo and redo, and the palette animation timer.

#include <QAction>
#include <QMenu>
#include <QTabWidget>

#include "apptest.h"

namespace {

using Mods = Qt::KeyboardModifiers;
constexpr auto kNone = Qt::NoModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;

struct PressCase {
    Qt::MouseButton button;
    Mods mods;
    const char* expected;  // nullptr: not routed
};

class RoutingTest : public AppTest {
protected:
    // Presses each case on the view and compares what reached the controller.
    void CheckPresses(const char* view, const char* page, std::initializer_list<PressCase> cases) {
        TImageEx* v = ViewNamed(view);
        ASSERT_NE(v, nullptr) << view;
        for (const PressCase& c : cases) {
            log.clear();
            Press(v, c.button, c.mods, 5, 6);
            if (!c.expected) {
                EXPECT_TRUE(log.empty()) << view << " button " << int(c.button) << " mods " << int(c.mods);
            } else {
                const std::string want = std::string(page) + ".Press " + view + " tag" + std::to_string(v->Tag()) +
                                         " " + c.expected + " 5,6";
                EXPECT_EQ(log, std::vector<std::string>{want}) << "mods " << int(c.mods);
            }
        }
    }
};

TEST_F(RoutingTest, PressCombinationsPerViewFirstMatchWins) {
    MakeOpenForm();
    const auto L = Qt::LeftButton, R = Qt::RightButton, M = Qt::MiddleButton;
    for (const char* v : {"ImgPalView0", "ImgPalView3"})
        CheckPresses(v, "pal",
                     {{L, kNone, "Left"}, {L, kShift | kCtrl, "Left"}, {R, kNone, "Other"}, {M, kCtrl, "Other"}});
    CheckPresses("ImgColorTable", "pal", {{L, kCtrl, "Left"}, {R, kNone, nullptr}, {M, kNone, nullptr}});
    CheckPresses("ImgBGBankTable", "c16", {{L, kShift, "Left"}, {R, kCtrl, "Right"}, {M, kNone, nullptr}});
    CheckPresses("ImgEdit16x16ChipView", "c16",
                 {{L, kCtrl, "LeftCtrl"},
                  {L, kCtrl | kShift, "LeftCtrl"},
                  {L, kShift, "Left"},
                  {L, kNone, "Left"},
                  {R, kCtrl, "RightCtrl"},
                  {R, kShift, "Right"},
                  {M, kCtrl, nullptr}});
    CheckPresses("ImgEdit16x16Chip", "c16", {{L, kCtrl, "Left"}, {R, kCtrl, "Right"}, {M, kNone, nullptr}});
    CheckPresses("Img16x16ChipTable", "c32", {{L, kNone, "Left"}, {R, kNone, nullptr}});
    CheckPresses("ImgEdit32x32ChipView", "c32",
                 {{L, kCtrl | kShift, "LeftCtrl"},
                  {L, kShift, "LeftShift"},
                  {L, kNone, "Left"},
                  {R, kCtrl | kShift, "RightCtrl"},
                  {R, kShift, "Right"},
                  {M, kNone, nullptr}});
    CheckPresses("ImgEdit32x32Chip", "c32", {{L, kNone, "Left"}, {R, kNone, "Right"}});
    CheckPresses("Img32x32ChipTable", "mset", {{L, kShift, "Left"}, {R, kNone, nullptr}});
    for (const char* v : {"ImgEditMapSetPage0", "ImgEditMapSetPage1"})
        CheckPresses(v, "mset",
                     {{L, kCtrl | kShift, "LeftShift"},
                      {L, kCtrl, "LeftCtrl"},
                      {L, kNone, "Left"},
                      {R, kCtrl, "RightCtrl"},
                      {R, kShift, "Right"},
                      {M, kNone, nullptr}});
    for (const char* v : {"ImgObjectMapPage0", "ImgObjectMapPage1"})
        CheckPresses(v, "obj", {{L, kShift, "Left"}, {R, kCtrl, "Right"}, {M, kNone, nullptr}});
    EXPECT_EQ(ViewNamed("ImgEditMapSetPage1")->Tag(), 1);
}

TEST_F(RoutingTest, EveryPressCarriesItsShiftAndCtrlState) {
    MakeOpenForm();
    struct Case {
        const char* view;
        int page;
        Qt::MouseButton button;
        Mods mods;
    };
    for (const Case& c : {Case{"ImgObjectMapPage0", kPageObject, Qt::LeftButton, kShift},
                          Case{"ImgObjectMapPage1", kPageObject, Qt::LeftButton, kCtrl},
                          Case{"ImgObjectMapPage0", kPageObject, Qt::RightButton, kShift | kCtrl},
                          Case{"ImgObjectMapPage1", kPageObject, Qt::LeftButton, kNone},
                          Case{"ImgBGBankTable", kPage16x16Chip, Qt::LeftButton, kShift | kCtrl}}) {
        factory->made[c.page]->lastMods = KeyMods{};
        log.clear();
        Press(ViewNamed(c.view), c.button, c.mods, 7, 8);
        ASSERT_EQ(log.size(), 1u) << c.view;
        EXPECT_EQ(factory->made[c.page]->lastMods.shift, c.mods.testFlag(Qt::ShiftModifier)) << c.view;
        EXPECT_EQ(factory->made[c.page]->lastMods.ctrl, c.mods.testFlag(Qt::ControlModifier)) << c.view;
    }
}

TEST_F(RoutingTest, DisplayOnlyViewsRouteNothing) {
    MakeOpenForm();
    for (const char* v : {"ImgSelectColor", "ImgAnimePal0", "ImgAnimePal3", "ImgSelectTile", "ImgSelect16x16Chip",
                          "ImgSelect32x32Chip", "ImgEditMapPage0", "ImgEditMapPage1"}) {
        TImageEx* view = ViewNamed(v);
        ASSERT_NE(view, nullptr) << v;
        Press(view, Qt::LeftButton, kNone, 1, 1);
        Press(view, Qt::RightButton, kNone, 1, 1);
        Move(view, 2, 2);
        Leave(view);
        EXPECT_TRUE(log.empty()) << v;
        EXPECT_TRUE(form->StatusText(1).isEmpty()) << v;
    }
}

TEST_F(RoutingTest, MovesAndLeavesAreRoutedExceptLeavesOfTheObjectViews) {
    MakeOpenForm();
    Move(ViewNamed("ImgColorTable"), 30, 40);
    Leave(ViewNamed("ImgColorTable"));
    Move(ViewNamed("ImgObjectMapPage1"), 300, -4, Qt::LeftButton, kShift | kCtrl);  // a drag past the edge
    Leave(ViewNamed("ImgObjectMapPage1"));
    Move(ViewNamed("ImgEdit16x16Chip"), 70, 10, Qt::LeftButton);  // outside the 64 x 64 view: dropped
    EXPECT_EQ(log, (std::vector<std::string>{"pal.Move ImgColorTable 30,40", "pal.Leave ImgColorTable",
                                             "obj.Move ImgObjectMapPage1 300,-4 L S C"}));
}

TEST_F(RoutingTest, HoverTextsAreWrittenBeforeTheMoveAndClearedOnLeave) {
    MakeOpenForm();
    // The status text must already be there when the controller sees the move.
    QString seenByController;
    factory->made[kPage16x16Chip]->onMove = [&] { seenByController = form->StatusText(1); };
    auto check = [&](const char* view, int x, int y, const char* text) {
        Move(ViewNamed(view), x, y);
        EXPECT_EQ(form->StatusText(1), QString::fromUtf8(text)) << view;
    };
    check("ImgBGBankTable", 37, 50, "タイルNo:32");
    EXPECT_EQ(seenByController, QString::fromUtf8("タイルNo:32"));
    check("ImgEdit16x16ChipView", 255, 255, "16x16チップNo:FF");
    check("Img16x16ChipTable", 16, 0, "16x16チップNo:01");
    check("ImgEdit32x32ChipView", 511, 0, "32x32チップNo:0F");
    check("ImgEdit32x32ChipView", 40, 250, "32x32チップNo:71");
    Find<QLabel>("LblEdit32x32ChipView")->setText("80-FF");
    check("ImgEdit32x32ChipView", 40, 250, "32x32チップNo:F1");
    check("Img32x32ChipTable", 255, 17, "32x32チップNo:1F");

    // Map set views: the cell, its column and row, and the chip stored there in the map set shown.
    Find<QLabel>("LblMapSetPage1")->setText("1E");
    const Byte chip = form->Rom().Current().MapSet(0x1E)[2 + 3 * 8];
    Move(ViewNamed("ImgEditMapSetPage1"), 70, 100);
    EXPECT_EQ(form->StatusText(1), QString::fromUtf8("Index:1A(2,3) 32x32チップNo:") + QString::asprintf("%02X", chip));
    const Byte chip0 = form->Rom().Current().MapSet(0)[63];
    Move(ViewNamed("ImgEditMapSetPage0"), 255, 255);
    EXPECT_EQ(form->StatusText(1),
              QString::fromUtf8("Index:3F(7,7) 32x32チップNo:") + QString::asprintf("%02X", chip0));

    // Leaving to a place outside any view leaves the panel empty.
    check("ImgBGBankTable", 0, 0, "タイルNo:00");
    Leave(ViewNamed("ImgBGBankTable"));
    EXPECT_TRUE(form->StatusText(1).isEmpty());

    // Views without a hover text leave the panel alone.
    check("ImgBGBankTable", 16, 16, "タイルNo:11");
    Move(ViewNamed("ImgColorTable"), 3, 3);
    Move(ViewNamed("ImgObjectMapPage0"), 3, 3);
    Leave(ViewNamed("ImgEdit16x16Chip"));
    EXPECT_EQ(form->StatusText(1), QString::fromUtf8("タイルNo:11"));
}

TEST_F(RoutingTest, MapSetHoverTextFollowsEditsOfTheCurrentStage) {
    MakeOpenForm();
    Find<QComboBox>("CBStage")->setCurrentIndex(6);
    ASSERT_TRUE(form->Rom().StageAt(6).SetMapSetByte(64 * 1 + 9, 0xAB));
    Move(ViewNamed("ImgEditMapSetPage1"), 32 * 1 + 4, 32 * 1 + 4);  // page 1 shows map set 01, cell 9
    EXPECT_EQ(form->StatusText(1), QString::fromUtf8("Index:09(1,1) 32x32チップNo:AB"));
}

TEST_F(RoutingTest, PageRefreshRunsTheCommonStepBeforeTheDrawingPages) {
    MakeOpenForm();
    auto* pages = form->PageControl();
    const std::vector<std::string> common = {"c16.RebuildSheet", "c32.RebuildSheet"};
    struct Case {
        int page;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {kPagePalette, {"pal.Activate"}},
        {kPage16x16Chip, {"c16.Activate"}},
        {kPage32x32Chip, {"c16.RebuildSheet", "c32.RebuildSheet", "c32.Activate"}},
        {kPageMapSet, {"c16.RebuildSheet", "c32.RebuildSheet", "mset.Activate"}},
        {kPageMap, {"c16.RebuildSheet", "c32.RebuildSheet", "map.Activate"}},
        {kPageObject, {"c16.RebuildSheet", "c32.RebuildSheet", "obj.Activate"}},
    };
    for (const Case& c : cases) {
        log.clear();
        pages->setCurrentIndex(c.page);
        EXPECT_EQ(log, c.expected) << "page " << c.page;
        log.clear();
        form->RefreshActivePage();
        EXPECT_EQ(log, c.expected) << "page " << c.page;
    }
}

TEST_F(RoutingTest, UndoOfPaletteKindsRunsThePaletteSetChangeFirst) {
    MakeOpenForm();
    form->PageControl()->setCurrentIndex(kPageObject);
    StageData& stage = form->Rom().StageAt(0);
    const Byte old = stage.BGPalette(2)[5];
    ASSERT_TRUE(stage.SetPaletteByte(16 * 2 + 5, Byte((old + 1) & 0x3F)));
    ASSERT_TRUE(stage.SetPaletteAnimeByte(4 * 1 + 2, stage.PaletteAnime(1)[2] == 0x80 ? 0x81 : 0x80));
    ASSERT_TRUE(stage.SetMapEntry(0, Byte(stage.Map()[0] ^ 1)));
    std::vector<bool> timerDuringReset;
    factory->made[kPagePalette]->onReset = [&] { timerDuringReset.push_back(form->FrameTimer().isActive()); };

    const std::vector<std::string> plain = {"c16.RebuildSheet", "c32.RebuildSheet", "obj.Activate"};
    std::vector<std::string> palette = {"pal.Reset"};
    palette.insert(palette.end(), plain.begin(), plain.end());

    log.clear();
    form->Undo1Click();  // kind 9
    EXPECT_EQ(log, plain);
    log.clear();
    form->Undo1Click();  // kind 11
    EXPECT_EQ(log, palette);
    log.clear();
    form->Undo1Click();  // kind 10
    EXPECT_EQ(log, palette);
    EXPECT_EQ(stage.BGPalette(2)[5], old);
    log.clear();
    form->Redo1Click();  // kind 10 again
    EXPECT_EQ(log, palette);
    EXPECT_EQ(timerDuringReset, std::vector<bool>(3, false));
    EXPECT_TRUE(form->FrameTimer().isActive());
    // Nothing left to undo past the bottom of the stack.
    form->Undo1Click();
    form->Undo1Click();
    form->Undo1Click();
    log.clear();
    form->Undo1Click();
    EXPECT_TRUE(log.empty());
}

TEST_F(RoutingTest, EditMenuRefreshesWhenOpenedAndCtrlZWorksWithoutOpeningIt) {
    MakeOpenForm();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EditMap(0, 4, Byte(form->Rom().StageAt(0).Map()[4] ^ 0x10));
    const Byte edited = form->Rom().StageAt(0).Map()[4];
    auto* undo = Find<QAction>("Undo1");
    EXPECT_FALSE(undo->isEnabled()) << "not refreshed yet";

    emit Find<QMenu>("Edit1")->aboutToShow();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QString::fromUtf8("元に戻す(&U) - マップの編集"));
    EXPECT_FALSE(Find<QAction>("Redo1")->isEnabled());
    EXPECT_EQ(Find<QAction>("Redo1")->text(), QString::fromUtf8("やり直し(&R)"));

    // Another edit while the menu is closed: Ctrl+Z must undo it although the item was last refreshed before.
    form->RefreshEditMenu();
    EditMap(0, 6, Byte(form->Rom().StageAt(0).Map()[6] ^ 0x10));
    const Byte before6 = Byte(form->Rom().StageAt(0).Map()[6] ^ 0x10);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->Rom().StageAt(0).Map()[6], before6);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(form->Rom().StageAt(0).Map()[4], edited);
    EXPECT_FALSE(undo->isEnabled());
    QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->Rom().StageAt(0).Map()[4], edited);
    EXPECT_EQ(Find<QAction>("Redo1")->text(), QString::fromUtf8("やり直し(&R) - マップの編集"));
}

TEST_F(RoutingTest, CtrlZInATextFieldUndoesTheStageStep) {
    MakeOpenForm();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->PageControl()->setCurrentIndex(kPagePalette);
    auto* edit = Find<QLineEdit>("EditPal0");
    edit->setFocus();
    QTest::keyClicks(edit, "3");
    const Byte old = form->Rom().StageAt(0).Map()[9];
    EditMap(0, 9, Byte(old ^ 0x20));
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->Rom().StageAt(0).Map()[9], old);
    EXPECT_EQ(edit->text(), "3") << "the field's own undo does not run";
    QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->Rom().StageAt(0).Map()[9], Byte(old ^ 0x20));
}

class TimerTest : public AppTest {
protected:
    int RefreshCount(const std::string& page) {
        return int(std::count(log.begin(), log.end(), page + ".RefreshColours"));
    }
    // Set 0 of stage 0 without animation, set 1 with animation 0 on its first palette.
    void PrepareSets() {
        StageData& s = form->Rom().StageAt(0);
        for (int slot = 0; slot < 4; ++slot) s.SetPaletteAnimeByte(slot, 0x00);
        s.SetPaletteAnimeByte(4 * 1 + 0, 0x80);
        form->Graphics().ResetPaletteAnimation();
    }
};

TEST_F(TimerTest, TickRefreshesOnlyTheActivePageAndOnlyWhenAColourChanged) {
    MakeOpenForm();
    PrepareSets();
    auto* sets = Find<QComboBox>("CBSelectPaletteSet");
    sets->setCurrentIndex(0);
    for (int i = 0; i < 100; ++i) form->FrameTimerTimer();
    EXPECT_TRUE(Lines().empty()) << "no animation, no redraw";

    sets->setCurrentIndex(1);
    form->PageControl()->setCurrentIndex(kPageMap);
    log.clear();
    for (int i = 0; i < 300; ++i) form->FrameTimerTimer();
    const int map = RefreshCount("map");
    EXPECT_GT(map, 0);
    EXPECT_LE(map, 300);
    EXPECT_EQ(int(log.size()), map) << "only the active page redraws";

    form->PageControl()->setCurrentIndex(kPagePalette);
    log.clear();
    for (int i = 0; i < 300; ++i) form->FrameTimerTimer();
    EXPECT_GT(RefreshCount("pal"), 0);
    EXPECT_EQ(int(log.size()), RefreshCount("pal"));
}

TEST_F(TimerTest, TheRunningTimerDrivesTheAnimationButNeverDuringAReset) {
    WriteIni("[Timer]\nInterval=1\n");
    MakeOpenForm();
    PrepareSets();
    Find<QComboBox>("CBSelectPaletteSet")->setCurrentIndex(1);
    EXPECT_TRUE(form->FrameTimer().isActive());
    for (int waited = 0; waited < 3000 && RefreshCount("c16") == 0; waited += 10) QTest::qWait(10);
    EXPECT_GT(RefreshCount("c16"), 0);

    // A reset that spins the event loop for a while: no tick may reach any page meanwhile.
    bool refreshDuringReset = false;
    factory->made[kPageMap]->onReset = [&] {
        const size_t before = log.size();
        QTest::qWait(30);
        for (size_t i = before; i < log.size(); ++i)
            if (log[i].find("RefreshColours") != std::string::npos) refreshDuringReset = true;
    };
    Find<QComboBox>("CBStage")->setCurrentIndex(0);  // no change: nothing happens
    Find<QComboBox>("CBStage")->setCurrentIndex(2);
    EXPECT_FALSE(refreshDuringReset);
    EXPECT_TRUE(form->FrameTimer().isActive());
}

TEST_F(TimerTest, ClosingTheImageStopsTheTimerAndStartRequestsWaitForTheNextOpen) {
    const QString rom = MakeOpenForm();
    form->Close1Click();
    EXPECT_FALSE(form->FrameTimer().isActive());
    form->StartFrameTimer();
    EXPECT_FALSE(form->FrameTimer().isActive());
    form->PaletteSetChanged();
    EXPECT_TRUE(Lines().empty());
    ASSERT_TRUE(form->OpenImage(rom));
    EXPECT_TRUE(form->FrameTimer().isActive());
    form->StopFrameTimer();
    EXPECT_FALSE(form->FrameTimer().isActive());
    form->StartFrameTimer();
    EXPECT_TRUE(form->FrameTimer().isActive());
}

TEST_F(TimerTest, PaletteSetChangeResetsThePalettePageAndTheAnimation) {
    MakeOpenForm();
    PrepareSets();
    Find<QComboBox>("CBSelectPaletteSet")->setCurrentIndex(1);
    form->PageControl()->setCurrentIndex(kPagePalette);
    // Count ticks until the first change from a reset animation; after PaletteSetChanged it is the same.
    auto ticksToFirstChange = [&] {
        log.clear();
        for (int i = 1; i <= 400; ++i) {
            form->FrameTimerTimer();
            if (RefreshCount("pal") > 0) return i;
        }
        return -1;
    };
    form->Graphics().ResetPaletteAnimation();
    const int fresh = ticksToFirstChange();
    ASSERT_GT(fresh, 0);
    for (int i = 0; i < 7; ++i) form->FrameTimerTimer();
    log.clear();
    form->PaletteSetChanged();
    EXPECT_EQ(log, std::vector<std::string>{"pal.Reset"});
    EXPECT_EQ(ticksToFirstChange(), fresh);
}

}  // namespace
