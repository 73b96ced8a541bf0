// The object page and its list dialog, driven through the real main window on the demo image.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QToolTip>
#include <vector>

#include "editors/ObjectEditForm.h"
#include "editors/objectedit.h"
#include "pagebench.h"

namespace {

using pagebench::BenchOptions;
using pagebench::Rgb;

const QString kTooMany = QString::fromUtf8("オブジェクトの総数を越えるため、オブジェクトを作成できませんでした");
const QString kV0 = "ImgObjectMapPage0";
const QString kV1 = "ImgObjectMapPage1";

struct Obj {
    int x, y, kind;
    bool operator==(const Obj& o) const { return x == o.x && y == o.y && kind == o.kind; }
};

std::ostream& operator<<(std::ostream& os, const Obj& o) {
    return os << "(" << o.x << "," << o.y << "," << o.kind << ")";
}

class ObjectPageTest : public pagebench::PageBench {
protected:
    BenchOptions Options() const override {
        BenchOptions o;
        o.pages = {kPageObject};
        o.objectLines = std::nullopt;  // no "ObjectList.txt": the kinds are named "00" to "FF"
        return o;
    }

    ObjectEditClass& C() { return Controller<ObjectEditClass>(kPageObject); }
    int CurStage() { return form_->Rom().CurrentStage(); }
    bool ObjModified() { return Modified(ModifiedCategory::Object); }

    std::vector<Obj> List(int screen) {
        std::vector<Obj> out;
        for (const ObjectEntry& e : Stage().ScreenObjects(screen)) out.push_back({e.x, e.y, e.kind});
        return out;
    }
    // Replaces a screen's objects (as the image could hold them) and shows the views again.
    void SetObjects(int screen, const std::vector<Obj>& objs) {
        Stage().ClearScreenObjects(screen);
        for (const Obj& o : objs) Stage().AppendObject(screen, o.x, o.y, o.kind);
        C().ScrollTo(C().LeftScreen());
    }
    // Fills screens from 40 on with objects until the stage holds total objects.
    void FillStageTo(int total) {
        int screen = 40;
        while (Stage().ObjectTotal() < total) {
            if (Stage().ScreenObjectCount(screen) >= 20) ++screen;
            Stage().AppendObject(screen, 10 * Stage().ScreenObjectCount(screen), 100, 1);
        }
    }
    QRgb Pixel(const QString& view, int x, int y) { return Rgb(View(view)->Picture().pixel(x, y)); }
    QRgb White() { return Rgb(G().MasterColor(EditorGraphics::kWhite)); }
    QMenu* Menu() { return Find<QMenu>("PopupMenuObjectEdit"); }
    QAction* Item(const char* name) { return Find<QAction>(name); }
    // Hovers, then presses and releases the left button at (x, y).
    void Select(const QString& view, int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier) {
        Move(view, x, y);
        Press(view, x, y, Qt::LeftButton, m);
        Release(view, x, y, Qt::LeftButton, m);
    }
    // Grabs the object at (x0, y0) and drags it to (x1, y1) (which may lie outside the view).
    void Drag(const QString& view, int x0, int y0, int x1, int y1, Qt::KeyboardModifiers m = Qt::NoModifier) {
        Move(view, x0, y0);
        Press(view, x0, y0);
        Move(view, x1, y1, Qt::LeftButton, m);
        Release(view, x1, y1);
    }
    void RightPress(const QString& view, int x, int y) {
        Move(view, x, y);
        Press(view, x, y, Qt::RightButton);
        Release(view, x, y, Qt::RightButton);
    }
    void Choose(const char* item) {
        QAction* a = Item(item);
        ASSERT_NE(a, nullptr) << item;
        ASSERT_TRUE(a->isEnabled()) << item;
        a->trigger();
        Menu()->hide();
    }
};

// ---------------------------------------------------------------------------------------------------------
// Layout and the state after an open

TEST_F(ObjectPageTest, PageHoldsItsControlsAtTheirPlaces) {
    EXPECT_EQ(form_->PageControl()->tabText(kPageObject), QString::fromUtf8("オブジェクト"));
    TImageEx* v0 = View(kV0);
    TImageEx* v1 = View(kV1);
    ASSERT_TRUE(v0 && v1);
    EXPECT_EQ(v0->geometry(), QRect(40, 16, 256, 256));
    EXPECT_EQ(v1->geometry(), QRect(298, 16, 256, 256));
    EXPECT_EQ(v0->Tag(), 0);
    EXPECT_EQ(v1->Tag(), 1);
    auto* bar = Find<QScrollBar>("ScrBarObjectMap");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(40, 272, 515, 16));
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 46);

    QStringList groups;
    for (QGroupBox* g : Page(kPageObject)->findChildren<QGroupBox*>()) groups << g->title();
    EXPECT_TRUE(groups.contains(QString::fromUtf8("表示オブジェクト")));
    EXPECT_TRUE(groups.contains(QString::fromUtf8("編集対象オブジェクト")));
    for (QGroupBox* g : Page(kPageObject)->findChildren<QGroupBox*>()) {
        if (g->title() == QString::fromUtf8("表示オブジェクト")) {
            EXPECT_EQ(g->geometry(), QRect(32, 304, 201, 105));
        }
        if (g->title() == QString::fromUtf8("編集対象オブジェクト")) {
            EXPECT_EQ(g->geometry(), QRect(240, 304, 321, 153));
        }
    }
    QStringList captions;
    for (QLabel* l : Page(kPageObject)->findChildren<QLabel*>()) captions << l->text().trimmed();
    for (const char* t : {"表示部屋番号:", "オブジェクトの数:", "オブジェクト総数:", "設置番号:", "部屋番号:", "X座標:",
                          "Y座標:", "種類:"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(t))) << t;

    auto* sort = Find<QCheckBox>("ChkSortObjectList");
    auto* hint = Find<QCheckBox>("ChkPopupHint");
    ASSERT_TRUE(sort && hint);
    EXPECT_EQ(sort->pos(), QPoint(16, 416));
    EXPECT_EQ(hint->pos(), QPoint(16, 440));
    EXPECT_EQ(sort->text(), QString::fromUtf8("オブジェクトを自動で並び替える"));
    EXPECT_EQ(hint->text(), QString::fromUtf8("ポップアップでオブジェクト情報を表示"));
    EXPECT_TRUE(sort->isChecked());
    EXPECT_TRUE(hint->isChecked());
    auto* reload = Find<QPushButton>("BtnObjectEditReload");
    ASSERT_NE(reload, nullptr);
    EXPECT_EQ(reload->geometry(), QRect(8, 472, 75, 25));
    EXPECT_EQ(reload->text(), QString::fromUtf8("再読み込み"));
    EXPECT_EQ(Find<QPushButton>("BtnObjectCreate")->text(), QString::fromUtf8("新規作成"));
    EXPECT_EQ(Find<QPushButton>("BtnObjectRemove")->text(), QString::fromUtf8("削除"));
    ASSERT_NE(Find<QWidget>("UDObjectX"), nullptr);
    ASSERT_NE(Find<QWidget>("UDObjectY"), nullptr);

    auto* kinds = Find<QComboBox>("CBSelectObject");
    ASSERT_NE(kinds, nullptr);
    EXPECT_EQ(kinds->width(), 233);
    EXPECT_FALSE(kinds->isEditable());
    EXPECT_EQ(kinds->maxVisibleItems(), 12);
    ASSERT_EQ(kinds->count(), 256);
    EXPECT_EQ(kinds->itemText(0), "00");
    EXPECT_EQ(kinds->itemText(0xFF), "FF");

    QMenu* menu = Menu();
    ASSERT_NE(menu, nullptr);
    QStringList items, names;
    for (QAction* a : menu->actions()) {
        items << a->text();
        names << a->objectName();
    }
    EXPECT_EQ(items,
              QStringList({QString::fromUtf8("オブジェクトの新規作成"), QString::fromUtf8("このオブジェクトをコピー"),
                           QString::fromUtf8("このオブジェクトを切り取り"), QString::fromUtf8("オブジェクトを貼り付け"),
                           QString::fromUtf8("このオブジェクトを削除"), QString::fromUtf8("キャンセル")}));
    EXPECT_EQ(names, QStringList({"MenuCreateObject", "MenuCopyObject", "MenuCutObject", "MenuPasteObject",
                                  "MenuRemoveObject", ""}));
}

