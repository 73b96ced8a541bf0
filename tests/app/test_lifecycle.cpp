// Open, save, save as, close, closing the window and changing the stage.

#include <QAction>
#include <QMenu>
#include <QTabWidget>

#include "apptest.h"

namespace {

const std::vector<std::string> kResetOrder = {"pal.Reset",  "c16.Reset", "c32.Reset",
                                              "mset.Reset", "map.Reset", "obj.Reset"};

QString Caption(const QString& path) {
    return path + " - QUORVEN EDITOR";
}
QString SavePrompt(const QString& path) {
    return "ync:" + path + QString::fromUtf8("への変更を保存しますか？");
}

class LifecycleTest : public AppTest {
protected:
    void ExpectOpenState(const QString& path) {
        EXPECT_TRUE(form->ImageOpen());
        EXPECT_EQ(form->windowTitle(), Caption(path));
        EXPECT_FALSE(Find<QComboBox>("CBStage")->isHidden());
        EXPECT_FALSE(Find<QTabWidget>("EditPageControl")->isHidden());
        EXPECT_TRUE(Find<QAction>("Save1")->isEnabled());
        EXPECT_TRUE(Find<QAction>("SaveAs1")->isEnabled());
        EXPECT_TRUE(Find<QAction>("Close1")->isEnabled());
        EXPECT_TRUE(Find<QMenu>("Edit1")->menuAction()->isVisible());
    }
    void ExpectClosedState() {
        EXPECT_FALSE(form->ImageOpen());
        EXPECT_EQ(form->windowTitle(), "QUORVEN EDITOR");
        EXPECT_TRUE(Find<QComboBox>("CBStage")->isHidden());
        EXPECT_TRUE(Find<QTabWidget>("EditPageControl")->isHidden());
        EXPECT_FALSE(Find<QAction>("Save1")->isEnabled());
        EXPECT_FALSE(Find<QAction>("SaveAs1")->isEnabled());
        EXPECT_FALSE(Find<QAction>("Close1")->isEnabled());
        EXPECT_TRUE(Find<QAction>("Open1")->isEnabled());
        EXPECT_FALSE(Find<QMenu>("Edit1")->menuAction()->isVisible());
    }
    std::int32_t MapAddress(int stage) { return form->Rom().Addresses().TableAddress(StageTable::Map, stage); }
};

TEST_F(LifecycleTest, OpenWithNoImageNeedsNoPromptAndResetsEveryPageInOrder) {
    MakeForm();
    prompts.log.clear();
    log.clear();
    const QString rom = WriteRom("first.nes", 1);
    prompts.openNames.push_back(rom);
    form->Open1Click();
    EXPECT_EQ(prompts.log, QStringList{"open"});
    ExpectOpenState(rom);
    EXPECT_EQ(Lines(), kResetOrder);
    EXPECT_EQ(form->Rom().CurrentStage(), 0);
    EXPECT_EQ(Find<QComboBox>("CBStage")->currentIndex(), 0);
    EXPECT_EQ(form->PageControl()->currentIndex(), kPage16x16Chip) << "first page shown after the first open";
    EXPECT_TRUE(form->FrameTimer().isActive());
    EXPECT_TRUE(form->StatusText(0).isEmpty());
}

TEST_F(LifecycleTest, CancelledOpenDialogChangesNothing) {
    MakeForm();
    prompts.log.clear();
    form->Open1Click();  // no scripted name: the dialog is cancelled
    EXPECT_EQ(prompts.log, QStringList{"open"});
    ExpectClosedState();
    EXPECT_TRUE(Lines("pal.").empty());
}

TEST_F(LifecycleTest, OpenOverAnUnmodifiedImageDoesNotPrompt) {
    MakeOpenForm();
    const QString second = WriteRom("second.nes", 2);
    prompts.openNames.push_back(second);
    form->Open1Click();
    EXPECT_EQ(prompts.log, QStringList{"open"});
    ExpectOpenState(second);
    EXPECT_EQ(Lines(), kResetOrder);
}

TEST_F(LifecycleTest, OpenOverModifiedImageAnsweredNoDiscardsTheChanges) {
    const QString first = MakeOpenForm();
    EditMap(0, 3, 0x11);
    EXPECT_EQ(form->StatusText(0), QString::fromUtf8("変更あり"));
    const QString second = WriteRom("second.nes", 2);
    prompts.openNames.push_back(second);
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::No);
    form->Open1Click();
    // The dialog comes first, the prompt second.
    EXPECT_EQ(prompts.log, (QStringList{"open", SavePrompt(first)}));
    ExpectOpenState(second);
    EXPECT_FALSE(form->Flags().AnyModified());
    EXPECT_TRUE(form->StatusText(0).isEmpty());
    EXPECT_NE(form->Rom().StageAt(0).Map()[3], 0x11) << "the new image is decoded afresh";
    EXPECT_EQ(ReadBytes(first).at(MapAddress(0) + 3), ReadBytes(second).at(MapAddress(0) + 3)) << "nothing saved";
}

