// The 32x32 chip page driven through the real main window on the demo image.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <vector>

#include "app/mainform.h"
#include "document/address.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "editors/32x32chipedit.h"
#include "editors/ImageEx.h"
#include "editors/pagecontroller.h"
#include "editors/showUnusedChipNumForm.h"
#include "graphics/graphics.h"
#include "pagebench.h"

namespace {

const QString kEdit = QString::fromUtf8("32x32チップの編集");
const QString kPaste = QString::fromUtf8("32x32チップの編集(貼り付け)");
const QString kUndo = QString::fromUtf8("元に戻す(&U)");

using pagebench::Rgb;

QString H2(int n) {
    return QString::asprintf("%02X", n);
}

struct ListShown {
    QString caption, message, text;
    bool okShown = false;
};

// The real palette, 16x16 chip and 32x32 chip pages; the 32x32 chip page draws from what the first two
// prepare.
class Chip32PageTest : public pagebench::PageBench {
protected:
    virtual QByteArray IniText() const { return {}; }
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPagePalette, kPage16x16Chip, kPage32x32Chip};
        o.ini = IniText();
        o.tab = kPage32x32Chip;
        return o;
    }

    void SetUp() override {
        PageBench::SetUp();
        prompts_.dialogHook = [this](QDialog& d, const QString&) {
            auto& f = dynamic_cast<TShowUnusedChipNumForm&>(d);
            lists_.push_back({f.windowTitle(), f.Message(), f.ListText(), !f.ReplaceButton()->isHidden()});
            return int(QDialog::Rejected);
        };
    }

    Chip32x32EditClass& C() { return *dynamic_cast<Chip32x32EditClass*>(form_->Controller(kPage32x32Chip)); }
    QWidget* Page() { return PageBench::Page(kPage32x32Chip); }
    bool Modified() { return form_->Flags().IsModified(ModifiedCategory::Chip32x32, form_->Rom().CurrentStage()); }
    Byte Def(int chip, int slot) { return Stage().Chip32x32()[4 * chip + slot]; }
    std::array<Byte, 4> Defs(int chip) { return {Def(chip, 0), Def(chip, 1), Def(chip, 2), Def(chip, 3)}; }

    // Clicks the chip view at quarter slot of the chip shown at view cell (0 to 127).
    void ClickChip(int cell, int slot, Qt::MouseButton b, Qt::KeyboardModifiers m = Qt::NoModifier) {
        Click("ImgEdit32x32ChipView", 32 * (cell % 16) + 16 * (slot % 2) + 5, 32 * (cell / 16) + 16 * (slot / 2) + 5, b,
              m);
    }
    void Pick16(int chip16) { Click("Img16x16ChipTable", 16 * (chip16 % 16) + 3, 16 * (chip16 / 16) + 3); }

    QRgb Px(const QString& view, int x, int y) { return Rgb(View(view)->Picture().pixel(x, y)); }
    QRgb Sheet16Px(int x, int y) { return Rgb(G().ChipSheet16().Image().pixel(x, y)); }
    QRgb White() { return Rgb(G().MasterColor(EditorGraphics::kWhite)); }
    QRgb Magenta() { return Rgb(G().MasterColor(EditorGraphics::kMagenta)); }

    // The colour pixel (x, y) of 32x32 chip n must have, looked up in the 16x16 chip sheet through the
    // chip's current definition.
    QRgb ChipPx(int chip, int x, int y) {
        const int m = Def(chip, 2 * (y / 16) + x / 16);
        return Sheet16Px(16 * (m % 16) + x % 16, 16 * (m / 16) + y % 16);
    }
    // Whether view shows chip n at (vx, vy) at scale (every pixel of the chip compared).
    ::testing::AssertionResult ShowsChip(const QString& view, int vx, int vy, int scale, int chip) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                for (int s = 0; s < scale * scale; ++s) {
                    const QRgb got = Px(view, vx + scale * x + s % scale, vy + scale * y + s / scale);
                    if (got != ChipPx(chip, x, y))
                        return ::testing::AssertionFailure()
                               << view.toStdString() << " pixel (" << x << "," << y << ") of chip " << chip;
                }
        return ::testing::AssertionSuccess();
    }
    // A 16x16 chip whose picture differs from 16x16 chip other.
    int DifferentChip16(int other) {
        for (int q = 0; q < 256; ++q) {
            for (int i = 0; i < 256; ++i)
                if (Sheet16Px(16 * (q % 16) + i % 16, 16 * (q / 16) + i / 16) !=
                    Sheet16Px(16 * (other % 16) + i % 16, 16 * (other / 16) + i / 16))
                    return q;
        }
        return -1;
    }

    std::vector<ListShown> lists_;
};

