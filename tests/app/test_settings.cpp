// The six settings: defaults, reading rules, the guard while applying, writing at close.

#include <QAction>

#include "apptest.h"
#include "document/MyIniFiles.h"

namespace {

class SettingsTest : public AppTest {
protected:
    bool Box(const char* name) { return Find<QCheckBox>(name)->isChecked(); }
    TMyMemIniFile Written() { return TMyMemIniFile(Path("quorveneditor.ini").toStdString()); }
};

TEST_F(SettingsTest, WithoutAFileTheDefaultsApplyAndClosingWritesAllSixKeys) {
    MakeForm();
    EXPECT_TRUE(Box("ChkSortObjectList"));
    EXPECT_TRUE(Box("ChkPopupHint"));
    EXPECT_FALSE(Box("Chk32x32ChipEditDrawGrid"));
    EXPECT_FALSE(Box("ChkMapSetEditDrawGrid"));
    EXPECT_EQ(form->FrameTimer().interval(), 16);
    EXPECT_TRUE(form->Rom().StageAt(0).HistoryEnabled());
    EXPECT_FALSE(QFile::exists(Path("quorveneditor.ini")));

    EXPECT_TRUE(form->close());
    const QByteArray text = ReadBytes(Path("quorveneditor.ini"));
    for (const char* line : {"Sort=1", "Popup=1", "Grid=0", "Interval=16", "Enabled=1"})
        EXPECT_TRUE(text.contains(line)) << line;
    for (const char* section :
         {"[ObjectEdit]", "[32x32ChipEdit]", "[MapSetEdit]", "[Timer]", "[Undo]", "[LevelDataAddress]", "[Address]"})
        EXPECT_TRUE(text.contains(section)) << section;
}

TEST_F(SettingsTest, UntickedBoxesAreWrittenAndReadBackNextRun) {
    MakeForm();
    Find<QCheckBox>("ChkPopupHint")->setChecked(false);
    Find<QCheckBox>("ChkMapSetEditDrawGrid")->setChecked(true);
    EXPECT_TRUE(form->close());
    form.reset();
    TMyMemIniFile ini = Written();
    EXPECT_EQ(ini.ReadString("ObjectEdit", "Popup", "?"), "0");
    EXPECT_EQ(ini.ReadString("MapSetEdit", "Grid", "?"), "1");
    EXPECT_EQ(ini.ReadString("32x32ChipEdit", "Grid", "?"), "0");

    MakeForm();
    EXPECT_FALSE(Box("ChkPopupHint"));
    EXPECT_TRUE(Box("ChkMapSetEditDrawGrid"));
    EXPECT_TRUE(Box("ChkSortObjectList"));
}

TEST_F(SettingsTest, BooleansAreIntegersAndNonNumbersGiveTheDefault) {
    WriteIni("[ObjectEdit]\nSort=0\nPopup=yes\n[32x32ChipEdit]\nGrid=2\n[MapSetEdit]\nGrid=$1\n");
    MakeForm();
    EXPECT_FALSE(Box("ChkSortObjectList"));
    EXPECT_TRUE(Box("ChkPopupHint"));
    EXPECT_TRUE(Box("Chk32x32ChipEditDrawGrid"));
    EXPECT_TRUE(Box("ChkMapSetEditDrawGrid"));
}

TEST_F(SettingsTest, ApplyingTheSettingsFiresNoBoxChange) {
    WriteIni("[32x32ChipEdit]\nGrid=1\n[MapSetEdit]\nGrid=1\n[ObjectEdit]\nSort=1\n");
    MakeForm();
    EXPECT_TRUE(Box("Chk32x32ChipEditDrawGrid"));
    EXPECT_TRUE(Box("ChkSortObjectList"));
    EXPECT_TRUE(Lines("toggled.").empty()) << "the grid boxes must not redraw while the settings load";
    EXPECT_FALSE(form->SettingsLoading());
    // Afterwards a click reaches the page as usual.
    Find<QCheckBox>("Chk32x32ChipEditDrawGrid")->click();
    EXPECT_EQ(Lines("toggled."), std::vector<std::string>{"toggled.Chk32x32ChipEditDrawGrid=0"});
}

TEST_F(SettingsTest, IntervalOfZeroOrLessRunsTheTimerAt16AndIsWrittenBackUnchanged) {
    for (const char* value : {"0", "-5"}) {
        WriteIni((std::string("[Timer]\nInterval=") + value + "\n").c_str());
        MakeForm();
        EXPECT_EQ(form->FrameTimer().interval(), 16) << value;
        EXPECT_TRUE(form->close());
        form.reset();
        EXPECT_EQ(Written().ReadString("Timer", "Interval", "?"), value);
    }
}

TEST_F(SettingsTest, HexadecimalIntervalIsReadAndWrittenBackInDecimal) {
    WriteIni("[Timer]\nInterval=0x20\n");
    MakeForm();
    EXPECT_EQ(form->FrameTimer().interval(), 32);
    ASSERT_TRUE(form->OpenImage(WriteRom("a.nes")));
    EXPECT_EQ(form->FrameTimer().interval(), 32);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(Written().ReadString("Timer", "Interval", "?"), "32");
}

TEST_F(SettingsTest, OtherIntervalSpellings) {
    struct Case {
        const char* value;
        int expected;
    };
    for (const Case& c : {Case{"$10", 16}, Case{"0X0A", 10}, Case{"250", 250}, Case{"fast", 16}, Case{"0", 16},
                          Case{"-5", 16}, Case{"", 16}}) {
        WriteIni((std::string("[Timer]\nInterval=") + c.value + "\n").c_str());
        MakeForm();
        EXPECT_EQ(form->FrameTimer().interval(), c.expected) << c.value;
        form.reset();
    }
}

TEST_F(SettingsTest, ZeroIntervalNeitherFailsNorSpins) {
    WriteIni("[Timer]\nInterval=0\n");
    MakeForm();
    ASSERT_TRUE(form->OpenImage(WriteRom("a.nes")));
    EXPECT_EQ(form->FrameTimer().interval(), 16);
    QTest::qWait(50);
    EXPECT_TRUE(form->close());
    // The file keeps the value the user wrote.
    EXPECT_EQ(Written().ReadString("Timer", "Interval", "?"), "0");
}

TEST_F(SettingsTest, UndoDisabledKeepsBothEditItemsDisabled) {
    WriteIni("[Undo]\nEnabled=0\n");
    MakeOpenForm();
    for (int s = 0; s < 16; ++s) EXPECT_FALSE(form->Rom().StageAt(s).HistoryEnabled());
    EditMap(0, 5, 0x0C);
    EXPECT_EQ(form->Rom().StageAt(0).Map()[5], 0x0C);
    form->RefreshEditMenu();
    EXPECT_FALSE(Find<QAction>("Undo1")->isEnabled());
    EXPECT_FALSE(Find<QAction>("Redo1")->isEnabled());
    form->Undo1Click();
    EXPECT_EQ(form->Rom().StageAt(0).Map()[5], 0x0C);
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::No);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(Written().ReadString("Undo", "Enabled", "?"), "0");
}

