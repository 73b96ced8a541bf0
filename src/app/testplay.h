#pragma once
// Test play: the current image, edits included, goes to a temporary file of its own (never the user's file)
// and the emulator named in the settings file starts on it, detached, so the editor stays usable. The main
// window removes the temporary files when it goes.
//
// Settings file: section "TestPlay", key "Emulator": a command line in which "%f" stands for the file (the
// file is added at the end when the line has no "%f"). Without the key the first of fceux, nestopia and
// mednafen found is used, each looked for in the folders of the PATH and then in the games folders the main
// program passes in (/usr/games and /usr/local/games, where Debian installs emulators and which root's PATH
// lacks).

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class RomImageData;
class TMyMemIniFile;
class UserPrompts;

struct EmulatorCommand {
    QString program;
    QStringList arguments;
};

// Finds a program by name; returns its full path or an empty string.
using ProgramFinder = std::function<QString(const QString& name)>;

// The folders an emulator is looked for in: those of pathVariable (the PATH, ':'-separated, empty parts
// skipped) in order, then extraFolders.
QStringList EmulatorSearchFolders(const QString& pathVariable, const QStringList& extraFolders);
// The finder test play uses: the first executable of the name in EmulatorSearchFolders of the PATH as it is
// at the time of the search and extraFolders.
ProgramFinder EmulatorFinder(const QStringList& extraFolders);
inline constexpr const char* kGamesFolders[] = {"/usr/games", "/usr/local/games"};

// The command line as it is shown to the user: the program and the arguments, each quoted when it needs it.
QString CommandLineText(const EmulatorCommand& command);

// The command to run for the file: from the setting (empty: the default search). nullopt when there is none.
std::optional<EmulatorCommand> EmulatorCommandFor(const QString& setting, const QString& file,
                                                  const ProgramFinder& find);

inline constexpr const char* kTestPlaySection = "TestPlay";
inline constexpr const char* kTestPlayKey = "Emulator";
// %1: the settings file's full path.
inline constexpr const char* kNoEmulatorText =
    QT_TRANSLATE_NOOP("TestPlay",
                      "エミュレータが見つかりません。%1 の [TestPlay] に Emulator=コマンドライン"
                      "（%f がROMイメージのファイル名になります）を書いてください");
inline constexpr const char* kEmulatorFailedText = QT_TRANSLATE_NOOP("TestPlay", "エミュレータを起動できませんでした");
// %1: the command line tried.
inline constexpr const char* kEmulatorStartFailedText =
    QT_TRANSLATE_NOOP("TestPlay", "エミュレータを起動できませんでした: %1");

// Writes the image to a new temporary file and starts the emulator. Returns the temporary file's path, or
// an empty string when nothing was started (the reason was shown through the prompts).
QString StartTestPlay(UserPrompts& prompts, const RomImageData& rom, const TMyMemIniFile& ini,
                      const ProgramFinder& find);
