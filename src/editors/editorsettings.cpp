#include "editors/editorsettings.h"

#include "document/MyIniFiles.h"

EditorSettings EditorSettings::Read(const TMyMemIniFile& ini) {
    EditorSettings s;
    s.sortObjects = ini.ReadBool("ObjectEdit", "Sort", true);
    s.popupHint = ini.ReadBool("ObjectEdit", "Popup", true);
    s.grid32x32 = ini.ReadBool("32x32ChipEdit", "Grid", false);
    s.gridMapSet = ini.ReadBool("MapSetEdit", "Grid", false);
    s.interval = ini.ReadInteger("Timer", "Interval", kDefaultInterval);
    s.undoEnabled = ini.ReadBool("Undo", "Enabled", true);
    return s;
}

void EditorSettings::Write(TMyMemIniFile& ini) const {
    ini.WriteBool("ObjectEdit", "Sort", sortObjects);
    ini.WriteBool("ObjectEdit", "Popup", popupHint);
    ini.WriteBool("32x32ChipEdit", "Grid", grid32x32);
    ini.WriteBool("MapSetEdit", "Grid", gridMapSet);
    ini.WriteInteger("Timer", "Interval", interval);
    ini.WriteBool("Undo", "Enabled", undoEnabled);
}
