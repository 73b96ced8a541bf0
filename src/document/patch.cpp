#include "document/patch.h"

#include <zlib.h>
#include <algorithm>
#include <cctype>
#include <cstring>

namespace patchfile {

namespace {

constexpr char kIpsMagic[] = "PATCH";
constexpr char kIpsEnd[] = "EOF";
constexpr char kBpsMagic[] = "BPS1";
constexpr std::size_t kIpsRecordMax = 0xFFFF;
// A run of one byte at least this long is written as a run-length record (8 bytes instead of 5 + n).
constexpr std::size_t kIpsRunMin = 9;
// Unchanged bytes up to this many between two changes are carried in the same record (cheaper than a header).
constexpr std::size_t kIpsGapMax = 5;
// TargetRead takes over from SourceRead only for matches at least this long.
constexpr std::size_t kBpsMatchMin = 4;
// A run of one byte at least this long is written as a TargetCopy of the byte before.
constexpr std::size_t kBpsRunMin = 8;

[[noreturn]] void Fail(PatchErrorKind kind, const std::string& message) {
    throw PatchError(kind, message);
}
[[noreturn]] void Malformed(const std::string& what) {
    Fail(PatchErrorKind::Malformed, what);
}

void Put(Bytes& out, const char* text) {
    out.insert(out.end(), text, text + std::strlen(text));
}
void PutBe(Bytes& out, std::size_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<Byte>((value >> (8 * i)) & 0xFF));
}
void PutLe32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<Byte>((value >> (8 * i)) & 0xFF));
}

bool StartsWith(std::span<const Byte> bytes, const char* text) {
    std::size_t n = std::strlen(text);
    return bytes.size() >= n && std::memcmp(bytes.data(), text, n) == 0;
}

// ---------------------------------------------------------------- IPS

class IpsWriter {
public:
    explicit IpsWriter(std::span<const Byte> edited) : edited_(edited) { Put(out_, kIpsMagic); }

    // Writes edited[offset, offset + length) as a literal or run-length record, length 1 to kIpsRecordMax.
    void Record(std::size_t offset, std::size_t length, bool run) {
        if (offset == kIpsEofOffset) {
            // The offset bytes would read "EOF": start one byte earlier, carrying the byte before along.
            std::size_t moved = std::min(length + 1, kIpsRecordMax);
            Literal(offset - 1, moved);
            if (moved < length + 1) Literal(offset - 1 + moved, length + 1 - moved);
            return;
        }
        if (run) {
            PutBe(out_, offset, 3);
            PutBe(out_, 0, 2);
            PutBe(out_, length, 2);
            out_.push_back(edited_[offset]);
        } else {
            Literal(offset, length);
        }
    }

    Bytes Finish(std::size_t truncateTo, bool truncate) {
        Put(out_, kIpsEnd);
        if (truncate) PutBe(out_, truncateTo, 3);
        return std::move(out_);
    }

private:
    void Literal(std::size_t offset, std::size_t length) {
        PutBe(out_, offset, 3);
        PutBe(out_, length, 2);
        out_.insert(out_.end(), edited_.begin() + static_cast<std::ptrdiff_t>(offset),
                    edited_.begin() + static_cast<std::ptrdiff_t>(offset + length));
    }

    std::span<const Byte> edited_;
    Bytes out_;
};

// ---------------------------------------------------------------- BPS

void PutNumber(Bytes& out, std::uint64_t n) {
    for (;;) {
        Byte x = static_cast<Byte>(n & 0x7F);
        n >>= 7;
        if (n == 0) {
            out.push_back(static_cast<Byte>(0x80 | x));
            return;
        }
        out.push_back(x);
        --n;
    }
}

enum BpsAction : std::uint64_t { kSourceRead = 0, kTargetRead = 1, kSourceCopy = 2, kTargetCopy = 3 };

void PutAction(Bytes& out, BpsAction action, std::size_t length) {
    PutNumber(out, (static_cast<std::uint64_t>(length - 1) << 2) | action);
}

void PutSignedOffset(Bytes& out, std::int64_t delta) {
    std::uint64_t magnitude = static_cast<std::uint64_t>(delta < 0 ? -delta : delta);
    PutNumber(out, (magnitude << 1) | (delta < 0 ? 1u : 0u));
}

