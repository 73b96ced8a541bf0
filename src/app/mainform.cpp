#include "mainform.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <algorithm>
#include <exception>
#include <filesystem>

#include "ImageEx.h"
#include "MyIniFiles.h"
#include "chipattributecaptions.h"
#include "edit_flag.h"
#include "editdata.h"
#include "fileerror.h"
#include "fileio.h"
#include "hextext.h"
#include "graphics.h"
#include "userprompts.h"

namespace {

const QString kTitleText = QString::fromUtf8(TMainForm::kTitle);

// Controllers are built, and reset, in this order: each draws from what the ones before it prepared.
constexpr std::array<int, kPageCount> kControllerOrder = {kPagePalette, kPage16x16Chip, kPage32x32Chip,
                                                          kPageMapSet, kPageMap, kPageObject};

struct PageInfo {
    const char* caption;
    const char* sheet;
};
// Tab order.
const std::array<PageInfo, kPageCount> kPages = {{
    {"マップ", "TabMapEdit"},
    {"マップセット", "TabMapSetEdit"},
    {"32x32チップ", "Tab32x32ChipEdit"},
    {"16x16チップ", "Tab16x16ChipEdit"},
    {"パレット", "TabPaletteEdit"},
    {"オブジェクト", "TabObjectEdit"},
}};

// One title per stage for the stage selector.
const std::array<const char*, kStageCount> kStageTitles = {
    "はじまりの草原", "風の森", "石切り場", "地下水路", "砂の遺跡", "氷の山道", "溶岩洞",   "空中庭園",
    "古い時計塔",     "歯車工場", "海底神殿", "雲の回廊", "鏡の迷宮", "嵐の港", "黒い城壁", "最後の塔",
};


std::filesystem::path ToPath(const QString& s) { return std::filesystem::path(s.toStdString()); }

QString ExceptionText(const std::exception& e) { return QString::fromUtf8(e.what()); }

enum class Hover { None, Tile, Chip16View, Chip16Table, Chip32View, Chip32Table, MapSetPage };

}  // namespace

// Status panel 0 shows the modified marker of the flag manager.
class TMainForm::StatusMarker : public ModifiedMarkerSink {
public:
    explicit StatusMarker(QLabel* label) : label_(label) {}
    void ShowModifiedMarker(const std::string& text) override { label_->setText(QString::fromStdString(text)); }

private:
    QLabel* label_;
};

namespace {
// How the events of one view are routed: the press combinations told apart (first match wins), whether
// moves and leaves go to the controller, and which status text a move writes.
struct ViewRoute {
    std::vector<PressKind> presses;
    bool move = true;
    bool leave = true;
    Hover hover = Hover::None;
    bool dragsOutside = false;  // moves with the pointer outside the view (button held) are routed too
};

using Route = ViewRoute;
}  // namespace

static const Route* FindRoute(const QString& name) {
    using K = PressKind;
    static const Route palette{{K::Left, K::Other}, true, true, Hover::None, false};
    static const Route colorTable{{K::Left}, true, true, Hover::None, false};
    static const Route bgBank{{K::Left, K::Right}, true, true, Hover::Tile, false};
    static const Route chip16View{{K::LeftCtrl, K::Left, K::RightCtrl, K::Right}, true, true, Hover::Chip16View, false};
    static const Route leftRight{{K::Left, K::Right}, true, true, Hover::None, false};
    static const Route chip16Table{{K::Left}, true, true, Hover::Chip16Table, false};
    static const Route chip32View{{K::LeftCtrl, K::LeftShift, K::Left, K::RightCtrl, K::Right}, true, true,
                                  Hover::Chip32View, false};
    static const Route chip32Table{{K::Left}, true, true, Hover::Chip32Table, false};
    static const Route mapSetPage{{K::LeftShift, K::LeftCtrl, K::Left, K::RightCtrl, K::Right}, true, true,
                                  Hover::MapSetPage, false};
    static const Route objectPage{{K::Left, K::Right}, true, false, Hover::None, true};

    if (name == "ImgPalView0" || name == "ImgPalView1" || name == "ImgPalView2" || name == "ImgPalView3")
        return &palette;
    if (name == "ImgColorTable") return &colorTable;
    if (name == "ImgBGBankTable") return &bgBank;
    if (name == "ImgEdit16x16ChipView") return &chip16View;
    if (name == "ImgEdit16x16Chip" || name == "ImgEdit32x32Chip") return &leftRight;
    if (name == "Img16x16ChipTable") return &chip16Table;
    if (name == "ImgEdit32x32ChipView") return &chip32View;
    if (name == "Img32x32ChipTable") return &chip32Table;
    if (name == "ImgEditMapSetPage0" || name == "ImgEditMapSetPage1") return &mapSetPage;
    if (name == "ImgObjectMapPage0" || name == "ImgObjectMapPage1") return &objectPage;
    // Display-only views (ImgSelectColor, ImgAnimePal0-3, ImgSelectTile, ImgSelect16x16Chip,
    // ImgSelect32x32Chip, ImgEditMapPage0/1) and unknown ones route nothing.
    return nullptr;
}

