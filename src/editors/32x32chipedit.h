#pragma once
// The 32x32 chip page: half of the stage's 256 32x32 chips at a time, the chip being edited enlarged with the
// four 16x16 chips it is built of, and the table of the stage's 16x16 chips to build with. The controller
// also keeps the 32x32 chip sheet, from which the map set, map and object pages draw.

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "document/editdata.h"
#include "editors/pagecontroller.h"
#include "editors/pagekit.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;
class TImageEx;

// ---------------------------------------------------------------------------------------------------------
// Usage checks of the 32x32 chips (the map set page's replacement uses the same groups)

// The 32x32 chip numbers that no byte of the stage's map set table holds, as the list dialog shows them.
QString UnusedChip32x32List(const StageData& stage);

// The groups of identical 32x32 chip definitions (four bytes equal, in order): each group starts with its
// lowest number, followed by the others in ascending order; groups come in ascending order of their first
// number and a chip belongs to at most one group. chip32Table holds kChip32x32Size bytes.
std::vector<std::vector<int>> DuplicateChip32x32Groups(const Byte* chip32Table);

// One line per group: the first number (two hex digits), separator, then each other number as two hex
// digits and a space; every line ends with CR LF. No duplicates give "".
QString DuplicateChip32x32List(const Byte* chip32Table, const QString& separator);

// ---------------------------------------------------------------------------------------------------------
// The page

// The controls of the page, built by Create32x32ChipPage.
struct Chip32x32PageControls {
    TImageEx* chip16Table = nullptr;             // Img16x16ChipTable, 256 x 256: the 16x16 chip sheet at 1:1
    TImageEx* chipView = nullptr;                // ImgEdit32x32ChipView, 512 x 256: one half of the 32x32 chip sheet
    TImageEx* chip = nullptr;                    // ImgEdit32x32Chip, 64 x 64: the edited chip at 2x
    TImageEx* select16 = nullptr;                // ImgSelect16x16Chip, 32 x 32: the selected 16x16 chip at 2x
    UpDownButtons halfSwitch;                    // UDChange32x32ChipView: up shows 00-7F, down 80-FF
    QLabel* lblHalf = nullptr;                   // LblEdit32x32ChipView
    QLabel* lblSelect16Index = nullptr;          // LblSelect16x16ChipIndex
    QLabel* lblSelect16Property = nullptr;       // LblSelect16x16ChipProperty
    std::array<QLabel*, 4> lblStructIndex{};     // LblStructChipIndex0..3
    std::array<QLabel*, 4> lblStructProperty{};  // LblStructChipProperty0..3
    QLabel* lblSelect32Index = nullptr;          // LblSelect32x32ChipIndex
    QCheckBox* chkGrid = nullptr;                // Chk32x32ChipEditDrawGrid
    QPushButton* button2 = nullptr;              // "再読み込み"
    QPushButton* btnUnused = nullptr;            // BtnUnused32x32ChipChk
    QPushButton* btnOverlap = nullptr;           // BtnOverlap32x32ChipChk
};

class Chip32x32EditClass : public QObject, public PageController {
public:
    static constexpr const char* kReloadQuestion =
        QT_TRANSLATE_NOOP("Chip32Page", "このステージの32x32チップデータを読み込み直します。よろしいですか？");

    Chip32x32EditClass(PageContext& context, const Chip32x32PageControls& controls);

    void Reset() override;
    void Activate() override;
    void RefreshColours() override;
    void RebuildSheet() override { RebuildChipSheet(); }
    void ViewPress(TImageEx* view, PressKind kind, KeyMods mods, int x, int y) override;
    void ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) override;
    void ViewLeave(TImageEx* view) override;
    int ShownSet(const TImageEx* view) const override;
    void ApplySettings(const EditorSettings& settings) override;
    void StoreSettings(EditorSettings& settings) const override;
    UsageTarget CurrentUsageTarget() const override { return {UsageTargetKind::Chip32, edited_}; }
    // A 32x32 chip quarter: that chip edited, its half shown.
    void ShowUsage(const Usage& use) override;

    // Loads the stage palette into the 32x32 chip sheet and draws all 256 chips into it.
    void RebuildChipSheet();

    // Handlers of the page's other controls.
    void UDChange32x32ChipViewClick(bool up);
    void Button2Click();
    void Chk32x32ChipEditDrawGridClick();
    void BtnUnused32x32ChipChkClick();
    void BtnOverlap32x32ChipChkClick();

    // What the tests read.
    int EditedChip() const { return edited_; }
    int Selected16() const { return selected16_; }
    int Half() const { return half_; }
    const std::array<Byte, 4>& CopyBuffer() const { return copy_; }
    const GridHover& ViewHover() const { return viewHover_; }
    const GridHover& TableHover() const { return tableHover_; }
    const GridHover& ChipHover() const { return chipHover_; }
    const Chip32x32PageControls& Controls() const { return c_; }

private:
    enum class ViewKind { None, ChipView, Chip, Table };
    ViewKind KindOf(const TImageEx* view) const;
    StageData& Stage();
    Byte Quarter(int chip, int slot);
    void SetModified();
    bool GridOn() const;

    void DrawChipView();
    void DrawGrid();
    void RepaintViewCell(int cell);
    void DrawTable();
    void RepaintTableCell(int cell);
    void DrawEnlarged();
    void DrawSelect16();
    void SelectEditedChip(int chip);
    void Select16(int chip16);
    void RedrawChip(int chip);
    void AfterEdit(int chip);

    void Paste(int chip);
    void SetQuarter(int chip, int slot);

    PageContext& ctx_;
    Chip32x32PageControls c_;
    int edited_ = 0;
    int selected16_ = 0;
    int half_ = 0;
    std::array<Byte, 4> copy_{};
    // Hover cells: the chip view's cell is the place in the view (0 to 127); the chip under it is that
    // plus 128 x half.
    GridHover viewHover_;
    GridHover tableHover_;
    GridHover chipHover_;
};

// Builds the page "32x32チップ" inside tab and returns its controller.
std::unique_ptr<PageController> Create32x32ChipPage(QWidget* tab, PageContext& ctx);
