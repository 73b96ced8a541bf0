#pragma once
// The object page: two neighbouring screens side by side, their map sets as background and every placed
// object as a labelled square. Objects are selected, dragged, nudged, created, copied, cut, pasted, removed
// and retyped here; the list dialog rewrites the objects of one screen as text. A stage holds at most 127
// objects created here. Object edits leave no undo steps; they raise the stage's object modified flag.

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

#include "editors/pagecontroller.h"
#include "editors/pagefactory.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QToolButton;
class QWidget;
class StageData;
class TImageEx;
class TObjectEditForm;
struct ObjectEntry;

// The controls of the page, built by CreateObjectPage.
struct ObjectPageControls {
    TImageEx* mapPage0 = nullptr;           // ImgObjectMapPage0, 256 x 256: the left screen
    TImageEx* mapPage1 = nullptr;           // ImgObjectMapPage1, 256 x 256: the right screen
    QScrollBar* scrBarObjectMap = nullptr;  // 0 to 46: the left screen
    QLabel* lblObjectRoom = nullptr;
    QLabel* lblObjectNum = nullptr;
    QLabel* lblObjectSum = nullptr;
    QLabel* lblObjectIndex = nullptr;
    QLabel* lblObjectScreen = nullptr;
    QLabel* lblObjectX = nullptr;
    QLabel* lblObjectY = nullptr;
    QComboBox* cbSelectObject = nullptr;  // the kind names
    QWidget* udObjectX = nullptr;         // horizontal up-down: left -1, right +1
    QToolButton* udObjectXLeft = nullptr;
    QToolButton* udObjectXRight = nullptr;
    QWidget* udObjectY = nullptr;  // vertical up-down: up -1, down +1
    QToolButton* udObjectYUp = nullptr;
    QToolButton* udObjectYDown = nullptr;
    QPushButton* btnObjectCreate = nullptr;
    QPushButton* btnObjectRemove = nullptr;
    QCheckBox* chkSortObjectList = nullptr;
    QCheckBox* chkPopupHint = nullptr;
    QPushButton* btnObjectEditReload = nullptr;
    QMenu* popupMenu = nullptr;  // PopupMenuObjectEdit
    QAction* menuCreateObject = nullptr;
    QAction* menuCopyObject = nullptr;
    QAction* menuCutObject = nullptr;
    QAction* menuPasteObject = nullptr;
    QAction* menuRemoveObject = nullptr;
    QAction* menuCancel = nullptr;
    TObjectEditForm* listDialog = nullptr;  // ObjectEditForm
};

class ObjectEditClass : public QObject, public PageController {
public:
    static constexpr int kViewSize = 256;
    static constexpr int kLastLeftScreen = 46;  // the right screen is the last one, 47
    static constexpr int kHitRadius = 9;        // a 19 x 19 sensitive square around an object's point
    static constexpr const char* kTooManyObjects =
        QT_TRANSLATE_NOOP("ObjectPage", "オブジェクトの総数を越えるため、オブジェクトを作成できませんでした");
    static constexpr const char* kReloadQuestion =
        QT_TRANSLATE_NOOP("ObjectPage", "このステージのオブジェクトデータを読み込み直します。よろしいですか？");

    ObjectEditClass(PageContext& context, const ObjectPageControls& controls);