// ---------------------------------------------------------------------------------------------------------

TEST_F(Chip32PageTest, PageHoldsItsControlsInsideTheTab) {
    const std::pair<const char*, QSize> views[] = {{"Img16x16ChipTable", {256, 256}},
                                                   {"ImgEdit32x32ChipView", {512, 256}},
                                                   {"ImgEdit32x32Chip", {64, 64}},
                                                   {"ImgSelect16x16Chip", {32, 32}}};
    for (const auto& [name, size] : views) {
        TImageEx* v = View(name);
        ASSERT_NE(v, nullptr) << name;
        EXPECT_EQ(v->size(), size) << name;
        EXPECT_EQ(v->Picture().size(), size) << name;
    }
    EXPECT_EQ(form_->PageControl()->tabText(kPage32x32Chip), QString::fromUtf8("32x32チップ"));
    EXPECT_EQ(Find<QCheckBox>("Chk32x32ChipEditDrawGrid")->text(), QString::fromUtf8("グリッド線の描画"));
    EXPECT_FALSE(Find<QCheckBox>("Chk32x32ChipEditDrawGrid")->isChecked());
    EXPECT_EQ(Find<QPushButton>("Button2")->text(), QString::fromUtf8("再読み込み"));
    EXPECT_EQ(Find<QPushButton>("BtnUnused32x32ChipChk")->text(), QString::fromUtf8("未使用チップ番号表示"));
    EXPECT_EQ(Find<QPushButton>("BtnOverlap32x32ChipChk")->text(), QString::fromUtf8("重複チップ番号表示"));
    for (const char* name : {"UDChange32x32ChipViewUp", "UDChange32x32ChipViewDown"})
        EXPECT_NE(Find<QToolButton>(name), nullptr) << name;
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(Find<QLabel>(QString("LblStructChipIndex%1").arg(i)), nullptr);
        EXPECT_NE(Find<QLabel>(QString("LblStructChipProperty%1").arg(i)), nullptr);
    }

    // Grouped controls sit in their group boxes.
    auto groupOf = [&](const char* name) {
        auto* g = qobject_cast<QGroupBox*>(Page()->findChild<QWidget*>(name)->parentWidget());
        return g ? g->title() : QString();
    };
    EXPECT_EQ(groupOf("UDChange32x32ChipView"), QString::fromUtf8("表示切替"));
    EXPECT_EQ(groupOf("ImgEdit32x32Chip"), QString::fromUtf8("編集対象チップ"));
    EXPECT_EQ(groupOf("ImgSelect16x16Chip"), QString::fromUtf8("選択チップ"));

    // Everything lies inside the page, and no two controls of one parent overlap.
    const QRect tab = QRect(0, 0, 613, 575).intersected(QRect(QPoint(0, 0), Page()->size()));
    EXPECT_GE(tab.width(), 600);
    EXPECT_GE(tab.height(), 560);
    for (QWidget* w : Page()->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(Page())) continue;
        const QRect r(w->mapTo(Page(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(tab.contains(r)) << w->objectName().toStdString() << " " << r.x() << "," << r.y() << " "
                                     << r.width() << "x" << r.height();
    }
    std::vector<QWidget*> parents{Page()};
    for (QGroupBox* g : Page()->findChildren<QGroupBox*>()) parents.push_back(g);
    for (QWidget* p : parents) {
        const QList<QWidget*> kids = p->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (int i = 0; i < kids.size(); ++i)
            for (int j = i + 1; j < kids.size(); ++j)
                EXPECT_FALSE(kids[i]->geometry().intersects(kids[j]->geometry()))
                    << kids[i]->objectName().toStdString() << "/" << kids[i]->metaObject()->className() << " "
                    << kids[j]->objectName().toStdString() << "/" << kids[j]->metaObject()->className();
    }
}

TEST_F(Chip32PageTest, OpenShowsTheFirstHalfChipZeroAndItsQuarters) {
    EXPECT_EQ(Label("LblEdit32x32ChipView"), "00-7F");
    EXPECT_EQ(Label("LblSelect32x32ChipIndex"), "00");
    EXPECT_EQ(Label("LblSelect16x16ChipIndex"), "00");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Label(QString("LblStructChipIndex%1").arg(i)), H2(Def(0, i)));
        EXPECT_EQ(Label(QString("LblStructChipProperty%1").arg(i)),
                  G().ChipAttributeName(Stage().ChipProperties()[Def(0, i)]));
    }
    EXPECT_EQ(Label("LblSelect16x16ChipProperty"), G().ChipAttributeName(Stage().ChipProperties()[0]));
    for (int cell : {0, 17, 127})
        EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 32 * (cell % 16), 32 * (cell / 16), 1, cell));
    EXPECT_TRUE(ShowsChip("ImgEdit32x32Chip", 0, 0, 2, 0));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(Px("ImgSelect16x16Chip", 2 * (i % 16), 2 * (i / 16)), Sheet16Px(i % 16, i / 16));
    for (int y = 0; y < 256; y += 7)
        for (int x = 0; x < 256; x += 5) ASSERT_EQ(Px("Img16x16ChipTable", x, y), Sheet16Px(x, y));
}