TEST_F(ObjectPageTest, AfterAnOpenNoObjectIsSelectedAndTheCountsShowScreensZeroAndOne) {
    EXPECT_EQ(Label("LblObjectRoom"), "00-01");
    EXPECT_EQ(Label("LblObjectNum"),
              QString("%1-%2").arg(Stage().ScreenObjectCount(0)).arg(Stage().ScreenObjectCount(1)));
    EXPECT_EQ(Label("LblObjectSum"), QString("%1 / 127").arg(Stage().ObjectTotal()));
    EXPECT_GT(Stage().ObjectTotal(), 0);
    for (const char* l : {"LblObjectIndex", "LblObjectScreen", "LblObjectX", "LblObjectY"})
        EXPECT_EQ(Label(l), "--") << l;
    EXPECT_FALSE(Find<QComboBox>("CBSelectObject")->isEnabled());
    EXPECT_EQ(Find<QComboBox>("CBSelectObject")->currentText(), "");
    EXPECT_TRUE(Find<QPushButton>("BtnObjectCreate")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("BtnObjectRemove")->isEnabled());
    EXPECT_FALSE(Find<QWidget>("UDObjectX")->isEnabled());
    EXPECT_FALSE(Find<QWidget>("UDObjectY")->isEnabled());

    Find<QScrollBar>("ScrBarObjectMap")->setValue(0x2E);
    EXPECT_EQ(Label("LblObjectRoom"), "2E-2F");
    EXPECT_EQ(Label("LblObjectNum"),
              QString("%1-%2").arg(Stage().ScreenObjectCount(46)).arg(Stage().ScreenObjectCount(47)));
    C().ScrollTo(60);  // clamped: the right screen is the last one
    EXPECT_EQ(C().LeftScreen(), 46);
    C().ScrollTo(-3);
    EXPECT_EQ(C().LeftScreen(), 0);
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

TEST_F(ObjectPageTest, ViewsShowTheMapSetsWithAMarkerPerObject) {
    SetObjects(1, {{64, 64, 0x2A}});
    SetObjects(2, {{128, 100, 0x07}, {200, 30, 0x10}});
    C().ScrollTo(1);
    for (int v = 0; v < 2; ++v) {
        const QString name = v ? kV1 : kV0;
        const int screen = 1 + v;
        QImage ref = G().CreateViewBitmap(256, 256);
        G().DrawMapSet(ref, Stage().MapSet(Stage().Map()[screen]));
        // Away from every marker the view is its map set.
        for (int y = 0; y < 256; y += 5)
            for (int x = 0; x < 256; x += 7) {
                bool nearMarker = false;
                for (const Obj& o : List(screen)) nearMarker |= std::abs(x - o.x) <= 24 && std::abs(y - o.y) <= 24;
                if (!nearMarker) {
                    ASSERT_EQ(Pixel(name, x, y), Rgb(ref.pixel(x, y))) << screen << " " << x << "," << y;
                }
            }
    }
    // The marker: a 16-pixel white square from (X - 8, Y - 8) to (X + 7, Y + 7).
    for (auto [x, y] : {std::pair{56, 56}, {71, 56}, {56, 71}, {71, 71}, {63, 56}, {56, 63}})
        EXPECT_EQ(Pixel(kV0, x, y), White()) << x << "," << y;
    // Its kind is written inside it in white.
    int white = 0;
    for (int y = 58; y <= 69; ++y)
        for (int x = 58; x <= 69; ++x) white += Pixel(kV0, x, y) == White();
    EXPECT_GT(white, 8);
}

TEST_F(ObjectPageTest, HoverAndSelectionFramesSurroundTheObject) {
    SetObjects(0, {{100, 100, 1}, {200, 200, 2}});
    const QImage before = View(kV0)->Picture().copy();
    Move(kV0, 104, 96);
    EXPECT_EQ(C().Hovered(), &Stage().ScreenObjects(0).front());
    // The hover frame: 24 pixels wide, from (X - 12, Y - 12) to (X + 11, Y + 11).
    EXPECT_EQ(Pixel(kV0, 88, 88), White());
    EXPECT_EQ(Pixel(kV0, 111, 111), White());
    EXPECT_EQ(Pixel(kV0, 88, 100), White());
    EXPECT_NE(Pixel(kV0, 84, 84), White());
    Press(kV0, 104, 96);
    Release(kV0, 104, 96);
    // The selection frame: 32 pixels wide, from (X - 16, Y - 16) to (X + 15, Y + 15).
    EXPECT_EQ(Pixel(kV0, 84, 84), White());
    EXPECT_EQ(Pixel(kV0, 115, 115), White());
    EXPECT_EQ(Pixel(kV0, 100, 84), White());

    // Moving to the other object: the hover frame follows, the selection frame stays.
    Move(kV0, 200, 200);
    EXPECT_EQ(Pixel(kV0, 188, 188), White());
    EXPECT_EQ(Pixel(kV0, 88, 88), Rgb(before.pixel(88, 88)));
    EXPECT_EQ(Pixel(kV0, 84, 84), White());
    // Away from both, only the selection frame is left.
    Move(kV0, 150, 30);
    EXPECT_EQ(C().Hovered(), nullptr);
    EXPECT_EQ(Pixel(kV0, 188, 188), Rgb(before.pixel(188, 188)));
    EXPECT_EQ(Pixel(kV0, 84, 84), White());
}

TEST_F(ObjectPageTest, APointerMoveWithNothingChangedDrawsOnlyTheFrames) {
    SetObjects(0, {{100, 100, 1}});
    Move(kV0, 100, 100);
    Press(kV0, 100, 100);
    Release(kV0, 100, 100);
    Move(kV0, 30, 200);  // nothing hovered: one full redraw to take the hover frame away
    const std::uint64_t redraws = C().FullRedrawCount();
    // A pixel marked by hand survives moves that change nothing: the views are not drawn again.
    View(kV0)->Picture().setPixel(5, 5, qRgb(1, 2, 3));
    Move(kV0, 31, 200);
    Move(kV0, 40, 210);
    EXPECT_EQ(C().FullRedrawCount(), redraws);
    EXPECT_EQ(Pixel(kV0, 5, 5), qRgb(1, 2, 3) & 0xFFFFFFu);
    EXPECT_EQ(Pixel(kV0, 84, 84), White());  // the selection frame is drawn again
    // Hovering an object changes the hovered object: both views are drawn anew.
    Move(kV0, 101, 101);
    EXPECT_EQ(C().FullRedrawCount(), redraws + 1);
    EXPECT_NE(Pixel(kV0, 5, 5), qRgb(1, 2, 3) & 0xFFFFFFu);
    Move(kV0, 102, 101);  // the same object: no redraw
    EXPECT_EQ(C().FullRedrawCount(), redraws + 1);
}

TEST_F(ObjectPageTest, ColourRefreshRecoloursWithoutDecodingTiles) {
    SetObjects(0, {{100, 100, 1}});
    Select(kV0, 100, 100);
    // A new colour for every stage palette entry, as an animation step gives.
    for (int i = 0; i < 16; ++i) G().SetStagePaletteEntry(i, (0x21 + 3 * i) & 0x3F);
    const std::uint64_t decodes = G().TileDecodeCount();
    C().RefreshColours();
    EXPECT_EQ(G().TileDecodeCount(), decodes);
    const IndexedBitmap& sheet = G().ChipSheet32();
    const Byte* set = Stage().MapSet(Stage().Map()[0]);
    for (int y = 0; y < 64; y += 3)
        for (int x = 0; x < 64; x += 3) {
            const int m = set[8 * (y / 32) + x / 32];
            const int value = sheet.Pixel(32 * (m % 16) + x % 32, 32 * (m / 16) + y % 32);
            ASSERT_EQ(Pixel(kV0, x, y), Rgb(G().GetStagePaletteColor(value))) << x << "," << y;
        }
    EXPECT_EQ(Pixel(kV0, 84, 84), White());  // the selection frame comes back with the refresh
}

TEST_F(ObjectPageTest, ScreenWhoseMapEntryNamesNoMapSetShowsBlackWithItsMarkers) {
    // Map bytes above 0x1F only come from an image; the page shows no map set for them.
    Stage().SetMapEntry(3, 0x80);
    SetObjects(3, {{50, 50, 9}});
    C().ScrollTo(2);
    const QRgb black = Rgb(G().MasterColor(0x0F));
    EXPECT_EQ(Pixel(kV1, 200, 200), black);
    EXPECT_EQ(Pixel(kV1, 42, 42), White());
}

// ---------------------------------------------------------------------------------------------------------
// Hit test and dragging

TEST_F(ObjectPageTest, HitTestCoversNineteenPixelsAndTheEarlierObjectWins) {
    SetObjects(0, {{100, 100, 1}, {105, 100, 2}});
    auto first = &Stage().ScreenObjects(0).front();
    Move(kV0, 109, 91);
    EXPECT_EQ(C().Hovered(), first);
    EXPECT_EQ(C().HoveredScreen(), 0);
    Move(kV0, 91, 109);
    EXPECT_EQ(C().Hovered(), first);
    Move(kV0, 90, 100);
    EXPECT_EQ(C().Hovered(), nullptr);
    Move(kV0, 100, 110);
    EXPECT_EQ(C().Hovered(), nullptr);
    Move(kV0, 113, 100);  // only the second object is within 9 pixels
    EXPECT_EQ(C().Hovered(), &Stage().ScreenObjects(0).back());

    // Of the two, the earlier is dragged, and it stays the one dragged over the other.
    Drag(kV0, 103, 100, 160, 40);
    EXPECT_EQ(List(0), (std::vector<Obj>{{105, 100, 2}, {160, 40, 1}}));
}

TEST_F(ObjectPageTest, DraggingMovesTheGrabbedObjectAndSelectsIt) {
    Find<QCheckBox>("ChkSortObjectList")->setChecked(false);
    SetObjects(1, {{40, 40, 3}, {120, 120, 4}});
    C().ScrollTo(1);
    ASSERT_FALSE(ObjModified());
    Move(kV0, 40, 40);
    Press(kV0, 40, 40);
    EXPECT_EQ(Label("LblObjectScreen"), "01");
    // The point jumps to the pointer; passing over another object does not change the grabbed one.
    Move(kV0, 120, 121, Qt::LeftButton);
    Move(kV0, 130, 140, Qt::LeftButton);
    Release(kV0, 130, 140);
    EXPECT_EQ(List(1), (std::vector<Obj>{{130, 140, 3}, {120, 120, 4}}));
    EXPECT_EQ(Label("LblObjectX"), "82");
    EXPECT_EQ(Label("LblObjectY"), "8C");
    EXPECT_TRUE(ObjModified());
    EXPECT_EQ(form_->StatusText(0), QString::fromUtf8("変更あり"));
    // The marker is drawn at its new place.
    EXPECT_EQ(Pixel(kV0, 122, 132), White());
}

TEST_F(ObjectPageTest, CtrlAndShiftSnapTheDragAndBothTogetherHoldTheObject) {
    SetObjects(0, {{50, 50, 1}});
    Drag(kV0, 50, 50, 13, 22, Qt::ControlModifier);
    EXPECT_EQ(List(0), (std::vector<Obj>{{8, 16, 1}}));
    Drag(kV0, 8, 16, 13, 22, Qt::ShiftModifier);
    EXPECT_EQ(List(0), (std::vector<Obj>{{12, 20, 1}}));
    Drag(kV0, 12, 20, 90, 90, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(List(0), (std::vector<Obj>{{12, 20, 1}}));
}

TEST_F(ObjectPageTest, DraggingPastTheViewsEdgeClampsOnTheObjectsOwnScreen) {
    SetObjects(0, {{200, 100, 1}});
    SetObjects(1, {});
    Move(kV0, 200, 100);
    Press(kV0, 200, 100);
    Move(kV0, 300, 100, Qt::LeftButton);  // over the right view
    Move(kV0, 400, -40, Qt::LeftButton);  // past it and above
    Release(kV0, 400, -40);
    EXPECT_EQ(List(0), (std::vector<Obj>{{255, 0, 1}}));
    EXPECT_TRUE(List(1).empty());
    Drag(kV0, 250, 5, -30, 900);
    EXPECT_EQ(List(0), (std::vector<Obj>{{0, 255, 1}}));
    // A drag that starts on nothing moves nothing.
    Drag(kV0, 128, 128, 20, 20);
    EXPECT_EQ(List(0), (std::vector<Obj>{{0, 255, 1}}));
}

TEST_F(ObjectPageTest, DragHidesThePopupInformation) {
    SetObjects(0, {{100, 100, 5}});
    Move(kV0, 100, 100);
    EXPECT_FALSE(View(kV0)->toolTip().isEmpty());
    Press(kV0, 100, 100);
    Move(kV0, 110, 100, Qt::LeftButton);
    EXPECT_TRUE(View(kV0)->toolTip().isEmpty());
    EXPECT_FALSE(QToolTip::isVisible());
    Release(kV0, 110, 100);
}

// ---------------------------------------------------------------------------------------------------------
// Sorting

TEST_F(ObjectPageTest, WithSortingADragReordersTheScreenAndThePlacementNumberFollows) {
    SetObjects(0, {});
    SetObjects(1, {{1, 1, 0xA0}});
    SetObjects(2, {{30, 50, 0}, {60, 50, 1}, {90, 50, 2}, {90, 120, 3}});
    C().ScrollTo(2);
    Select(kV0, 30, 50);
    EXPECT_EQ(Label("LblObjectIndex"), "01");
    Drag(kV0, 30, 50, 200, 50);
    EXPECT_EQ(List(2), (std::vector<Obj>{{60, 50, 1}, {90, 50, 2}, {90, 120, 3}, {200, 50, 0}}));
    EXPECT_EQ(Label("LblObjectIndex"), "04");
    // Equal X keep their order.
    Drag(kV0, 200, 50, 90, 200);
    EXPECT_EQ(List(2), (std::vector<Obj>{{60, 50, 1}, {90, 50, 2}, {90, 120, 3}, {90, 200, 0}}));
    // A nudge never sorts.
    Select(kV0, 60, 50);
    for (int i = 0; i < 40; ++i) Find<QToolButton>("UDObjectXRight")->click();
    EXPECT_EQ(List(2), (std::vector<Obj>{{100, 50, 1}, {90, 50, 2}, {90, 120, 3}, {90, 200, 0}}));
    EXPECT_EQ(Label("LblObjectIndex"), "01");

    // Without the tick a drag keeps the list order.
    Find<QCheckBox>("ChkSortObjectList")->setChecked(false);
    Drag(kV0, 100, 50, 10, 10);
    EXPECT_EQ(List(2), (std::vector<Obj>{{10, 10, 1}, {90, 50, 2}, {90, 120, 3}, {90, 200, 0}}));
}

// ---------------------------------------------------------------------------------------------------------
// The pop-up menu

TEST_F(ObjectPageTest, MenuOnAnEmptyPlaceOffersCreateOnlyUntilSomethingIsCopied) {
    SetObjects(0, {{100, 100, 0x2A}});
    RightPress(kV0, 30, 30);
    QMenu* menu = Menu();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(Item("MenuCreateObject")->isEnabled());
    EXPECT_FALSE(Item("MenuCopyObject")->isEnabled());
    EXPECT_FALSE(Item("MenuCutObject")->isEnabled());
    EXPECT_FALSE(Item("MenuRemoveObject")->isEnabled());
    EXPECT_FALSE(Item("MenuPasteObject")->isEnabled());
    EXPECT_EQ(Item("MenuPasteObject")->text(), QString::fromUtf8("オブジェクトを貼り付け"));
    menu->hide();

    RightPress(kV0, 102, 98);
    EXPECT_TRUE(Item("MenuCopyObject")->isEnabled());
    EXPECT_TRUE(Item("MenuCutObject")->isEnabled());
    EXPECT_TRUE(Item("MenuRemoveObject")->isEnabled());
    Choose("MenuCopyObject");
    EXPECT_EQ(C().KindClipboard(), 0x2A);
    EXPECT_FALSE(ObjModified());

    RightPress(kV1, 30, 40);
    EXPECT_TRUE(Item("MenuPasteObject")->isEnabled());
    EXPECT_EQ(Item("MenuPasteObject")->text(), QString::fromUtf8("オブジェクト(2A)を貼り付け"));
    EXPECT_FALSE(Item("MenuCopyObject")->isEnabled());
    menu->hide();
}

TEST_F(ObjectPageTest, MenuCreatePasteCutAndRemoveWorkAtTheRightPress) {
    SetObjects(0, {{100, 100, 0x2A}});
    SetObjects(1, {{200, 30, 0x11}});
    const int total = Stage().ObjectTotal();

    RightPress(kV1, 20, 240);
    Choose("MenuCreateObject");
    EXPECT_EQ(List(1), (std::vector<Obj>{{20, 240, 0}, {200, 30, 0x11}}));  // sorted by X
    EXPECT_EQ(C().Selected(), nullptr);
    EXPECT_EQ(Label("LblObjectSum"), QString("%1 / 127").arg(total + 1));
    EXPECT_EQ(Label("LblObjectNum"), QString("1-2"));
    EXPECT_TRUE(ObjModified());
    // It shows at the next pointer move.
    Move(kV1, 120, 120);
    EXPECT_EQ(Pixel(kV1, 12, 232), White());

    RightPress(kV0, 100, 100);
    Choose("MenuCutObject");
    EXPECT_TRUE(List(0).empty());
    EXPECT_EQ(C().KindClipboard(), 0x2A);
    EXPECT_EQ(C().Hovered(), nullptr);
    RightPress(kV0, 60, 70);
    Choose("MenuPasteObject");
    EXPECT_EQ(List(0), (std::vector<Obj>{{60, 70, 0x2A}}));

    // Removing the selected object through the menu clears the selection.
    Select(kV0, 60, 70);
    ASSERT_NE(C().Selected(), nullptr);
    RightPress(kV0, 60, 70);
    Choose("MenuRemoveObject");
    EXPECT_TRUE(List(0).empty());
    EXPECT_EQ(C().Selected(), nullptr);
    EXPECT_EQ(Label("LblObjectIndex"), "--");
    EXPECT_TRUE(Find<QPushButton>("BtnObjectCreate")->isEnabled());
    EXPECT_EQ(Label("LblObjectSum"), QString("%1 / 127").arg(total));

    // The clipboard survives a stage change.
    SelectStage(3);
    EXPECT_EQ(C().KindClipboard(), 0x2A);
    RightPress(kV0, 5, 6);
    EXPECT_EQ(Item("MenuPasteObject")->text(), QString::fromUtf8("オブジェクト(2A)を貼り付け"));
    Menu()->hide();
}

TEST_F(ObjectPageTest, AtOneHundredTwentySevenObjectsNothingCanBeCreated) {
    SetObjects(0, {});
    FillStageTo(126);
    SetObjects(0, {{100, 100, 3}});
    ASSERT_EQ(Stage().ObjectTotal(), 127);
    C().Reset();
    const std::vector<Obj> screen0 = List(0);

    RightPress(kV0, 30, 30);
    Choose("MenuCreateObject");
    RightPress(kV0, 100, 100);
    Choose("MenuCopyObject");
    RightPress(kV0, 40, 40);
    Choose("MenuPasteObject");
    Move(kV0, 200, 200);
    Press(kV0, 200, 200);
    Release(kV0, 200, 200);
    Find<QPushButton>("BtnObjectCreate")->click();
    EXPECT_EQ(prompts_.Messages(), QStringList({kTooMany, kTooMany, kTooMany}));
    EXPECT_EQ(Stage().ObjectTotal(), 127);
    EXPECT_EQ(List(0), screen0);
    EXPECT_FALSE(ObjModified());

    // The list dialog can still rewrite a screen, keeping as many lines as fit.
    prompts_.dialogHook = [](QDialog& d, const QString&) {
        static_cast<TObjectEditForm&>(d).SetListText("01 02 03\r\n04 05 06\r\n07 08 09\r\n");
        return int(QDialog::Accepted);
    };
    Select(kV0, 5, 250, Qt::ShiftModifier);
    EXPECT_EQ(List(0), (std::vector<Obj>{{1, 2, 3}}));
    EXPECT_EQ(Stage().ObjectTotal(), 127);
    EXPECT_TRUE(ObjModified());
}

// ---------------------------------------------------------------------------------------------------------
// Buttons, kind and nudges

TEST_F(ObjectPageTest, CreateButtonUsesTheLastLeftPressOnTheScreenNowShown) {
    SetObjects(0, {});
    // After a reset with no left press: (0, 0) on the left screen.
    Find<QPushButton>("BtnObjectCreate")->click();
    EXPECT_EQ(List(0), (std::vector<Obj>{{0, 0, 0}}));
    EXPECT_EQ(C().Selected(), &Stage().ScreenObjects(0).front());
    EXPECT_EQ(Label("LblObjectIndex"), "00");
    EXPECT_FALSE(Find<QPushButton>("BtnObjectCreate")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>("BtnObjectRemove")->isEnabled());
    EXPECT_TRUE(Find<QComboBox>("CBSelectObject")->isEnabled());
    EXPECT_EQ(Find<QComboBox>("CBSelectObject")->currentText(), "00");
    EXPECT_TRUE(ObjModified());
    EXPECT_EQ(Pixel(kV0, 15, 15), White());  // the selection frame, clipped at the view's corner

    SetObjects(1, {});
    SetObjects(6, {{10, 10, 1}});
    Move(kV1, 77, 88);
    Press(kV1, 77, 88);  // an empty place on screen 1
    Release(kV1, 77, 88);
    Find<QScrollBar>("ScrBarObjectMap")->setValue(5);
    Find<QPushButton>("BtnObjectCreate")->click();
    EXPECT_EQ(List(6), (std::vector<Obj>{{10, 10, 1}, {77, 88, 0}}));
    EXPECT_EQ(Label("LblObjectScreen"), "06");
    EXPECT_EQ(Label("LblObjectNum"), QString("%1-2").arg(Stage().ScreenObjectCount(5)));
}

TEST_F(ObjectPageTest, RemoveButtonTakesTheSelectedObjectAway) {
    SetObjects(0, {{50, 50, 1}, {150, 150, 2}});
    const int total = Stage().ObjectTotal();
    Select(kV0, 150, 150);
    Find<QPushButton>("BtnObjectRemove")->click();
    EXPECT_EQ(List(0), (std::vector<Obj>{{50, 50, 1}}));
    EXPECT_EQ(C().Selected(), nullptr);
    EXPECT_EQ(C().Hovered(), nullptr);
    EXPECT_EQ(Label("LblObjectX"), "--");
    EXPECT_EQ(Label("LblObjectSum"), QString("%1 / 127").arg(total - 1));
    EXPECT_FALSE(Find<QPushButton>("BtnObjectRemove")->isEnabled());
    EXPECT_TRUE(ObjModified());
    EXPECT_NE(Pixel(kV0, 142, 142), White());  // no marker left there
}

TEST_F(ObjectPageTest, KindSelectorRetypesTheSelectedObject) {
    SetObjects(0, {{100, 100, 0x05}});
    Select(kV0, 100, 100);
    auto* kinds = Find<QComboBox>("CBSelectObject");
    EXPECT_EQ(kinds->currentIndex(), 5);
    kinds->setCurrentIndex(5);
    EXPECT_FALSE(ObjModified());
    const QImage before = View(kV0)->Picture().copy();
    kinds->setCurrentIndex(0xC8);
    EXPECT_EQ(List(0), (std::vector<Obj>{{100, 100, 0xC8}}));
    EXPECT_TRUE(ObjModified());
    EXPECT_NE(View(kV0)->Picture().copy(94, 94, 12, 12), before.copy(94, 94, 12, 12));  // the number changed
    EXPECT_EQ(Pixel(kV0, 84, 84), White());
}

TEST_F(ObjectPageTest, UpDownsNudgeByOnePixelAndClamp) {
    SetObjects(0, {{1, 254, 7}});
    Select(kV0, 1, 254);
    auto* right = Find<QToolButton>("UDObjectXRight");
    auto* left = Find<QToolButton>("UDObjectXLeft");
    auto* up = Find<QToolButton>("UDObjectYUp");
    auto* down = Find<QToolButton>("UDObjectYDown");
    ASSERT_TRUE(right && left && up && down);
    left->click();
    left->click();
    EXPECT_EQ(List(0), (std::vector<Obj>{{0, 254, 7}}));
    right->click();
    down->click();
    down->click();
    EXPECT_EQ(List(0), (std::vector<Obj>{{1, 255, 7}}));
    up->click();
    EXPECT_EQ(List(0), (std::vector<Obj>{{1, 254, 7}}));
    EXPECT_EQ(Label("LblObjectX"), "01");
    EXPECT_EQ(Label("LblObjectY"), "FE");
    EXPECT_TRUE(ObjModified());
    // The selection frame follows at once.
    EXPECT_EQ(Pixel(kV0, 16, 238), White());
}

// ---------------------------------------------------------------------------------------------------------
// Pop-up information

TEST_F(ObjectPageTest, PopupInformationNamesThePlacementPositionAndKind) {
    SetObjects(0, {});
    SetObjects(1, {{10, 10, 1}, {120, 60, 0x05}});
    C().ScrollTo(1);
    QWidget* window = View(kV0)->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    // Through the window system, as a real pointer move, which is what starts the platform's tool-tip delay.
    QTest::mouseMove(View(kV0), QPoint(121, 61));
    // Nothing on screen 0, so the second object of screen 1 is placement number 1.
    const QString expected = QString::fromUtf8("設置番号:01\r\nX座標:78\r\nY座標:3C\r\n種類:\r\n05");
    EXPECT_EQ(View(kV0)->toolTip(), expected);
    // Shown as the platform shows tool-tips: after its delay, for ten seconds.
    EXPECT_FALSE(QToolTip::isVisible());
    for (int i = 0; i < 150 && !QToolTip::isVisible(); ++i) QTest::qWait(20);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), expected);
    EXPECT_EQ(View(kV0)->toolTipDuration(), 10000);
    Move(kV0, 200, 200);
    EXPECT_TRUE(View(kV0)->toolTip().isEmpty());

    Find<QCheckBox>("ChkPopupHint")->setChecked(false);
    Move(kV0, 120, 60);
    EXPECT_EQ(C().Hovered(), &Stage().ScreenObjects(1).back());
    EXPECT_TRUE(View(kV0)->toolTip().isEmpty());
}