static bool Matches(PressKind kind, Qt::MouseButton button, bool shift, bool ctrl) {
    switch (kind) {
        case PressKind::Left: return button == Qt::LeftButton;
        case PressKind::LeftShift: return button == Qt::LeftButton && shift;
        case PressKind::LeftCtrl: return button == Qt::LeftButton && ctrl;
        case PressKind::Right: return button == Qt::RightButton;
        case PressKind::RightCtrl: return button == Qt::RightButton && ctrl;
        case PressKind::Other: return button != Qt::LeftButton && button != Qt::NoButton;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Start-up

TMainForm::TMainForm(UserPrompts& prompts, std::unique_ptr<PageFactory> factory, StartupPaths paths,
                     QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), factory_(std::move(factory)), paths_(std::move(paths)) {
    setObjectName("MainForm");
    BuildWindow();

    // The colour table: without it nothing can be drawn, and the program ends.
    palette_ = std::make_unique<FcPaletteData>(ToPath(paths_.palettePath));
    if (!palette_->Ok()) {
        startupFailed_ = true;
        prompts_.Message(QString::fromStdString(palette_->FailureMessage()));
        return;
    }

    // Modified flags, shown in status panel 0.
    statusMarker_ = std::make_unique<StatusMarker>(statusPanels_[0]);
    flags_ = std::make_unique<EditFlagManagement>(statusMarker_.get());

    // The settings and address file beside the executable, held in memory until the window closes.
    ini_ = std::make_unique<TMyMemIniFile>(ToPath(paths_.programFolder + "/quorveneditor.ini"));

    // The document, then the renderer with the chip attribute names (a missing file is passed over).
    rom_ = std::make_unique<RomImageData>(*flags_, *ini_);
    graphics_ = std::make_unique<EditorGraphics>(*palette_, *rom_);
    graphics_->LoadChipAttributeNames(paths_.programFolder);

    // The settings that have no control of their own take effect now; the check boxes follow once their
    // pages exist.
    settings_ = EditorSettings::Read(*ini_);
    frameTimer_.setInterval(settings_.interval);
    rom_->SetHistoryEnabled(settings_.undoEnabled);

    LoadObjectKindNames();

    // The pages with their controllers, then what start-up puts into their controls.
    context_ = std::make_unique<PageContext>(PageContext{*rom_, *flags_, *graphics_, *this, frameTimer_});
    BuildPages();
    ApplySettingsToControls();
    SetScrollRanges();
    if (auto* cb = findChild<QComboBox*>("CBSelectObject")) {
        const QSignalBlocker block(cb);
        cb->clear();
        cb->addItems(objectKindNames_);
        cb->setCurrentIndex(0);
    }
    ApplyChipAttributeCaptions(pageControl_, graphics_->ChipAttributeNames());

    connect(pageControl_, &QTabWidget::currentChanged, this, [this](int) { RefreshActivePage(); });
    connect(&frameTimer_, &QTimer::timeout, this, &TMainForm::FrameTimerTimer);
    qApp->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && imageOpen_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeyCombination combo = key->keyCombination();
        if (combo == QKeyCombination(Qt::ControlModifier, Qt::Key_Z) ||
            combo == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
            // Refuse the text field's own undo so that the window's shortcut acts.
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

TMainForm::~TMainForm() {
    destroying_ = true;
    if (qApp) qApp->removeEventFilter(this);
    frameTimer_.stop();
    frameTimer_.disconnect();
    // The page controls go first, while the controllers they may signal are still alive; the controllers
    // then go before the document and renderer they refer to.
    if (pageControl_) {
        pageControl_->blockSignals(true);
        delete pageControl_;
        pageControl_ = nullptr;
        pages_.fill(nullptr);
    }
    for (auto& c : controllers_) c.reset();
}

void TMainForm::BuildWindow() {
    setWindowTitle(kTitleText);
    resize(627, 672);  // about 635 x 701 with the window frame

    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    central->setMinimumSize(617, 625);
    setCentralWidget(central);

    cbStage_ = new QComboBox(central);
    cbStage_->setObjectName("CBStage");
    cbStage_->setGeometry(0, 0, 177, 21);
    for (int s = 0; s < kStageCount; ++s) cbStage_->addItem(Hex2(s) + " " + QString::fromUtf8(kStageTitles[s]));
    cbStage_->setMaxVisibleItems(kStageCount);
    cbStage_->hide();
    connect(cbStage_, &QComboBox::currentIndexChanged, this, &TMainForm::CBStageChange);

    pageControl_ = new QTabWidget(central);
    pageControl_->setObjectName("EditPageControl");
    pageControl_->setGeometry(0, 24, 617, 601);
    pageControl_->setUsesScrollButtons(false);
    for (int i = 0; i < kPageCount; ++i) {
        pages_[i] = new QWidget;
        pages_[i]->setObjectName(kPages[i].sheet);
        pageControl_->addTab(pages_[i], QString::fromUtf8(kPages[i].caption));
    }
    pageControl_->setCurrentIndex(kPage16x16Chip);
    pageControl_->hide();

    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(22);
    const int widths[3] = {70, 200, 50};
    for (int i = 0; i < 3; ++i) {
        statusPanels_[i] = new QLabel(bar);
        statusPanels_[i]->setObjectName(QString("StatusPanel%1").arg(i));
        statusPanels_[i]->setFixedWidth(widths[i]);
        statusPanels_[i]->setFrameShape(QFrame::Panel);
        statusPanels_[i]->setFrameShadow(QFrame::Sunken);
        bar->addWidget(statusPanels_[i]);
    }

    QMenuBar* menu = menuBar();
    menu->setObjectName("MainMenu1");
    file1_ = menu->addMenu(QString::fromUtf8("ファイル(&F)"));
    file1_->setObjectName("File1");
    auto addItem = [this](QMenu* m, const char* name, const char* caption, bool enabled) {
        QAction* a = m->addAction(QString::fromUtf8(caption));
        a->setObjectName(name);
        a->setEnabled(enabled);
        return a;
    };
    open1_ = addItem(file1_, "Open1", "開く(&O)", true);
    file1_->addSeparator();
    save1_ = addItem(file1_, "Save1", "上書き保存(&S)", false);
    saveAs1_ = addItem(file1_, "SaveAs1", "名前を付けて保存(&A)", false);
    file1_->addSeparator();
    close1_ = addItem(file1_, "Close1", "閉じる(&C)", false);
    file1_->addSeparator();
    exit1_ = addItem(file1_, "Exit1", "終了(&X)", true);
    connect(open1_, &QAction::triggered, this, [this] { Open1Click(); });
    connect(save1_, &QAction::triggered, this, [this] { Save1Click(); });
    connect(saveAs1_, &QAction::triggered, this, [this] { SaveAs1Click(); });
    connect(close1_, &QAction::triggered, this, [this] { Close1Click(); });
    connect(exit1_, &QAction::triggered, this, [this] { Exit1Click(); });

    edit1_ = menu->addMenu(QString::fromUtf8("編集(&E)"));
    edit1_->setObjectName("Edit1");
    edit1_->menuAction()->setObjectName("Edit1Menu");
    undo1_ = addItem(edit1_, "Undo1", "元に戻す(&U)", false);
    redo1_ = addItem(edit1_, "Redo1", "やり直し(&R)", false);
    // The menu shows the shortcuts; they act through the window-wide shortcuts below, which refresh the
    // items first, so Ctrl+Z and Ctrl+Y work whenever the stage has a step even if the menu was never opened.
    undo1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo1_->setShortcutContext(Qt::WidgetShortcut);
    redo1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redo1_->setShortcutContext(Qt::WidgetShortcut);
    connect(undo1_, &QAction::triggered, this, [this] { Undo1Click(); });
    connect(redo1_, &QAction::triggered, this, [this] { Redo1Click(); });
    connect(edit1_, &QMenu::aboutToShow, this, &TMainForm::RefreshEditMenu);
    edit1_->menuAction()->setVisible(false);
    auto* undoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
    undoKey->setObjectName("Undo1Shortcut");
    connect(undoKey, &QShortcut::activated, this, [this] { ShortcutUndoRedo(true); });
    auto* redoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this);
    redoKey->setObjectName("Redo1Shortcut");
    connect(redoKey, &QShortcut::activated, this, [this] { ShortcutUndoRedo(false); });

    frameTimer_.setObjectName("FrameTimer");
    frameTimer_.setInterval(EditorSettings::kDefaultInterval);
}

void TMainForm::LoadObjectKindNames() {
    QStringList lines;
    if (ReadShiftJisLines(paths_.programFolder + "/ObjectList.txt", lines) && !lines.isEmpty()) {
        // A kind is one byte: lines past the 256th name nothing.
        objectKindNames_ = lines.mid(0, 256);
        return;
    }
    prompts_.Message(QString::fromUtf8("ObjectList.txtを読み込めませんでした。"));
    objectKindNames_.clear();
    for (int k = 0; k < 256; ++k) objectKindNames_ << Hex2(k);
}

void TMainForm::BuildPages() {
    for (int index : kControllerOrder) {
        controllers_[index] = factory_ ? factory_->Create(index, pages_[index], *context_) : nullptr;
    }
    for (int index = 0; index < kPageCount; ++index) ConnectViews(index);
}

void TMainForm::ConnectViews(int pageIndex) {
    for (TImageEx* view : pages_[pageIndex]->findChildren<TImageEx*>()) {
        if (!FindRoute(view->objectName())) continue;
        connect(view, &TImageEx::MousePressed, this,
                [this, pageIndex](TImageEx* v, Qt::MouseButton b, bool shift, bool ctrl, int x, int y) {
                    RoutePress(pageIndex, v, b, shift, ctrl, x, y);
                });
        connect(view, &TImageEx::MouseMoved, this,
                [this, pageIndex](TImageEx* v, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) {
                    RouteMove(pageIndex, v, held, shift, ctrl, x, y);
                });
        connect(view, &TImageEx::MouseLeft, this, [this, pageIndex](TImageEx* v) { RouteLeave(pageIndex, v); });
    }
}

void TMainForm::ApplySettingsToControls() {
    settingsLoading_ = true;
    auto put = [this](const char* name, bool value) {
        if (auto* box = findChild<QCheckBox*>(name)) {
            const QSignalBlocker block(box);
            box->setChecked(value);
        }
    };
    put("ChkSortObjectList", settings_.sortObjects);
    put("ChkPopupHint", settings_.popupHint);
    put("Chk32x32ChipEditDrawGrid", settings_.grid32x32);
    put("ChkMapSetEditDrawGrid", settings_.gridMapSet);
    settingsLoading_ = false;
}

void TMainForm::CollectSettingsFromControls() {
    auto get = [this](const char* name, bool& value) {
        if (auto* box = findChild<QCheckBox*>(name)) value = box->isChecked();
    };
    get("ChkSortObjectList", settings_.sortObjects);
    get("ChkPopupHint", settings_.popupHint);
    get("Chk32x32ChipEditDrawGrid", settings_.grid32x32);
    get("ChkMapSetEditDrawGrid", settings_.gridMapSet);
    settings_.interval = frameTimer_.interval();
}

void TMainForm::SetScrollRanges() {
    auto range = [this](const char* name, int max) {
        if (auto* bar = findChild<QScrollBar*>(name)) bar->setRange(0, max);
    };
    range("ScrBarMap", 46);
    range("ScrBarObjectMap", 46);
    range("ScrbarEditMapPage0", 31);
    range("ScrbarEditMapPage1", 31);
    range("ScrBarSelectPage0", 31);
    range("ScrBarSelectPage1", 31);
    range("ScrBarMapSet", 30);
}

// ---------------------------------------------------------------------------------------------------------
// Accessors

PageController* TMainForm::Controller(int pageIndex) const {
    if (pageIndex < 0 || pageIndex >= kPageCount) return nullptr;
    return controllers_[pageIndex].get();
}

RomImageData& TMainForm::Rom() { return *rom_; }
EditFlagManagement& TMainForm::Flags() { return *flags_; }
EditorGraphics& TMainForm::Graphics() { return *graphics_; }

QString TMainForm::StatusText(int panel) const {
    if (panel < 0 || panel >= 3) return QString();
    return statusPanels_[panel]->text();
}

QWidget* TMainForm::Page(int pageIndex) const {
    if (pageIndex < 0 || pageIndex >= kPageCount) return nullptr;
    return pages_[pageIndex];
}

void TMainForm::SetStatusText(int panel, const QString& text) {
    if (statusPanels_[panel]->text() != text) statusPanels_[panel]->setText(text);
}

QString TMainForm::CurrentPath() const { return rom_ ? QString::fromStdString(rom_->FileName().string()) : QString(); }

void TMainForm::UpdateCaption() {
    setWindowTitle(imageOpen_ ? CurrentPath() + " - " + kTitleText : kTitleText);
}

// ---------------------------------------------------------------------------------------------------------
// Document lifecycle

bool TMainForm::AskSaveChanges() {
    if (!flags_->AnyModified()) return true;
    switch (prompts_.AskYesNoCancel(CurrentPath() + QString::fromUtf8("への変更を保存しますか？"))) {
        case UserPrompts::Answer::Yes: return SaveAs1Click();
        case UserPrompts::Answer::No: return true;
        case UserPrompts::Answer::Cancel: break;
    }
    return false;
}

void TMainForm::Open1Click() {
    if (startupFailed_) return;
    const QString path = prompts_.OpenFileName();
    if (path.isEmpty()) return;
    OpenImage(path);
}

bool TMainForm::OpenImage(const QString& path) {
    if (startupFailed_ || path.isEmpty()) return false;
    if (!AskSaveChanges()) return false;

    LoadResult result;
    try {
        result = rom_->LoadFromFile(ToPath(path));
    } catch (const std::exception& e) {
        prompts_.ErrorReport(ExceptionText(e));
        RefreshEditMenu();
        return false;
    }
    if (result != LoadResult::Loaded) {
        prompts_.Message(QString::fromUtf8(LoadResultMessage(result)));
        RefreshEditMenu();
        return false;
    }

    flags_->ClearAllModified();
    imageOpen_ = true;
    UpdateCaption();
    {
        const QSignalBlocker block(cbStage_);
        cbStage_->setCurrentIndex(0);
    }
    rom_->SetCurrentStage(0);
    ShowImageState(true);
    frameTimer_.stop();
    ResetControllers();
    graphics_->ResetPaletteAnimation();
    frameTimer_.start();
    RefreshEditMenu();
    return true;
}

bool TMainForm::Save1Click() {
    if (!imageOpen_) return false;
    try {
        rom_->SaveToFile(rom_->FileName());
    } catch (const std::exception& e) {
        prompts_.ErrorReport(ExceptionText(e));
        return false;
    }
    RefreshEditMenu();
    return true;
}

bool TMainForm::SaveAs1Click() {
    if (!imageOpen_) return false;
    const QString path = prompts_.SaveFileName();
    if (path.isEmpty()) return false;
    try {
        rom_->SaveToFile(ToPath(path));
    } catch (const std::exception& e) {
        prompts_.ErrorReport(ExceptionText(e));
        return false;
    }
    UpdateCaption();
    RefreshEditMenu();
    return true;
}

void TMainForm::Close1Click() {
    if (!imageOpen_) return;
    if (!AskSaveChanges()) return;
    rom_->CloseImage();
    flags_->ClearAllModified();
    imageOpen_ = false;
    // Nothing is shown any more, so the animation rests until the next open.
    frameTimer_.stop();
    {
        const QSignalBlocker block(cbStage_);
        cbStage_->setCurrentIndex(0);
    }
    UpdateCaption();
    ShowImageState(false);
    SetStatusText(1, QString());
    RefreshEditMenu();
}

void TMainForm::ShowImageState(bool open) {
    cbStage_->setVisible(open);
    pageControl_->setVisible(open);
    save1_->setEnabled(open);
    saveAs1_->setEnabled(open);
    close1_->setEnabled(open);
    edit1_->menuAction()->setVisible(open);
}

void TMainForm::closeEvent(QCloseEvent* e) {
    if (startupFailed_ || settingsWritten_) {
        e->accept();
        return;
    }
    if (!AskSaveChanges()) {
        e->ignore();
        return;
    }
    frameTimer_.stop();
    CollectSettingsFromControls();
    settings_.Write(*ini_);
    settingsWritten_ = true;
    try {
        ini_->UpdateFile();
    } catch (const std::exception& e2) {
        // The settings of this run are lost, but the user can always quit.
        prompts_.ErrorReport(ExceptionText(e2));
    }
    e->accept();
}

void TMainForm::CBStageChange(int index) {
    if (!imageOpen_ || index < 0 || index >= kStageCount) return;
    frameTimer_.stop();
    rom_->SetCurrentStage(index);
    ResetControllers();
    graphics_->ResetPaletteAnimation();
    frameTimer_.start();
    RefreshEditMenu();
}

void TMainForm::ResetControllers() {
    resetting_ = true;
    for (int index : kControllerOrder) {
        if (controllers_[index]) controllers_[index]->Reset();
    }
    resetting_ = false;
}

// ---------------------------------------------------------------------------------------------------------
// Timer, palette set, page refresh, undo and redo

void TMainForm::StopFrameTimer() { frameTimer_.stop(); }

void TMainForm::StartFrameTimer() {
    if (imageOpen_ && !destroying_ && !settingsWritten_) frameTimer_.start();
}

void TMainForm::PaletteSetChanged() {
    if (!imageOpen_) return;
    frameTimer_.stop();
    resetting_ = true;
    if (auto* c = Controller(kPagePalette)) c->Reset();
    resetting_ = false;
    graphics_->ResetPaletteAnimation();
    StartFrameTimer();
}

void TMainForm::FrameTimerTimer() {
    if (!imageOpen_ || resetting_ || destroying_) return;
    int set = 0;
    if (auto* cb = findChild<QComboBox*>("CBSelectPaletteSet")) set = std::clamp(cb->currentIndex(), 0, kPaletteSetCount - 1);
    if (!graphics_->StepPaletteAnimation(rom_->Current().PaletteAnime(set))) return;
    if (auto* c = Controller(pageControl_->currentIndex())) c->RefreshColours();
}

void TMainForm::RefreshActivePage() {
    if (!imageOpen_ || destroying_) return;
    const int page = pageControl_->currentIndex();
    switch (page) {
        case kPagePalette:
        case kPage16x16Chip:
            break;
        case kPage32x32Chip:
        case kPageMapSet:
        case kPageMap:
        case kPageObject:
            if (auto* c = Controller(kPage16x16Chip)) c->RebuildSheet();
            if (auto* c = Controller(kPage32x32Chip)) c->RebuildSheet();
            break;
        default:
            return;
    }
    if (auto* c = Controller(page)) c->Activate();
}

void TMainForm::RefreshEditMenu() {
    const bool open = imageOpen_ && rom_;
    const bool canUndo = open && rom_->CanUndo();
    const bool canRedo = open && rom_->CanRedo();
    undo1_->setEnabled(canUndo);
    undo1_->setText(canUndo ? QString::fromUtf8("元に戻す(&U) - ") + QString::fromUtf8(rom_->UndoDescription())
                            : QString::fromUtf8("元に戻す(&U)"));
    redo1_->setEnabled(canRedo);
    redo1_->setText(canRedo ? QString::fromUtf8("やり直し(&R) - ") + QString::fromUtf8(rom_->RedoDescription())
                            : QString::fromUtf8("やり直し(&R)"));
}

void TMainForm::UndoRedo(bool undo) {
    if (!imageOpen_) return;
    if (undo ? !rom_->CanUndo() : !rom_->CanRedo()) {
        RefreshEditMenu();
        return;
    }
    const int kind = undo ? rom_->Undo() : rom_->Redo();
    if (kind == kUndoPaletteByte || kind == kUndoPaletteAnimeByte) PaletteSetChanged();
    RefreshActivePage();
    RefreshEditMenu();
}

void TMainForm::Undo1Click() { UndoRedo(true); }
void TMainForm::Redo1Click() { UndoRedo(false); }

void TMainForm::ShortcutUndoRedo(bool undo) {
    if (!imageOpen_) return;
    RefreshEditMenu();
    if ((undo ? undo1_ : redo1_)->isEnabled()) UndoRedo(undo);
}

// ---------------------------------------------------------------------------------------------------------
// View events

void TMainForm::RoutePress(int pageIndex, TImageEx* view, Qt::MouseButton button, bool shift, bool ctrl, int x,
                           int y) {
    const Route* route = FindRoute(view->objectName());
    PageController* c = Controller(pageIndex);
    if (!route || !c) return;
    for (PressKind kind : route->presses) {
        if (Matches(kind, button, shift, ctrl)) {
            c->ViewPress(view, kind, x, y);
            return;
        }
    }
}

void TMainForm::RouteMove(int pageIndex, TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x,
                          int y) {
    const Route* route = FindRoute(view->objectName());
    if (!route || !route->move) return;
    const bool inside = x >= 0 && y >= 0 && x < view->width() && y < view->height();
    // While a button is held the view keeps getting moves from anywhere on the screen; only the object
    // views follow the pointer outside (drags clamp there), the others see their own pixels only.
    if (!inside && !route->dragsOutside) return;
    if (route->hover != Hover::None) SetStatusText(1, HoverText(pageIndex, view, x, y));
    if (PageController* c = Controller(pageIndex)) c->ViewMove(view, held, shift, ctrl, x, y);
}

void TMainForm::RouteLeave(int pageIndex, TImageEx* view) {
    const Route* route = FindRoute(view->objectName());
    if (!route || !route->leave) return;
    if (route->hover != Hover::None) SetStatusText(1, QString());
    if (PageController* c = Controller(pageIndex)) c->ViewLeave(view);
}

QString TMainForm::HoverText(int pageIndex, const TImageEx* view, int x, int y) const {
    const Route* route = FindRoute(view->objectName());
    if (!route) return QString();
    const int cell16 = x / 16 + (y / 16) * 16;
    switch (route->hover) {
        case Hover::None: return QString();
        case Hover::Tile: return QString::fromUtf8("タイルNo:") + Hex2(cell16);
        case Hover::Chip16View:
        case Hover::Chip16Table: return QString::fromUtf8("16x16チップNo:") + Hex2(cell16);
        case Hover::Chip32Table: return QString::fromUtf8("32x32チップNo:") + Hex2(cell16);
        case Hover::Chip32View: {
            // The half shown is what LblEdit32x32ChipView says: "00-7F" or "80-FF".
            int half = 0;
            if (auto* lbl = pages_[pageIndex]->findChild<QLabel*>("LblEdit32x32ChipView"))
                half = lbl->text().trimmed().startsWith("80") ? 1 : 0;
            return QString::fromUtf8("32x32チップNo:") + Hex2((y / 32) * 16 + x / 32 + half * 128);
        }
        case Hover::MapSetPage: {
            // The map set a page shows is what its label LblMapSetPage0/1 says (two hex digits).
            const QChar which = view->objectName().back();
            int set = which == '1' ? 1 : 0;
            if (auto* lbl = pages_[pageIndex]->findChild<QLabel*>(QString("LblMapSetPage") + which)) {
                bool ok = false;
                const int v = lbl->text().trimmed().toInt(&ok, 16);
                if (ok && v >= 0 && v < kMapSetCount) set = v;
            }
            const int cx = x / 32, cy = y / 32;
            const int c = std::clamp(cx + cy * 8, 0, kMapSetSize - 1);
            const int chip = rom_ ? rom_->Current().MapSet(set)[c] : 0;
            return "Index:" + Hex2(c) + "(" + QString::number(cx) + "," + QString::number(cy) + ")" +
                   QString::fromUtf8(" 32x32チップNo:") + Hex2(chip);
        }
    }
    return QString();
}