TEST_F(Chip32PageTest, LeftClickSelectsTheChipForThisPageAndTheMapSetPage) {
    form_->Flags().SetModified(ModifiedCategory::Chip32x32, 0, false);
    ClickChip(0x25, 3, Qt::LeftButton);
    EXPECT_EQ(C().EditedChip(), 0x25);
    EXPECT_EQ(form_->Links().mapSetSelectedChip, 0x25);
    EXPECT_EQ(Label("LblSelect32x32ChipIndex"), "25");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Label(QString("LblStructChipIndex%1").arg(i)), H2(Def(0x25, i)));
        EXPECT_EQ(Label(QString("LblStructChipProperty%1").arg(i)),
                  G().ChipAttributeName(Stage().ChipProperties()[Def(0x25, i)]));
    }
    EXPECT_TRUE(ShowsChip("ImgEdit32x32Chip", 0, 0, 2, 0x25));
    QTest::mouseClick(Find<QToolButton>("UDChange32x32ChipViewDown"), Qt::LeftButton);
    ClickChip(0x10, 0, Qt::LeftButton);
    EXPECT_EQ(C().EditedChip(), 0x90);
    EXPECT_EQ(form_->Links().mapSetSelectedChip, 0x90);
    EXPECT_EQ(Label("LblSelect32x32ChipIndex"), "90");
    EXPECT_TRUE(ShowsChip("ImgEdit32x32Chip", 0, 0, 2, 0x90));
    EXPECT_FALSE(Modified());
    EXPECT_EQ(UndoCaption(), kUndo);

    // Other presses leave both selections alone; the middle button does nothing at all.
    ClickChip(0x05, 0, Qt::RightButton);
    ClickChip(0x06, 0, Qt::RightButton, Qt::ControlModifier);
    Pick16(Def(0x87, 0));
    ClickChip(0x07, 0, Qt::LeftButton, Qt::ShiftModifier);
    ClickChip(0x08, 0, Qt::MiddleButton);
    EXPECT_EQ(C().EditedChip(), 0x90);
    EXPECT_EQ(form_->Links().mapSetSelectedChip, 0x90);
}

TEST_F(Chip32PageTest, ShiftClickSetsAQuarterOfAnotherChipAndKeepsTheEditedChip) {
    ClickChip(0x02, 0, Qt::LeftButton);  // edited chip 02
    const std::array<Byte, 4> edited = Defs(0x02);
    const int target = 0x13;
    const int old = Def(target, 3);
    const int q = DifferentChip16(old);
    ASSERT_GE(q, 0);
    Pick16(q);
    EXPECT_EQ(C().Selected16(), q);
    EXPECT_EQ(Label("LblSelect16x16ChipIndex"), H2(q));

    ClickChip(target, 3, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Def(target, 3), q);
    EXPECT_EQ(Stage().Chip32x32()[4 * target + 3], q);
    EXPECT_EQ(Defs(0x02), edited);
    EXPECT_EQ(C().EditedChip(), 0x02);
    EXPECT_EQ(Label("LblSelect32x32ChipIndex"), "02");
    EXPECT_TRUE(ShowsChip("ImgEdit32x32Chip", 0, 0, 2, 0x02));
    EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 32 * 3, 32, 1, target));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(form_->StatusText(0), QString::fromUtf8("変更あり"));
    EXPECT_EQ(UndoCaption(), kUndo + " - " + kEdit);
    const std::size_t depth = Stage().UndoDepth();

    // The same quarter again, with the chip it holds now: nothing is recorded.
    ClickChip(target, 3, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Stage().UndoDepth(), depth);

    // Undo through the Edit menu puts the byte back and redraws the view.
    form_->Undo1Click();
    EXPECT_EQ(Def(target, 3), old);
    EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 32 * 3, 32, 1, target));
}

