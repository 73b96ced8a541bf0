// Desktop conventions around the editor: undo keys in every focus state, the toolkit's Japanese texts, exact
// dialog captions, the installed layout, notices in the status bar, recent files, dropped images, the window
// position and the tool-tips of the views.

#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHelpEvent>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include "app/installpaths.h"
#include "app/qtprompts.h"
#include "app/recentfiles.h"
#include "apptest.h"
#include "document/MyIniFiles.h"
#include "graphics/hextext.h"

namespace {

// Collects the toolkit's warnings while it lives (to catch "Ambiguous shortcut overload").
class WarningCatcher {
public:
    WarningCatcher() {
        messages().clear();
        previous_ = qInstallMessageHandler(&WarningCatcher::Handle);
    }
    ~WarningCatcher() { qInstallMessageHandler(previous_); }
    static QStringList& messages() {
        static QStringList list;
        return list;
    }

private:
    static void Handle(QtMsgType, const QMessageLogContext&, const QString& text) { messages() << text; }
    QtMessageHandler previous_;
};

class DesktopTest : public AppTest {
protected:
    void ShowActive() {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // A map edit on stage 0 with its undo step; returns the value before it.
    Byte EditStep(int screen) {
        const Byte old = form->Rom().StageAt(0).Map()[screen];
        EditMap(0, screen, Byte(old ^ 0x08));
        return old;
    }
    Byte MapAt(int screen) { return form->Rom().StageAt(0).Map()[screen]; }
    // Ctrl+<key> as the keyboard sends it to whatever has the focus now.
    void CtrlKey(Qt::Key key) {
        QWidget* target = QApplication::activePopupWidget();
        if (!target) target = QApplication::focusWidget();
        if (!target) target = form.get();
        QTest::keyClick(target, key, Qt::ControlModifier);
    }
};

// ---------------------------------------------------------------------------------------------------------
// Ctrl+Z and Ctrl+Y

TEST_F(DesktopTest, UndoKeysWorkAfterAMenuWasClosedWithEscapeWithoutAmbiguity) {
    MakeOpenForm();
    ShowActive();
    WarningCatcher warnings;
    const Byte old = EditStep(3);
    const Byte edited = MapAt(3);

    // Click the Edit menu's title, close the menu with Escape: the menu bar keeps the keyboard.
    QMenuBar* bar = form->menuBar();
    QMenu* edit = Find<QMenu>("Edit1");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(edit->menuAction()).center());
    QTRY_VERIFY(edit->isVisible());
    EXPECT_TRUE(Find<QAction>("Undo1")->isEnabled()) << "opening the menu refreshed it";
    QTest::keyClick(edit, Qt::Key_Escape);
    QTRY_VERIFY(!edit->isVisible());

    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(MapAt(3), old);
    CtrlKey(Qt::Key_Y);
    EXPECT_EQ(MapAt(3), edited);
    // A click on a view does not take the keys away either.
    form->PageControl()->setCurrentIndex(kPageMap);
    Press(ViewNamed("ImgEditMapPage0"), Qt::LeftButton, {}, 10, 10);
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(MapAt(3), old);
    for (const QString& w : WarningCatcher::messages()) EXPECT_FALSE(w.contains("Ambiguous")) << w.toStdString();
}

TEST_F(DesktopTest, UndoKeysWorkWhileTheEditMenuIsOpenAndCloseIt) {
    MakeOpenForm();
    ShowActive();
    const Byte old = EditStep(5);
    QMenu* edit = Find<QMenu>("Edit1");
    edit->popup(form->mapToGlobal(QPoint(40, 20)));
    QTRY_VERIFY(edit->isVisible());
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(MapAt(5), old);
    EXPECT_FALSE(edit->isVisible());
}

TEST_F(DesktopTest, UndoKeysWorkAfterADialogAfterATabChangeAndInATextField) {
    MakeOpenForm();
    ShowActive();
    WarningCatcher warnings;

    // After a modal dialog of the window closed.
    const Byte a = EditStep(1);
    {
        QDialog dialog(form.get());
        QTimer::singleShot(0, &dialog, &QDialog::reject);
        dialog.exec();
    }
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(MapAt(1), a);

    // After a tab change (the tab bar has the focus).
    const Byte b = EditStep(2);
    auto* tabs = form->PageControl();
    tabs->setFocus();
    tabs->setCurrentIndex(kPageMapSet);
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(MapAt(2), b);
    CtrlKey(Qt::Key_Y);
    EXPECT_NE(MapAt(2), b);

    // In a text field: the stage step, not the field's own undo.
    tabs->setCurrentIndex(kPagePalette);
    auto* field = Find<QLineEdit>("EditPal0");
    field->setFocus();
    QTest::keyClicks(field, "7");
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(MapAt(2), b);
    EXPECT_EQ(field->text(), "7");
    // Other Ctrl keys still reach the field.
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field->selectedText(), "7");
    for (const QString& w : WarningCatcher::messages()) EXPECT_FALSE(w.contains("Ambiguous")) << w.toStdString();
}

