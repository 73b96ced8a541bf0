#include "editors/MapSetEditGridForm.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidgetItem>

#include "editors/userprompts.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {

constexpr int kColumns = 8;
constexpr int kRows = 8;

// Draws a cell as the grid prepared it (selected cells in the highlight colour) with its text right-aligned,
// two pixels below the cell's top.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        painter->save();
        painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
        painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        painter->setFont(option.font);
        const QRect text = option.rect.adjusted(0, 2, -2, 0);
        painter->drawText(text, Qt::AlignRight | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

}  // namespace

std::optional<int> ParseHexValue(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    int value = 0;
    for (QChar ch : text) {
        const int d = HexDigitValue(ch);
        if (d < 0) return std::nullopt;
        // Long texts must not overflow: anything past 0xFFFF is out of every range the dialog accepts.
        value = std::min(value * 16 + d, 0x10000);
    }
    return value;
}

// ---------------------------------------------------------------------------------------------------------
// The grid control

MapSetGrid::MapSetGrid(TMapSetEditGridForm& form, QWidget* parent)
    : QTableWidget(kRows, kColumns, parent), form_(form) {
    setObjectName("SGridMapSetEdit");
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setMinimumSectionSize(1);
        h->setDefaultSectionSize(TMapSetEditGridForm::kCellSize);
        h->setSectionResizeMode(QHeaderView::Fixed);
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    QFont f = font();
    f.setPixelSize(15);
    setFont(f);
    setItemDelegate(new CellDelegate(this));
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(QStringLiteral("00"));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
    setFixedSize(TMapSetEditGridForm::kGridSize, TMapSetEditGridForm::kGridSize);
}

void MapSetGrid::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        form_.SGridMapSetEditKeyDown(e->key());
        QTableWidget::keyPressEvent(e);
        return;
    default: break;
    }
    // The view's own copy would put the current cell on the clipboard; only the pop-up menu copies.
    if (e->matches(QKeySequence::Copy)) {
        e->accept();
        return;
    }
    const QString text = e->text();
    if (text.size() == 1 && text[0].isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Typed characters act on the current cell only; they never search or move.
        form_.SGridMapSetEditKeyPress(text[0]);
        e->accept();
        return;
    }
    QTableWidget::keyPressEvent(e);
}

void MapSetGrid::mousePressEvent(QMouseEvent* e) {
    if (form_.SGridMapSetEditMouseDown(e->button(), e->position().toPoint(), e->globalPosition().toPoint())) {
        e->accept();
        return;
    }
    QTableWidget::mousePressEvent(e);
}

void MapSetGrid::focusOutEvent(QFocusEvent* e) {
    // Leaving the grid for another control of the dialog; not the whole window going to the background or a
    // menu opening over it, after which the focus comes back and a second digit still completes the value.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason) form_.SGridMapSetEditExit();
    QTableWidget::focusOutEvent(e);
}

// ---------------------------------------------------------------------------------------------------------
// The dialog

TMapSetEditGridForm::TMapSetEditGridForm(UserPrompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
    setObjectName("MapSetEditGridForm");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    grid_ = new MapSetGrid(*this, this);
    grid_->move((kClientWidth - kGridSize) / 2, 17);

    ok_ = new QPushButton(Tr("GridDialog", "OK"), this);
    ok_->setObjectName("BtnGridEditOK");
    ok_->setGeometry(45, 292, 95, 27);
    cancel_ = new QPushButton(Tr("GridDialog", "キャンセル"), this);
    cancel_->setObjectName("BtnGridEditCancel");
    cancel_->setGeometry(153, 292, 95, 27);
    // Enter in the grid presses neither button.
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, [this] { BtnGridEditOKClick(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { BtnGridEditCancelClick(); });

    popup_ = new QMenu(this);
    popup_->setObjectName("PopupMenuGrid");
    n1_ = popup_->addAction(Tr("GridDialog", "クリップボードにコピー"));
    n1_->setObjectName("N1");
    n2_ = popup_->addAction(Tr("GridDialog", "クリップボードから貼り付け"));
    n2_->setObjectName("N2");
    n3_ = popup_->addAction(Tr("GridDialog", "選択範囲を初期化"));
    n3_->setObjectName("N3");
    connect(n1_, &QAction::triggered, this, [this] { N1Click(); });
    connect(n2_, &QAction::triggered, this, [this] { N2Click(); });
    connect(n3_, &QAction::triggered, this, [this] { N3Click(); });
}

void TMapSetEditGridForm::Open(int mapSetNumber, const std::array<std::uint8_t, 64>& bytes) {
    setWindowTitle(Tr("GridDialog", "マップセット(番号%1)の編集").arg(Hex2(mapSetNumber)));
    for (int j = 0; j < kRows; ++j)
        for (int i = 0; i < kColumns; ++i) SetCellText(i, j, Hex2(bytes[std::size_t(j * 8 + i)]));
    grid_->setCurrentCell(0, 0, QItemSelectionModel::ClearAndSelect);
    grid_->setFocus();
}

QString TMapSetEditGridForm::CellText(int column, int row) const {
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

void TMapSetEditGridForm::SetCellText(int column, int row, const QString& text) {
    if (QTableWidgetItem* item = grid_->item(row, column); item && item->text() != text) item->setText(text);
}

TMapSetEditGridForm::Range TMapSetEditGridForm::Selection() const {
    const QList<QTableWidgetSelectionRange> ranges = grid_->selectedRanges();
    if (!ranges.isEmpty()) {
        Range r{ranges[0].leftColumn(), ranges[0].topRow(), ranges[0].rightColumn(), ranges[0].bottomRow()};
        // The grid keeps one rectangle; should it ever hold more, their bounding box is the selection.
        for (const auto& s : ranges) {
            r.left = std::min(r.left, s.leftColumn());
            r.top = std::min(r.top, s.topRow());
            r.right = std::max(r.right, s.rightColumn());
            r.bottom = std::max(r.bottom, s.bottomRow());
        }
        return r;
    }
    const int c = grid_->currentColumn(), r = grid_->currentRow();
    if (c >= 0 && r >= 0) return Range{c, r, c, r};
    return Range{-1, -1, -1, -1};
}

std::optional<TMapSetEditGridForm::Range> TMapSetEditGridForm::Limited(const Range& r) {
    if (r.right < r.left || r.bottom < r.top || r.right < 0 || r.bottom < 0 || r.left >= kColumns || r.top >= kRows)
        return std::nullopt;
    return Range{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, kColumns - 1),
                 std::min(r.bottom, kRows - 1)};
}

void TMapSetEditGridForm::Normalise() {
    for (int j = 0; j < kRows; ++j)
        for (int i = 0; i < kColumns; ++i) {
            const std::optional<int> v = ParseHexValue(CellText(i, j));
            SetCellText(i, j, Hex2(v && *v <= 0xFF ? *v : 0));
        }
}

bool TMapSetEditGridForm::ClipboardHasText() {
    const QClipboard* clip = QGuiApplication::clipboard();
    return clip && !clip->text().isEmpty();
}

// ---------------------------------------------------------------------------------------------------------
// Event handlers

void TMapSetEditGridForm::SGridMapSetEditKeyPress(QChar key) {
    if (HexDigitValue(key) < 0) return;
    const int c = grid_->currentColumn(), r = grid_->currentRow();
    if (c < 0 || r < 0) return;
    const QString text = CellText(c, r);
    SetCellText(c, r, (text.size() < 2 ? text + key : QString(key)).toUpper());
}

void TMapSetEditGridForm::SGridMapSetEditKeyDown(int key) {
    if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down) Normalise();
}

