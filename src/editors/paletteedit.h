#pragma once
// The palette page: the seven BG palette sets of the stage, their colour numbers and their palette
// animation numbers. The set chosen here colours every view of the editor.

#include <QImage>
#include <QObject>
#include <array>
#include <memory>

#include "editors/pagecontroller.h"
#include "editors/pagekit.h"
#include "graphics/graphics.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

// The controls of the palette page, built by CreatePalettePage (or by hand in a harness).
struct PalettePageControls {
    QComboBox* selectPaletteSet = nullptr;          // CBSelectPaletteSet
    std::array<TImageEx*, 4> palView{};             // ImgPalView0..3, 96 x 24
    std::array<QLineEdit*, 16> editPal{};           // EditPal0..15
    TImageEx* colorTable = nullptr;                 // ImgColorTable, 384 x 96
    TImageEx* selectColor = nullptr;                // ImgSelectColor, 32 x 32
    QLabel* lblSelectColor = nullptr;               // LblSelectColor
    QPushButton* paletteReload = nullptr;           // BtnPaletteReload
    std::array<TImageEx*, 4> animePal{};            // ImgAnimePal0..3, 96 x 24
    std::array<QLineEdit*, 4> editAnimePal{};       // EditAnimePal0..3
    std::array<QToolButton*, 4> animeUp{};          // up arrow of UDAnimePal0..3
    std::array<QToolButton*, 4> animeDown{};        // down arrow of UDAnimePal0..3
    QPushButton* animationPaletteReload = nullptr;  // BtnAnimationPaletteReload
};

class PaletteEditClass : public QObject, public PageController {
public:
    static constexpr int kCell = 24;

    PaletteEditClass(PageContext& context, const PalettePageControls& controls);

    void Reset() override;
    void Activate() override;
    void RefreshColours() override;
    void ViewPress(TImageEx* view, PressKind kind, KeyMods mods, int x, int y) override;
    void ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) override;
    void ViewLeave(TImageEx* view) override;

    // The palette set chosen in CBSelectPaletteSet (0 to 6).
    int SelectedPaletteSet() const;
    // The Famicom colour number a left press on a palette square writes.
    int SelectedColor() const { return selectedColor_; }

    // Handlers of the page's other controls (also reachable from tests).
    void ColourFieldChanged(int entry);
    void AnimationFieldChanged(int palette);
    void AnimationArrow(int palette, bool up);
    void PaletteReloadClicked();
    void AnimationPaletteReloadClicked();
    void PaletteSetSelected();

    // The arrows' step: up 0xFF -> 0x00, below 0x80 -> 0x80, else +1; down 0x00 -> 0xFF,
    // up to 0x80 -> 0x00, else -1.
    static int StepAnimationNumber(int value, bool up);

private:
    enum class ViewKind { None, Palette, ColourTable };
    ViewKind KindOf(const TImageEx* view) const;

    const Byte* StoredColours() const;
    const Byte* StoredAnimation() const;
    void DrawPaletteStrip();
    void DrawColourTable();
    void ShowSelectedColour();
    void ShowColourFields();
    void ShowAnimationFields();
    void RefreshAnimationViews();
    void RepaintPaletteCell(int entry);
    void RepaintColourCell(int cell);

    PageContext ctx_;  // references to objects the main window owns
    PalettePageControls c_;
    int shownStage_ = -1;
    int selectedColor_ = 0;
    GridHover paletteHover_;       // entry 0 to 15 of the four palette rows
    GridHover colourHover_;        // colour 0 to 63 of the colour table
    bool settingFields_ = false;   // programmatic field texts: no edit path
    bool resettingList_ = false;   // Reset puts the list back to item 0
    QImage paletteStrip_;          // 384 x 24, square i = stored colour number i
    QImage colourTable_;           // 384 x 96, colour n at (24 (n mod 16), 24 (n div 16))
    IndexedBitmap animatedStrip_;  // 384 x 24, square i = stage palette entry i
};

// Builds the page "パレット" inside tab and returns its controller.
std::unique_ptr<PageController> CreatePalettePage(QWidget* tab, PageContext& ctx);
