// The stage overview dock on the real main window with the demo image: what it draws, where a click
// scrolls the pages, and how it follows an edit, undo, a palette step, a stage change and the close.

#include <QDockWidget>
#include <QScrollBar>

#include "editors/stageoverviewdock.h"
#include "graphics/hextext.h"
#include "pagebench.h"

namespace {

using pagebench::Rgb;

class StageOverviewTest : public pagebench::PageBench {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPageMap, kPageObject};
        o.ini = "[View]\nStageOverview=1\n";
        o.tab = kPageMap;
        return o;
    }
    StageOverviewView* V() { return Find<StageOverviewView>("ImgStageOverview"); }
    QScrollBar* Bar(const char* name) { return Find<QScrollBar>(name); }
    std::uint64_t Draws(int screen) { return V()->Picture().DrawCount(screen); }

    // Shows screen s on the map page and counts the overview pixels of s (objects' markers aside) that
    // differ from the map page's picture of it taken at every fourth pixel.
    int Differences(int s) {
        Bar("ScrBarMap")->setValue(s);
        const QImage& page = View(QString("ImgEditMapPage%1").arg(s == 47 ? 1 : 0))->Picture();
        const QImage& pic = V()->Picture().View();
        int differ = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (V()->Picture().Pixels().Pixel(64 * s + x, y) != EditorGraphics::kWhite &&
                    Rgb(pic.pixel(64 * s + x, y)) != Rgb(page.pixel(4 * x, 4 * y)))
                    ++differ;
        return differ;
    }
    // An edit by the keyboard on the map page's left map set bar, seen by the watcher as a user's.
    void StepLeftMapSet(int screen) {
        Bar("ScrBarMap")->setValue(screen);
        QTest::keyClick(Bar("ScrbarEditMapPage0"), Qt::Key_Right);
        QApplication::processEvents();
    }
};

TEST_F(StageOverviewTest, DrawsFollowsAndScrollsThePages) {
    auto* dock = Find<QDockWidget>("StageOverviewDock");
    ASSERT_TRUE(dock && V());
    EXPECT_FALSE(dock->isHidden());
    EXPECT_EQ(V()->size(), QSize(3072, 64));
    for (int s : {0, 7, 47}) EXPECT_EQ(Differences(s), 0) << s;
    int withObject = -1;
    for (int s = 0; s < kScreenCount && withObject < 0; ++s)
        if (!Stage().ScreenObjects(s).empty()) withObject = s;
    ASSERT_GE(withObject, 0);
    const ObjectEntry& o = Stage().ScreenObjects(withObject).front();
    EXPECT_EQ(V()->Picture().Pixels().Pixel(64 * withObject + o.x / 4 - 2, o.y / 4), EditorGraphics::kWhite);
    EXPECT_EQ(V()->ToolTipText(withObject), QString::fromUtf8("部屋番号%1  マップセット%2  オブジェクト%3個")
                                                .arg(Hex2(withObject), Hex2(Stage().Map()[withObject]))
                                                .arg(Stage().ScreenObjects(withObject).size()));

    // A click scrolls both pages, the last screen to the last pair; nothing else changes.
    for (auto [screen, left] : {std::pair{47, 46}, std::pair{5, 5}}) {
        QTest::mouseClick(V(), Qt::LeftButton, {}, QPoint(64 * screen + 30, 30));
        EXPECT_EQ(Bar("ScrBarMap")->value(), left);
        EXPECT_EQ(Bar("ScrBarObjectMap")->value(), left);
    }
    // The map page's pair outlined in one colour, the object page's (followed live) in the other.
    Bar("ScrBarObjectMap")->setValue(9);
    const QImage shown = V()->grab().toImage();
    EXPECT_EQ(Rgb(shown.pixel(64 * 5, 10)), Rgb(StageOverviewView::kMapPageColour));
    EXPECT_EQ(Rgb(shown.pixel(64 * 9 + 1, 10)), Rgb(StageOverviewView::kObjectPageColour));
    EXPECT_EQ(Rgb(shown.pixel(64 * 11 - 2, 60)), Rgb(StageOverviewView::kObjectPageColour));
    EXPECT_EQ(form_->PageControl()->currentIndex(), kPageMap);
    EXPECT_FALSE(Modified(ModifiedCategory::Map));
    UndoCaption();
    EXPECT_FALSE(Find<QAction>("Undo1")->isEnabled());

    // An edit of screen 5's map byte redraws that screen alone; undo brings it back.
    const int before = Stage().Map()[5];
    const std::uint64_t other = Draws(20), edited = Draws(5);
    StepLeftMapSet(5);
    ASSERT_NE(Stage().Map()[5], before);
    EXPECT_EQ(Draws(5), edited + 1);
    EXPECT_EQ(Draws(20), other);
    EXPECT_EQ(Differences(5), 0);
    form_->Undo1Click();
    QApplication::processEvents();
    EXPECT_EQ(Stage().Map()[5], before);
    EXPECT_EQ(Differences(5), 0);

    // A palette step recolours it like the pages.
    const QRgb was = Rgb(V()->Picture().View().pixel(64 * 5 + 1, 1));
    for (int i = 0; i < 16; ++i) G().SetStagePaletteEntry(i, (i * 7 + 3) & 0x3F);
    V()->FollowRenderer();
    const int value = V()->Picture().Pixels().Pixel(64 * 5 + 1, 1);
    EXPECT_EQ(Rgb(V()->Picture().View().pixel(64 * 5 + 1, 1)), Rgb(G().GetStagePaletteColor(value)));
    EXPECT_NE(Rgb(V()->Picture().View().pixel(64 * 5 + 1, 1)), was);

    // Another stage is drawn whole; closing the image hides the dock.
    SelectStage(1);
    EXPECT_GT(Draws(20), other);
    EXPECT_EQ(Differences(9), 0);
    form_->Flags().ClearAllModified();
    form_->Close1Click();
    QApplication::processEvents();
    EXPECT_TRUE(dock->isHidden());

    // The shown state and the scale are kept in the settings file when the window closes.
    static_cast<StageOverviewDock*>(dock)->SetDivisor(2);
    EXPECT_EQ(V()->size(), QSize(6144, 128));
    ASSERT_TRUE(form_->close());
    const QByteArray ini = ReadFile(Path("quorveneditor.ini"));
    EXPECT_TRUE(ini.contains("StageOverview=1") && ini.contains("StageOverviewScale=2")) << ini.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
