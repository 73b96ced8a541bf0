#include "app/testplay.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <exception>
#include <vector>

#include "document/MyIniFiles.h"
#include "document/fileio.h"
#include "document/filepathtext.h"
#include "editors/userprompts.h"
#include "graphics/uitext.h"

QStringList EmulatorSearchFolders(const QString& pathVariable, const QStringList& extraFolders) {
    return pathVariable.split(QDir::listSeparator(), Qt::SkipEmptyParts) + extraFolders;
}

ProgramFinder EmulatorFinder(const QStringList& extraFolders) {
    return [extraFolders](const QString& name) {
        const QStringList folders = EmulatorSearchFolders(qEnvironmentVariable("PATH"), extraFolders);
        // An empty list would make the toolkit search the PATH on its own.
        return folders.isEmpty() ? QString() : QStandardPaths::findExecutable(name, folders);
    };
}

QString CommandLineText(const EmulatorCommand& command) {
    QStringList parts;
    for (QString part : QStringList{command.program} + command.arguments) {
        if (part.isEmpty() || part.contains(QRegularExpression(QStringLiteral("[\\s\"'\\\\$`]"))))
            part = QLatin1Char('"') + part.replace(QLatin1Char('"'), QStringLiteral("\"\"\"")) + QLatin1Char('"');
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

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
        const QString settingsFile = QString::fromStdU16String(FilePathToText(ini.FileName()));
        prompts.Message(
            Tr("TestPlay", kNoEmulatorText).arg(QDir::toNativeSeparators(QFileInfo(settingsFile).absoluteFilePath())));
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
        prompts.Message(command ? Tr("TestPlay", kEmulatorStartFailedText).arg(CommandLineText(*command))
                                : Tr("TestPlay", kEmulatorFailedText));
        return QString();
    }
    return path;
}
