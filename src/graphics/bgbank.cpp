// BG bank assembly and palette animation: both follow the game's own loading tables in the image.
//
// BG bank assembly reads the image buffer as it stands, the way the stage tables are read: no address is
// compared with the size of the file; bytes past the file's end are what the buffer holds there (zero
// after a load), and bytes outside the buffer read as zero. So:
//  - every graphics set within its maximum has a record address, computed from the pointer bytes as they
//    stand; "?????" is shown only for a set number above its maximum;
//  - a load list runs until an entry whose first byte is 0xFF, or until the end of the buffer, whichever
//    comes first (an entry that does not lie whole inside the buffer ends the list);
//  - an entry's copy is clipped: only bytes whose source lies inside the buffer and whose destination
//    lies inside the 4096-byte bank are copied; the other bank bytes keep what they held.
// A list of garbage can be half a million entries long. Later entries overwrite earlier ones, so the
// entries are applied from the last to the first, each only to the tiles that no later entry wrote; once
// every tile is written the rest of the list cannot change anything. That gives the same bank as applying
// them in order, at a cost bounded by the list's length rather than by its length times 4096. The all-zero
// rest of the buffer (past the file's end) holds only empty entries and is not walked at all.
//
// Palette animation reads through RomReader, which refuses addresses outside the loaded image:
//  - a palette whose pointer bytes or record header (last, delay) lie outside the image is treated as not
//    animated for that tick (its counter does not move); a step byte or a colour triple outside the image
//    changes no colour (the counter and step still move on).

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "document/fileio.h"
#include "graphics/graphics.h"
#include "graphics/hextext.h"
#include "graphics/romread.h"

namespace {

constexpr std::int64_t kInitialRecordBase = 0x46010;
constexpr std::int64_t kScrollRecordBase = 0x48010;
constexpr std::int64_t kAnimationPointerBase = 0xBB43;
constexpr int kTileBytes = 16;
constexpr int kTiles = BgBank::kSize / kTileBytes;

// Copy runs start 16 bytes past a 256-byte boundary of the image and at a 256-byte boundary of the bank,
// and are multiples of 16 long; with a buffer of whole tiles every clipped run is made of whole tiles.
static_assert(kImageCapacity % kTileBytes == 0);

QString Hex5(std::int64_t v) {
    return QString::asprintf("%05llX", static_cast<unsigned long long>(v));
}

// The whole image buffer; bytes outside it read as zero.
class BufferReader {
public:
    explicit BufferReader(const RomImageData& rom) : bytes_(rom.ImageBytes()), zeroFrom_(rom.ZeroFrom()) {}
    static constexpr std::int64_t Size() { return kImageCapacity; }
    std::int64_t ZeroFrom() const { return zeroFrom_; }
    bool Contains(std::int64_t address, std::int64_t len) const {
        return bytes_ && address >= 0 && len >= 0 && address <= Size() - len;
    }
    Byte At(std::int64_t address) const { return Contains(address, 1) ? bytes_[address] : Byte{0}; }
    const Byte* Ptr(std::int64_t address) const { return bytes_ + address; }  // only after Contains()
    std::int64_t SplitPointer(std::int64_t low, std::int64_t high, std::int64_t index) const {
        return std::int64_t(At(low + index)) + 256 * std::int64_t(At(high + index));
    }

private:
    const Byte* bytes_;
    std::int64_t zeroFrom_;
};

// Which of the 256 bank tiles the entries applied so far have written.
class TileSet {
public:
    bool All() const { return count_ == kTiles; }
    bool Has(int tile) const { return (words_[std::size_t(tile >> 6)] >> (tile & 63)) & 1u; }
    void Add(int tile) {
        words_[std::size_t(tile >> 6)] |= std::uint64_t{1} << (tile & 63);
        ++count_;
    }
    // True when every tile of [first, last) is in the set.
    bool HasRange(int first, int last) const {
        for (int t = first; t < last;) {
            const int word = t >> 6, bit = t & 63;
            const int n = std::min(64 - bit, last - t);
            const std::uint64_t mask = (n == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1)) << bit;
            if ((words_[std::size_t(word)] & mask) != mask) return false;
            t += n;
        }
        return true;
    }

private:
    std::array<std::uint64_t, kTiles / 64> words_{};
    int count_ = 0;
};

bool ZeroBlock(const Byte* p) {
    std::uint64_t words[8];
    std::memcpy(words, p, sizeof words);
    std::uint64_t any = 0;
    for (std::uint64_t w : words) any |= w;
    return any == 0;
}

