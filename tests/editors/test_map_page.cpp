// The map page driven through the real main window on the demo image.

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

#include "editors/mapedit.h"
#include "pagebench.h"

namespace {

using pagebench::Rgb;

const QString kMapEdit = QString::fromUtf8("マップの編集");

class MapPageTest : public pagebench::PageBench {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPageMap};
        return o;
    }

    int MapAddress(int stage) { return form_->Rom().Addresses().TableAddress(StageTable::Map, stage); }
    MapEditClass& C() { return Controller<MapEditClass>(kPageMap); }
    TImageEx* View(int side) { return PageBench::View(QString("ImgEditMapPage%1").arg(side)); }
    QScrollBar* Bar(const QString& name) { return Find<QScrollBar>(name); }
    QScrollBar* SetBar(int side) { return Bar(QString("ScrbarEditMapPage%1").arg(side)); }
    int MapByte(int screen) { return Stage().Map()[screen]; }
    bool Modified() { return PageBench::Modified(ModifiedCategory::Map); }

    // Whether view side shows map set m: every pixel in the colour the stage palette gives the 32x32 chip
    // sheet's pixel of the chip stored in the map set's cell.
    ::testing::AssertionResult Shows(int side, int m) {
        const QImage& pic = View(side)->Picture();
        const IndexedBitmap& sheet = G().ChipSheet32();
        const Byte* set = Stage().MapSet(m);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const int chip = set[8 * (y / 32) + x / 32];
                const int value = sheet.Pixel(32 * (chip % 16) + x % 32, 32 * (chip / 16) + y % 32);
                const QRgb want = Rgb(G().GetStagePaletteColor(value & 15));
                if (Rgb(pic.pixel(x, y)) != want)
                    return ::testing::AssertionFailure()
                           << "view " << side << " pixel (" << x << "," << y << ") is not map set " << m;
            }
        return ::testing::AssertionSuccess();
    }

    // Whether view side shows the page of a screen whose byte names no map set: black, two white diagonals.
    ::testing::AssertionResult ShowsNoMapSet(int side) {
        const QImage& pic = View(side)->Picture();
        const QRgb black = Rgb(G().MasterColor(0x0F)), white = Rgb(G().MasterColor(EditorGraphics::kWhite));
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const QRgb want = (x == y || x == 255 - y) ? white : black;
                if (Rgb(pic.pixel(x, y)) != want)
                    return ::testing::AssertionFailure() << "view " << side << " pixel (" << x << "," << y << ")";
            }
        return ::testing::AssertionSuccess();
    }

    // Gives the 16 stage palette entries other colours (as an animation step would).
    void ShiftStagePalette(int by) {
        for (int i = 0; i < 16; ++i) {
            const QRgb now = G().GetStagePaletteColor(i);
            for (int n = 0; n < 64; ++n)
                if (Rgb(G().MasterColor(n)) == Rgb(now)) {
                    G().SetStagePaletteEntry(i, (n + by) & 0x3F);
                    break;
                }
        }
    }
};

// The demo image with map bytes that name no map set on stage 0: 0x20 (the first past the last map set),
// 0xFF and 0x80, and 0x1F (the last map set) between them.
class MapPageBadBytesTest : public MapPageTest {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o = MapPageTest::Options();
        o.patch = [](std::vector<std::uint8_t>& image, const AddressData& a) {
            const int at = a.TableAddress(StageTable::Map, 0);
            image[std::size_t(at) + 0] = 0x20;
            image[std::size_t(at) + 1] = 0xFF;
            image[std::size_t(at) + 2] = 0x1F;
            image[std::size_t(at) + 3] = 0x80;
        };
        return o;
    }
};

// ---------------------------------------------------------------------------------------------------------

