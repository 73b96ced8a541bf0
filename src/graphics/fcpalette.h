#pragma once
// FcPaletteData: the 64-colour master table of the console, read from "fcpalette.pal".

#include <QColor>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

// A colour value packed as red + green x 256 + blue x 65536.
using PackedColor = std::uint32_t;
QRgb PackedToQRgb(PackedColor c);

// The 64-colour master table read from "fcpalette.pal".
class FcPaletteData {
public:
    enum class Failure { None, CannotRead, BadSize };
    static constexpr const char* kFileName = "fcpalette.pal";
    static constexpr const char* kCannotReadText = QT_TRANSLATE_NOOP("ColourTable", "%1が読み込めませんでした");
    static constexpr const char* kBadSizeText = QT_TRANSLATE_NOOP("ColourTable", "%1のサイズが不正です");

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
