// Chip attribute names: the built-in kind names, the radio captions and the optional name file.

#include <QFile>
#include <QStringDecoder>

#include "graphics/graphics.h"
#include "graphics/uitext.h"

namespace {
// Kind names of the attribute labels; kind F has no blank after "Fx".
const char* const kKindNames[16] = {
    QT_TRANSLATE_NOOP("ChipNames", "0x 背景"),
    QT_TRANSLATE_NOOP("ChipNames", "1x ブロック"),
    QT_TRANSLATE_NOOP("ChipNames", "2x はしご(途中)"),
    QT_TRANSLATE_NOOP("ChipNames", "3x 特殊ブロック"),
    QT_TRANSLATE_NOOP("ChipNames", "4x はしご(頂点)"),
    QT_TRANSLATE_NOOP("ChipNames", "5x コンベア(右)"),
    QT_TRANSLATE_NOOP("ChipNames", "6x 前景"),
    QT_TRANSLATE_NOOP("ChipNames", "7x コンベア(左)"),
    QT_TRANSLATE_NOOP("ChipNames", "8x 水中"),
    QT_TRANSLATE_NOOP("ChipNames", "9x ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Ax ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Bx ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Cx ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Dx ダメージ床"),
    QT_TRANSLATE_NOOP("ChipNames", "Ex ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Fxトゲ"),
};
// Captions of the attribute selector: kinds 6 and F read differently from the label names.
const char* const kCaptions[16] = {
    QT_TRANSLATE_NOOP("ChipNames", "0x 背景"),
    QT_TRANSLATE_NOOP("ChipNames", "1x ブロック"),
    QT_TRANSLATE_NOOP("ChipNames", "2x はしご(途中)"),
    QT_TRANSLATE_NOOP("ChipNames", "3x 特殊ブロック"),
    QT_TRANSLATE_NOOP("ChipNames", "4x はしご(頂点)"),
    QT_TRANSLATE_NOOP("ChipNames", "5x コンベア(右)"),
    QT_TRANSLATE_NOOP("ChipNames", "6x 背景裏に隠れる"),
    QT_TRANSLATE_NOOP("ChipNames", "7x コンベア(左)"),
    QT_TRANSLATE_NOOP("ChipNames", "8x 水中"),
    QT_TRANSLATE_NOOP("ChipNames", "9x ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Ax ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Bx ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Cx ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Dx ダメージ床"),
    QT_TRANSLATE_NOOP("ChipNames", "Ex ?"),
    QT_TRANSLATE_NOOP("ChipNames", "Fx トゲ"),
};
// Name files are a few kilobytes; anything beyond this is not read.
constexpr qint64 kMaxTextFileBytes = 1024 * 1024;
}  // namespace

QString BuiltinChipKindName(int kind) {
    return Tr("ChipNames", kKindNames[kind & 15]);
}

QString BuiltinChipAttributeCaption(int kind) {
    return Tr("ChipNames", kCaptions[kind & 15]);
}

bool ReadShiftJisLines(const QString& path, QStringList& lines) {
    lines.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.read(kMaxTextFileBytes);
    if (file.error() != QFileDevice::NoError) return false;
    QStringDecoder decoder("Shift_JIS");
    const QString text = decoder.isValid() ? QString(decoder(bytes)) : QString::fromLatin1(bytes);
    // Lines end with CR LF, CR or LF; a last line without an ending still counts, an ending at the very
    // end of the file opens no extra empty line.
    QString current;
    bool pending = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << current;
            current.clear();
            pending = false;
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending) lines << current;
    return true;
}

void EditorGraphics::LoadChipAttributeNames(const QString& folder, const QString& fileName) {
    QStringList lines;
    if (!ReadShiftJisLines(folder + "/" + fileName, lines)) lines.clear();
    attributeNames_ = lines;
}

QString EditorGraphics::ChipAttributeName(int attribute) const {
    const int a = attribute & 0xFF;
    // Lines 0-15 name the kinds 0-F with sub-kind 0, lines 16-31 sub-kind 1, and so on; the palette bits
    // play no part.
    const int index = (a / 16) + 16 * ((a / 4) & 3);
    if (attributeNames_.size() > index) return attributeNames_[index];
    return BuiltinChipKindName(a / 16);
}
