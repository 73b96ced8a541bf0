#pragma once
// What every test of the main window shares, whatever builds its pages: a temporary program folder with the
// colour table "fcpalette.pal", the Shift-JIS text files and the images a test writes there, and mouse
// events sent straight to a widget (QTest's moves carry neither held buttons nor modifiers).
// The page test bench (pagebench.h) and the main window tests (tests/app/apptest.h) derive from it.

#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/mainform.h"
#include "demorom.h"
#include "document/address.h"

namespace windowtest {

// Changes an image's bytes before it is written; the address table gives where the tables lie.
using ImagePatch = std::function<void(std::vector<std::uint8_t>&, const AddressData&)>;

class WindowTest : public ::testing::Test {
protected:
    // --- the program folder ---
    QString Path(const QString& name) const { return dir_.filePath(name); }
    static void WriteBytes(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
    }
    // The file's bytes (empty when it cannot be read).
    static QByteArray ReadBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Writes a file of the program folder.
    void WriteFile(const QString& name, const QByteArray& bytes) { WriteBytes(Path(name), bytes); }
    // Lines as the game's text files hold them: Shift-JIS, each ended by CR LF.
    static QByteArray ShiftJis(const QStringList& lines) {
        QStringEncoder sjis("Shift_JIS");
        return sjis(lines.join("\r\n") + "\r\n");
    }
    static void WriteShiftJis(const QString& path, const QStringList& lines) { WriteBytes(path, ShiftJis(lines)); }

    // --- the colour table ---
    // 64 different colours, so every colour check tells the entries apart.
    static QByteArray SyntheticColourTable() {
        QByteArray pal;
        for (int n = 0; n < 64; ++n) {
            pal.append(char(n * 4));
            pal.append(char((n * 37) & 0xFF));
            pal.append(char(255 - n * 4));
        }
        return pal;
    }
    // The table the editor ships beside its program (empty when it is missing).
    static QByteArray ShippedColourTable() {
        return ReadBytes(QCoreApplication::applicationDirPath() + "/fcpalette.pal");
    }
    QString ColourTablePath() const { return Path("fcpalette.pal"); }
    // Where the main window looks for its files: the program folder, with the colour table written there.
    StartupPaths ProgramPaths() const {
        StartupPaths paths;
        paths.programFolder = dir_.path();
        paths.palettePath = ColourTablePath();
        return paths;
    }
    // Writes "fcpalette.pal" into the program folder; TableColour reads its colours from then on.
    void WriteColourTable(const QByteArray& table) {
        colourTable_ = table;
        WriteFile("fcpalette.pal", table);
    }
    // The opaque colour the written table gives colour number n (its low six bits).
    QRgb TableColour(int n) const {
        n &= 0x3F;
        if (colourTable_.size() < 3 * n + 3) return qRgb(0, 0, 0);
        auto b = [&](int i) { return int(static_cast<unsigned char>(colourTable_[3 * n + i])); };
        return qRgb(b(0), b(1), b(2));
    }

    // --- images (the demo image: BuildDemoRom) ---
    // Writes an image into the program folder and returns its path.
    QString WriteImage(const QString& name, const std::vector<std::uint8_t>& image) {
        const QString path = Path(name);
        WriteBytes(path, QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size())));
        return path;
    }

    // --- mouse events at widget coordinates ---
    static void SendPress(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton,
                          Qt::KeyboardModifiers m = Qt::NoModifier) {
        const QPointF p(x, y);
        QMouseEvent e(QEvent::MouseButtonPress, p, w->mapToGlobal(p), b, b, m);
        QCoreApplication::sendEvent(w, &e);
    }
    static void SendRelease(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton,
                            Qt::KeyboardModifiers m = Qt::NoModifier) {
        const QPointF p(x, y);
        QMouseEvent e(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), b, Qt::NoButton, m);
        QCoreApplication::sendEvent(w, &e);
    }
    // A press and its release at the same place.
    static void SendClick(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton,
                          Qt::KeyboardModifiers m = Qt::NoModifier) {
        SendPress(w, x, y, b, m);
        SendRelease(w, x, y, b, m);
    }
    // A move with buttons held and modifiers.
    static void SendMove(QWidget* w, int x, int y, Qt::MouseButtons held = Qt::NoButton,
                         Qt::KeyboardModifiers m = Qt::NoModifier) {
        const QPointF p(x, y);
        QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, held, m);
        QCoreApplication::sendEvent(w, &e);
    }
    static void SendLeave(QWidget* w) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    }

    QTemporaryDir dir_;
    // The colour table last written by WriteColourTable.
    QByteArray colourTable_;
};

}  // namespace windowtest
