// The command-line conventions of every program the project builds for users, run as a user runs them: help
// and version print and end with 0, an unknown option is refused with one line and status 2 before anything
// is written (the editor before any window shows, and --help needs no display), "--" lets a name that starts
// with "-" through.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

struct ProgramRun {
    int status = -1;
    QString out, err;
};

ProgramRun Start(const QString& program, const QStringList& args, const QString& folder, bool display = true) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    if (display) env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(program, args);
    if (!p.waitForFinished(60000)) p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()), QString::fromLocal8Bit(p.readAllStandardError())};
}

const char* const kPrograms[] = {QUORVEN_EDITOR, QUORVEN_DEMO_ROM, QUORVEN_MAKE_PALETTE, QUORVEN_PATCH_TOOL,
                                 QUORVEN_RENDER_STAGE};

TEST(CommandLine, EveryProgramTakesHelpVersionAndRefusesUnknownOptions) {
    const struct {
        QStringList args;
        int status;
        const char* out;  // what standard output holds ("" nothing; %1 the program's name)
        const char* err;  // what the one line on standard error holds
    } rows[] = {
        {{"--help"}, 0, "%1", ""},
        {{"-h", "out.bin"}, 0, "--", ""},
        {{"--version"}, 0, "%1 " QUORVEN_VERSION "\n", ""},
        {{"--bogus", "out.bin"}, 2, "", "'--bogus'"},
        {{"out.bin", "-x"}, 2, "", "'-x'"},
    };
    for (const char* path : kPrograms) {
        const QString name = QFileInfo(path).fileName();
        for (const auto& row : rows) {
            QTemporaryDir folder;
            // --help and --version need no display; a refusal comes after the toolkit has taken its options.
            const ProgramRun run = Start(path, row.args, folder.path(), row.status != 0);
            const QString what = name + " " + row.args.join(' ');
            EXPECT_EQ(run.status, row.status) << what.toStdString() << run.err.toStdString();
            const QString out = QString::fromUtf8(row.out).replace("%1", name);
            if (out.endsWith('\n'))
                EXPECT_EQ(run.out, out) << what.toStdString();
            else if (out.isEmpty())
                EXPECT_EQ(run.out, "") << what.toStdString();
            else
                EXPECT_TRUE(run.out.contains(out) && run.out.contains("--version")) << what.toStdString();
            const QStringList refusals = run.err.split('\n').filter(QRegularExpression("^" + name + ": "));
            EXPECT_EQ(refusals.size(), *row.err ? 1 : 0) << what.toStdString() << run.err.toStdString();
            if (*row.err && !refusals.isEmpty()) {
                EXPECT_TRUE(refusals[0].contains(row.err)) << what.toStdString();
            }
            EXPECT_TRUE(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
                << what.toStdString();
        }
    }
}

TEST(CommandLine, NamesThatStartWithADashFollowTheEndOfOptions) {
    QTemporaryDir folder;
    EXPECT_EQ(Start(QUORVEN_DEMO_ROM, {"--", "-demo.nes"}, folder.path()).status, 0);
    EXPECT_EQ(QFileInfo(folder.filePath("-demo.nes")).size(), 16 + 512 * 1024);
    // An option's value may start with a dash: here a colour table that does not exist (status 1, not 2).
    const ProgramRun run =
        Start(QUORVEN_RENDER_STAGE, {"--palette", "-none.pal", "--", "-demo.nes", "0", "-out.png"}, folder.path());
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("-none.pal")) << run.err.toStdString();
    EXPECT_EQ(Start(QUORVEN_RENDER_STAGE, {"-demo.nes", "0", "out.png", "--set"}, folder.path()).status, 2);
    EXPECT_EQ(Start(QUORVEN_EDITOR, {"a.nes", "b.nes"}, folder.path()).status, 2);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