// ---------------------------------------------------------------------------------------------------------
// The list dialog

TEST_F(ObjectPageTest, ShiftPressOnAnEmptyPlaceOpensTheListOfThatScreen) {
    SetObjects(4, {{0x10, 0x20, 0x03}, {0xF0, 0x08, 0xAB}});
    C().ScrollTo(3);
    QString caption, text, memo;
    prompts_.dialogHook = [&](QDialog& d, const QString& name) {
        EXPECT_EQ(name, "ObjectEditForm");
        caption = d.windowTitle();
        text = static_cast<TObjectEditForm&>(d).ListText();
        memo = d.findChild<QPlainTextEdit*>("MemoObjectEdit")->toPlainText();
        return int(QDialog::Rejected);
    };
    Select(kV1, 100, 200, Qt::ShiftModifier);
    EXPECT_EQ(prompts_.log, QStringList({"dialog:ObjectEditForm"}));
    EXPECT_EQ(caption, QString::fromUtf8("部屋番号04のオブジェクトの編集"));
    EXPECT_EQ(text, "10 20 03\r\nF0 08 AB\r\n");
    EXPECT_EQ(memo, "10 20 03\nF0 08 AB\n");
    // Cancel changes nothing.
    EXPECT_EQ(List(4), (std::vector<Obj>{{0x10, 0x20, 3}, {0xF0, 8, 0xAB}}));
    EXPECT_FALSE(ObjModified());

    // Shift with a press on an object selects it and opens nothing.
    prompts_.log.clear();
    Select(kV1, 0x10, 0x20, Qt::ShiftModifier);
    EXPECT_TRUE(prompts_.log.isEmpty());
    EXPECT_EQ(Label("LblObjectX"), "10");

    // A screen without objects gives an empty text.
    SetObjects(3, {});
    Select(kV0, 100, 100, Qt::ShiftModifier);
    EXPECT_EQ(text, "");
}

