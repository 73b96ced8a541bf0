#pragma once
// The list of recently used images of the File menu: newest first, at most eight, kept in the settings
// file in section "RecentFiles" (keys "File1" to "File8", each path percent-encoded UTF-8 so that any file
// name survives the Shift-JIS settings file).

#include <QString>
#include <QStringList>

class TMyMemIniFile;

class RecentFiles {
public:
    static constexpr int kMaxCount = 8;
    static constexpr const char* kSection = "RecentFiles";

    const QStringList& Paths() const { return paths_; }
    // Puts path first (moving it if listed already) and drops the oldest beyond eight.
    void Add(const QString& path);
    void Remove(const QString& path);
    // Removes the entries whose files no longer exist; returns them.
    QStringList RemoveMissing();

    void Read(const TMyMemIniFile& ini);
    void Write(TMyMemIniFile& ini) const;

private:
    QStringList paths_;
};
