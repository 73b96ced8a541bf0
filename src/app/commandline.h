#pragma once
// The editor's command line, read with the toolkit's own parser so its options (-platform, -style, ...) keep
// working: -h / --help (and --help-all, which adds the toolkit's options) print the usage on standard output
// and end the program with status 0, --version prints "quorven-editor VERSION" and ends it with 0, an unknown
// option or a second image is refused with one line on standard error and status 2, all before any window
// shows or anything is written. What remains is one optional image to open; "--" ends the options, so an
// image whose name starts with "-" follows it.

#include <optional>

class QCoreApplication;

namespace commandline {

// Before the application object exists: whether the arguments ask only for a text (help or version), which
// needs no display; main then lets the toolkit start without one.
bool AsksForTextOnly(int argc, const char* const* argv);

// Whether no display is named (neither DISPLAY nor WAYLAND_DISPLAY is set).
bool NoDisplay();
// Says on standard error that the window has nowhere to show, and returns the status to end with (1).
int RefuseNoDisplay();

struct Outcome {
    std::optional<int> exitStatus;  // set: the program ends now with it
    int imageIndex = 0;             // the index in argv of the image to open, 0 when none was given
};

// After the application object took its own options out of argv (and argc).
Outcome Read(const QCoreApplication& app, int argc, const char* const* argv);

}  // namespace commandline
