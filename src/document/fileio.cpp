#include "fileio.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "MyIniFiles.h"
#include "atomicfile.h"
#include "fileerror.h"

namespace {

constexpr Byte kMagic[4] = {0x4E, 0x45, 0x53, 0x1A};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void ThrowErrno(const std::filesystem::path& path, const char* what, int err)
{
    throw FileError(path, std::string(what) + ": " + std::strerror(err));
}

}  // namespace

const char* LoadResultMessage(LoadResult result)
{
    switch (result) {
    case LoadResult::Loaded: return "";
    case LoadResult::SizeRefused: return "ファイルを開けませんでした";
    case LoadResult::BadMagic: return "ROMイメージが異常です";
    }
    return "";
}

RomImageData::RomImageData(EditFlagManagement& flags, TMyMemIniFile& ini)
    : flags_(flags), image_(static_cast<std::size_t>(kImageCapacity), Byte{0})
{
    addresses_ = std::make_unique<AddressData>(ini);
    for (int s = 0; s < kStageCount; ++s)
        stages_[s] = std::make_unique<StageData>(s, image_.data(), *addresses_);
    // In ascending order, as the address table did: a stage follows another's redirection only when that
    // stage is lower-numbered.
    for (int s = 0; s < kStageCount; ++s) {
        int m = AddressData::ReadShareTarget(ini, s);
        if (m != s)
            stages_[s]->ShareTablesWith(*stages_[m]);
    }
}

LoadResult RomImageData::LoadFromFile(const std::filesystem::path& fileName)
{
    ClearAllHistory();  // whatever the outcome

    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it is refused below anyway.
    FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        ThrowErrno(fileName, "cannot open the file", errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        ThrowErrno(fileName, "cannot read the file", errno);
    if (!S_ISREG(st.st_mode))
        throw FileError(fileName, S_ISDIR(st.st_mode) ? "is a folder" : "is not a regular file");

    if (st.st_size < kMinImageSize || st.st_size > kImageCapacity)
        return LoadResult::SizeRefused;
    const auto n = static_cast<std::size_t>(st.st_size);

    scratch_.resize(n);
    std::size_t got = 0;
    while (got < n) {
        ssize_t r = ::read(fd.get(), scratch_.data() + got, n - got);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(fileName, "cannot read the file", errno);
        }
        if (r == 0)
            throw FileError(fileName, "the file became shorter while it was read");
        got += static_cast<std::size_t>(r);
    }
    if (!std::equal(std::begin(kMagic), std::end(kMagic), scratch_.begin()))
        return LoadResult::BadMagic;

    std::memcpy(image_.data(), scratch_.data(), n);
    // Nothing of an earlier image may remain past the new end: tables that lie there decode as zero.
    if (static_cast<std::size_t>(dirtyEnd_) > n)
        std::fill(image_.begin() + static_cast<std::ptrdiff_t>(n), image_.begin() + dirtyEnd_, Byte{0});
    imageSize_ = static_cast<std::int32_t>(n);
    dirtyEnd_ = imageSize_;
    fileName_ = fileName;
    for (auto& stage : stages_)
        stage->ReadAllTables();
    return LoadResult::Loaded;
}

void RomImageData::NoteWritten(StageTable table, int stage)
{
    std::int64_t begin = addresses_->TableAddress(table, stage);
    std::int64_t end = std::min<std::int64_t>(begin + StageData::TableExtent(table), kImageCapacity);
    if (begin < kImageCapacity && end > dirtyEnd_)
        dirtyEnd_ = static_cast<std::int32_t>(end);
}

void RomImageData::FoldModifiedTables()
{
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

void RomImageData::SaveToFile(const std::filesystem::path& fileName)
{
    FoldModifiedTables();
    // Throws FileError with the previous file intact; the flags and histories then stay as they are.
    WriteFileAtomically(fileName, image_.data(), static_cast<std::size_t>(std::max<std::int32_t>(imageSize_, 0)));
    flags_.ClearAllModified();
    ClearAllHistory();
    fileName_ = fileName;
}

void RomImageData::CloseImage()
{
    std::int32_t end = std::max(imageSize_, dirtyEnd_);
    std::fill(image_.begin(), image_.begin() + end, Byte{0});
    dirtyEnd_ = 0;
    currentStage_ = 0;
    ClearAllHistory();
}

void RomImageData::SetCurrentStage(int stage)
{
    if (stage >= 0 && stage < kStageCount)
        currentStage_ = stage;
}

void RomImageData::SetHistoryEnabled(bool enabled)
{
    for (auto& stage : stages_)
        stage->SetHistoryEnabled(enabled);
}

void RomImageData::ClearAllHistory()
{
    for (auto& stage : stages_)
        stage->ClearHistory();
}
