#pragma once
// The stage overview: a dock at the bottom of the window showing the 48 screens of the current stage side
// by side (StageOverviewPicture), the two screens the map page and the two the object page show outlined,
// kept live from the document watcher's changes and the palette animation. A left click on a screen scrolls
// both pages there; the context menu picks 1/4 or 1/2 scale.

#include <QDockWidget>
#include <QPointer>
#include <QWidget>

#include "document/stagesnapshot.h"
#include "editors/pagecontroller.h"
#include "graphics/stageoverview.h"

class QScrollArea;
class QScrollBar;

// The view "ImgStageOverview": as large as the picture, painted at 1:1.
class StageOverviewView : public QWidget {
    Q_OBJECT
public:
    StageOverviewView(PageContext& context, QWidget* parent);

    // 4 (1/4) or 2 (1/2): the picture is made anew at that scale and drawn whole.
    void SetDivisor(int divisor);
    int Divisor() const { return picture_.Divisor(); }
    // Draws the screens change can have altered (all of them for another stage or image).
    void Apply(const StageChange& change);
    // Draws every screen anew.
    void RedrawAll();
    // A palette animation step or a rebuild of the chip sheets: recolour, or draw anew.
    void FollowRenderer();
    // The left screens of the map page and of the object page (their two screens are outlined).
    void SetShownScreens(int mapLeft, int objectLeft);
    int ScreenAt(int x) const;
    QString ToolTipText(int screen) const;
    const StageOverviewPicture& Picture() const { return picture_; }
    static constexpr QRgb kMapPageColour = 0xFFFFFF00u;     // yellow
    static constexpr QRgb kObjectPageColour = 0xFF00FFFFu;  // cyan

signals:
    void ScreenClicked(int screen);
    void DivisorChosen(int divisor);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool event(QEvent* e) override;

private:
    bool CanDraw() const;
    void Show();
    QRect PairRect(int left) const;

    PageContext& ctx_;
    StageOverviewPicture picture_;
    std::uint64_t sheetGeneration_ = ~std::uint64_t(0);
    int mapLeft_ = 0, objectLeft_ = 0;
};

// The dock "StageOverviewDock" with its scroll area; follows the map page's and the object page's scroll
// bars and sets them on a click.
class StageOverviewDock : public QDockWidget {
    Q_OBJECT
public:
    StageOverviewDock(PageContext& context, QScrollBar* mapBar, QScrollBar* objectBar, QWidget* parent);
    StageOverviewView* View() const { return view_; }
    QScrollArea* Area() const { return area_; }
    void SetDivisor(int divisor);

private:
    void FitArea();
    void FollowBars();

    StageOverviewView* view_ = nullptr;
    QScrollArea* area_ = nullptr;
    QPointer<QScrollBar> mapBar_, objectBar_;
};
