#include "app/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolTip>
#include <algorithm>
#include <exception>
#include <filesystem>

#include "app/exportcommands.h"
#include "app/findhistoryhost.h"
#include "app/imagedrop.h"
#include "app/installpaths.h"
#include "app/language.h"
#include "app/overviewhost.h"
#include "app/routingtable.h"
#include "app/stagefilecommands.h"
#include "app/savereport.h"
#include "app/testplay.h"
#include "app/windowposition.h"
#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/editdata.h"
#include "document/fileerror.h"
#include "document/fileio.h"
#include "document/filepathtext.h"
#include "document/stagetitles.h"
#include "editors/ImageEx.h"
#include "editors/chipattributecaptions.h"
#include "editors/documentwatcher.h"
#include "editors/showUnusedChipNumForm.h"
#include "editors/userprompts.h"
#include "graphics/graphics.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {

const QString kTitleText = QString::fromUtf8(TMainForm::kTitle);

// Controllers are built, and reset, in this order: each draws from what the ones before it prepared.
constexpr std::array<int, kPageCount> kControllerOrder = {kPagePalette, kPage16x16Chip, kPage32x32Chip,
                                                          kPageMapSet,  kPageMap,       kPageObject};

struct PageInfo {
    const char* caption;
    const char* sheet;
};
// Tab order.
const std::array<PageInfo, kPageCount> kPages = {{
    {QT_TRANSLATE_NOOP("MainWindow", "マップ"), "TabMapEdit"},
    {QT_TRANSLATE_NOOP("MainWindow", "マップセット"), "TabMapSetEdit"},
    {QT_TRANSLATE_NOOP("MainWindow", "32x32チップ"), "Tab32x32ChipEdit"},
    {QT_TRANSLATE_NOOP("MainWindow", "16x16チップ"), "Tab16x16ChipEdit"},
    {QT_TRANSLATE_NOOP("MainWindow", "パレット"), "TabPaletteEdit"},
    {QT_TRANSLATE_NOOP("MainWindow", "オブジェクト"), "TabObjectEdit"},
}};

// Paths go between text and the file system without losing a byte (names need not be UTF-8).
std::filesystem::path ToPath(const QString& s) {
    return FilePathFromText(s.toStdU16String());
}

// How long a status notice stays up.
constexpr int kNoticeMilliseconds = 15000;
// The tool-tips of the views stay up as long as every other hint.
constexpr int kViewToolTipMilliseconds = 10000;

QString ExceptionText(const std::exception& e) {
    return QString::fromUtf8(e.what());
}

}  // namespace

// Status panel 0 shows the modified marker of the flag manager.
class TMainForm::StatusMarker : public ModifiedMarkerSink {
public:
    explicit StatusMarker(QLabel* label) : label_(label) {}
    void ShowModifiedMarker(const std::string& text) override { label_->setText(Tr("Document", text.c_str())); }

private:
    QLabel* label_;
};

// ---------------------------------------------------------------------------------------------------------
// Start-up

