#include "editors/paletteedit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include "document/edit_flag.h"
#include "document/fileio.h"
#include "editors/ImageEx.h"
#include "editors/editorshell.h"
#include "editors/pagekit.h"
#include "editors/userprompts.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {

constexpr int kSetCount = kPaletteSetCount;  // "定義0" to "定義6"
constexpr int kStripWidth = 16 * PaletteEditClass::kCell;
constexpr int kRowWidth = 4 * PaletteEditClass::kCell;

const char* const kAskPaletteReload =
    QT_TRANSLATE_NOOP("PalettePage", "このステージのパレットを読み込み直します。よろしいですか？");
const char* const kAskAnimationReload =
    QT_TRANSLATE_NOOP("PalettePage", "このステージのアニメーションパレットを読み込み直します。よろしいですか？");

// Colour numbers 0x40 and above only occur in malformed data; they are shown with their low six
// bits, as the stage palette takes them.
int ShownColour(int number) {
    return number & 0x3F;
}

}  // namespace

PaletteEditClass::PaletteEditClass(PageContext& context, const PalettePageControls& controls)
    : ctx_(context),
      c_(controls),
      paletteHover_(context.graphics, kCell, 16, [this](int entry) { RepaintPaletteCell(entry); }),
      colourHover_(context.graphics, kCell, 16, [this](int cell) { RepaintColourCell(cell); }) {
    // The palette row of 16 squares is spread over four views of four squares each.
    paletteHover_.SetOutline([this](int entry) {
        TImageEx* view = c_.palView[entry / 4];
        if (!view) return;
        ctx_.graphics.DrawHoverOutline(view->Picture(), kCell * (entry % 4), 0, kCell);
        view->Changed();
    });
    colourHover_.SetView(c_.colorTable);
    paletteStrip_ = ctx_.graphics.CreateViewBitmap(kStripWidth, kCell);
    colourTable_ = ctx_.graphics.CreateViewBitmap(kStripWidth, 4 * kCell);
    animatedStrip_ = ctx_.graphics.CreateStageBitmap(kStripWidth, kCell);
    for (int i = 0; i < 16; ++i) ctx_.graphics.FillBlock(animatedStrip_, kCell * i, 0, kCell, kCell, i);
    DrawColourTable();
    ShowSelectedColour();

    if (c_.selectPaletteSet)
        connect(c_.selectPaletteSet, &QComboBox::currentIndexChanged, this, [this] { PaletteSetSelected(); });
    for (int i = 0; i < 16; ++i)
        if (c_.editPal[i]) connect(c_.editPal[i], &QLineEdit::textChanged, this, [this, i] { ColourFieldChanged(i); });
    for (int p = 0; p < 4; ++p) {
        if (c_.editAnimePal[p])
            connect(c_.editAnimePal[p], &QLineEdit::textChanged, this, [this, p] { AnimationFieldChanged(p); });
        if (c_.animeUp[p]) connect(c_.animeUp[p], &QToolButton::clicked, this, [this, p] { AnimationArrow(p, true); });
        if (c_.animeDown[p])
            connect(c_.animeDown[p], &QToolButton::clicked, this, [this, p] { AnimationArrow(p, false); });
    }
    if (c_.paletteReload) connect(c_.paletteReload, &QPushButton::clicked, this, [this] { PaletteReloadClicked(); });
    if (c_.animationPaletteReload)
        connect(c_.animationPaletteReload, &QPushButton::clicked, this, [this] { AnimationPaletteReloadClicked(); });
}

int PaletteEditClass::SelectedPaletteSet() const {
    const int set = c_.selectPaletteSet ? c_.selectPaletteSet->currentIndex() : 0;
    return (set < 0 || set >= kSetCount) ? 0 : set;
}

const Byte* PaletteEditClass::StoredColours() const {
    return ctx_.rom.Current().BGPalette(SelectedPaletteSet());
}

const Byte* PaletteEditClass::StoredAnimation() const {
    return ctx_.rom.Current().PaletteAnime(SelectedPaletteSet());
}

int PaletteEditClass::StepAnimationNumber(int value, bool up) {
    value &= 0xFF;
    if (up) {
        if (value == 0xFF) return 0x00;
        if (value < 0x80) return 0x80;
        return value + 1;
    }
    if (value == 0x00) return 0xFF;
    if (value <= 0x80) return 0x00;
    return value - 1;
}

// ---------------------------------------------------------------------------------------------------
// Page operations

