#pragma once
// EditorGraphics: the renderer. Stage palette, the two chip sheets, tile and chip drawing, copies to views,
// overlays, chip attribute names and palette animation. Stage surfaces are 8-bit indexed pictures whose pixels
// hold 4 x palette + colour, so recolouring only replaces a palette. Views are true-colour QImages.

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "document/address.h"
#include "document/editdata.h"
#include "graphics/chipnames.h"
#include "graphics/fcpalette.h"
#include "graphics/indexedbitmap.h"

class RomImageData;

class EditorGraphics {
public:
    static constexpr int kMagenta = 80;
    static constexpr int kWhite = 81;
    static constexpr int kBlack = 0x0F;  // master colour of empty views

    EditorGraphics(const FcPaletteData& palette, const RomImageData& rom);

    // --- palettes ---
    void LoadStagePalette(const Byte* numbers16);
    void SetStagePaletteEntry(int entry, int colourNumber);
    QRgb GetStagePaletteColor(int entry) const;
    void ApplyStagePalette(IndexedBitmap& bitmap) const;
    void RefreshChip32SheetPalette();
    QRgb MasterColor(int index) const;  // master palette entry (0 to 63, 80, 81)

    // --- surfaces ---
    QImage CreateViewBitmap(int width, int height) const;  // RGB32, filled with master colour 0x0F
    IndexedBitmap CreateStageBitmap(int width, int height) const;
    IndexedBitmap& ChipSheet16() { return sheet16_; }  // 256 x 256
    IndexedBitmap& ChipSheet32() { return sheet32_; }  // 512 x 512
    const IndexedBitmap& ChipSheet16() const { return sheet16_; }
    const IndexedBitmap& ChipSheet32() const { return sheet32_; }

    // --- drawing into surfaces ---
    void FillBlock(QImage& view, int x, int y, int w, int h, int pixelValue) const;
    void FillBlock(IndexedBitmap& bmp, int x, int y, int w, int h, int pixelValue) const;
    void DrawTile(IndexedBitmap& bmp, const Byte* bank, int tile, int palette, int x, int y) const;
    void DrawTileSheet(IndexedBitmap& bmp, const Byte* bank, int top) const;
    void DrawChip16(IndexedBitmap& bmp, const Byte* bank, const Byte* chipTiles, int chip, int palette, int x,
                    int y) const;
    void DrawChipSheet16(IndexedBitmap& sheet, const Byte* bank, const Byte* chipTiles, const Byte* attributes) const;
    void DrawChipSheet32(IndexedBitmap& sheet32, const Byte* chip32Table) const;  // from the 16x16 sheet
    void RedrawChip32(IndexedBitmap& sheet32, const Byte* chip32Table, int chip) const;

    // --- copying to views (colours through the source's palette) ---
    // Copies src rectangle (sx, sy, sw, sh) scaled into view rectangle (dx, dy, dw, dh).
    void CopyToView(QImage& view, int dx, int dy, int dw, int dh, const IndexedBitmap& src, int sx, int sy, int sw,
                    int sh) const;
    // Copies a rectangle between two true-colour pictures at 1:1, clipped to both.
    static void CopyRect(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h);
    // Copies src rectangle (sx, sy, sw, sh) of a true-colour picture scaled (nearest pixel) into dst rectangle
    // (dx, dy, dw, dh), clipped to both.
    static void CopyScaled(QImage& dst, int dx, int dy, int dw, int dh, const QImage& src, int sx, int sy, int sw,
                           int sh);
    void DrawMapSet(QImage& view, const Byte* mapSet64) const;
    void DrawChip32Table(QImage& view) const;
    void DrawChip32(QImage& view, int x, int y, int w, int h, int chip) const;
    // A screen whose map byte names no map set: a black square of size x size crossed by two white
    // diagonals, into a view or (pixel values blackValue and kWhite) into an indexed picture.
    void DrawNoMapSet(QImage& view, int x, int y, int size) const;
    static void DrawNoMapSet(IndexedBitmap& bmp, int x, int y, int size, int blackValue);

    // --- overlays (one-pixel lines, end pixels included, no anti-aliasing) ---
    void DrawHoverOutline(QImage& view, int x, int y, int size) const;
    void DrawGridLines(QImage& view, int stepX, int stepY) const;
    void DrawObjectMarker(QImage& view, int cx, int cy, int number) const;
    void DrawCursor24(QImage& view, int cx, int cy) const;
    void DrawCursor32(QImage& view, int cx, int cy) const;

    // --- chip attribute names ---
    // Reads "ChipAttributes.txt" from folder; a missing file leaves the list empty (no message).
    void LoadChipAttributeNames(const QString& folder, const QString& fileName = QStringLiteral("ChipAttributes.txt"));
    void SetChipAttributeNames(const QStringList& lines) { attributeNames_ = lines; }
    const QStringList& ChipAttributeNames() const { return attributeNames_; }
    QString ChipAttributeName(int attribute) const;

    // --- palette animation ---
    void ResetPaletteAnimation();
    // One timer tick; returns whether any stage palette entry changed.
    bool StepPaletteAnimation(const Byte* animationNumbers4);
    int PaletteAnimationCounter(int palette) const { return animCounter_[std::size_t(palette & 3)]; }
    int PaletteAnimationStep(int palette) const { return animStep_[std::size_t(palette & 3)]; }

    // How many 8x8 tiles this renderer has decoded so far (DrawTile and DrawTileSheet); recolouring a
    // picture must not change it.
    std::uint64_t TileDecodeCount() const { return tileDecodes_; }
    // Counts the whole redraws of the two chip sheets (a new stage, BG bank or palette): a picture drawn
    // from them is to be drawn anew when it changes.
    std::uint64_t SheetGeneration() const { return sheetGeneration_; }
    // The family used for object-marker numbers: "ＭＳ ゴシック" when installed, else "IPAGothic", else the
    // system's fixed-pitch font. Needs a QGuiApplication.
    static QString ObjectMarkerFontFamily();

    const RomImageData& Rom() const { return rom_; }

private:
    const FcPaletteData& palette_;
    const RomImageData& rom_;
    IndexedBitmap masterHolder_, stageHolder_;
    IndexedBitmap sheet16_, sheet32_;
    QStringList attributeNames_;
    std::array<int, 4> animCounter_{};
    std::array<int, 4> animStep_{};
    mutable std::uint64_t tileDecodes_ = 0;
    mutable std::uint64_t sheetGeneration_ = 0;
};