TEST_F(MapPageTest, PageHoldsItsControlsAndShowsScreensZeroAndOne) {
    EXPECT_EQ(form_->PageControl()->tabText(kPageMap), QString::fromUtf8("マップ"));
    for (int side = 0; side < 2; ++side) {
        ASSERT_NE(View(side), nullptr) << side;
        EXPECT_EQ(View(side)->size(), QSize(256, 256));
        EXPECT_EQ(View(side)->Picture().size(), QSize(256, 256));
        EXPECT_EQ(View(side)->Tag(), side);
        ASSERT_NE(SetBar(side), nullptr) << side;
        EXPECT_EQ(SetBar(side)->minimum(), 0);
        EXPECT_EQ(SetBar(side)->maximum(), 31);
        EXPECT_EQ(SetBar(side)->property("Tag").toInt(), side);
    }
    ASSERT_NE(Bar("ScrBarMap"), nullptr);
    EXPECT_EQ(Bar("ScrBarMap")->minimum(), 0);
    EXPECT_EQ(Bar("ScrBarMap")->maximum(), 46);
    EXPECT_EQ(Bar("ScrBarMap")->orientation(), Qt::Horizontal);

    // Both map set scroll bars sit in the group "マップ編集", each under a label "マップセット番号:".
    auto* group = SetBar(0)->parentWidget();
    auto* box = qobject_cast<QGroupBox*>(group);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), QString::fromUtf8("マップ編集"));
    EXPECT_EQ(SetBar(1)->parentWidget(), group);
    int captions = 0;
    bool roomCaption = false;
    for (QLabel* l : group->findChildren<QLabel*>()) {
        if (l->text() == QString::fromUtf8("マップセット番号:")) ++captions;
        if (l->text() == QString::fromUtf8("編集部屋番号:")) roomCaption = true;
    }
    EXPECT_EQ(captions, 2);
    EXPECT_TRUE(roomCaption);
    auto* reload = Find<QPushButton>("BtnMapEditReload");
    ASSERT_NE(reload, nullptr);
    EXPECT_EQ(reload->text(), QString::fromUtf8("再読み込み"));

    // After the open: screens 0x00 and 0x01 with their map sets.
    EXPECT_EQ(Label("LblMapPage"), "00-01");
    EXPECT_EQ(Bar("ScrBarMap")->value(), 0);
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(Label(QString("LblMapVal%1").arg(side)), QString::asprintf("%02X", MapByte(side)));
        EXPECT_EQ(SetBar(side)->value(), MapByte(side));
        EXPECT_TRUE(Shows(side, MapByte(side)));
    }
    // The two screens of the demo show different map sets, so the pictures tell them apart.
    ASSERT_NE(MapByte(0), MapByte(1));
    EXPECT_FALSE(Shows(0, MapByte(1)));

    // The pages only display: presses with any button change nothing.
    const QImage before = View(0)->Picture().copy();
    QTest::mouseClick(View(0), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QTest::mouseClick(View(1), Qt::RightButton, Qt::ControlModifier, QPoint(100, 100));
    QTest::mouseClick(View(0), Qt::LeftButton, Qt::ShiftModifier, QPoint(200, 10));
    EXPECT_EQ(View(0)->Picture(), before);
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(prompts_.log.isEmpty()) << prompts_.log.join("|").toStdString();
}

TEST_F(MapPageTest, MapScrollBarShowsTwoNeighbouringScreens) {
    QScrollBar* map = Bar("ScrBarMap");
    map->setValue(10);
    EXPECT_EQ(C().LeftScreen(), 10);
    EXPECT_EQ(Label("LblMapPage"), "0A-0B");
    for (int side = 0; side < 2; ++side) {
        const int b = MapByte(10 + side);
        EXPECT_EQ(SetBar(side)->value(), b);
        EXPECT_EQ(Label(QString("LblMapVal%1").arg(side)), QString::asprintf("%02X", b));
        EXPECT_TRUE(Shows(side, b));
    }

    // The last position shows the last two screens.
    map->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(map->value(), 46);
    EXPECT_EQ(Label("LblMapPage"), "2E-2F");
    EXPECT_EQ(C().RightScreen(), 0x2F);
    EXPECT_TRUE(Shows(0, MapByte(0x2E)));
    EXPECT_TRUE(Shows(1, MapByte(0x2F)));
    EXPECT_EQ(Label("LblMapVal1"), QString::asprintf("%02X", MapByte(0x2F)));
    // Past the end nothing moves.
    map->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Label("LblMapPage"), "2E-2F");

    // Positions outside the range are limited to it.
    C().ScrBarMapScroll(200);
    EXPECT_EQ(Label("LblMapPage"), "2E-2F");
    C().ScrBarMapScroll(-3);
    EXPECT_EQ(Label("LblMapPage"), "00-01");
    EXPECT_TRUE(Shows(0, MapByte(0)));

    // Scrolling through the screens writes nothing.
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_FALSE(Modified());
}