    void Reset() override;
    void Activate() override;
    void RefreshColours() override;
    void ViewPress(TImageEx* view, PressKind kind, KeyMods mods, int x, int y) override;
    void ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) override;
    void ApplySettings(const EditorSettings& settings) override;
    void StoreSettings(EditorSettings& settings) const override;
    // The selected object's kind (none while no object is selected).
    UsageTarget CurrentUsageTarget() const override;
    // An object: its screen on the left (on the right for the last screen), the object selected.
    void ShowUsage(const Usage& use) override;
    QScrollBar* ScreenScrollBar() const override { return c_.scrBarObjectMap; }

    // Handlers of the page's other controls (also reachable from tests).
    void ScrollTo(int leftScreen);
    void KindChanged(int index);
    void NudgeX(int delta);
    void NudgeY(int delta);
    void CreateAtLastLeftPress();  // BtnObjectCreate
    void RemoveSelected();         // BtnObjectRemove
    void MenuCreate();             // MenuCreateObject
    void MenuCopy();               // MenuCopyObject
    void MenuCut();                // MenuCutObject
    void MenuPaste();              // MenuPasteObject
    void MenuRemove();             // MenuRemoveObject
    void ReloadClicked();          // BtnObjectEditReload

    // The list text of screen s: "XX YY KK" CR LF per object in list order.
    QString ScreenListText(int screen) const;
    // Replaces screen s's objects by the objects of a list text (as many as the 127 limit lets in).
    void ApplyListText(int screen, const QString& text);

    // The pop-up information of an object: placement number, X, Y and the kind's name, lines joined by CR LF.
    QString PopupInformation(const ObjectEntry& entry, int screen) const;
    // The name shown for a kind: its line of "ObjectList.txt", or two hexadecimal digits when the list has
    // no line for it.
    QString KindName(int kind) const;

    // State, for the main window's status and for tests.
    int LeftScreen() const { return leftScreen_; }
    int RightScreen() const { return leftScreen_ + 1; }
    const ObjectEntry* Hovered() const { return hovered_; }
    int HoveredScreen() const { return hoveredScreen_; }
    const ObjectEntry* Selected() const { return selected_; }
    int SelectedScreen() const { return selectedScreen_; }
    std::optional<int> KindClipboard() const { return clipboard_; }
    const ObjectPageControls& Controls() const { return c_; }
    // Full redraws of the two views so far (each draws two map sets and the objects of two screens).
    std::uint64_t FullRedrawCount() const { return fullRedraws_; }

private:
    StageData& Stage() const;
    int ViewIndex(const TImageEx* view) const;  // 0, 1, or -1 for another view
    TImageEx* ViewOf(int index) const;
    int ScreenOfView(int index) const { return leftScreen_ + index; }
    bool SortTicked() const;
    bool PopupTicked() const;
    void SetModified();

    void RedrawViews();
    void DrawScreen(int index);
    void DrawHoverFrame();
    void DrawSelectionFrame();
    void Refresh();
    void HitTest(int viewIndex, int x, int y);
    void ShowSelection();
    void ShowShownScreens();  // LblObjectRoom and LblObjectNum
    void ShowCounts();        // those two and LblObjectSum
    void UpdateToolTip(TImageEx* view);
    void SwitchOffToolTip(TImageEx* view);
    void PrepareMenu();
    void ShowMenu(TImageEx* view, int x, int y);
    void CreateAtLastRightPress(int kind);
    void RemoveEntry(const ObjectEntry* entry, int screen);
    void OpenListDialog(int screen);
    bool RoomForOneMore();

    PageContext& ctx_;
    ObjectPageControls c_;
    int leftScreen_ = 0;
    ObjectEntry* hovered_ = nullptr;
    int hoveredScreen_ = -1;
    const ObjectEntry* prevHovered_ = nullptr;
    ObjectEntry* selected_ = nullptr;
    int selectedScreen_ = -1;
    const ObjectEntry* prevSelected_ = nullptr;
    bool redrawMark_ = false;
    int lastLeftView_ = 0, lastLeftX_ = 0, lastLeftY_ = 0;
    int lastRightScreen_ = 0, lastRightX_ = 0, lastRightY_ = 0;
    std::optional<int> clipboard_;
    bool filling_ = false;  // controls set by the program: their change handlers do nothing
    QString shownTip_;      // the pop-up information the view's tool-tip holds
    std::uint64_t fullRedraws_ = 0;
};

// Builds the page "オブジェクト" inside tab and returns its controller.
std::unique_ptr<PageController> CreateObjectPage(QWidget* tab, PageContext& ctx);
