#include "editors/mapsetedit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "document/edit_flag.h"
#include "document/fileio.h"
#include "editors/32x32chipedit.h"
#include "editors/ImageEx.h"
#include "editors/MapSetEditGridForm.h"
#include "editors/editorshell.h"
#include "editors/userprompts.h"
#include "graphics/graphics.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {

constexpr int kCell = 32;                     // a cell of a page: one 32x32 chip at 1:1
constexpr int kTableCell = 16;                // a chip of the table: half size
constexpr int kLastPage0 = kMapSetCount - 2;  // ScrBarMapSet keeps page 1 at least one above page 0's range

}  // namespace

MapSetEditClass::MapSetEditClass(PageContext& context, const MapSetPageControls& controls, QWidget* dialogParent)
    : ctx_(context),
      c_(controls),
      pageHover_{GridHover(context.graphics, kCell, 8, [this](int cell) { RepaintPageCell(0, cell); }),
                 GridHover(context.graphics, kCell, 8, [this](int cell) { RepaintPageCell(1, cell); })},
      tableHover_(context.graphics, kTableCell, 16, [this](int chip) { RepaintTableCell(chip); }),
      gridForm_(std::make_unique<TMapSetEditGridForm>(context.shell.Prompts(), dialogParent)) {
    for (int p = 0; p < 2; ++p) {
        pageHover_[p].SetView(c_.page[p]);
        // A repainted cell loses the grid lines along its top and left edges.
        pageHover_[p].SetAfterRepaint([this, p] {
            if (GridOn()) DrawPageGrid(p);
        });
    }
    tableHover_.SetView(c_.chipTable);
}

MapSetEditClass::~MapSetEditClass() = default;

StageData& MapSetEditClass::Stage() {
    return ctx_.rom.Current();
}
const Byte* MapSetEditClass::PageBytes(int page) {
    return Stage().MapSet(pageSet_[page & 1]);
}
int MapSetEditClass::SelectedChip() const {
    return ctx_.links.mapSetSelectedChip & 0xFF;
}
bool MapSetEditClass::GridOn() const {
    return c_.chkDrawGrid && c_.chkDrawGrid->isChecked();
}

void MapSetEditClass::SetModified() {
    ctx_.flags.SetModified(ModifiedCategory::MapSet, ctx_.rom.CurrentStage(), true);
}

MapSetEditClass::ViewKind MapSetEditClass::KindOf(const TImageEx* view) const {
    if (!view) return ViewKind::None;
    if (view == c_.page[0]) return ViewKind::Page0;
    if (view == c_.page[1]) return ViewKind::Page1;
    if (view == c_.chipTable) return ViewKind::Table;
    return ViewKind::None;
}

