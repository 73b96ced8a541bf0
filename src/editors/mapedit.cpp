#include "editors/mapedit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

#include "document/edit_flag.h"
#include "document/fileio.h"
#include "editors/ImageEx.h"
#include "editors/editorshell.h"
#include "editors/pagekit.h"
#include "editors/userprompts.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

constexpr int kPageSize = 256;  // a map set at 1:1: 8 x 8 32x32 chips

MapEditClass::MapEditClass(PageContext& context, const MapPageControls& controls) : ctx_(context), c_(controls) {
    if (c_.scrBarMap)
        connect(c_.scrBarMap, &QScrollBar::valueChanged, this, [this](int value) {
            if (!filling_) ScrBarMapScroll(value);
        });
    for (int side = 0; side < 2; ++side)
        if (c_.mapSetBar[side])
            connect(c_.mapSetBar[side], &QScrollBar::valueChanged, this,
                    [this, side](int value) { BarMoved(side, value); });
    if (c_.reload) connect(c_.reload, &QPushButton::clicked, this, [this] { BtnMapEditReloadClick(); });
}

StageData& MapEditClass::Stage() {
    return ctx_.rom.Current();
}

// ---------------------------------------------------------------------------------------------------------
// Page operations

void MapEditClass::Reset() {
    SetBar(c_.scrBarMap, 0);
    ScrBarMapScroll(0);
}

void MapEditClass::Activate() {
    // The left screen, ScrBarMap and LblMapPage stay; the map bytes may have changed (undo, redo).
    ShowSide(0);
    ShowSide(1);
}

void MapEditClass::RefreshColours() {
    ctx_.graphics.RefreshChip32SheetPalette();
    DrawPage(0);
    DrawPage(1);
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void MapEditClass::DrawPage(int side) {
    TImageEx* view = c_.page[side & 1];
    if (!view) return;
    const int mapByte = Stage().Map()[Screen(side)];
    if (NamesMapSet(mapByte))
        ctx_.graphics.DrawMapSet(view->Picture(), Stage().MapSet(mapByte));
    else
        ctx_.graphics.DrawNoMapSet(view->Picture(), 0, 0, kPageSize);
    view->Changed();
}

void MapEditClass::ShowSide(int side) {
    side &= 1;
    const int mapByte = Stage().Map()[Screen(side)];
    DrawPage(side);
    SetBar(c_.mapSetBar[side], BarPosition(mapByte));
    barPosition_[side] = BarPosition(mapByte);
    if (c_.lblMapVal[side]) c_.lblMapVal[side]->setText(Hex2(mapByte));
}

void MapEditClass::SetBar(QScrollBar* bar, int position) {
    if (!bar) return;
    FillingGuard guard(filling_);
    bar->setValue(position);
}

// ---------------------------------------------------------------------------------------------------------
// Controls

void MapEditClass::ScrBarMapScroll(int position) {
    left_ = std::clamp(position, 0, kLastLeftScreen);
    ShowSide(0);
    ShowSide(1);
    if (c_.lblMapPage) c_.lblMapPage->setText(Hex2(left_) + "-" + Hex2(left_ + 1));
}

UsageTarget MapEditClass::CurrentUsageTarget() const {
    if (!ctx_.rom.IsLoaded()) return {};
    const int mapByte = ctx_.rom.Current().Map()[left_];
    if (!NamesMapSet(mapByte)) return {};
    return {UsageTargetKind::MapSet, mapByte};
}

void MapEditClass::ShowUsage(const Usage& use) {
    if (use.place != UsePlace::Screen || !c_.scrBarMap) return;
    // As a user would: the page's scroll bar, whose handler shows the two screens.
    c_.scrBarMap->setValue(std::clamp(use.owner, 0, kLastLeftScreen));
}

void MapEditClass::BarMoved(int side, int position) {
    if (filling_) return;
    // Only a move to another position than the one the bar had before the event reaches the editor.
    if (position == barPosition_[side]) return;
    barPosition_[side] = position;
    ScrbarEditMapPageXScroll(side, position);
}

void MapEditClass::ScrbarEditMapPageXScroll(int tag, int position) {
    const int side = tag & 1;
    const int value = std::clamp(position, 0, kLastMapSet);
    Stage().SetMapEntry(Screen(side), Byte(value));
    DrawPage(side);
    if (c_.lblMapVal[side]) c_.lblMapVal[side]->setText(Hex2(value));
    ctx_.flags.SetModified(ModifiedCategory::Map, ctx_.rom.CurrentStage(), true);
}

void MapEditClass::BtnMapEditReloadClick() {
    if (!ctx_.shell.Prompts().AskYesNo(Tr("MapPage", kReloadQuestion))) return;
    Stage().ReadMap();
    Stage().ClearHistory();
    Reset();
}

// ---------------------------------------------------------------------------------------------------------
// The page

std::unique_ptr<PageController> CreateMapPage(QWidget* tab, PageContext& ctx) {
    MapPageControls c;
    constexpr int kLeft = 40, kGap = 16, kTop = 8;
    const int rightX = kLeft + kPageSize + kGap;
    for (int side = 0; side < 2; ++side)
        c.page[side] = MakeView(tab, QStringLiteral("ImgEditMapPage%1").arg(side), kPageSize, kPageSize,
                                side == 0 ? kLeft : rightX, kTop, side);
    const int width = 2 * kPageSize + kGap;
    c.scrBarMap = MakeScrollBar(tab, "ScrBarMap", Qt::Horizontal, kLeft, kTop + kPageSize + 6, width, 17, 0,
                                MapEditClass::kLastLeftScreen);

    QGroupBox* group =
        MakeGroup(tab, Tr("MapPage", "マップ編集"), kLeft, kTop + kPageSize + 34, width, 128, "GroupMapEdit");
    for (int side = 0; side < 2; ++side) {
        const int x = side == 0 ? 12 : kPageSize + kGap;
        MakeLabel(group, Tr("MapPage", "マップセット番号:"), x, 24);
        const QByteArray barName = QStringLiteral("ScrbarEditMapPage%1").arg(side).toLatin1();
        c.mapSetBar[side] =
            MakeScrollBar(group, barName.constData(), Qt::Horizontal, x, 46, 200, 17, 0, MapEditClass::kLastMapSet);
        c.mapSetBar[side]->setProperty("Tag", side);
        const QByteArray labelName = QStringLiteral("LblMapVal%1").arg(side).toLatin1();
        c.lblMapVal[side] = MakeLabel(group, QStringLiteral("00"), x + 208, 46, 24, labelName.constData());
    }
    QLabel* roomCaption = MakeLabel(group, Tr("MapPage", "編集部屋番号:"), 12, 88);
    c.lblMapPage = MakeLabel(group, QStringLiteral("00-01"), 12 + roomCaption->width() + 6, 88, 60, "LblMapPage");
    c.reload = MakeButton(group, "BtnMapEditReload", Tr("MapPage", "再読み込み"), width - 108, 84, 96, 26);

    return std::make_unique<MapEditClass>(ctx, c);
}