TEST_F(MapPageTest, MapSetScrollBarsWriteTheMapOnlyWhenTheyMove) {
    Bar("ScrBarMap")->setValue(4);  // screens 04 and 05
    const int left = MapByte(4), right = MapByte(5);
    ASSERT_LT(left, 29);

    // A move to the position the bar already has is no change: nothing recorded, nothing flagged.
    SetBar(0)->setValue(left);
    SetBar(0)->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_FALSE(Modified());
    EXPECT_EQ(form_->StatusText(0), QString());

    // One step to the right: one undo step "マップの編集", the map flag, the page and the label.
    SetBar(0)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(MapByte(4), left + 1);
    EXPECT_EQ(MapByte(5), right);
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U) - ") + kMapEdit);
    EXPECT_TRUE(Modified());
    EXPECT_EQ(form_->StatusText(0), QString::fromUtf8("変更あり"));
    EXPECT_EQ(Label("LblMapVal0"), QString::asprintf("%02X", left + 1));
    EXPECT_TRUE(Shows(0, left + 1));
    EXPECT_TRUE(Shows(1, right));
    EXPECT_EQ(Label("LblMapPage"), "04-05");

    // A drag over three positions records three steps; dragging back records the changes back.
    SetBar(0)->setSliderPosition(left + 2);
    SetBar(0)->setSliderPosition(left + 3);
    SetBar(0)->setSliderPosition(left + 4);
    EXPECT_EQ(MapByte(4), left + 4);
    EXPECT_EQ(Stage().UndoDepth(), 4u);
    SetBar(0)->setSliderPosition(left);
    EXPECT_EQ(MapByte(4), left);
    EXPECT_EQ(Stage().UndoDepth(), 5u);
    EXPECT_TRUE(Shows(0, left));

    // The right bar writes the right screen.
    SetBar(1)->setValue(31);
    EXPECT_EQ(MapByte(5), 31);
    EXPECT_EQ(MapByte(4), left);
    EXPECT_EQ(Label("LblMapVal1"), "1F");
    EXPECT_TRUE(Shows(1, 31));
    EXPECT_EQ(Stage().UndoDepth(), 6u);
    // At the end of its range another step to the right is no move.
    SetBar(1)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Stage().UndoDepth(), 6u);

    // A press on the bar's arrow moves it like any other scroll.
    const QSize size = SetBar(1)->size();
    QTest::mouseClick(SetBar(1), Qt::LeftButton, Qt::NoModifier, QPoint(4, size.height() / 2));
    EXPECT_EQ(SetBar(1)->value(), 30);
    EXPECT_EQ(MapByte(5), 30);
    EXPECT_EQ(Stage().UndoDepth(), 7u);

    // Called directly, positions outside 0 to 31 are limited to it.
    C().ScrbarEditMapPageXScroll(1, 99);
    EXPECT_EQ(MapByte(5), 31);
    C().ScrbarEditMapPageXScroll(0, -4);
    EXPECT_EQ(MapByte(4), 0);
    EXPECT_TRUE(Shows(0, 0));
    // Only stage 0's map flag is raised.
    for (int s = 1; s < kStageCount; ++s) EXPECT_FALSE(form_->Flags().IsModified(ModifiedCategory::Map, s)) << s;
    for (auto cat : {ModifiedCategory::Chip16x16, ModifiedCategory::Chip32x32, ModifiedCategory::MapSet,
                     ModifiedCategory::Object, ModifiedCategory::Palette})
        EXPECT_FALSE(form_->Flags().IsModified(cat, 0));
}

TEST_F(MapPageTest, UndoAndRedoPutTheScrollBarAndPageBack) {
    Bar("ScrBarMap")->setValue(7);  // screens 07 and 08
    const int before = MapByte(8);
    const int after = (before + 9) % 32;
    SetBar(1)->setValue(after);
    ASSERT_EQ(MapByte(8), after);

    form_->Undo1Click();
    EXPECT_EQ(MapByte(8), before);
    EXPECT_EQ(SetBar(1)->value(), before);
    EXPECT_EQ(Label("LblMapVal1"), QString::asprintf("%02X", before));
    EXPECT_TRUE(Shows(1, before));
    EXPECT_EQ(Label("LblMapPage"), "07-08");  // the screens stay
    EXPECT_EQ(Bar("ScrBarMap")->value(), 7);
    EXPECT_FALSE(Stage().CanUndo());
    // Putting the bar back recorded nothing of its own.
    EXPECT_EQ(Stage().RedoDepth(), 1u);

    form_->Redo1Click();
    EXPECT_EQ(MapByte(8), after);
    EXPECT_EQ(SetBar(1)->value(), after);
    EXPECT_TRUE(Shows(1, after));
    EXPECT_EQ(Stage().UndoDepth(), 1u);

    // After the undo the bar starts from the restored position: a move there is no change.
    form_->Undo1Click();
    SetBar(1)->setValue(before);
    EXPECT_EQ(Stage().UndoDepth(), 0u);
    SetBar(1)->setValue(after);
    EXPECT_EQ(Stage().UndoDepth(), 1u);
}

