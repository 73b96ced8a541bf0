#pragma once
// The stage file: every table of one stage that the editor edits, as a JSON text (format "quorven-stage",
// version 1, described in docs/stage-file.md). The writer gives the same bytes for the same stage every
// time, one chip, map set row or object a line; the reader refuses anything but such a file, naming where
// and what. The import replaces the tables of a stage that differ from the file's and nothing else.

#include <array>
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "document/editdata.h"

class RomImageData;
class EditFlagManagement;

inline constexpr const char* kStageFileFormat = "quorven-stage";
inline constexpr int kStageFileVersion = 1;
inline constexpr std::size_t kStageFileMaxBytes = std::size_t{4} << 20;

// One stage's tables, laid out as the stage data model holds them.
struct StageFileContent {
    int stage = 0;
    std::string title;                                 // UTF-8
    std::array<Byte, kChip16x16TilesSize> chips16{};   // tile q of 16x16 chip c at 256 * q + c
    std::array<Byte, kChipPropertySize> attributes{};  // one per 16x16 chip
    std::array<Byte, kChip32x32Size> chips32{};        // quarter q of 32x32 chip c at 4 * c + q
    std::array<Byte, kMapSetTableSize> mapSets{};      // set s, row r, column k at 64 * s + 8 * r + k
    std::array<Byte, kScreenCount> map{};              // the map set of each screen
    std::array<std::array<Byte, 16>, kPaletteSetCount> palettes{};
    std::array<std::array<Byte, 4>, kPaletteSetCount> paletteAnimations{};
    std::array<std::vector<ObjectEntry>, kScreenCount> objects;  // each screen's list in list order
};

// A refused stage file; what() is "NAME: where: what", e.g. "stage.json: mapsets[3][2][7]: 300 is not a
// byte (0-255)".
class StageFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The stage's working tables (edits not yet saved included).
StageFileContent CaptureStage(const StageData& stage, const std::string& title);
std::string EncodeStageFile(const StageFileContent& content);
// Throws StageFileError; name starts every message (the file's name).
StageFileContent DecodeStageFile(std::string_view text, const std::string& name);
// Reads and decodes a file (refused over kStageFileMaxBytes before it is read); throws StageFileError, or
// FileError when it cannot be read.
StageFileContent ReadStageFile(const std::filesystem::path& path);
// Encodes and writes atomically; throws FileError.
void WriteStageFile(const std::filesystem::path& path, const StageFileContent& content);

// The parts of a stage an import replaces; the first four are the tables stages can share.
enum class StagePart : int { Chips16, Attributes, Chips32, MapSets, Map, Palettes, PaletteAnimations, Objects };
inline constexpr int kStagePartCount = 8;

struct StageImportPlan {
    std::array<bool, kStagePartCount> changes{};
    bool Changes(StagePart part) const { return changes[static_cast<int>(part)]; }
    bool Any() const;
    bool ChangesSharedTables() const;
};

// Which of the stage's tables differ from the file's.
StageImportPlan PlanStageImport(const StageData& stage, const StageFileContent& content);
// The other stages that use the very same chip tables as stage (the address configuration's sharing).
std::vector<int> StagesSharingTables(const RomImageData& rom, int stage);
// Replaces the tables the plan names, sets their modified flags for the stage and clears the undo history
// of the stage (and of the stages sharing its tables when shared tables change). A plan that changes
// nothing changes nothing. The content must come from DecodeStageFile (at most kObjectSlots objects).
void ApplyStageImport(RomImageData& rom, EditFlagManagement& flags, int stage, const StageFileContent& content,
                      const StageImportPlan& plan);
