#include "editors/32x32chipedit.h"

#include <algorithm>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QWidget>

#include "document/edit_flag.h"
#include "document/fileio.h"
#include "editors/ImageEx.h"
#include "editors/editorshell.h"
#include "editors/showUnusedChipNumForm.h"
#include "editors/userprompts.h"
#include "graphics/graphics.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {

constexpr int kChipCells = 256;
constexpr int kChip = 32;    // a 32x32 chip in the chip view, a quarter of the enlarged chip
constexpr int kCell16 = 16;  // a 16x16 chip in the 16x16 chip table
constexpr int kViewColumns = 16;
constexpr int kViewRows = 8;
constexpr int kHalfChips = kViewColumns * kViewRows;  // 128 chips in a half

bool IsLeft(PressKind k) {
    return k == PressKind::Left || k == PressKind::LeftShift || k == PressKind::LeftCtrl;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Usage checks

QString UnusedChip32x32List(const StageData& stage) {
    return UnusedNumberList(stage.MapSets(), kMapSetTableSize);
}

std::vector<std::vector<int>> DuplicateChip32x32Groups(const Byte* table) {
    std::vector<std::vector<int>> groups;
    if (!table) return groups;
    std::array<bool, kChipCells> taken{};
    for (int base = 0; base < kChipCells - 1; ++base) {
        if (taken[base]) continue;  // every chip equal to a taken one is taken already
        std::vector<int> group;
        for (int j = base + 1; j < kChipCells; ++j) {
            if (taken[j]) continue;
            bool same = true;
            for (int k = 0; k < 4 && same; ++k) same = table[4 * j + k] == table[4 * base + k];
            if (!same) continue;
            if (group.empty()) group.push_back(base);
            group.push_back(j);
            taken[j] = true;
        }
        if (!group.empty()) groups.push_back(std::move(group));
    }
    return groups;
}

QString DuplicateChip32x32List(const Byte* table, const QString& separator) {
    QString text;
    for (const std::vector<int>& group : DuplicateChip32x32Groups(table)) {
        text += Hex2(group.front()) + separator;
        for (std::size_t i = 1; i < group.size(); ++i) text += Hex2(group[i]) + ' ';
        text += QStringLiteral("\r\n");
    }
    return text;
}

// ---------------------------------------------------------------------------------------------------------
// Controller

Chip32x32EditClass::Chip32x32EditClass(PageContext& context, const Chip32x32PageControls& controls)
    : ctx_(context),
      c_(controls),
      viewHover_(context.graphics, kChip, kViewColumns, [this](int cell) { RepaintViewCell(cell); }),
      tableHover_(context.graphics, kCell16, 16, [this](int cell) { RepaintTableCell(cell); }),
      chipHover_(context.graphics, kChip, 2, [this](int) { DrawEnlarged(); }) {
    viewHover_.SetView(c_.chipView);
    viewHover_.SetAfterRepaint([this] { DrawGrid(); });
    tableHover_.SetView(c_.chip16Table);
    chipHover_.SetView(c_.chip);
}

StageData& Chip32x32EditClass::Stage() {
    return ctx_.rom.Current();
}
Byte Chip32x32EditClass::Quarter(int chip, int slot) {
    return Stage().Chip32x32()[4 * (chip & 0xFF) + (slot & 3)];
}
void Chip32x32EditClass::SetModified() {
    ctx_.flags.SetModified(ModifiedCategory::Chip32x32, ctx_.rom.CurrentStage(), true);
}
bool Chip32x32EditClass::GridOn() const {
    return c_.chkGrid && c_.chkGrid->isChecked();
}

Chip32x32EditClass::ViewKind Chip32x32EditClass::KindOf(const TImageEx* view) const {
    if (!view) return ViewKind::None;
    if (view == c_.chipView) return ViewKind::ChipView;
    if (view == c_.chip) return ViewKind::Chip;
    if (view == c_.chip16Table) return ViewKind::Table;
    return ViewKind::None;
}

int Chip32x32EditClass::ShownSet(const TImageEx* view) const {
    return view && view == c_.chipView ? half_ : -1;
}

void Chip32x32EditClass::ApplySettings(const EditorSettings& settings) {
    if (!c_.chkGrid) return;
    // Putting the saved state into the box is not a click: nothing is drawn.
    const QSignalBlocker block(c_.chkGrid);
    c_.chkGrid->setChecked(settings.grid32x32);
}

void Chip32x32EditClass::StoreSettings(EditorSettings& settings) const {
    if (c_.chkGrid) settings.grid32x32 = c_.chkGrid->isChecked();
}

// ---------------------------------------------------------------------------------------------------------
// Page operations

void Chip32x32EditClass::Reset() {
    edited_ = 0;
    selected16_ = 0;
    half_ = 0;
    if (c_.lblHalf) c_.lblHalf->setText(QStringLiteral("00-7F"));
    viewHover_.Forget();
    tableHover_.Forget();
    chipHover_.Forget();
    RebuildChipSheet();
    DrawChipView();
    ctx_.graphics.ApplyStagePalette(ctx_.graphics.ChipSheet16());
    DrawTable();
    SelectEditedChip(0);
    Select16(0);
}

void Chip32x32EditClass::Activate() {
    DrawChipView();
    viewHover_.Reoutline();
    ctx_.graphics.ApplyStagePalette(ctx_.graphics.ChipSheet16());
    DrawTable();
    tableHover_.Reoutline();
    SelectEditedChip(edited_);
    Select16(selected16_);
}

void Chip32x32EditClass::RefreshColours() {
    ctx_.graphics.ApplyStagePalette(ctx_.graphics.ChipSheet16());
    ctx_.graphics.RefreshChip32SheetPalette();
    DrawChipView();
    DrawTable();
    DrawEnlarged();
    DrawSelect16();
    // The views were drawn anew without outlines: frame the cells under the pointer again.
    viewHover_.Reoutline();
    tableHover_.Reoutline();
    chipHover_.Reoutline();
}

void Chip32x32EditClass::RebuildChipSheet() {
    ctx_.graphics.RefreshChip32SheetPalette();
    ctx_.graphics.DrawChipSheet32(ctx_.graphics.ChipSheet32(), Stage().Chip32x32());
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void Chip32x32EditClass::DrawChipView() {
    if (!c_.chipView) return;
    ctx_.graphics.CopyToView(c_.chipView->Picture(), 0, 0, 512, 256, ctx_.graphics.ChipSheet32(), 0, 256 * half_, 512,
                             256);
    DrawGrid();
    c_.chipView->Changed();
}

void Chip32x32EditClass::DrawGrid() {
    if (!c_.chipView || !GridOn()) return;
    ctx_.graphics.DrawGridLines(c_.chipView->Picture(), kChip, kChip);
    c_.chipView->Changed();
}

// Copies the chip shown at view cell (0 to 127) from the sheet; the grid is the caller's.
void Chip32x32EditClass::RepaintViewCell(int cell) {
    if (!c_.chipView || cell < 0 || cell >= kHalfChips) return;
    const int chip = cell + kHalfChips * half_;
    const int x = kChip * (cell % kViewColumns), y = kChip * (cell / kViewColumns);
    ctx_.graphics.CopyToView(c_.chipView->Picture(), x, y, kChip, kChip, ctx_.graphics.ChipSheet32(),
                             kChip * (chip % 16), kChip * (chip / 16), kChip, kChip);
    c_.chipView->Changed();
}

void Chip32x32EditClass::DrawTable() {
    if (!c_.chip16Table) return;
    ctx_.graphics.CopyToView(c_.chip16Table->Picture(), 0, 0, 256, 256, ctx_.graphics.ChipSheet16(), 0, 0, 256, 256);
    c_.chip16Table->Changed();
}

void Chip32x32EditClass::RepaintTableCell(int cell) {
    if (!c_.chip16Table || cell < 0 || cell >= kChipCells) return;
    const int x = kCell16 * (cell % 16), y = kCell16 * (cell / 16);
    ctx_.graphics.CopyToView(c_.chip16Table->Picture(), x, y, kCell16, kCell16, ctx_.graphics.ChipSheet16(), x, y,
                             kCell16, kCell16);
    c_.chip16Table->Changed();
}

void Chip32x32EditClass::DrawEnlarged() {
    if (!c_.chip) return;
    const int n = edited_;
    ctx_.graphics.CopyToView(c_.chip->Picture(), 0, 0, 2 * kChip, 2 * kChip, ctx_.graphics.ChipSheet32(),
                             kChip * (n % 16), kChip * (n / 16), kChip, kChip);
    c_.chip->Changed();
}

void Chip32x32EditClass::DrawSelect16() {
    if (!c_.select16) return;
    const int q = selected16_;
    ctx_.graphics.CopyToView(c_.select16->Picture(), 0, 0, 2 * kCell16, 2 * kCell16, ctx_.graphics.ChipSheet16(),
                             kCell16 * (q % 16), kCell16 * (q / 16), kCell16, kCell16);
    c_.select16->Changed();
}

void Chip32x32EditClass::SelectEditedChip(int chip) {
    edited_ = chip & 0xFF;
    DrawEnlarged();
    chipHover_.Reoutline();
    if (c_.lblSelect32Index) c_.lblSelect32Index->setText(Hex2(edited_));
    const Byte* attributes = Stage().ChipProperties();
    for (int i = 0; i < 4; ++i) {
        const int q = Quarter(edited_, i);
        if (c_.lblStructIndex[i]) c_.lblStructIndex[i]->setText(Hex2(q));
        if (c_.lblStructProperty[i]) c_.lblStructProperty[i]->setText(ctx_.graphics.ChipAttributeName(attributes[q]));
    }
}

void Chip32x32EditClass::Select16(int chip16) {
    selected16_ = chip16 & 0xFF;
    DrawSelect16();
    if (c_.lblSelect16Index) c_.lblSelect16Index->setText(Hex2(selected16_));
    if (c_.lblSelect16Property)
        c_.lblSelect16Property->setText(ctx_.graphics.ChipAttributeName(Stage().ChipProperties()[selected16_]));
}

// Draws chip again into the sheet and, when the half it belongs to is shown, into its cell of the chip view.
// The grid lines and the hover outline crossing that cell are drawn again too.
void Chip32x32EditClass::RedrawChip(int chip) {
    chip &= 0xFF;
    ctx_.graphics.RedrawChip32(ctx_.graphics.ChipSheet32(), Stage().Chip32x32(), chip);
    if (chip / kHalfChips != half_) return;
    const int cell = chip % kHalfChips;
    RepaintViewCell(cell);
    DrawGrid();
    if (viewHover_.Current() == cell) viewHover_.Reoutline();
}

// After chip's definition changed: modified flag, the chip redrawn, the edited chip shown again.
void Chip32x32EditClass::AfterEdit(int chip) {
    SetModified();
    RedrawChip(chip);
    SelectEditedChip(edited_);
}

// ---------------------------------------------------------------------------------------------------------
// Edits

void Chip32x32EditClass::Paste(int chip) {
    const Byte* def = Stage().Chip32x32() + 4 * chip;
    if (std::equal(copy_.begin(), copy_.end(), def)) return;
    if (!Stage().PasteChip32x32(4 * chip, copy_)) return;
    AfterEdit(chip);
}

void Chip32x32EditClass::SetQuarter(int chip, int slot) {
    if (!Stage().SetChip32x32Byte(4 * chip + slot, static_cast<Byte>(selected16_))) return;
    AfterEdit(chip);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

void Chip32x32EditClass::ViewPress(TImageEx* view, PressKind kind, KeyMods, int x, int y) {
    const ViewKind v = KindOf(view);
    if (v == ViewKind::None || !InsideView(view, x, y)) return;
    switch (v) {
    case ViewKind::ChipView: {
        const int chip = (y / kChip) * kViewColumns + x / kChip + kHalfChips * half_;
        const int slot = ((y % kChip) / kCell16) * 2 + (x % kChip) / kCell16;
        switch (kind) {
        case PressKind::LeftCtrl: Paste(chip); break;
        case PressKind::LeftShift: SetQuarter(chip, slot); break;
        case PressKind::Left:
            SelectEditedChip(chip);
            ctx_.links.mapSetSelectedChip = chip;
            break;
        case PressKind::RightCtrl: std::copy_n(Stage().Chip32x32() + 4 * chip, 4, copy_.begin()); break;
        case PressKind::Right: Select16(Quarter(chip, slot)); break;
        case PressKind::Other: break;
        }
        break;
    }
    case ViewKind::Chip: {
        const int slot = (y / kChip) * 2 + x / kChip;
        if (IsLeft(kind))
            SetQuarter(edited_, slot);
        else if (kind == PressKind::Right || kind == PressKind::RightCtrl)
            Select16(Quarter(edited_, slot));
        break;
    }
    case ViewKind::Table:
        if (IsLeft(kind)) Select16((y / kCell16) * 16 + x / kCell16);
        break;
    case ViewKind::None: break;
    }
}

void Chip32x32EditClass::ViewMove(TImageEx* view, Qt::MouseButtons, bool, bool, int x, int y) {
    const ViewKind v = KindOf(view);
    // While a button is held the view keeps the mouse, so positions outside it arrive too: no cell there.
    if (v == ViewKind::None || !InsideView(view, x, y)) return;
    switch (v) {
    case ViewKind::ChipView: viewHover_.MoveTo((y / kChip) * kViewColumns + x / kChip); break;
    case ViewKind::Table: tableHover_.MoveTo((y / kCell16) * 16 + x / kCell16); break;
    case ViewKind::Chip: chipHover_.MoveTo((y / kChip) * 2 + x / kChip); break;
    case ViewKind::None: break;
    }
}

void Chip32x32EditClass::ViewLeave(TImageEx* view) {
    switch (KindOf(view)) {
    case ViewKind::ChipView: viewHover_.Leave(); break;
    case ViewKind::Table: tableHover_.Leave(); break;
    case ViewKind::Chip: chipHover_.Leave(); break;
    case ViewKind::None: break;
    }
}

void Chip32x32EditClass::ShowUsage(const Usage& use) {
    if (use.place != UsePlace::Chip32Quarter || !c_.chipView) return;
    const int chip = use.owner & 0xFF;
    // As a user would: the half switch, then a left click on the chip in the chip view.
    UDChange32x32ChipViewClick(chip < kHalfChips);
    const int cell = chip % kHalfChips;
    ViewPress(c_.chipView, PressKind::Left, KeyMods{}, (cell % kViewColumns) * kChip, (cell / kViewColumns) * kChip);
}

// ---------------------------------------------------------------------------------------------------------
// Other controls

void Chip32x32EditClass::UDChange32x32ChipViewClick(bool up) {
    const int half = up ? 0 : 1;
    if (half == half_) return;
    half_ = half;
    if (c_.lblHalf) c_.lblHalf->setText(half_ == 0 ? QStringLiteral("00-7F") : QStringLiteral("80-FF"));
    DrawChipView();
    viewHover_.Reoutline();
}

void Chip32x32EditClass::Button2Click() {
    if (!ctx_.shell.Prompts().AskYesNo(Tr("Chip32Page", kReloadQuestion))) return;
    // The modified flag stays as it is.
    Stage().ReadChip32x32();
    Stage().ClearHistory();
    Reset();
}

void Chip32x32EditClass::Chk32x32ChipEditDrawGridClick() {
    DrawChipView();
    viewHover_.Reoutline();
}

void Chip32x32EditClass::BtnUnused32x32ChipChkClick() {
    ctx_.shell.ShowUsageList(UsageListRequest{Tr("Chip32Page", "未使用32x32チップ番号"),
                                              Tr("Chip32Page", "マップセットに使用されてない32x32チップ番号は"),
                                              UnusedChip32x32List(Stage()), nullptr});
}

void Chip32x32EditClass::BtnOverlap32x32ChipChkClick() {
    ctx_.shell.ShowUsageList(
        UsageListRequest{Tr("Chip32Page", "重複チップの置換"), Tr("Chip32Page", "重複定義されている32x32チップ番号は"),
                         DuplicateChip32x32List(Stage().Chip32x32(), QStringLiteral(" ")), nullptr});
}

// ---------------------------------------------------------------------------------------------------------
// The page

std::unique_ptr<PageController> Create32x32ChipPage(QWidget* tab, PageContext& ctx) {
    Chip32x32PageControls c;

    // Top: one half of the chips, and the half switch beside it.
    c.chipView = MakeView(tab, "ImgEdit32x32ChipView", 512, 256, 4, 4);
    QGroupBox* halfGroup = MakeGroup(tab, Tr("Chip32Page", "表示切替"), 522, 0, 87, 72);
    c.halfSwitch = MakeUpDown(halfGroup, "UDChange32x32ChipView", 8, 22, 20, 40, 0, false);
    MakeLabel(halfGroup, Tr("Chip32Page", "No:"), 34, 24);
    c.lblHalf = MakeLabel(halfGroup, QStringLiteral("00-7F"), 34, 42, 46, "LblEdit32x32ChipView");

    c.button2 = MakeButton(tab, "Button2", Tr("Chip32Page", "再読み込み"), 522, 80, 87, 26);

    // Bottom left: the 16x16 chips to build with.
    c.chip16Table = MakeView(tab, "Img16x16ChipTable", 256, 256, 4, 268);

    // Bottom right: the edited chip with its four 16x16 chips.
    QGroupBox* editGroup = MakeGroup(tab, Tr("Chip32Page", "編集対象チップ"), 266, 262, 343, 148);
    c.chip = MakeView(editGroup, "ImgEdit32x32Chip", 64, 64, 8, 22);
    MakeLabel(editGroup, Tr("Chip32Page", "No:"), 8, 92);
    c.lblSelect32Index = MakeLabel(editGroup, QStringLiteral("00"), 34, 92, 30, "LblSelect32x32ChipIndex");
    MakeLabel(editGroup, Tr("Chip32Page", "  構成チップNo:"), 80, 22);
    for (int i = 0; i < 4; ++i) {
        c.lblStructIndex[i] = MakeLabel(editGroup, QStringLiteral("00"), 190 + 28 * (i % 2), 22 + 18 * (i / 2), 24);
        c.lblStructIndex[i]->setObjectName(QStringLiteral("LblStructChipIndex%1").arg(i));
    }
    MakeLabel(editGroup, Tr("Chip32Page", "構成チップ属性:"), 80, 66);
    for (int i = 0; i < 4; ++i) {
        c.lblStructProperty[i] = MakeLabel(editGroup, QString(), 86 + 128 * (i % 2), 86 + 20 * (i / 2), 124);
        c.lblStructProperty[i]->setObjectName(QStringLiteral("LblStructChipProperty%1").arg(i));
    }

    // The selected 16x16 chip.
    QGroupBox* selectGroup = MakeGroup(tab, Tr("Chip32Page", "選択チップ"), 266, 414, 210, 70);
    c.select16 = MakeView(selectGroup, "ImgSelect16x16Chip", 32, 32, 8, 24);
    MakeLabel(selectGroup, Tr("Chip32Page", "  No:"), 46, 22);
    c.lblSelect16Index = MakeLabel(selectGroup, QStringLiteral("00"), 82, 22, 30, "LblSelect16x16ChipIndex");
    MakeLabel(selectGroup, Tr("Chip32Page", "属性:"), 52, 42);
    c.lblSelect16Property = MakeLabel(selectGroup, QString(), 82, 42, 124, "LblSelect16x16ChipProperty");

    c.chkGrid = MakeCheck(tab, "Chk32x32ChipEditDrawGrid", Tr("Chip32Page", "グリッド線の描画"), 484, 422, 125, 20);

    // The two usage checks of this page.
    c.btnUnused = MakeButton(tab, "BtnUnused32x32ChipChk", Tr("Chip32Page", "未使用チップ番号表示"), 266, 494, 170, 26);
    c.btnOverlap = MakeButton(tab, "BtnOverlap32x32ChipChk", Tr("Chip32Page", "重複チップ番号表示"), 440, 494, 169, 26);

    auto controller = std::make_unique<Chip32x32EditClass>(ctx, c);
    Chip32x32EditClass* self = controller.get();
    QObject::connect(c.halfSwitch.up, &QToolButton::clicked, self, [self] { self->UDChange32x32ChipViewClick(true); });
    QObject::connect(c.halfSwitch.down, &QToolButton::clicked, self,
                     [self] { self->UDChange32x32ChipViewClick(false); });
    QObject::connect(c.button2, &QPushButton::clicked, self, [self] { self->Button2Click(); });
    QObject::connect(c.chkGrid, &QCheckBox::toggled, self, [self] { self->Chk32x32ChipEditDrawGridClick(); });
    QObject::connect(c.btnUnused, &QPushButton::clicked, self, [self] { self->BtnUnused32x32ChipChkClick(); });
    QObject::connect(c.btnOverlap, &QPushButton::clicked, self, [self] { self->BtnOverlap32x32ChipChkClick(); });
    return controller;
}