TEST_F(Chip32PageTest, SettingAQuarterToTheChipItHoldsRecordsNothing) {
    form_->Flags().SetModified(ModifiedCategory::Chip32x32, 0, false);
    ClickChip(0x04, 0, Qt::LeftButton);
    Pick16(Def(0x04, 1));
    ClickChip(0x04, 1, Qt::LeftButton, Qt::ShiftModifier);
    Click("ImgEdit32x32Chip", 40, 5, Qt::LeftButton);  // slot 1 of the edited chip
    EXPECT_EQ(Stage().UndoDepth(), 0u);
    EXPECT_FALSE(Modified());
    EXPECT_EQ(form_->StatusText(0), QString());
}

TEST_F(Chip32PageTest, PasteBeforeAnyCopyWritesFourZeros) {
    int chip = 1;
    while (chip < 128 && Defs(chip) == std::array<Byte, 4>{}) ++chip;
    ASSERT_LT(chip, 128);
    ClickChip(chip, 2, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Defs(chip), (std::array<Byte, 4>{0, 0, 0, 0}));
    EXPECT_EQ(UndoCaption(), kUndo + " - " + kPaste);
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 32 * (chip % 16), 32 * (chip / 16), 1, chip));
    // Pasting the same four bytes again records nothing (the model would record it: the page compares).
    const std::size_t depth = Stage().UndoDepth();
    ClickChip(chip, 0, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Stage().UndoDepth(), depth);
}

TEST_F(Chip32PageTest, CtrlRightCopiesAndCtrlLeftPastesTheEditedChipIsShownAgain) {
    int src = 0x21, dst = 0x05;
    ASSERT_NE(Defs(src), Defs(dst));
    ClickChip(dst, 0, Qt::LeftButton);  // edited chip = destination
    ClickChip(src, 1, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(C().CopyBuffer(), Defs(src));
    EXPECT_EQ(Stage().UndoDepth(), 0u);
    ClickChip(dst, 1, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Defs(dst), Defs(src));
    EXPECT_EQ(C().EditedChip(), dst);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Label(QString("LblStructChipIndex%1").arg(i)), H2(Def(src, i)));
    EXPECT_TRUE(ShowsChip("ImgEdit32x32Chip", 0, 0, 2, dst));
    EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 32 * (dst % 16), 0, 1, dst));
}

TEST_F(Chip32PageTest, CopyBufferSurvivesAStageChange) {
    int other = 1;
    while (other < 16 && form_->Rom().StageAt(other).SharesTablesWith(form_->Rom().StageAt(0))) ++other;
    ASSERT_LT(other, 16);
    const int src = 0x44;
    const std::array<Byte, 4> copied = Defs(src);
    ClickChip(src, 0, Qt::RightButton, Qt::ControlModifier);

    form_->findChild<QComboBox*>("CBStage")->setCurrentIndex(other);
    form_->FrameTimer().stop();
    ASSERT_EQ(form_->Rom().CurrentStage(), other);
    EXPECT_EQ(C().CopyBuffer(), copied);
    int dst = 0x10;
    while (Defs(dst) == copied) ++dst;
    ClickChip(dst, 0, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Defs(dst), copied);
    // The pasted chip is drawn from this stage's 16x16 chips of those numbers.
    EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 0, 32, 1, dst));
    EXPECT_TRUE(form_->Flags().IsModified(ModifiedCategory::Chip32x32, other));
    EXPECT_FALSE(form_->Flags().IsModified(ModifiedCategory::Chip32x32, 0));
}

TEST_F(Chip32PageTest, RightClickPicksTheQuarterUnderTheMouse) {
    ClickChip(0x37, 2, Qt::RightButton);
    const int q = Def(0x37, 2);
    EXPECT_EQ(C().Selected16(), q);
    EXPECT_EQ(Label("LblSelect16x16ChipIndex"), H2(q));
    EXPECT_EQ(Label("LblSelect16x16ChipProperty"), G().ChipAttributeName(Stage().ChipProperties()[q]));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(Px("ImgSelect16x16Chip", 2 * (i % 16) + 1, 2 * (i / 16) + 1),
                  Sheet16Px(16 * (q % 16) + i % 16, 16 * (q / 16) + i / 16));
    EXPECT_EQ(C().EditedChip(), 0);

    // The enlarged chip: right picks the slot's 16x16 chip.
    ClickChip(0x08, 0, Qt::LeftButton);
    Click("ImgEdit32x32Chip", 10, 40, Qt::RightButton);  // slot 2
    EXPECT_EQ(C().Selected16(), Def(0x08, 2));
    // The table: right does nothing, left selects.
    Click("Img16x16ChipTable", 16 * 5 + 1, 16 * 6 + 1, Qt::RightButton);
    EXPECT_EQ(C().Selected16(), Def(0x08, 2));
    Click("Img16x16ChipTable", 16 * 5 + 1, 16 * 6 + 1, Qt::LeftButton);
    EXPECT_EQ(C().Selected16(), 0x65);
}

