#include "app/findhistoryhost.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimer>

#include "app/mainform.h"
#include "document/fileio.h"
#include "editors/documentwatcher.h"
#include "editors/historydock.h"
#include "editors/usagefinderform.h"
#include "graphics/uitext.h"

FindHistoryHost::FindHistoryHost(TMainForm& form) : form_(form) {
    history_ = new HistoryDock(form.Rom(), &form);
    form.addDockWidget(Qt::RightDockWidgetArea, history_);
    history_->hide();
    QAction* showHistory = history_->toggleViewAction();
    showHistory->setObjectName("ShowHistory1");
    if (auto* view = form.findChild<QMenu*>("View1")) view->addAction(showHistory);
    // Queued: the walk remakes the rows, which must outlive the click that asked for it.
    connect(history_, &HistoryDock::PositionRequested, this, &FindHistoryHost::Walk, Qt::QueuedConnection);

    // After the View menu.
    search_ = form.menuBar()->addMenu(Tr("MainWindow", "検索(&S)"));
    search_->setObjectName("Search1");
    search_->menuAction()->setObjectName("Search1Menu");
    findUsage_ = search_->addAction(Tr("MainWindow", "使用箇所を探す"));
    findUsage_->setObjectName("FindUsage1");
    findUsage_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    findUsage_->setEnabled(false);
    connect(findUsage_, &QAction::triggered, this, &FindHistoryHost::FindUsageClick);
    connect(search_, &QMenu::aboutToShow, this, &FindHistoryHost::UpdateFindAction);

    connect(form.Watcher(), &DocumentWatcher::StageChanged, this, &FindHistoryHost::StageChanged);
    connect(form.PageControl(), &QTabWidget::currentChanged, this, &FindHistoryHost::UpdateFindAction);
    // A page's selection changes with clicks and keys, not through the document.
    qApp->installEventFilter(this);
}

FindHistoryHost::~FindHistoryHost() {
    if (qApp) qApp->removeEventFilter(this);
    delete finder_;
    delete history_;
}

bool FindHistoryHost::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::Wheel: UpdateFindActionSoon(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void FindHistoryHost::UpdateFindActionSoon() {
    if (updatePending_) return;
    updatePending_ = true;
    QTimer::singleShot(0, this, [this] {
        updatePending_ = false;
        UpdateFindAction();
    });
}

void FindHistoryHost::UpdateFindAction() {
    const PageController* page = form_.ImageOpen() ? form_.Controller(form_.PageControl()->currentIndex()) : nullptr;
    findUsage_->setEnabled(page && page->CurrentUsageTarget().Any());
}

void FindHistoryHost::FindUsageClick() {
    UpdateFindAction();
    if (!findUsage_->isEnabled()) return;
    // Made when first asked for: the window's other dialogs are made at start, each the only one of its kind.
    if (!finder_) {
        finder_ = new UsageFinderForm(form_.Rom(), &form_);
        connect(finder_, &UsageFinderForm::GoTo, this, &FindHistoryHost::GoTo);
    }
    finder_->Find(form_.Controller(form_.PageControl()->currentIndex())->CurrentUsageTarget());
}

void FindHistoryHost::GoTo(const Usage& use) {
    const int page = UsagePage(use.place);
    PageController* controller = form_.Controller(page);
    if (!form_.ImageOpen() || !controller) return;
    form_.PageControl()->setCurrentIndex(page);
    controller->ShowUsage(use);
}

void FindHistoryHost::Walk(int undoRecords) {
    if (!form_.ImageOpen()) return;
    int steps = undoRecords - static_cast<int>(form_.Rom().Current().UndoDepth());
    // The same number of the Edit menu's commands, one by one.
    for (; steps < 0; ++steps) form_.Undo1Click();
    for (; steps > 0; --steps) form_.Redo1Click();
}

void FindHistoryHost::StageChanged(const StageChange& change) {
    if (finder_ && !form_.ImageOpen())
        finder_->hide();
    else if (finder_ && finder_->isVisible())
        finder_->Refresh();
    if (change.history || change.whole) history_->Refresh();
    UpdateFindAction();
}
