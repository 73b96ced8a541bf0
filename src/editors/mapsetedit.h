#pragma once
// The map set page: two map sets (screens of 8 x 8 32x32 chips) side by side, painted with a selected 32x32
// chip, picked from, copied and pasted whole, edited as numbers in the grid dialog, and reloaded from the
// image. The page also rewrites the map sets so that of each group of identically defined 32x32 chips only
// the lowest number is used.

#include <QObject>
#include <QString>
#include <array>
#include <memory>

#include "document/editdata.h"
#include "editors/pagecontroller.h"
#include "editors/pagekit.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;
class TImageEx;
class TMapSetEditGridForm;

// The controls of the page, built by CreateMapSetPage.
struct MapSetPageControls {
    std::array<TImageEx*, 2> page{};                // ImgEditMapSetPage0/1, 256 x 256, tags 0 and 1
    TImageEx* selectChip = nullptr;                 // ImgSelect32x32Chip, 64 x 64
    TImageEx* chipTable = nullptr;                  // Img32x32ChipTable, 256 x 256: the chip sheet at half size
    std::array<QLabel*, 2> lblPage{};               // LblMapSetPage0/1
    QLabel* lblSelectIndex = nullptr;               // LblMapSetSelect32x32ChipIndex
    std::array<QLabel*, 4> lblStructIndex{};        // LblMapSetStructChipIndex0..3
    std::array<QLabel*, 4> lblStructProperty{};     // LblMapSetStructChipProperty0..3
    QScrollBar* scrBarMapSet = nullptr;             // 0 to 30: both pages together
    std::array<QScrollBar*, 2> scrBarSelectPage{};  // ScrBarSelectPage0/1, 0 to 31
    QCheckBox* chkDrawGrid = nullptr;               // ChkMapSetEditDrawGrid
    QPushButton* button3 = nullptr;                 // "再読み込み"
    QPushButton* btnReplace = nullptr;              // BtnReplaceMapSetChip "重複チップを置換"
};

class MapSetEditClass : public QObject, public PageController {
public:
    static constexpr const char* kReloadQuestion =
        QT_TRANSLATE_NOOP("MapSetPage", "このステージのマップセットデータを読み込み直します。よろしいですか？");
    static constexpr const char* kNothingToReplace = QT_TRANSLATE_NOOP("MapSetPage", "置換対象チップはありません。");
    static constexpr const char* kReplaceMessage =
        QT_TRANSLATE_NOOP("MapSetPage", "マップセット内のチップ番号を以下のように置換します");
    static constexpr const char* kReplacedText = QT_TRANSLATE_NOOP("MapSetPage", "%1個のチップを置換しました");
    static constexpr const char* kGridDialogName = "MapSetEditGridForm";

    // dialogParent owns the grid dialog (the main window); may be null.
    MapSetEditClass(PageContext& context, const MapSetPageControls& controls, QWidget* dialogParent);
    ~MapSetEditClass() override;

    void Reset() override;
    void Activate() override;
    void RefreshColours() override;
    void ViewPress(TImageEx* view, PressKind kind, KeyMods mods, int x, int y) override;
    void ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) override;
    void ViewLeave(TImageEx* view) override;
    int ShownSet(const TImageEx* view) const override;
    void ApplySettings(const EditorSettings& settings) override;
    void StoreSettings(EditorSettings& settings) const override;
    UsageTarget CurrentUsageTarget() const override { return {UsageTargetKind::Chip32, SelectedChip()}; }
    // A map set cell: page 0 shows that map set.
    void ShowUsage(const Usage& use) override;

    // Handlers of the page's other controls.
    void ScrBarMapSetScroll(int position);
    void ScrBarSelectPageXScroll(int page, int position);
    void Button3Click();
    void ChkMapSetEditDrawGridClick();
    void BtnReplaceMapSetChipClick();

    // What the tests and the other pages read.
    int PageSet(int page) const { return pageSet_[page & 1]; }
    int SelectedChip() const;
    const std::array<Byte, kMapSetSize>& CopyBuffer() const { return copyBuffer_; }
    const MapSetPageControls& Controls() const { return c_; }
    TMapSetEditGridForm& GridForm() { return *gridForm_; }
    const GridHover& PageHover(int page) const { return pageHover_[page & 1]; }
    bool GridOn() const;

    // The list the replacement shows: the duplicate groups with the separator " <- ".
    static QString ReplacementList(const Byte* chip32x32);
    // Replaces, in the 2048 map set bytes, every other member of a group of identical 32x32 chips by the
    // group's lowest number, group by group; returns the cells replaced.
    static int ReplaceDuplicates(Byte* mapSets, const Byte* chip32x32);

private:
    enum class ViewKind { None, Page0, Page1, Table };
    ViewKind KindOf(const TImageEx* view) const;
    StageData& Stage();
    const Byte* PageBytes(int page);
    void SetModified();

    void DrawPage(int page);
    void RepaintPageCell(int page, int cell);
    void DrawPageGrid(int page);
    void DrawTable();
    void RepaintTableCell(int chip);
    void ShowPageLabel(int page);
    void SyncPageScrollBars();
    void SelectChip(int chip);

    void Paint(int page, int cell);
    void Copy(int page);
    void Paste(int page, const std::array<Byte, kMapSetSize>& bytes, bool gridEdit);
    void OpenGridDialog(int page);

    PageContext& ctx_;
    MapSetPageControls c_;
    std::array<int, 2> pageSet_{0, 1};
    std::array<Byte, kMapSetSize> copyBuffer_{};
    std::array<GridHover, 2> pageHover_;
    GridHover tableHover_;
    std::unique_ptr<TMapSetEditGridForm> gridForm_;
    bool filling_ = false;  // scroll bars set by the program: their handlers do nothing
};

// Builds the page "マップセット" inside tab and returns its controller.
std::unique_ptr<PageController> CreateMapSetPage(QWidget* tab, PageContext& ctx);