TEST_F(MapPageTest, ReloadAsksThenReadsTheMapAgainAndEmptiesTheHistory) {
    Bar("ScrBarMap")->setValue(20);
    const int b20 = MapByte(20), b21 = MapByte(21);
    SetBar(0)->setValue((b20 + 1) % 32);
    SetBar(1)->setValue((b21 + 2) % 32);
    ASSERT_EQ(Stage().UndoDepth(), 2u);
    const QString question = QString::fromUtf8("yesno:このステージのマップデータを読み込み直します。よろしいですか？");

    // "No": nothing changes.
    prompts_.yesNoAnswers = {false};
    QTest::mouseClick(Find<QPushButton>("BtnMapEditReload"), Qt::LeftButton);
    EXPECT_EQ(prompts_.log, QStringList{question});
    EXPECT_EQ(MapByte(20), (b20 + 1) % 32);
    EXPECT_EQ(Stage().UndoDepth(), 2u);
    EXPECT_EQ(Label("LblMapPage"), "14-15");

    // "Yes": the map as loaded, no history, screens 00 and 01; the flag stays as it was.
    prompts_.log.clear();
    prompts_.yesNoAnswers = {true};
    QTest::mouseClick(Find<QPushButton>("BtnMapEditReload"), Qt::LeftButton);
    EXPECT_EQ(prompts_.log, QStringList{question});
    EXPECT_EQ(MapByte(20), b20);
    EXPECT_EQ(MapByte(21), b21);
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_FALSE(Stage().CanRedo());
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U)"));
    EXPECT_EQ(Label("LblMapPage"), "00-01");
    EXPECT_EQ(Bar("ScrBarMap")->value(), 0);
    EXPECT_TRUE(Shows(0, MapByte(0)));
    EXPECT_TRUE(Shows(1, MapByte(1)));
    EXPECT_EQ(SetBar(0)->value(), MapByte(0));
    EXPECT_TRUE(Modified());
}

TEST_F(MapPageTest, SaveWritesOnlyTheStagesMapTable) {
    // Stage 3, screens 0x2E and 0x2F.
    SelectStage(3);
    EXPECT_EQ(Label("LblMapPage"), "00-01");
    Bar("ScrBarMap")->setValue(46);
    const int want2e = (MapByte(0x2E) + 5) % 32, want2f = (MapByte(0x2F) + 11) % 32;
    SetBar(0)->setValue(want2e);
    SetBar(1)->setValue(want2f);
    EXPECT_TRUE(form_->Flags().IsModified(ModifiedCategory::Map, 3));
    EXPECT_FALSE(form_->Flags().IsModified(ModifiedCategory::Map, 0));

    ASSERT_TRUE(form_->Save1Click());
    EXPECT_FALSE(Modified());
    EXPECT_EQ(form_->StatusText(0), QString());
    const QByteArray saved = ReadFile(romPath_);
    ASSERT_EQ(std::size_t(saved.size()), OriginalImage().size());
    const int at = MapAddress(3);
    EXPECT_EQ(Differences(saved, OriginalImage()), (std::vector<int>{at + 0x2E, at + 0x2F}));
    EXPECT_EQ(Byte(saved[at + 0x2E]), want2e);
    EXPECT_EQ(Byte(saved[at + 0x2F]), want2f);
    // Stage 0's map is untouched by stage 3's edits.
    SelectStage(0);
    EXPECT_EQ(MapByte(0x2E), OriginalImage()[std::size_t(MapAddress(0)) + 0x2E]);
}

