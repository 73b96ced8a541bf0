// The map set grid dialog, opened with Shift and a left click on a map set page of the real main window and
// driven like a user would: typing, arrow keys, mouse presses, the pop-up menu with the clipboard, filling,
// OK and Cancel.

#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <functional>
#include <tuple>

#include "test_mapset_fixture.h"

using namespace mapsettest;

namespace {

const char* kGridUndo = "マップセットの編集(グリッド編集)";

class GridDialogTest : public MapSetPageTest {
protected:
    // Opens the dialog on page (Shift + left click), shows it and runs body on it; body's return value is
    // the dialog's result.
    void RunOnPage(int page, const std::function<int(TMapSetEditGridForm&)>& body,
                   Qt::KeyboardModifiers mods = Qt::ShiftModifier) {
        bool ran = false;
        prompts_.dialogHook = [&](QDialog& d, const QString& name) {
            ran = true;
            EXPECT_EQ(name, "MapSetEditGridForm");
            auto& f = dynamic_cast<TMapSetEditGridForm&>(d);
            f.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
            f.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
            f.Grid()->setFocus();
            QApplication::processEvents();
            const int result = body(f);
            if (f.isVisible()) f.done(result);
            return result;
        };
        ClickCell(page, Qt::LeftButton, 3, 3, mods);
        prompts_.dialogHook = nullptr;
        ASSERT_TRUE(ran) << "the grid dialog was not opened";
    }

    static QPoint CellPos(TMapSetEditGridForm& f, int column, int row) {
        return f.Grid()->visualItemRect(f.Grid()->item(row, column)).center();
    }
    static void ClickGridCell(TMapSetEditGridForm& f, int column, int row, Qt::MouseButton b = Qt::LeftButton,
                              Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::mouseClick(f.Grid()->viewport(), b, m, CellPos(f, column, row));
    }
    static void Type(TMapSetEditGridForm& f, const char* keys) {
        for (const char* k = keys; *k; ++k) QTest::keyClick(f.Grid(), *k);
    }
    static void Select(TMapSetEditGridForm& f, int left, int top, int right, int bottom) {
        ClickGridCell(f, left, top);
        ClickGridCell(f, right, bottom, Qt::LeftButton, Qt::ShiftModifier);
        const auto s = f.Selection();
        EXPECT_EQ(s.left, left);
        EXPECT_EQ(s.top, top);
        EXPECT_EQ(s.right, right);
        EXPECT_EQ(s.bottom, bottom);
    }
    static QStringList Cells(TMapSetEditGridForm& f) {
        QStringList out;
        for (int j = 0; j < 8; ++j)
            for (int i = 0; i < 8; ++i) out << f.CellText(i, j);
        return out;
    }
    static void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }
    // The cells as they were, with some of them changed.
    static QStringList With(QStringList cells, std::initializer_list<std::tuple<int, int, const char*>> changes) {
        for (auto [i, j, text] : changes) cells[j * 8 + i] = QString::fromLatin1(text);
        return cells;
    }
};

TEST(GridValueParsing, HexDigitsOnly) {
    EXPECT_EQ(ParseHexValue("0"), 0);
    EXPECT_EQ(ParseHexValue("fF"), 255);
    EXPECT_EQ(ParseHexValue("100"), 256);
    EXPECT_EQ(ParseHexValue("000000000000000000000000A"), 10);
    for (const char* bad : {"", " 1", "1 ", "+1", "-1", "0x1", "$1", "G", "1.0"})
        EXPECT_FALSE(ParseHexValue(QString::fromLatin1(bad)).has_value()) << bad;
    // A long run of digits neither overflows nor comes back in range.
    EXPECT_GT(*ParseHexValue(QString(300, 'F')), 255);
}

