#pragma once
// The map set grid dialog: one map set as an 8 x 8 table of two-digit hexadecimal chip numbers, edited by
// typing, by filling a range with one value, and by copying and pasting ranges through the clipboard as
// text. It never touches the stage data: the map set page fills it, runs it and applies its result.

#include <QDialog>
#include <QString>
#include <QTableWidget>
#include <array>
#include <cstdint>
#include <optional>

class QAction;
class QMenu;
class QPushButton;
class UserPrompts;

// A text of one or more hexadecimal digits (either case) and nothing else, read as a number; nothing for an
// empty or malformed text. Values past 0xFFFF are returned as 0x10000, so any range check still fails.
std::optional<int> ParseHexValue(const QString& text);

// The string grid of the dialog. It has no in-place editor: keys, mouse presses and the loss of focus are
// passed to the dialog, which owns the cell rules.
class TMapSetEditGridForm;
class MapSetGrid : public QTableWidget {
public:
    MapSetGrid(TMapSetEditGridForm& form, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    TMapSetEditGridForm& form_;
};

class TMapSetEditGridForm : public QDialog {
public:
    static constexpr int kCellSize = 31;
    static constexpr int kGridSize = 259;
    static constexpr int kClientWidth = 293;
    static constexpr int kClientHeight = 339;
    static constexpr int kPasteLimit = 256;
    static constexpr const char* kFillCaption = QT_TRANSLATE_NOOP("GridDialog", "選択範囲の初期化");
    static constexpr const char* kFillPrompt =
        QT_TRANSLATE_NOOP("GridDialog", "初期化に使用する値を入力して下さい(00～FF)");

    // An inclusive rectangle of cells; it may lie partly or wholly outside the grid.
    struct Range {
        int left = 0, top = 0, right = 0, bottom = 0;
    };

    TMapSetEditGridForm(UserPrompts& prompts, QWidget* parent);

    // Sets the title for map set number, fills the 64 cells (byte j x 8 + i in column i, row j) and makes
    // cell (0, 0) the current cell and the whole selection.
    void Open(int mapSetNumber, const std::array<std::uint8_t, 64>& bytes);
    // The 64 bytes taken from the cells when OK was pressed.
    const std::array<std::uint8_t, 64>& Result() const { return result_; }

    // The pieces the tests and the grid reach.
    MapSetGrid* Grid() const { return grid_; }
    QMenu* PopupMenu() const { return popup_; }
    QAction* CopyAction() const { return n1_; }
    QAction* PasteAction() const { return n2_; }
    QAction* FillAction() const { return n3_; }
    QString CellText(int column, int row) const;
    void SetCellText(int column, int row, const QString& text);
    // The selection rectangle (the current cell when nothing is selected; all -1 when there is neither).
    Range Selection() const;

    // Event handlers.
    void SGridMapSetEditKeyPress(QChar key);
    void SGridMapSetEditKeyDown(int key);
    // Normalises the cells; for the right button also moves a single-cell selection to the cell under the
    // mouse and opens the pop-up menu at globalPos. Returns whether the press is done (the grid must not
    // handle it any more): all but a left press on a cell (pos in the grid's viewport).
    bool SGridMapSetEditMouseDown(Qt::MouseButton button, QPoint pos, QPoint globalPos);
    void SGridMapSetEditExit();
    void N1Click();
    void N2Click();
    void N3Click();
    void BtnGridEditOKClick();
    void BtnGridEditCancelClick();

    // Every cell parsed and rewritten as two upper-case hex digits; malformed cells become 00.
    void Normalise();
    // Whether the clipboard holds a text that is not empty (what enables N2).
    static bool ClipboardHasText();

private:
    // Validates and limits a selection to the grid as copy and fill do; nothing when it lies outside.
    static std::optional<Range> Limited(const Range& r);

    UserPrompts& prompts_;
    MapSetGrid* grid_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QMenu* popup_;
    QAction* n1_;
    QAction* n2_;
    QAction* n3_;
    std::array<std::uint8_t, 64> result_{};
};
