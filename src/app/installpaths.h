#pragma once
// Where the program finds its files when it runs from its build folder and when it is installed
// (prefix/bin/quorven-editor with its data in prefix/share/quorven-editor).

#include <QString>

namespace installpaths {

constexpr const char* kPaletteName = "fcpalette.pal";
constexpr const char* kSettingsName = "quorveneditor.ini";

// The installed data folder that belongs to a program folder: <programFolder>/<QUORVEN_DATA_RELATIVE>
// (../share/quorven-editor), cleaned.
QString DataFolder(const QString& programFolder);

// The colour table to read: the relative name "fcpalette.pal" (the current folder) when the current folder
// holds it, the copy in the data folder when only that one exists, and the relative name again when neither
// does (so the message names the file as the user knows it).
QString PalettePath(const QString& currentFolder, const QString& dataFolder);

// The folder a name list ("ChipAttributes.txt", "ObjectList.txt") is read from: the program folder when it
// holds the file, else the data folder when that one does, else the program folder.
QString NameListFolder(const QString& programFolder, const QString& dataFolder, const QString& fileName);

// Whether a file can be created in folder (tried, not guessed from the permission bits).
bool FolderWritable(const QString& folder);

// The user's configuration folder for the settings file (Qt's standard location).
QString UserConfigFolder();

// The folder of "quorveneditor.ini". The program folder, as always, when it is writable and the program does
// not run from its installed layout (a data folder beside it and no settings file of its own). Otherwise the
// user's configuration folder; when that one has no settings file yet, it is created and the existing one
// (beside the program, else in the data folder) is copied there first. Falls back to the program folder
// when the configuration folder cannot be created.
QString SettingsFolder(const QString& programFolder, bool programFolderWritable, const QString& dataFolder,
                       const QString& configFolder);

// The settings file whose values the program starts with (language, display scale), found without creating
// or copying anything, before the command line is read: the one SettingsFolder will use, or, where that one
// does not exist yet, the one SettingsFolder will copy there.
QString StartSettingsFile(const QString& programFolder, bool programFolderWritable, const QString& dataFolder,
                          const QString& configFolder);

}  // namespace installpaths
