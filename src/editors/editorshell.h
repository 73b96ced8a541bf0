#pragma once
// What the main window offers to the page controllers.

#include <QString>
#include <functional>

class UserPrompts;

// One showing of the chip usage list dialog.
struct UsageListRequest {
    QString caption;
    QString message;
    QString text;  // the list, lines ending with CR LF
    // Called when the user presses "OK"; when null the OK button stays hidden.
    std::function<void()> onReplace;
};

class EditorShell {
public:
    virtual ~EditorShell() = default;
    virtual UserPrompts& Prompts() = 0;
    // Stop FrameTimer, Reset the palette controller (it loads the chosen palette set),
    // ResetPaletteAnimation, start FrameTimer: what a change of CBSelectPaletteSet does.
    virtual void PaletteSetChanged() = 0;
    virtual void StopFrameTimer() = 0;
    virtual void StartFrameTimer() = 0;
    // Refresh the active page as when it is activated.
    virtual void RefreshActivePage() = 0;
    // Fills the window's one list dialog and shows it modally; the OK button is hidden again afterwards.
    // Returns whether the dialog closed with OK.
    virtual bool ShowUsageList(const UsageListRequest& request) = 0;
};
