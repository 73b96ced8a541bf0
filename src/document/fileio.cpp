#include "document/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "document/MyIniFiles.h"
#include "document/atomicfile.h"
#include "document/fileerror.h"
#include "document/uitextmark.h"

namespace {

constexpr Byte kMagic[4] = {0x4E, 0x45, 0x53, 0x1A};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void ThrowErrno(const std::filesystem::path& path, const char* what, int err) {
    throw FileError(path, std::string(what) + ": " + std::strerror(err));
}

}  // namespace

void RomImageData::FreeBytes::operator()(Byte* p) const {
    std::free(p);
}

RomImageData::ByteBuffer RomImageData::NewZeroBuffer() {
    auto* p = static_cast<Byte*>(std::calloc(static_cast<std::size_t>(kImageCapacity), 1));
    if (!p) throw std::bad_alloc();
    return ByteBuffer(p);
}

const char* LoadResultMessage(LoadResult result) {
    switch (result) {
    case LoadResult::Loaded: return "";
    case LoadResult::SizeRefused: return QUORVEN_TEXT("Document", "ファイルを開けませんでした");
    case LoadResult::BadMagic: return QUORVEN_TEXT("Document", "ROMイメージが異常です");
    }
    return "";
}

RomImageData::RomImageData(EditFlagManagement& flags, TMyMemIniFile& ini) : flags_(flags), image_(NewZeroBuffer()) {
    addresses_ = std::make_unique<AddressData>(ini);
    for (int s = 0; s < kStageCount; ++s) stages_[s] = std::make_unique<StageData>(s, image_.get(), *addresses_);
    // In ascending order, as the address table did: a stage follows another's redirection only when that
    // stage is lower-numbered.
    for (int s = 0; s < kStageCount; ++s) {
        int m = AddressData::ReadShareTarget(ini, s);
        if (m != s) stages_[s]->ShareTablesWith(*stages_[m]);
    }
}

LoadResult RomImageData::LoadFromFile(const std::filesystem::path& fileName) {
    ClearAllHistory();  // whatever the outcome

    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it is refused below anyway.
    FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) ThrowErrno(fileName, "cannot open the file", errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) ThrowErrno(fileName, "cannot read the file", errno);
    if (!S_ISREG(st.st_mode)) throw FileError(fileName, S_ISDIR(st.st_mode) ? "is a folder" : "is not a regular file");

    if (st.st_size < kMinImageSize || st.st_size > kImageCapacity) return LoadResult::SizeRefused;
    const auto n = static_cast<std::size_t>(st.st_size);

    if (!spare_) spare_ = NewZeroBuffer();
    std::size_t got = 0;
    while (got < n) {
        ssize_t r = ::read(fd.get(), spare_.get() + got, n - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(fileName, "cannot read the file", errno);
        }
        if (r == 0) throw FileError(fileName, "the file became shorter while it was read");
        got += static_cast<std::size_t>(r);
        spareDirtyEnd_ = std::max(spareDirtyEnd_, static_cast<std::int32_t>(got));
    }
    if (!std::equal(std::begin(kMagic), std::end(kMagic), spare_.get())) return LoadResult::BadMagic;

    // Nothing of an earlier image may remain past the new end: tables that lie there decode as zero. Only
    // the part that earlier contents of this buffer reached needs clearing.
    if (static_cast<std::size_t>(spareDirtyEnd_) > n)
        std::fill(spare_.get() + n, spare_.get() + spareDirtyEnd_, Byte{0});
    image_.swap(spare_);
    spareDirtyEnd_ = std::max(dirtyEnd_, imageSize_);
    imageSize_ = static_cast<std::int32_t>(n);
    dirtyEnd_ = imageSize_;
    fileName_ = fileName;
    loaded_ = true;
    ++imageGeneration_;
    original_.clear();
    originalInBuffer_ = true;  // copied out only when needed (KeepOriginal)
    for (auto& stage : stages_) stage->RebindImage(image_.get());
    for (auto& stage : stages_) stage->ReadAllTables();
    return LoadResult::Loaded;
}

void RomImageData::NoteWritten(StageTable table, int stage) {
    std::int64_t begin = addresses_->TableAddress(table, stage);
    std::int64_t end = std::min<std::int64_t>(begin + StageData::TableExtent(table), kImageCapacity);
    if (begin < kImageCapacity && end > dirtyEnd_) dirtyEnd_ = static_cast<std::int32_t>(end);
}

