// IndexedBitmap: an 8-bit picture with a 256-entry palette, over an Indexed8 QImage.

#include "graphics/graphics.h"

namespace {
QList<QRgb> BlackTable() {
    return QList<QRgb>(256, qRgb(0, 0, 0));
}
}  // namespace

IndexedBitmap::IndexedBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return;
    image_ = QImage(width, height, QImage::Format_Indexed8);
    if (image_.isNull()) return;  // allocation refused: stays a null picture
    image_.setColorTable(BlackTable());
    image_.fill(0u);
}

void IndexedBitmap::CopyPaletteFrom(const IndexedBitmap& other) {
    if (image_.isNull()) return;
    QList<QRgb> table = other.image_.colorTable();
    if (table.size() != 256) table.resize(256, qRgb(0, 0, 0));
    image_.setColorTable(table);
}

QRgb IndexedBitmap::PaletteEntry(int i) const {
    if (i < 0 || i >= image_.colorCount()) return qRgb(0, 0, 0);
    return image_.color(i);
}

void IndexedBitmap::SetPaletteEntry(int i, QRgb color) {
    if (i < 0 || i >= image_.colorCount()) return;
    image_.setColor(i, color);
}