TMainForm::TMainForm(UserPrompts& prompts, std::unique_ptr<PageFactory> factory, StartupPaths paths, QWidget* parent)
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
    const QString settingsFolder = paths_.settingsFolder.isEmpty() ? paths_.programFolder : paths_.settingsFolder;
    ini_ = std::make_unique<TMyMemIniFile>(ToPath(settingsFolder + "/quorveneditor.ini"));
    // The language the program started in (main.cpp installed its translation); it picks the name lists.
    languageAtStart_ = language::Read(*ini_);
    language_ = languageAtStart_;

    // The document, then the renderer with the chip attribute names (a missing file is passed over).
    rom_ = std::make_unique<RomImageData>(*flags_, *ini_);
    graphics_ = std::make_unique<EditorGraphics>(*palette_, *rom_);
    watcher_ = new DocumentWatcher(*rom_, this);  // tells the panels beside the pages what changed
    const QString attributeList = NameListFile("ChipAttributes.txt");
    graphics_->LoadChipAttributeNames(NameListFolder(attributeList), attributeList);

    // The settings that have no control of their own take effect now; the check boxes follow once their
    // pages exist.
    settings_ = EditorSettings::Read(*ini_);
    frameTimer_.setInterval(settings_.TimerInterval());
    rom_->SetHistoryEnabled(settings_.undoEnabled);

    LoadObjectKindNames();

    // The pages with their controllers; each puts its own options into its controls, and the list dialog
    // of the chip checks is created once for all pages.
    context_ = std::make_unique<PageContext>(
        PageContext{*rom_, *flags_, *graphics_, *this, frameTimer_, settings_, objectKindNames_, links_});
    BuildPages();
    ApplySettingsToControls();
    ApplyChipAttributeCaptions(pageControl_, graphics_->ChipAttributeNames());
    usageList_ = new TShowUnusedChipNumForm(this);

    connect(pageControl_, &QTabWidget::currentChanged, this, [this](int) { RefreshActivePage(); });
    connect(&frameTimer_, &QTimer::timeout, this, &TMainForm::FrameTimerTimer);
    qApp->installEventFilter(this);
    findHistory_ = std::make_unique<FindHistoryHost>(*this);  // the usage finder and the history panel

    recent_.Read(*ini_);
    RebuildRecentMenu();
    zoomAtStart_ = ReadZoom(*ini_);
    SetZoom(zoomAtStart_);
    ShowLanguageChoice();
    overview_ = std::make_unique<OverviewHost>(*this, *context_, *ini_);
    RestoreWindowPosition(*this, *ini_);
}

namespace {
// 1 for Ctrl+Z, 2 for Ctrl+Y, 0 for any other key.
int UndoRedoKey(const QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::ControlModifier) return 0;
    if (key->key() == Qt::Key_Z) return 1;
    if (key->key() == Qt::Key_Y) return 2;
    return 0;
}
}  // namespace

