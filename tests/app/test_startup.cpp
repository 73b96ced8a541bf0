// Start-up: the order of building, the failures, and the window as it first appears.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

#include "apptest.h"

namespace {

TEST_F(AppTest, MissingPaletteEndsStartupWithItsMessageAndWritesNothing) {
    QFile::remove(Path("fcpalette.pal"));
    MakeForm();
    EXPECT_TRUE(form->StartupFailed());
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_TRUE(prompts.Messages()[0].contains("fcpalette.pal"));
    EXPECT_TRUE(prompts.Messages()[0].endsWith(QString::fromUtf8("が読み込めませんでした")));
    EXPECT_TRUE(log.empty()) << "no page may be built";
    // Even a close request writes no settings.
    EXPECT_TRUE(form->close());
    form.reset();
    EXPECT_FALSE(QFile::exists(Path("quorveneditor.ini")));
}

TEST_F(AppTest, PaletteOfWrongSizeEndsStartup) {
    WriteBytes(Path("fcpalette.pal"), QByteArray(191, '\1'));
    MakeForm();
    EXPECT_TRUE(form->StartupFailed());
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_TRUE(prompts.Messages()[0].endsWith(QString::fromUtf8("のサイズが不正です")));
    EXPECT_FALSE(form->OpenImage(WriteRom("a.nes"))) << "nothing opens without a colour table";
    form.reset();
    EXPECT_FALSE(QFile::exists(Path("quorveneditor.ini")));
}

TEST_F(AppTest, WindowAtStartHasItsControlsMenusAndHiddenPages) {
    MakeForm();
    ASSERT_FALSE(form->StartupFailed());
    EXPECT_EQ(form->objectName(), "MainForm");
    EXPECT_EQ(form->windowTitle(), "QUORVEN EDITOR");

    // Controllers are asked for in the order palette, 16x16, 32x32, map set, map, object; no reset yet.
    EXPECT_EQ(log, (std::vector<std::string>{"create.pal", "create.c16", "create.c32", "create.mset", "create.map",
                                             "create.obj"}));

    auto* stage = Find<QComboBox>("CBStage");
    ASSERT_NE(stage, nullptr);
    EXPECT_TRUE(stage->isHidden());
    ASSERT_EQ(stage->count(), 16);
    for (int s = 0; s < 16; ++s) {
        const QString text = stage->itemText(s);
        EXPECT_TRUE(text.startsWith(QString::asprintf("%02X ", s))) << text.toStdString();
        EXPECT_GT(text.size(), 3);
    }

    auto* pages = Find<QTabWidget>("EditPageControl");
    ASSERT_NE(pages, nullptr);
    EXPECT_TRUE(pages->isHidden());
    const char* captions[] = {"マップ", "マップセット", "32x32チップ", "16x16チップ", "パレット", "オブジェクト"};
    const char* sheets[] = {"TabMapEdit",       "TabMapSetEdit",  "Tab32x32ChipEdit",
                            "Tab16x16ChipEdit", "TabPaletteEdit", "TabObjectEdit"};
    ASSERT_EQ(pages->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(pages->tabText(i), QString::fromUtf8(captions[i]));
        EXPECT_EQ(pages->widget(i)->objectName(), sheets[i]);
        EXPECT_EQ(form->Page(i), pages->widget(i));
    }
    EXPECT_EQ(pages->currentIndex(), kPage16x16Chip);

    // Menu items, captions and initial states.
    auto* menu = Find<QMenuBar>("MainMenu1");
    ASSERT_NE(menu, nullptr);
    struct Item {
        const char* name;
        const char* caption;
        bool enabled;
    };
    const Item items[] = {
        {"Open1", "開く(&O)", true},     {"Save1", "上書き保存(&S)", false}, {"SaveAs1", "名前を付けて保存(&A)", false},
        {"Close1", "閉じる(&C)", false}, {"Exit1", "終了(&X)", true},        {"Undo1", "元に戻す(&U)", false},
        {"Redo1", "やり直し(&R)", false}};
    for (const Item& it : items) {
        auto* a = Find<QAction>(it.name);
        ASSERT_NE(a, nullptr) << it.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(it.caption)) << it.name;
        EXPECT_EQ(a->isEnabled(), it.enabled) << it.name;
    }
    auto* file = Find<QMenu>("File1");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), QString::fromUtf8("ファイル(&F)"));
    // Open, separator, Save, Save as, separator, Close, separator, the recent files, the stage file import
    // and the export submenu (both disabled until an image is open), separator, Exit.
    const QList<QAction*> fileActions = file->actions();
    ASSERT_EQ(fileActions.size(), 12);
    EXPECT_TRUE(fileActions[1]->isSeparator());
    EXPECT_TRUE(fileActions[4]->isSeparator());
    EXPECT_TRUE(fileActions[6]->isSeparator());
    EXPECT_EQ(fileActions[7]->text(), QString::fromUtf8("最近使ったファイル"));
    EXPECT_EQ(fileActions[8]->objectName(), "ImportStageFile1");
    EXPECT_FALSE(fileActions[8]->isEnabled());
    EXPECT_EQ(fileActions[9]->objectName(), "Export1Menu");
    EXPECT_FALSE(fileActions[9]->isEnabled());
    EXPECT_TRUE(fileActions[10]->isSeparator());
    EXPECT_EQ(fileActions[11]->objectName(), "Exit1");
    auto* edit = Find<QMenu>("Edit1");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->title(), QString::fromUtf8("編集(&E)"));
    EXPECT_FALSE(edit->menuAction()->isVisible());
    EXPECT_EQ(Find<QAction>("Undo1")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(Find<QAction>("Redo1")->shortcut(), QKeySequence("Ctrl+Y"));

    // Status bar: three panels 70, 200, 50, all empty.
    const int widths[] = {70, 200, 50};
    for (int i = 0; i < 3; ++i) {
        auto* panel = form->statusBar()->findChild<QLabel*>(QString("StatusPanel%1").arg(i));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->width(), widths[i]);
        EXPECT_TRUE(form->StatusText(i).isEmpty());
    }

    EXPECT_FALSE(form->FrameTimer().isActive());
    EXPECT_EQ(form->FrameTimer().interval(), 16);

    // Scroll bar ranges.
    EXPECT_EQ(Find<QScrollBar>("ScrBarMap")->maximum(), 46);
    EXPECT_EQ(Find<QScrollBar>("ScrBarObjectMap")->maximum(), 46);
    EXPECT_EQ(Find<QScrollBar>("ScrbarEditMapPage0")->maximum(), 31);
    EXPECT_EQ(Find<QScrollBar>("ScrBarSelectPage1")->maximum(), 31);
    EXPECT_EQ(Find<QScrollBar>("ScrBarMapSet")->maximum(), 30);
}

