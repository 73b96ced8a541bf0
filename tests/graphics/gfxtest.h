#pragma once
// Shared helpers of the graphics tests: a distinct-colour palette, a document built on a temporary
// folder, and image writers.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "graphics/graphics.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace gfxtest {

// Colour number n is RGB (4n, 255 - 4n, 37n mod 256): all 64 colours differ.
inline std::array<std::uint8_t, 192> DistinctPaletteBytes() {
    std::array<std::uint8_t, 192> b{};
    for (int n = 0; n < 64; ++n) {
        b[3 * n] = std::uint8_t(4 * n);
        b[3 * n + 1] = std::uint8_t(255 - 4 * n);
        b[3 * n + 2] = std::uint8_t((37 * n) & 0xFF);
    }
    return b;
}
inline QRgb ColourOf(int n) {
    n &= 0x3F;
    return qRgb(4 * n, 255 - 4 * n, (37 * n) & 0xFF);
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// An image of the usual size with the iNES magic, otherwise zero.
inline std::vector<Byte> BlankImage(std::size_t size = 0x80010) {
    std::vector<Byte> img(size, 0);
    const Byte magic[4] = {0x4E, 0x45, 0x53, 0x1A};
    for (std::size_t i = 0; i < 4 && i < size; ++i) img[i] = magic[i];
    return img;
}

// The document on a temporary folder: an INI file (absent unless text is given) and an image file.
class TestDoc {
public:
    explicit TestDoc(const std::string& iniText = {})
        : iniPath_(PrepareIni(dir_, iniText)), ini_(iniPath_), flags_(nullptr), rom_(flags_, ini_) {}

    RomImageData& Rom() { return rom_; }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    // Writes the bytes as an image file and loads it; true when the document accepted it.
    bool Load(const std::vector<Byte>& bytes) {
        const QString path = Path(QStringLiteral("image.nes"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        f.close();
        return rom_.LoadFromFile(path.toStdString()) == LoadResult::Loaded;
    }
    bool LoadPath(const QString& path) { return rom_.LoadFromFile(path.toStdString()) == LoadResult::Loaded; }

private:
    static std::filesystem::path PrepareIni(const QTemporaryDir& dir, const std::string& text) {
        const QString path = dir.filePath(QStringLiteral("quorveneditor.ini"));
        if (!text.empty()) {
            QFile f(path);
            if (f.open(QIODevice::WriteOnly)) f.write(text.data(), qint64(text.size()));
        }
        return path.toStdString();
    }

    QTemporaryDir dir_;
    std::filesystem::path iniPath_;
    TMyMemIniFile ini_;
    EditFlagManagement flags_;
    RomImageData rom_;
};

}  // namespace gfxtest