class Reader {
public:
    Reader(std::span<const Byte> bytes, std::size_t end) : bytes_(bytes), end_(end) {}
    bool AtEnd() const { return pos_ >= end_; }
    std::size_t Pos() const { return pos_; }
    Byte Next() {
        if (pos_ >= end_) Malformed("the patch ends too early");
        return bytes_[pos_++];
    }
    std::span<const Byte> Take(std::size_t n) {
        if (n > end_ - pos_) Malformed("the patch ends too early");
        auto s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    std::uint64_t Number() {
        std::uint64_t data = 0, shift = 1;
        for (;;) {
            Byte x = Next();
            if (shift > (std::uint64_t{1} << 56)) Malformed("a number in the patch is too large");
            data += static_cast<std::uint64_t>(x & 0x7F) * shift;
            if (x & 0x80) return data;
            shift <<= 7;
            data += shift;
        }
    }
    std::size_t BigEndian(int bytes) {
        std::size_t v = 0;
        for (int i = 0; i < bytes; ++i) v = (v << 8) | Next();
        return v;
    }

private:
    std::span<const Byte> bytes_;
    std::size_t end_;
    std::size_t pos_ = 0;
};

std::uint32_t ReadLe32(std::span<const Byte> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

std::uint32_t Crc32(std::span<const Byte> bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    const Byte* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        uInt chunk = static_cast<uInt>(std::min<std::size_t>(left, 0x40000000));
        crc = crc32(crc, p, chunk);
        p += chunk;
        left -= chunk;
    }
    return static_cast<std::uint32_t>(crc);
}

Bytes MakeIps(std::span<const Byte> original, std::span<const Byte> edited) {
    const std::size_t n = edited.size();
    const bool truncate = n < original.size();
    if (n > kIpsLimit || (truncate && n >= kIpsLimit))
        Fail(PatchErrorKind::TooLarge, "an IPS patch cannot describe an image larger than 16 MiB");
    // Every byte past the original's end is written: the patch alone makes the image that long.
    auto differs = [&](std::size_t i) { return i >= original.size() || original[i] != edited[i]; };

    IpsWriter writer(edited);
    std::size_t i = 0;
    while (i < n) {
        if (!differs(i)) {
            ++i;
            continue;
        }
        // One record's span: the changed bytes, with short unchanged gaps carried along.
        const std::size_t start = i;
        std::size_t end = i + 1;
        while (end < n && end - start < kIpsRecordMax) {
            if (differs(end)) {
                ++end;
                continue;
            }
            std::size_t g = end;
            while (g < n && !differs(g) && g - end <= kIpsGapMax) ++g;
            if (g < n && differs(g) && g - end <= kIpsGapMax)
                end = std::min(g, start + kIpsRecordMax);
            else
                break;
        }
        // Split the span into literal pieces and run-length pieces.
        std::size_t p = start, literalFrom = start;
        while (p < end) {
            std::size_t r = p + 1;
            while (r < end && edited[r] == edited[p] && r - p < kIpsRecordMax) ++r;
            if (r - p >= kIpsRunMin) {
                if (literalFrom < p) writer.Record(literalFrom, p - literalFrom, false);
                writer.Record(p, r - p, true);
                literalFrom = r;
            }
            p = r;
        }
        if (literalFrom < end) writer.Record(literalFrom, end - literalFrom, false);
        i = end;
    }
    return writer.Finish(n, truncate);
}

Bytes ApplyIps(std::span<const Byte> source, std::span<const Byte> patch) {
    if (!StartsWith(patch, kIpsMagic)) Malformed("not an IPS patch (it does not start with \"PATCH\")");
    Bytes out(source.begin(), source.end());
    Reader in(patch, patch.size());
    in.Take(5);
    for (;;) {
        if (patch.size() - in.Pos() >= 3 && std::memcmp(patch.data() + in.Pos(), kIpsEnd, 3) == 0) {
            in.Take(3);
            std::size_t left = patch.size() - in.Pos();
            if (left == 3) {
                std::size_t size = in.BigEndian(3);
                if (size > out.size()) Malformed("the IPS patch's truncation size lies past the image's end");
                out.resize(size);
            } else if (left != 0) {
                Malformed("the IPS patch has data after its end marker");
            }
            return out;
        }
        if (in.AtEnd()) Malformed("the IPS patch ends without its end marker");
        const std::size_t offset = in.BigEndian(3);
        std::size_t size = in.BigEndian(2);
        bool run = false;
        Byte value = 0;
        if (size == 0) {
            size = in.BigEndian(2);
            if (size == 0) Malformed("the IPS patch holds an empty run-length record");
            value = in.Next();
            run = true;
        }
        std::span<const Byte> data;
        if (!run) data = in.Take(size);
        if (offset + size > out.size()) out.resize(offset + size, 0);
        if (run)
            std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(offset), size, value);
        else
            std::copy(data.begin(), data.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
    }
}

Bytes MakeBps(std::span<const Byte> original, std::span<const Byte> edited) {
    Bytes out;
    Put(out, kBpsMagic);
    PutNumber(out, original.size());
    PutNumber(out, edited.size());
    PutNumber(out, 0);  // no metadata

    const std::size_t n = edited.size();
    auto sameAt = [&](std::size_t i) { return i < original.size() && original[i] == edited[i]; };
    // Length of the unchanged stretch from i (bytes equal at the same offset).
    auto matchFrom = [&](std::size_t i) {
        std::size_t j = i;
        while (j < n && sameAt(j)) ++j;
        return j - i;
    };
    // Length of the run of edited[i - 1]'s value from i.
    auto runFrom = [&](std::size_t i) {
        if (i == 0) return std::size_t{0};
        std::size_t j = i;
        while (j < n && edited[j] == edited[i - 1]) ++j;
        return j - i;
    };

    std::size_t i = 0;
    std::int64_t targetRelative = 0;
    while (i < n) {
        std::size_t m = matchFrom(i);
        if (m > 0 && (m >= kBpsMatchMin || i + m == n)) {
            PutAction(out, kSourceRead, m);
            i += m;
            continue;
        }
        std::size_t r = runFrom(i);
        if (r >= kBpsRunMin && matchFrom(i) < r) {
            // Copies the byte before over and over: each copied byte becomes the next one's source.
            std::int64_t from = static_cast<std::int64_t>(i) - 1;
            PutAction(out, kTargetCopy, r);
            PutSignedOffset(out, from - targetRelative);
            targetRelative = from + static_cast<std::int64_t>(r);
            i += r;
            continue;
        }
        // Literal bytes up to the next worthwhile match or run.
        std::size_t j = i + 1;
        while (j < n) {
            std::size_t mj = sameAt(j) ? matchFrom(j) : 0;
            if (mj >= kBpsMatchMin || (mj > 0 && j + mj == n)) break;
            if (edited[j] == edited[j - 1] && runFrom(j) >= kBpsRunMin) break;
            ++j;
        }
        PutAction(out, kTargetRead, j - i);
        out.insert(out.end(), edited.begin() + static_cast<std::ptrdiff_t>(i),
                   edited.begin() + static_cast<std::ptrdiff_t>(j));
        i = j;
    }
    PutLe32(out, Crc32(original));
    PutLe32(out, Crc32(edited));
    PutLe32(out, Crc32(out));
    return out;
}

Bytes ApplyBps(std::span<const Byte> source, std::span<const Byte> patch) {
    if (!StartsWith(patch, kBpsMagic)) Malformed("not a BPS patch (it does not start with \"BPS1\")");
    if (patch.size() < 4 + 3 + 12) Malformed("the BPS patch is too short");
    const std::size_t footer = patch.size() - 12;
    if (Crc32(patch.first(patch.size() - 4)) != ReadLe32(patch, patch.size() - 4))
        Fail(PatchErrorKind::Corrupt, "the BPS patch is damaged (its checksum does not match)");

    Reader in(patch, footer);
    in.Take(4);
    const std::uint64_t sourceSize = in.Number();
    const std::uint64_t targetSize = in.Number();
    const std::uint64_t metadataSize = in.Number();
    if (sourceSize != source.size() || Crc32(source) != ReadLe32(patch, footer))
        Fail(PatchErrorKind::WrongSource,
             "the image is not the one this BPS patch was made from (its size or checksum does not match)");
    if (targetSize > kBpsTargetLimit) Malformed("the BPS patch's result would be too large");
    if (metadataSize > footer) Malformed("the BPS patch's metadata runs past its end");
    in.Take(static_cast<std::size_t>(metadataSize));

    const std::size_t size = static_cast<std::size_t>(targetSize);
    Bytes out(size);
    std::size_t outPos = 0;
    std::uint64_t sourceRelative = 0, targetRelative = 0;
    auto relative = [&](std::uint64_t& position, std::uint64_t limit) {
        std::uint64_t data = in.Number();
        std::uint64_t magnitude = data >> 1;
        if (data & 1) {
            if (magnitude > position) Malformed("a copy in the BPS patch starts before the image's beginning");
            position -= magnitude;
        } else {
            if (magnitude > limit - position) Malformed("a copy in the BPS patch starts past the image's end");
            position += magnitude;
        }
    };
    while (!in.AtEnd()) {
        const std::uint64_t data = in.Number();
        const std::uint64_t action = data & 3;
        const std::uint64_t length = (data >> 2) + 1;
        if (length > size - outPos) Malformed("the BPS patch writes past the result's end");
        const std::size_t len = static_cast<std::size_t>(length);
        switch (action) {
        case kSourceRead:
            if (outPos + len > source.size()) Malformed("the BPS patch reads past the source's end");
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(outPos), len,
                        out.begin() + static_cast<std::ptrdiff_t>(outPos));
            break;
        case kTargetRead: {
            auto bytes = in.Take(len);
            std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(outPos));
            break;
        }
        case kSourceCopy:
            relative(sourceRelative, source.size());
            if (len > source.size() - sourceRelative) Malformed("the BPS patch copies past the source's end");
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(sourceRelative), len,
                        out.begin() + static_cast<std::ptrdiff_t>(outPos));
            sourceRelative += len;
            break;
        case kTargetCopy:
            relative(targetRelative, size);
            // Byte by byte: the copy may overlap what it writes, which repeats a pattern.
            for (std::size_t k = 0; k < len; ++k) {
                if (targetRelative >= outPos + k) Malformed("the BPS patch copies result bytes not yet written");
                out[outPos + k] = out[static_cast<std::size_t>(targetRelative)];
                ++targetRelative;
            }
            break;
        }
        outPos += len;
    }
    if (outPos != size) Malformed("the BPS patch does not describe the whole result");
    if (Crc32(out) != ReadLe32(patch, footer + 4))
        Fail(PatchErrorKind::WrongResult, "the patched image's checksum does not match the BPS patch");
    return out;
}