TEST_F(Chip32PageTest, EditingTheEnlargedChipWhileTheOtherHalfIsShown) {
    ClickChip(0x05, 0, Qt::LeftButton);
    QTest::mouseClick(Find<QToolButton>("UDChange32x32ChipViewDown"), Qt::LeftButton);
    ASSERT_EQ(Label("LblEdit32x32ChipView"), "80-FF");
    const QImage before = View("ImgEdit32x32ChipView")->Picture().copy();
    const int old = Def(0x05, 1);
    const int q = DifferentChip16(old);
    Pick16(q);
    Click("ImgEdit32x32Chip", 40, 10, Qt::LeftButton);  // slot 1
    EXPECT_EQ(Def(0x05, 1), q);
    EXPECT_EQ(Label("LblStructChipIndex1"), H2(q));
    EXPECT_EQ(Label("LblStructChipProperty1"), G().ChipAttributeName(Stage().ChipProperties()[q]));
    EXPECT_EQ(UndoCaption(), kUndo + " - " + kEdit);
    EXPECT_TRUE(Modified());
    EXPECT_EQ(View("ImgEdit32x32ChipView")->Picture(), before);  // the other half stays as it was
    // The enlarged view shows the new chip; its hover outline is on the slot under the pointer.
    for (int y = 0; y < 64; y += 3)
        for (int x = 0; x < 64; x += 3) {
            if (x >= 32 && x < 64 && y < 32 && (x == 32 || x == 63 || y == 0 || y == 31)) continue;
            ASSERT_EQ(Px("ImgEdit32x32Chip", x, y), ChipPx(0x05, x / 2, y / 2)) << x << "," << y;
        }
    // The sheet holds the new chip: the first half shows it once it is shown again.
    QTest::mouseClick(Find<QToolButton>("UDChange32x32ChipViewUp"), Qt::LeftButton);
    EXPECT_EQ(Label("LblEdit32x32ChipView"), "00-7F");
    EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 32 * 5, 0, 1, 0x05));
}

TEST_F(Chip32PageTest, HalfSwitchAndStatusTexts) {
    const QImage first = View("ImgEdit32x32ChipView")->Picture().copy();
    QTest::mouseClick(Find<QToolButton>("UDChange32x32ChipViewUp"), Qt::LeftButton);  // already 00-7F
    EXPECT_EQ(C().Half(), 0);
    EXPECT_EQ(View("ImgEdit32x32ChipView")->Picture(), first);
    QTest::mouseClick(Find<QToolButton>("UDChange32x32ChipViewDown"), Qt::LeftButton);
    EXPECT_EQ(C().Half(), 1);
    EXPECT_EQ(Label("LblEdit32x32ChipView"), "80-FF");
    EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 0, 0, 1, 0x80));
    EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 32 * 15, 32, 1, 0x9F));
    EXPECT_EQ(C().ShownSet(View("ImgEdit32x32ChipView")), 1);
    EXPECT_EQ(C().ShownSet(View("Img16x16ChipTable")), -1);

    Move("ImgEdit32x32ChipView", 32 * 15 + 4, 32 + 30);
    EXPECT_EQ(form_->StatusText(1), QString::fromUtf8("32x32チップNo:9F"));
    Leave("ImgEdit32x32ChipView");
    EXPECT_EQ(form_->StatusText(1), QString());
    Move("Img16x16ChipTable", 16 * 10 + 15, 16 * 12);
    EXPECT_EQ(form_->StatusText(1), QString::fromUtf8("16x16チップNo:CA"));
    Leave("Img16x16ChipTable");
    EXPECT_EQ(form_->StatusText(1), QString());
    Move("ImgEdit32x32Chip", 40, 40);
    EXPECT_EQ(form_->StatusText(1), QString());
}