TEST_F(ObjectPageTest, ListTextIsReadTokenByTokenAndNeverSorted) {
    SetObjects(2, {{1, 1, 1}});
    prompts_.dialogHook = [](QDialog& d, const QString&) {
        auto& f = static_cast<TObjectEditForm&>(d);
        f.Memo()->setPlainText(
            "10 20 3 word\n"
            "10 20\n"
            "1G 20 30\n"
            "\t5\t\t6   7\n"
            "   80    90\tA\n"
            "1FF 100 FFFFFFFF\n"
            "\n"
            "40 zz 01\n"
            "123456789 1 1\n"
            "000000010 0000000000021 0000000003FF\n"
            "0C 0D 0E");
        f.OkButton()->click();
        return f.result();
    };
    C().ScrollTo(2);
    Select(kV0, 128, 250, Qt::ShiftModifier);
    EXPECT_EQ(
        List(2),
        (std::vector<Obj>{
            {0x10, 0x20, 3}, {5, 6, 7}, {0x80, 0x90, 0x0A}, {0xFF, 0, 0xFF}, {0x10, 0x21, 0xFF}, {0x0C, 0x0D, 0x0E}}));
    EXPECT_TRUE(ObjModified());
    EXPECT_EQ(Label("LblObjectNum"), QString("6-%1").arg(Stage().ScreenObjectCount(3)));
    // The views show the new list at once.
    EXPECT_EQ(Pixel(kV0, 0x10 - 8, 0x20 - 8), White());
}

