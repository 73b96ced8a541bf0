#pragma once
// TMainForm: the main window. It owns every long-lived object (colour table, modified flags, settings file,
// ROM image, renderer, page controllers), builds them in a fixed order at start, holds the six tab pages,
// routes the events of every view to its page's controller, runs the palette animation timer and carries
// out open, save, close, stage change and the settings.

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <memory>

#include "app/language.h"
#include "app/recentfiles.h"
#include "editors/editorsettings.h"
#include "editors/editorshell.h"
#include "editors/pagecontroller.h"
#include "editors/pagefactory.h"

class QAction;
class QCloseEvent;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QComboBox;
class QLabel;
class QMenu;
class QTabWidget;
class TImageEx;
class TShowUnusedChipNumForm;
class DocumentWatcher;
class OverviewHost;
class FindHistoryHost;
class UserPrompts;
class FcPaletteData;
class EditFlagManagement;
class TMyMemIniFile;
class RomImageData;
class EditorGraphics;

struct StartupPaths {
    QString programFolder;                  // "quorveneditor.ini", "ChipAttributes.txt", "ObjectList.txt"
    QString palettePath = "fcpalette.pal";  // relative names resolve against the current directory
    // Where an installed program keeps its colour table and name lists; the name lists are read from there
    // when the program folder lacks them. Empty: the program folder only.
    QString dataFolder{};
    // The folder of "quorveneditor.ini" when it is not the program folder (empty: the program folder).
    QString settingsFolder{};
    // Where test play looks for an emulator after the folders of the PATH (main gives the games folders).
    QStringList emulatorFolders{};
};

class TMainForm : public QMainWindow, public EditorShell {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "QUORVEN EDITOR";