void PaletteEditClass::Reset() {
    const int stage = ctx_.rom.CurrentStage();
    if (stage != shownStage_) {
        shownStage_ = stage;
        if (c_.selectPaletteSet && c_.selectPaletteSet->currentIndex() != 0) {
            const FillingGuard filling(resettingList_);
            c_.selectPaletteSet->setCurrentIndex(0);
        }
    }
    ctx_.links.paletteSet = SelectedPaletteSet();
    paletteHover_.Forget();
    colourHover_.Forget();

    DrawPaletteStrip();
    for (int p = 0; p < 4; ++p) {
        if (!c_.palView[p]) continue;
        EditorGraphics::CopyRect(c_.palView[p]->Picture(), 0, 0, paletteStrip_, kRowWidth * p, 0, kRowWidth, kCell);
        c_.palView[p]->Changed();
    }
    ShowColourFields();

    DrawColourTable();
    if (c_.colorTable) {
        EditorGraphics::CopyRect(c_.colorTable->Picture(), 0, 0, colourTable_, 0, 0, kStripWidth, 4 * kCell);
        c_.colorTable->Changed();
    }
    ShowSelectedColour();

    ctx_.graphics.LoadStagePalette(StoredColours());
    RefreshAnimationViews();
    ShowAnimationFields();
}

void PaletteEditClass::Activate() {
    ShowColourFields();
    ShowAnimationFields();
}

void PaletteEditClass::RefreshColours() {
    RefreshAnimationViews();
}

void PaletteEditClass::PaletteSetSelected() {
    ctx_.links.paletteSet = SelectedPaletteSet();
    if (resettingList_) return;
    // The main window stops the timer, runs Reset, restarts the animation and the timer.
    ctx_.shell.PaletteSetChanged();
}

// ---------------------------------------------------------------------------------------------------
// Drawing

void PaletteEditClass::DrawPaletteStrip() {
    const Byte* colours = StoredColours();
    for (int i = 0; i < 16; ++i)
        ctx_.graphics.FillBlock(paletteStrip_, kCell * i, 0, kCell, kCell, ShownColour(colours[i]));
}

void PaletteEditClass::DrawColourTable() {
    for (int n = 0; n < 64; ++n)
        ctx_.graphics.FillBlock(colourTable_, kCell * (n % 16), kCell * (n / 16), kCell, kCell, n);
}

void PaletteEditClass::ShowSelectedColour() {
    if (c_.selectColor) {
        QImage& pic = c_.selectColor->Picture();
        // The square of the colour table, scaled to the preview.
        EditorGraphics::CopyScaled(pic, 0, 0, pic.width(), pic.height(), colourTable_, kCell * (selectedColor_ % 16),
                                   kCell * (selectedColor_ / 16), kCell, kCell);
        c_.selectColor->Changed();
    }
    if (c_.lblSelectColor) c_.lblSelectColor->setText(Hex2(selectedColor_));
}

void PaletteEditClass::RefreshAnimationViews() {
    ctx_.graphics.ApplyStagePalette(animatedStrip_);
    for (int p = 0; p < 4; ++p) {
        if (!c_.animePal[p]) continue;
        ctx_.graphics.CopyToView(c_.animePal[p]->Picture(), 0, 0, kRowWidth, kCell, animatedStrip_, kRowWidth * p, 0,
                                 kRowWidth, kCell);
        c_.animePal[p]->Changed();
    }
}

void PaletteEditClass::RepaintPaletteCell(int entry) {
    if (entry < 0 || entry >= 16) return;
    TImageEx* view = c_.palView[entry / 4];
    if (!view) return;
    EditorGraphics::CopyRect(view->Picture(), kCell * (entry % 4), 0, paletteStrip_, kCell * entry, 0, kCell, kCell);
    view->Changed();
}

void PaletteEditClass::RepaintColourCell(int cell) {
    if (cell < 0 || cell >= 64 || !c_.colorTable) return;
    const int x = kCell * (cell % 16), y = kCell * (cell / 16);
    EditorGraphics::CopyRect(c_.colorTable->Picture(), x, y, colourTable_, x, y, kCell, kCell);
    c_.colorTable->Changed();
}

void PaletteEditClass::ShowColourFields() {
    const Byte* colours = StoredColours();
    for (int i = 0; i < 16; ++i) HexByteField(c_.editPal[i]).Show(colours[i]);
}

void PaletteEditClass::ShowAnimationFields() {
    const Byte* anime = StoredAnimation();
    for (int p = 0; p < 4; ++p) HexByteField(c_.editAnimePal[p]).Show(anime[p]);
}

// ---------------------------------------------------------------------------------------------------
// Views

PaletteEditClass::ViewKind PaletteEditClass::KindOf(const TImageEx* view) const {
    if (!view) return ViewKind::None;
    if (view == c_.colorTable) return ViewKind::ColourTable;
    for (TImageEx* v : c_.palView)
        if (v == view) return ViewKind::Palette;
    return ViewKind::None;
}

