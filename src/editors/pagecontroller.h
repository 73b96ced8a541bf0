#pragma once
// The contract between the main window and each page's controller.

#include <Qt>

class TImageEx;

// The press combinations the main window tells apart, tested per view in the order its table gives.
// The palette rows tell apart only "left" and "any other button": every non-left press there is Other.
// Elsewhere a middle press is not routed at all.
enum class PressKind { Left, LeftShift, LeftCtrl, Right, RightCtrl, Other };

class PageController {
public:
    virtual ~PageController() = default;
    // Start afresh for the current stage (after an open or a stage change).
    virtual void Reset() = 0;
    // Redraw when the page becomes active, and after undo or redo while it is active.
    virtual void Activate() = 0;
    // Redraw in new colours after a palette-animation step changed the stage palette.
    virtual void RefreshColours() = 0;
    // The common step of a page refresh: before the 32x32 chip, map set, map or object page is activated
    // (or refreshed after undo/redo), the main window calls this on the 16x16 chip controller (apply the
    // stage palette to the 16x16 chip sheet and redraw it whole) and then on the 32x32 chip controller
    // (RebuildChipSheet). Other controllers leave it empty.
    virtual void RebuildSheet() {}

    // View events routed by the main window; view->Tag() is the view's index.
    virtual void ViewPress(TImageEx* view, PressKind kind, int x, int y) { (void)view; (void)kind; (void)x; (void)y; }
    virtual void ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) {
        (void)view; (void)held; (void)shift; (void)ctrl; (void)x; (void)y;
    }
    virtual void ViewLeave(TImageEx* view) { (void)view; }
};
