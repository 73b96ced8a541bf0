#include "editors/16x16chipedit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>

#include "document/edit_flag.h"
#include "document/fileio.h"
#include "editors/ImageEx.h"
#include "editors/chipattributecaptions.h"
#include "editors/editorshell.h"
#include "editors/pagekit.h"
#include "editors/showUnusedChipNumForm.h"
#include "editors/userprompts.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {

constexpr int kCell = 16;     // a tile of the table (2x) and a chip of the sheet (1:1)
constexpr int kQuarter = 32;  // a quarter of the enlarged chip (4x)

}  // namespace

Chip16x16EditClass::Chip16x16EditClass(PageContext& context, const Chip16x16PageControls& controls)
    : ctx_(context),
      c_(controls),
      bank_(context.rom),
      tileSurface_(context.graphics.CreateStageBitmap(128, 128)),
      tileHover_(context.graphics, kCell, 16, [this](int tile) { RepaintTileCell(tile); }),
      chipHover_(context.graphics, kCell, 16, [this](int chip) { RepaintChipCell(chip); }) {
    tileHover_.SetView(c_.bgBankTable);
    chipHover_.SetView(c_.chipView);
    auto on = [this](auto* sender, auto signal, auto slot) {
        if (sender) connect(sender, signal, this, slot);
    };
    on(c_.chipPropertyButtons, &QButtonGroup::idClicked, [this](int id) { KindClicked(id); });
    on(c_.paletteButtons, &QButtonGroup::idClicked, [this](int id) { PaletteClicked(id); });
    on(c_.editSelectChipProperty, &QLineEdit::textChanged, [this] { AttributeTextChanged(); });
    on(c_.cbSelectBGloadPoint, &QComboBox::currentIndexChanged, [this](int index) { LoadPointChanged(index); });
    on(c_.scrBarSelectScrollIndex, &QScrollBar::valueChanged, [this](int value) { ScrollChanged(value); });
    on(c_.button1, &QPushButton::clicked, [this] { ReloadClicked(); });
    on(c_.btnUnused16x16ChipChk, &QPushButton::clicked, [this] { Unused16x16ChipCheckClicked(); });
    on(c_.btnUnusedTileChk, &QPushButton::clicked, [this] { UnusedTileCheckClicked(); });
}

StageData& Chip16x16EditClass::Stage() {
    return ctx_.rom.Current();
}
Byte Chip16x16EditClass::Attribute(int chip) {
    return Stage().ChipProperties()[chip & 0xFF];
}
Byte Chip16x16EditClass::ChipTile(int chip, int quarter) {
    return Stage().Chip16x16Tiles()[256 * (quarter & 3) + (chip & 0xFF)];
}
void Chip16x16EditClass::SetModified() {
    ctx_.flags.SetModified(ModifiedCategory::Chip16x16, ctx_.rom.CurrentStage(), true);
}

Chip16x16EditClass::ViewKind Chip16x16EditClass::KindOf(const TImageEx* view) const {
    if (!view) return ViewKind::None;
    if (view == c_.bgBankTable) return ViewKind::TileTable;
    if (view == c_.chipView) return ViewKind::ChipView;
    if (view == c_.chip) return ViewKind::Chip;
    return ViewKind::None;
}

// ---------------------------------------------------------------------------------------------------------
// Page operations

