#pragma once
// Marks a text of the document layer that the interface shows: the translation tools collect it under
// context, and the interface shows it through Tr(context, text) (graphics/uitext.h). The layer itself keeps
// and returns the Japanese text unchanged; it has no Qt.
#define QUORVEN_TEXT(context, text) text