TEST_F(GridDialogTest, OpensFilledWithTheMapSetUnderItsNumber) {
    Bar("ScrBarSelectPage1")->setValue(0x1F);
    const Bytes64 bytes = SetBytes(0x1F);
    TMapSetEditGridForm* first = nullptr;
    RunOnPage(1, [&](TMapSetEditGridForm& f) {
        first = &f;
        EXPECT_EQ(f.windowTitle(), QString::fromUtf8("マップセット(番号1F)の編集"));
        EXPECT_EQ(f.size(), QSize(293, 339));
        EXPECT_EQ(f.Grid()->objectName(), "SGridMapSetEdit");
        EXPECT_EQ(f.Grid()->size(), QSize(259, 259));
        EXPECT_EQ(f.Grid()->rowCount(), 8);
        EXPECT_EQ(f.Grid()->columnCount(), 8);
        EXPECT_FALSE(f.Grid()->horizontalHeader()->isVisible());
        EXPECT_FALSE(f.Grid()->verticalHeader()->isVisible());
        EXPECT_EQ(f.Grid()->columnWidth(3), 31);
        EXPECT_EQ(f.Grid()->rowHeight(5), 31);
        EXPECT_EQ(f.findChild<QPushButton*>("BtnGridEditOK")->text(), "OK");
        EXPECT_EQ(f.findChild<QPushButton*>("BtnGridEditCancel")->text(), QString::fromUtf8("キャンセル"));
        EXPECT_LT(f.findChild<QPushButton*>("BtnGridEditOK")->x(), f.findChild<QPushButton*>("BtnGridEditCancel")->x());
        QMenu* menu = f.findChild<QMenu*>("PopupMenuGrid");
        EXPECT_NE(menu, nullptr);
        EXPECT_EQ(f.findChild<QAction*>("N1")->text(), QString::fromUtf8("クリップボードにコピー"));
        EXPECT_EQ(f.findChild<QAction*>("N2")->text(), QString::fromUtf8("クリップボードから貼り付け"));
        EXPECT_EQ(f.findChild<QAction*>("N3")->text(), QString::fromUtf8("選択範囲を初期化"));
        for (int j = 0; j < 8; ++j)
            for (int i = 0; i < 8; ++i) EXPECT_EQ(f.CellText(i, j), Hex2(bytes[j * 8 + i])) << i << "," << j;
        EXPECT_EQ(f.Grid()->currentRow(), 0);
        EXPECT_EQ(f.Grid()->currentColumn(), 0);
        const auto s = f.Selection();
        EXPECT_EQ(s.left + s.top + s.right + s.bottom, 0);
        // Leave it in another state: a range selected and a cell typed into, then cancel.
        Select(f, 2, 2, 4, 5);
        Type(f, "7");
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(SetBytes(0x1F), bytes);
    EXPECT_FALSE(Stage().CanUndo());

    // Ctrl is not looked at with Shift: the same dialog opens again for page 0, filled anew.
    RunOnPage(
        0,
        [&](TMapSetEditGridForm& f) {
            EXPECT_EQ(&f, first);
            EXPECT_EQ(f.windowTitle(), QString::fromUtf8("マップセット(番号00)の編集"));
            EXPECT_EQ(f.CellText(4, 5), Hex2(Cell(0, 5 * 8 + 4)));
            const auto s = f.Selection();
            EXPECT_EQ(s.right, 0);
            EXPECT_EQ(s.bottom, 0);
            return int(QDialog::Rejected);
        },
        Qt::ShiftModifier | Qt::ControlModifier);
}

TEST_F(GridDialogTest, TypingTakesTwoDigitsAndNormalisesOnLeavingTheGrid) {
    RunOnPage(0, [&](TMapSetEditGridForm& f) {
        const QStringList before = Cells(f);
        Type(f, "1F3");
        EXPECT_EQ(f.CellText(0, 0), "3");
        Type(f, "x- g");
        EXPECT_EQ(Cells(f), With(before, {{0, 0, "3"}})) << "other keys change nothing";
        EXPECT_EQ(f.Grid()->currentColumn(), 0);
        // Focus goes to the OK button: the grid is normalised.
        f.findChild<QPushButton*>("BtnGridEditCancel")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(f.CellText(0, 0), "03");
        // Lower case is shown in upper case; a full cell starts again.
        ClickGridCell(f, 1, 0);
        Type(f, "ab");
        EXPECT_EQ(f.CellText(1, 0), "AB");
        Type(f, "c");
        EXPECT_EQ(f.CellText(1, 0), "C");
        // The window going to the background and coming back is no leaving: the value is still being typed.
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(f.Grid(), &away);
        EXPECT_EQ(f.CellText(1, 0), "C");
        Type(f, "d");
        EXPECT_EQ(f.CellText(1, 0), "CD");
        QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
        ClickGridCell(f, 2, 0);
        Type(f, "7");
        QCoreApplication::sendEvent(f.Grid(), &tab);
        EXPECT_EQ(f.CellText(2, 0), "07");
        return int(QDialog::Rejected);
    });
}

TEST_F(GridDialogTest, ArrowKeysAndMousePressesNormaliseFirst) {
    RunOnPage(0, [&](TMapSetEditGridForm& f) {
        Type(f, "7");
        QTest::keyClick(f.Grid(), Qt::Key_Right);
        EXPECT_EQ(f.CellText(0, 0), "07");
        EXPECT_EQ(f.Grid()->currentColumn(), 1);
        Type(f, "E");
        QTest::keyClick(f.Grid(), Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ(f.CellText(1, 0), "0E");
        auto s = f.Selection();
        EXPECT_EQ(s.top, 0);
        EXPECT_EQ(s.bottom, 1) << "Shift with an arrow extends the selection";
        // A left press elsewhere.
        Type(f, "5");
        const QString typedInto = f.CellText(f.Grid()->currentColumn(), f.Grid()->currentRow());
        EXPECT_EQ(typedInto.size(), 1);
        const int c = f.Grid()->currentColumn(), r = f.Grid()->currentRow();
        ClickGridCell(f, 3, 3);
        EXPECT_EQ(f.CellText(c, r), "05");
        EXPECT_EQ(f.Grid()->currentRow(), 3);
        // A right press normalises too.
        Type(f, "9");
        ClickGridCell(f, 6, 6, Qt::RightButton);
        EXPECT_EQ(f.CellText(3, 3), "09");
        f.PopupMenu()->close();
        return int(QDialog::Rejected);
    });
}

// The highlighted range is the range the commands use after any press: a left press beside the 31-pixel
// cells and a middle press only normalise.
TEST_F(GridDialogTest, OnlyALeftPressOnACellMovesTheSelection) {
    RunOnPage(0, [&](TMapSetEditGridForm& f) {
        Select(f, 1, 1, 2, 3);
        const int c = f.Grid()->currentColumn(), r = f.Grid()->currentRow();
        const int strip = 8 * 31 + 4;
        for (auto [b, pos] : {std::pair{Qt::MiddleButton, CellPos(f, 6, 6)},
                              {Qt::LeftButton, QPoint(strip, 40)},
                              {Qt::LeftButton, QPoint(40, strip)},
                              {Qt::LeftButton, QPoint(strip, strip)}}) {
            Type(f, "9");
            QTest::mouseClick(f.Grid()->viewport(), b, Qt::NoModifier, pos);
            EXPECT_EQ(f.CellText(c, r), "09");
            EXPECT_EQ(f.Grid()->selectedRanges().size(), 1);
            const auto s = f.Selection();
            EXPECT_EQ(std::tuple(s.left, s.top, s.right, s.bottom), std::tuple(1, 1, 2, 3)) << pos.x();
            EXPECT_EQ(std::pair(f.Grid()->currentColumn(), f.Grid()->currentRow()), std::pair(c, r));
        }
        return int(QDialog::Rejected);
    });
}

TEST_F(GridDialogTest, RightClickMovesASingleSelectionAndOpensTheMenu) {
    RunOnPage(0, [&](TMapSetEditGridForm& f) {
        SetClipboard(QString());
        ClickGridCell(f, 4, 2, Qt::RightButton);
        EXPECT_TRUE(f.PopupMenu()->isVisible());
        EXPECT_FALSE(f.PasteAction()->isEnabled()) << "no text on the clipboard";
        EXPECT_EQ(f.Grid()->currentColumn(), 4);
        EXPECT_EQ(f.Grid()->currentRow(), 2);
        auto s = f.Selection();
        EXPECT_EQ(s.left, 4);
        EXPECT_EQ(s.right, 4);
        EXPECT_EQ(s.top, 2);
        f.PopupMenu()->close();

        SetClipboard("x");
        Select(f, 1, 1, 2, 3);
        ClickGridCell(f, 6, 6, Qt::RightButton);
        EXPECT_TRUE(f.PasteAction()->isEnabled());
        s = f.Selection();
        EXPECT_EQ(s.left, 1);
        EXPECT_EQ(s.top, 1);
        EXPECT_EQ(s.right, 2);
        EXPECT_EQ(s.bottom, 3) << "a range stays selected";
        f.PopupMenu()->close();
        return int(QDialog::Rejected);
    });
}

TEST_F(GridDialogTest, CopyPutsRowsWithSpacesAndCrLfOnTheClipboard) {
    RunOnPage(0, [&](TMapSetEditGridForm& f) {
        const char* values[2][3] = {{"01", "02", "03"}, {"11", "12", "13"}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c) f.SetCellText(2 + c, 5 + r, values[r][c]);
        Select(f, 2, 5, 4, 6);
        f.CopyAction()->trigger();
        const QString want = QStringLiteral("01 02 03\r\n11 12 13\r\n");
        EXPECT_EQ(Clipboard(), want);
        EXPECT_EQ(Clipboard().size(), want.size());
        for (int i = 0; i < std::min(want.size(), Clipboard().size()); ++i) EXPECT_EQ(Clipboard()[i], want[i]) << i;

        ClickGridCell(f, 7, 7);
        f.CopyAction()->trigger();
        EXPECT_EQ(Clipboard(), f.CellText(7, 7) + "\r\n");
        return int(QDialog::Rejected);
    });
}

TEST_F(GridDialogTest, PasteFollowsTheTokenRules) {
    RunOnPage(0, [&](TMapSetEditGridForm& f) {
        // What N1 copied pastes back cell for cell, elsewhere.
        Select(f, 0, 0, 2, 1);
        f.CopyAction()->trigger();
        const QStringList before = Cells(f);
        ClickGridCell(f, 4, 5);
        f.PasteAction()->trigger();
        EXPECT_EQ(Cells(f), With(before, {{4, 5, qPrintable(before[0])},
                                          {5, 5, qPrintable(before[1])},
                                          {6, 5, qPrintable(before[2])},
                                          {4, 6, qPrintable(before[8])},
                                          {5, 6, qPrintable(before[9])},
                                          {6, 6, qPrintable(before[10])}}));

        auto pasteAt = [&](int c, int r, const QString& text) {
            ClickGridCell(f, c, r);
            SetClipboard(text);
            f.PasteAction()->trigger();
        };
        // Cells past the right edge are dropped, not wrapped.
        QStringList now = Cells(f);
        pasteAt(7, 0, "AA BB");
        EXPECT_EQ(Cells(f), With(now, {{7, 0, "AA"}}));
        // Line feeds alone join tokens: 0102 is out of range, nothing is stored.
        now = Cells(f);
        pasteAt(0, 3, "01\n02");
        EXPECT_EQ(Cells(f), now);
        // Two spaces skip a cell; a malformed token leaves its cell; lower case comes out upper case.
        pasteAt(0, 2, "c1  c3 G4 ff");
        EXPECT_EQ(Cells(f), With(now, {{0, 2, "C1"}, {2, 2, "C3"}, {4, 2, "FF"}}));
        // Carriage returns start the next row at the same left column; rows past the bottom are dropped.
        now = Cells(f);
        pasteAt(6, 6, "1\r\n2 3\r\n4");
        EXPECT_EQ(Cells(f), With(now, {{6, 6, "01"}, {6, 7, "02"}, {7, 7, "03"}}));
        // 257 characters paste nothing, even with a valid start; 256 do.
        now = Cells(f);
        pasteAt(0, 0, "0A" + QString(255, ' '));
        EXPECT_EQ(Cells(f), now);
        pasteAt(0, 0, "0A" + QString(254, ' '));
        EXPECT_EQ(Cells(f), With(now, {{0, 0, "0A"}}));
        return int(QDialog::Rejected);
    });
}

TEST_F(GridDialogTest, FillAsksForAValueAndFillsTheSelection) {
    const QString ask = "input:" + QString::fromUtf8("選択範囲の初期化") + "|" +
                        QString::fromUtf8("初期化に使用する値を入力して下さい(00～FF)");
    RunOnPage(0, [&](TMapSetEditGridForm& f) {
        Select(f, 1, 1, 2, 2);
        const QStringList before = Cells(f);
        prompts_.log.clear();
        prompts_.inputAnswers = {"100", "", "zz"};
        for (int k = 0; k < 4; ++k) f.FillAction()->trigger();  // the fourth is cancelled
        EXPECT_EQ(Cells(f), before);
        EXPECT_EQ(prompts_.log, QStringList({ask, ask, ask, ask}));
        prompts_.inputAnswers = {"a"};
        f.FillAction()->trigger();
        EXPECT_EQ(Cells(f), With(before, {{1, 1, "0A"}, {2, 1, "0A"}, {1, 2, "0A"}, {2, 2, "0A"}}));
        return int(QDialog::Rejected);
    });
}

TEST_F(GridDialogTest, OkAppliesTheCellsAsOneGridEdit) {
    const Bytes64 before = SetBytes(1);
    // OK without changes records nothing.
    RunOnPage(1, [&](TMapSetEditGridForm& f) {
        f.findChild<QPushButton*>("BtnGridEditOK")->click();
        return f.result();
    });
    EXPECT_EQ(SetBytes(1), before);
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_FALSE(Modified());

    // Cancel after typing changes nothing.
    RunOnPage(1, [&](TMapSetEditGridForm& f) {
        Type(f, "44");
        f.findChild<QPushButton*>("BtnGridEditCancel")->click();
        return f.result();
    });
    EXPECT_EQ(SetBytes(1), before);
    EXPECT_FALSE(Stage().CanUndo());

    // A typed digit that was never normalised counts as typed (one digit): 7 -> 07.
    PageView(1)->Picture().setPixel(0, 0, qRgb(9, 9, 9));
    RunOnPage(1, [&](TMapSetEditGridForm& f) {
        Type(f, "7");
        ClickGridCell(f, 7, 7);
        Type(f, "E");
        Type(f, "1");
        ClickGridCell(f, 5, 0);
        Type(f, "3");
        f.findChild<QPushButton*>("BtnGridEditOK")->click();
        return f.result();
    });
    Bytes64 want = before;
    want[0] = 0x07;
    want[63] = 0xE1;
    want[5] = 0x03;
    EXPECT_EQ(SetBytes(1), want);
    EXPECT_EQ(UndoCaption(), UndoText(kGridUndo));
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(PageShows(1, 1)) << "the page is drawn again";
    form_->Undo1Click();
    EXPECT_EQ(SetBytes(1), before);
}

TEST_F(GridDialogTest, GridEditOnAStageChangesOnlyItsMapSetsInTheSavedFile) {
    form_->findChild<QComboBox*>("CBStage")->setCurrentIndex(5);
    RunOnPage(0, [&](TMapSetEditGridForm& f) {
        Select(f, 0, 0, 7, 7);
        prompts_.inputAnswers = {"3C"};
        f.FillAction()->trigger();
        f.findChild<QPushButton*>("BtnGridEditOK")->click();
        return f.result();
    });
    for (int i = 0; i < 64; ++i) ASSERT_EQ(Cell(0, i), 0x3C);
    const QString out = dir_.filePath("grid.nes");
    prompts_.saveNames.push_back(out);
    ASSERT_TRUE(form_->SaveAs1Click());
    const QByteArray saved = ReadFile(out);
    ASSERT_EQ(saved.size(), original_.size());
    const int base = MapSetAddress(5);
    for (int i = 0; i < saved.size(); ++i) {
        if (i >= base && i < base + 64) {
            ASSERT_EQ(Byte(saved[i]), 0x3C) << i;
            continue;
        }
        ASSERT_EQ(saved[i], original_[i]) << "byte " << i;
    }
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
