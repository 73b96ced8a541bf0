// The usage finder and the history panel on the real main window with the demo image.

#include <QDockWidget>
#include <QListWidget>
#include <QScrollBar>

#include "pagebench.h"

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

class FindHistoryTest : public pagebench::PageBench {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPageMap, kPageMapSet, kPage32x32Chip, kPage16x16Chip, kPageObject};
        o.tab = kPageMapSet;
        // 16x16 chip 2A only in 32x32 chips 5C (top left) and 81 (bottom right), 32x32 chip EE in no map set,
        // map set 3 only on screens 00 and 1A.
        o.patch = [](std::vector<std::uint8_t>& img, const AddressData& a) {
            const int c32 = a.TableAddress(StageTable::Chip32x32, 0), sets = a.TableAddress(StageTable::MapSet, 0);
            const int map = a.TableAddress(StageTable::Map, 0);
            std::replace(img.begin() + c32, img.begin() + c32 + 1024, 0x2A, 0x2B);
            img[c32 + 4 * 0x5C] = img[c32 + 4 * 0x81 + 3] = 0x2A;
            std::replace(img.begin() + sets, img.begin() + sets + 2048, 0xEE, 0xED);
            for (int s = 0; s < 48; ++s) img[map + s] = s == 0 || s == 0x1A ? 3 : 4;
        };
        return o;
    }
    QListWidget* List(const char* name) { return Find<QListWidget>(name); }
    QStringList Rows(const char* name) {
        QStringList rows;
        for (int i = 0; i < List(name)->count(); ++i) rows << List(name)->item(i)->text();
        return rows;
    }
    // Looks for the active page's target; the rows and the label.
    QStringList FindUsages() {
        QApplication::processEvents();
        Find<QAction>("FindUsage1")->trigger();
        return QStringList{Label("LblUsageTarget")} + Rows("LstUsages");
    }
    void Enter(int row) {
        List("LstUsages")->setCurrentRow(row);
        QTest::keyClick(List("LstUsages"), Qt::Key_Return);
    }
    void ClickHistory(int row) {
        QListWidget* l = List("LstHistory");
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
        QApplication::processEvents();
    }
    std::vector<Byte> Tables() {
        std::vector<Byte> t(Stage().Chip32x32(), Stage().Chip32x32() + 1024);
        t.insert(t.end(), Stage().MapSets(), Stage().MapSets() + 2048);
        return t;
    }
};