TEST_F(DesktopTest, UndoKeysOfADialogStayWithTheDialog) {
    MakeOpenForm();
    ShowActive();
    const Byte old = EditStep(7);
    const Byte edited = MapAt(7);
    QDialog dialog(form.get());
    auto* field = new QLineEdit(&dialog);
    bool stillEdited = false;
    QTimer::singleShot(0, &dialog, [&] {
        field->setFocus();
        QTest::keyClicks(field, "x");
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        stillEdited = MapAt(7) == edited && field->text().isEmpty();
        dialog.reject();
    });
    dialog.exec();
    EXPECT_TRUE(stillEdited) << "Ctrl+Z in a dialog's field is the field's own";
    EXPECT_NE(old, edited);
}

// ---------------------------------------------------------------------------------------------------------
// The toolkit's Japanese texts and exact captions

TEST(DesktopDialogs, SavePromptButtonsAreJapaneseAndTheCaptionIsExact) {
    QtPrompts prompts;
    QStringList buttons;
    QString title, text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
        box->button(QMessageBox::Cancel)->click();
    });
    const auto answer = prompts.AskYesNoCancel(QString::fromUtf8("a.nesへの変更を保存しますか？"));
    EXPECT_EQ(answer, UserPrompts::Answer::Cancel);
    EXPECT_EQ(title, "QUORVEN EDITOR");
    EXPECT_EQ(text, QString::fromUtf8("a.nesへの変更を保存しますか？"));
    ASSERT_EQ(buttons.size(), 3);
    for (const char* japanese : {"はい", "いいえ", "キャンセル"})
        EXPECT_TRUE(buttons.join('|').contains(QString::fromUtf8(japanese))) << buttons.join('|').toStdString();
    EXPECT_FALSE(buttons.join('|').contains("Yes"));
}

TEST(DesktopDialogs, NoDisplayNameIsAppendedToCaptions) {
    // Without a display name of its own the application's display name follows its name; with one the
    // toolkit would append " — QUORVEN EDITOR" to every window's caption.
    const QString name = QCoreApplication::applicationName();
    EXPECT_EQ(name, "QUORVEN EDITOR");
    QCoreApplication::setApplicationName("probe");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    QCoreApplication::setApplicationName(name);

    QtPrompts prompts;
    QString inputTitle;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        inputTitle = dialog->windowTitle();
        dialog->reject();
    });
    QString value = "00";
    EXPECT_FALSE(prompts.InputText(QString::fromUtf8("オブジェクトの種類"), "?", value));
    EXPECT_EQ(inputTitle, QString::fromUtf8("オブジェクトの種類"));
}