void PaletteEditClass::ViewMove(TImageEx* view, Qt::MouseButtons, bool, bool, int x, int y) {
    switch (KindOf(view)) {
    case ViewKind::Palette: {
        // A move reported while a button holds the pointer outside the view frames no cell.
        const bool inside = x >= 0 && x < kRowWidth && y >= 0 && y < kCell;
        const int p = view->Tag();
        paletteHover_.MoveTo(inside && p >= 0 && p < 4 ? 4 * p + x / kCell : -1);
        break;
    }
    case ViewKind::ColourTable: {
        const bool inside = x >= 0 && x < kStripWidth && y >= 0 && y < 4 * kCell;
        colourHover_.MoveTo(inside ? 16 * (y / kCell) + x / kCell : -1);
        break;
    }
    case ViewKind::None: break;
    }
}

void PaletteEditClass::ViewLeave(TImageEx* view) {
    switch (KindOf(view)) {
    case ViewKind::Palette: paletteHover_.Leave(); break;
    case ViewKind::ColourTable: colourHover_.Leave(); break;
    case ViewKind::None: break;
    }
}

void PaletteEditClass::ViewPress(TImageEx* view, PressKind kind, KeyMods, int x, int y) {
    const bool left = kind == PressKind::Left || kind == PressKind::LeftShift || kind == PressKind::LeftCtrl;
    switch (KindOf(view)) {
    case ViewKind::Palette: {
        const int p = view->Tag();
        if (x < 0 || x >= kRowWidth || y < 0 || y >= kCell || p < 0 || p >= 4) return;
        const int entry = 4 * p + x / kCell;
        if (left) {
            // Written into the field as two hex digits, then applied as if typed.
            HexByteField(c_.editPal[entry]).Show(selectedColor_);
            ColourFieldChanged(entry);
        } else {
            const int stored = StoredColours()[entry];
            selectedColor_ = stored >= 0x40 ? 0x0F : stored;
            ShowSelectedColour();
        }
        break;
    }
    case ViewKind::ColourTable: {
        if (!left || x < 0 || x >= kStripWidth || y < 0 || y >= 4 * kCell) return;
        selectedColor_ = 16 * (y / kCell) + x / kCell;
        ShowSelectedColour();
        break;
    }
    case ViewKind::None: break;
    }
}

// ---------------------------------------------------------------------------------------------------
// Fields, arrows and buttons

void PaletteEditClass::ColourFieldChanged(int entry) {
    if (settingFields_ || entry < 0 || entry >= 16) return;
    const HexByteField field(c_.editPal[entry]);
    if (!field || field.Edit()->text().size() != 2) return;
    const int stored = StoredColours()[entry];
    const std::optional<int> typed = field.Take(stored);
    if (!typed || *typed > 0x3F) {
        // Not a colour number: the stored one comes back.
        field.Show(stored);
        RepaintPaletteCell(entry);
        if (paletteHover_.Current() == entry) paletteHover_.Reoutline();
        return;
    }
    const int v = *typed;
    field.Show(v);
    if (v == stored) return;

    StageData& stage = ctx_.rom.Current();
    const int set = SelectedPaletteSet();
    if (!stage.SetPaletteByte(16 * set + entry, static_cast<Byte>(v))) return;
    ctx_.graphics.SetStagePaletteEntry(entry, v);

    // The animated strip's view of that square.
    ctx_.graphics.ApplyStagePalette(animatedStrip_);
    if (TImageEx* anim = c_.animePal[entry / 4]) {
        ctx_.graphics.CopyToView(anim->Picture(), kCell * (entry % 4), 0, kCell, kCell, animatedStrip_, kCell * entry,
                                 0, kCell, kCell);
        anim->Changed();
    }
    // The palette view's square (keeping the hover outline when the pointer is on it).
    ctx_.graphics.FillBlock(paletteStrip_, kCell * entry, 0, kCell, kCell, ShownColour(v));
    RepaintPaletteCell(entry);
    if (paletteHover_.Current() == entry) paletteHover_.Reoutline();
    ctx_.flags.SetModified(ModifiedCategory::Palette, ctx_.rom.CurrentStage(), true);
}

void PaletteEditClass::AnimationFieldChanged(int palette) {
    if (settingFields_ || palette < 0 || palette >= 4) return;
    const HexByteField field(c_.editAnimePal[palette]);
    if (!field || field.Edit()->text().size() != 2) return;
    const int stored = StoredAnimation()[palette];
    const std::optional<int> typed = field.Take(stored);
    if (!typed || (*typed >= 0x01 && *typed <= 0x7F)) {
        field.Show(stored);
        return;
    }
    const int v = *typed;
    field.Show(v);
    if (v == stored) return;

    const int set = SelectedPaletteSet();
    ctx_.shell.StopFrameTimer();
    const bool changed = ctx_.rom.Current().SetPaletteAnimeByte(4 * set + palette, static_cast<Byte>(v));
    ctx_.graphics.ResetPaletteAnimation();
    ctx_.graphics.LoadStagePalette(StoredColours());
    RefreshAnimationViews();
    ctx_.shell.StartFrameTimer();
    if (changed) ctx_.flags.SetModified(ModifiedCategory::Palette, ctx_.rom.CurrentStage(), true);
}

