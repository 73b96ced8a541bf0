// Test play from the File menu's export submenu with a stand-in emulator script: it receives a temporary
// file holding the current bytes, edits included; the user's file stays untouched; no emulator, a message.

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "app/testplay.h"
#include "document/MyIniFiles.h"
#include "pagebench.h"

namespace {

// The stand-in emulator: copies the file it is given next to itself, then says which file it was given.
QString FakeEmulator() {
    static const QString path = [] {
        const QString p =
            QDir::temp().filePath(QString("quorven-fake-emulator-%1.sh").arg(QCoreApplication::applicationPid()));
        QFile f(p);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write("#!/bin/sh\ncp \"$2\" \"$0.copy\"\nprintf '%s' \"$1 $2\" > \"$0.args\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return p;
    }();
    return path;
}

class TestPlayTest : public pagebench::PageBench {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPageMap};
        o.ini = QString("[TestPlay]\nEmulator=\"%1\" -fast %f\n").arg(FakeEmulator()).toLocal8Bit();
        return o;
    }
    void TearDown() override {
        PageBench::TearDown();
        for (const char* s : {"", ".copy", ".args"}) QFile::remove(FakeEmulator() + s);
    }
    // The script writes ".args" last, after the copy is complete.
    static QByteArray WaitFor(const QString& path) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 10000 && !QFileInfo(path).exists()) QThread::msleep(20);
        QThread::msleep(50);
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST(TestPlayCommand, FileTakesThePlaceOfPercentFOrGoesLast) {
    auto none = [](const QString&) { return QString(); };
    auto c = EmulatorCommandFor("\"/opt/my emu/run\" --rom=%f -x", "/tmp/a b.nes", none);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->program, "/opt/my emu/run");
    EXPECT_EQ(c->arguments, (QStringList{"--rom=/tmp/a b.nes", "-x"}));
    c = EmulatorCommandFor("emu -f", "/tmp/x.nes", none);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->arguments, (QStringList{"-f", "/tmp/x.nes"}));
    // No setting: the first of fceux, nestopia, mednafen on the PATH.
    auto some = [](const QString& name) { return name == "fceux" ? QString() : "/usr/bin/" + name; };
    c = EmulatorCommandFor("  ", "/tmp/x.nes", some);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->program, "/usr/bin/nestopia");
    EXPECT_EQ(c->arguments, QStringList{"/tmp/x.nes"});
    EXPECT_FALSE(EmulatorCommandFor("", "/tmp/x.nes", none).has_value());
}

TEST_F(TestPlayTest, EmulatorGetsATemporaryFileWithTheCurrentBytes) {
    auto* item = Find<QAction>("TestPlay1");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QString::fromUtf8("テストプレイ"));
    const QString userFile = form_->Rom().FileName().c_str();
    const QByteArray before = ReadFile(userFile);
    StageData& st = form_->Rom().StageAt(4);
    ASSERT_TRUE(st.SetMapEntry(3, static_cast<Byte>((st.Map()[3] + 1) % 32)));
    form_->Flags().SetModified(ModifiedCategory::Map, 4, true);
    const std::vector<Byte> expected = form_->Rom().ComposeImage();

    item->trigger();
    const QString args = QString::fromLocal8Bit(WaitFor(FakeEmulator() + ".args"));
    QFile copy(FakeEmulator() + ".copy");
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    const QByteArray got = copy.readAll();
    ASSERT_EQ(std::size_t(got.size()), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reinterpret_cast<const Byte*>(got.constData())));
    ASSERT_TRUE(args.startsWith("-fast ")) << args.toStdString();
    const QString temp = args.mid(6);
    EXPECT_NE(QFileInfo(temp).absoluteFilePath(), QFileInfo(userFile).absoluteFilePath());
    EXPECT_TRUE(temp.endsWith(".nes"));
    EXPECT_EQ(ReadFile(userFile), before);
    EXPECT_TRUE(form_->Flags().AnyModified());
    EXPECT_TRUE(prompts_.Messages().isEmpty());
    // The temporary image goes with the window; the user's file stays.
    EXPECT_TRUE(QFileInfo::exists(temp));
    form_->Flags().ClearAllModified();
    form_.reset();
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_EQ(ReadFile(userFile), before);
}

class NoEmulatorTest : public pagebench::PageBench {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPageMap};
        return o;
    }
};

TEST_F(NoEmulatorTest, NoEmulatorFoundSaysHowToSetOne) {
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QDir(Path("empty-path")).absolutePath().toLocal8Bit());
    Find<QAction>("TestPlay1")->trigger();
    qputenv("PATH", path);
    ASSERT_EQ(prompts_.Messages().size(), 1);
    const QString settings = QDir::toNativeSeparators(QFileInfo(Path("quorveneditor.ini")).absoluteFilePath());
    EXPECT_EQ(prompts_.Messages().first(), QString::fromUtf8(kNoEmulatorText).arg(settings));

    // A command that cannot start: the message names the command line tried.
    TMyMemIniFile other(Path("other.ini").toStdString());
    other.WriteString(kTestPlaySection, kTestPlayKey, "\"/no/such emu\" -x %f");
    EXPECT_TRUE(StartTestPlay(prompts_, form_->Rom(), other, {}).isEmpty());
    ASSERT_EQ(prompts_.Messages().size(), 2);
    const QString tried = prompts_.Messages().last();
    EXPECT_TRUE(tried.startsWith(QString::fromUtf8(kEmulatorStartFailedText).arg("\"/no/such emu\" -x /")))
        << tried.toStdString();
    EXPECT_TRUE(tried.endsWith(".nes")) << tried.toStdString();
}

// Each emulator is looked for on the PATH, then in the games folders in their order; the emulators' own
// order comes first, so fceux in a games folder wins over nestopia on the PATH.
TEST(TestPlayCommand, EmulatorsAreSearchedOnThePathThenInTheGamesFolders) {
    EXPECT_EQ(EmulatorSearchFolders("/a::/b:", {"/g"}), (QStringList{"/a", "/b", "/g"}));
    QTemporaryDir root;
    auto put = [&](const QString& folder, const char* name, bool executable) {
        QDir(root.path()).mkpath(folder);
        QFile f(root.filePath(folder + "/" + name));
        f.open(QIODevice::WriteOnly);
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | (executable ? QFile::ExeOwner : QFile::Permissions()));
    };
    put("bin1", "fceux", false);  // not executable: passed over
    put("bin2", "nestopia", true);
    put("games", "fceux", true);
    put("localgames", "fceux", true);
    put("localgames", "mednafen", true);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", (root.filePath("bin1") + ":" + root.filePath("bin2")).toLocal8Bit());
    const ProgramFinder find = EmulatorFinder({root.filePath("games"), root.filePath("localgames")});
    const struct {
        const char* name;
        QString found;
    } rows[] = {{"fceux", root.filePath("games/fceux")},
                {"nestopia", root.filePath("bin2/nestopia")},
                {"mednafen", root.filePath("localgames/mednafen")},
                {"snes9x", QString()}};
    for (const auto& row : rows) EXPECT_EQ(find(row.name), row.found) << row.name;
    EXPECT_EQ(EmulatorCommandFor("", "x.nes", find).value_or(EmulatorCommand{}).program, root.filePath("games/fceux"));
    EXPECT_EQ(EmulatorCommandFor("", "x.nes", EmulatorFinder({})).value_or(EmulatorCommand{}).program,
              root.filePath("bin2/nestopia"));
    qputenv("PATH", path);
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
