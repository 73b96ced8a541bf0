#include "editors/objectedit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "document/edit_flag.h"
#include "document/editdata.h"
#include "document/fileio.h"
#include "editors/ImageEx.h"
#include "editors/ObjectEditForm.h"
#include "editors/editorshell.h"
#include "editors/pagekit.h"
#include "editors/userprompts.h"
#include "graphics/graphics.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {

constexpr int kToolTipTime = 10000;  // the pop-up information stays up to ten seconds
constexpr int kMapSetBlank = 0x0F;   // a screen whose map entry names no map set is shown black

int ClampByte(int v) {
    return std::clamp(v, 0, 255);
}

const QString kNoValue = QStringLiteral("--");

}  // namespace

ObjectEditClass::ObjectEditClass(PageContext& context, const ObjectPageControls& controls)
    : ctx_(context), c_(controls) {
    if (c_.scrBarObjectMap)
        connect(c_.scrBarObjectMap, &QScrollBar::valueChanged, this, [this](int v) {
            if (!filling_) ScrollTo(v);
        });
    if (c_.cbSelectObject)
        connect(c_.cbSelectObject, &QComboBox::currentIndexChanged, this, [this](int i) {
            if (!filling_) KindChanged(i);
        });
    if (c_.udObjectXLeft) connect(c_.udObjectXLeft, &QToolButton::clicked, this, [this] { NudgeX(-1); });
    if (c_.udObjectXRight) connect(c_.udObjectXRight, &QToolButton::clicked, this, [this] { NudgeX(+1); });
    if (c_.udObjectYUp) connect(c_.udObjectYUp, &QToolButton::clicked, this, [this] { NudgeY(-1); });
    if (c_.udObjectYDown) connect(c_.udObjectYDown, &QToolButton::clicked, this, [this] { NudgeY(+1); });
    if (c_.btnObjectCreate)
        connect(c_.btnObjectCreate, &QPushButton::clicked, this, [this] { CreateAtLastLeftPress(); });
    if (c_.btnObjectRemove) connect(c_.btnObjectRemove, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    if (c_.btnObjectEditReload)
        connect(c_.btnObjectEditReload, &QPushButton::clicked, this, [this] { ReloadClicked(); });
    if (c_.menuCreateObject) connect(c_.menuCreateObject, &QAction::triggered, this, [this] { MenuCreate(); });
    if (c_.menuCopyObject) connect(c_.menuCopyObject, &QAction::triggered, this, [this] { MenuCopy(); });
    if (c_.menuCutObject) connect(c_.menuCutObject, &QAction::triggered, this, [this] { MenuCut(); });
    if (c_.menuPasteObject) connect(c_.menuPasteObject, &QAction::triggered, this, [this] { MenuPaste(); });
    if (c_.menuRemoveObject) connect(c_.menuRemoveObject, &QAction::triggered, this, [this] { MenuRemove(); });
    ShowSelection();
}

// ---------------------------------------------------------------------------------------------------------
// Helpers

StageData& ObjectEditClass::Stage() const {
    return ctx_.rom.Current();
}

int ObjectEditClass::ViewIndex(const TImageEx* view) const {
    if (!view) return -1;
    if (view == c_.mapPage0) return 0;
    if (view == c_.mapPage1) return 1;
    return -1;
}

TImageEx* ObjectEditClass::ViewOf(int index) const {
    return index == 0 ? c_.mapPage0 : index == 1 ? c_.mapPage1 : nullptr;
}

bool ObjectEditClass::SortTicked() const {
    return c_.chkSortObjectList && c_.chkSortObjectList->isChecked();
}
bool ObjectEditClass::PopupTicked() const {
    return c_.chkPopupHint && c_.chkPopupHint->isChecked();
}

void ObjectEditClass::SetModified() {
    ctx_.flags.SetModified(ModifiedCategory::Object, ctx_.rom.CurrentStage(), true);
}

QString ObjectEditClass::KindName(int kind) const {
    kind &= 0xFF;
    const QStringList& names = ctx_.objectKindNames;
    if (kind < names.size()) return names[kind];
    return Hex2(kind);
}

QString ObjectEditClass::PopupInformation(const ObjectEntry& entry, int screen) const {
    const int number = Stage().ObjectNumber(&entry, screen);
    const QString crlf = QStringLiteral("\r\n");
    return Tr("ObjectPage", "設置番号:") + (number >= 0 ? Hex2(number) : kNoValue) + crlf + Tr("ObjectPage", "X座標:") +
           Hex2(entry.x) + crlf + Tr("ObjectPage", "Y座標:") + Hex2(entry.y) + crlf + Tr("ObjectPage", "種類:") + crlf +
           KindName(entry.kind);
}

bool ObjectEditClass::RoomForOneMore() {
    if (Stage().ObjectTotal() < kMaxCreatedObjects) return true;
    ctx_.shell.Prompts().Message(Tr("ObjectPage", kTooManyObjects));
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void ObjectEditClass::DrawScreen(int index) {
    TImageEx* view = ViewOf(index);
    if (!view) return;
    QImage& pic = view->Picture();
    const StageData& stage = Stage();
    const int screen = ScreenOfView(index);
    const int set = stage.Map()[screen];
    if (set < kMapSetCount)
        ctx_.graphics.DrawMapSet(pic, stage.MapSet(set));
    else
        ctx_.graphics.FillBlock(pic, 0, 0, kViewSize, kViewSize, kMapSetBlank);
    for (const ObjectEntry& e : stage.ScreenObjects(screen)) ctx_.graphics.DrawObjectMarker(pic, e.x, e.y, e.kind);
    view->Changed();
}

void ObjectEditClass::RedrawViews() {
    DrawScreen(0);
    DrawScreen(1);
    ++fullRedraws_;
}

void ObjectEditClass::DrawHoverFrame() {
    if (!hovered_) return;
    const int index = hoveredScreen_ - leftScreen_;
    if (TImageEx* view = ViewOf(index)) {
        ctx_.graphics.DrawCursor24(view->Picture(), hovered_->x, hovered_->y);
        view->Changed();
    }
}

void ObjectEditClass::DrawSelectionFrame() {
    if (!selected_) return;
    const int index = selectedScreen_ - leftScreen_;
    if (TImageEx* view = ViewOf(index)) {
        ctx_.graphics.DrawCursor32(view->Picture(), selected_->x, selected_->y);
        view->Changed();
    }
}

// Redraws the views only when the selection, the hovered object or the redraw mark asks for it; the two
// frames are drawn again in any case.
void ObjectEditClass::Refresh() {
    if (selected_ != prevSelected_ || redrawMark_ || hovered_ != prevHovered_) {
        RedrawViews();
        prevSelected_ = selected_;
        redrawMark_ = false;
    }
    DrawHoverFrame();
    DrawSelectionFrame();
}

void ObjectEditClass::HitTest(int viewIndex, int x, int y) {
    prevHovered_ = hovered_;
    hovered_ = nullptr;
    hoveredScreen_ = -1;
    if (viewIndex < 0 || viewIndex > 1) return;
    const int screen = ScreenOfView(viewIndex);
    for (ObjectEntry& e : Stage().ScreenObjects(screen)) {
        if (std::abs(x - e.x) <= kHitRadius && std::abs(y - e.y) <= kHitRadius) {
            hovered_ = &e;
            hoveredScreen_ = screen;
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Labels and controls

void ObjectEditClass::ShowSelection() {
    FillingGuard guard(filling_);
    const bool any = selected_ != nullptr;
    auto set = [](QLabel* l, const QString& t) {
        if (l && l->text() != t) l->setText(t);
    };
    if (any) {
        const int number = Stage().ObjectNumber(selected_, selectedScreen_);
        set(c_.lblObjectIndex, number >= 0 ? Hex2(number) : kNoValue);
        set(c_.lblObjectScreen, Hex2(selectedScreen_));
        set(c_.lblObjectX, Hex2(selected_->x));
        set(c_.lblObjectY, Hex2(selected_->y));
    } else {
        set(c_.lblObjectIndex, kNoValue);
        set(c_.lblObjectScreen, kNoValue);
        set(c_.lblObjectX, kNoValue);
        set(c_.lblObjectY, kNoValue);
    }
    if (QComboBox* cb = c_.cbSelectObject) {
        const int kind = any ? (selected_->kind & 0xFF) : -1;
        if (kind >= 0 && kind < cb->count()) {
            cb->setPlaceholderText(QString());
            cb->setCurrentIndex(kind);
        } else {
            // No object, or a kind the name list has no line for: no item, and the kind's number instead.
            cb->setPlaceholderText(kind >= 0 ? Hex2(kind) : QString());
            cb->setCurrentIndex(-1);
        }
        cb->setEnabled(any);
    }
    if (c_.btnObjectCreate) c_.btnObjectCreate->setEnabled(!any);
    if (c_.btnObjectRemove) c_.btnObjectRemove->setEnabled(any);
    if (c_.udObjectX) c_.udObjectX->setEnabled(any);
    if (c_.udObjectY) c_.udObjectY->setEnabled(any);
}

void ObjectEditClass::ShowShownScreens() {
    const StageData& stage = Stage();
    if (c_.lblObjectRoom) c_.lblObjectRoom->setText(Hex2(LeftScreen()) + "-" + Hex2(RightScreen()));
    if (c_.lblObjectNum)
        c_.lblObjectNum->setText(QString::number(stage.ScreenObjectCount(LeftScreen())) + "-" +
                                 QString::number(stage.ScreenObjectCount(RightScreen())));
}

void ObjectEditClass::ShowCounts() {
    ShowShownScreens();
    if (c_.lblObjectSum)
        c_.lblObjectSum->setText(QString::number(Stage().ObjectTotal()) + " / " + QString::number(kMaxCreatedObjects));
}

// ---------------------------------------------------------------------------------------------------------
// Tool-tip

void ObjectEditClass::UpdateToolTip(TImageEx* view) {
    if (!view) return;
    if (!PopupTicked()) {
        SwitchOffToolTip(view);
        return;
    }
    const QString text = hovered_ ? PopupInformation(*hovered_, hoveredScreen_) : QString();
    // The view's own tool-tip shows the text as the platform shows tool-tips: after its usual delay (at once
    // for another object while one is up), for up to ten seconds. Off every object it goes at once.
    if (view->toolTip() != text) view->setToolTip(text);
    if (text.isEmpty() && QToolTip::isVisible() && !shownTip_.isEmpty()) QToolTip::hideText();
    shownTip_ = text;
}

void ObjectEditClass::SwitchOffToolTip(TImageEx* view) {
    if (view && !view->toolTip().isEmpty()) view->setToolTip(QString());
    if (!shownTip_.isEmpty() && QToolTip::isVisible()) QToolTip::hideText();
    shownTip_.clear();
}

// ---------------------------------------------------------------------------------------------------------
// Page operations

void ObjectEditClass::Reset() {
    hovered_ = nullptr;
    hoveredScreen_ = -1;
    prevHovered_ = nullptr;
    selected_ = nullptr;
    selectedScreen_ = -1;
    prevSelected_ = nullptr;
    redrawMark_ = false;
    SwitchOffToolTip(c_.mapPage0);
    SwitchOffToolTip(c_.mapPage1);
    if (c_.scrBarObjectMap) {
        FillingGuard guard(filling_);
        c_.scrBarObjectMap->setValue(0);
    }
    ScrollTo(0);
    ShowSelection();
    ShowCounts();
    lastLeftView_ = 0;
    lastLeftX_ = 0;
    lastLeftY_ = 0;
}

void ObjectEditClass::Activate() {
    RedrawViews();
}

void ObjectEditClass::RefreshColours() {
    ctx_.graphics.RefreshChip32SheetPalette();
    RedrawViews();
    Refresh();
}

void ObjectEditClass::ApplySettings(const EditorSettings& settings) {
    if (c_.chkSortObjectList) {
        const QSignalBlocker block(c_.chkSortObjectList);
        c_.chkSortObjectList->setChecked(settings.sortObjects);
    }
    if (c_.chkPopupHint) {
        const QSignalBlocker block(c_.chkPopupHint);
        c_.chkPopupHint->setChecked(settings.popupHint);
    }
}

void ObjectEditClass::StoreSettings(EditorSettings& settings) const {
    if (c_.chkSortObjectList) settings.sortObjects = c_.chkSortObjectList->isChecked();
    if (c_.chkPopupHint) settings.popupHint = c_.chkPopupHint->isChecked();
}

void ObjectEditClass::ScrollTo(int leftScreen) {
    leftScreen_ = std::clamp(leftScreen, 0, kLastLeftScreen);
    if (c_.scrBarObjectMap && c_.scrBarObjectMap->value() != leftScreen_) {
        FillingGuard guard(filling_);
        c_.scrBarObjectMap->setValue(leftScreen_);
    }
    RedrawViews();
    DrawSelectionFrame();
    ShowShownScreens();
}

UsageTarget ObjectEditClass::CurrentUsageTarget() const {
    if (!selected_) return {};
    return {UsageTargetKind::ObjectKind, selected_->kind & 0xFF};
}

void ObjectEditClass::ShowUsage(const Usage& use) {
    if (use.place != UsePlace::Object || use.owner < 0 || use.owner >= kScreenCount) return;
    // As a user would: the page's scroll bar, whose handler shows the two screens; then the object selected
    // as a left press on it selects it.
    if (c_.scrBarObjectMap)
        c_.scrBarObjectMap->setValue(std::clamp(use.owner, 0, kLastLeftScreen));
    else
        ScrollTo(use.owner);
    auto& list = Stage().ScreenObjects(use.owner);
    if (use.part < 0 || use.part >= static_cast<int>(list.size())) return;
    auto it = list.begin();
    std::advance(it, use.part);
    selected_ = &*it;
    selectedScreen_ = use.owner;
    ShowSelection();
    Refresh();
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

void ObjectEditClass::ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) {
    const int index = ViewIndex(view);
    if (index < 0) return;
    if (held.testFlag(Qt::LeftButton)) {
        if (hovered_) {
            // A drag: the grabbed object follows the pointer, wherever it goes, on its own screen.
            SwitchOffToolTip(view);
            if (ctrl && shift) return;
            if (ctrl) {
                x = x / 8 * 8;
                y = y / 8 * 8;
            } else if (shift) {
                x = x / 4 * 4;
                y = y / 4 * 4;
            }
            hovered_->x = ClampByte(x);
            hovered_->y = ClampByte(y);
            if (SortTicked()) Stage().SortScreenObjects(hoveredScreen_);
            ShowSelection();
            redrawMark_ = true;
            SetModified();
        }
    } else {
        HitTest(index, x, y);
        UpdateToolTip(view);
    }
    Refresh();
}

void ObjectEditClass::ViewPress(TImageEx* view, PressKind kind, KeyMods mods, int x, int y) {
    const int index = ViewIndex(view);
    if (index < 0) return;
    const bool left = kind == PressKind::Left || kind == PressKind::LeftShift || kind == PressKind::LeftCtrl;
    const bool right = kind == PressKind::Right || kind == PressKind::RightCtrl;
    if (left) {
        lastLeftView_ = index;
        lastLeftX_ = x;
        lastLeftY_ = y;
        selected_ = hovered_;
        selectedScreen_ = hovered_ ? hoveredScreen_ : -1;
        ShowSelection();
        Refresh();
        if ((mods.shift || kind == PressKind::LeftShift) && !hovered_) OpenListDialog(ScreenOfView(index));
    } else if (right) {
        HitTest(index, x, y);
        Refresh();
        lastRightScreen_ = ScreenOfView(index);
        lastRightX_ = ClampByte(x);
        lastRightY_ = ClampByte(y);
        PrepareMenu();
        ShowMenu(view, x, y);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Pop-up menu

void ObjectEditClass::PrepareMenu() {
    const bool any = hovered_ != nullptr;
    if (c_.menuCreateObject) c_.menuCreateObject->setEnabled(true);
    if (c_.menuCopyObject) c_.menuCopyObject->setEnabled(any);
    if (c_.menuCutObject) c_.menuCutObject->setEnabled(any);
    if (c_.menuRemoveObject) c_.menuRemoveObject->setEnabled(any);
    if (c_.menuPasteObject) {
        c_.menuPasteObject->setEnabled(clipboard_.has_value());
        c_.menuPasteObject->setText(clipboard_ ? Tr("ObjectPage", "オブジェクト(%1)を貼り付け").arg(Hex2(*clipboard_))
                                               : Tr("ObjectPage", "オブジェクトを貼り付け"));
    }
    if (c_.menuCancel) c_.menuCancel->setEnabled(true);
}

void ObjectEditClass::ShowMenu(TImageEx* view, int x, int y) {
    if (!c_.popupMenu || !view) return;
    // Not modal: the menu's actions arrive later through their signals.
    c_.popupMenu->popup(view->mapToGlobal(QPoint(x, y)));
}

void ObjectEditClass::CreateAtLastRightPress(int kind) {
    if (!RoomForOneMore()) return;
    const int screen = lastRightScreen_;
    if (!Stage().AppendObject(screen, lastRightX_, lastRightY_, kind & 0xFF)) return;
    if (SortTicked()) Stage().SortScreenObjects(screen);
    ShowSelection();
    ShowCounts();
    redrawMark_ = true;
    SetModified();
}

void ObjectEditClass::MenuCreate() {
    CreateAtLastRightPress(0);
}

void ObjectEditClass::MenuCopy() {
    if (hovered_) clipboard_ = hovered_->kind & 0xFF;
}

void ObjectEditClass::MenuCut() {
    if (!hovered_) return;
    MenuCopy();
    MenuRemove();
}

void ObjectEditClass::MenuPaste() {
    if (clipboard_) CreateAtLastRightPress(*clipboard_);
}

void ObjectEditClass::MenuRemove() {
    if (!hovered_) return;
    const ObjectEntry* gone = hovered_;
    const int screen = hoveredScreen_;
    if (selected_ == gone) {
        selected_ = nullptr;
        selectedScreen_ = -1;
        prevSelected_ = nullptr;
    }
    if (prevSelected_ == gone) prevSelected_ = nullptr;
    hovered_ = nullptr;
    hoveredScreen_ = -1;
    prevHovered_ = nullptr;
    Stage().RemoveObject(gone, screen);
    ShowSelection();
    ShowCounts();
    redrawMark_ = true;
    SetModified();
}

// ---------------------------------------------------------------------------------------------------------
// Buttons, kind and nudges

void ObjectEditClass::CreateAtLastLeftPress() {
    if (!RoomForOneMore()) return;
    const int screen = std::clamp(leftScreen_ + lastLeftView_, 0, kScreenCount - 1);
    ObjectEntry* entry = Stage().AppendObject(screen, ClampByte(lastLeftX_), ClampByte(lastLeftY_), 0);
    if (!entry) return;
    selected_ = entry;
    selectedScreen_ = screen;
    if (SortTicked()) Stage().SortScreenObjects(screen);
    RedrawViews();
    ShowSelection();
    ShowCounts();
    DrawSelectionFrame();
    SetModified();
}

void ObjectEditClass::RemoveSelected() {
    if (!selected_) return;
    const ObjectEntry* gone = selected_;
    const int screen = selectedScreen_;
    selected_ = nullptr;
    selectedScreen_ = -1;
    prevSelected_ = nullptr;
    if (hovered_ == gone) {
        hovered_ = nullptr;
        hoveredScreen_ = -1;
    }
    if (prevHovered_ == gone) prevHovered_ = nullptr;
    Stage().RemoveObject(gone, screen);
    RedrawViews();
    ShowSelection();
    ShowCounts();
    SetModified();
}

void ObjectEditClass::KindChanged(int index) {
    if (!selected_ || index < 0 || index > 0xFF) return;
    if (index == selected_->kind) return;
    selected_->kind = index;
    ShowSelection();
    RedrawViews();
    DrawSelectionFrame();
    SetModified();
}

void ObjectEditClass::NudgeX(int delta) {
    if (!selected_) return;
    selected_->x = ClampByte(selected_->x + delta);
    ShowSelection();
    redrawMark_ = true;
    SetModified();
    Refresh();
}

void ObjectEditClass::NudgeY(int delta) {
    if (!selected_) return;
    selected_->y = ClampByte(selected_->y + delta);
    ShowSelection();
    redrawMark_ = true;
    SetModified();
    Refresh();
}

void ObjectEditClass::ReloadClicked() {
    if (!ctx_.shell.Prompts().AskYesNo(Tr("ObjectPage", kReloadQuestion))) return;
    Stage().ReadObjects();
    Reset();
}

// ---------------------------------------------------------------------------------------------------------
// The list dialog

QString ObjectEditClass::ScreenListText(int screen) const {
    QString text;
    if (screen < 0 || screen >= kScreenCount) return text;
    for (const ObjectEntry& e : Stage().ScreenObjects(screen))
        text += Hex2(e.x) + " " + Hex2(e.y) + " " + Hex2(e.kind) + "\r\n";
    return text;
}

void ObjectEditClass::ApplyListText(int screen, const QString& text) {
    if (screen < 0 || screen >= kScreenCount) return;
    StageData& stage = Stage();
    // Every pointer into the old list goes with it.
    if (selectedScreen_ == screen) {
        selected_ = nullptr;
        selectedScreen_ = -1;
        ShowSelection();
    }
    if (hoveredScreen_ == screen) {
        hovered_ = nullptr;
        hoveredScreen_ = -1;
    }
    prevHovered_ = hovered_;
    prevSelected_ = selected_;
    stage.ClearScreenObjects(screen);
    SetModified();
    for (const ObjectListLine& line : TObjectEditForm::ParseListText(text)) {
        if (stage.ObjectTotal() >= kMaxCreatedObjects) break;
        stage.AppendObject(screen, line.x, line.y, line.kind);
    }
    ScrollTo(c_.scrBarObjectMap ? c_.scrBarObjectMap->value() : leftScreen_);
    ShowCounts();
}

void ObjectEditClass::OpenListDialog(int screen) {
    TObjectEditForm* form = c_.listDialog;
    if (!form || screen < 0 || screen >= kScreenCount) return;
    form->setWindowTitle(Tr("ObjectPage", "部屋番号%1のオブジェクトの編集").arg(Hex2(screen)));
    form->SetListText(ScreenListText(screen));
    if (ctx_.shell.Prompts().RunDialog(*form, QStringLiteral("ObjectEditForm")) != QDialog::Accepted) return;
    ApplyListText(screen, form->ListText());
}

// ---------------------------------------------------------------------------------------------------------
// The page

namespace {

// A caption label whose text ends at the right edge of its box, as the blanks before it line it up.
QLabel* Caption(QWidget* parent, const QString& text, int x, int y, int width) {
    QLabel* l = MakeLabel(parent, text, x, y, width);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLabel* Value(QWidget* parent, const char* name, int x, int y, int width) {
    QLabel* l = MakeLabel(parent, kNoValue, x, y, width, name);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QAction* MenuItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    if (name) a->setObjectName(name);
    return a;
}

}  // namespace

std::unique_ptr<PageController> CreateObjectPage(QWidget* tab, PageContext& ctx) {
    ObjectPageControls c;
    const int size = ObjectEditClass::kViewSize;

    c.mapPage0 = MakeView(tab, "ImgObjectMapPage0", size, size, 40, 16, 0);
    c.mapPage1 = MakeView(tab, "ImgObjectMapPage1", size, size, 298, 16, 1);
    for (TImageEx* v : {c.mapPage0, c.mapPage1}) v->setToolTipDuration(kToolTipTime);
    c.scrBarObjectMap =
        MakeScrollBar(tab, "ScrBarObjectMap", Qt::Horizontal, 40, 272, 515, 16, 0, ObjectEditClass::kLastLeftScreen);

    QGroupBox* shown = MakeGroup(tab, Tr("ObjectPage", "表示オブジェクト"), 32, 304, 201, 105, "GroupShownObjects");
    Caption(shown, Tr("ObjectPage", "    表示部屋番号:"), 4, 24, 120);
    Caption(shown, Tr("ObjectPage", "オブジェクトの数:"), 4, 48, 120);
    Caption(shown, Tr("ObjectPage", "オブジェクト総数:"), 4, 72, 120);
    c.lblObjectRoom = Value(shown, "LblObjectRoom", 128, 24, 68);
    c.lblObjectNum = Value(shown, "LblObjectNum", 128, 48, 68);
    c.lblObjectSum = Value(shown, "LblObjectSum", 128, 72, 68);

    QGroupBox* edit = MakeGroup(tab, Tr("ObjectPage", "編集対象オブジェクト"), 240, 304, 321, 153, "GroupEditObject");
    Caption(edit, Tr("ObjectPage", "設置番号:"), 4, 22, 64);
    Caption(edit, Tr("ObjectPage", "部屋番号:"), 4, 44, 64);
    Caption(edit, Tr("ObjectPage", "   X座標:"), 4, 66, 64);
    Caption(edit, Tr("ObjectPage", "   Y座標:"), 4, 92, 64);
    Caption(edit, Tr("ObjectPage", "    種類:"), 4, 122, 64);
    c.lblObjectIndex = Value(edit, "LblObjectIndex", 72, 22, 28);
    c.lblObjectScreen = Value(edit, "LblObjectScreen", 72, 44, 28);
    c.lblObjectX = Value(edit, "LblObjectX", 72, 66, 28);
    c.lblObjectY = Value(edit, "LblObjectY", 72, 92, 28);
    const UpDownButtons udX = MakeUpDown(edit, "UDObjectX", 102, 64, 32, 20, 0, true, Qt::Horizontal);
    c.udObjectX = udX.box;
    c.udObjectXLeft = udX.down;
    c.udObjectXRight = udX.up;
    const UpDownButtons udY = MakeUpDown(edit, "UDObjectY", 102, 86, 16, 30, 0, true, Qt::Vertical);
    c.udObjectY = udY.box;
    c.udObjectYUp = udY.up;
    c.udObjectYDown = udY.down;

    c.cbSelectObject = new QComboBox(edit);
    c.cbSelectObject->setObjectName("CBSelectObject");
    c.cbSelectObject->setEditable(false);
    c.cbSelectObject->setMaxVisibleItems(12);
    c.cbSelectObject->setGeometry(72, 120, 233, 22);
    // A kind is one byte: lines past the 256th name nothing and are not offered.
    c.cbSelectObject->addItems(ctx.objectKindNames.mid(0, 256));
    c.cbSelectObject->setCurrentIndex(-1);

    c.btnObjectCreate = MakeButton(edit, "BtnObjectCreate", Tr("ObjectPage", "新規作成"), 150, 22, 75, 25);
    c.btnObjectRemove = MakeButton(edit, "BtnObjectRemove", Tr("ObjectPage", "削除"), 232, 22, 75, 25);

    c.chkSortObjectList =
        MakeCheck(tab, "ChkSortObjectList", Tr("ObjectPage", "オブジェクトを自動で並び替える"), 16, 416, 220, 20);
    c.chkSortObjectList->setChecked(ctx.settings.sortObjects);
    c.chkPopupHint =
        MakeCheck(tab, "ChkPopupHint", Tr("ObjectPage", "ポップアップでオブジェクト情報を表示"), 16, 440, 222, 20);
    c.chkPopupHint->setChecked(ctx.settings.popupHint);
    // The two options must not run into the group beside them: both take the size at which the longer fits.
    QFont optionFont = c.chkPopupHint->font();
    while (c.chkPopupHint->sizeHint().width() > c.chkPopupHint->width() && optionFont.pointSizeF() > 6) {
        optionFont.setPointSizeF(optionFont.pointSizeF() - 0.5);
        c.chkPopupHint->setFont(optionFont);
    }
    c.chkSortObjectList->setFont(optionFont);
    c.btnObjectEditReload = MakeButton(tab, "BtnObjectEditReload", Tr("ObjectPage", "再読み込み"), 8, 472, 75, 25);

    c.popupMenu = new QMenu(tab);
    c.popupMenu->setObjectName("PopupMenuObjectEdit");
    c.menuCreateObject = MenuItem(c.popupMenu, "MenuCreateObject", Tr("ObjectPage", "オブジェクトの新規作成"));
    c.menuCopyObject = MenuItem(c.popupMenu, "MenuCopyObject", Tr("ObjectPage", "このオブジェクトをコピー"));
    c.menuCutObject = MenuItem(c.popupMenu, "MenuCutObject", Tr("ObjectPage", "このオブジェクトを切り取り"));
    c.menuPasteObject = MenuItem(c.popupMenu, "MenuPasteObject", Tr("ObjectPage", "オブジェクトを貼り付け"));
    c.menuRemoveObject = MenuItem(c.popupMenu, "MenuRemoveObject", Tr("ObjectPage", "このオブジェクトを削除"));
    c.menuCancel = MenuItem(c.popupMenu, nullptr, Tr("ObjectPage", "キャンセル"));

    c.listDialog = new TObjectEditForm(tab);

    return std::make_unique<ObjectEditClass>(ctx, c);
}
