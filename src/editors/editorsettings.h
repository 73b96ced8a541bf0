#pragma once
// The six editor options kept in "quorveneditor.ini" between runs.

class TMyMemIniFile;

struct EditorSettings {
    static constexpr int kDefaultInterval = 16;

    bool sortObjects = true;          // ObjectEdit/Sort      -> ChkSortObjectList
    bool popupHint = true;            // ObjectEdit/Popup     -> ChkPopupHint
    bool grid32x32 = false;           // 32x32ChipEdit/Grid   -> Chk32x32ChipEditDrawGrid
    bool gridMapSet = false;          // MapSetEdit/Grid      -> ChkMapSetEditDrawGrid
    int interval = kDefaultInterval;  // Timer/Interval (ms) -> FrameTimer, written back as read
    bool undoEnabled = true;          // Undo/Enabled         -> the history switch

    // Missing keys and values that are not numbers give the defaults; "0x", "0X" and "$" mark hex.
    static EditorSettings Read(const TMyMemIniFile& ini);
    // The timer's interval: an interval of 0 or less would make the timer spin without pause, so the timer
    // runs at the default then (the file keeps the value the user wrote).
    int TimerInterval() const { return interval > 0 ? interval : kDefaultInterval; }
    // Writes the six keys in their order (booleans as 1/0, the interval in decimal).
    void Write(TMyMemIniFile& ini) const;
};
