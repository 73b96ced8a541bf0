#pragma once
// Files dropped on the main window: one local ".nes" file is opened as the Open command would open it. The
// drop is always taken as a copy, whatever action the drag source proposes, so no source ever moves or
// deletes the user's image because the editor accepted it.

#include <QString>

class QDropEvent;
class QMimeData;

// The local ".nes" file a drag carries, if it carries exactly one; empty otherwise.
QString DroppedImage(const QMimeData* data);

// For a drag entering and for the drop itself: accepts the event with the copy action when it carries an
// image and the window can open one, ignores it otherwise. Returns the image accepted (empty when ignored).
QString AcceptImageDrop(QDropEvent* event, bool canOpen);