TEST_F(SettingsTest, HandEditedValuesAndAddressesAreKeptInTheRewrittenFile) {
    WriteIni("[Address]\nMidPointData=12345\n[Custom]\nKeep=me\n[Undo]\nEnabled=7\n");
    MakeForm();
    EXPECT_TRUE(form->close());
    TMyMemIniFile ini = Written();
    EXPECT_EQ(ini.ReadString("Custom", "Keep", "?"), "me");
    EXPECT_EQ(ini.ReadHex("Address", "MidPointData", 0), 0x12345);
    EXPECT_EQ(ini.ReadString("Undo", "Enabled", "?"), "1");
}

TEST_F(SettingsTest, UnwritableSettingsFileIsReportedButTheWindowStillCloses) {
    // A folder where the file should be: it reads as empty and cannot be replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir("quorveneditor.ini"));
    MakeOpenForm();
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    ASSERT_FALSE(prompts.log.isEmpty());
    EXPECT_TRUE(prompts.log.last().startsWith("error:"));
    EXPECT_TRUE(QFileInfo(Path("quorveneditor.ini")).isDir());
}

TEST_F(SettingsTest, SettingsAreWrittenOnlyOnce) {
    MakeForm();
    EXPECT_TRUE(form->close());
    QFile::remove(Path("quorveneditor.ini"));
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(QFile::exists(Path("quorveneditor.ini")));
}

}  // namespace