TEST_F(LifecycleTest, OpenOverModifiedImageYesThenCancelledSaveKeepsTheOldImage) {
    const QString first = MakeOpenForm();
    EditMap(0, 3, 0x11);
    prompts.openNames.push_back(WriteRom("second.nes", 2));
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Yes);
    form->Open1Click();
    EXPECT_EQ(prompts.log, (QStringList{"open", SavePrompt(first), "save"}));
    ExpectOpenState(first);
    EXPECT_TRUE(form->Flags().AnyModified());
    EXPECT_EQ(form->Rom().StageAt(0).Map()[3], 0x11);
    EXPECT_TRUE(Lines("pal.Reset").empty());
}

TEST_F(LifecycleTest, OpenOverModifiedImageCancelledKeepsTheOldImage) {
    const QString first = MakeOpenForm();
    EditMap(0, 3, 0x11);
    prompts.openNames.push_back(WriteRom("second.nes", 2));
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Cancel);
    form->Open1Click();
    EXPECT_EQ(prompts.log, (QStringList{"open", SavePrompt(first)}));
    ExpectOpenState(first);
    EXPECT_TRUE(form->Flags().AnyModified());
}

TEST_F(LifecycleTest, OpenOverModifiedImageYesSavesUnderTheChosenNameFirst) {
    const QString first = MakeOpenForm();
    EditMap(0, 3, 0x11);
    const QString second = WriteRom("second.nes", 2);
    const QString saved = Path("saved.nes");
    prompts.openNames.push_back(second);
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Yes);
    prompts.saveNames.push_back(saved);
    form->Open1Click();
    EXPECT_EQ(prompts.log, (QStringList{"open", SavePrompt(first), "save"}));
    ExpectOpenState(second);
    const QByteArray bytes = ReadBytes(saved);
    ASSERT_EQ(bytes.size(), ReadBytes(first).size());
    EXPECT_EQ(Byte(bytes.at(MapAddress(0) + 3)), 0x11);
    EXPECT_EQ(bytes.at(8), 1) << "the old image was saved, not the new one";
}

TEST_F(LifecycleTest, RefusedFileKeepsTheOpenImageSaveable) {
    const QString first = MakeOpenForm();
    EditMap(0, 3, 0x22);
    // Not a ROM image: refused with its message after the prompt was answered No.
    WriteBytes(Path("bad.nes"), QByteArray(64, 'x'));
    prompts.openNames.push_back(Path("bad.nes"));
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::No);
    form->Open1Click();
    EXPECT_EQ(prompts.log.last(), QString::fromUtf8("message:ROMイメージが異常です"));
    ExpectOpenState(first);
    EXPECT_TRUE(Lines().empty()) << "no page is reset";
    // Too short: the other message. The image is still modified, so the prompt comes again.
    WriteBytes(Path("short.nes"), QByteArray("NES\x1A", 4));
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::No);
    EXPECT_FALSE(form->OpenImage(Path("short.nes")));
    EXPECT_EQ(prompts.log.last(), QString::fromUtf8("message:ファイルを開けませんでした"));
    // A file that cannot be read at all goes to the error report.
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::No);
    EXPECT_FALSE(form->OpenImage(Path("missing.nes")));
    EXPECT_TRUE(prompts.log.last().startsWith("error:"));
    ExpectOpenState(first);
    // The old image still saves under its own name, with its edit.
    EXPECT_TRUE(form->Save1Click());
    EXPECT_EQ(Byte(ReadBytes(first).at(MapAddress(0) + 3)), 0x22);
}

