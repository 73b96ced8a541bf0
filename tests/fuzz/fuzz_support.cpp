#include "fuzz_support.h"

#include "document/MyIniFiles.h"
#include "document/address.h"

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace fuzz {

const std::filesystem::path& ScratchFolder() {
    static std::filesystem::path folder;
    if (folder.empty()) {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string tmpl = (base / "quorven-fuzz-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        folder = tmpl;
        std::atexit([] {
            std::error_code e;
            std::filesystem::remove_all(folder, e);
        });
    }
    return folder;
}

void WriteWholeFile(const std::filesystem::path& path, const void* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) std::abort();
    if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
    ::close(fd);
}

std::string DocumentKey(TMyMemIniFile& ini) {
    const AddressData a(ini);
    std::vector<std::int32_t> values;
    for (int t = 0; t < kStageTableCount; ++t)
        for (int s = 0; s < kStageCount; ++s) values.push_back(a.TableAddress(static_cast<StageTable>(t), s));
    for (std::int32_t v : {a.PaletteAnimationPointerLow(), a.PaletteAnimationPointerHigh(), a.PaletteAnimationData(),
                           a.PaletteAnimationPalette(), a.MidPointData(), a.InitialGraphicsPointerLow(),
                           a.InitialGraphicsPointerHigh(), a.ScrollGraphicsPointerLow(), a.ScrollGraphicsPointerHigh(),
                           a.InitialGraphicsPointerMax(), a.ScrollGraphicsPointerMax()})
        values.push_back(v);
    for (int s = 0; s < kStageCount; ++s) values.push_back(AddressData::ReadShareTarget(ini, s));
    return std::string(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(std::int32_t));
}

std::vector<Byte> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<Byte>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

IniAndImage SplitIniAndImage(const std::uint8_t* data, std::size_t size) {
    IniAndImage r;
    const void* nul = size > 0 ? std::memchr(data, 0, size) : nullptr;
    const std::size_t textSize = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - data) : size;
    r.ini = std::string_view(reinterpret_cast<const char*>(data), textSize);
    if (nul) {
        r.image = data + textSize + 1;
        r.imageSize = size - textSize - 1;
    }
    return r;
}

std::size_t WritePatchedImage(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    std::size_t imageSize = data[0] | (std::size_t(data[1]) << 8) | (std::size_t(data[2]) << 16);
    // At most the size of the game's image: every table and load record lies inside it.
    imageSize = std::min<std::size_t>(std::max<std::size_t>(imageSize, 16), 0x80010);
    // One descriptor for the whole run; emptied, the file grows by the writes only.
    static int fd = -1;
    if (fd < 0) fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || ::ftruncate(fd, 0) != 0) std::abort();
    std::size_t extent = 16;
    auto put = [&](std::size_t at, const std::uint8_t* bytes, std::size_t n) {
        if (::pwrite(fd, bytes, n, static_cast<off_t>(at)) != static_cast<ssize_t>(n)) std::abort();
        extent = std::max(extent, at + n);
    };
    const std::uint8_t magic[4] = {0x4E, 0x45, 0x53, 0x1A};
    put(0, magic, 4);
    std::size_t at = 5;  // past the size and the two choice bytes
    while (at + 4 <= size) {
        const std::size_t offset = data[at] | (std::size_t(data[at + 1]) << 8) | (std::size_t(data[at + 2]) << 16);
        const std::size_t length = std::min<std::size_t>(data[at + 3], size - at - 4);
        at += 4;
        // The magic stays; bytes past the image's end are dropped.
        const std::size_t begin = std::max<std::size_t>(offset, 4), end = std::min(offset + length, imageSize);
        if (begin < end) put(begin, data + at + (begin - offset), end - begin);
        at += length;
    }
    // The zeros after the last patch are left off: the document reads the bytes past a file's end as zeros
    // too, so the banks and palettes come out the same, but no load and no list walk spends time on them.
    if (::ftruncate(fd, static_cast<off_t>(extent)) != 0) std::abort();
    return extent;
}

}  // namespace fuzz