TEST(DesktopDialogs, FileDialogsStartAtTheCurrentImageAndSpeakJapanese) {
    QTemporaryDir dir;
    const QString image = dir.filePath("stage.nes");
    QFile f(image);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("NES\x1a", 4);
    f.close();
    QtPrompts prompts;
    prompts.SetStartPathSource([&] { return image; });
    for (bool save : {false, true}) {
        QString folder, selected, objectName, accept;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            folder = dialog->directory().absolutePath();
            selected = dialog->selectedFiles().value(0);
            objectName = dialog->objectName();
            if (auto* box = dialog->findChild<QDialogButtonBox*>())
                for (QAbstractButton* b : box->buttons())
                    if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) accept = b->text();
            dialog->reject();
        });
        EXPECT_TRUE((save ? prompts.SaveFileName() : prompts.OpenFileName()).isEmpty());
        EXPECT_EQ(objectName, save ? "SaveDialog1" : "OpenDialog1");
        EXPECT_EQ(folder, QFileInfo(dir.path()).absoluteFilePath());
        EXPECT_EQ(QFileInfo(selected).fileName(), "stage.nes");
        EXPECT_EQ(accept, QCoreApplication::translate("QFileDialog", save ? "&Save" : "&Open"));
        EXPECT_NE(accept, save ? "&Save" : "&Open") << "the toolkit's Japanese translation is loaded";
    }
}

// ---------------------------------------------------------------------------------------------------------
// The installed layout

class InstallPathsTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString Folder(const QString& name) {
        QDir().mkpath(root.filePath(name));
        return root.filePath(name);
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(InstallPathsTest, TheColourTableOfTheCurrentFolderWinsThenTheDataFolder) {
    const QString cwd = Folder("cwd"), data = Folder("share/quorven-editor");
    EXPECT_EQ(installpaths::PalettePath(cwd, data), "fcpalette.pal") << "neither: the name the message uses";
    Write(data + "/fcpalette.pal", QByteArray(192, 1));
    EXPECT_EQ(installpaths::PalettePath(cwd, data), data + "/fcpalette.pal");
    Write(cwd + "/fcpalette.pal", QByteArray(192, 2));
    EXPECT_EQ(installpaths::PalettePath(cwd, data), "fcpalette.pal");
    EXPECT_EQ(installpaths::DataFolder(root.filePath("bin")), root.filePath("share/quorven-editor"));
}

TEST_F(InstallPathsTest, NameListsComeFromTheProgramFolderElseTheDataFolder) {
    const QString bin = Folder("bin"), data = Folder("share/quorven-editor");
    EXPECT_EQ(installpaths::NameListFolder(bin, data, "ObjectList.txt"), bin);
    Write(data + "/ObjectList.txt", "a\r\n");
    EXPECT_EQ(installpaths::NameListFolder(bin, data, "ObjectList.txt"), data);
    Write(bin + "/ObjectList.txt", "b\r\n");
    EXPECT_EQ(installpaths::NameListFolder(bin, data, "ObjectList.txt"), bin);
}

TEST_F(InstallPathsTest, SettingsMoveToTheConfigFolderWhenTheProgramFolderIsReadOnly) {
    const QString bin = Folder("bin"), config = root.filePath("config/quorven-editor");
    const QString noData = root.filePath("nowhere");
    // A writable build folder keeps its settings beside the program.
    EXPECT_EQ(installpaths::SettingsFolder(bin, true, noData, config), bin);
    EXPECT_FALSE(QFileInfo::exists(config));

    // Read-only: the config folder, starting from a copy of the settings that came with the program.
    Write(bin + "/quorveneditor.ini", "[Timer]\r\nInterval=40\r\n");
    EXPECT_EQ(installpaths::SettingsFolder(bin, false, noData, config), config);
    EXPECT_EQ(Read(config + "/quorveneditor.ini"), QByteArray("[Timer]\r\nInterval=40\r\n"));
    // Later runs keep the user's own file.
    Write(config + "/quorveneditor.ini", "[Timer]\r\nInterval=50\r\n");
    EXPECT_EQ(installpaths::SettingsFolder(bin, false, noData, config), config);
    EXPECT_EQ(Read(config + "/quorveneditor.ini"), QByteArray("[Timer]\r\nInterval=50\r\n"));
}

TEST_F(InstallPathsTest, AnInstalledProgramUsesTheConfigFolderAndCopiesTheInstalledSettings) {
    const QString bin = Folder("usr/bin"), data = Folder("usr/share/quorven-editor");
    const QString config = root.filePath("home/.config/quorven-editor");
    Write(data + "/quorveneditor.ini", "[Undo]\r\nEnabled=0\r\n");
    // What the start reads before the command line is known: the file to be copied, nothing created yet.
    EXPECT_EQ(installpaths::StartSettingsFile(bin, true, data, config), data + "/quorveneditor.ini");
    EXPECT_FALSE(QFileInfo::exists(config));
    EXPECT_EQ(installpaths::SettingsFolder(bin, true, data, config), config);
    EXPECT_EQ(Read(config + "/quorveneditor.ini"), QByteArray("[Undo]\r\nEnabled=0\r\n"));
    EXPECT_EQ(installpaths::StartSettingsFile(bin, true, data, config), config + "/quorveneditor.ini");
    EXPECT_EQ(installpaths::StartSettingsFile(bin, true, "", config), bin + "/quorveneditor.ini");
}

TEST_F(InstallPathsTest, AFolderThatRefusesFilesIsNotWritable) {
    const QString bin = Folder("ro");
    EXPECT_TRUE(installpaths::FolderWritable(bin));
    EXPECT_FALSE(installpaths::FolderWritable(root.filePath("missing")));
    QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner);
    const bool writable = installpaths::FolderWritable(bin);
    QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (geteuid() == 0) GTEST_SKIP() << "running as root: every folder accepts files";
    EXPECT_FALSE(writable);
}