TEST(ObjectEditFormTest, DialogHasItsFixedLayout) {
    TObjectEditForm form;
    EXPECT_EQ(form.objectName(), "ObjectEditForm");
    EXPECT_EQ(form.size(), QSize(268, 301));
    auto* memo = form.findChild<QPlainTextEdit*>("MemoObjectEdit");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->geometry(), QRect(16, 32, 241, 201));
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(QFontInfo(memo->font()).fixedPitch());
    auto* ok = form.findChild<QPushButton*>("BtnOK");
    auto* cancel = form.findChild<QPushButton*>("BtnCancel");
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->geometry(), QRect(96, 256, 75, 25));
    EXPECT_EQ(cancel->geometry(), QRect(184, 256, 75, 25));
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(cancel->text(), QString::fromUtf8("キャンセル"));
    bool found = false;
    for (QLabel* l : form.findChildren<QLabel*>())
        if (l->text() == QString::fromUtf8("\"X座標 Y座標 種類\"を1列に記述して下さい")) {
            found = true;
            EXPECT_EQ(l->pos(), QPoint(16, 8));
        }
    EXPECT_TRUE(found);
    cancel->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    ok->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

// ---------------------------------------------------------------------------------------------------------
// Reload and save

TEST_F(ObjectPageTest, ReloadAsksAndBringsBackTheObjectsOfTheLastLoad) {
    const std::vector<Obj> original = List(2);
    ASSERT_FALSE(original.empty());
    SetObjects(2, {{1, 2, 3}});
    C().ScrollTo(2);
    Select(kV0, 1, 2);
    Find<QPushButton>("BtnObjectRemove")->click();
    ASSERT_TRUE(ObjModified());
    prompts_.yesNoAnswers = {false};
    Find<QPushButton>("BtnObjectEditReload")->click();
    EXPECT_EQ(
        prompts_.log,
        QStringList({QString::fromUtf8("yesno:このステージのオブジェクトデータを読み込み直します。よろしいですか？")}));
    EXPECT_TRUE(List(2).empty());
    EXPECT_EQ(C().LeftScreen(), 2);
    prompts_.yesNoAnswers = {true};
    Find<QPushButton>("BtnObjectEditReload")->click();
    EXPECT_EQ(List(2), original);
    EXPECT_EQ(C().LeftScreen(), 0);
    EXPECT_EQ(Label("LblObjectRoom"), "00-01");
    EXPECT_TRUE(ObjModified());  // the marker stays
}