TEST_F(AppTest, WindowStartsWithoutAnyPageControls) {
    // A factory that builds nothing: the main window copes without the controls it looks for.
    MakeForm(false);
    ASSERT_FALSE(form->StartupFailed());
    EXPECT_EQ(form->ObjectKindNames().size(), 256);
    EXPECT_TRUE(form->OpenImage(WriteRom("a.nes")));
    form->FrameTimerTimer();
    form->PageControl()->setCurrentIndex(kPageObject);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(QFile::exists(Path("quorveneditor.ini")));
}

TEST_F(AppTest, WithoutObjectListTheMessageIsShownAndTheBuiltInKindsAreListed) {
    MakeForm();
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_EQ(prompts.Messages()[0], QString::fromUtf8("ObjectList.txtを読み込めませんでした。"));
    auto* kinds = Find<QComboBox>("CBSelectObject");
    ASSERT_EQ(kinds->count(), 256);
    EXPECT_EQ(kinds->itemText(0), "00");
    EXPECT_EQ(kinds->itemText(0xA7), "A7");
    EXPECT_EQ(kinds->itemText(255), "FF");
}

TEST_F(AppTest, ObjectListOfThreeLinesListsExactlyThose) {
    WriteShiftJis(Path("ObjectList.txt"), {QString::fromUtf8("スライム"), "Bat", QString::fromUtf8("大きな岩")});
    MakeForm();
    EXPECT_TRUE(prompts.Messages().isEmpty());
    auto* kinds = Find<QComboBox>("CBSelectObject");
    ASSERT_EQ(kinds->count(), 3);
    EXPECT_EQ(kinds->itemText(0), QString::fromUtf8("スライム"));
    EXPECT_EQ(kinds->itemText(2), QString::fromUtf8("大きな岩"));
}

TEST_F(AppTest, EmptyObjectListGivesAnEmptyListAndNoMessage) {
    WriteBytes(Path("ObjectList.txt"), QByteArray());
    MakeForm();
    EXPECT_TRUE(prompts.Messages().isEmpty());
    EXPECT_TRUE(form->ObjectKindNames().isEmpty());
    EXPECT_EQ(Find<QComboBox>("CBSelectObject")->count(), 0);
}

TEST_F(AppTest, ObjectListLongerThanTheKindRangeIsCutAt256) {
    QStringList lines;
    for (int i = 0; i < 300; ++i) lines << QString("kind%1").arg(i);
    WriteShiftJis(Path("ObjectList.txt"), lines);
    MakeForm();
    EXPECT_EQ(Find<QComboBox>("CBSelectObject")->count(), 256);
    EXPECT_EQ(Find<QComboBox>("CBSelectObject")->itemText(255), "kind255");
}

QStringList RadioCaptions(QWidget* root) {
    QStringList out;
    for (auto* b : root->findChild<QWidget*>("RGChipPropertySelect")->findChildren<QRadioButton*>()) out << b->text();
    return out;
}

TEST_F(AppTest, ChipAttributesReplaceTheRadioCaptionsOneForOne) {
    // Five lines: the first five captions change, the rest keep their built-in text.
    WriteShiftJis(Path("ChipAttributes.txt"), {"A0", "A1", QString::fromUtf8("梯子"), "A3", "A4"});
    MakeForm();
    QStringList captions = RadioCaptions(form.get());
    ASSERT_EQ(captions.size(), 16);
    EXPECT_EQ(captions[0], "A0");
    EXPECT_EQ(captions[2], QString::fromUtf8("梯子"));
    EXPECT_EQ(captions[4], "A4");
    EXPECT_EQ(captions[5], BuiltinChipAttributeCaption(5));
    EXPECT_EQ(captions[15], QString::fromUtf8("Fx トゲ"));
    form.reset();

    // Twenty lines: all sixteen change.
    QStringList twenty;
    for (int i = 0; i < 20; ++i) twenty << QString("line%1").arg(i);
    WriteShiftJis(Path("ChipAttributes.txt"), twenty);
    MakeForm();
    captions = RadioCaptions(form.get());
    EXPECT_EQ(captions, twenty.mid(0, 16));
}

TEST_F(AppTest, MissingChipAttributesKeepsTheBuiltInCaptionsSilently) {
    WriteShiftJis(Path("ObjectList.txt"), {"x"});
    MakeForm();
    EXPECT_TRUE(prompts.log.isEmpty());
    const QStringList captions = RadioCaptions(form.get());
    ASSERT_EQ(captions.size(), 16);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(captions[k], BuiltinChipAttributeCaption(k));
    EXPECT_EQ(captions[0], QString::fromUtf8("0x 背景"));
}

}  // namespace
