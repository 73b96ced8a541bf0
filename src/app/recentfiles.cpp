#include "app/recentfiles.h"

#include <QByteArray>
#include <QFileInfo>
#include <string>

#include "document/MyIniFiles.h"
#include "document/filepathtext.h"

namespace {
std::string Key(int i) {
    return "File" + std::to_string(i + 1);
}
bool SamePath(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}
bool Exists(const QString& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(FilePathFromText(path.toStdU16String()), ec);
}
}  // namespace

void RecentFiles::Add(const QString& path) {
    if (path.isEmpty()) return;
    Remove(path);
    paths_.prepend(path);
    while (paths_.size() > kMaxCount) paths_.removeLast();
}

void RecentFiles::Remove(const QString& path) {
    paths_.removeIf([&](const QString& p) { return SamePath(p, path); });
}

QStringList RecentFiles::RemoveMissing() {
    QStringList gone;
    for (const QString& p : paths_)
        if (!Exists(p)) gone << p;
    for (const QString& p : gone) paths_.removeAll(p);
    return gone;
}

void RecentFiles::Read(const TMyMemIniFile& ini) {
    paths_.clear();
    for (int i = 0; i < kMaxCount; ++i) {
        const std::string value = ini.ReadString(kSection, Key(i), "");
        if (value.empty()) continue;
        const QByteArray bytes = QByteArray::fromPercentEncoding(QByteArray::fromStdString(value));
        const QString path = QString::fromStdU16String(
            FilePathToText(std::filesystem::path(std::string(bytes.constData(), std::size_t(bytes.size())))));
        if (!path.isEmpty() && !paths_.contains(path)) paths_ << path;
    }
}

void RecentFiles::Write(TMyMemIniFile& ini) const {
    for (int i = 0; i < kMaxCount; ++i) {
        std::string value;
        if (i < paths_.size()) {
            const std::string raw = FilePathFromText(paths_[i].toStdU16String()).string();
            value = QByteArray(raw.data(), qsizetype(raw.size())).toPercentEncoding("/").toStdString();
        }
        ini.WriteString(kSection, Key(i), value);
    }
}
