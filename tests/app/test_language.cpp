// The interface language: the setting, the View menu that chooses it for the next start, the translations
// each language installs, and the English name lists.

#include <QAction>
#include <QMenu>
#include <QTranslator>

#include "app/language.h"
#include "apptest.h"
#include "document/MyIniFiles.h"
#include "graphics/uitext.h"

namespace {

class LanguageTest : public AppTest {
protected:
    language::Language ReadFrom(const QByteArray& text) {
        WriteBytes(Path("lang.ini"), text);
        const TMyMemIniFile ini(Path("lang.ini").toStdString());
        return language::Read(ini);
    }
    // The object kind names the object page was given.
    QStringList KindNames() {
        QStringList names;
        if (auto* cb = Find<QComboBox>("CBSelectObject"))
            for (int i = 0; i < cb->count(); ++i) names << cb->itemText(i);
        return names;
    }
    // Installs the English texts for the life of the test.
    void UseEnglish() {
        ASSERT_TRUE(english_.load(QStringLiteral(":/i18n/quorven_en.qm")));
        ASSERT_TRUE(QCoreApplication::installTranslator(&english_));
    }
    void TearDown() override {
        AppTest::TearDown();
        QCoreApplication::removeTranslator(&english_);
    }
    QTranslator english_;
};

TEST_F(LanguageTest, OnlyEnIsEnglishAndEverythingElseJapanese) {
    using language::Language;
    EXPECT_EQ(ReadFrom(""), Language::Japanese);
    EXPECT_EQ(ReadFrom("[View]\r\nLanguage=ja\r\n"), Language::Japanese);
    EXPECT_EQ(ReadFrom("[View]\r\nLanguage=en\r\n"), Language::English);
    EXPECT_EQ(ReadFrom("[View]\r\nLanguage= EN \r\n"), Language::English);
    EXPECT_EQ(ReadFrom("[View]\r\nLanguage=english\r\n"), Language::Japanese);
    EXPECT_EQ(ReadFrom("[View]\r\nLanguage=\r\n"), Language::Japanese);
    EXPECT_EQ(ReadFrom("[Other]\r\nLanguage=en\r\n"), Language::Japanese);
    EXPECT_STREQ(language::Code(Language::English), "en");
    EXPECT_STREQ(language::Code(Language::Japanese), "ja");
}

TEST_F(LanguageTest, TheEnglishTranslationIsBuiltIntoTheProgram) {
    EXPECT_EQ(Tr("MainWindow", "開く(&O)"), QString::fromUtf8("開く(&O)")) << "no translation without one installed";
    UseEnglish();
    EXPECT_EQ(Tr("MainWindow", "開く(&O)"), "&Open");
    EXPECT_EQ(Tr("Document", "変更あり"), "Modified");
    EXPECT_EQ(Tr("MainWindow", "表示倍率は次回の起動から%1%になります").arg(200),
              "The zoom becomes 200% at the next start");
    // A text the program never had stays as it is.
    EXPECT_EQ(Tr("MainWindow", "存在しない"), QString::fromUtf8("存在しない"));
}

TEST_F(LanguageTest, TheViewMenuChoosesTheLanguageOfTheNextStart) {
    MakeForm();
    auto* menu = Find<QMenu>("Language1");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QString::fromUtf8("言語"));
    QStringList captions;
    for (QAction* a : menu->actions()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{QString::fromUtf8("日本語"), "English"}));
    EXPECT_TRUE(Find<QAction>("Language_ja")->isChecked());
    EXPECT_FALSE(Find<QAction>("Language_en")->isChecked());

    // Japanese again: nothing to say, and a settings file without the key keeps none.
    Find<QAction>("Language_ja")->trigger();
    EXPECT_TRUE(form->NoticeText().isEmpty());

    Find<QAction>("Language_en")->trigger();
    EXPECT_EQ(form->Language(), language::Language::English);
    EXPECT_TRUE(Find<QAction>("Language_en")->isChecked());
    EXPECT_FALSE(Find<QAction>("Language_ja")->isChecked());
    EXPECT_EQ(form->NoticeText(), QString::fromUtf8("言語は次回の起動から切り替わります"));
    EXPECT_EQ(Find<QMenu>("File1")->title(), QString::fromUtf8("ファイル(&F)")) << "the window keeps its language";
    // Back to the language it started in: the notice goes.
    Find<QAction>("Language_ja")->trigger();
    EXPECT_TRUE(form->NoticeText().isEmpty());
    Find<QAction>("Language_en")->trigger();
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(ReadBytes(Path("quorveneditor.ini")).contains("Language=en"));
    form.reset();

    MakeForm();
    EXPECT_TRUE(Find<QAction>("Language_en")->isChecked());
    EXPECT_TRUE(form->NoticeText().isEmpty());
}

TEST_F(LanguageTest, ASettingsFileWithoutTheKeyStaysWithoutIt) {
    MakeForm();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(ReadBytes(Path("quorveneditor.ini")).contains("Language"));
}

TEST_F(LanguageTest, InEnglishTheEnglishNameListsAreReadWhereThereAreAny) {
    WriteShiftJis(Path("ObjectList.txt"), {QString::fromUtf8("00 スライム"), QString::fromUtf8("01 コウモリ")});
    WriteShiftJis(Path("ObjectList_en.txt"), {"00 Slime", "01 Bat"});
    WriteShiftJis(Path("ChipAttributes_en.txt"), {"0x Sky"});

    // Japanese: the English lists are not looked at.
    MakeForm();
    EXPECT_EQ(KindNames(), (QStringList{QString::fromUtf8("00 スライム"), QString::fromUtf8("01 コウモリ")}));
    EXPECT_NE(form->Graphics().ChipAttributeName(0), "0x Sky");
    form.reset();

    WriteIni("[View]\r\nLanguage=en\r\n");
    MakeForm();
    EXPECT_EQ(KindNames(), (QStringList{"00 Slime", "01 Bat"}));
    EXPECT_EQ(form->Graphics().ChipAttributeName(0), "0x Sky");
    form.reset();

    // Without an English list, English falls back on the usual one.
    QFile::remove(Path("ObjectList_en.txt"));
    MakeForm();
    EXPECT_EQ(KindNames(), (QStringList{QString::fromUtf8("00 スライム"), QString::fromUtf8("01 コウモリ")}));
    EXPECT_TRUE(prompts.Messages().isEmpty());
}

TEST_F(LanguageTest, AnEnglishWindowSpeaksEnglishThroughout) {
    UseEnglish();
    WriteIni("[View]\r\nLanguage=en\r\n");
    MakeOpenForm();
    EXPECT_EQ(Find<QMenu>("File1")->title(), "&File");
    EXPECT_EQ(Find<QAction>("Language_ja")->text(), "Japanese");
    EXPECT_TRUE(Find<QAction>("Language_en")->isChecked());
    EXPECT_EQ(Find<QComboBox>("CBStage")->itemText(0), "00 First Meadow");
    EditMap(0, 1, 0x05);
    EXPECT_EQ(form->StatusText(0), "Modified");
    prompts.yesNoCancelAnswers.push_back(UserPrompts::Answer::Cancel);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].startsWith("ync:")) << prompts.log[0].toStdString();
    EXPECT_TRUE(prompts.log[0].endsWith("a.nes?")) << prompts.log[0].toStdString();
    form->Flags().ClearAllModified();
}

}  // namespace
