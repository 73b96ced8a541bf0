#include "app/testplay.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <exception>
#include <vector>

#include "document/MyIniFiles.h"
#include "document/fileio.h"
#include "editors/userprompts.h"
#include "graphics/uitext.h"

std::optional<EmulatorCommand> EmulatorCommandFor(const QString& setting, const QString& file,
                                                  const ProgramFinder& find) {
    QStringList parts = QProcess::splitCommand(setting.trimmed());
    if (parts.isEmpty()) {
        for (const char* name : {"fceux", "nestopia", "mednafen"}) {
            const QString found = find ? find(QString::fromLatin1(name)) : QString();
            if (!found.isEmpty()) {
                parts = QStringList{found, QStringLiteral("%f")};
                break;
            }
        }
        if (parts.isEmpty()) return std::nullopt;
    }
    EmulatorCommand command;
    command.program = parts.takeFirst();
    bool placed = false;
    for (QString& a : parts) {
        if (a.contains(QStringLiteral("%f"))) {
            a.replace(QStringLiteral("%f"), file);
            placed = true;
        }
    }
    if (!placed) parts << file;
    command.arguments = parts;
    return command;
}

QString StartTestPlay(UserPrompts& prompts, const RomImageData& rom, const TMyMemIniFile& ini,
                      const ProgramFinder& find) {
    if (!rom.IsLoaded()) return QString();
    const QString setting = QString::fromLocal8Bit(ini.ReadString(kTestPlaySection, kTestPlayKey, ""));
    // The name is not known yet: check that some emulator exists before writing anything.
    if (!EmulatorCommandFor(setting, QStringLiteral("x"), find)) {
        prompts.Message(Tr("TestPlay", kNoEmulatorText));
        return QString();
    }
    QTemporaryFile temp(QDir::temp().filePath(QStringLiteral("quorven-testplay-XXXXXX.nes")));
    temp.setAutoRemove(false);  // the emulator reads it after this function returns
    try {
        const std::vector<Byte> image = rom.ComposeImage();
        if (!temp.open() ||
            temp.write(reinterpret_cast<const char*>(image.data()), qint64(image.size())) != qint64(image.size()) ||
            !temp.flush()) {
            temp.remove();
            prompts.Message(Tr("TestPlay", kEmulatorFailedText));
            return QString();
        }
    } catch (const std::exception& e) {
        temp.remove();
        prompts.ErrorReport(QString::fromUtf8(e.what()));
        return QString();
    }
    const QString path = temp.fileName();
    temp.close();
    const auto command = EmulatorCommandFor(setting, path, find);
    if (!command || !QProcess::startDetached(command->program, command->arguments)) {
        QFile::remove(path);
        prompts.Message(Tr("TestPlay", kEmulatorFailedText));
        return QString();
    }
    return path;
}
