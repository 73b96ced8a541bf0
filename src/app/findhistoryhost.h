#pragma once
// Hosts the usage finder and the history panel in the main window: the Search menu "検索(&S)" with
// "使用箇所を探す" (Ctrl+F), the View menu's "編集履歴", the dock on the right; both follow the document watcher.
// Going to a use switches to its page and lets the page show it; a history row walks through the window's
// own Undo and Redo commands.

#include <QObject>

class QAction;
class QMenu;
class HistoryDock;
class TMainForm;
class UsageFinderForm;
struct StageChange;
struct Usage;

class FindHistoryHost : public QObject {
public:
    // Adds the menus and builds the dialog and the dock; form's pages and watcher must exist.
    explicit FindHistoryHost(TMainForm& form);
    // Destroys the dialog and the dock, which read the document.
    ~FindHistoryHost() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // "使用箇所を探す" is enabled while an image is open and the active page has something to look for.
    void UpdateFindAction();
    void UpdateFindActionSoon();
    void FindUsageClick();
    void GoTo(const Usage& use);
    void Walk(int undoRecords);
    void StageChanged(const StageChange& change);

    TMainForm& form_;
    QMenu* search_ = nullptr;
    QAction* findUsage_ = nullptr;
    UsageFinderForm* finder_ = nullptr;  // made at the first search
    HistoryDock* history_ = nullptr;
    bool updatePending_ = false;
};
