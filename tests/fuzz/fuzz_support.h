#pragma once
// Shared by the fuzz entry points: a scratch folder for the files a run writes, and the input forms.
//
// Input forms:
//  - an image: the bytes of an image file;
//  - an INI text and an image: the text up to the first NUL byte is the address configuration file, the
//    bytes after it the image file (no NUL: the whole input is the text and the image file is empty);
//  - an INI text and a patched image: as above, but the part after the NUL is 3 bytes of image size
//    (little-endian, 16 to 0x80010) followed by patches, each 3 bytes of offset, 1 byte of length and that many bytes,
//    laid over an all-zero image with the iNES magic. Small inputs can so place load records and tables
//    anywhere in a large image.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "document/editdata.h"

namespace fuzz {

// A property of the code under test did not hold: stop the run so the fuzzer reports the input.
#define FUZZ_CHECK(cond)                                                                  \
    do {                                                                                  \
        if (!(cond)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

// A folder of this process's own under /dev/shm (memory, so flushes cost nothing) or the temporary
// folder, removed at exit.
const std::filesystem::path& ScratchFolder();

void WriteWholeFile(const std::filesystem::path& path, const void* data, std::size_t size);
std::vector<Byte> ReadWholeFile(const std::filesystem::path& path);

struct IniAndImage {
    std::string_view ini;
    const std::uint8_t* image = nullptr;
    std::size_t imageSize = 0;
};
IniAndImage SplitIniAndImage(const std::uint8_t* data, std::size_t size);

// The patched image of the third input form; empty when the image part is shorter than its size field.
std::vector<Byte> PatchedImage(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