TEST_F(DesktopTest, TheWindowReadsAndWritesItsSettingsInTheFolderItIsGiven) {
    const QString config = dir.filePath("config");
    ASSERT_TRUE(QDir().mkpath(config));
    {
        QFile f(config + "/quorveneditor.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Timer]\r\nInterval=33\r\n");
    }
    StartupPaths paths{dir.path(), ColourTablePath()};
    paths.settingsFolder = config;
    auto f = std::make_unique<TestFactory>(log);
    form = std::make_unique<TMainForm>(prompts, std::move(f), paths);
    EXPECT_EQ(form->FrameTimer().interval(), 33);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(QFile::exists(Path("quorveneditor.ini"))) << "nothing beside the program";
    EXPECT_TRUE(ReadBytes(config + "/quorveneditor.ini").contains("Interval=33"));
    EXPECT_TRUE(ReadBytes(config + "/quorveneditor.ini").contains("[ObjectEdit]"));
}

TEST_F(DesktopTest, NameListsOfTheDataFolderAreUsedWhenTheProgramFolderHasNone) {
    const QString data = dir.filePath("data");
    ASSERT_TRUE(QDir().mkpath(data));
    WriteShiftJis(data + "/ObjectList.txt", {QString::fromUtf8("敵"), QString::fromUtf8("扉")});
    StartupPaths paths{dir.path(), ColourTablePath()};
    paths.dataFolder = data;
    form = std::make_unique<TMainForm>(prompts, std::make_unique<TestFactory>(log), paths);
    EXPECT_TRUE(prompts.Messages().isEmpty());
    EXPECT_EQ(form->ObjectKindNames(), (QStringList{QString::fromUtf8("敵"), QString::fromUtf8("扉")}));
}

// ---------------------------------------------------------------------------------------------------------
// The notice for images whose tables lie outside the file

