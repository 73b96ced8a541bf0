#include "editors/stageoverviewdock.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "document/fileio.h"
#include "document/overviewdirty.h"
#include "editors/pagekit.h"
#include "graphics/editorgraphics.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {
constexpr int kLastLeftScreen = kScreenCount - 2;
}

StageOverviewView::StageOverviewView(PageContext& context, QWidget* parent) : QWidget(parent), ctx_(context) {
    setObjectName("ImgStageOverview");
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetDivisor(4);
}

bool StageOverviewView::CanDraw() const {
    return ctx_.rom.IsLoaded();
}

void StageOverviewView::SetDivisor(int divisor) {
    picture_.SetDivisor(divisor);
    setFixedSize(picture_.Width(), picture_.Height());
    RedrawAll();
}

void StageOverviewView::RedrawAll() {
    if (!CanDraw()) return;
    picture_.DrawAll(ctx_.graphics, ctx_.rom.Current());
    sheetGeneration_ = ctx_.graphics.SheetGeneration();
    Show();
}

void StageOverviewView::Apply(const StageChange& change) {
    if (!CanDraw()) {
        update();
        return;
    }
    const StageData& stage = ctx_.rom.Current();
    if (change.whole || sheetGeneration_ != ctx_.graphics.SheetGeneration()) {
        RedrawAll();
        return;
    }
    // The 32x32 chip sheet follows the edited chips before the screens are drawn from it (the pages
    // bring it up to date only when they are shown next).
    const ChipSet chips32 = change.chip32 | Chip32sUsing(stage, change.chip16);
    for (int chip = 0; chip < 256; ++chip)
        if (chips32.test(std::size_t(chip)))
            ctx_.graphics.RedrawChip32(ctx_.graphics.ChipSheet32(), stage.Chip32x32(), chip);
    const ScreenSet dirty = ScreensToRedraw(change, stage);
    for (int screen = 0; screen < kScreenCount; ++screen)
        if (dirty.test(std::size_t(screen))) picture_.DrawScreen(ctx_.graphics, stage, screen);
    Show();
}

void StageOverviewView::FollowRenderer() {
    if (!CanDraw()) return;
    if (sheetGeneration_ != ctx_.graphics.SheetGeneration())
        RedrawAll();
    else if (picture_.ColoursDiffer(ctx_.graphics))
        Show();
}

// Brings the drawn screens (or, after a palette change, the whole picture) into the view.
void StageOverviewView::Show() {
    if (picture_.ColoursDiffer(ctx_.graphics)) {
        picture_.Recolour(ctx_.graphics);
        update();
        return;
    }
    picture_.ShowDrawn(ctx_.graphics);
    update();
}

QRect StageOverviewView::PairRect(int left) const {
    const int size = picture_.ScreenSize();
    return QRect(std::clamp(left, 0, kLastLeftScreen) * size, 0, 2 * size, size);
}

void StageOverviewView::SetShownScreens(int mapLeft, int objectLeft) {
    if (mapLeft == mapLeft_ && objectLeft == objectLeft_) return;
    for (int left : {mapLeft_, objectLeft_, mapLeft, objectLeft}) update(PairRect(left));
    mapLeft_ = mapLeft;
    objectLeft_ = objectLeft;
}

int StageOverviewView::ScreenAt(int x) const {
    return CellAt(x, 0, picture_.ScreenSize(), picture_.ScreenSize(), kScreenCount, 1).value_or(-1);
}

QString StageOverviewView::ToolTipText(int screen) const {
    if (!CanDraw() || screen < 0 || screen >= kScreenCount) return QString();
    const StageData& stage = ctx_.rom.Current();
    return Tr("StageOverview", "部屋番号%1  マップセット%2  オブジェクト%3個")
        .arg(Hex2(screen), Hex2(stage.Map()[screen]))
        .arg(qsizetype(stage.ScreenObjects(screen).size()));
}

void StageOverviewView::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = e->rect();
    if (!CanDraw()) {
        p.fillRect(r, Qt::black);
        return;
    }
    p.drawImage(r.topLeft(), picture_.View(), r);
    // The object page's pair inside the map page's, so both show where they coincide.
    p.setPen(QColor::fromRgb(kMapPageColour));
    p.drawRect(PairRect(mapLeft_).adjusted(0, 0, -1, -1));
    p.setPen(QColor::fromRgb(kObjectPageColour));
    p.drawRect(PairRect(objectLeft_).adjusted(1, 1, -2, -2));
}

void StageOverviewView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const int screen = ScreenAt(int(e->position().x()));
    if (screen >= 0) emit ScreenClicked(screen);
}

void StageOverviewView::contextMenuEvent(QContextMenuEvent* e) {
    QMenu menu(this);
    menu.setObjectName("StageOverviewMenu");
    for (int divisor : {4, 2}) {
        QAction* a = menu.addAction(QStringLiteral("1/%1").arg(divisor));
        a->setObjectName(QStringLiteral("StageOverviewScale%1").arg(divisor));
        a->setCheckable(true);
        a->setChecked(Divisor() == divisor);
        connect(a, &QAction::triggered, this, [this, divisor] { emit DivisorChosen(divisor); });
    }
    menu.exec(e->globalPos());
}

bool StageOverviewView::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString text = ToolTipText(ScreenAt(help->pos().x()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(e);
}

// ---------------------------------------------------------------------------------------------------------

StageOverviewDock::StageOverviewDock(PageContext& context, QScrollBar* mapBar, QScrollBar* objectBar, QWidget* parent)
    : QDockWidget(Tr("StageOverview", "ステージ全体図"), parent), mapBar_(mapBar), objectBar_(objectBar) {
    setObjectName("StageOverviewDock");
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    // Shown and hidden by the View menu's item only (the window's own dock menu would bypass it).
    toggleViewAction()->setObjectName("StageOverviewDockToggle");
    toggleViewAction()->setVisible(false);
    area_ = new QScrollArea(this);
    area_->setObjectName("StageOverviewArea");
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setFrameShape(QFrame::NoFrame);
    view_ = new StageOverviewView(context, area_);
    area_->setWidget(view_);
    setWidget(area_);
    FitArea();

    connect(view_, &StageOverviewView::DivisorChosen, this, &StageOverviewDock::SetDivisor);
    connect(view_, &StageOverviewView::ScreenClicked, this, [this](int screen) {
        // Both pages show the clicked screen on their left (the last pair for the last screen).
        const int left = std::min(screen, kLastLeftScreen);
        for (QScrollBar* bar : {mapBar_.data(), objectBar_.data()})
            if (bar) bar->setValue(left);
    });
    for (QScrollBar* bar : {mapBar_.data(), objectBar_.data()})
        if (bar) connect(bar, &QScrollBar::valueChanged, this, &StageOverviewDock::FollowBars);
    FollowBars();
}

void StageOverviewDock::SetDivisor(int divisor) {
    if (divisor == view_->Divisor()) return;
    view_->SetDivisor(divisor);
    FitArea();
}

void StageOverviewDock::FitArea() {
    area_->setFixedHeight(view_->height() + area_->horizontalScrollBar()->sizeHint().height());
}

void StageOverviewDock::FollowBars() {
    view_->SetShownScreens(mapBar_ ? mapBar_->value() : 0, objectBar_ ? objectBar_->value() : 0);
}