bool TMainForm::OwnsKeyTarget(QObject* watched) const {
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() == this) return true;
    // The menus of the menu bar are windows of their own while they are open.
    return widget == file1_ || widget == edit1_ || widget == recentMenu_ || widget == export1_;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) && imageOpen_ && OwnsKeyTarget(watched)) {
        // Ctrl+Z and Ctrl+Y belong to the Edit menu in every focus state: in a text field (whose own undo
        // is refused), in the menu bar after a menu was closed with Escape, in an open menu. The window
        // claims the key before any shortcut is looked up, so no other shortcut can compete for it, and
        // acts on the key press that follows.
        auto* key = static_cast<QKeyEvent*>(event);
        if (const int which = UndoRedoKey(key)) {
            if (type == QEvent::ShortcutOverride) {
                event->accept();
                return true;
            }
            if (watched == file1_ || watched == edit1_ || watched == recentMenu_ || watched == export1_) {
                for (QMenu* m : {export1_, recentMenu_, file1_, edit1_})
                    if (m) m->hide();
            }
            ShortcutUndoRedo(which == 1);
            return true;
        }
    }
    if (type == QEvent::ToolTip && watched->isWidgetType()) {
        if (auto* view = qobject_cast<TImageEx*>(watched); view && view->window() == this) {
            auto* help = static_cast<QHelpEvent*>(event);
            const QString text = ViewToolTip(view, help->pos().x(), help->pos().y());
            if (!text.isEmpty()) {
                QToolTip::showText(help->globalPos(), text, view, QRect(), kViewToolTipMilliseconds);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

TMainForm::~TMainForm() {
    destroying_ = true;
    // The images handed to the emulator are this session's own copies; an emulator still running keeps what
    // it has opened.
    for (const QString& file : testPlayFiles_) QFile::remove(file);
    if (qApp) qApp->removeEventFilter(this);
    findHistory_.reset();  // the panels beside the pages read the document: they go first,
    overview_.reset();     // before the watcher and the document
    delete watcher_;       // no look at the document once its owners start to go
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
    for (int s = 0; s < kStageCount; ++s) cbStage_->addItem(Hex2(s) + " " + Tr("StageTitles", StageTitle(s)));
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
        pageControl_->addTab(pages_[i], Tr("MainWindow", kPages[i].caption));
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
    // Right of the three panels, which keep their own texts: short notices that go away by themselves.
    statusNotice_ = new QLabel(bar);
    statusNotice_->setObjectName("StatusNotice");
    bar->addWidget(statusNotice_, 1);
    noticeTimer_.setSingleShot(true);
    noticeTimer_.setInterval(kNoticeMilliseconds);
    connect(&noticeTimer_, &QTimer::timeout, this, [this] { statusNotice_->clear(); });

    QMenuBar* menu = menuBar();
    menu->setObjectName("MainMenu1");
    file1_ = menu->addMenu(Tr("MainWindow", "ファイル(&F)"));
    file1_->setObjectName("File1");
    auto addItem = [this](QMenu* m, const char* name, const QString& caption, bool enabled) {
        QAction* a = m->addAction(caption);
        a->setObjectName(name);
        a->setEnabled(enabled);
        return a;
    };
    open1_ = addItem(file1_, "Open1", Tr("MainWindow", "開く(&O)"), true);
    file1_->addSeparator();
    save1_ = addItem(file1_, "Save1", Tr("MainWindow", "上書き保存(&S)"), false);
    saveAs1_ = addItem(file1_, "SaveAs1", Tr("MainWindow", "名前を付けて保存(&A)"), false);
    file1_->addSeparator();
    close1_ = addItem(file1_, "Close1", Tr("MainWindow", "閉じる(&C)"), false);
    file1_->addSeparator();
    recentMenu_ = file1_->addMenu(Tr("MainWindow", "最近使ったファイル"));
    recentMenu_->setObjectName("RecentFiles1");
    recentMenu_->menuAction()->setObjectName("RecentFiles1Menu");
    connect(recentMenu_, &QMenu::aboutToShow, this, &TMainForm::PruneRecent);
    // Patches (the image as opened -> as it is now) and a picture of the current stage.
    const ExportMenu exports = AddExportMenu(file1_);
    export1_ = exports.menu;
    connect(exports.ipsPatch, &QAction::triggered, this, [this] { ExportPatch(prompts_, *rom_, false); });
    connect(exports.bpsPatch, &QAction::triggered, this, [this] { ExportPatch(prompts_, *rom_, true); });
    connect(exports.picture, &QAction::triggered, this, [this] {
        StagePictureOptions options;
        options.paletteSet = links_.paletteSet;
        options.loadPoint = links_.bgLoadPoint;
        options.scroll = links_.bgScroll;
        ExportPicture(prompts_, *rom_, *palette_, rom_->CurrentStage(),
                      PictureKindForPage(pageControl_ ? pageControl_->currentIndex() : kPageMap), options);
    });
    connect(exports.testPlay, &QAction::triggered, this, [this] {
        const QString file = StartTestPlay(prompts_, *rom_, *ini_, EmulatorFinder(paths_.emulatorFolders));
        if (!file.isEmpty()) testPlayFiles_ << file;
    });
    ConnectStageFileCommands(*this, exports);
    file1_->addSeparator();
    exit1_ = addItem(file1_, "Exit1", Tr("MainWindow", "終了(&X)"), true);
    // The usual keys of a desktop editor; the captions stay as they are and the menu shows the keys.
    open1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    save1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAs1_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(open1_, &QAction::triggered, this, [this] { Open1Click(); });
    connect(save1_, &QAction::triggered, this, [this] { Save1Click(); });
    connect(saveAs1_, &QAction::triggered, this, [this] { SaveAs1Click(); });
    connect(close1_, &QAction::triggered, this, [this] { Close1Click(); });
    connect(exit1_, &QAction::triggered, this, [this] { Exit1Click(); });

    edit1_ = menu->addMenu(Tr("MainWindow", "編集(&E)"));
    edit1_->setObjectName("Edit1");
    edit1_->menuAction()->setObjectName("Edit1Menu");
    undo1_ = addItem(edit1_, "Undo1", Tr("MainWindow", "元に戻す(&U)"), false);
    redo1_ = addItem(edit1_, "Redo1", Tr("MainWindow", "やり直し(&R)"), false);
    // The menu shows the shortcuts; the keys themselves are taken by the window (eventFilter), which
    // refreshes the items first, so Ctrl+Z and Ctrl+Y work whenever the stage has a step even if the menu
    // was never opened.
    undo1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo1_->setShortcutContext(Qt::WidgetShortcut);
    redo1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redo1_->setShortcutContext(Qt::WidgetShortcut);
    connect(undo1_, &QAction::triggered, this, [this] { Undo1Click(); });
    connect(redo1_, &QAction::triggered, this, [this] { Redo1Click(); });
    connect(edit1_, &QMenu::aboutToShow, this, &TMainForm::RefreshEditMenu);
    edit1_->menuAction()->setVisible(false);

    // The display scale (applied at the next start).
    view1_ = menu->addMenu(Tr("MainWindow", "表示(&V)"));
    view1_->setObjectName("View1");
    QMenu* zoom = view1_->addMenu(Tr("MainWindow", "表示倍率"));
    zoom->setObjectName("Zoom1");
    for (std::size_t i = 0; i < zoomActions_.size(); ++i) {
        const int percent = kZoomSteps[i];
        QAction* a = zoom->addAction(QString("%1%").arg(percent));
        a->setObjectName(QString("Zoom%1").arg(percent));
        a->setCheckable(true);
        a->setChecked(percent == 100);
        connect(a, &QAction::triggered, this, [this, percent] { SetZoom(percent); });
        zoomActions_[i] = a;
    }

    // The interface language (taken at the next start).
    QMenu* languages = view1_->addMenu(Tr("MainWindow", "言語"));
    languages->setObjectName("Language1");
    languages->menuAction()->setObjectName("Language1Menu");
    const std::array<QString, 2> languageCaptions = {Tr("MainWindow", "日本語"), QStringLiteral("English")};
    for (std::size_t i = 0; i < languageActions_.size(); ++i) {
        const auto lang = i == 0 ? language::Language::Japanese : language::Language::English;
        QAction* a = languages->addAction(languageCaptions[i]);
        a->setObjectName(QString("Language_") + language::Code(lang));
        a->setCheckable(true);
        a->setChecked(i == 0);
        connect(a, &QAction::triggered, this, [this, lang] { SetLanguage(lang); });
        languageActions_[i] = a;
    }

    setAcceptDrops(true);

    frameTimer_.setObjectName("FrameTimer");
    frameTimer_.setInterval(EditorSettings::kDefaultInterval);
}

QString TMainForm::NameListFile(const QString& fileName) const {
    if (languageAtStart_ != language::Language::English) return fileName;
    const QString english = QFileInfo(fileName).completeBaseName() + "_en.txt";
    return QFileInfo::exists(QDir(NameListFolder(english)).filePath(english)) ? english : fileName;
}

QString TMainForm::NameListFolder(const QString& fileName) const {
    return installpaths::NameListFolder(paths_.programFolder, paths_.dataFolder, fileName);
}

void TMainForm::LoadObjectKindNames() {
    QStringList lines;
    const QString list = NameListFile("ObjectList.txt");
    if (ReadShiftJisLines(NameListFolder(list) + "/" + list, lines)) {
        // The file's lines replace the whole list, an empty file giving an empty list. A kind is one byte:
        // lines past the 256th name nothing.
        objectKindNames_ = lines.mid(0, 256);
        return;
    }
    prompts_.Message(Tr("MainWindow", "ObjectList.txtを読み込めませんでした。"));
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
        view->setAttribute(Qt::WA_AlwaysShowToolTips);
    }
}

void TMainForm::ApplySettingsToControls() {
    settingsLoading_ = true;
    for (int index : kControllerOrder)
        if (controllers_[index]) controllers_[index]->ApplySettings(settings_);
    settingsLoading_ = false;
}

void TMainForm::CollectSettingsFromControls() {
    // Interval and Enabled go back as they were read; the check boxes as they are now.
    for (int index : kControllerOrder)
        if (controllers_[index]) controllers_[index]->StoreSettings(settings_);
}

bool TMainForm::ShowUsageList(const UsageListRequest& request) {
    if (!usageList_) return false;
    usageList_->Fill(request.caption, request.message, request.text);
    usageList_->SetReplaceHandler(request.onReplace);
    usageList_->ReplaceButton()->setVisible(static_cast<bool>(request.onReplace));
    const int result = prompts_.RunDialog(*usageList_, usageList_->objectName());
    usageList_->ReplaceButton()->setVisible(false);
    usageList_->SetReplaceHandler(nullptr);
    return result == QDialog::Accepted;
}

// ---------------------------------------------------------------------------------------------------------
// Accessors

PageController* TMainForm::Controller(int pageIndex) const {
    if (pageIndex < 0 || pageIndex >= kPageCount) return nullptr;
    return controllers_[pageIndex].get();
}

RomImageData& TMainForm::Rom() {
    return *rom_;
}
EditFlagManagement& TMainForm::Flags() {
    return *flags_;
}
EditorGraphics& TMainForm::Graphics() {
    return *graphics_;
}

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

QString TMainForm::CurrentPath() const {
    return rom_ ? QString::fromStdU16String(FilePathToText(rom_->FileName())) : QString();
}

QString TMainForm::NoticeText() const {
    return statusNotice_ ? statusNotice_->text() : QString();
}

void TMainForm::ShowNotice(const QString& text) {
    statusNotice_->setText(text);
    statusNotice_->setToolTip(text);
    if (text.isEmpty())
        noticeTimer_.stop();
    else
        noticeTimer_.start();
}

void TMainForm::CheckTableExtents() {
    // An image whose tables (by the address configuration) lie past its end shows grey views: say why.
    const int stage = rom_->CurrentStage();
    const std::int64_t size = rom_->ImageSize();
    for (int t = 0; t < kStageTableCount; ++t) {
        const auto table = static_cast<StageTable>(t);
        const std::int64_t address = rom_->Addresses().TableAddress(table, stage);
        if (address < 0 || address + StageData::TableExtent(table) > size) {
            ShowNotice(Tr("MainWindow", "ステージ%1のデータがファイル外にあります").arg(Hex2(stage)));
            return;
        }
    }
}

QString TMainForm::ViewToolTip(const TImageEx* view, int x, int y) const {
    if (!imageOpen_ || !rom_ || x < 0 || y < 0 || x >= view->width() || y >= view->height()) return QString();
    int shown = -1;
    for (int page = 0; page < kPageCount; ++page) {
        if (!pages_[page] || !pages_[page]->isAncestorOf(view)) continue;
        if (const PageController* c = controllers_[page].get()) shown = c->ShownSet(view);
        break;
    }
    return ViewToolTipText(view->objectName(), view->Tag(), x, y, shown, rom_->Current(),
                           std::clamp(links_.paletteSet, 0, kPaletteSetCount - 1));
}

// ---------------------------------------------------------------------------------------------------------
// Recent files, dropped files, window position

void TMainForm::RememberRecent(const QString& path) {
    // Kept in memory; written with the settings when the window closes, after the sections of the six options.
    recent_.Add(QFileInfo(path).absoluteFilePath());
    RebuildRecentMenu();
}

void TMainForm::RebuildRecentMenu() {
    recentMenu_->clear();
    const QStringList& paths = recent_.Paths();
    for (int i = 0; i < paths.size(); ++i) {
        QAction* a = recentMenu_->addAction(QString("&%1 ").arg(i + 1) + QDir::toNativeSeparators(paths[i]));
        a->setObjectName(QString("RecentFile%1").arg(i + 1));
        a->setData(paths[i]);
        const QString path = paths[i];
        connect(a, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    recentMenu_->menuAction()->setEnabled(!paths.isEmpty() && !startupFailed_);
}

void TMainForm::PruneRecent() {
    const QStringList gone = recent_.RemoveMissing();
    if (gone.isEmpty()) return;
    RebuildRecentMenu();
    // Short enough for the room right of the three panels; the notice's tool-tip holds the whole text.
    ShowNotice(
        gone.size() == 1
            ? Tr("MainWindow", "見つからないため履歴から外しました: %1").arg(QFileInfo(gone.constFirst()).fileName())
            : Tr("MainWindow", "見つからないファイル%1個を履歴から外しました").arg(gone.size()));
}

void TMainForm::OpenRecent(const QString& path) {
    if (startupFailed_) return;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(ToPath(path), ec)) {
        PruneRecent();
        return;
    }
    OpenImage(path);
}

QString TMainForm::DialogStartPath() const {
    if (imageOpen_) return CurrentPath();
    return recent_.Paths().isEmpty() ? QString() : recent_.Paths().constFirst();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* e) {
    AcceptImageDrop(e, !startupFailed_);
}

void TMainForm::dragMoveEvent(QDragMoveEvent* e) {
    AcceptImageDrop(e, !startupFailed_);
}

void TMainForm::dropEvent(QDropEvent* e) {
    const QString path = AcceptImageDrop(e, !startupFailed_);
    if (!path.isEmpty()) OpenImage(path);
}

int TMainForm::ReadZoom(const TMyMemIniFile& ini) {
    const int percent = ini.ReadInteger("View", "Zoom", 100);
    for (int step : kZoomSteps)
        if (percent == step) return step;
    return 100;
}

void TMainForm::SetZoom(int percent) {
    if (std::find(std::begin(kZoomSteps), std::end(kZoomSteps), percent) == std::end(kZoomSteps)) return;
    const bool changed = percent != zoom_;
    zoom_ = percent;
    for (QAction* a : zoomActions_) a->setChecked(a->objectName() == QString("Zoom%1").arg(percent));
    if (!changed || !statusNotice_) return;
    ShowNotice(percent == zoomAtStart_ ? QString()
                                       : Tr("MainWindow", "表示倍率は次回の起動から%1%になります").arg(percent));
}

void TMainForm::SetLanguage(language::Language chosen) {
    languageChosen_ = true;
    const bool changed = chosen != language_;
    language_ = chosen;
    ShowLanguageChoice();
    if (!changed || !statusNotice_) return;
    ShowNotice(chosen == languageAtStart_ ? QString() : Tr("MainWindow", "言語は次回の起動から切り替わります"));
}

void TMainForm::ShowLanguageChoice() {
    for (QAction* a : languageActions_)
        if (a) a->setChecked(a->objectName() == QString("Language_") + language::Code(language_));
}

void TMainForm::UpdateCaption() {
    setWindowTitle(imageOpen_ ? CurrentPath() + " - " + kTitleText : kTitleText);
}

// ---------------------------------------------------------------------------------------------------------
// Document lifecycle

bool TMainForm::AskSaveChanges() {
    if (!flags_->AnyModified()) return true;
    switch (prompts_.AskYesNoCancel(Tr("MainWindow", "%1への変更を保存しますか？").arg(CurrentPath()))) {
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
        prompts_.Message(Tr("Document", LoadResultMessage(result)));
        RefreshEditMenu();
        return false;
    }

    flags_->ClearAllModified();
    imageOpen_ = true;
    UpdateCaption();
    ShowNotice(QString());
    RememberRecent(path);
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
    CheckTableExtents();
    watcher_->Check();
    return true;
}

bool TMainForm::Save1Click() {
    if (!imageOpen_ || !SaveImageReported(prompts_, *rom_, rom_->FileName())) return false;
    RefreshEditMenu();
    return true;
}

bool TMainForm::SaveAs1Click() {
    if (!imageOpen_) return false;
    const QString path = prompts_.SaveFileName();
    if (path.isEmpty() || !SaveImageReported(prompts_, *rom_, ToPath(path))) return false;
    UpdateCaption();
    RememberRecent(path);
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
    ShowNotice(QString());
    RefreshEditMenu();
    watcher_->Check();
}

void TMainForm::ShowImageState(bool open) {
    cbStage_->setVisible(open);
    pageControl_->setVisible(open);
    save1_->setEnabled(open);
    saveAs1_->setEnabled(open);
    close1_->setEnabled(open);
    SetExportMenuEnabled(file1_, open);
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
    recent_.Write(*ini_);
    StoreWindowPosition(*this, *ini_);
    overview_->StoreSettings(*ini_);
    ini_->WriteInteger("View", "Zoom", zoom_);
    // The language only once chosen in the menu: a settings file without the key stays without it.
    if (languageChosen_) ini_->WriteString(language::kSection, language::kKey, language::Code(language_));
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
    ShowNotice(QString());
    CheckTableExtents();
    watcher_->Check();
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

void TMainForm::StopFrameTimer() {
    frameTimer_.stop();
}

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
    const int set = std::clamp(links_.paletteSet, 0, kPaletteSetCount - 1);
    if (!graphics_->StepPaletteAnimation(rom_->Current().PaletteAnime(set))) return;
    if (auto* c = Controller(pageControl_->currentIndex())) c->RefreshColours();
}

void TMainForm::RefreshActivePage() {
    if (!imageOpen_ || destroying_) return;
    const int page = pageControl_->currentIndex();
    switch (page) {
    case kPagePalette:
    case kPage16x16Chip: break;
    case kPage32x32Chip:
    case kPageMapSet:
    case kPageMap:
    case kPageObject:
        if (auto* c = Controller(kPage16x16Chip)) c->RebuildSheet();
        if (auto* c = Controller(kPage32x32Chip)) c->RebuildSheet();
        break;
    default: return;
    }
    if (auto* c = Controller(page)) c->Activate();
}

void TMainForm::RefreshEditMenu() {
    const bool open = imageOpen_ && rom_;
    const bool canUndo = open && rom_->CanUndo();
    const bool canRedo = open && rom_->CanRedo();
    undo1_->setEnabled(canUndo);
    undo1_->setText(canUndo ? Tr("MainWindow", "元に戻す(&U) - %1").arg(Tr("Document", rom_->UndoDescription()))
                            : Tr("MainWindow", "元に戻す(&U)"));
    redo1_->setEnabled(canRedo);
    redo1_->setText(canRedo ? Tr("MainWindow", "やり直し(&R) - %1").arg(Tr("Document", rom_->RedoDescription()))
                            : Tr("MainWindow", "やり直し(&R)"));
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
    watcher_->Check();
}

void TMainForm::Undo1Click() {
    UndoRedo(true);
}
void TMainForm::Redo1Click() {
    UndoRedo(false);
}

void TMainForm::ShortcutUndoRedo(bool undo) {
    if (!imageOpen_) return;
    RefreshEditMenu();
    if ((undo ? undo1_ : redo1_)->isEnabled()) UndoRedo(undo);
}

// ---------------------------------------------------------------------------------------------------------
// View events

void TMainForm::RoutePress(int pageIndex, TImageEx* view, Qt::MouseButton button, bool shift, bool ctrl, int x, int y) {
    const ViewRoute* route = FindRoute(view->objectName());
    PageController* c = Controller(pageIndex);
    if (!route || !c) return;
    for (PressKind kind : route->presses) {
        if (PressMatches(kind, button, shift, ctrl)) {
            c->ViewPress(view, kind, KeyMods{shift, ctrl}, x, y);
            return;
        }
    }
}

void TMainForm::RouteMove(int pageIndex, TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) {
    const ViewRoute* route = FindRoute(view->objectName());
    if (!route || !route->move) return;
    const bool inside = x >= 0 && y >= 0 && x < view->width() && y < view->height();
    // While a button is held the view keeps getting moves from anywhere on the screen; only the object
    // views follow the pointer outside (drags clamp there), the others see their own pixels only.
    if (!inside && !route->dragsOutside) return;
    PageController* c = Controller(pageIndex);
    if (route->hover != HoverText::None) {
        const int shown = c ? c->ShownSet(view) : -1;
        SetStatusText(1, HoverStatusText(route->hover, x, y, shown, rom_ ? &rom_->Current() : nullptr));
    }
    if (c) c->ViewMove(view, held, shift, ctrl, x, y);
}

void TMainForm::RouteLeave(int pageIndex, TImageEx* view) {
    const ViewRoute* route = FindRoute(view->objectName());
    if (!route || !route->leave) return;
    if (route->hover != HoverText::None) SetStatusText(1, QString());
    if (PageController* c = Controller(pageIndex)) c->ViewLeave(view);
}