TEST_F(DesktopTest, AnImageWithTablesPastItsEndGetsOneStatusNoticeAndNoBox) {
    MakeForm();
    std::vector<std::uint8_t> image = BuildDemoRom();
    image.resize(0x400);
    const QString small = WriteImage("small.nes", image);
    prompts.log.clear();
    ASSERT_TRUE(form->OpenImage(small));
    EXPECT_EQ(form->NoticeText(), QString::fromUtf8("ステージ00のデータがファイル外にあります"));
    EXPECT_EQ(prompts.log, QStringList{}) << "no modal box";
    EXPECT_TRUE(form->StatusText(1).isEmpty());
    EXPECT_TRUE(form->StatusText(2).isEmpty());
    // Hover texts still go to panel 1 meanwhile.
    Move(ViewNamed("ImgBGBankTable"), 20, 40);
    EXPECT_EQ(form->StatusText(1), QString::fromUtf8("タイルNo:21"));

    // A whole image clears it; so does a close.
    ASSERT_TRUE(form->OpenImage(WriteRom("whole.nes")));
    EXPECT_TRUE(form->NoticeText().isEmpty());
    ASSERT_TRUE(form->OpenImage(small));
    EXPECT_FALSE(form->NoticeText().isEmpty());
    form->Close1Click();
    EXPECT_TRUE(form->NoticeText().isEmpty());
}

// ---------------------------------------------------------------------------------------------------------
// File handling

TEST(RecentFilesList, NewestFirstNoDuplicatesAtMostEightAndKeptInTheSettingsFile) {
    QTemporaryDir dir;
    RecentFiles recent;
    for (int i = 0; i < 10; ++i) recent.Add(dir.filePath(QString("img%1.nes").arg(i)));
    recent.Add(dir.filePath("img5.nes"));
    ASSERT_EQ(recent.Paths().size(), RecentFiles::kMaxCount);
    EXPECT_EQ(recent.Paths()[0], dir.filePath("img5.nes"));
    EXPECT_EQ(recent.Paths()[1], dir.filePath("img9.nes"));
    EXPECT_EQ(recent.Paths()[7], dir.filePath("img2.nes")) << "img0 and img1 fell off the end";

    // Round trip through the settings file, with a name that is not ASCII.
    recent.Add(dir.filePath(QString::fromUtf8("ステージ 1.nes")));
    TMyMemIniFile ini(dir.filePath("quorveneditor.ini").toStdString());
    recent.Write(ini);
    ini.UpdateFile();
    TMyMemIniFile again(dir.filePath("quorveneditor.ini").toStdString());
    RecentFiles read;
    read.Read(again);
    EXPECT_EQ(read.Paths(), recent.Paths());
    // Stored as ASCII, whatever the name's characters.
    const std::string first = again.ReadString("RecentFiles", "File1", "");
    EXPECT_NE(first.find("%E3%82%B9"), std::string::npos) << first;
    for (char c : first) EXPECT_GT(static_cast<unsigned char>(c), 0x1F) << first;
    for (char c : first) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << first;
}

TEST_F(DesktopTest, OpenAndSaveAsFillTheRecentMenuAndAMissingFileIsRemovedWithANotice) {
    MakeOpenForm();
    const QString a = Path("a.nes");
    const QString b = WriteRom("b.nes", 2);
    ASSERT_TRUE(form->OpenImage(b));
    prompts.saveNames.push_back(Path("c.nes"));
    ASSERT_TRUE(form->SaveAs1Click());
    EXPECT_EQ(form->Recent().Paths(), (QStringList{Path("c.nes"), b, a}));
    QMenu* menu = form->RecentMenu();
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_TRUE(menu->actions()[0]->text().endsWith("c.nes"));
    EXPECT_TRUE(menu->menuAction()->isEnabled());

    // Picking an entry opens it as Open does.
    prompts.log.clear();
    menu->actions()[2]->trigger();
    EXPECT_EQ(form->windowTitle(), a + " - QUORVEN EDITOR");
    EXPECT_EQ(form->Recent().Paths().first(), a);

    // A file that went away leaves the list with a notice when the menu opens.
    ASSERT_TRUE(QFile::remove(b));
    emit menu->aboutToShow();
    EXPECT_EQ(form->Recent().Paths(), (QStringList{a, Path("c.nes")}));
    EXPECT_EQ(form->NoticeText(), QString::fromUtf8("見つからないため履歴から外しました: b.nes"));
    EXPECT_EQ(menu->actions().size(), 2);
    // Two at once are counted.
    ASSERT_TRUE(QFile::remove(a));
    ASSERT_TRUE(QFile::remove(Path("c.nes")));
    emit menu->aboutToShow();
    EXPECT_EQ(form->NoticeText(), QString::fromUtf8("見つからないファイル2個を履歴から外しました"));
    WriteRom("a.nes", 1);
    WriteRom("c.nes", 3);
    form->OpenRecent(Path("c.nes"));
    form->OpenRecent(a);

    // The list survives the next run.
    EXPECT_TRUE(form->close());
    form.reset();
    MakeForm();
    EXPECT_EQ(form->Recent().Paths(), (QStringList{a, Path("c.nes")}));
    EXPECT_EQ(form->DialogStartPath(), a) << "with no image open the dialogs start at the newest entry";
}

