#include "editors/historydock.h"

#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QVBoxLayout>
#include <algorithm>

#include "document/editdata.h"
#include "document/fileio.h"
#include "graphics/uitext.h"

HistoryDock::HistoryDock(const RomImageData& rom, QWidget* parent) : QDockWidget(parent), rom_(rom) {
    setObjectName(kObjectName);
    setWindowTitle(Tr("History", "編集履歴"));
    auto* body = new QWidget(this);
    list_ = new QListWidget(body);
    list_->setObjectName("LstHistory");
    list_->setUniformItemSizes(true);
    // Wide enough for the longest description; the window grows by as much when the dock is shown.
    list_->setMinimumWidth(220);
    note_ = new QLabel(body);
    note_->setObjectName("LblHistoryNote");
    note_->setWordWrap(true);
    note_->hide();
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(list_, 1);
    layout->addWidget(note_);
    setWidget(body);

    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { RowChosen(list_->row(item)); });
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { RowChosen(list_->row(item)); });
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) Refresh();
    });
}

void HistoryDock::Refresh() {
    if (!isVisible()) return;
    std::vector<std::pair<int, bool>> rows;
    bool enabled = true;
    if (rom_.IsLoaded()) {
        const StageData& stage = rom_.StageAt(rom_.CurrentStage());
        enabled = stage.HistoryEnabled();
        const auto& undo = stage.UndoRecords();
        const auto& redo = stage.RedoRecords();
        rows.reserve(1 + undo.size() + redo.size());
        rows.emplace_back(-1, false);
        for (const UndoData& r : undo) rows.emplace_back(r.kind, false);
        // The next redo is the stack's last record.
        for (auto r = redo.rbegin(); r != redo.rend(); ++r) rows.emplace_back(r->kind, true);
        current_ = static_cast<int>(undo.size());
    } else {
        current_ = 0;
    }

    const QSignalBlocker block(list_);
    // Rows equal to those shown stay; the rest are made again.
    const auto same = std::mismatch(shown_.begin(), shown_.end(), rows.begin(), rows.end());
    const int keep = static_cast<int>(same.first - shown_.begin());
    while (list_->count() > keep) delete list_->takeItem(list_->count() - 1);
    const QBrush grey = palette().brush(QPalette::Disabled, QPalette::Text);
    for (std::size_t i = static_cast<std::size_t>(keep); i < rows.size(); ++i) {
        const auto [kind, greyed] = rows[i];
        auto* item =
            new QListWidgetItem(kind < 0 ? Tr("History", "<開いた時点>") : Tr("Document", UndoKindDescription(kind)));
        if (greyed) item->setForeground(grey);
        list_->addItem(item);
    }
    shown_ = std::move(rows);
    if (list_->count() > 0) {
        list_->setCurrentRow(current_);
        list_->scrollToItem(list_->currentItem());
    }

    note_->setText(enabled ? QString() : Tr("History", "元に戻す機能は無効です"));
    note_->setVisible(!enabled);
}

void HistoryDock::RowChosen(int row) {
    if (row < 0 || row >= static_cast<int>(shown_.size()) || row == current_) return;
    emit PositionRequested(row);
}