TEST_F(ObjectPageTest, StageChangeResetsSelectionScrollAndLastLeftPress) {
    SetObjects(5, {{64, 64, 0x33}});
    C().ScrollTo(5);
    Select(kV0, 64, 64);
    ASSERT_EQ(Label("LblObjectScreen"), "05");
    SelectStage(1);
    EXPECT_EQ(C().LeftScreen(), 0);
    EXPECT_EQ(Find<QScrollBar>("ScrBarObjectMap")->value(), 0);
    EXPECT_EQ(C().Selected(), nullptr);
    EXPECT_EQ(C().Hovered(), nullptr);
    EXPECT_EQ(Label("LblObjectScreen"), "--");
    EXPECT_EQ(Label("LblObjectSum"), QString("%1 / 127").arg(Stage().ObjectTotal()));
    // The last left press went back to view 0 at (0, 0).
    SetObjects(0, {});
    Find<QPushButton>("BtnObjectCreate")->click();
    EXPECT_EQ(List(0), (std::vector<Obj>{{0, 0, 0}}));
    EXPECT_TRUE(ObjModified());
    EXPECT_FALSE(form_->Flags().IsModified(ModifiedCategory::Object, 0));
}

TEST_F(ObjectPageTest, ActivatingThePageShowsMapChangesMadeElsewhere) {
    const int set = Stage().Map()[0];
    const int other = (set + 7) % 32;
    ASSERT_NE(std::vector<Byte>(Stage().MapSet(set), Stage().MapSet(set) + 64),
              std::vector<Byte>(Stage().MapSet(other), Stage().MapSet(other) + 64));
    SelectTab(kPageMap);
    Stage().SetMapEntry(0, Byte(other));
    SelectTab(kPageObject);
    QImage ref = G().CreateViewBitmap(256, 256);
    G().DrawMapSet(ref, Stage().MapSet(other));
    int differing = 0;
    for (int y = 0; y < 256; y += 4)
        for (int x = 0; x < 256; x += 4) differing += Pixel(kV0, x, y) != Rgb(ref.pixel(x, y));
    EXPECT_EQ(differing, 0);
}

