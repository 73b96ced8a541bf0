#pragma once
// The map page: the 48 screens ("部屋") of the stage, two neighbours side by side, and the map set each of
// them shows. The pages only display; the two map set scroll bars write the stage's map.

#include <QObject>
#include <array>
#include <memory>

#include "editors/pagecontroller.h"
#include "editors/pagefactory.h"
#include "graphics/graphics.h"

class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;
class TImageEx;

// The controls of the page, built by CreateMapPage.
struct MapPageControls {
    std::array<TImageEx*, 2> page{};         // ImgEditMapPage0/1, 256 x 256: map set of the left/right screen
    QScrollBar* scrBarMap = nullptr;         // ScrBarMap, 0 to 46: the left screen
    std::array<QScrollBar*, 2> mapSetBar{};  // ScrbarEditMapPage0/1, 0 to 31: map set of the left/right screen
    std::array<QLabel*, 2> lblMapVal{};      // LblMapVal0/1: the two map bytes
    QLabel* lblMapPage = nullptr;            // LblMapPage: "00-01"
    QPushButton* reload = nullptr;           // BtnMapEditReload
};

class MapEditClass : public QObject, public PageController {
public:
    static constexpr const char* kReloadQuestion =
        QT_TRANSLATE_NOOP("MapPage", "このステージのマップデータを読み込み直します。よろしいですか？");
    static constexpr int kLastLeftScreen = kScreenCount - 2;  // 46: the right screen is then 47
    static constexpr int kLastMapSet = kMapSetCount - 1;      // 31

    MapEditClass(PageContext& context, const MapPageControls& controls);

    void Reset() override;
    void Activate() override;
    void RefreshColours() override;
    // The map set the left screen shows (none when its map byte names no map set).
    UsageTarget CurrentUsageTarget() const override;
    // A screen: shown on the left (on the right for the last screen).
    void ShowUsage(const Usage& use) override;
    QScrollBar* ScreenScrollBar() const override { return c_.scrBarMap; }

    // Handlers of the page's controls (also reachable from tests).
    // Shows screens position and position + 1 (position limited to 0 to 46).
    void ScrBarMapScroll(int position);
    // Writes map set position (limited to 0 to 31) into the map byte of the left (tag 0) or right (tag 1)
    // screen. The scroll bars call it only when their position really changed.
    void ScrbarEditMapPageXScroll(int tag, int position);
    void BtnMapEditReloadClick();

    int LeftScreen() const { return left_; }
    int RightScreen() const { return left_ + 1; }
    const MapPageControls& Controls() const { return c_; }

    // A map byte read from the image may be anything, but only 0 to 31 name one of the stage's map sets.
    // A screen whose byte is 0x20 or more shows no map set: its page is drawn as an empty black square
    // crossed by two white diagonals, its label shows the byte as it stands (for example "25"), and its
    // scroll bar rests at 31, the end of its range. Nothing is read past the 32 map sets, and the byte is
    // kept until the user picks a map set for that screen.
    static bool NamesMapSet(int mapByte) { return mapByte >= 0 && mapByte <= kLastMapSet; }
    // The scroll bar position that shows mapByte.
    static int BarPosition(int mapByte) { return NamesMapSet(mapByte) ? mapByte : kLastMapSet; }

private:
    StageData& Stage();
    int Screen(int side) const { return left_ + (side & 1); }
    // Draws the page of side 0 or 1 from its screen's map byte.
    void DrawPage(int side);
    // Draws the page and puts the byte into the scroll bar and the label of side 0 or 1.
    void ShowSide(int side);
    void SetBar(QScrollBar* bar, int position);
    void BarMoved(int side, int position);

    PageContext& ctx_;
    MapPageControls c_;
    int left_ = 0;
    // The positions of the two map set scroll bars before the event that moves them.
    std::array<int, 2> barPosition_{};
    bool filling_ = false;  // the program is setting the scroll bars: their handlers do nothing
};

// Builds the page "マップ" inside tab and returns its controller.
std::unique_ptr<PageController> CreateMapPage(QWidget* tab, PageContext& ctx);
