#pragma once
// Where the main window stands on the desktop, kept in the settings file ([MainForm] Left, Top).

class QWidget;
class TMyMemIniFile;

// Moves window to the stored place, but only where its title bar can still be reached on one of the screens.
void RestoreWindowPosition(QWidget& window, const TMyMemIniFile& ini);
void StoreWindowPosition(const QWidget& window, TMyMemIniFile& ini);
