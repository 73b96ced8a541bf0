#pragma once
// The renderer: colour model, drawing surfaces and primitives, BG bank assembly, palette animation and
// chip attribute names. Stage surfaces are 8-bit indexed pictures whose pixels hold 4 x palette + colour,
// so recolouring only replaces a palette. Views are true-colour QImages (Format_RGB32).

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "address.h"
#include "editdata.h"

class RomImageData;

// A colour value packed as red + green x 256 + blue x 65536.
using PackedColor = std::uint32_t;
QRgb PackedToQRgb(PackedColor c);

// The 64-colour master table read from "fcpalette.pal".
class FcPaletteData {
public:
    enum class Failure { None, CannotRead, BadSize };
    static constexpr const char* kFileName = "fcpalette.pal";
    static constexpr const char* kCannotReadSuffix = "が読み込めませんでした";
    static constexpr const char* kBadSizeSuffix = "のサイズが不正です";

    // Reads the file (relative names resolve against the current directory). Check Ok() afterwards.
    explicit FcPaletteData(const std::filesystem::path& fileName = kFileName);
    // Builds the table from 192 bytes already in memory (tests, tools).
    static FcPaletteData FromBytes(const std::array<std::uint8_t, 192>& bytes);

    bool Ok() const { return failure_ == Failure::None; }
    Failure FailureKind() const { return failure_; }
    // The message to show for a failed load: the file name followed by the suffix (UTF-8).
    std::string FailureMessage() const;

    // Colour numbers 0x40 and above use their low six bits, like the console's colour bus.
    PackedColor GetColor(int number) const;
    const std::array<std::uint8_t, 192>& RawBytes() const { return raw_; }

private:
    std::filesystem::path fileName_;
    Failure failure_ = Failure::None;
    std::array<std::uint8_t, 192> raw_{};
    std::array<PackedColor, 64> colors_{};
};

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

// Chip attribute names: the built-in kind table and the optional "ChipAttributes.txt" lines.
QString BuiltinChipKindName(int kind);            // "0x 背景" ... "Fxトゲ"
QString BuiltinChipAttributeCaption(int kind);    // the 16 radio captions ("6x 背景裏に隠れる", "Fx トゲ")
// Reads a Shift-JIS text file as lines (CR LF, CR or LF). Returns false when it cannot be read.
bool ReadShiftJisLines(const QString& path, QStringList& lines);

class BgBank;

class EditorGraphics {
public:
    static constexpr int kMagenta = 80;
    static constexpr int kWhite = 81;

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
    void DrawChip16(IndexedBitmap& bmp, const Byte* bank, const Byte* chipTiles, int chip, int palette, int x, int y) const;
    void DrawChipSheet16(IndexedBitmap& sheet, const Byte* bank, const Byte* chipTiles, const Byte* attributes) const;
    void DrawChipSheet32(IndexedBitmap& sheet32, const Byte* chip32Table) const;  // from the 16x16 sheet
    void RedrawChip32(IndexedBitmap& sheet32, const Byte* chip32Table, int chip) const;

    // --- copying to views (colours through the source's palette) ---
    // Copies src rectangle (sx, sy, sw, sh) scaled into view rectangle (dx, dy, dw, dh).
    void CopyToView(QImage& view, int dx, int dy, int dw, int dh, const IndexedBitmap& src, int sx, int sy, int sw, int sh) const;
    void DrawMapSet(QImage& view, const Byte* mapSet64) const;
    void DrawChip32Table(QImage& view) const;
    void DrawChip32(QImage& view, int x, int y, int w, int h, int chip) const;

    // --- overlays (one-pixel lines, end pixels included, no anti-aliasing) ---
    void DrawHoverOutline(QImage& view, int x, int y, int size) const;
    void DrawGridLines(QImage& view, int stepX, int stepY) const;
    void DrawObjectMarker(QImage& view, int cx, int cy, int number) const;
    void DrawCursor24(QImage& view, int cx, int cy) const;
    void DrawCursor32(QImage& view, int cx, int cy) const;

    // --- chip attribute names ---
    // Reads "ChipAttributes.txt" from folder; a missing file leaves the list empty (no message).
    void LoadChipAttributeNames(const QString& folder);
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
};

// The 256 background tiles a stage has loaded at a point of play.
class BgBank {
public:
    static constexpr int kSize = 4096;
    struct Report {
        QString initialSet = "00", initialAddress = "-----";
        QString scrollSet = "00", scrollAddress = "-----";
    };

    explicit BgBank(const RomImageData& rom);
    // loadPoint: 0 start, 1 mid-point 1, 2 mid-point 2; scroll 0 to 15.
    void Assemble(int stage, int loadPoint, int scroll);
    const Byte* Bytes() const { return bank_.data(); }
    const Report& LastReport() const { return report_; }

private:
    const RomImageData& rom_;
    std::array<Byte, kSize> bank_{};
    Report report_;
};
