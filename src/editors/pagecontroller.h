#pragma once
// The contract between the main window and each page's controller: the page indexes, what a controller is
// handed (PageContext), the state the pages share (PageLinks) and the operations the main window calls.

#include <QStringList>
#include <Qt>

#include "document/usagesearch.h"
#include "editors/editorsettings.h"

class QTimer;
class QScrollBar;
class TImageEx;
class RomImageData;
class EditFlagManagement;
class EditorGraphics;
class EditorShell;

// Page indexes in tab order.
enum PageIndex : int {
    kPageMap = 0,
    kPageMapSet = 1,
    kPage32x32Chip = 2,
    kPage16x16Chip = 3,
    kPagePalette = 4,
    kPageObject = 5,
    kPageCount = 6,
};

// The press combinations the main window tells apart, tested per view in the order its table gives.
// The palette rows tell apart only "left" and "any other button": every non-left press there is Other.
// Elsewhere a middle press is not routed at all.
enum class PressKind { Left, LeftShift, LeftCtrl, Right, RightCtrl, Other };

// The Shift and Ctrl state of a routed press: every press carries it, whatever kind it matched.
struct KeyMods {
    bool shift = false;
    bool ctrl = false;
};

// State one page sets and another reads, owned by the main window.
struct PageLinks {
    // The 32x32 chip the map set page paints with; a left click on the 32x32 chip view sets it too.
    int mapSetSelectedChip = 0;
    // The palette set chosen on the palette page (0 to 6): the timer animates its four animation numbers.
    int paletteSet = 0;
    // The BG bank the 16x16 chip page has loaded (load point 0 to 2, scroll number 0 to 15): the chip sheets
    // every page draws from are built from it, and the picture export draws from the same bank.
    int bgLoadPoint = 0;
    int bgScroll = 0;
};

struct PageContext {
    RomImageData& rom;
    EditFlagManagement& flags;
    EditorGraphics& graphics;
    EditorShell& shell;
    QTimer& frameTimer;
    // The six options as read at start; each page puts its own into its controls.
    const EditorSettings& settings;
    // The object kind names: the lines of "ObjectList.txt" (at most 256), or "00" to "FF".
    const QStringList& objectKindNames;
    PageLinks& links;
};

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
    virtual void ViewPress(TImageEx* view, PressKind kind, KeyMods mods, int x, int y) {
        (void)view;
        (void)kind;
        (void)mods;
        (void)x;
        (void)y;
    }
    virtual void ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) {
        (void)view;
        (void)held;
        (void)shift;
        (void)ctrl;
        (void)x;
        (void)y;
    }
    virtual void ViewLeave(TImageEx* view) { (void)view; }

    // What a view shows, for the status texts: the half of the chip set (0 or 1) in the 32x32 chip view,
    // the map set number in a map set view; -1 for any other view.
    virtual int ShownSet(const TImageEx* view) const {
        (void)view;
        return -1;
    }

    // Puts the page's options into its controls at start (no redraw, no change handler), and writes them
    // back before the window closes. Pages without options leave both empty.
    virtual void ApplySettings(const EditorSettings& settings) { (void)settings; }
    virtual void StoreSettings(EditorSettings& settings) const { (void)settings; }

    // What the usage finder looks for while this page is active: the page's current chip, map set or object
    // kind; none by default.
    virtual UsageTarget CurrentUsageTarget() const { return {}; }
    // Shows a use that lives on this page (the page is active) as the page's own controls would show it,
    // moving them as a user would. Nothing is edited.
    virtual void ShowUsage(const Usage& use) { (void)use; }
    // The scroll bar whose value is the left one of the two screens the page shows (map and object pages),
    // for the panels that follow it and move it as a user would; nullptr for the other pages.
    virtual QScrollBar* ScreenScrollBar() const { return nullptr; }
};
