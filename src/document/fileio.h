#pragma once
// The ROM image document: the image buffer, the address table, the 16 stages, load, save and close.

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "address.h"
#include "editdata.h"
#include "edit_flag.h"

class TMyMemIniFile;

enum class LoadResult {
    Loaded,
    SizeRefused,  // "ファイルを開けませんでした"
    BadMagic,     // "ROMイメージが異常です"
};
// The message the user is shown for a refused load (UTF-8), empty for Loaded.
const char* LoadResultMessage(LoadResult result);

class RomImageData {
public:
    static constexpr std::int32_t kMinImageSize = 16;

    // Builds the address table from ini, then the 16 stages, then applies "ShareData" to the stages.
    RomImageData(EditFlagManagement& flags, TMyMemIniFile& ini);

    // Throws FileError when the file cannot be opened or read. The buffer past the new file's end is
    // cleared, so no table decodes from an earlier image's bytes.
    LoadResult LoadFromFile(const std::filesystem::path& fileName);
    // Folds the flagged tables back into the buffer, then writes image-size bytes atomically
    // (temporary file + rename). Throws FileError on failure; flags stay set then.
    void SaveToFile(const std::filesystem::path& fileName);
    // Zeroes the buffer, sets the current stage to 0 and clears every history. The stage tables, the image
    // size and the file name stay as they are (nothing may be saved until the next load).
    void CloseImage();

    const std::filesystem::path& FileName() const { return fileName_; }
    std::int32_t ImageSize() const { return imageSize_; }
    void SetCurrentStage(int stage);  // a number outside 0 to 15 is ignored
    int CurrentStage() const { return currentStage_; }
    StageData& StageAt(int stage) { return *stages_[stage]; }
    const StageData& StageAt(int stage) const { return *stages_[stage]; }
    StageData& Current() { return *stages_[currentStage_]; }
    const Byte* ImageBytes() const { return image_.data(); }  // kImageCapacity bytes
    const AddressData& Addresses() const { return *addresses_; }

    void SetHistoryEnabled(bool enabled);
    void ClearAllHistory();
    bool CanUndo() const { return stages_[currentStage_]->CanUndo(); }
    bool CanRedo() const { return stages_[currentStage_]->CanRedo(); }
    int Undo() { return stages_[currentStage_]->Undo(); }
    int Redo() { return stages_[currentStage_]->Redo(); }
    const char* UndoDescription() const { return stages_[currentStage_]->UndoDescription(); }
    const char* RedoDescription() const { return stages_[currentStage_]->RedoDescription(); }

private:
    void FoldModifiedTables();
    void NoteWritten(StageTable table, int stage);

    EditFlagManagement& flags_;
    std::vector<Byte> image_;  // kImageCapacity bytes, zero at creation
    std::int32_t imageSize_ = 0;
    std::int32_t dirtyEnd_ = 0;  // every byte of the buffer from here on is zero
    std::vector<Byte> scratch_;  // the file is read here first, so a refused or failed read changes nothing
    std::filesystem::path fileName_;
    int currentStage_ = 0;
    std::unique_ptr<AddressData> addresses_;
    std::array<std::unique_ptr<StageData>, kStageCount> stages_;
};
