#include "app/windowposition.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "document/MyIniFiles.h"

void RestoreWindowPosition(QWidget& window, const TMyMemIniFile& ini) {
    if (!ini.ValueExists("MainForm", "Left") || !ini.ValueExists("MainForm", "Top")) return;
    const QPoint at(ini.ReadInteger("MainForm", "Left", 0), ini.ReadInteger("MainForm", "Top", 0));
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(at + QPoint(40, 10))) {
            window.move(at);
            return;
        }
    }
}

void StoreWindowPosition(const QWidget& window, TMyMemIniFile& ini) {
    const QPoint at = window.pos();
    ini.WriteInteger("MainForm", "Left", at.x());
    ini.WriteInteger("MainForm", "Top", at.y());
}