TEST_F(DesktopTest, ChoosingAVanishedRecentFileOpensNothing) {
    MakeOpenForm();
    const QString b = WriteRom("b.nes", 2);
    ASSERT_TRUE(form->OpenImage(b));
    ASSERT_TRUE(QFile::remove(b));
    prompts.log.clear();
    form->OpenRecent(b);
    EXPECT_EQ(form->windowTitle(), b + " - QUORVEN EDITOR") << "the open image stays";
    EXPECT_FALSE(form->Recent().Paths().contains(b));
    EXPECT_FALSE(form->NoticeText().isEmpty());
    EXPECT_TRUE(prompts.log.isEmpty());
}

TEST_F(DesktopTest, FileCommandsHaveTheirKeysAndKeepTheirCaptions) {
    const QString rom = MakeOpenForm();
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence keys;
    };
    for (const Item& it :
         {Item{"Open1", "開く(&O)", QKeySequence("Ctrl+O")}, Item{"Save1", "上書き保存(&S)", QKeySequence("Ctrl+S")},
          Item{"SaveAs1", "名前を付けて保存(&A)", QKeySequence("Ctrl+Shift+S")}}) {
        EXPECT_EQ(Find<QAction>(it.name)->text(), QString::fromUtf8(it.caption));
        EXPECT_EQ(Find<QAction>(it.name)->shortcut(), it.keys) << it.name;
    }
    ShowActive();
    EditMap(0, 2, Byte(form->Rom().StageAt(0).Map()[2] ^ 0x01));
    const QByteArray before = ReadBytes(rom);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(ReadBytes(rom), before) << "Ctrl+S saved";
    EXPECT_FALSE(form->Flags().AnyModified());
    prompts.log.clear();
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(prompts.log, (QStringList{"save", "open"}));
    EXPECT_EQ(form->DialogStartPath(), rom);
}

// A drop of files on the window, as the window system delivers it, from a source that proposes a move (a
// file manager with Shift held): what the window accepts it takes as a copy, so the source keeps its file.
bool Drop(QWidget* w, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(100, 100), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(enter.proposedAction(), Qt::MoveAction);
    QCoreApplication::sendEvent(w, &enter);
    if (!enter.isAccepted()) return false;
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(100, 100), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(w, &drop);
    if (drop.isAccepted()) {
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    }
    return drop.isAccepted();
}