TEST_F(LifecycleTest, SaveAsThenSaveWritesToTheNewPath) {
    const QString first = MakeOpenForm();
    const QByteArray original = ReadBytes(first);
    EditMap(2, 7, 0x1E);
    // Cancelled dialog: nothing happens.
    EXPECT_FALSE(form->SaveAs1Click());
    EXPECT_EQ(form->windowTitle(), Caption(first));
    EXPECT_TRUE(form->Flags().AnyModified());

    const QString other = Path("other.nes");
    prompts.saveNames.push_back(other);
    Find<QAction>("SaveAs1")->trigger();
    EXPECT_EQ(form->windowTitle(), Caption(other));
    EXPECT_FALSE(form->Flags().AnyModified());
    EXPECT_TRUE(form->StatusText(0).isEmpty());
    EXPECT_EQ(Byte(ReadBytes(other).at(MapAddress(2) + 7)), 0x1E);
    EXPECT_EQ(ReadBytes(first), original) << "the opened file is untouched";

    EditMap(2, 8, 0x1F);
    prompts.log.clear();
    Find<QAction>("Save1")->trigger();
    EXPECT_TRUE(prompts.log.isEmpty()) << "a plain save asks nothing";
    EXPECT_EQ(form->windowTitle(), Caption(other));
    const QByteArray saved = ReadBytes(other);
    EXPECT_EQ(Byte(saved.at(MapAddress(2) + 8)), 0x1F);
    EXPECT_EQ(Byte(saved.at(MapAddress(2) + 7)), 0x1E);
    EXPECT_EQ(ReadBytes(first), original);
    // After a save both Edit items are disabled.
    form->RefreshEditMenu();
    EXPECT_FALSE(Find<QAction>("Undo1")->isEnabled());
}

TEST_F(LifecycleTest, FailedSaveIsReportedAndAbandonsTheClose) {
    const QString first = MakeOpenForm();
    EditMap(0, 1, 0x05);
    // A folder stands where the file should go: the save fails.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.nes"));
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Yes);
    prompts.saveNames.push_back(Path("taken.nes"));
    form->Close1Click();
    ASSERT_GE(prompts.log.size(), 3) << prompts.log.join(" / ").toStdString()
                                     << " dir=" << QFileInfo(Path("taken.nes")).isDir();
    EXPECT_TRUE(prompts.log.last().startsWith("error:"));
    ExpectOpenState(first);
    EXPECT_TRUE(form->Flags().AnyModified());
    EXPECT_EQ(form->StatusText(0), QString::fromUtf8("変更あり"));
}

TEST_F(LifecycleTest, CloseAsksOnlyWhenModifiedAndHonoursEachAnswer) {
    MakeOpenForm();
    // Clean: no prompt.
    form->Close1Click();
    EXPECT_TRUE(prompts.log.isEmpty());
    ExpectClosedState();
    EXPECT_FALSE(form->FrameTimer().isActive());

    // Modified, Yes, dialog cancelled: stays open and modified.
    const QString rom = Path("a.nes");
    ASSERT_TRUE(form->OpenImage(rom));
    EditMap(1, 0, 0x09);
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Yes);
    form->Close1Click();
    EXPECT_EQ(prompts.log, (QStringList{SavePrompt(rom), "save"}));
    ExpectOpenState(rom);
    EXPECT_TRUE(form->Flags().AnyModified());

    // Modified, Cancel: stays.
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Cancel);
    form->Close1Click();
    ExpectOpenState(rom);

    // Modified, Yes, a name: saved there, then closed.
    prompts.log.clear();
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Yes);
    prompts.saveNames.push_back(Path("closing.nes"));
    form->Close1Click();
    EXPECT_EQ(prompts.log, (QStringList{SavePrompt(rom), "save"}));
    ExpectClosedState();
    EXPECT_EQ(Byte(ReadBytes(Path("closing.nes")).at(MapAddress(1))), 0x09);
    EXPECT_TRUE(form->StatusText(0).isEmpty());
}