void Chip16x16EditClass::Reset() {
    const int stage = ctx_.rom.CurrentStage();
    if (stage != shownStage_) {
        loadPoint_ = 0;
        scroll_ = 0;
        shownStage_ = stage;
    }
    {
        const FillingGuard filling(updating_);
        if (c_.cbSelectBGloadPoint) c_.cbSelectBGloadPoint->setCurrentIndex(loadPoint_);
        if (c_.scrBarSelectScrollIndex) c_.scrBarSelectScrollIndex->setValue(scroll_);
    }
    if (c_.lblSelectScrollIndex) c_.lblSelectScrollIndex->setText(Hex2(scroll_));

    bank_.Assemble(stage, loadPoint_, scroll_);
    ctx_.links.bgLoadPoint = loadPoint_;
    ctx_.links.bgScroll = scroll_;
    ShowLoadReport();

    viewPalette_ = 0;
    selectedTile_ = 0;
    selectedChip_ = 0;
    tileHover_.Forget();
    chipHover_.Forget();
    hoverQuarter_ = -1;

    ctx_.graphics.DrawTileSheet(tileSurface_, bank_.Bytes(), 0);
    ShowTileTable();
    ctx_.graphics.DrawChipSheet16(ctx_.graphics.ChipSheet16(), bank_.Bytes(), Stage().Chip16x16Tiles(),
                                  Stage().ChipProperties());
    ShowChipView();
    SelectChip(0);
    SelectTile(0);
    ShowSwatches();
}

void Chip16x16EditClass::Activate() {
    RebuildSheet();
    ctx_.graphics.DrawTileSheet(tileSurface_, bank_.Bytes(), 0);
    ShowTileTable();
    ShowChipView();
    ShowEnlargedChip();
    ShowSwatches();
    SetRadioGroups();
    ShowAttribute();
    ShowChipNumbers();
}

void Chip16x16EditClass::RefreshColours() {
    ShowTileTable();
    ShowChipView();
    ShowEnlargedChip();
    ShowSwatches();
}

void Chip16x16EditClass::RebuildSheet() {
    IndexedBitmap& sheet = ctx_.graphics.ChipSheet16();
    ctx_.graphics.ApplyStagePalette(sheet);
    ctx_.graphics.DrawChipSheet16(sheet, bank_.Bytes(), Stage().Chip16x16Tiles(), Stage().ChipProperties());
}

void Chip16x16EditClass::ShowLoadReport() {
    const BgBank::Report& r = bank_.LastReport();
    if (c_.lblSelectBGLoadDataIndex) c_.lblSelectBGLoadDataIndex->setText(r.initialSet);
    if (c_.lblSelectBGLoadDataAddress) c_.lblSelectBGLoadDataAddress->setText(r.initialAddress);
    if (c_.lblSelectScrollBGLoadIndex) c_.lblSelectScrollBGLoadIndex->setText(r.scrollSet);
    if (c_.lblSelectScrollBGLoadAddress) c_.lblSelectScrollBGLoadAddress->setText(r.scrollAddress);
}

// ---------------------------------------------------------------------------------------------------------
// Drawing the views

void Chip16x16EditClass::ShowTileTable() {
    for (int k = 0; k < 4; ++k)
        tileSurface_.SetPaletteEntry(k, ctx_.graphics.GetStagePaletteColor(4 * viewPalette_ + k));
    if (c_.bgBankTable) {
        QImage& pic = c_.bgBankTable->Picture();
        ctx_.graphics.CopyToView(pic, 0, 0, 256, 256, tileSurface_, 0, 0, 128, 128);
        c_.bgBankTable->Changed();
        tileHover_.Reoutline();
    }
    ShowSelectedTilePreview();
}

void Chip16x16EditClass::ShowSelectedTilePreview() {
    if (!c_.selectTile) return;
    const int t = selectedTile_;
    ctx_.graphics.CopyToView(c_.selectTile->Picture(), 0, 0, 32, 32, tileSurface_, 8 * (t % 16), 8 * (t / 16), 8, 8);
    c_.selectTile->Changed();
}

void Chip16x16EditClass::ShowChipView() {
    IndexedBitmap& sheet = ctx_.graphics.ChipSheet16();
    ctx_.graphics.ApplyStagePalette(sheet);
    if (!c_.chipView) return;
    QImage& pic = c_.chipView->Picture();
    ctx_.graphics.CopyToView(pic, 0, 0, 256, 256, sheet, 0, 0, 256, 256);
    c_.chipView->Changed();
    chipHover_.Reoutline();
}