TEST_F(MapPageTest, AnimationTicksRecolourBothPagesWithoutDecodingTiles) {
    Bar("ScrBarMap")->setValue(2);
    const int m0 = MapByte(2), m1 = MapByte(3);
    ASSERT_TRUE(Shows(0, m0));

    // New stage colours, as an animation step leaves them: the page recolours both views from the sheet.
    const std::uint64_t decodes = G().TileDecodeCount();
    const QImage old0 = View(0)->Picture().copy();
    ShiftStagePalette(5);
    C().RefreshColours();
    EXPECT_EQ(G().TileDecodeCount(), decodes);
    EXPECT_NE(View(0)->Picture(), old0);
    EXPECT_TRUE(Shows(0, m0));
    EXPECT_TRUE(Shows(1, m1));

    // The timer itself: tick until a palette animation step changes a colour; the page follows each time.
    QRgb before[16];
    bool changed = false;
    for (int tick = 0; tick < 2000 && !changed; ++tick) {
        for (int i = 0; i < 16; ++i) before[i] = G().GetStagePaletteColor(i);
        form_->FrameTimerTimer();
        for (int i = 0; i < 16; ++i) changed = changed || before[i] != G().GetStagePaletteColor(i);
    }
    ASSERT_TRUE(changed) << "the demo stage's palette never animated";
    EXPECT_EQ(G().TileDecodeCount(), decodes);
    EXPECT_TRUE(Shows(0, m0));
    EXPECT_TRUE(Shows(1, m1));
    EXPECT_EQ(Label("LblMapPage"), "02-03");
    EXPECT_FALSE(Stage().CanUndo());
}

TEST_F(MapPageBadBytesTest, MapBytesNamingNoMapSetShowAnEmptyPage) {
    ASSERT_EQ(MapByte(0), 0x20);
    EXPECT_TRUE(ShowsNoMapSet(0));
    EXPECT_TRUE(ShowsNoMapSet(1));
    EXPECT_EQ(Label("LblMapVal0"), "20");
    EXPECT_EQ(Label("LblMapVal1"), "FF");
    EXPECT_EQ(SetBar(0)->value(), 31);
    EXPECT_EQ(SetBar(1)->value(), 31);
    EXPECT_FALSE(Modified());

    // Recolouring and refreshing keep the empty page.
    ShiftStagePalette(3);
    C().RefreshColours();
    EXPECT_TRUE(ShowsNoMapSet(0));
    form_->RefreshActivePage();
    EXPECT_TRUE(ShowsNoMapSet(1));

    // Screen 2 holds 0x1F, the last map set; screen 3 again nothing.
    Bar("ScrBarMap")->setValue(1);
    EXPECT_TRUE(ShowsNoMapSet(0));
    EXPECT_TRUE(Shows(1, 0x1F));
    EXPECT_EQ(SetBar(1)->value(), 31);
    Bar("ScrBarMap")->setValue(2);
    EXPECT_TRUE(Shows(0, 0x1F));
    EXPECT_TRUE(ShowsNoMapSet(1));
    EXPECT_EQ(Label("LblMapVal1"), "80");

    // Choosing a map set for such a screen writes it; undo brings the byte and the empty page back.
    Bar("ScrBarMap")->setValue(0);
    SetBar(0)->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(MapByte(0), 30);
    EXPECT_EQ(Label("LblMapVal0"), "1E");
    EXPECT_TRUE(Shows(0, 30));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(UndoCaption(), QString::fromUtf8("元に戻す(&U) - ") + kMapEdit);
    form_->Undo1Click();
    EXPECT_EQ(MapByte(0), 0x20);
    EXPECT_TRUE(ShowsNoMapSet(0));
    EXPECT_EQ(Label("LblMapVal0"), "20");
    EXPECT_EQ(SetBar(0)->value(), 31);

    // Saving keeps the bytes the user did not touch as they were.
    SetBar(1)->setValue(3);
    ASSERT_TRUE(form_->Save1Click());
    const QByteArray saved = ReadFile(romPath_);
    const int at = MapAddress(0);
    EXPECT_EQ(Byte(saved[at + 0]), 0x20);
    EXPECT_EQ(Byte(saved[at + 1]), 3);
    EXPECT_EQ(Byte(saved[at + 3]), 0x80);

    // Reload reads the image's bytes again and shows them the same way.
    SetBar(0)->setValue(5);
    prompts_.yesNoAnswers = {true};
    C().BtnMapEditReloadClick();
    EXPECT_EQ(MapByte(0), 0x20);
    EXPECT_TRUE(ShowsNoMapSet(0));
    EXPECT_TRUE(Shows(1, 3));
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