PatchFormat DetectFormat(std::span<const Byte> patch) {
    if (StartsWith(patch, kIpsMagic)) return PatchFormat::Ips;
    if (StartsWith(patch, kBpsMagic)) return PatchFormat::Bps;
    return PatchFormat::Unknown;
}

PatchFormat FormatForFileName(const std::string& fileName) {
    if (fileName.size() < 4) return PatchFormat::Unknown;
    std::string ext = fileName.substr(fileName.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".ips") return PatchFormat::Ips;
    if (ext == ".bps") return PatchFormat::Bps;
    return PatchFormat::Unknown;
}

Bytes ApplyPatch(std::span<const Byte> source, std::span<const Byte> patch) {
    switch (DetectFormat(patch)) {
    case PatchFormat::Ips: return ApplyIps(source, patch);
    case PatchFormat::Bps: return ApplyBps(source, patch);
    case PatchFormat::Unknown: break;
    }
    Malformed("not an IPS or BPS patch");
}

Bytes MakePatch(PatchFormat format, std::span<const Byte> original, std::span<const Byte> edited) {
    switch (format) {
    case PatchFormat::Ips: return MakeIps(original, edited);
    case PatchFormat::Bps: return MakeBps(original, edited);
    case PatchFormat::Unknown: break;
    }
    throw std::invalid_argument("MakePatch: unknown patch format");
}

}  // namespace patchfile