TEST_F(FindHistoryTest, UsageFinderListsEveryUseAndGoesThereEditingNothing) {
    auto* find = Find<QAction>("FindUsage1");
    SelectTab(kPagePalette);
    EXPECT_FALSE(find->isEnabled());
    SelectTab(kPage16x16Chip);
    Click("ImgEdit16x16ChipView", 0xA * 16 + 3, 2 * 16 + 3);
    EXPECT_EQ(FindUsages(),
              QStringList({U("16x16チップ 2A: 2箇所"), U("32x32チップ 5C 左上"), U("32x32チップ 81 右下")}));
    Enter(1);
    EXPECT_EQ(form_->PageControl()->currentIndex(), kPage32x32Chip);
    EXPECT_EQ(Label("LblSelect32x32ChipIndex") + Label("LblEdit32x32ChipView"), "8180-FF");
    EXPECT_FALSE(Stage().CanUndo() || form_->Flags().AnyModified());
    // An edit on the page adds its use to the list; its undo takes it away again.
    Click("Img16x16ChipTable", 0xA * 16 + 3, 2 * 16 + 3);
    Click("ImgEdit32x32ChipView", 3, 3, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_EQ(Rows("LstUsages"),
              QStringList({U("32x32チップ 5C 左上"), U("32x32チップ 80 左上"), U("32x32チップ 81 右下")}));
    form_->Undo1Click();
    EXPECT_EQ(Label("LblUsageTarget"), U("16x16チップ 2A: 2箇所"));

    SelectTab(kPageMapSet);
    Click("Img32x32ChipTable", 0xE * 16 + 3, 0xE * 16 + 3);
    EXPECT_EQ(FindUsages(), QStringList({U("32x32チップ EE: 使用されていません")}));
    // The chip of map set 1F's last cell: that cell is its last use.
    const int chip = Stage().MapSet(31)[63];
    Click("Img32x32ChipTable", chip % 16 * 16 + 3, chip / 16 * 16 + 3);
    const QStringList cells = FindUsages();
    EXPECT_EQ(cells.last(), U("マップセット 1F (7,7)"));
    Enter(int(cells.size()) - 2);
    EXPECT_EQ(Find<QScrollBar>("ScrBarSelectPage0")->value(), 31);

    SelectTab(kPageMap);
    EXPECT_EQ(FindUsages(), QStringList({U("マップセット 03: 2箇所"), U("部屋番号 00"), U("部屋番号 1A")}));
    Enter(1);
    EXPECT_EQ(Find<QScrollBar>("ScrBarMap")->value(), 0x1A);

    // Objects of kind 07 on screens 00 and 2F (the second one of its screen); one of kind 08 between them.
    for (int s = 0; s < kScreenCount; ++s) Stage().ClearScreenObjects(s);
    Stage().AppendObject(0, 0x40, 0x40, 7);
    Stage().AppendObject(0x2F, 0x10, 0x10, 8);
    Stage().AppendObject(0x2F, 0x40, 0xB0, 7);
    SelectTab(kPageObject);
    EXPECT_FALSE(find->isEnabled());
    Move("ImgObjectMapPage0", 0x40, 0x40);
    Click("ImgObjectMapPage0", 0x40, 0x40);
    EXPECT_EQ(FindUsages(),
              QStringList({U("オブジェクト 07: 2箇所"), U("部屋番号 00  X:40 Y:40"), U("部屋番号 2F  X:40 Y:B0")}));
    form_->Flags().ClearAllModified();
    Enter(1);
    EXPECT_EQ(Find<QScrollBar>("ScrBarObjectMap")->value(), 46);
    EXPECT_EQ(Label("LblObjectScreen") + Label("LblObjectIndex") + Label("LblObjectY"), "2F02B0");
    EXPECT_FALSE(Stage().CanUndo() || form_->Flags().AnyModified());
}

TEST_F(FindHistoryTest, HistoryRowsWalkAsTheUndoAndRedoCommandsDo) {
    Find<QAction>("ShowHistory1")->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(Find<QDockWidget>("HistoryDock")->isVisible());
    const std::vector<Byte> opened = Tables();
    // Two cells painted with a chip neither holds.
    const int chip = Stage().MapSet(0)[0] ^ Stage().MapSet(0)[1] ^ 0x80;
    Click("Img32x32ChipTable", chip % 16 * 16 + 3, chip / 16 * 16 + 3);
    Click("ImgEditMapSetPage0", 3, 3);
    const std::vector<Byte> first = Tables();
    Click("ImgEditMapSetPage0", 35, 3);
    SelectTab(kPage32x32Chip);
    const int chip16 = Stage().Chip32x32()[0] ^ 1;
    Click("Img16x16ChipTable", chip16 % 16 * 16 + 3, chip16 / 16 * 16 + 3);
    Click("ImgEdit32x32ChipView", 3, 3, Qt::LeftButton, Qt::ShiftModifier);
    const std::vector<Byte> last = Tables();
    const QString marker = Status(0);
    QApplication::processEvents();
    EXPECT_EQ(Rows("LstHistory"), QStringList({U("<開いた時点>"), U("マップセットの編集"), U("マップセットの編集"),
                                               U("32x32チップの編集")}));
    EXPECT_EQ(List("LstHistory")->currentRow(), 3);

    ClickHistory(1);
    EXPECT_EQ(Tables(), first);
    EXPECT_EQ(List("LstHistory")->currentRow(), 1);
    EXPECT_NE(List("LstHistory")->item(2)->foreground(), List("LstHistory")->item(1)->foreground());
    EXPECT_EQ(Status(0), marker);
    EXPECT_EQ(UndoCaption(), U("元に戻す(&U) - マップセットの編集"));
    ClickHistory(3);
    EXPECT_EQ(Tables(), last);
    ClickHistory(0);
    EXPECT_EQ(Tables(), opened);
    EXPECT_EQ(Rows("LstHistory").size(), 4);

    // Each stage has its own history.
    SelectStage(1);
    EXPECT_EQ(Rows("LstHistory").size(), 1);
    // Without undo (as [Undo] Enabled=0 starts the window): one row and the note.
    form_->Rom().SetHistoryEnabled(false);
    SelectStage(2);
    Click("ImgEditMapSetPage0", 3, 3);
    EXPECT_EQ(Rows("LstHistory"), QStringList({U("<開いた時点>")}));
    EXPECT_EQ(Label("LblHistoryNote"), U("元に戻す機能は無効です"));
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