void Chip16x16EditClass::ShowEnlargedChip() {
    if (!c_.chip) return;
    const int n = selectedChip_;
    QImage& pic = c_.chip->Picture();
    ctx_.graphics.CopyToView(pic, 0, 0, 64, 64, ctx_.graphics.ChipSheet16(), kCell * (n % 16), kCell * (n / 16), kCell,
                             kCell);
    if (hoverQuarter_ >= 0)
        ctx_.graphics.DrawHoverOutline(pic, kQuarter * (hoverQuarter_ % 2), kQuarter * (hoverQuarter_ / 2), kQuarter);
    c_.chip->Changed();
}

void Chip16x16EditClass::ShowSwatches() {
    for (int i = 0; i < 16; ++i) {
        QWidget* w = c_.paletteColor[i];
        if (!w) continue;
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, QColor::fromRgb(ctx_.graphics.GetStagePaletteColor(i)));
        w->setPalette(pal);
    }
}

void Chip16x16EditClass::ShowChipNumbers() {
    if (c_.lblSelectChipIndex) c_.lblSelectChipIndex->setText(Hex2(selectedChip_));
    for (int q = 0; q < 4; ++q)
        if (c_.lblSelectChipTile[q]) c_.lblSelectChipTile[q]->setText(Hex2(ChipTile(selectedChip_, q)));
}

void Chip16x16EditClass::ShowAttribute() {
    const int a = Attribute(selectedChip_);
    if (c_.editSelectChipProperty) {
        const FillingGuard filling(updating_);
        c_.editSelectChipProperty->setText(Hex2(a));
    }
    if (c_.lblSelectChipProperty) c_.lblSelectChipProperty->setText("(" + Hex2(a & 0xFC) + " + " + Hex1(a & 3) + ")");
}

void Chip16x16EditClass::SetRadioGroups() {
    const int a = Attribute(selectedChip_);
    const FillingGuard filling(updating_);
    if (c_.chipPropertyButtons)
        if (QAbstractButton* b = c_.chipPropertyButtons->button(a >> 4)) b->setChecked(true);
    if (c_.paletteButtons)
        if (QAbstractButton* b = c_.paletteButtons->button(a & 3)) b->setChecked(true);
}

void Chip16x16EditClass::SelectChip(int chip) {
    selectedChip_ = chip & 0xFF;
    ShowEnlargedChip();
    ShowChipNumbers();
    ShowAttribute();
    SetRadioGroups();
}

void Chip16x16EditClass::SelectTile(int tile) {
    selectedTile_ = tile & 0xFF;
    ShowSelectedTilePreview();
    if (c_.lblSelectBGBankTileIndex) c_.lblSelectBGBankTileIndex->setText(Hex2(selectedTile_));
}

// Draws one chip again into the sheet and its cell of the chip view (with the hover outline when the mouse
// is on it), and the enlarged chip when it is the selected one.
void Chip16x16EditClass::RedrawChip(int chip) {
    const int x = kCell * (chip % 16), y = kCell * (chip / 16);
    IndexedBitmap& sheet = ctx_.graphics.ChipSheet16();
    ctx_.graphics.DrawChip16(sheet, bank_.Bytes(), Stage().Chip16x16Tiles(), chip, Attribute(chip) & 3, x, y);
    RepaintChipCell(chip);
    if (chip == chipHover_.Current()) chipHover_.Reoutline();
    if (chip == selectedChip_) ShowEnlargedChip();
}

// ---------------------------------------------------------------------------------------------------------
// Hover

void Chip16x16EditClass::RepaintTileCell(int tile) {
    if (!c_.bgBankTable) return;
    ctx_.graphics.CopyToView(c_.bgBankTable->Picture(), kCell * (tile % 16), kCell * (tile / 16), kCell, kCell,
                             tileSurface_, 8 * (tile % 16), 8 * (tile / 16), 8, 8);
    c_.bgBankTable->Changed();
}

