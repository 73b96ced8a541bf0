#pragma once
// The 16x16 chip page: the stage's BG bank as a tile table, all 256 16x16 chips as a sheet, the chip being
// edited enlarged, its four tile numbers and its attribute (palette, sub-kind, kind). The controller owns the
// one BG bank of the running system; every chip drawing of the other pages starts from the sheet it draws.

#include <QObject>
#include <QString>
#include <array>
#include <memory>

#include "editors/pagecontroller.h"
#include "editors/pagekit.h"
#include "graphics/graphics.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;
class TImageEx;

// The controls of the page, built by Create16x16ChipPage.
struct Chip16x16PageControls {
    TImageEx* bgBankTable = nullptr;          // ImgBGBankTable, 256 x 256: tile surface at 2x
    TImageEx* chipView = nullptr;             // ImgEdit16x16ChipView, 256 x 256: chip sheet at 1:1
    TImageEx* chip = nullptr;                 // ImgEdit16x16Chip, 64 x 64: selected chip at 4x
    TImageEx* selectTile = nullptr;           // ImgSelectTile, 32 x 32: selected tile at 4x
    std::array<QWidget*, 16> paletteColor{};  // PanelPaletteColor0..15
    QLabel* lblSelectChipIndex = nullptr;
    QLabel* lblSelectBGBankTileIndex = nullptr;
    std::array<QLabel*, 4> lblSelectChipTile{};  // LblSelectChipTile0..3
    QLabel* lblBGBank0 = nullptr;                // kept for the page layout; not shown
    QLabel* lblBGBank1 = nullptr;
    QLabel* lblSelectChipProperty = nullptr;
    QLabel* lblSelectScrollIndex = nullptr;
    QLabel* lblSelectBGLoadDataIndex = nullptr;
    QLabel* lblSelectBGLoadDataAddress = nullptr;
    QLabel* lblSelectScrollBGLoadIndex = nullptr;
    QLabel* lblSelectScrollBGLoadAddress = nullptr;
    QGroupBox* rgChipPropertySelect = nullptr;  // group box of 16 radio buttons, ids 0..15
    QButtonGroup* chipPropertyButtons = nullptr;
    QGroupBox* rgPaletteSelect = nullptr;  // group box of 4 radio buttons, ids 0..3
    QButtonGroup* paletteButtons = nullptr;
    QScrollBar* scrBarBGBank0 = nullptr;  // kept for the page layout; not shown
    QScrollBar* scrBarBGBank1 = nullptr;
    QScrollBar* scrBarSelectScrollIndex = nullptr;  // 0 to 15
    QComboBox* cbSelectBGloadPoint = nullptr;
    QLineEdit* editSelectChipProperty = nullptr;  // at most 2 characters
    QPushButton* button1 = nullptr;               // "再読み込み"
    QPushButton* btnUnused16x16ChipChk = nullptr;
    QPushButton* btnUnusedTileChk = nullptr;
};

class Chip16x16EditClass : public QObject, public PageController {
public:
    static constexpr const char* kReloadQuestion =
        QT_TRANSLATE_NOOP("Chip16Page", "このステージのチップ・BGバンクを読み込み直します。よろしいですか？");

    Chip16x16EditClass(PageContext& context, const Chip16x16PageControls& controls);

    void Reset() override;
    void Activate() override;
    void RefreshColours() override;
    void RebuildSheet() override;
    void ViewPress(TImageEx* view, PressKind kind, KeyMods mods, int x, int y) override;
    void ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) override;
    void ViewLeave(TImageEx* view) override;
    UsageTarget CurrentUsageTarget() const override { return {UsageTargetKind::Chip16, selectedChip_}; }

    // What the other pages and the tests read.
    const BgBank& Bank() const { return bank_; }
    const IndexedBitmap& TileSurface() const { return tileSurface_; }
    IndexedBitmap& TileSurface() { return tileSurface_; }
    int ViewPalette() const { return viewPalette_; }
    int SelectedTile() const { return selectedTile_; }
    int SelectedChip() const { return selectedChip_; }
    int LoadPoint() const { return loadPoint_; }
    int ScrollNumber() const { return scroll_; }
    const std::array<Byte, 5>& CopiedChip() const { return copied_; }
    const Chip16x16PageControls& Controls() const { return c_; }

    // The lists of the two checks of this page (two hex digits and a space per number, CR LF per line).
    QString UnusedChip16x16List() const;
    QString UnusedTileList() const;

    // Handlers of the page's other controls.
    void KindClicked(int kind);
    void PaletteClicked(int palette);
    void AttributeTextChanged();
    void LoadPointChanged(int index);
    void ScrollChanged(int value);
    void ReloadClicked();
    void Unused16x16ChipCheckClicked();
    void UnusedTileCheckClicked();

private:
    enum class ViewKind { None, TileTable, ChipView, Chip };
    ViewKind KindOf(const TImageEx* view) const;
    StageData& Stage();
    Byte Attribute(int chip);
    Byte ChipTile(int chip, int quarter);
    void SetModified();

    void ShowTileTable();
    void ShowSelectedTilePreview();
    void ShowChipView();
    void ShowEnlargedChip();
    void ShowSwatches();
    void ShowChipNumbers();
    void ShowAttribute();
    void SetRadioGroups();
    void SelectChip(int chip);
    void SelectTile(int tile);
    void RedrawChip(int chip);
    void ShowLoadReport();

    void RepaintTileCell(int tile);
    void RepaintChipCell(int chip);
    void HoverQuarter(int quarter);

    void PutTile(int quarter);
    void PasteChip(int chip);
    void CopyChip(int chip);

    PageContext& ctx_;
    Chip16x16PageControls c_;
    BgBank bank_;
    IndexedBitmap tileSurface_;  // 128 x 128, bare tile colours 0 to 3
    int shownStage_ = -1;
    int loadPoint_ = 0;
    int scroll_ = 0;
    int viewPalette_ = 0;
    int selectedTile_ = 0;
    int selectedChip_ = 0;
    GridHover tileHover_;  // the tile table, 16 x 16 cells
    GridHover chipHover_;  // the chip view, 16 x 16 cells
    int hoverQuarter_ = -1;
    std::array<Byte, 5> copied_{};
    bool updating_ = false;  // controls set by the program: their change handlers do nothing
};

// Builds the page "16x16チップ" inside tab and returns its controller.
std::unique_ptr<PageController> Create16x16ChipPage(QWidget* tab, PageContext& ctx);