TEST_F(LifecycleTest, CloseAnsweredNoDiscardsAndReopenStartsAtStageZeroOnTheLastPage) {
    const QString rom = MakeOpenForm();
    Find<QComboBox>("CBStage")->setCurrentIndex(4);
    form->PageControl()->setCurrentIndex(kPageMapSet);
    EditMap(4, 2, 0x03);
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::No);
    form->Close1Click();
    ExpectClosedState();
    EXPECT_FALSE(form->Flags().AnyModified());
    EXPECT_EQ(form->Rom().CurrentStage(), 0);

    log.clear();
    ASSERT_TRUE(form->OpenImage(rom));
    EXPECT_EQ(Find<QComboBox>("CBStage")->currentIndex(), 0);
    EXPECT_EQ(form->Rom().CurrentStage(), 0);
    EXPECT_EQ(form->PageControl()->currentIndex(), kPageMapSet);
    EXPECT_EQ(Lines(), kResetOrder) << "opening resets; it does not activate";
}

TEST_F(LifecycleTest, ClosingTheWindowWithCancelKeepsItOpenAndWritesNoSettings) {
    MakeOpenForm();
    form->show();
    EditMap(0, 0, 0x01);
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(QFile::exists(Path("quorveneditor.ini")));

    // Yes and a cancelled dialog: still open.
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Yes);
    Find<QAction>("Exit1")->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(QFile::exists(Path("quorveneditor.ini")));

    // No: the window closes and the settings are written.
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::No);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(QFile::exists(Path("quorveneditor.ini")));
    EXPECT_FALSE(form->FrameTimer().isActive());
}

TEST_F(LifecycleTest, StageChangeKeepsEditsAndHistoryAndStopsTheTimerAroundTheResets) {
    MakeOpenForm();
    form->PageControl()->setCurrentIndex(kPageMap);
    auto* stage = Find<QComboBox>("CBStage");
    stage->setCurrentIndex(3);
    EditMap(3, 10, 0x15);
    EditMap(3, 11, 0x16);
    ASSERT_EQ(form->Rom().StageAt(3).UndoDepth(), 2u);

    std::vector<bool> timerDuringReset;
    for (RecordingController* c : factory->made)
        c->onReset = [&] { timerDuringReset.push_back(form->FrameTimer().isActive()); };
    log.clear();
    stage->setCurrentIndex(5);
    EXPECT_EQ(Lines(), kResetOrder);
    EXPECT_EQ(form->Rom().CurrentStage(), 5);
    EXPECT_EQ(form->PageControl()->currentIndex(), kPageMap) << "the active page stays";
    EXPECT_TRUE(form->FrameTimer().isActive());
    form->RefreshEditMenu();
    EXPECT_FALSE(Find<QAction>("Undo1")->isEnabled()) << "stage 5 has no history";
    EXPECT_EQ(form->StatusText(0), QString::fromUtf8("変更あり"));

    stage->setCurrentIndex(3);
    EXPECT_EQ(timerDuringReset, std::vector<bool>(12, false));
    EXPECT_EQ(form->Rom().StageAt(3).Map()[10], 0x15);
    EXPECT_EQ(form->Rom().StageAt(3).Map()[11], 0x16);
    form->RefreshEditMenu();
    EXPECT_TRUE(Find<QAction>("Undo1")->isEnabled());
    EXPECT_EQ(Find<QAction>("Undo1")->text(), QString::fromUtf8("元に戻す(&U) - マップの編集"));
    log.clear();
    form->Undo1Click();
    EXPECT_NE(form->Rom().StageAt(3).Map()[11], 0x16);
    EXPECT_EQ(form->Rom().StageAt(3).Map()[10], 0x15);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"c16.RebuildSheet", "c32.RebuildSheet", "map.Activate"}));
    EXPECT_EQ(Find<QAction>("Redo1")->text(), QString::fromUtf8("やり直し(&R) - マップの編集"));
    EXPECT_TRUE(prompts.log.isEmpty()) << "a stage change never prompts";
}

}  // namespace