// Follows one load record into the bank. bytesPerCount is 256 for initial sets (16 tiles per count) and
// 16 for scroll sets (one tile per count).
void LoadRecord(const BufferReader& rom, std::int64_t record, int bytesPerCount,
                std::array<Byte, BgBank::kSize>& bank) {
    if (!rom.Contains(record, 1)) return;
    std::int64_t entry = (rom.At(record) == 0xFF) ? record + 1 : record + 8;
    // The entries that copy anything, in list order. An entry of count 0 copies nothing, and from
    // ZeroFrom() on the buffer holds nothing else: no end marker follows there, only such entries.
    thread_local std::vector<std::int64_t> effective;
    effective.clear();
    const std::int64_t zeroFrom = rom.ZeroFrom();
    while (entry < zeroFrom && rom.Contains(entry, 4)) {
        if (entry + 64 <= zeroFrom && rom.Contains(entry, 64) && ZeroBlock(rom.Ptr(entry))) {
            entry += 64;  // sixteen empty entries
            continue;
        }
        const Byte* e = rom.Ptr(entry);
        if (e[0] == 0xFF) break;
        if (e[1] != 0) effective.push_back(entry);
        entry += 4;
    }

    TileSet written;
    for (auto it = effective.rbegin(); it != effective.rend() && !written.All(); ++it) {
        const Byte* e = rom.Ptr(*it);
        const std::int64_t length = std::int64_t(e[1]) * bytesPerCount;
        const std::int64_t src = 16 + 0x2000 * std::int64_t(e[0]) + 256 * std::int64_t(e[2]) - 0x8000;
        const std::int64_t dst = 256 * std::int64_t(e[3]);
        // Clip the run [0, length) to the part where both ends are inside their buffers.
        const std::int64_t begin = std::max({std::int64_t{0}, -src, -dst});
        const std::int64_t stop = std::min({length, rom.Size() - src, std::int64_t(BgBank::kSize) - dst});
        if (begin >= stop) continue;
        const int firstTile = int((dst + begin) / kTileBytes), lastTile = int((dst + stop) / kTileBytes);
        if (written.HasRange(firstTile, lastTile)) continue;
        for (int t = firstTile; t < lastTile; ++t) {
            if (written.Has(t)) continue;
            const std::int64_t offset = std::int64_t(t) * kTileBytes - dst;
            std::memcpy(bank.data() + std::int64_t(t) * kTileBytes, rom.Ptr(src + offset), kTileBytes);
            written.Add(t);
        }
    }
}

}  // namespace

BgBank::BgBank(const RomImageData& rom) : rom_(rom) {}

void BgBank::Assemble(int stage, int loadPoint, int scroll) {
    bank_.fill(0);
    report_ = Report{};
    if (stage < 0 || stage >= kStageCount) return;
    const BufferReader rom(rom_);
    const AddressData& a = rom_.Addresses();

    auto loadSet = [&](std::int64_t low, std::int64_t high, std::int64_t base, int bytesPerCount, int n,
                       QString& setText, QString& addressText) {
        const std::int64_t record = rom.SplitPointer(low, high, n) + base;
        setText = Hex2(n);
        addressText = Hex5(record);
        LoadRecord(rom, record, bytesPerCount, bank_);
    };
    auto loadInitial = [&](int n) {
        loadSet(a.InitialGraphicsPointerLow(), a.InitialGraphicsPointerHigh(), kInitialRecordBase, 256, n,
                report_.initialSet, report_.initialAddress);
    };

    loadInitial(stage);
    if (loadPoint == 1 || loadPoint == 2) {
        const int v = rom.At(std::int64_t(a.MidPointData()) + 8 * stage + 4 * (loadPoint - 1) + 2);
        if (v != 0) {
            if (v > a.InitialGraphicsPointerMax()) {
                report_.initialSet = Hex2(v);
                report_.initialAddress = QStringLiteral("?????");
            } else {
                loadInitial(v);
            }
        }
    }

    const int v = (scroll < 0 || scroll > 15)
                      ? 0
                      : rom.At(std::int64_t(a.TableAddress(StageTable::ScrollGraphicsLoad, stage)) + scroll);
    if (v == 0) {
        report_.scrollSet = QStringLiteral("00");
        report_.scrollAddress = QStringLiteral("-----");
    } else if (v > a.ScrollGraphicsPointerMax()) {
        report_.scrollSet = Hex2(v);
        report_.scrollAddress = QStringLiteral("?????");
    } else {
        loadSet(a.ScrollGraphicsPointerLow(), a.ScrollGraphicsPointerHigh(), kScrollRecordBase, 16, v,
                report_.scrollSet, report_.scrollAddress);
    }
}

// ---------------------------------------------------------------------------------------------- animation

void EditorGraphics::ResetPaletteAnimation() {
    animCounter_.fill(0);
    animStep_.fill(0);
}

bool EditorGraphics::StepPaletteAnimation(const Byte* animationNumbers4) {
    if (!animationNumbers4) return false;
    const RomReader rom(rom_);
    const AddressData& a = rom_.Addresses();
    bool changed = false;
    for (int i = 0; i < 4; ++i) {
        const int v = animationNumbers4[i];
        if (v < 0x80) continue;
        const int k = v & 0x7F;
        auto pointer = rom.SplitPointer(a.PaletteAnimationPointerLow(), a.PaletteAnimationPointerHigh(), k);
        if (!pointer) continue;
        const std::int64_t record = *pointer - kAnimationPointerBase + a.PaletteAnimationData();
        if (!rom.Contains(record, 2)) continue;
        const int last = *rom.At(record);
        const int delay = *rom.At(record + 1);
        int& counter = animCounter_[std::size_t(i)];
        int& step = animStep_[std::size_t(i)];
        counter += 1;
        if (counter < delay) continue;
        counter = 0;
        if (auto m = rom.At(record + 2 + step)) {
            const std::int64_t triple = std::int64_t(a.PaletteAnimationPalette()) + 3 * std::int64_t(*m);
            if (rom.Contains(triple, 3)) {
                // Entry 4i is the palette's shared background colour and is never animated.
                for (int j = 0; j < 3; ++j) SetStagePaletteEntry(4 * i + 1 + j, *rom.At(triple + j));
                changed = true;
            }
        }
        step += 1;
        if (step > last) step = 0;
    }
    return changed;
}
