#pragma once
// How the main window routes the events of each view to its page's controller: the press combinations told
// apart (first match wins), whether moves and leaves go on, and which status text a move writes.

#include <QString>
#include <Qt>
#include <vector>

#include "editors/pagecontroller.h"

class StageData;

// The status-bar text a move over a view writes into panel 1.
enum class HoverText { None, Tile, Chip16View, Chip16Table, Chip32View, Chip32Table, MapSetPage };

struct ViewRoute {
    std::vector<PressKind> presses;
    bool move = true;
    bool leave = true;
    HoverText hover = HoverText::None;
    bool dragsOutside = false;  // moves with the pointer outside the view (button held) are routed too
};

// The route of the view of that objectName; nullptr for display-only and unknown views.
const ViewRoute* FindRoute(const QString& viewName);
// Whether a press of button with that Shift and Ctrl state is of kind.
bool PressMatches(PressKind kind, Qt::MouseButton button, bool shift, bool ctrl);
// The text of panel 1 for a move to (x, y). shownSet is what the view shows (the half of the 32x32 chip view,
// the map set of a map set view); stage gives the map set cells and may be null.
QString HoverStatusText(HoverText hover, int x, int y, int shownSet, const StageData* stage);

// The tool-tip of a view at (x, y): the colour number over the colour table and the palette rows (of
// paletteSet), the tile or chip number over the sheets as the status bar words it; empty elsewhere.
QString ViewToolTipText(const QString& viewName, int tag, int x, int y, int shownSet, const StageData& stage,
                        int paletteSet);
