#pragma once
// The history panel "編集履歴": a dock listing the current stage's undo history. The first row stands for the
// stage as it was opened, then one row per undo record oldest first, then greyed the records redo would bring
// back, in the order it would bring them; the row of the current position is selected. Clicking a row asks
// for the undo or redo steps between the current position and that row.

#include <QDockWidget>
#include <utility>
#include <vector>

class QLabel;
class QListWidget;
class RomImageData;

class HistoryDock : public QDockWidget {
    Q_OBJECT
public:
    static constexpr const char* kObjectName = "HistoryDock";

    explicit HistoryDock(const RomImageData& rom, QWidget* parent = nullptr);

    // Shows the current stage's history (nothing while no image is open). Only the rows that differ from
    // those shown are made again; a hidden dock waits until it is shown.
    void Refresh();

    QListWidget* List() const { return list_; }
    QLabel* Note() const { return note_; }
    // The row of the current position (the number of undo records).
    int CurrentRow() const { return current_; }

signals:
    // A row was clicked: walk until that many undo records are left (fewer: undo; more: redo).
    void PositionRequested(int undoRecords);

private:
    void RowChosen(int row);

    const RomImageData& rom_;
    QListWidget* list_ = nullptr;
    QLabel* note_ = nullptr;
    // Per row shown: the record's kind (-1 for the first row) and whether it is greyed.
    std::vector<std::pair<int, bool>> shown_;
    int current_ = 0;
};
