#include "fuzz_support.h"

#include <unistd.h>
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
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
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

std::vector<Byte> PatchedImage(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return {};
    std::size_t imageSize = data[0] | (std::size_t(data[1]) << 8) | (std::size_t(data[2]) << 16);
    // At most the size of the game's image: every table and load record lies inside it, and a larger
    // image only adds empty list entries to walk on each of the many assemblies a run makes.
    imageSize = std::min<std::size_t>(std::max<std::size_t>(imageSize, 16), 0x80010);
    std::vector<Byte> image(imageSize, 0);
    const Byte magic[4] = {0x4E, 0x45, 0x53, 0x1A};
    std::memcpy(image.data(), magic, 4);
    std::size_t at = 3;
    while (at + 4 <= size) {
        const std::size_t offset = data[at] | (std::size_t(data[at + 1]) << 8) | (std::size_t(data[at + 2]) << 16);
        std::size_t length = std::min<std::size_t>(data[at + 3], size - at - 4);
        at += 4;
        for (std::size_t i = 0; i < length; ++i)
            if (offset + i >= 4 && offset + i < image.size()) image[offset + i] = data[at + i];
        at += length;
    }
    return image;
}

}  // namespace fuzz
