#pragma once
// The page kit: what every editor page needs and no page should write again. Grid hover outlines that
// touch only two cells, the cell under a position, the guard for "the program is filling the controls",
// the two-hexadecimal-digit byte field, and builders for controls at fixed geometry.

#include <QString>
#include <Qt>
#include <cstdint>
#include <functional>
#include <optional>

class EditorGraphics;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;
class QWidget;
class TImageEx;

// ---------------------------------------------------------------------------------------------------------
// Cells

// The cell of a grid of columns x rows cells of cellWidth x cellHeight pixels under (x, y), numbered row by
// row; nothing when the position lies outside the grid (negative, or past its right or bottom edge).
std::optional<int> CellAt(int x, int y, int cellWidth, int cellHeight, int columns, int rows);
// The cell of a square grid of cells of size pixels that covers a whole view of width x height.
std::optional<int> CellAt(const TImageEx* view, int x, int y, int size);
// Whether (x, y) lies inside the view's picture.
bool InsideView(const TImageEx* view, int x, int y);

// ---------------------------------------------------------------------------------------------------------
// Hover outline of a grid view

// Keeps the cell framed by the magenta hover outline of one grid view. A move to another cell repaints the
// old cell from its source and outlines the new one, so a move touches two cells and a leave one; a move
// within the same cell draws nothing.
class GridHover {
public:
    // repaintCell draws cell again from its source picture, without the outline. The outline square of
    // cell lies at ((cell mod columns) x cellSize, (cell div columns) x cellSize).
    GridHover(const EditorGraphics& graphics, int cellSize, int columns, std::function<void(int)> repaintCell);

    void SetView(TImageEx* view) { view_ = view; }
    // Draws the outline of cell another way than the default square on the view (a row spread over
    // several views, for example).
    void SetOutline(std::function<void(int)> outline) { outline_ = std::move(outline); }
    // Called after a cell was repainted on a move or a leave (for example to draw grid lines again).
    void SetAfterRepaint(std::function<void()> after) { afterRepaint_ = std::move(after); }

    // Moves the outline to cell (-1 for none).
    void MoveTo(int cell);
    // The pointer left the view: the framed cell is repainted and nothing is framed.
    void Leave();
    // Forgets the framed cell without drawing (the view was drawn anew without outline).
    void Forget() { current_ = -1; }
    // Draws the outline of the framed cell again (after the view was drawn anew).
    void Reoutline();

    int Current() const { return current_; }
    // Cells repainted or outlined so far: two per move to another cell, one per leave.
    std::uint64_t CellsTouched() const { return touched_; }

private:
    void Outline(int cell);

    const EditorGraphics& graphics_;
    int cellSize_;
    int columns_;
    std::function<void(int)> repaintCell_;
    std::function<void()> afterRepaint_;
    std::function<void(int)> outline_;
    TImageEx* view_ = nullptr;
    int current_ = -1;
    std::uint64_t touched_ = 0;
};

// ---------------------------------------------------------------------------------------------------------
// Controls filled by the program

// Marks "the program is filling the controls": change handlers that see the flag set do nothing. The
// flag's earlier value comes back when the guard ends, so guards nest.
class FillingGuard {
public:
    explicit FillingGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FillingGuard() { flag_ = old_; }
    FillingGuard(const FillingGuard&) = delete;
    FillingGuard& operator=(const FillingGuard&) = delete;

private:
    bool& flag_;
    bool old_;
};

// A single-line field of at most two characters that shows a byte as two upper-case hexadecimal digits.
class HexByteField {
public:
    HexByteField() = default;
    explicit HexByteField(QLineEdit* edit) : edit_(edit) {}
    // Builds the field: objectName, the Tag property, maximum length 2, the geometry.
    static HexByteField Make(QWidget* parent, const QString& name, int x, int y, int width, int height, int tag = 0);

    QLineEdit* Edit() const { return edit_; }
    explicit operator bool() const { return edit_ != nullptr; }
    // Shows value without firing the field's change signals; an equal text is left alone.
    void Show(int value) const;
    // The typed value once the text has two characters: the value when they are two hexadecimal digits;
    // otherwise the stored value is shown again and nothing is returned. Fewer characters: nothing, and
    // the text stays as typed.
    std::optional<int> Take(int stored) const;

private:
    QLineEdit* edit_ = nullptr;
};

// ---------------------------------------------------------------------------------------------------------
// Builders of controls at fixed geometry

// A label; width -1 sizes it to its text. name may be null.
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int width = -1, const char* name = nullptr);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int width, int height);
QGroupBox* MakeGroup(QWidget* parent, const QString& title, int x, int y, int width, int height,
                     const char* name = nullptr);
QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text, int x, int y, int width, int height);
QScrollBar* MakeScrollBar(QWidget* parent, const char* name, Qt::Orientation orientation, int x, int y, int width,
                          int height, int minimum, int maximum);
// A view of width x height at (x, y) carrying tag.
TImageEx* MakeView(QWidget* parent, const QString& name, int width, int height, int x, int y, int tag = 0);

// An up-down control that only reports a direction: a small container named name (with the Tag property)
// holding an up and a down arrow button named name + "Up" and name + "Down". A horizontal one holds a left
// and a right arrow side by side instead, named name + "Left" (down, the smaller value) and name + "Right"
// (up, the greater value).
struct UpDownButtons {
    QWidget* box = nullptr;
    QToolButton* up = nullptr;
    QToolButton* down = nullptr;
};
UpDownButtons MakeUpDown(QWidget* parent, const QString& name, int x, int y, int width, int height, int tag = 0,
                         bool autoRepeat = true, Qt::Orientation orientation = Qt::Vertical);
