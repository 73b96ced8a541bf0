// BG bank assembly and palette animation: both follow the game's own loading tables in the image.
//
// Hostile images: every byte is read through RomReader, which refuses addresses outside the loaded
// image. What happens then:
//  - mid-point and scroll-load bytes that lie outside the image read as 0 (nothing loaded);
//  - a graphics set whose pointer bytes lie outside the image is not loaded, and the report shows its
//    number with "?????" (no record address is known);
//  - a load record that starts outside the image is an empty list; the list also ends at an entry that
//    does not lie whole inside the image, and after kMaxLoadEntries entries (the game's lists are a few
//    entries long; the limit only bounds the work an unterminated list of garbage can cause);
//  - an entry's copy is clipped: only bytes whose source lies inside the image and whose destination
//    lies inside the 4096-byte bank are copied; the other bank bytes keep what they held;
//  - palette animation: a palette whose pointer bytes or record header (last, delay) lie outside the
//    image is treated as not animated for that tick (its counter does not move); a step byte or a colour
//    triple outside the image changes no colour (the counter and step still move on).

#include <cstring>

#include "fileio.h"
#include "graphics.h"
#include "hextext.h"
#include "romread.h"

namespace {

constexpr std::int64_t kInitialRecordBase = 0x46010;
constexpr std::int64_t kScrollRecordBase = 0x48010;
constexpr std::int64_t kAnimationPointerBase = 0xBB43;
constexpr int kMaxLoadEntries = 256;

QString Hex5(std::int64_t v)
{
    return QString::asprintf("%05llX", static_cast<unsigned long long>(v));
}

// Follows one load record into the bank. bytesPerCount is 256 for initial sets (16 tiles per count) and
// 16 for scroll sets (one tile per count).
void LoadRecord(const RomReader& rom, std::int64_t record, int bytesPerCount, std::array<Byte, BgBank::kSize>& bank)
{
    auto first = rom.At(record);
    if (!first) return;
    std::int64_t entry = (*first == 0xFF) ? record + 1 : record + 8;
    for (int count = 0; count < kMaxLoadEntries; ++count, entry += 4) {
        if (!rom.Contains(entry, 4)) return;
        const Byte* e = rom.Ptr(entry);
        if (e[0] == 0xFF) return;
        const std::int64_t length = std::int64_t(e[1]) * bytesPerCount;
        std::int64_t src = 16 + 0x2000 * std::int64_t(e[0]) + 256 * std::int64_t(e[2]) - 0x8000;
        std::int64_t dst = 256 * std::int64_t(e[3]);
        // Clip the run [0, length) to the part where both ends are inside their buffers.
        std::int64_t begin = 0, end = length;
        begin = std::max({begin, -src, -dst});
        end = std::min({end, rom.Size() - src, std::int64_t(BgBank::kSize) - dst});
        if (begin < end) std::memcpy(bank.data() + dst + begin, rom.Ptr(src + begin), std::size_t(end - begin));
    }
}

}  // namespace

BgBank::BgBank(const RomImageData& rom) : rom_(rom) {}

void BgBank::Assemble(int stage, int loadPoint, int scroll)
{
    bank_.fill(0);
    report_ = Report{};
    if (stage < 0 || stage >= kStageCount) return;
    const RomReader rom(rom_);
    const AddressData& a = rom_.Addresses();

    auto loadSet = [&](std::int64_t low, std::int64_t high, std::int64_t base, int bytesPerCount, int n,
                       QString& setText, QString& addressText) {
        setText = Hex2(n);
        auto pointer = rom.SplitPointer(low, high, n);
        if (!pointer) {
            addressText = QStringLiteral("?????");
            return;
        }
        const std::int64_t record = *pointer + base;
        addressText = Hex5(record);
        LoadRecord(rom, record, bytesPerCount, bank_);
    };
    auto loadInitial = [&](int n) {
        loadSet(a.InitialGraphicsPointerLow(), a.InitialGraphicsPointerHigh(), kInitialRecordBase, 256, n,
                report_.initialSet, report_.initialAddress);
    };

    loadInitial(stage);
    if (loadPoint == 1 || loadPoint == 2) {
        const int v = rom.At(std::int64_t(a.MidPointData()) + 8 * stage + 4 * (loadPoint - 1) + 2).value_or(0);
        if (v != 0) {
            if (v > a.InitialGraphicsPointerMax()) {
                report_.initialSet = Hex2(v);
                report_.initialAddress = QStringLiteral("?????");
            } else {
                loadInitial(v);
            }
        }
    }

    const int v = rom.At(std::int64_t(a.TableAddress(StageTable::ScrollGraphicsLoad, stage)) + scroll).value_or(0);
    if (scroll < 0 || scroll > 15 || v == 0) {
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

void EditorGraphics::ResetPaletteAnimation()
{
    animCounter_.fill(0);
    animStep_.fill(0);
}

bool EditorGraphics::StepPaletteAnimation(const Byte* animationNumbers4)
{
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
