#pragma once
// IndexedBitmap: an off-screen 8-bit picture with its own 256-entry palette.

#include <QImage>
#include <cstdint>

// An off-screen 8-bit picture with its own 256-entry palette.
class IndexedBitmap {
public:
    IndexedBitmap() = default;
    IndexedBitmap(int width, int height);
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    std::uint8_t* Row(int y) { return image_.scanLine(y); }
    const std::uint8_t* Row(int y) const { return image_.constScanLine(y); }
    std::uint8_t Pixel(int x, int y) const { return image_.constScanLine(y)[x]; }
    void CopyPaletteFrom(const IndexedBitmap& other);
    QRgb PaletteEntry(int i) const;
    void SetPaletteEntry(int i, QRgb color);
    const QImage& Image() const { return image_; }
    QImage& Image() { return image_; }

private:
    QImage image_;  // Format_Indexed8, 256-entry colour table
};
