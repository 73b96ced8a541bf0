#pragma once
// Address table: where each per-stage table lies in the ROM image, and the single addresses of the game's
// loading tables, read from (and written back to) the INI file.

#include <array>
#include <cstdint>

class TMyMemIniFile;

constexpr int kStageCount = 16;
constexpr std::int32_t kStageStride = 0x2000;

// The per-stage tables, in the order of the "LevelDataAddress" section.
enum class StageTable : int {
    Chip16x16,
    ChipProperty,
    Chip32x32,
    MapSet,
    Map,
    BGPalette,
    BGPaletteAnime,
    ObjectScreen,
    ObjectX,
    ObjectY,
    ObjectKind,
    ObjectOffset,
    ScrollData,
    ScrollGraphicsLoad,
};
constexpr int kStageTableCount = 14;

class AddressData {
public:
    // Reads section "LevelDataAddress", applies the stride and "ShareData", then reads section "Address";
    // every value read is written back (sharing lines only for stages that share).
    explicit AddressData(TMyMemIniFile& ini);

    std::int32_t TableAddress(StageTable table, int stage) const;

    std::int32_t PaletteAnimationPointerLow() const { return single_[0]; }
    std::int32_t PaletteAnimationPointerHigh() const { return single_[1]; }
    std::int32_t PaletteAnimationData() const { return single_[2]; }
    std::int32_t PaletteAnimationPalette() const { return single_[3]; }
    std::int32_t MidPointData() const { return single_[4]; }
    std::int32_t InitialGraphicsPointerLow() const { return single_[5]; }
    std::int32_t InitialGraphicsPointerHigh() const { return single_[6]; }
    std::int32_t ScrollGraphicsPointerLow() const { return single_[7]; }
    std::int32_t ScrollGraphicsPointerHigh() const { return single_[8]; }
    std::int32_t InitialGraphicsPointerMax() const { return single_[9]; }
    std::int32_t ScrollGraphicsPointerMax() const { return single_[10]; }

    static const char* TableKeyName(StageTable table);
    static std::int32_t TableDefault(StageTable table);

    // The "ShareData" entry of a stage: the stage whose shareable tables it uses, or the stage itself
    // (no sharing). A missing, unparsable or out-of-range (not 0 to 15) value means no sharing.
    // Reads only; writes nothing.
    static int ReadShareTarget(const TMyMemIniFile& ini, int stage);

private:
    std::array<std::array<std::int32_t, kStageCount>, kStageTableCount> table_{};
    std::array<std::int32_t, 11> single_{};
};
