// The graphics loading tables of the demo image: the load records with their pointer tables, the mid-point
// table, and per stage the scroll data and the scroll graphics load table.

#include <array>
#include <stdexcept>
#include <vector>

#include "demorom_parts.h"

namespace demo {
namespace {

struct LoadEntry {
    int bank, count, srcPage, dstPage;
};

std::vector<u8> Record(const std::vector<LoadEntry>& entries, bool header, int headerSeed) {
    std::vector<u8> out;
    if (header) {
        // 8 bytes the loader skips (the first must not be 0xFF): sprite colours used at this point.
        const u8 h[8] = {static_cast<u8>(headerSeed & 0x3F), 0x0F, 0x30, 0x16, 0x0F, 0x27, 0x17, 0x07};
        out.assign(h, h + 8);
    } else {
        out.push_back(0xFF);
    }
    for (const auto& e : entries) {
        out.push_back(static_cast<u8>(e.bank));
        out.push_back(static_cast<u8>(e.count));
        out.push_back(static_cast<u8>(e.srcPage));
        out.push_back(static_cast<u8>(e.dstPage));
    }
    out.push_back(0xFF);
    return out;
}

}  // namespace

void WriteGraphicsLoads(ImageBuilder& img) {
    Arena initArena(kInitRecordsBegin, kInitRecordsEnd), scrollArena(kScrollRecordsBegin, kScrollRecordsEnd);
    std::array<u32, kInitSetCount> initRecord{};
    std::array<u32, kScrollSetCount> scrollRecord{};
    const std::vector<u8> empty = {0xFF, 0xFF};
    const u32 initEmpty = initArena.Alloc(2);
    img.Put("initial record empty", initEmpty, empty);
    initRecord.fill(initEmpty);
    for (int s = 0; s < kStages; ++s) {
        const auto rec = Record({{kCommonBank, 4, 0x80, 0x00}, {s, 8, 0x84, 0x04}, {s, 4, 0x8C, 0x0C}}, s % 2 == 1, s);
        initRecord[s] = initArena.Alloc(static_cast<u32>(rec.size()));
        img.Put(Name("initial record %02X", s), initRecord[s], rec);
        const int mid1 = 0x10 + 2 * s, mid2 = 0x11 + 2 * s;
        const auto r1 = Record({{s, 4, 0x90, 0x0C}}, s % 3 == 0, mid1);
        initRecord[mid1] = initArena.Alloc(static_cast<u32>(r1.size()));
        img.Put(Name("initial record %02X", mid1), initRecord[mid1], r1);
        const auto r2 = Record({{s, 4, 0x94, 0x04}, {s, 4, 0x90, 0x0C}}, s % 3 == 1, mid2);
        initRecord[mid2] = initArena.Alloc(static_cast<u32>(r2.size()));
        img.Put(Name("initial record %02X", mid2), initRecord[mid2], r2);
    }
    const u32 scrollEmpty = scrollArena.Alloc(2);
    img.Put("scroll record empty", scrollEmpty, empty);
    scrollRecord.fill(scrollEmpty);
    for (int s = 0; s < kStages; ++s)
        for (int v = 0; v < 3; ++v) {
            const int n = 1 + 3 * s + v;
            const auto rec = Record({{s, v == 2 ? 8 : 16, 0x98 + v, 0x0F}}, (n % 2) == 0, n);
            scrollRecord[n] = scrollArena.Alloc(static_cast<u32>(rec.size()));
            img.Put(Name("scroll record %02X", n), scrollRecord[n], rec);
        }
    {
        u8* lo = img.Claim("initial graphics pointers low", kInitPointerLow, kInitSetCount);
        u8* hi = img.Claim("initial graphics pointers high", kInitPointerHigh, kInitSetCount);
        for (int n = 0; n < kInitSetCount; ++n) {
            const u32 ptr = initRecord[n] - kInitRecordBase;
            if (ptr > 0xFFFF) throw std::logic_error("demo image: initial record out of pointer reach");
            lo[n] = static_cast<u8>(ptr & 0xFF);
            hi[n] = static_cast<u8>(ptr >> 8);
        }
        lo = img.Claim("scroll graphics pointers low", kScrollPointerLow, kScrollSetCount);
        hi = img.Claim("scroll graphics pointers high", kScrollPointerHigh, kScrollSetCount);
        for (int n = 0; n < kScrollSetCount; ++n) {
            const u32 ptr = scrollRecord[n] - kScrollRecordBase;
            if (ptr > 0xFFFF) throw std::logic_error("demo image: scroll record out of pointer reach");
            lo[n] = static_cast<u8>(ptr & 0xFF);
            hi[n] = static_cast<u8>(ptr >> 8);
        }
    }
}

void WriteMidPoints(ImageBuilder& img) {
    {
        u8* mp = img.Claim("mid-point table", kMidPointAddr, 8 * kStages);
        for (int s = 0; s < kStages; ++s) {
            u8* e = mp + 8 * s;
            e[0] = 0x10;                                            // screen of mid-point 1
            e[1] = 0x40;                                            // its X position
            e[2] = static_cast<u8>(s % 4 == 3 ? 0 : 0x10 + 2 * s);  // graphics set loaded there
            e[3] = static_cast<u8>(s % 7);                          // palette set there
            e[4] = 0x20;                                            // screen of mid-point 2
            e[5] = 0x30;
            e[6] = static_cast<u8>(0x11 + 2 * s);
            e[7] = static_cast<u8>((s + 1) % 7);
        }
    }
}

void WriteStageScrollTables(ImageBuilder& img, int s) {
    const u32 base = kStageStride * static_cast<u32>(s);
    // Scroll data: per screen, the direction the camera may move on (not read by the editor).
    std::vector<u8> scrollData(48);
    for (int i = 0; i < 48; ++i) scrollData[i] = static_cast<u8>(i % 8 == 7 ? 0x02 : 0x01);
    img.Put(StageName(s, "scroll data"), kScrollDataAddr + base, scrollData);
    const int a = 1 + 3 * s, b = a + 1, c = a + 2;
    const std::vector<u8> scrollLoad = {static_cast<u8>(s % 2 ? a : 0),
                                        static_cast<u8>(a),
                                        static_cast<u8>(b),
                                        static_cast<u8>(c),
                                        0,
                                        static_cast<u8>(b),
                                        0,
                                        static_cast<u8>(a),
                                        0,
                                        0,
                                        0,
                                        0,
                                        0,
                                        0,
                                        0,
                                        0};
    img.Put(StageName(s, "scroll graphics load"), kScrollLoadAddr + base, scrollLoad);
}

}  // namespace demo
