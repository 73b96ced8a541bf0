#pragma once
// What the main window offers to the page controllers.

#include <QString>

class UserPrompts;

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
};