TEST_F(DesktopTest, ADroppedImageIsOpenedAfterTheUnsavedChangesPrompt) {
    const QString a = MakeOpenForm();
    const QString b = WriteRom("b.nes", 2);
    EditMap(0, 1, Byte(form->Rom().StageAt(0).Map()[1] ^ 0x01));

    // Cancel at the prompt: the modified image stays.
    EXPECT_TRUE(Drop(form.get(), {QUrl::fromLocalFile(b)}));
    EXPECT_EQ(prompts.log, QStringList{"ync:" + a + QString::fromUtf8("への変更を保存しますか？")});
    EXPECT_EQ(form->windowTitle(), a + " - QUORVEN EDITOR");
    EXPECT_TRUE(form->Flags().AnyModified());

    // No: the dropped image is opened and the pages start afresh.
    prompts.log.clear();
    log.clear();
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::No);
    EXPECT_TRUE(Drop(form.get(), {QUrl::fromLocalFile(b)}));
    EXPECT_EQ(prompts.log.size(), 1);
    EXPECT_EQ(form->windowTitle(), b + " - QUORVEN EDITOR");
    EXPECT_EQ(Lines("pal.Reset").size(), 1u);
    EXPECT_EQ(form->Recent().Paths().first(), b);

    // Other files, several files and remote files are refused.
    WriteFile("notes.txt", "x");
    EXPECT_FALSE(Drop(form.get(), {QUrl::fromLocalFile(Path("notes.txt"))}));
    EXPECT_FALSE(Drop(form.get(), {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)}));
    EXPECT_FALSE(Drop(form.get(), {QUrl("https://example.com/x.nes")}));
    EXPECT_EQ(form->windowTitle(), b + " - QUORVEN EDITOR");
}

TEST_F(DesktopTest, TheWindowPositionIsRememberedBetweenRuns) {
    WriteIni("[MainForm]\r\nLeft=37\r\nTop=45\r\n");
    MakeForm();
    EXPECT_EQ(form->pos(), QPoint(37, 45));
    form->move(61, 52);
    EXPECT_TRUE(form->close());
    const QByteArray text = ReadBytes(Path("quorveneditor.ini"));
    EXPECT_TRUE(text.contains("Left=61")) << text.toStdString();
    EXPECT_TRUE(text.contains("Top=52"));
    form.reset();

    // A position off every screen is not restored.
    WriteIni("[MainForm]\r\nLeft=-30000\r\nTop=-30000\r\n");
    MakeForm();
    EXPECT_NE(form->pos(), QPoint(-30000, -30000));
}

// ---------------------------------------------------------------------------------------------------------
// Tool-tips of the views

TEST_F(DesktopTest, ViewsShowColourTileAndChipNumbersAsToolTips) {
    MakeOpenForm();
    ShowActive();
    EXPECT_EQ(form->ViewToolTip(ViewNamed("ImgColorTable"), 30, 30), QString::fromUtf8("色番号:11"));
    EXPECT_EQ(form->ViewToolTip(ViewNamed("ImgColorTable"), 383, 95), QString::fromUtf8("色番号:3F"));
    const Byte* palette = form->Rom().Current().BGPalette(0);
    EXPECT_EQ(form->ViewToolTip(ViewNamed("ImgPalView2"), 50, 5),
              QString::fromUtf8("色番号:") + Hex2(palette[2 * 4 + 2]));
    EXPECT_EQ(form->ViewToolTip(ViewNamed("ImgBGBankTable"), 20, 40), QString::fromUtf8("タイルNo:21"));
    EXPECT_EQ(form->ViewToolTip(ViewNamed("Img16x16ChipTable"), 255, 255), QString::fromUtf8("16x16チップNo:FF"));
    EXPECT_EQ(form->ViewToolTip(ViewNamed("Img32x32ChipTable"), 16, 0), QString::fromUtf8("32x32チップNo:01"));
    EXPECT_TRUE(form->ViewToolTip(ViewNamed("ImgObjectMapPage0"), 16, 0).isEmpty()) << "the object page has its own";
    EXPECT_TRUE(form->ViewToolTip(ViewNamed("ImgColorTable"), 400, 0).isEmpty());

    // The help event the toolkit sends shows it, and the status bar is left alone.
    form->PageControl()->setCurrentIndex(kPagePalette);
    TImageEx* table = ViewNamed("ImgColorTable");
    QHelpEvent help(QEvent::ToolTip, QPoint(30, 30), table->mapToGlobal(QPoint(30, 30)));
    QCoreApplication::sendEvent(table, &help);
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("色番号:11"));
    EXPECT_TRUE(form->StatusText(1).isEmpty());
    QToolTip::hideText();
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// The display scale

