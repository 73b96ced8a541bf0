// QUORVEN EDITOR: a level editor for the ROM image of one side-scrolling game.

#include <QDir>
#include <QString>
#include <filesystem>
#include <system_error>

#include "app/application.h"
#include "app/installpaths.h"
#include "app/language.h"
#include "app/mainform.h"
#include "app/qtprompts.h"
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
    StartupPaths paths{programFolder, installpaths::PalettePath(QDir::currentPath(), dataFolder)};
    paths.dataFolder = dataFolder;
    paths.settingsFolder = installpaths::SettingsFolder(programFolder, installpaths::FolderWritable(programFolder),
                                                        dataFolder, installpaths::UserConfigFolder());

    // The display scale and the language chosen in the View menu, both taken at start: the toolkit scales the
    // whole window by the scale (a scale the user set in the environment wins), and the window is built in
    // the language.
    const TMyMemIniFile ini(FilePathFromText((paths.settingsFolder + "/quorveneditor.ini").toStdU16String()));
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        const int zoom = TMainForm::ReadZoom(ini);
        if (zoom != 100) qputenv("QT_SCALE_FACTOR", QByteArray::number(zoom / 100));
    }

    TQuorvenApplication app(argc, argv, language::Read(ini));
    QtPrompts prompts;
    app.SetPrompts(&prompts);

    TMainForm form(prompts, CreateDefaultPageFactory(), paths);
    if (form.StartupFailed()) return 1;
    prompts.SetParentWidget(&form);
    prompts.SetStartPathSource([&form] { return form.DialogStartPath(); });
    form.show();

    // One optional argument: an image to open at once, as the Open command would. It is taken from argv as
    // bytes (QApplication has already removed its own options): a name that is not UTF-8, such as a
    // Shift-JIS name unpacked from an archive, must reach the file system unchanged.
    if (argc > 1 && argv[1][0] != '\0') {
        std::error_code ec;
        std::filesystem::path image = std::filesystem::absolute(std::filesystem::path(argv[1]), ec);
        if (ec) image = std::filesystem::path(argv[1]);
        form.OpenImage(QString::fromStdU16String(FilePathToText(image)));
    }

    return app.exec();
}