    // Runs the whole start-up. When the colour table cannot be loaded its message is shown, StartupFailed()
    // is true and nothing else is built: the caller must not show the window, and no settings are written.
    TMainForm(UserPrompts& prompts, std::unique_ptr<PageFactory> factory, StartupPaths paths,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    bool StartupFailed() const { return startupFailed_; }
    // Open1Click after the dialog: ask about unsaved changes, load, reset the pages, start the timer.
    // Returns whether the image was loaded.
    bool OpenImage(const QString& path);
    PageController* Controller(int pageIndex) const;  // PageIndex of pagecontroller.h; may be nullptr
    // Valid only when start-up succeeded.
    RomImageData& Rom();
    EditFlagManagement& Flags();
    EditorGraphics& Graphics();
    const FcPaletteData& Palette() const { return *palette_; }
    QTimer& FrameTimer() { return frameTimer_; }

    // EditorShell
    UserPrompts& Prompts() override { return prompts_; }
    void PaletteSetChanged() override;
    void StopFrameTimer() override;
    void StartFrameTimer() override;  // does nothing while no image is open
    void RefreshActivePage() override;
    bool ShowUsageList(const UsageListRequest& request) override;

    bool ImageOpen() const { return imageOpen_; }
    // True while the settings are being put into the check boxes at start (grid boxes must not redraw).
    bool SettingsLoading() const { return settingsLoading_; }
    // The six options as read at start (and as written when the boxes they belong to do not exist).
    const EditorSettings& Settings() const { return settings_; }
    // The state the pages share.
    PageLinks& Links() { return links_; }
    // The list dialog of the chip usage checks.
    TShowUnusedChipNumForm* UsageListDialog() const { return usageList_; }
    // Reports what changed in the current stage; the panels beside the pages listen to it.
    DocumentWatcher* Watcher() const { return watcher_; }
    // The object kind names: the lines of "ObjectList.txt" (at most 256), or "00" to "FF".
    const QStringList& ObjectKindNames() const { return objectKindNames_; }
    // The text of status panel 0 (modified marker), 1 (hover texts) or 2.
    QString StatusText(int panel) const;
    QWidget* Page(int pageIndex) const;
    QTabWidget* PageControl() const { return pageControl_; }
    // The short notice right of the three status panels (empty when none is shown).
    QString NoticeText() const;
    // The recently used images, newest first, and the File menu's submenu that lists them.
    const RecentFiles& Recent() const { return recent_; }
    QMenu* RecentMenu() const { return recentMenu_; }
    QMenu* ExportMenu1() const { return export1_; }
    // Opens an image of the recent list as Open does after its dialog; a file that is gone is taken off the
    // list with a notice.
    void OpenRecent(const QString& path);
    // The image the file dialogs start from: the current one, else the most recent one.
    QString DialogStartPath() const;
    // The display scale in percent (100, 200 or 300), kept in the settings file (section "View", key "Zoom");
    // the program applies it when it starts (the toolkit scales the whole window, every view pixel for pixel).
    static constexpr int kZoomSteps[3] = {100, 200, 300};
    static int ReadZoom(const TMyMemIniFile& ini);
    int Zoom() const { return zoom_; }
    // Chooses the scale of the next start (the View menu's "表示倍率"); other values are ignored.
    void SetZoom(int percent);
    // Chooses the interface language of the next start (the View menu's "言語"), kept in the settings file.
    void SetLanguage(language::Language chosen);
    language::Language Language() const { return language_; }
    // The tool-tip of a view at (x, y) in its own pixels (empty: none).
    QString ViewToolTip(const TImageEx* view, int x, int y) const;

    // Menu and control handlers.
    void Open1Click();
    bool Save1Click();    // true when saved
    bool SaveAs1Click();  // true when a name was chosen and the image saved there
    void Close1Click();
    void Exit1Click() { close(); }
    void CBStageChange(int index);
    void RefreshEditMenu();  // enabled state and captions of Undo1 and Redo1
    void Undo1Click();
    void Redo1Click();
    void FrameTimerTimer();

protected:
    void closeEvent(QCloseEvent* e) override;
    // Ctrl+Z and Ctrl+Y belong to the Edit menu even while a text field has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A ".nes" file dropped on the window is opened as Open does (unsaved-changes prompt first), always taken
    // as a copy (imagedrop.h).
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    class StatusMarker;

    void BuildWindow();
    void BuildPages();
    void ConnectViews(int pageIndex);
    void ApplySettingsToControls();
    void CollectSettingsFromControls();
    void LoadObjectKindNames();
    // The name list to read for fileName ("ObjectList.txt", "ChipAttributes.txt"): in English its "_en"
    // version ("ObjectList_en.txt") where one is found, else the file itself; and the folder it is read from.
    QString NameListFile(const QString& fileName) const;
    QString NameListFolder(const QString& fileName) const;
    void ShowLanguageChoice();
    bool AskSaveChanges();  // true: go on; false: abandon
    void ResetControllers();
    void ShowImageState(bool open);
    void UpdateCaption();
    void UndoRedo(bool undo);
    void ShortcutUndoRedo(bool undo);
    void RoutePress(int pageIndex, TImageEx* view, Qt::MouseButton button, bool shift, bool ctrl, int x, int y);
    void RouteMove(int pageIndex, TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y);
    void RouteLeave(int pageIndex, TImageEx* view);
    void SetStatusText(int panel, const QString& text);
    QString CurrentPath() const;
    bool OwnsKeyTarget(QObject* watched) const;
    void ShowNotice(const QString& text);
    void CheckTableExtents();
    void RememberRecent(const QString& path);
    void RebuildRecentMenu();
    void PruneRecent();

    UserPrompts& prompts_;
    std::unique_ptr<PageFactory> factory_;
    StartupPaths paths_;
    bool startupFailed_ = false;
    bool imageOpen_ = false;
    bool settingsLoading_ = false;
    bool resetting_ = false;
    bool settingsWritten_ = false;
    bool destroying_ = false;

    // Widgets (owned by Qt's parent chain).
    QComboBox* cbStage_ = nullptr;
    QTabWidget* pageControl_ = nullptr;
    std::array<QWidget*, kPageCount> pages_{};
    std::array<QLabel*, 3> statusPanels_{};
    QMenu* file1_ = nullptr;
    QMenu* edit1_ = nullptr;
    QAction* open1_ = nullptr;
    QAction* save1_ = nullptr;
    QAction* saveAs1_ = nullptr;
    QAction* close1_ = nullptr;
    QAction* exit1_ = nullptr;
    QAction* undo1_ = nullptr;
    QAction* redo1_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* export1_ = nullptr;  // patches and pictures (exportcommands.h)
    QMenu* view1_ = nullptr;
    std::array<QAction*, 3> zoomActions_{};
    int zoom_ = 100;
    int zoomAtStart_ = 100;
    std::array<QAction*, 2> languageActions_{};
    language::Language language_ = language::Language::Japanese;
    language::Language languageAtStart_ = language::Language::Japanese;
    bool languageChosen_ = false;
    // The temporary images test play wrote in this session, removed when the window goes.
    QStringList testPlayFiles_;
    QLabel* statusNotice_ = nullptr;
    QTimer noticeTimer_;
    RecentFiles recent_;
    QTimer frameTimer_;

    // Long-lived objects, in the order they are built (destroyed in reverse).
    std::unique_ptr<StatusMarker> statusMarker_;
    std::unique_ptr<FcPaletteData> palette_;
    std::unique_ptr<EditFlagManagement> flags_;
    std::unique_ptr<TMyMemIniFile> ini_;
    std::unique_ptr<RomImageData> rom_;
    std::unique_ptr<EditorGraphics> graphics_;
    EditorSettings settings_;
    QStringList objectKindNames_;
    PageLinks links_;
    TShowUnusedChipNumForm* usageList_ = nullptr;  // owned by the window
    DocumentWatcher* watcher_ = nullptr;           // owned by the window
    std::unique_ptr<OverviewHost> overview_;       // the stage overview dock and its menu item
    // The usage finder and the history panel.
    std::unique_ptr<FindHistoryHost> findHistory_;
    std::unique_ptr<PageContext> context_;
    std::array<std::unique_ptr<PageController>, kPageCount> controllers_;
};
