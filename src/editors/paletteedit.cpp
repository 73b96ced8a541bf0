#include "paletteedit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>
#include <cstring>

#include "ImageEx.h"
#include "edit_flag.h"
#include "editorshell.h"
#include "fileio.h"
#include "hextext.h"
#include "userprompts.h"

namespace {

constexpr int kSetCount = kPaletteSetCount;  // "定義0" to "定義6"
constexpr int kStripWidth = 16 * PaletteEditClass::kCell;
constexpr int kRowWidth = 4 * PaletteEditClass::kCell;

const char* const kAskPaletteReload = "このステージのパレットを読み込み直します。よろしいですか？";
const char* const kAskAnimationReload =
    "このステージのアニメーションパレットを読み込み直します。よろしいですか？";



// Copies a rectangle between two RGB32 pictures of the same format, clipped to both.
void CopyRect(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h) {
    if (dst.isNull() || src.isNull() || dst.depth() != 32 || src.depth() != 32) return;
    for (int r = 0; r < h; ++r) {
        const int yd = dy + r, ys = sy + r;
        if (yd < 0 || yd >= dst.height() || ys < 0 || ys >= src.height()) continue;
        int x0 = 0, x1 = w;
        if (dx + x0 < 0) x0 = -dx;
        if (sx + x0 < 0) x0 = -sx;
        if (dx + x1 > dst.width()) x1 = dst.width() - dx;
        if (sx + x1 > src.width()) x1 = src.width() - sx;
        if (x1 <= x0) continue;
        std::memcpy(reinterpret_cast<QRgb*>(dst.scanLine(yd)) + dx + x0,
                    reinterpret_cast<const QRgb*>(src.constScanLine(ys)) + sx + x0,
                    static_cast<std::size_t>(x1 - x0) * sizeof(QRgb));
    }
}

// Colour numbers 0x40 and above only occur in malformed data; they are shown with their low six
// bits, as the stage palette takes them.
int ShownColour(int number) { return number & 0x3F; }

}  // namespace

