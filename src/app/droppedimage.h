#pragma once
// What a drag onto the main window carries: an image to open, or nothing the window takes.

#include <QString>

class QMimeData;

// The local ".nes" file a drag carries, if it carries exactly one; else an empty text.
QString DroppedImage(const QMimeData* data);