void PaletteEditClass::AnimationArrow(int palette, bool up) {
    if (palette < 0 || palette >= 4) return;
    const int next = StepAnimationNumber(StoredAnimation()[palette], up);
    HexByteField(c_.editAnimePal[palette]).Show(next);
    AnimationFieldChanged(palette);
}

void PaletteEditClass::PaletteReloadClicked() {
    if (!ctx_.shell.Prompts().AskYesNo(Tr("PalettePage", kAskPaletteReload))) return;
    StageData& stage = ctx_.rom.Current();
    stage.ReadBGPalettes();
    stage.ClearHistory();
    Reset();
}

void PaletteEditClass::AnimationPaletteReloadClicked() {
    if (!ctx_.shell.Prompts().AskYesNo(Tr("PalettePage", kAskAnimationReload))) return;
    StageData& stage = ctx_.rom.Current();
    stage.ReadPaletteAnime();
    stage.ClearHistory();
    Reset();
}

// ---------------------------------------------------------------------------------------------------
// The page

std::unique_ptr<PageController> CreatePalettePage(QWidget* tab, PageContext& ctx) {
    PalettePageControls c;
    const int cell = PaletteEditClass::kCell;

    c.selectPaletteSet = new QComboBox(tab);
    c.selectPaletteSet->setObjectName("CBSelectPaletteSet");
    for (int s = 0; s < kSetCount; ++s) c.selectPaletteSet->addItem(Tr("PalettePage", "定義%1").arg(s));
    c.selectPaletteSet->setGeometry(8, 8, 100, 22);

    auto* palGroup = MakeGroup(tab, Tr("PalettePage", "パレット編集"), 8, 38, 536, 82, "GroupPaletteEdit");
    for (int p = 0; p < 4; ++p) {
        const int x = 12 + 104 * p;
        c.palView[p] = MakeView(palGroup, QStringLiteral("ImgPalView%1").arg(p), kRowWidth, cell, x, 22, p);
        for (int k = 0; k < 4; ++k) {
            const int i = 4 * p + k;
            c.editPal[i] =
                HexByteField::Make(palGroup, QStringLiteral("EditPal%1").arg(i), x + cell * k, 50, cell, 20, i).Edit();
        }
    }
    c.paletteReload = MakeButton(palGroup, "BtnPaletteReload", Tr("PalettePage", "再読み込み"), 436, 22, 88, 26);

    auto* tableGroup = MakeGroup(tab, Tr("PalettePage", "カラーテーブル"), 8, 128, 400, 126, "GroupColorTable");
    c.colorTable = MakeView(tableGroup, "ImgColorTable", kStripWidth, 4 * cell, 8, 22);

    auto* selGroup = MakeGroup(tab, Tr("PalettePage", "選択カラー"), 416, 128, 128, 126, "GroupSelectColor");
    c.selectColor = MakeView(selGroup, "ImgSelectColor", 32, 32, 16, 26);
    MakeLabel(selGroup, Tr("PalettePage", "No:"), 16, 70, 28);
    c.lblSelectColor = MakeLabel(selGroup, QStringLiteral("00"), 46, 70, 40, "LblSelectColor");

    auto* animGroup =
        MakeGroup(tab, Tr("PalettePage", "パレットアニメーション選択"), 8, 262, 536, 84, "GroupPaletteAnimation");
    for (int p = 0; p < 4; ++p) {
        const int x = 12 + 104 * p;
        c.animePal[p] = MakeView(animGroup, QStringLiteral("ImgAnimePal%1").arg(p), kRowWidth, cell, x, 22, p);
        c.editAnimePal[p] =
            HexByteField::Make(animGroup, QStringLiteral("EditAnimePal%1").arg(p), x, 52, 32, 20, p).Edit();
        const UpDownButtons ud = MakeUpDown(animGroup, QStringLiteral("UDAnimePal%1").arg(p), x + 33, 51, 16, 22, p);
        c.animeUp[p] = ud.up;
        c.animeDown[p] = ud.down;
    }
    c.animationPaletteReload =
        MakeButton(animGroup, "BtnAnimationPaletteReload", Tr("PalettePage", "再読み込み"), 436, 22, 88, 26);

    return std::make_unique<PaletteEditClass>(ctx, c);
}