TEST_F(Chip32PageTest, HoverTouchesOnlyTheOldAndTheNewCell) {
    const QString view = "ImgEdit32x32ChipView";
    const QImage clean = View(view)->Picture().copy();
    Move(view, 32 * 2 + 5, 32 * 1 + 5);  // cell 18
    QImage pic = View(view)->Picture();
    EXPECT_EQ(Rgb(pic.pixel(64, 32)), Magenta());
    EXPECT_EQ(Rgb(pic.pixel(95, 63)), Magenta());
    EXPECT_EQ(Rgb(pic.pixel(64 + 31, 32)), Magenta());
    Move(view, 32 * 7 + 1, 32 * 4 + 31);  // cell 71
    pic = View(view)->Picture();
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 512; ++x) {
            const bool inNew = x >= 224 && x < 256 && y >= 128 && y < 160;
            if (inNew) continue;
            ASSERT_EQ(pic.pixel(x, y), clean.pixel(x, y)) << x << "," << y;
        }
    EXPECT_EQ(Rgb(pic.pixel(224, 128)), Magenta());
    EXPECT_EQ(Rgb(pic.pixel(255, 159)), Magenta());
    const std::uint64_t touched = C().ViewHover().CellsTouched();
    Move(view, 32 * 7 + 20, 32 * 4 + 2);  // the same cell: nothing drawn
    EXPECT_EQ(C().ViewHover().CellsTouched(), touched);
    Leave(view);
    EXPECT_EQ(View(view)->Picture(), clean);
    EXPECT_EQ(C().ViewHover().CellsTouched(), touched + 1);

    // The 16x16 chip table and the enlarged chip.
    const QImage table = View("Img16x16ChipTable")->Picture().copy();
    Move("Img16x16ChipTable", 16 * 3 + 2, 16 * 9 + 2);
    EXPECT_EQ(Rgb(View("Img16x16ChipTable")->Picture().pixel(48, 144)), Magenta());
    EXPECT_EQ(Rgb(View("Img16x16ChipTable")->Picture().pixel(63, 159)), Magenta());
    Leave("Img16x16ChipTable");
    EXPECT_EQ(View("Img16x16ChipTable")->Picture(), table);
    const QImage chip = View("ImgEdit32x32Chip")->Picture().copy();
    Move("ImgEdit32x32Chip", 50, 50);
    EXPECT_EQ(Rgb(View("ImgEdit32x32Chip")->Picture().pixel(32, 32)), Magenta());
    EXPECT_EQ(Rgb(View("ImgEdit32x32Chip")->Picture().pixel(63, 63)), Magenta());
    Move("ImgEdit32x32Chip", 5, 50);
    EXPECT_EQ(Rgb(View("ImgEdit32x32Chip")->Picture().pixel(0, 63)), Magenta());
    EXPECT_EQ(View("ImgEdit32x32Chip")->Picture().pixel(63, 63), chip.pixel(63, 63));
    Leave("ImgEdit32x32Chip");
    EXPECT_EQ(View("ImgEdit32x32Chip")->Picture(), chip);
}

TEST_F(Chip32PageTest, GridLinesFollowTheCheckBoxAndSurviveHoverAndEdits) {
    const QString view = "ImgEdit32x32ChipView";
    auto* grid = Find<QCheckBox>("Chk32x32ChipEditDrawGrid");
    QTest::mouseClick(grid, Qt::LeftButton);
    ASSERT_TRUE(grid->isChecked());
    auto expectGrid = [&](const char* when) {
        const QImage& pic = View(view)->Picture();
        for (int k = 0; k < 16; ++k)
            for (int y = 0; y < 256; y += 9) ASSERT_EQ(Rgb(pic.pixel(32 * k, y)), White()) << when << " x=" << 32 * k;
        for (int k = 0; k < 8; ++k)
            for (int x = 0; x < 512; x += 9) ASSERT_EQ(Rgb(pic.pixel(x, 32 * k)), White()) << when << " y=" << 32 * k;
    };
    expectGrid("on");
    EXPECT_EQ(Rgb(View(view)->Picture().pixel(33, 33)), ChipPx(17, 1, 1));

    Move(view, 40, 40);
    Move(view, 100, 40);
    Leave(view);
    expectGrid("after hover");
    Pick16(DifferentChip16(Def(0x11, 0)));
    ClickChip(0x11, 0, Qt::LeftButton, Qt::ShiftModifier);
    expectGrid("after an edit");
    EXPECT_EQ(Rgb(View(view)->Picture().pixel(33, 33)), ChipPx(0x11, 1, 1));

    EditorSettings stored;
    C().StoreSettings(stored);
    EXPECT_TRUE(stored.grid32x32);

    QTest::mouseClick(grid, Qt::LeftButton);
    ASSERT_FALSE(grid->isChecked());
    EXPECT_TRUE(ShowsChip(view, 0, 0, 1, 0));
    EXPECT_TRUE(ShowsChip(view, 32 * 15, 32 * 7, 1, 127));
    C().StoreSettings(stored);
    EXPECT_FALSE(stored.grid32x32);

    // Applying a saved setting ticks the box without drawing.
    const QImage plain = View(view)->Picture().copy();
    EditorSettings on;
    on.grid32x32 = true;
    C().ApplySettings(on);
    EXPECT_TRUE(grid->isChecked());
    EXPECT_EQ(View(view)->Picture(), plain);
}