bool TMapSetEditGridForm::SGridMapSetEditMouseDown(Qt::MouseButton button, QPoint pos, QPoint globalPos) {
    Normalise();
    // Only a left press on a cell moves the current cell and the selection, as string grids do. A left press
    // in the strip beside and below the cells, and a press of any other button, leave both as they are, so
    // the highlighted range stays the range that typing and the commands act on.
    if (button == Qt::LeftButton) return !grid_->indexAt(pos).isValid();
    if (button != Qt::RightButton) return true;
    const Range s = Selection();
    if (s.left == s.right && s.top == s.bottom) {
        const QModelIndex under = grid_->indexAt(pos);
        if (under.isValid()) grid_->setCurrentCell(under.row(), under.column(), QItemSelectionModel::ClearAndSelect);
    }
    n2_->setEnabled(ClipboardHasText());
    popup_->popup(globalPos);
    return true;
}

void TMapSetEditGridForm::SGridMapSetEditExit() {
    Normalise();
}

void TMapSetEditGridForm::N1Click() {
    QClipboard* clip = QGuiApplication::clipboard();
    if (!clip) return;
    const std::optional<Range> r = Limited(Selection());
    if (!r) {
        clip->setText(QString());
        return;
    }
    QString text;
    for (int j = r->top; j <= r->bottom; ++j) {
        for (int i = r->left; i < r->right; ++i) text += CellText(i, j) + ' ';
        text += CellText(r->right, j) + QStringLiteral("\r\n");
    }
    clip->setText(text);
}

void TMapSetEditGridForm::N2Click() {
    const QClipboard* clip = QGuiApplication::clipboard();
    if (!clip) return;
    const QString text = clip->text();
    if (text.size() > kPasteLimit) return;
    const Range s = Selection();
    int column = 0, row = 0;
    QString token;
    auto store = [&] {
        const int c = s.left + column, r = s.top + row;
        if (c < 0 || r < 0 || c >= kColumns || r >= kRows) return;
        const std::optional<int> v = ParseHexValue(token);
        if (v && *v <= 0xFF) SetCellText(c, r, Hex2(*v));
    };
    for (QChar ch : text) {
        if (ch == '\n') continue;
        if (ch == '\r') {
            store();
            column = 0;
            ++row;
            token.clear();
        } else if (ch == ' ') {
            store();
            ++column;
            token.clear();
        } else {
            token += ch;
        }
    }
    if (!token.isEmpty()) store();
}

void TMapSetEditGridForm::N3Click() {
    QString answer;
    if (!prompts_.InputText(Tr("GridDialog", kFillCaption), Tr("GridDialog", kFillPrompt), answer)) return;
    const std::optional<int> v = ParseHexValue(answer);
    if (!v || *v > 0xFF) return;
    const std::optional<Range> r = Limited(Selection());
    if (!r) return;
    for (int j = r->top; j <= r->bottom; ++j)
        for (int i = r->left; i <= r->right; ++i) SetCellText(i, j, Hex2(*v));
}

void TMapSetEditGridForm::BtnGridEditOKClick() {
    for (int j = 0; j < kRows; ++j)
        for (int i = 0; i < kColumns; ++i) {
            const std::optional<int> v = ParseHexValue(CellText(i, j));
            result_[std::size_t(j * 8 + i)] = static_cast<std::uint8_t>(v && *v <= 0xFF ? *v : 0);
        }
    accept();
}

void TMapSetEditGridForm::BtnGridEditCancelClick() {
    reject();
}