namespace {

TEST_F(DesktopTest, TheViewMenuChoosesTheScaleOfTheNextStartAndKeepsIt) {
    MakeForm();
    auto* zoom = Find<QMenu>("Zoom1");
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->title(), QString::fromUtf8("表示倍率"));
    EXPECT_EQ(Find<QMenu>("View1")->title(), QString::fromUtf8("表示(&V)"));
    QStringList captions;
    for (QAction* a : zoom->actions()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{"100%", "200%", "300%"}));
    EXPECT_TRUE(Find<QAction>("Zoom100")->isChecked());

    Find<QAction>("Zoom200")->trigger();
    EXPECT_EQ(form->Zoom(), 200);
    EXPECT_TRUE(Find<QAction>("Zoom200")->isChecked());
    EXPECT_FALSE(Find<QAction>("Zoom100")->isChecked());
    EXPECT_EQ(form->NoticeText(), QString::fromUtf8("表示倍率は次回の起動から200%になります"));
    EXPECT_TRUE(form->StatusText(1).isEmpty());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(ReadBytes(Path("quorveneditor.ini")).contains("Zoom=200"))
        << ReadBytes(Path("quorveneditor.ini")).toStdString();
    form.reset();

    MakeForm();
    EXPECT_EQ(form->Zoom(), 200);
    EXPECT_TRUE(Find<QAction>("Zoom200")->isChecked());
    EXPECT_TRUE(form->NoticeText().isEmpty());
    form.reset();
    WriteIni("[View]\r\nZoom=150\r\n");
    MakeForm();
    EXPECT_EQ(form->Zoom(), 100) << "only the three steps";
}

TEST_F(DesktopTest, APointerBetweenScreenPixelsMapsToThePictureItLiesIn) {
    // At 200% the pointer's position in view pixels has halves: it belongs to the pixel it lies in.
    MakeOpenForm();
    TImageEx* view = ViewNamed("ImgBGBankTable");
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove}) {
        const QPointF p(31.5, 15.5);
        QMouseEvent e(type, p, view->mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &e);
    }
    EXPECT_EQ(Lines("c16.Press"), std::vector<std::string>{"c16.Press ImgBGBankTable tag0 Left 31,15"});
    EXPECT_EQ(Lines("c16.Move"), std::vector<std::string>{"c16.Move ImgBGBankTable 31,15"});
    EXPECT_EQ(form->StatusText(1), QString::fromUtf8("タイルNo:01"));
}

// Run by the test below in a process of its own whose toolkit scales everything by two.
TEST_F(DesktopTest, DISABLED_ScaledChild) {
    ASSERT_EQ(qgetenv("QT_SCALE_FACTOR"), "2");
    MakeOpenForm();
    ShowActive();
    ASSERT_DOUBLE_EQ(form->devicePixelRatioF(), 2.0);
    TImageEx* view = ViewNamed("ImgBGBankTable");
    form->PageControl()->setCurrentIndex(kPage16x16Chip);
    // A picture of single-pixel stripes: drawn at 200% each pixel must become a 2x2 block of its own colour.
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) view->Picture().setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    view->Changed();
    const QImage shot = view->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(512, 512));
    int wrong = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            if (shot.pixel(x, y) != view->Picture().pixel(x / 2, y / 2)) ++wrong;
    EXPECT_EQ(wrong, 0) << "no smoothing between the pixels";

    log.clear();
    QTest::mouseMove(view, QPoint(20, 40));
    EXPECT_EQ(form->StatusText(1), QString::fromUtf8("タイルNo:21"));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(37, 200));
    EXPECT_EQ(Lines("c16.Press"), std::vector<std::string>{"c16.Press ImgBGBankTable tag0 Left 37,200"});
}

TEST(DesktopZoom, AtTwoHundredPercentViewsArePixelBlocksAndClicksHitTheirPixels) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_SCALE_FACTOR", "2");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=DesktopTest.DISABLED_ScaledChild", "--gtest_also_run_disabled_tests"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray out = child.readAllStandardOutput();
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

}  // namespace