TEST_F(Chip32PageTest, RefreshColoursRecoloursEveryViewWithoutDecodingTiles) {
    Move("ImgEdit32x32ChipView", 32 * 4 + 3, 32 * 2 + 3);
    for (int i = 0; i < 16; ++i) G().SetStagePaletteEntry(i, (0x21 + 3 * i) & 0x3F);
    const std::uint64_t decodes = G().TileDecodeCount();
    C().RefreshColours();
    EXPECT_EQ(G().TileDecodeCount(), decodes);
    auto stageColour = [&](int index) { return Rgb(G().GetStagePaletteColor(index)); };
    const IndexedBitmap& s32 = G().ChipSheet32();
    for (int y = 1; y < 256; y += 5)
        for (int x = 1; x < 512; x += 7) {
            if (x >= 128 && x < 160 && y >= 64 && y < 96) continue;  // the framed cell
            ASSERT_EQ(Px("ImgEdit32x32ChipView", x, y), stageColour(s32.Pixel(x, y))) << x << "," << y;
        }
    EXPECT_EQ(Rgb(View("ImgEdit32x32ChipView")->Picture().pixel(128, 64)), Magenta());
    const IndexedBitmap& s16 = G().ChipSheet16();
    for (int y = 0; y < 256; y += 3)
        for (int x = 0; x < 256; x += 3) ASSERT_EQ(Px("Img16x16ChipTable", x, y), stageColour(s16.Pixel(x, y)));
    EXPECT_EQ(Px("ImgEdit32x32Chip", 10, 10), stageColour(s32.Pixel(5, 5)));
    EXPECT_EQ(Px("ImgSelect16x16Chip", 10, 10), stageColour(s16.Pixel(5, 5)));
}

