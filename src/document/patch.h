#pragma once
// Patch files that turn one image into another: IPS and BPS, as other patching tools read and write them.
//
// IPS: "PATCH", then records of a 3-byte big-endian offset and a 2-byte big-endian size followed by that many
// bytes (a size of 0 starts a run-length record: a 2-byte count and the byte to repeat), then "EOF",
// optionally followed by a 3-byte big-endian size the result is cut to. Offsets reach 16 MiB only.
// BPS: "BPS1", the source size, the target size and the metadata size as variable-length numbers, the
// metadata, the actions (SourceRead, TargetRead, SourceCopy, TargetCopy), then the CRC32 of the source, of
// the target and of the patch up to there, each four bytes little-endian.
//
// Making never fails except for an IPS of an image it cannot describe; applying checks every length and
// offset against both buffers and throws PatchError for anything malformed, never reading or writing outside.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace patchfile {

using Byte = std::uint8_t;
using Bytes = std::vector<Byte>;

enum class PatchFormat { Unknown, Ips, Bps };

enum class PatchErrorKind {
    TooLarge,     // an image IPS cannot describe (past 16 MiB)
    Malformed,    // not a patch of the format, truncated, or its contents point outside the buffers
    Corrupt,      // BPS: the patch's own CRC32 does not match
    WrongSource,  // BPS: the image it is applied to is not the one it was made from
    WrongResult,  // BPS: the result's CRC32 does not match
};

class PatchError : public std::runtime_error {
public:
    PatchError(PatchErrorKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    PatchErrorKind Kind() const { return kind_; }

private:
    PatchErrorKind kind_;
};

// The largest image an IPS patch can produce: offsets are 3 bytes.
constexpr std::size_t kIpsLimit = 0x1000000;
// A record of an IPS patch never starts here: the three offset bytes would read "EOF".
constexpr std::size_t kIpsEofOffset = 0x454F46;
// Applying refuses a BPS whose result would be larger than this.
constexpr std::uint64_t kBpsTargetLimit = 0x10000000;

Bytes MakeIps(std::span<const Byte> original, std::span<const Byte> edited);
Bytes MakeBps(std::span<const Byte> original, std::span<const Byte> edited);
Bytes ApplyIps(std::span<const Byte> source, std::span<const Byte> patch);
Bytes ApplyBps(std::span<const Byte> source, std::span<const Byte> patch);

// By the patch's magic ("PATCH" or "BPS1").
PatchFormat DetectFormat(std::span<const Byte> patch);
// By the file name's extension (.ips or .bps, any case).
PatchFormat FormatForFileName(const std::string& fileName);
// Applies either format, by its magic; throws PatchError (Malformed) for anything else.
Bytes ApplyPatch(std::span<const Byte> source, std::span<const Byte> patch);
Bytes MakePatch(PatchFormat format, std::span<const Byte> original, std::span<const Byte> edited);

// zlib's CRC32 of the bytes.
std::uint32_t Crc32(std::span<const Byte> bytes);

}  // namespace patchfile
