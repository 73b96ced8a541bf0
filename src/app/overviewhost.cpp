#include "app/overviewhost.h"

#include <QAction>
#include <QMenu>
#include <QTabWidget>

#include "app/mainform.h"
#include "document/MyIniFiles.h"
#include "editors/documentwatcher.h"
#include "editors/stageoverviewdock.h"
#include "graphics/uitext.h"

OverviewHost::OverviewHost(TMainForm& form, PageContext& context, const TMyMemIniFile& ini)
    : QObject(&form), form_(form) {
    auto screenBar = [&form](int page) {
        const PageController* c = form.Controller(page);
        return c ? c->ScreenScrollBar() : nullptr;
    };
    dock_ = new StageOverviewDock(context, screenBar(kPageMap), screenBar(kPageObject), &form);
    dock_->SetDivisor(ini.ReadInteger("View", kScaleKey, 4) == 2 ? 2 : 4);
    dock_->hide();
    form.addDockWidget(Qt::BottomDockWidgetArea, dock_);
    dock_->hide();

    action_ = new QAction(Tr("StageOverview", "ステージ全体図"), this);
    action_->setObjectName("ShowStageOverview1");
    action_->setCheckable(true);
    action_->setChecked(ini.ReadBool("View", kShownKey, false));
    if (auto* view = form.findChild<QMenu*>("View1")) view->addAction(action_);
    connect(action_, &QAction::toggled, this, &OverviewHost::UpdateShown);

    if (DocumentWatcher* watcher = form.Watcher())
        connect(watcher, &DocumentWatcher::StageChanged, this, &OverviewHost::StageChanged);
    // After the main window's own handlers: the palette has stepped, the page has rebuilt the sheets.
    auto follow = [this] {
        if (dock_ && !dock_->isHidden()) dock_->View()->FollowRenderer();
    };
    connect(&form.FrameTimer(), &QTimer::timeout, this, follow);
    if (QTabWidget* tabs = form.PageControl()) connect(tabs, &QTabWidget::currentChanged, this, follow);
    UpdateShown();
}

OverviewHost::~OverviewHost() {
    delete dock_.data();
}

StageOverviewDock* OverviewHost::Dock() const {
    return dock_.data();
}

void OverviewHost::StoreSettings(TMyMemIniFile& ini) const {
    ini.WriteBool("View", kShownKey, action_->isChecked());
    ini.WriteInteger("View", kScaleKey, dock_ ? dock_->View()->Divisor() : 4);
}

void OverviewHost::StageChanged(const StageChange& change) {
    if (!dock_) return;
    const bool wasShown = !dock_->isHidden();
    UpdateShown();  // a dock that shows now is drawn whole
    if (wasShown && !dock_->isHidden()) dock_->View()->Apply(change);
}

void OverviewHost::UpdateShown() {
    if (!dock_) return;
    // Hidden, the dock draws nothing; it is drawn whole when it shows again.
    const bool show = action_->isChecked() && form_.ImageOpen();
    if (show == !dock_->isHidden()) return;
    dock_->setVisible(show);
    if (show) dock_->View()->RedrawAll();
}
