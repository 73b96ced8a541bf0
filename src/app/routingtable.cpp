#include "app/routingtable.h"

#include <algorithm>

#include "document/editdata.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {

using K = PressKind;
using H = HoverText;

struct NamedRoute {
    const char* name;
    ViewRoute route;
};

// Display-only views (ImgSelectColor, ImgAnimePal0-3, ImgSelectTile, ImgSelect16x16Chip, ImgSelect32x32Chip,
// ImgEditMapPage0/1) are not listed: they route nothing.
const std::vector<NamedRoute>& Table() {
    static const std::vector<NamedRoute> table = {
        {"ImgPalView0", {{K::Left, K::Other}, true, true, H::None, false}},
        {"ImgPalView1", {{K::Left, K::Other}, true, true, H::None, false}},
        {"ImgPalView2", {{K::Left, K::Other}, true, true, H::None, false}},
        {"ImgPalView3", {{K::Left, K::Other}, true, true, H::None, false}},
        {"ImgColorTable", {{K::Left}, true, true, H::None, false}},
        {"ImgBGBankTable", {{K::Left, K::Right}, true, true, H::Tile, false}},
        {"ImgEdit16x16ChipView", {{K::LeftCtrl, K::Left, K::RightCtrl, K::Right}, true, true, H::Chip16View, false}},
        {"ImgEdit16x16Chip", {{K::Left, K::Right}, true, true, H::None, false}},
        {"Img16x16ChipTable", {{K::Left}, true, true, H::Chip16Table, false}},
        {"ImgEdit32x32ChipView",
         {{K::LeftCtrl, K::LeftShift, K::Left, K::RightCtrl, K::Right}, true, true, H::Chip32View, false}},
        {"ImgEdit32x32Chip", {{K::Left, K::Right}, true, true, H::None, false}},
        {"Img32x32ChipTable", {{K::Left}, true, true, H::Chip32Table, false}},
        {"ImgEditMapSetPage0",
         {{K::LeftShift, K::LeftCtrl, K::Left, K::RightCtrl, K::Right}, true, true, H::MapSetPage, false}},
        {"ImgEditMapSetPage1",
         {{K::LeftShift, K::LeftCtrl, K::Left, K::RightCtrl, K::Right}, true, true, H::MapSetPage, false}},
        {"ImgObjectMapPage0", {{K::Left, K::Right}, true, false, H::None, true}},
        {"ImgObjectMapPage1", {{K::Left, K::Right}, true, false, H::None, true}},
    };
    return table;
}

}  // namespace

const ViewRoute* FindRoute(const QString& viewName) {
    for (const NamedRoute& r : Table())
        if (viewName == QLatin1String(r.name)) return &r.route;
    return nullptr;
}

bool PressMatches(PressKind kind, Qt::MouseButton button, bool shift, bool ctrl) {
    switch (kind) {
    case K::Left: return button == Qt::LeftButton;
    case K::LeftShift: return button == Qt::LeftButton && shift;
    case K::LeftCtrl: return button == Qt::LeftButton && ctrl;
    case K::Right: return button == Qt::RightButton;
    case K::RightCtrl: return button == Qt::RightButton && ctrl;
    case K::Other: return button != Qt::LeftButton && button != Qt::NoButton;
    }
    return false;
}

QString HoverStatusText(HoverText hover, int x, int y, int shownSet, const StageData* stage) {
    const int cell16 = x / 16 + (y / 16) * 16;
    switch (hover) {
    case H::None: return QString();
    case H::Tile: return Tr("Status", "タイルNo:%1").arg(Hex2(cell16));
    case H::Chip16View:
    case H::Chip16Table: return Tr("Status", "16x16チップNo:%1").arg(Hex2(cell16));
    case H::Chip32Table: return Tr("Status", "32x32チップNo:%1").arg(Hex2(cell16));
    case H::Chip32View: {
        const int half = shownSet == 1 ? 1 : 0;
        return Tr("Status", "32x32チップNo:%1").arg(Hex2((y / 32) * 16 + x / 32 + half * 128));
    }
    case H::MapSetPage: {
        const int set = shownSet >= 0 && shownSet < kMapSetCount ? shownSet : 0;
        const int cx = x / 32, cy = y / 32;
        const int c = std::clamp(cx + cy * 8, 0, kMapSetSize - 1);
        const int chip = stage ? stage->MapSet(set)[c] : 0;
        return Tr("Status", "Index:%1(%2,%3) 32x32チップNo:%4").arg(Hex2(c)).arg(cx).arg(cy).arg(Hex2(chip));
    }
    }
    return QString();
}

QString ViewToolTipText(const QString& viewName, int tag, int x, int y, int shownSet, const StageData& stage,
                        int paletteSet) {
    const QString colour = Tr("Status", "色番号:%1");
    if (viewName == QLatin1String("ImgColorTable")) return colour.arg(Hex2(x / 24 + (y / 24) * 16));
    if (viewName.startsWith(QLatin1String("ImgPalView"))) {
        const int row = std::clamp(tag, 0, 3);
        const int set = std::clamp(paletteSet, 0, kPaletteSetCount - 1);
        return colour.arg(Hex2(stage.BGPalette(set)[row * 4 + std::clamp(x / 24, 0, 3)]));
    }
    // The sheets: the tile or chip number under the pointer, as the status bar words it.
    const ViewRoute* route = FindRoute(viewName);
    if (!route || route->hover == H::None || route->hover == H::MapSetPage) return QString();
    return HoverStatusText(route->hover, x, y, shownSet, &stage);
}