void Chip16x16EditClass::RepaintChipCell(int chip) {
    if (!c_.chipView) return;
    const int x = kCell * (chip % 16), y = kCell * (chip / 16);
    ctx_.graphics.CopyToView(c_.chipView->Picture(), x, y, kCell, kCell, ctx_.graphics.ChipSheet16(), x, y, kCell,
                             kCell);
    c_.chipView->Changed();
}

void Chip16x16EditClass::HoverQuarter(int quarter) {
    if (quarter == hoverQuarter_) return;
    hoverQuarter_ = quarter;
    ShowEnlargedChip();  // repaints the whole chip, then the outline of the new quarter
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

void Chip16x16EditClass::ViewMove(TImageEx* view, Qt::MouseButtons, bool, bool, int x, int y) {
    // While a button is held the view keeps the mouse, so positions outside it arrive too: no cell there.
    switch (KindOf(view)) {
    case ViewKind::TileTable:
        if (const auto cell = CellAt(view, x, y, kCell)) tileHover_.MoveTo(*cell);
        break;
    case ViewKind::ChipView:
        if (const auto cell = CellAt(view, x, y, kCell)) chipHover_.MoveTo(*cell);
        break;
    case ViewKind::Chip:
        if (const auto quarter = CellAt(view, x, y, kQuarter)) HoverQuarter(*quarter);
        break;
    case ViewKind::None: break;
    }
}

void Chip16x16EditClass::ViewLeave(TImageEx* view) {
    switch (KindOf(view)) {
    case ViewKind::TileTable: tileHover_.Leave(); break;
    case ViewKind::ChipView: chipHover_.Leave(); break;
    case ViewKind::Chip:
        hoverQuarter_ = -1;
        ShowEnlargedChip();
        break;
    case ViewKind::None: break;
    }
}

void Chip16x16EditClass::ViewPress(TImageEx* view, PressKind kind, KeyMods, int x, int y) {
    const ViewKind v = KindOf(view);
    if (v == ViewKind::None || !InsideView(view, x, y)) return;
    const bool left = kind == PressKind::Left || kind == PressKind::LeftCtrl || kind == PressKind::LeftShift;
    const bool right = kind == PressKind::Right || kind == PressKind::RightCtrl;
    switch (v) {
    case ViewKind::TileTable: {
        const int cell = x / kCell + 16 * (y / kCell);
        if (left) {
            SelectTile(cell);
        } else if (right) {
            viewPalette_ = (viewPalette_ + 1) % 4;
            ShowTileTable();
        }
        break;
    }
    case ViewKind::ChipView: {
        const int cell = x / kCell + 16 * (y / kCell);
        if (kind == PressKind::LeftCtrl) {
            PasteChip(cell);
        } else if (left) {
            SelectChip(cell);
        } else if (kind == PressKind::RightCtrl) {
            CopyChip(cell);
        } else if (right) {
            const int quarter = 2 * ((y % kCell) / 8) + (x % kCell) / 8;
            SelectTile(ChipTile(cell, quarter));
        }
        break;
    }
    case ViewKind::Chip: {
        const int quarter = 2 * (y / kQuarter) + x / kQuarter;
        if (left)
            PutTile(quarter);
        else if (right)
            SelectTile(ChipTile(selectedChip_, quarter));
        break;
    }
    case ViewKind::None: break;
    }
}

void Chip16x16EditClass::PutTile(int quarter) {
    if (!Stage().SetChip16x16Tile(256 * quarter + selectedChip_, static_cast<Byte>(selectedTile_))) return;
    SetModified();
    if (c_.lblSelectChipTile[quarter]) c_.lblSelectChipTile[quarter]->setText(Hex2(selectedTile_));
    RedrawChip(selectedChip_);
}

void Chip16x16EditClass::CopyChip(int chip) {
    for (int q = 0; q < 4; ++q) copied_[q] = ChipTile(chip, q);
    copied_[4] = Attribute(chip);
}

void Chip16x16EditClass::PasteChip(int chip) {
    bool same = Attribute(chip) == copied_[4];
    for (int q = 0; q < 4 && same; ++q) same = ChipTile(chip, q) == copied_[q];
    if (same) return;
    Stage().PasteChip16x16(chip, copied_);
    SetModified();
    RedrawChip(chip);
    if (chip == selectedChip_) {
        // The chip being edited changed under the labels: show its new numbers and attribute too.
        ShowChipNumbers();
        ShowAttribute();
        SetRadioGroups();
    }
}

// ---------------------------------------------------------------------------------------------------------
// Other controls

void Chip16x16EditClass::KindClicked(int kind) {
    if (updating_ || kind < 0 || kind > 15) return;
    if (c_.chipPropertyButtons && c_.rgChipPropertySelect && c_.rgChipPropertySelect->isVisible())
        if (QAbstractButton* b = c_.chipPropertyButtons->button(kind)) b->setFocus();
    const int a = Attribute(selectedChip_);
    if (kind == a >> 4) return;
    Stage().SetChipProperty(selectedChip_, static_cast<Byte>(16 * kind + (a & 0x0F)));
    ShowAttribute();
    SetModified();
}

void Chip16x16EditClass::PaletteClicked(int palette) {
    if (updating_ || palette < 0 || palette > 3) return;
    if (c_.paletteButtons && c_.rgPaletteSelect && c_.rgPaletteSelect->isVisible())
        if (QAbstractButton* b = c_.paletteButtons->button(palette)) b->setFocus();
    const int a = Attribute(selectedChip_);
    if (palette == (a & 3)) return;
    Stage().SetChipProperty(selectedChip_, static_cast<Byte>((a & 0xFC) + palette));
    ShowAttribute();
    RedrawChip(selectedChip_);
    SetModified();
}

void Chip16x16EditClass::AttributeTextChanged() {
    if (updating_ || !c_.editSelectChipProperty) return;
    const QString text = c_.editSelectChipProperty->text();
    if (text.size() != 2) return;
    int value = 0;
    if (!ParseHex2(text, value) || value == Attribute(selectedChip_)) {
        ShowAttribute();
        return;
    }
    Stage().SetChipProperty(selectedChip_, static_cast<Byte>(value));
    SetRadioGroups();
    RedrawChip(selectedChip_);
    ShowAttribute();
    SetModified();
}

void Chip16x16EditClass::LoadPointChanged(int index) {
    if (updating_ || index < 0 || index > 2 || index == loadPoint_) return;
    loadPoint_ = index;
    Reset();
}

void Chip16x16EditClass::ScrollChanged(int value) {
    if (updating_ || value < 0 || value > 15 || value == scroll_) return;
    scroll_ = value;
    Reset();
}

void Chip16x16EditClass::ReloadClicked() {
    if (!ctx_.shell.Prompts().AskYesNo(Tr("Chip16Page", kReloadQuestion))) return;
    // The undo history and the modified flags stay as they are.
    Stage().ReadChip16x16Tiles();
    Stage().ReadChipProperties();
    Reset();
}

QString Chip16x16EditClass::UnusedChip16x16List() const {
    return UnusedNumberList(ctx_.rom.Current().Chip32x32(), kChip32x32Size);
}

QString Chip16x16EditClass::UnusedTileList() const {
    return UnusedNumberList(ctx_.rom.Current().Chip16x16Tiles(), kChip16x16TilesSize);
}

void Chip16x16EditClass::Unused16x16ChipCheckClicked() {
    ctx_.shell.ShowUsageList({Tr("Chip16Page", "未使用16x16チップ番号"),
                              Tr("Chip16Page", "32x32チップに使用されてない16x16チップ番号は"), UnusedChip16x16List(),
                              nullptr});
}

void Chip16x16EditClass::UnusedTileCheckClicked() {
    ctx_.shell.ShowUsageList({Tr("Chip16Page", "未使用タイル番号"),
                              Tr("Chip16Page", "16x16チップに使用されてないタイル番号は"), UnusedTileList(), nullptr});
}

// ---------------------------------------------------------------------------------------------------------
// The page

std::unique_ptr<PageController> Create16x16ChipPage(QWidget* tab, PageContext& ctx) {
    Chip16x16PageControls c;

    // Tile table and chip sheet side by side.
    c.bgBankTable = MakeView(tab, "ImgBGBankTable", 256, 256, 4, 4);
    c.scrBarBGBank0 = MakeScrollBar(tab, "ScrBarBGBank0", Qt::Vertical, 261, 4, 17, 256, 0, 99);
    c.scrBarBGBank0->setPageStep(10);
    c.scrBarBGBank0->setVisible(false);
    c.scrBarBGBank1 = MakeScrollBar(tab, "ScrBarBGBank1", Qt::Vertical, 261, 4, 17, 256, 0, 99);
    c.scrBarBGBank1->setPageStep(10);
    c.scrBarBGBank1->setVisible(false);
    c.lblBGBank0 = MakeLabel(tab, QString(), 4, 262, 40, "LblBGBank0");
    c.lblBGBank0->setVisible(false);
    c.lblBGBank1 = MakeLabel(tab, QString(), 4, 262, 40, "LblBGBank1");
    c.lblBGBank1->setVisible(false);

    c.chipView = MakeView(tab, "ImgEdit16x16ChipView", 256, 256, 268, 4);

    // The chip being edited, to the right of the sheet.
    const int rx = 532;
    c.chip = MakeView(tab, "ImgEdit16x16Chip", 64, 64, rx + 4, 4);
    MakeLabel(tab, Tr("Chip16Page", "  No:"), rx, 74);
    c.lblSelectChipIndex = MakeLabel(tab, "00", rx + 40, 74, 30, "LblSelectChipIndex");
    MakeLabel(tab, Tr("Chip16Page", "Tile:"), rx, 94);
    for (int q = 0; q < 4; ++q) {
        const QByteArray name = QStringLiteral("LblSelectChipTile%1").arg(q).toLatin1();
        c.lblSelectChipTile[q] = MakeLabel(tab, "00", rx + 20 + 26 * (q % 2), 112 + 18 * (q / 2), 22, name.constData());
    }
    MakeLabel(tab, Tr("Chip16Page", "属性:"), rx, 154);
    c.editSelectChipProperty = HexByteField::Make(tab, "EditSelectChipProperty", rx + 34, 151, 32, 22).Edit();
    c.lblSelectChipProperty = MakeLabel(tab, "(00 + 0)", rx, 178, 76, "LblSelectChipProperty");

    auto* tileGroup = MakeGroup(tab, Tr("Chip16Page", "選択タイル"), rx, 200, 76, 80);
    c.selectTile = MakeView(tileGroup, "ImgSelectTile", 32, 32, 6, 20);
    MakeLabel(tileGroup, Tr("Chip16Page", "No:"), 6, 56);
    c.lblSelectBGBankTileIndex = MakeLabel(tileGroup, "00", 30, 56, 30, "LblSelectBGBankTileIndex");

    // Which loads the BG bank shows.
    MakeLabel(tab, Tr("Chip16Page", "開始位置:"), 4, 272);
    c.cbSelectBGloadPoint = new QComboBox(tab);
    c.cbSelectBGloadPoint->setObjectName("CBSelectBGloadPoint");
    c.cbSelectBGloadPoint->addItems(
        {Tr("Chip16Page", "スタート地点～"), Tr("Chip16Page", "中間1～"), Tr("Chip16Page", "中間2～")});
    c.cbSelectBGloadPoint->setGeometry(84, 268, 150, 24);
    MakeLabel(tab, Tr("Chip16Page", "データ番号:"), 4, 300);
    c.lblSelectBGLoadDataIndex = MakeLabel(tab, "00", 84, 300, 30, "LblSelectBGLoadDataIndex");
    MakeLabel(tab, Tr("Chip16Page", "Address:"), 120, 300);
    c.lblSelectBGLoadDataAddress = MakeLabel(tab, "-----", 184, 300, 60, "LblSelectBGLoadDataAddress");

    MakeLabel(tab, Tr("Chip16Page", "スクロール番号:"), 4, 330);
    c.lblSelectScrollIndex = MakeLabel(tab, "00", 110, 330, 30, "LblSelectScrollIndex");
    c.scrBarSelectScrollIndex = MakeScrollBar(tab, "ScrBarSelectScrollIndex", Qt::Horizontal, 4, 352, 250, 18, 0, 15);
    MakeLabel(tab, Tr("Chip16Page", "データ番号:"), 4, 378);
    c.lblSelectScrollBGLoadIndex = MakeLabel(tab, "00", 84, 378, 30, "LblSelectScrollBGLoadIndex");
    MakeLabel(tab, Tr("Chip16Page", "Address:"), 120, 378);
    c.lblSelectScrollBGLoadAddress = MakeLabel(tab, "-----", 184, 378, 60, "LblSelectScrollBGLoadAddress");

    c.button1 = MakeButton(tab, "Button1", Tr("Chip16Page", "再読み込み"), 4, 410, 110, 26);

    // Kind of the chip: 16 radio buttons in two columns.
    c.rgChipPropertySelect = MakeGroup(tab, Tr("Chip16Page", "チップ属性"), 268, 266, 336, 196, "RGChipPropertySelect");
    c.chipPropertyButtons = new QButtonGroup(c.rgChipPropertySelect);
    c.chipPropertyButtons->setExclusive(true);
    for (int k = 0; k < 16; ++k) {
        auto* b = new QRadioButton(BuiltinChipAttributeCaption(k), c.rgChipPropertySelect);
        b->setGeometry(8 + 164 * (k / 8), 20 + 21 * (k % 8), 160, 20);
        c.chipPropertyButtons->addButton(b, k);
    }
    ApplyChipAttributeCaptions(c.rgChipPropertySelect, ctx.graphics.ChipAttributeNames());

    // Palette of the chip: four buttons, each with the four colours of its BG palette beside it.
    c.rgPaletteSelect = MakeGroup(tab, Tr("Chip16Page", "使用パレット"), 4, 468, 600, 46, "RGPaletteSelect");
    c.paletteButtons = new QButtonGroup(c.rgPaletteSelect);
    c.paletteButtons->setExclusive(true);
    for (int p = 0; p < 4; ++p) {
        const int x = 8 + 148 * p;
        auto* b = new QRadioButton(Tr("Chip16Page", "x%1").arg(p), c.rgPaletteSelect);
        b->setGeometry(x, 20, 44, 20);
        c.paletteButtons->addButton(b, p);
        for (int k = 0; k < 4; ++k) {
            auto* panel = new QWidget(c.rgPaletteSelect);
            panel->setObjectName(QStringLiteral("PanelPaletteColor%1").arg(4 * p + k));
            panel->setGeometry(x + 48 + 18 * k, 22, 16, 16);
            panel->setAutoFillBackground(true);
            c.paletteColor[4 * p + k] = panel;
        }
    }

    // The two usage checks of this page.
    c.btnUnused16x16ChipChk =
        MakeButton(tab, "BtnUnused16x16ChipChk", Tr("Chip16Page", "未使用チップ番号表示"), 4, 522, 170, 26);
    c.btnUnusedTileChk =
        MakeButton(tab, "BtnUnusedTileChk", Tr("Chip16Page", "未使用タイル番号表示"), 180, 522, 170, 26);

    return std::make_unique<Chip16x16EditClass>(ctx, c);
}