int MapSetEditClass::ShownSet(const TImageEx* view) const {
    switch (KindOf(view)) {
    case ViewKind::Page0: return pageSet_[0];
    case ViewKind::Page1: return pageSet_[1];
    default: return -1;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Page operations

void MapSetEditClass::Reset() {
    pageSet_ = {0, 1};
    for (GridHover& h : pageHover_) h.Forget();
    tableHover_.Forget();
    DrawPage(0);
    DrawPage(1);
    ShowPageLabel(0);
    ShowPageLabel(1);
    DrawTable();
    SelectChip(0);
    {
        FillingGuard guard(filling_);
        if (c_.scrBarMapSet) c_.scrBarMapSet->setValue(0);
        SyncPageScrollBars();
    }
}

void MapSetEditClass::Activate() {
    DrawPage(0);
    DrawPage(1);
    DrawTable();
    SelectChip(SelectedChip());
    for (GridHover& h : pageHover_) h.Reoutline();
    tableHover_.Reoutline();
}

void MapSetEditClass::RefreshColours() {
    // The sheet keeps its pixels; only its colours change, then everything is drawn as on activation.
    ctx_.graphics.RefreshChip32SheetPalette();
    Activate();
}

void MapSetEditClass::ApplySettings(const EditorSettings& settings) {
    if (!c_.chkDrawGrid) return;
    const QSignalBlocker block(c_.chkDrawGrid);
    c_.chkDrawGrid->setChecked(settings.gridMapSet);
}

void MapSetEditClass::StoreSettings(EditorSettings& settings) const {
    if (c_.chkDrawGrid) settings.gridMapSet = c_.chkDrawGrid->isChecked();
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void MapSetEditClass::DrawPage(int page) {
    TImageEx* view = c_.page[page & 1];
    if (!view) return;
    ctx_.graphics.DrawMapSet(view->Picture(), PageBytes(page));
    if (GridOn()) ctx_.graphics.DrawGridLines(view->Picture(), kCell, kCell);
    view->Changed();
}

void MapSetEditClass::RepaintPageCell(int page, int cell) {
    TImageEx* view = c_.page[page & 1];
    if (!view || cell < 0 || cell >= kMapSetSize) return;
    ctx_.graphics.DrawChip32(view->Picture(), kCell * (cell % 8), kCell * (cell / 8), kCell, kCell,
                             PageBytes(page)[cell]);
    view->Changed();
}

void MapSetEditClass::DrawPageGrid(int page) {
    TImageEx* view = c_.page[page & 1];
    if (!view) return;
    ctx_.graphics.DrawGridLines(view->Picture(), kCell, kCell);
    view->Changed();
}

void MapSetEditClass::DrawTable() {
    if (!c_.chipTable) return;
    ctx_.graphics.DrawChip32Table(c_.chipTable->Picture());
    c_.chipTable->Changed();
}

void MapSetEditClass::RepaintTableCell(int chip) {
    if (!c_.chipTable || chip < 0 || chip > 0xFF) return;
    ctx_.graphics.DrawChip32(c_.chipTable->Picture(), kTableCell * (chip % 16), kTableCell * (chip / 16), kTableCell,
                             kTableCell, chip);
    c_.chipTable->Changed();
}

void MapSetEditClass::ShowPageLabel(int page) {
    if (QLabel* l = c_.lblPage[page & 1]) l->setText(Hex2(pageSet_[page & 1]));
}

void MapSetEditClass::SyncPageScrollBars() {
    FillingGuard guard(filling_);
    for (int p = 0; p < 2; ++p)
        if (c_.scrBarSelectPage[p]) c_.scrBarSelectPage[p]->setValue(pageSet_[p]);
}

void MapSetEditClass::SelectChip(int chip) {
    const int n = chip & 0xFF;
    ctx_.links.mapSetSelectedChip = n;
    if (c_.selectChip) {
        ctx_.graphics.DrawChip32(c_.selectChip->Picture(), 0, 0, 64, 64, n);
        c_.selectChip->Changed();
    }
    if (c_.lblSelectIndex) c_.lblSelectIndex->setText(Hex2(n));
    const Byte* def = Stage().Chip32x32() + 4 * n;
    const Byte* attributes = Stage().ChipProperties();
    for (int i = 0; i < 4; ++i) {
        if (c_.lblStructIndex[i]) c_.lblStructIndex[i]->setText(Hex2(def[i]));
        if (c_.lblStructProperty[i])
            c_.lblStructProperty[i]->setText(ctx_.graphics.ChipAttributeName(attributes[def[i]]));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

void MapSetEditClass::ViewMove(TImageEx* view, Qt::MouseButtons, bool, bool, int x, int y) {
    const ViewKind kind = KindOf(view);
    if (kind == ViewKind::None || !InsideView(view, x, y)) return;
    if (kind == ViewKind::Table) {
        tableHover_.MoveTo(x / kTableCell + 16 * (y / kTableCell));
        return;
    }
    pageHover_[kind == ViewKind::Page1 ? 1 : 0].MoveTo(x / kCell + 8 * (y / kCell));
}

void MapSetEditClass::ViewLeave(TImageEx* view) {
    switch (KindOf(view)) {
    case ViewKind::Page0: pageHover_[0].Leave(); break;
    case ViewKind::Page1: pageHover_[1].Leave(); break;
    case ViewKind::Table: tableHover_.Leave(); break;
    case ViewKind::None: break;
    }
}

void MapSetEditClass::ViewPress(TImageEx* view, PressKind kind, KeyMods, int x, int y) {
    const ViewKind v = KindOf(view);
    if (v == ViewKind::None || !InsideView(view, x, y)) return;
    if (v == ViewKind::Table) {
        if (kind == PressKind::Left || kind == PressKind::LeftShift || kind == PressKind::LeftCtrl)
            SelectChip(x / kTableCell + 16 * (y / kTableCell));
        return;
    }
    const int page = v == ViewKind::Page1 ? 1 : 0;
    const int cell = x / kCell + 8 * (y / kCell);
    switch (kind) {
    case PressKind::LeftShift: OpenGridDialog(page); break;
    case PressKind::LeftCtrl: {
        const std::array<Byte, kMapSetSize> buffer = copyBuffer_;
        Paste(page, buffer, false);
        break;
    }
    case PressKind::Left: Paint(page, cell); break;
    case PressKind::RightCtrl: Copy(page); break;
    case PressKind::Right: SelectChip(PageBytes(page)[cell]); break;
    case PressKind::Other: break;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Edits

void MapSetEditClass::Paint(int page, int cell) {
    const int set = pageSet_[page];
    if (!Stage().SetMapSetByte(kMapSetSize * set + cell, static_cast<Byte>(SelectedChip()))) return;
    // Only the painted cell is drawn again (on the other page too when it shows the same map set).
    for (int p = 0; p < 2; ++p) {
        if (p != page && pageSet_[p] != set) continue;
        RepaintPageCell(p, cell);
        if (GridOn()) DrawPageGrid(p);
        pageHover_[p].Reoutline();
    }
    SetModified();
}

void MapSetEditClass::Copy(int page) {
    const Byte* bytes = PageBytes(page);
    std::copy(bytes, bytes + kMapSetSize, copyBuffer_.begin());
}

void MapSetEditClass::Paste(int page, const std::array<Byte, kMapSetSize>& bytes, bool gridEdit) {
    const int set = pageSet_[page];
    const Byte* current = Stage().MapSet(set);
    if (std::equal(bytes.begin(), bytes.end(), current)) return;
    if (gridEdit)
        Stage().GridEditMapSet(kMapSetSize * set, bytes);
    else
        Stage().PasteMapSet(kMapSetSize * set, bytes);
    SetModified();
    for (int p = 0; p < 2; ++p) {
        if (p != page && pageSet_[p] != set) continue;
        DrawPage(p);
        pageHover_[p].Reoutline();
    }
}

void MapSetEditClass::OpenGridDialog(int page) {
    std::array<Byte, kMapSetSize> bytes{};
    const Byte* current = PageBytes(page);
    std::copy(current, current + kMapSetSize, bytes.begin());
    gridForm_->Open(pageSet_[page], bytes);
    if (ctx_.shell.Prompts().RunDialog(*gridForm_, QString::fromUtf8(kGridDialogName)) != QDialog::Accepted) return;
    Paste(page, gridForm_->Result(), true);
}

// ---------------------------------------------------------------------------------------------------------
// Other controls

void MapSetEditClass::ScrBarMapSetScroll(int position) {
    if (filling_) return;
    const int p = std::clamp(position, 0, kLastPage0);
    pageSet_[1] = std::clamp(pageSet_[1] + (p - pageSet_[0]), 1, kMapSetCount - 1);
    pageSet_[0] = p;
    for (int page = 0; page < 2; ++page) {
        DrawPage(page);
        pageHover_[page].Reoutline();
        ShowPageLabel(page);
    }
    SyncPageScrollBars();
}

void MapSetEditClass::ShowUsage(const Usage& use) {
    if (use.place != UsePlace::MapSetCell || !c_.scrBarSelectPage[0]) return;
    // As a user would: page 0's own scroll bar, whose handler shows the map set.
    c_.scrBarSelectPage[0]->setValue(std::clamp(use.owner, 0, kMapSetCount - 1));
}

void MapSetEditClass::ScrBarSelectPageXScroll(int page, int position) {
    if (filling_) return;
    page &= 1;
    pageSet_[page] = std::clamp(position, 0, kMapSetCount - 1);
    DrawPage(page);
    pageHover_[page].Reoutline();
    ShowPageLabel(page);
}

void MapSetEditClass::Button3Click() {
    if (!ctx_.shell.Prompts().AskYesNo(Tr("MapSetPage", kReloadQuestion))) return;
    // The stage's map set modified flag stays as it is.
    Stage().ReadMapSets();
    Stage().ClearHistory();
    Reset();
}

void MapSetEditClass::ChkMapSetEditDrawGridClick() {
    for (int page = 0; page < 2; ++page) {
        DrawPage(page);
        pageHover_[page].Reoutline();
    }
}

void MapSetEditClass::BtnReplaceMapSetChipClick() {
    const QString list = ReplacementList(Stage().Chip32x32());
    if (list.isEmpty()) {
        ctx_.shell.Prompts().Message(Tr("MapSetPage", kNothingToReplace));
        return;
    }
    UsageListRequest request;
    // The caption stays whatever the dialog showed last.
    request.message = Tr("MapSetPage", kReplaceMessage);
    request.text = list;
    request.onReplace = [this] {
        StageData& stage = Stage();
        const int count = ReplaceDuplicates(stage.MapSetsForDirectWrite(), stage.Chip32x32());
        if (count > 0) {
            SetModified();
            stage.ClearHistory();
        }
        ctx_.shell.Prompts().Message(Tr("MapSetPage", kReplacedText).arg(count));
    };
    ctx_.shell.ShowUsageList(request);
}

// ---------------------------------------------------------------------------------------------------------
// Duplicate 32x32 chips

QString MapSetEditClass::ReplacementList(const Byte* chip32x32) {
    return DuplicateChip32x32List(chip32x32, QStringLiteral(" <- "));
}

int MapSetEditClass::ReplaceDuplicates(Byte* mapSets, const Byte* chip32x32) {
    if (!mapSets || !chip32x32) return 0;
    int count = 0;
    for (const std::vector<int>& group : DuplicateChip32x32Groups(chip32x32)) {
        if (group.size() < 2) continue;
        std::array<bool, 256> member{};
        for (std::size_t k = 1; k < group.size(); ++k) member[std::size_t(group[k] & 0xFF)] = true;
        const Byte base = static_cast<Byte>(group.front());
        for (int i = 0; i < kMapSetTableSize; ++i) {
            if (!member[mapSets[i]]) continue;
            mapSets[i] = base;
            ++count;
        }
    }
    return count;
}

// ---------------------------------------------------------------------------------------------------------
// The page

std::unique_ptr<PageController> CreateMapSetPage(QWidget* tab, PageContext& ctx) {
    MapSetPageControls c;

    // The two pages side by side, the scroll bar that moves both under them.
    for (int p = 0; p < 2; ++p)
        c.page[p] = MakeView(tab, QStringLiteral("ImgEditMapSetPage%1").arg(p), 256, 256, 4 + 264 * p, 4, p);
    c.scrBarMapSet = MakeScrollBar(tab, "ScrBarMapSet", Qt::Horizontal, 4, 264, 520, 17, 0, kLastPage0);

    // The chip table at half size.
    c.chipTable = MakeView(tab, QStringLiteral("Img32x32ChipTable"), 256, 256, 4, 288);

    // Which map set each page shows.
    const int rx = 268;
    QGroupBox* pages = MakeGroup(tab, Tr("MapSetPage", "表示ページ"), rx, 284, 336, 66);
    for (int p = 0; p < 2; ++p) {
        const int y = 20 + 22 * p;
        MakeLabel(pages, Tr("MapSetPage", "Page%1:").arg(p), 8, y);
        c.lblPage[p] = MakeLabel(pages, Hex2(p), 56, y, 24);
        c.lblPage[p]->setObjectName(QStringLiteral("LblMapSetPage%1").arg(p));
        c.scrBarSelectPage[p] = MakeScrollBar(pages, p == 0 ? "ScrBarSelectPage0" : "ScrBarSelectPage1", Qt::Horizontal,
                                              84, y, 240, 17, 0, kMapSetCount - 1);
        c.scrBarSelectPage[p]->setProperty("Tag", p);
    }
    c.scrBarSelectPage[1]->setValue(1);

    // The chip cells are painted with.
    QGroupBox* chip = MakeGroup(tab, Tr("MapSetPage", "選択チップ"), rx, 354, 336, 142);
    c.selectChip = MakeView(chip, QStringLiteral("ImgSelect32x32Chip"), 64, 64, 8, 20);
    MakeLabel(chip, Tr("MapSetPage", "No:"), 80, 20);
    c.lblSelectIndex = MakeLabel(chip, "00", 104, 20, 24, "LblMapSetSelect32x32ChipIndex");
    MakeLabel(chip, Tr("MapSetPage", "構成チップNo:"), 80, 44);
    for (int i = 0; i < 4; ++i) {
        c.lblStructIndex[i] = MakeLabel(chip, "00", 176 + 28 * (i % 2), 44 + 18 * (i / 2), 24);
        c.lblStructIndex[i]->setObjectName(QStringLiteral("LblMapSetStructChipIndex%1").arg(i));
    }
    MakeLabel(chip, Tr("MapSetPage", "構成チップ属性:"), 8, 88);
    for (int i = 0; i < 4; ++i) {
        c.lblStructProperty[i] = MakeLabel(chip, QString(), 8 + 162 * (i % 2), 106 + 18 * (i / 2), 158);
        c.lblStructProperty[i]->setObjectName(QStringLiteral("LblMapSetStructChipProperty%1").arg(i));
    }

    c.chkDrawGrid = MakeCheck(tab, "ChkMapSetEditDrawGrid", Tr("MapSetPage", "グリッド線の描画"), rx, 500, 200, 20);
    c.button3 = MakeButton(tab, "Button3", Tr("MapSetPage", "再読み込み"), rx, 524, 100, 26);
    c.btnReplace =
        MakeButton(tab, "BtnReplaceMapSetChip", Tr("MapSetPage", "重複チップを置換"), rx + 108, 524, 150, 26);

    auto controller = std::make_unique<MapSetEditClass>(ctx, c, tab->window());
    MapSetEditClass* self = controller.get();
    // A scroll reaches its handler whenever the position changes, and also when the user scrolls against an
    // end of the bar (the position stays, but the pages still follow it).
    auto onScroll = [self](QScrollBar* bar, const std::function<void(int)>& handler) {
        QObject::connect(bar, &QScrollBar::valueChanged, self, handler);
        QObject::connect(bar, &QScrollBar::actionTriggered, self, [bar, handler](int action) {
            if (action != QAbstractSlider::SliderNoAction && bar->sliderPosition() == bar->value())
                handler(bar->value());
        });
    };
    onScroll(c.scrBarMapSet, [self](int value) { self->ScrBarMapSetScroll(value); });
    for (int p = 0; p < 2; ++p)
        onScroll(c.scrBarSelectPage[p], [self, p](int value) { self->ScrBarSelectPageXScroll(p, value); });
    QObject::connect(c.chkDrawGrid, &QCheckBox::toggled, self, [self] { self->ChkMapSetEditDrawGridClick(); });
    QObject::connect(c.button3, &QPushButton::clicked, self, [self] { self->Button3Click(); });
    QObject::connect(c.btnReplace, &QPushButton::clicked, self, [self] { self->BtnReplaceMapSetChipClick(); });
    return controller;
}
