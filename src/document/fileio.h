#pragma once
// The ROM image document: the image buffer, the address table, the 16 stages, load, save and close.

#include <array>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/address.h"
#include "document/atomicfile.h"
#include "document/edit_flag.h"
#include "document/editdata.h"

class TMyMemIniFile;

enum class LoadResult {
    Loaded,
    SizeRefused,  // "ファイルを開けませんでした"
    BadMagic,     // "ROMイメージが異常です"
};
// The message the user is shown for a refused load (UTF-8), empty for Loaded.
const char* LoadResultMessage(LoadResult result);

// SaveToFile while no image is loaded (before the first load, or after CloseImage).
class NoImageError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class RomImageData {
public:
    static constexpr std::int32_t kMinImageSize = 16;

    // Builds the address table from ini, then the 16 stages, then applies "ShareData" to the stages.
    RomImageData(EditFlagManagement& flags, TMyMemIniFile& ini);

    // Throws FileError when the file cannot be opened or read. The buffer past the new file's end is
    // cleared, so no table decodes from an earlier image's bytes. The file is read into a second buffer,
    // which becomes the image buffer only when the whole file was read and its header is good: a refused
    // or failed load never touches the open image.
    LoadResult LoadFromFile(const std::filesystem::path& fileName);
    // Folds the flagged tables back into the buffer, then writes image-size bytes atomically
    // (temporary file + rename, see WriteFileAtomically). Throws FileError on failure; flags stay set then.
    // Throws NoImageError, changing nothing, when no image is loaded. A returned result whose name is not
    // durable is still a save: the file holds the new bytes and the flags are cleared.
    AtomicWriteResult SaveToFile(const std::filesystem::path& fileName);
    // Zeroes the buffer, sets the current stage to 0 and clears every history. The stage tables, the image
    // size and the file name stay as they are; nothing can be saved until the next load.
    void CloseImage();
    bool IsLoaded() const { return loaded_; }
    // Counts the successful loads and the closes: a change means a new image, or none, is shown.
    std::uint64_t ImageGeneration() const { return imageGeneration_; }

    const std::filesystem::path& FileName() const { return fileName_; }
    std::int32_t ImageSize() const { return imageSize_; }
    void SetCurrentStage(int stage);  // a number outside 0 to 15 is ignored
    int CurrentStage() const { return currentStage_; }
    StageData& StageAt(int stage) { return *stages_[stage]; }
    const StageData& StageAt(int stage) const { return *stages_[stage]; }
    StageData& Current() { return *stages_[currentStage_]; }
    // kImageCapacity bytes. The pointer changes with every successful load: fetch it anew, never keep it.
    const Byte* ImageBytes() const { return image_.get(); }
    // Every byte of the image buffer from this offset on is zero (the end of the file, or of a table a
    // save wrote past it). Lets the readers of the game's lists skip the empty rest of the buffer.
    std::int32_t ZeroFrom() const { return dirtyEnd_; }
    const AddressData& Addresses() const { return *addresses_; }
    // The bytes read from the file at the last successful load (image-size bytes), kept until the next load
    // or a close; saving does not change them. Patches are made against these.
    const std::vector<Byte>& OriginalImage() const;
    // The image as a save would write it now: image-size bytes with every flagged table folded in. Changes
    // neither the image buffer, nor any stage, nor the flags. Empty when no image is loaded.
    std::vector<Byte> ComposeImage() const;

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
    // kImageCapacity bytes from calloc: the system hands out zero pages, so an untouched part costs nothing.
    struct FreeBytes {
        void operator()(Byte* p) const;
    };
    using ByteBuffer = std::unique_ptr<Byte[], FreeBytes>;
    static ByteBuffer NewZeroBuffer();
    ByteBuffer image_;  // zero at creation
    std::int32_t imageSize_ = 0;
    std::int32_t dirtyEnd_ = 0;  // every byte of the buffer from here on is zero
    // The next file is read here; on success the two buffers swap. Empty until the first load.
    ByteBuffer spare_;
    std::int32_t spareDirtyEnd_ = 0;  // the same for the spare buffer
    bool loaded_ = false;
    std::uint64_t imageGeneration_ = 0;
    std::filesystem::path fileName_;
    // The file's bytes as loaded. A load does not copy them: until the first save folds tables into the
    // buffer, the buffer's first image-size bytes are the original (originalInBuffer_), and they are copied
    // out only when asked for or just before that save.
    mutable std::vector<Byte> original_;
    mutable bool originalInBuffer_ = false;
    void KeepOriginal() const;
    int currentStage_ = 0;
    std::unique_ptr<AddressData> addresses_;
    std::array<std::unique_ptr<StageData>, kStageCount> stages_;
};