void RomImageData::FoldModifiedTables() {
    for (int s = 0; s < kStageCount; ++s) {
        StageData& st = *stages_[s];
        if (flags_.IsModified(ModifiedCategory::Chip16x16, s)) {
            st.WriteChip16x16Tiles();
            st.WriteChipProperties();
            NoteWritten(StageTable::Chip16x16, s);
            NoteWritten(StageTable::ChipProperty, s);
        }
        if (flags_.IsModified(ModifiedCategory::Chip32x32, s)) {
            st.WriteChip32x32();
            NoteWritten(StageTable::Chip32x32, s);
        }
        if (flags_.IsModified(ModifiedCategory::MapSet, s)) {
            st.WriteMapSets();
            NoteWritten(StageTable::MapSet, s);
        }
        if (flags_.IsModified(ModifiedCategory::Map, s)) {
            st.WriteMap();
            NoteWritten(StageTable::Map, s);
        }
        if (flags_.IsModified(ModifiedCategory::Palette, s)) {
            st.WriteBGPalettes();
            st.WritePaletteAnime();
            NoteWritten(StageTable::BGPalette, s);
            NoteWritten(StageTable::BGPaletteAnime, s);
        }
        if (flags_.IsModified(ModifiedCategory::Object, s)) {
            st.WriteObjects();
            for (StageTable t : {StageTable::ObjectOffset, StageTable::ObjectScreen, StageTable::ObjectX,
                                 StageTable::ObjectY, StageTable::ObjectKind})
                NoteWritten(t, s);
        }
    }
}

AtomicWriteResult RomImageData::SaveToFile(const std::filesystem::path& fileName) {
    // After a close the buffer is all zero: writing it would replace an image with zeros.
    if (!loaded_) throw NoImageError("no image is open: there is nothing to save");
    KeepOriginal();  // the fold below changes the buffer
    FoldModifiedTables();
    // Throws FileError with the previous file intact; the flags and histories then stay as they are.
    const AtomicWriteResult result =
        WriteFileAtomically(fileName, image_.get(), static_cast<std::size_t>(std::max<std::int32_t>(imageSize_, 0)));
    flags_.ClearAllModified();
    ClearAllHistory();
    fileName_ = fileName;
    return result;
}

void RomImageData::KeepOriginal() const {
    if (!originalInBuffer_) return;
    original_.assign(image_.get(), image_.get() + imageSize_);
    originalInBuffer_ = false;
}

const std::vector<Byte>& RomImageData::OriginalImage() const {
    KeepOriginal();
    return original_;
}

std::vector<Byte> RomImageData::ComposeImage() const {
    if (!loaded_) return {};
    std::vector<Byte> out(image_.get(), image_.get() + kImageCapacity);
    for (int s = 0; s < kStageCount; ++s) {
        auto flagged = [&](ModifiedCategory c) { return flags_.IsModified(c, s); };
        if (!flagged(ModifiedCategory::Chip16x16) && !flagged(ModifiedCategory::Chip32x32) &&
            !flagged(ModifiedCategory::MapSet) && !flagged(ModifiedCategory::Map) &&
            !flagged(ModifiedCategory::Palette) && !flagged(ModifiedCategory::Object))
            continue;
        // A copy writes into the copy of the buffer: WriteObjects also refreshes the stage's own object
        // arrays, which the open document's next save must find as they are.
        StageData st(*stages_[s]);
        st.RebindImage(out.data());
        // The same tables, in the same order, as a save writes.
        if (flagged(ModifiedCategory::Chip16x16)) {
            st.WriteChip16x16Tiles();
            st.WriteChipProperties();
        }
        if (flagged(ModifiedCategory::Chip32x32)) st.WriteChip32x32();
        if (flagged(ModifiedCategory::MapSet)) st.WriteMapSets();
        if (flagged(ModifiedCategory::Map)) st.WriteMap();
        if (flagged(ModifiedCategory::Palette)) {
            st.WriteBGPalettes();
            st.WritePaletteAnime();
        }
        if (flagged(ModifiedCategory::Object)) st.WriteObjects();
    }
    out.resize(static_cast<std::size_t>(std::max<std::int32_t>(imageSize_, 0)));
    return out;
}

void RomImageData::CloseImage() {
    std::int32_t end = std::max(imageSize_, dirtyEnd_);
    std::fill(image_.get(), image_.get() + end, Byte{0});
    dirtyEnd_ = 0;
    loaded_ = false;
    ++imageGeneration_;
    original_ = {};
    originalInBuffer_ = false;
    currentStage_ = 0;
    ClearAllHistory();
}

void RomImageData::SetCurrentStage(int stage) {
    if (stage >= 0 && stage < kStageCount) currentStage_ = stage;
}

void RomImageData::SetHistoryEnabled(bool enabled) {
    for (auto& stage : stages_) stage->SetHistoryEnabled(enabled);
}

void RomImageData::ClearAllHistory() {
    for (auto& stage : stages_) stage->ClearHistory();
}
