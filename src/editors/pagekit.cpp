#include "editors/pagekit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include "editors/ImageEx.h"
#include "graphics/graphics.h"
#include "graphics/hextext.h"

// ---------------------------------------------------------------------------------------------------------
// Cells

std::optional<int> CellAt(int x, int y, int cellWidth, int cellHeight, int columns, int rows) {
    if (cellWidth <= 0 || cellHeight <= 0 || columns <= 0 || rows <= 0) return std::nullopt;
    if (x < 0 || y < 0) return std::nullopt;
    const int cx = x / cellWidth, cy = y / cellHeight;
    if (cx >= columns || cy >= rows) return std::nullopt;
    return cy * columns + cx;
}

std::optional<int> CellAt(const TImageEx* view, int x, int y, int size) {
    if (!view || size <= 0 || !InsideView(view, x, y)) return std::nullopt;
    return CellAt(x, y, size, size, view->Picture().width() / size, view->Picture().height() / size);
}

bool InsideView(const TImageEx* view, int x, int y) {
    return view && x >= 0 && y >= 0 && x < view->Picture().width() && y < view->Picture().height();
}

// ---------------------------------------------------------------------------------------------------------
// GridHover

GridHover::GridHover(const EditorGraphics& graphics, int cellSize, int columns, std::function<void(int)> repaintCell)
    : graphics_(graphics),
      cellSize_(cellSize),
      columns_(columns > 0 ? columns : 1),
      repaintCell_(std::move(repaintCell)) {}

void GridHover::MoveTo(int cell) {
    if (cell < 0) cell = -1;
    if (cell == current_) return;
    const int previous = current_;
    current_ = cell;
    if (previous >= 0) {
        if (repaintCell_) repaintCell_(previous);
        ++touched_;
        if (afterRepaint_) afterRepaint_();
    }
    if (cell >= 0) Outline(cell);
}

void GridHover::Leave() {
    const int previous = current_;
    current_ = -1;
    if (previous < 0) return;
    if (repaintCell_) repaintCell_(previous);
    ++touched_;
    if (afterRepaint_) afterRepaint_();
}

void GridHover::Reoutline() {
    if (current_ >= 0) Outline(current_);
}

void GridHover::Outline(int cell) {
    ++touched_;
    if (outline_) {
        outline_(cell);
        return;
    }
    if (!view_) return;
    graphics_.DrawHoverOutline(view_->Picture(), cellSize_ * (cell % columns_), cellSize_ * (cell / columns_),
                               cellSize_);
    view_->Changed();
}

// ---------------------------------------------------------------------------------------------------------
// HexByteField

HexByteField HexByteField::Make(QWidget* parent, const QString& name, int x, int y, int width, int height, int tag) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(2);
    e->setGeometry(x, y, width, height);
    e->setProperty("Tag", tag);
    return HexByteField(e);
}

void HexByteField::Show(int value) const {
    if (!edit_) return;
    const QString text = Hex2(value);
    if (edit_->text() == text) return;
    const QSignalBlocker block(edit_);
    edit_->setText(text);
}

std::optional<int> HexByteField::Take(int stored) const {
    if (!edit_ || edit_->text().size() != 2) return std::nullopt;
    int value = 0;
    if (ParseHex2(edit_->text(), value)) return value;
    Show(stored);
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------------------
// Builders

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int width, const char* name) {
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(name);
    label->move(x, y);
    if (width > 0)
        label->resize(width, 18);
    else
        label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int width, int height) {
    auto* b = new QPushButton(text, parent);
    if (name) b->setObjectName(name);
    b->setGeometry(x, y, width, height);
    return b;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& title, int x, int y, int width, int height, const char* name) {
    auto* g = new QGroupBox(title, parent);
    if (name) g->setObjectName(name);
    g->setGeometry(x, y, width, height);
    return g;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text, int x, int y, int width, int height) {
    auto* c = new QCheckBox(text, parent);
    if (name) c->setObjectName(name);
    c->setGeometry(x, y, width, height);
    return c;
}

QScrollBar* MakeScrollBar(QWidget* parent, const char* name, Qt::Orientation orientation, int x, int y, int width,
                          int height, int minimum, int maximum) {
    auto* s = new QScrollBar(orientation, parent);
    if (name) s->setObjectName(name);
    s->setGeometry(x, y, width, height);
    s->setRange(minimum, maximum);
    s->setPageStep(1);
    s->setSingleStep(1);
    return s;
}

TImageEx* MakeView(QWidget* parent, const QString& name, int width, int height, int x, int y, int tag) {
    auto* v = new TImageEx(name, width, height, parent, tag);
    v->move(x, y);
    return v;
}

UpDownButtons MakeUpDown(QWidget* parent, const QString& name, int x, int y, int width, int height, int tag,
                         bool autoRepeat, Qt::Orientation orientation) {
    UpDownButtons ud;
    ud.box = new QWidget(parent);
    ud.box->setObjectName(name);
    ud.box->setProperty("Tag", tag);
    ud.box->setGeometry(x, y, width, height);
    const bool horizontal = orientation == Qt::Horizontal;
    QBoxLayout* lay = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(ud.box))
                                 : static_cast<QBoxLayout*>(new QVBoxLayout(ud.box));
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    auto arrow = [&](const QString& n, Qt::ArrowType type) {
        auto* b = new QToolButton(ud.box);
        b->setObjectName(n);
        b->setArrowType(type);
        b->setAutoRepeat(autoRepeat);
        if (horizontal)
            b->setFixedSize(width / 2, height);
        else
            b->setFixedSize(width, height / 2);
        lay->addWidget(b);
        return b;
    };
    if (horizontal) {
        ud.down = arrow(name + "Left", Qt::LeftArrow);
        ud.up = arrow(name + "Right", Qt::RightArrow);
    } else {
        ud.up = arrow(name + "Up", Qt::UpArrow);
        ud.down = arrow(name + "Down", Qt::DownArrow);
    }
    return ud;
}