TEST_F(Chip32PageTest, ReloadAsksThenRestoresTheImageBytesAndClearsTheHistory) {
    const QString question = QString::fromUtf8("このステージの32x32チップデータを読み込み直します。よろしいですか？");
    const std::array<Byte, 4> before = Defs(0x12);
    ClickChip(0x12, 0, Qt::LeftButton, Qt::ControlModifier);  // paste zeros
    QTest::mouseClick(Find<QToolButton>("UDChange32x32ChipViewDown"), Qt::LeftButton);
    ClickChip(0x03, 0, Qt::LeftButton);
    ASSERT_NE(Defs(0x12), before);

    prompts_.yesNoAnswers = {false};
    QTest::mouseClick(Find<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_EQ(prompts_.log, QStringList{"yesno:" + question});
    EXPECT_EQ(Defs(0x12), (std::array<Byte, 4>{}));
    EXPECT_EQ(C().EditedChip(), 0x83);

    prompts_.yesNoAnswers = {true};
    QTest::mouseClick(Find<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_EQ(Defs(0x12), before);
    const std::int32_t at = form_->Rom().Addresses().TableAddress(StageTable::Chip32x32, 0);
    EXPECT_EQ(0, std::memcmp(Stage().Chip32x32(), form_->Rom().ImageBytes() + at, kChip32x32Size));
    EXPECT_EQ(Stage().UndoDepth(), 0u);
    EXPECT_EQ(UndoCaption(), kUndo);
    EXPECT_EQ(C().EditedChip(), 0);
    EXPECT_EQ(C().Half(), 0);
    EXPECT_EQ(Label("LblEdit32x32ChipView"), "00-7F");
    EXPECT_EQ(Label("LblSelect32x32ChipIndex"), "00");
    EXPECT_TRUE(Modified());  // the flag is left as it was
    EXPECT_TRUE(ShowsChip("ImgEdit32x32ChipView", 32 * 2, 32, 1, 0x12));
}

TEST_F(Chip32PageTest, SavedFileChangesOnlyThisStagesChipTable) {
    Pick16(0x3C);
    ClickChip(0x40, 1, Qt::LeftButton, Qt::ShiftModifier);
    ClickChip(0x41, 0, Qt::RightButton, Qt::ControlModifier);
    ClickChip(0x7F, 0, Qt::LeftButton, Qt::ControlModifier);
    ASSERT_TRUE(Modified());
    const QByteArray saved = SaveAs();
    ASSERT_EQ(std::size_t(saved.size()), OriginalImage().size());
    EXPECT_FALSE(Modified());
    const std::int32_t at = form_->Rom().Addresses().TableAddress(StageTable::Chip32x32, 0);
    const std::vector<int> diff = Differences(saved, OriginalImage());
    for (int i : diff)
        EXPECT_TRUE(i >= at && i < at + kChip32x32Size) << "byte " << i << " outside the 32x32 chip table";
    const int changed = int(diff.size());
    EXPECT_GE(changed, 1);
    EXPECT_EQ(Byte(saved[at + 4 * 0x40 + 1]), 0x3C);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Byte(saved[at + 4 * 0x7F + k]), Def(0x41, k));
}

TEST_F(Chip32PageTest, UnusedListShowsTheChipsNoMapSetUses) {
    // Every map set cell holds a number, all but 03, 0A and 41.
    for (int i = 0; i < kMapSetTableSize; ++i) {
        const int v = i % 256;
        Stage().SetMapSetByte(i, Byte(v == 0x03 || v == 0x0A || v == 0x41 ? 0 : v));
    }
    QTest::mouseClick(Find<QPushButton>("BtnUnused32x32ChipChk"), Qt::LeftButton);
    ASSERT_EQ(lists_.size(), 1u);
    EXPECT_EQ(lists_[0].caption, QString::fromUtf8("未使用32x32チップ番号"));
    EXPECT_EQ(lists_[0].message, QString::fromUtf8("マップセットに使用されてない32x32チップ番号は"));
    EXPECT_EQ(lists_[0].text, "03 0A \r\n41 \r\n");
    EXPECT_FALSE(lists_[0].okShown);
    EXPECT_EQ(prompts_.log.filter("dialog:").size(), 1);
    // A 32x32 chip that only a map set the map never shows uses still counts as used: the whole table is read.
    Stage().SetMapSetByte(kMapSetTableSize - 1, 0x41);
    QTest::mouseClick(Find<QPushButton>("BtnUnused32x32ChipChk"), Qt::LeftButton);
    EXPECT_EQ(lists_.back().text, "03 0A \r\n");
}

TEST_F(Chip32PageTest, DuplicateListShowsEachGroupOnce) {
    for (int n = 0; n < 256; ++n) Stage().PasteChip32x32(4 * n, {Byte(n), Byte(255 - n), Byte(n), 7});
    QTest::mouseClick(Find<QPushButton>("BtnOverlap32x32ChipChk"), Qt::LeftButton);
    ASSERT_EQ(lists_.size(), 1u);
    EXPECT_EQ(lists_[0].caption, QString::fromUtf8("重複チップの置換"));
    EXPECT_EQ(lists_[0].message, QString::fromUtf8("重複定義されている32x32チップ番号は"));
    EXPECT_EQ(lists_[0].text, "");

    // 05, 12 and 34 alike; 20 and F0 alike; 21 equal to 20 but for the order of its bytes.
    Stage().PasteChip32x32(4 * 0x12, Defs(0x05));
    Stage().PasteChip32x32(4 * 0x34, Defs(0x05));
    Stage().PasteChip32x32(4 * 0xF0, Defs(0x20));
    const std::array<Byte, 4> d = Defs(0x20);
    Stage().PasteChip32x32(4 * 0x21, {d[1], d[0], d[2], d[3]});
    QTest::mouseClick(Find<QPushButton>("BtnOverlap32x32ChipChk"), Qt::LeftButton);
    EXPECT_EQ(lists_.back().text, "05 12 34 \r\n20 F0 \r\n");
    EXPECT_EQ(DuplicateChip32x32List(Stage().Chip32x32(), " <- "), "05 <- 12 34 \r\n20 <- F0 \r\n");

    // All 256 alike: one line.
    for (int n = 0; n < 256; ++n) Stage().PasteChip32x32(4 * n, {1, 2, 3, 4});
    QTest::mouseClick(Find<QPushButton>("BtnOverlap32x32ChipChk"), Qt::LeftButton);
    QString all = "00 ";
    for (int n = 1; n < 256; ++n) all += H2(n) + " ";
    EXPECT_EQ(lists_.back().text, all + "\r\n");
    const auto groups = DuplicateChip32x32Groups(Stage().Chip32x32());
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].size(), 256u);
    EXPECT_TRUE(DuplicateChip32x32Groups(nullptr).empty());
}

// A saved grid setting ticks the box at start; the view then draws with grid lines.
class Chip32GridSettingTest : public Chip32PageTest {
protected:
    QByteArray IniText() const override { return "[32x32ChipEdit]\r\nGrid=1\r\n"; }
};

TEST_F(Chip32GridSettingTest, SavedGridSettingIsShownAfterOpen) {
    EXPECT_TRUE(Find<QCheckBox>("Chk32x32ChipEditDrawGrid")->isChecked());
    EXPECT_EQ(Px("ImgEdit32x32ChipView", 32, 100), White());
    EXPECT_EQ(Px("ImgEdit32x32ChipView", 480, 255), White());
    EXPECT_EQ(Px("ImgEdit32x32ChipView", 100, 224), White());
    EXPECT_EQ(Px("ImgEdit32x32ChipView", 511, 1), ChipPx(15, 31, 1));
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
