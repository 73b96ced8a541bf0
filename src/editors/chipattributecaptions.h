#pragma once
// The captions of the 16 attribute radio items (RGChipPropertySelect) come from "ChipAttributes.txt" when it
// could be read: line k becomes the caption of item k, for the lines present and at most 16; the other items
// keep their built-in text.

#include <QStringList>

class QObject;

// Looks for RGChipPropertySelect under root (a QButtonGroup of that name, else a widget of that name holding
// the radio buttons) and replaces the captions. Returns how many captions were replaced (0 when not found).
int ApplyChipAttributeCaptions(QObject* root, const QStringList& names);
