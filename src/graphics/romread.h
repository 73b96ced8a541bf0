#pragma once
// Bounds-checked reading of the loaded ROM image for the loaders that follow the game's own pointers
// (BG bank assembly, palette animation). Every address is checked against the size of the image that
// was loaded, so a pointer or table address that leads past the file's end (or before its start) reads
// nothing, whatever the image buffer holds there.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "document/editdata.h"
#include "document/fileio.h"

class RomReader {
public:
    explicit RomReader(const RomImageData& rom)
        : bytes_(rom.ImageBytes()),
          size_(rom.ImageBytes() ? std::clamp<std::int64_t>(rom.ImageSize(), 0, kImageCapacity) : 0) {}

    std::int64_t Size() const { return size_; }
    // True when the len bytes from address on all lie inside the loaded image.
    bool Contains(std::int64_t address, std::int64_t len = 1) const {
        return address >= 0 && len >= 0 && address <= size_ - len;
    }
    std::optional<Byte> At(std::int64_t address) const {
        if (!Contains(address)) return std::nullopt;
        return bytes_[address];
    }
    // Unchecked access; only after Contains().
    const Byte* Ptr(std::int64_t address) const { return bytes_ + address; }
    // A split little-endian pointer: low byte at low + index, high byte at high + index.
    std::optional<std::int64_t> SplitPointer(std::int64_t low, std::int64_t high, std::int64_t index) const {
        auto lo = At(low + index);
        auto hi = At(high + index);
        if (!lo || !hi) return std::nullopt;
        return std::int64_t(*lo) + 256 * std::int64_t(*hi);
    }

private:
    const Byte* bytes_;
    std::int64_t size_;
};
