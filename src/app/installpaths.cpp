#include "app/installpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifndef QUORVEN_DATA_RELATIVE
#define QUORVEN_DATA_RELATIVE "../share/quorven-editor"
#endif

namespace installpaths {

QString DataFolder(const QString& programFolder) {
    return QDir::cleanPath(programFolder + "/" + QString::fromUtf8(QUORVEN_DATA_RELATIVE));
}

namespace {
bool IsFile(const QString& path) {
    return QFileInfo(path).isFile();
}
}  // namespace

QString PalettePath(const QString& currentFolder, const QString& dataFolder) {
    const QString name = QString::fromUtf8(kPaletteName);
    if (QFileInfo::exists(QDir(currentFolder).filePath(name))) return name;
    if (!dataFolder.isEmpty() && IsFile(QDir(dataFolder).filePath(name))) return QDir(dataFolder).filePath(name);
    return name;
}

QString NameListFolder(const QString& programFolder, const QString& dataFolder, const QString& fileName) {
    if (QFileInfo::exists(QDir(programFolder).filePath(fileName))) return programFolder;
    if (!dataFolder.isEmpty() && IsFile(QDir(dataFolder).filePath(fileName))) return dataFolder;
    return programFolder;
}

bool FolderWritable(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return false;
    QTemporaryFile probe(QDir(folder).filePath("quorven-probe-XXXXXX"));
    return probe.open();
}

QString UserConfigFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath("quorven-editor");
}

namespace {
// Whether the settings stay in the program folder (see SettingsFolder).
bool SettingsBesideProgram(const QString& programFolder, bool programFolderWritable, const QString& dataFolder) {
    const bool installed = !dataFolder.isEmpty() && QFileInfo(dataFolder).isDir() &&
                           !IsFile(QDir(programFolder).filePath(QString::fromUtf8(kSettingsName)));
    return programFolderWritable && !installed;
}
}  // namespace

QString StartSettingsFile(const QString& programFolder, bool programFolderWritable, const QString& dataFolder,
                          const QString& configFolder) {
    const QString name = QString::fromUtf8(kSettingsName);
    const QString besideProgram = QDir(programFolder).filePath(name);
    if (configFolder.isEmpty() || SettingsBesideProgram(programFolder, programFolderWritable, dataFolder))
        return besideProgram;
    const QString own = QDir(configFolder).filePath(name);
    if (IsFile(own) || IsFile(besideProgram) || dataFolder.isEmpty()) return IsFile(own) ? own : besideProgram;
    return QDir(dataFolder).filePath(name);
}

QString SettingsFolder(const QString& programFolder, bool programFolderWritable, const QString& dataFolder,
                       const QString& configFolder) {
    const QString name = QString::fromUtf8(kSettingsName);
    const QString besideProgram = QDir(programFolder).filePath(name);
    if (SettingsBesideProgram(programFolder, programFolderWritable, dataFolder)) return programFolder;
    if (configFolder.isEmpty() || !QDir().mkpath(configFolder)) return programFolder;
    const QString own = QDir(configFolder).filePath(name);
    if (!QFileInfo::exists(own)) {
        // First use: start from the settings that came with the program.
        if (IsFile(besideProgram))
            QFile::copy(besideProgram, own);
        else if (!dataFolder.isEmpty() && IsFile(QDir(dataFolder).filePath(name)))
            QFile::copy(QDir(dataFolder).filePath(name), own);
        // A copy of a read-only file is read-only too; the settings are written back at close.
        if (QFileInfo::exists(own))
            QFile::setPermissions(own, QFile::permissions(own) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    }
    return configFolder;
}

}  // namespace installpaths