PaletteEditClass::PaletteEditClass(PageContext& context, const PalettePageControls& controls)
    : ctx_(context), c_(controls) {
    paletteStrip_ = ctx_.graphics.CreateViewBitmap(kStripWidth, kCell);
    colourTable_ = ctx_.graphics.CreateViewBitmap(kStripWidth, 4 * kCell);
    animatedStrip_ = ctx_.graphics.CreateStageBitmap(kStripWidth, kCell);
    for (int i = 0; i < 16; ++i) ctx_.graphics.FillBlock(animatedStrip_, kCell * i, 0, kCell, kCell, i);
    DrawColourTable();
    ShowSelectedColour();

    if (c_.selectPaletteSet)
        connect(c_.selectPaletteSet, &QComboBox::currentIndexChanged, this, [this] { PaletteSetSelected(); });
    for (int i = 0; i < 16; ++i)
        if (c_.editPal[i])
            connect(c_.editPal[i], &QLineEdit::textChanged, this, [this, i] { ColourFieldChanged(i); });
    for (int p = 0; p < 4; ++p) {
        if (c_.editAnimePal[p])
            connect(c_.editAnimePal[p], &QLineEdit::textChanged, this, [this, p] { AnimationFieldChanged(p); });
        if (c_.animeUp[p])
            connect(c_.animeUp[p], &QToolButton::clicked, this, [this, p] { AnimationArrow(p, true); });
        if (c_.animeDown[p])
            connect(c_.animeDown[p], &QToolButton::clicked, this, [this, p] { AnimationArrow(p, false); });
    }
    if (c_.paletteReload)
        connect(c_.paletteReload, &QPushButton::clicked, this, [this] { PaletteReloadClicked(); });
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
            resettingList_ = true;
            c_.selectPaletteSet->setCurrentIndex(0);
            resettingList_ = false;
        }
    }
    hoverPalette_ = -1;
    hoverColour_ = -1;

    DrawPaletteStrip();
    for (int p = 0; p < 4; ++p) {
        if (!c_.palView[p]) continue;
        CopyRect(c_.palView[p]->Picture(), 0, 0, paletteStrip_, kRowWidth * p, 0, kRowWidth, kCell);
        c_.palView[p]->Changed();
    }
    ShowColourFields();

    DrawColourTable();
    if (c_.colorTable) {
        CopyRect(c_.colorTable->Picture(), 0, 0, colourTable_, 0, 0, kStripWidth, 4 * kCell);
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

void PaletteEditClass::RefreshColours() { RefreshAnimationViews(); }

void PaletteEditClass::PaletteSetSelected() {
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
        const int sx = kCell * (selectedColor_ % 16), sy = kCell * (selectedColor_ / 16);
        // The square of the colour table, scaled to the preview.
        for (int y = 0; y < pic.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(pic.scanLine(y));
            const QRgb* srow = reinterpret_cast<const QRgb*>(colourTable_.constScanLine(sy + y * kCell / pic.height()));
            for (int x = 0; x < pic.width(); ++x) row[x] = srow[sx + x * kCell / pic.width()];
        }
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
    CopyRect(view->Picture(), kCell * (entry % 4), 0, paletteStrip_, kCell * entry, 0, kCell, kCell);
    view->Changed();
}

void PaletteEditClass::RepaintColourCell(int cell) {
    if (cell < 0 || cell >= 64 || !c_.colorTable) return;
    const int x = kCell * (cell % 16), y = kCell * (cell / 16);
    CopyRect(c_.colorTable->Picture(), x, y, colourTable_, x, y, kCell, kCell);
    c_.colorTable->Changed();
}

void PaletteEditClass::SetFieldText(QLineEdit* field, const QString& text) {
    if (!field) return;
    const bool was = settingFields_;
    settingFields_ = true;
    if (field->text() != text) field->setText(text);
    settingFields_ = was;
}

void PaletteEditClass::ShowColourFields() {
    const Byte* colours = StoredColours();
    for (int i = 0; i < 16; ++i) SetFieldText(c_.editPal[i], Hex2(colours[i]));
}

void PaletteEditClass::ShowAnimationFields() {
    const Byte* anime = StoredAnimation();
    for (int p = 0; p < 4; ++p) SetFieldText(c_.editAnimePal[p], Hex2(anime[p]));
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

void PaletteEditClass::HoverPalette(int entry) {
    if (entry == hoverPalette_) return;
    RepaintPaletteCell(hoverPalette_);
    hoverPalette_ = entry;
    if (entry < 0) return;
    TImageEx* view = c_.palView[entry / 4];
    if (!view) return;
    ctx_.graphics.DrawHoverOutline(view->Picture(), kCell * (entry % 4), 0, kCell);
    view->Changed();
}

void PaletteEditClass::HoverColour(int cell) {
    if (cell == hoverColour_) return;
    RepaintColourCell(hoverColour_);
    hoverColour_ = cell;
    if (cell < 0 || !c_.colorTable) return;
    ctx_.graphics.DrawHoverOutline(c_.colorTable->Picture(), kCell * (cell % 16), kCell * (cell / 16), kCell);
    c_.colorTable->Changed();
}

void PaletteEditClass::ViewMove(TImageEx* view, Qt::MouseButtons, bool, bool, int x, int y) {
    switch (KindOf(view)) {
    case ViewKind::Palette: {
        // A move reported while a button holds the pointer outside the view frames no cell.
        const bool inside = x >= 0 && x < kRowWidth && y >= 0 && y < kCell;
        const int p = view->Tag();
        HoverPalette(inside && p >= 0 && p < 4 ? 4 * p + x / kCell : -1);
        break;
    }
    case ViewKind::ColourTable: {
        const bool inside = x >= 0 && x < kStripWidth && y >= 0 && y < 4 * kCell;
        HoverColour(inside ? 16 * (y / kCell) + x / kCell : -1);
        break;
    }
    case ViewKind::None:
        break;
    }
}

void PaletteEditClass::ViewLeave(TImageEx* view) {
    switch (KindOf(view)) {
    case ViewKind::Palette: HoverPalette(-1); break;
    case ViewKind::ColourTable: HoverColour(-1); break;
    case ViewKind::None: break;
    }
}

void PaletteEditClass::ViewPress(TImageEx* view, PressKind kind, int x, int y) {
    const bool left = kind == PressKind::Left || kind == PressKind::LeftShift || kind == PressKind::LeftCtrl;
    switch (KindOf(view)) {
    case ViewKind::Palette: {
        const int p = view->Tag();
        if (x < 0 || x >= kRowWidth || y < 0 || y >= kCell || p < 0 || p >= 4) return;
        const int entry = 4 * p + x / kCell;
        if (left) {
            // Written into the field as two hex digits, then applied as if typed.
            SetFieldText(c_.editPal[entry], Hex2(selectedColor_));
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
    case ViewKind::None:
        break;
    }
}

// ---------------------------------------------------------------------------------------------------
// Fields, arrows and buttons

void PaletteEditClass::ColourFieldChanged(int entry) {
    if (settingFields_ || entry < 0 || entry >= 16) return;
    QLineEdit* field = c_.editPal[entry];
    if (!field || field->text().size() != 2) return;
    const int stored = StoredColours()[entry];
    int v = 0;
    if (!ParseHex2(field->text(), v) || v > 0x3F) {
        SetFieldText(field, Hex2(stored));
        RepaintPaletteCell(entry);
        if (hoverPalette_ == entry) {
            hoverPalette_ = -1;
            HoverPalette(entry);
        }
        return;
    }
    SetFieldText(field, Hex2(v));
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
    if (hoverPalette_ == entry) {
        hoverPalette_ = -1;
        HoverPalette(entry);
    }
    ctx_.flags.SetModified(ModifiedCategory::Palette, ctx_.rom.CurrentStage(), true);
}

void PaletteEditClass::AnimationFieldChanged(int palette) {
    if (settingFields_ || palette < 0 || palette >= 4) return;
    QLineEdit* field = c_.editAnimePal[palette];
    if (!field || field->text().size() != 2) return;
    const int stored = StoredAnimation()[palette];
    int v = 0;
    if (!ParseHex2(field->text(), v) || (v >= 0x01 && v <= 0x7F)) {
        SetFieldText(field, Hex2(stored));
        return;
    }
    SetFieldText(field, Hex2(v));
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
    SetFieldText(c_.editAnimePal[palette], Hex2(next));
    AnimationFieldChanged(palette);
}

void PaletteEditClass::PaletteReloadClicked() {
    if (!ctx_.shell.Prompts().AskYesNo(QString::fromUtf8(kAskPaletteReload))) return;
    StageData& stage = ctx_.rom.Current();
    stage.ReadBGPalettes();
    stage.ClearHistory();
    Reset();
}

void PaletteEditClass::AnimationPaletteReloadClicked() {
    if (!ctx_.shell.Prompts().AskYesNo(QString::fromUtf8(kAskAnimationReload))) return;
    StageData& stage = ctx_.rom.Current();
    stage.ReadPaletteAnime();
    stage.ClearHistory();
    Reset();
}

// ---------------------------------------------------------------------------------------------------
// The page

namespace {

QLineEdit* MakeField(const QString& name, QWidget* parent, int x, int y, int w, int tag) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(2);
    e->setGeometry(x, y, w, 20);
    e->setProperty("Tag", tag);
    return e;
}

QToolButton* MakeArrow(const QString& name, QWidget* parent, Qt::ArrowType arrow) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFixedSize(16, 11);
    return b;
}

}  // namespace

std::unique_ptr<PageController> CreatePalettePage(QWidget* tab, PageContext& ctx) {
    PalettePageControls c;
    const int cell = PaletteEditClass::kCell;

    c.selectPaletteSet = new QComboBox(tab);
    c.selectPaletteSet->setObjectName("CBSelectPaletteSet");
    for (int s = 0; s < kSetCount; ++s) c.selectPaletteSet->addItem(QString::fromUtf8("定義") + QString::number(s));
    c.selectPaletteSet->setGeometry(8, 8, 100, 22);

    auto* palGroup = new QGroupBox(QString::fromUtf8("パレット編集"), tab);
    palGroup->setObjectName("GroupPaletteEdit");
    palGroup->setGeometry(8, 38, 536, 82);
    for (int p = 0; p < 4; ++p) {
        const int x = 12 + 104 * p;
        c.palView[p] = new TImageEx(QStringLiteral("ImgPalView%1").arg(p), kRowWidth, cell, palGroup, p);
        c.palView[p]->move(x, 22);
        for (int k = 0; k < 4; ++k) {
            const int i = 4 * p + k;
            c.editPal[i] = MakeField(QStringLiteral("EditPal%1").arg(i), palGroup, x + cell * k, 50, cell, i);
        }
    }
    c.paletteReload = new QPushButton(QString::fromUtf8("再読み込み"), palGroup);
    c.paletteReload->setObjectName("BtnPaletteReload");
    c.paletteReload->setGeometry(436, 22, 88, 26);

    auto* tableGroup = new QGroupBox(QString::fromUtf8("カラーテーブル"), tab);
    tableGroup->setObjectName("GroupColorTable");
    tableGroup->setGeometry(8, 128, 400, 126);
    c.colorTable = new TImageEx("ImgColorTable", kStripWidth, 4 * cell, tableGroup);
    c.colorTable->move(8, 22);

    auto* selGroup = new QGroupBox(QString::fromUtf8("選択カラー"), tab);
    selGroup->setObjectName("GroupSelectColor");
    selGroup->setGeometry(416, 128, 128, 126);
    c.selectColor = new TImageEx("ImgSelectColor", 32, 32, selGroup);
    c.selectColor->move(16, 26);
    auto* no = new QLabel(QStringLiteral("No:"), selGroup);
    no->setGeometry(16, 70, 28, 18);
    c.lblSelectColor = new QLabel(QStringLiteral("00"), selGroup);
    c.lblSelectColor->setObjectName("LblSelectColor");
    c.lblSelectColor->setGeometry(46, 70, 40, 18);

    auto* animGroup = new QGroupBox(QString::fromUtf8("パレットアニメーション選択"), tab);
    animGroup->setObjectName("GroupPaletteAnimation");
    animGroup->setGeometry(8, 262, 536, 84);
    for (int p = 0; p < 4; ++p) {
        const int x = 12 + 104 * p;
        c.animePal[p] = new TImageEx(QStringLiteral("ImgAnimePal%1").arg(p), kRowWidth, cell, animGroup, p);
        c.animePal[p]->move(x, 22);
        c.editAnimePal[p] = MakeField(QStringLiteral("EditAnimePal%1").arg(p), animGroup, x, 52, 32, p);
        auto* ud = new QWidget(animGroup);
        ud->setObjectName(QStringLiteral("UDAnimePal%1").arg(p));
        ud->setProperty("Tag", p);
        ud->setGeometry(x + 33, 51, 16, 22);
        auto* lay = new QVBoxLayout(ud);
        lay->setContentsMargins(0, 0, 0, 0);
        lay->setSpacing(0);
        c.animeUp[p] = MakeArrow(QStringLiteral("UDAnimePal%1Up").arg(p), ud, Qt::UpArrow);
        c.animeDown[p] = MakeArrow(QStringLiteral("UDAnimePal%1Down").arg(p), ud, Qt::DownArrow);
        lay->addWidget(c.animeUp[p]);
        lay->addWidget(c.animeDown[p]);
    }
    c.animationPaletteReload = new QPushButton(QString::fromUtf8("再読み込み"), animGroup);
    c.animationPaletteReload->setObjectName("BtnAnimationPaletteReload");
    c.animationPaletteReload->setGeometry(436, 22, 88, 26);

    return std::make_unique<PaletteEditClass>(ctx, c);
}
