// QUORVEN EDITOR: a level editor for the ROM image of one side-scrolling game.

#include <QDir>
#include <QString>
#include <filesystem>
#include <system_error>

#include "app/application.h"
#include "app/commandline.h"
#include "app/installpaths.h"
#include "app/language.h"
#include "app/mainform.h"
#include "app/qtprompts.h"
#include "app/testplay.h"
#include "document/MyIniFiles.h"
#include "document/filepathtext.h"
#include "editors/pagefactory.h"

namespace {
// The folder of the running program, known before the application object exists.
QString ProgramFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) exe = std::filesystem::absolute(std::filesystem::path(argv0 ? argv0 : ""), ec);
    return QString::fromStdU16String(FilePathToText(exe.parent_path()));
}
}  // namespace

int main(int argc, char** argv) {
    // Settings and name lists beside the executable; the colour table in the current directory. An installed
    // program also finds the colour table and the name lists in its data folder, and keeps its settings in
    // the user's configuration folder when it may not (or should not) write beside itself.
    const QString programFolder = ProgramFolder(argc > 0 ? argv[0] : nullptr);
    const QString dataFolder = installpaths::DataFolder(programFolder);
    const bool programFolderWritable = installpaths::FolderWritable(programFolder);
    const QString configFolder = installpaths::UserConfigFolder();

    // The display scale and the language chosen in the View menu, both taken at start: the toolkit scales the
    // whole window by the scale (a scale the user set in the environment wins), and the window is built in
    // the language. They are read before the command line is, so nothing may be created yet.
    const TMyMemIniFile ini(
        FilePathFromText(installpaths::StartSettingsFile(programFolder, programFolderWritable, dataFolder, configFolder)
                             .toStdU16String()));
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        const int zoom = TMainForm::ReadZoom(ini);
        if (zoom != 100) qputenv("QT_SCALE_FACTOR", QByteArray::number(zoom / 100));
    }

    // Help and version need no display: the toolkit then starts without one, and no window is ever built.
    // With no display at all the command line is still read (an unknown option is refused as usual) before
    // the program says that it has nowhere to show its window.
    const bool noDisplay = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && commandline::NoDisplay();
    if ((noDisplay || commandline::AsksForTextOnly(argc, argv)) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TQuorvenApplication app(argc, argv, language::Read(ini));
    const commandline::Outcome arguments = commandline::Read(app, argc, argv);
    if (arguments.exitStatus) return *arguments.exitStatus;
    if (noDisplay) return commandline::RefuseNoDisplay();

    StartupPaths paths{programFolder, installpaths::PalettePath(QDir::currentPath(), dataFolder)};
    paths.dataFolder = dataFolder;
    paths.settingsFolder = installpaths::SettingsFolder(programFolder, programFolderWritable, dataFolder, configFolder);
    for (const char* folder : kGamesFolders) paths.emulatorFolders << QString::fromUtf8(folder);
    QtPrompts prompts;
    app.SetPrompts(&prompts);

    TMainForm form(prompts, CreateDefaultPageFactory(), paths);
    if (form.StartupFailed()) return 1;
    prompts.SetParentWidget(&form);
    prompts.SetStartPathSource([&form] { return form.DialogStartPath(); });
    form.show();

    // The optional image, opened at once as the Open command would.
    if (arguments.imageIndex > 0 && argv[arguments.imageIndex][0] != '\0') {
        const char* name = argv[arguments.imageIndex];
        std::error_code ec;
        std::filesystem::path image = std::filesystem::absolute(std::filesystem::path(name), ec);
        if (ec) image = std::filesystem::path(name);
        form.OpenImage(QString::fromStdU16String(FilePathToText(image)));
    }

    return app.exec();
}
