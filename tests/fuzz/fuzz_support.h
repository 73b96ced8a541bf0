#pragma once
// Shared by the fuzz entry points: a scratch folder for the files a run writes, and the input forms.
//
// Input forms:
//  - an image: the bytes of an image file;
//  - an INI text and an image: the text up to the first NUL byte is the address configuration file, the
//    bytes after it the image file (no NUL: the whole input is the text and the image file is empty);
//  - an INI text and a patched image: as above, but the part after the NUL is 3 bytes of image size
//    (little-endian, 16 to 0x80010), 2 bytes that choose what to look at (see the entry point), then
//    patches, each 3 bytes of offset, 1 byte of length and that many bytes, laid over an all-zero image with
//    the iNES magic. Small inputs can so place load records and tables anywhere in a large image.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/MyIniFiles.h"
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

// Writes the patched image of the third input form (the part after the size and the two choice bytes) to
// path (the same path on every call). The file ends with the last byte a patch wrote (16 bytes at least):
// the zeros the size field adds after it read as zeros past the file's end anyway. Returns the file's size,
// 0 when the part is shorter than its size field.
std::size_t WritePatchedImage(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);

// What a document built from the address configuration ini depends on: every table address, the loading
// table addresses and every stage's sharing. Reading it writes the values back into ini, as building the
// document does.
std::string DocumentKey(TMyMemIniFile& ini);

// The documents of the last few keys (DocumentKey), kept across runs as an editing session keeps its
// document: building one (16 stages, image buffers) costs more than the rest of a run, and each run loads
// its image into the document anew. make() builds the entry for a key not kept.
template <class T>
class DocumentCache {
public:
    template <class Make>
    T& Get(const std::string& key, Make make) {
        for (auto& e : entries_)
            if (e.first == key) return *e.second;
        if (entries_.size() >= kKept) entries_.erase(entries_.begin());
        entries_.emplace_back(key, make());
        return *entries_.back().second;
    }

private:
    static constexpr std::size_t kKept = 64;
    std::vector<std::pair<std::string, std::unique_ptr<T>>> entries_;
};

// The document of an address configuration text, through two caches: text to key (DocumentKey), key to
// document (built as T(ini) from the text's INI file at iniPath). A text not among the last ones seen is
// read anew, and onNewText(ini) runs on it with its values written back, so the text's own checks run once
// per text, not on every input.
template <class T, class OnNewText>
T& DocumentFor(std::string_view text, const std::filesystem::path& iniPath, OnNewText onNewText) {
    static DocumentCache<std::string> keys;
    static DocumentCache<T> documents;
    const std::string& key = keys.Get(std::string(text), [&] {
        WriteWholeFile(iniPath, text.data(), text.size());
        TMyMemIniFile ini(iniPath);
        auto k = std::make_unique<std::string>(DocumentKey(ini));
        onNewText(ini);
        return k;
    });
    return documents.Get(key, [&] {
        WriteWholeFile(iniPath, text.data(), text.size());
        TMyMemIniFile ini(iniPath);
        return std::make_unique<T>(ini);
    });
}

}  // namespace fuzz