class ObjectSaveTest : public ObjectPageTest {
protected:
    static constexpr int kStage = 2;
    BenchOptions Options() const override {
        BenchOptions o = ObjectPageTest::Options();
        // Bytes after the end marker of stage 2's arrays that the next save must keep.
        o.patch = [](std::vector<std::uint8_t>& img, const AddressData& a) {
            int n = 0;
            const int screens = a.TableAddress(StageTable::ObjectScreen, kStage);
            while (n < 128 && img[std::size_t(screens + n)] != 0xFF) ++n;
            for (int i = n + 1; i < 128; ++i) {
                img[std::size_t(a.TableAddress(StageTable::ObjectX, kStage) + i)] = std::uint8_t(0xA0 + i % 16);
                img[std::size_t(a.TableAddress(StageTable::ObjectKind, kStage) + i)] = std::uint8_t(0x5A);
            }
        };
        return o;
    }
};

TEST_F(ObjectSaveTest, SavingWritesExactlyTheEditedStagesObjectTables) {
    SelectStage(kStage);
    const AddressData& a = form_->Rom().Addresses();
    const int before = Stage().ObjectTotal();
    ASSERT_GT(before, 3);
    ASSERT_EQ(Stage().ScreenObjectCount(0), 0);
    // Take the first object of the first screen holding one away, and add one on screen 0.
    int screen = 1;
    while (Stage().ScreenObjectCount(screen) == 0) ++screen;
    C().ScrollTo(screen);
    const Obj gone = List(screen).front();
    RightPress(kV0, gone.x, gone.y);
    Choose("MenuRemoveObject");
    C().ScrollTo(0);
    RightPress(kV0, 0x33, 0x44);
    Choose("MenuCreateObject");
    const QByteArray saved = SaveAs();
    ASSERT_FALSE(saved.isEmpty());

    auto at = [&](StageTable t, int i) { return std::uint8_t(saved[a.TableAddress(t, kStage) + i]); };
    // Every changed byte lies in stage 2's five object tables.
    for (int off : Differences(saved, OriginalImage())) {
        bool inside = false;
        for (StageTable t :
             {StageTable::ObjectScreen, StageTable::ObjectX, StageTable::ObjectY, StageTable::ObjectKind})
            inside |= off >= a.TableAddress(t, kStage) && off < a.TableAddress(t, kStage) + 128;
        inside |= off >= a.TableAddress(StageTable::ObjectOffset, kStage) &&
                  off < a.TableAddress(StageTable::ObjectOffset, kStage) + 48;
        EXPECT_TRUE(inside) << std::hex << off;
    }
    // The list as the editor holds it, then the end marker.
    const int n = Stage().ObjectTotal();
    ASSERT_EQ(n, before);
    int i = 0;
    for (int s = 0; s < 48; ++s) {
        EXPECT_EQ(at(StageTable::ObjectOffset, s), i) << s;
        for (const Obj& o : List(s)) {
            EXPECT_EQ(at(StageTable::ObjectScreen, i), s);
            EXPECT_EQ(at(StageTable::ObjectX, i), o.x);
            EXPECT_EQ(at(StageTable::ObjectY, i), o.y);
            EXPECT_EQ(at(StageTable::ObjectKind, i), o.kind);
            ++i;
        }
    }
    EXPECT_EQ(at(StageTable::ObjectScreen, 0), 0);
    EXPECT_EQ(at(StageTable::ObjectX, 0), 0x33);
    EXPECT_EQ(at(StageTable::ObjectScreen, n), 0xFF);
    // The slot of the end marker and those after it keep their other bytes.
    const auto& orig = OriginalImage();
    for (int k = n; k < 128; ++k) {
        EXPECT_EQ(at(StageTable::ObjectX, k), orig[std::size_t(a.TableAddress(StageTable::ObjectX, kStage) + k)]) << k;
        EXPECT_EQ(at(StageTable::ObjectKind, k), orig[std::size_t(a.TableAddress(StageTable::ObjectKind, kStage) + k)])
            << k;
    }
    EXPECT_FALSE(ObjModified());
}

