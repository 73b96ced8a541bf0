#pragma once
// Chip attribute names and the Shift-JIS line reader of the optional name lists.

#include <QString>
#include <QStringList>

// Chip attribute names: the built-in kind table and the optional "ChipAttributes.txt" lines.
QString BuiltinChipKindName(int kind);          // "0x 背景" ... "Fxトゲ"
QString BuiltinChipAttributeCaption(int kind);  // the 16 radio captions ("6x 背景裏に隠れる", "Fx トゲ")
// Reads a Shift-JIS text file as lines (CR LF, CR or LF). Returns false when it cannot be read.
bool ReadShiftJisLines(const QString& path, QStringList& lines);