// ---------------------------------------------------------------------------------------------------------
// Kind names and settings

class ShortKindListTest : public ObjectPageTest {
protected:
    BenchOptions Options() const override {
        BenchOptions o = ObjectPageTest::Options();
        o.objectLines =
            QStringList{QString::fromUtf8("なし"), QString::fromUtf8("スライム"), QString::fromUtf8("こうもり")};
        o.ini = "[ObjectEdit]\r\nSort=0\r\nPopup=1\r\n";
        return o;
    }
};

TEST_F(ShortKindListTest, KindsWithoutALineShowTheirNumberAndNeverFail) {
    auto* kinds = Find<QComboBox>("CBSelectObject");
    ASSERT_EQ(kinds->count(), 3);
    EXPECT_EQ(kinds->itemText(1), QString::fromUtf8("スライム"));
    EXPECT_FALSE(Find<QCheckBox>("ChkSortObjectList")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("ChkPopupHint")->isChecked());

    SetObjects(0, {{50, 50, 1}, {150, 150, 0x40}});
    Move(kV0, 50, 50);
    EXPECT_TRUE(View(kV0)->toolTip().endsWith(QString::fromUtf8("種類:\r\nスライム")));
    Press(kV0, 50, 50);
    EXPECT_EQ(kinds->currentText(), QString::fromUtf8("スライム"));
    Move(kV0, 150, 150);
    EXPECT_TRUE(View(kV0)->toolTip().endsWith(QString::fromUtf8("種類:\r\n40")));
    Select(kV0, 150, 150);
    EXPECT_EQ(kinds->currentIndex(), -1);
    EXPECT_EQ(kinds->currentText(), "");
    EXPECT_EQ(kinds->placeholderText(), "40");
    EXPECT_TRUE(kinds->isEnabled());
    // Choosing a named kind still works.
    kinds->setCurrentIndex(2);
    EXPECT_EQ(List(0).back(), (Obj{150, 150, 2}));
    EXPECT_EQ(kinds->placeholderText(), "");

    // The two options are written back from their boxes.
    Find<QCheckBox>("ChkPopupHint")->setChecked(false);
    EditorSettings s;
    C().StoreSettings(s);
    EXPECT_FALSE(s.sortObjects);
    EXPECT_FALSE(s.popupHint);
}

class EmptyKindListTest : public ObjectPageTest {
protected:
    BenchOptions Options() const override {
        BenchOptions o = ObjectPageTest::Options();
        o.objectLines = QStringList{};  // an empty file
        return o;
    }
};

TEST_F(EmptyKindListTest, AnEmptyNameListStillShowsEveryKind) {
    auto* kinds = Find<QComboBox>("CBSelectObject");
    EXPECT_EQ(kinds->count(), form_->ObjectKindNames().size());
    SetObjects(0, {{50, 50, 0x9C}});
    Select(kV0, 50, 50);
    EXPECT_TRUE(View(kV0)->toolTip().endsWith("\r\n9C"));
    EXPECT_EQ(Label("LblObjectX"), "32");
    Find<QToolButton>("UDObjectXRight")->click();
    EXPECT_EQ(List(0), (std::vector<Obj>{{51, 50, 0x9C}}));
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
