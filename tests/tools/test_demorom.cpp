// The demo ROM image: well formed, deterministic, loadable, and every table the editor follows leads to data
// inside the image. The checks decode the image on their own, from the default addresses, the way the game's
// loaders read it, rather than from the generator's constants.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "demorom.h"
#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Default addresses of the address configuration.
constexpr std::uint32_t kStride = 0x2000;
constexpr std::uint32_t kChip16 = 0x40010, kChipProp = 0x40410, kChip32 = 0x40510, kMapSet = 0x40910;
constexpr std::uint32_t kObjScreen = 0x41110, kObjX = 0x41190, kObjY = 0x41210, kObjKind = 0x41290,
                        kObjOffset = 0x41310;
constexpr std::uint32_t kMap = 0x41510, kPalette = 0x415A0, kPaletteAnime = 0x415B0, kScrollLoad = 0x41570;
constexpr std::uint32_t kAnimLow = 0x41D3C, kAnimHigh = 0x41D7C, kAnimData = 0x41B53, kAnimPalette = 0x418D7;
constexpr std::uint32_t kMidPoint = 0x7C8BB;
constexpr std::uint32_t kInitLow = 0x51810, kInitHigh = 0x51880, kScrollLow = 0x53810, kScrollHigh = 0x53870;
constexpr int kInitMax = 0x6F, kScrollMax = 0x4F;

const DemoRomLayout& Layout() {
    static const DemoRomLayout layout = BuildDemoRomLayout();
    return layout;
}
const Bytes& Image() {
    return Layout().image;
}

// The region holding [begin, end), or nullptr.
const DemoRomRegion* RegionOf(std::uint32_t begin, std::uint32_t end) {
    for (const auto& r : Layout().regions)
        if (begin >= r.begin && end <= r.end) return &r;
    return nullptr;
}
bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

std::uint32_t Pointer(std::uint32_t low, std::uint32_t high, int index) {
    return Image()[low + index] + 256u * Image()[high + index];
}

// One entry of a graphics load record.
struct Entry {
    int bank, count, src, dst;
};
struct ParsedRecord {
    std::uint32_t begin = 0, end = 0;  // bytes read
    bool header = false;
    std::vector<Entry> entries;
};

// Parses a graphics load record the way the loader reads it; fails the test on bytes outside the image.
ParsedRecord ParseRecord(std::uint32_t record) {
    ParsedRecord p;
    p.begin = record;
    const Bytes& img = Image();
    if (record >= img.size()) {
        ADD_FAILURE() << "record outside the image: " << std::hex << record;
        return p;
    }
    p.header = img[record] != 0xFF;
    std::uint32_t at = p.header ? record + 8 : record + 1;
    for (;;) {
        if (at >= img.size()) {
            ADD_FAILURE() << "record runs off the image: " << std::hex << record;
            return p;
        }
        if (img[at] == 0xFF) break;
        if (at + 4 > img.size()) {
            ADD_FAILURE() << "entry runs off the image";
            return p;
        }
        p.entries.push_back({img[at], img[at + 1], img[at + 2], img[at + 3]});
        at += 4;
    }
    p.end = at + 1;
    return p;
}

// Checks one record: inside a record region of the given kind, every source inside tile data, every
// destination inside the 4096-byte BG bank.
void CheckRecord(std::uint32_t record, bool scroll, const std::string& what) {
    const ParsedRecord p = ParseRecord(record);
    const DemoRomRegion* region = RegionOf(p.begin, p.end);
    ASSERT_NE(region, nullptr) << what;
    EXPECT_TRUE(StartsWith(region->name, scroll ? "scroll record" : "initial record")) << what << ": " << region->name;
    for (const Entry& e : p.entries) {
        const std::uint32_t len = static_cast<std::uint32_t>(e.count) * (scroll ? 16u : 256u);
        const std::int64_t src = 16 + 0x2000LL * e.bank + 256LL * e.src - 0x8000;
        ASSERT_GE(src, 0) << what;
        ASSERT_GT(len, 0u) << what;
        const DemoRomRegion* tiles = RegionOf(static_cast<std::uint32_t>(src), static_cast<std::uint32_t>(src) + len);
        ASSERT_NE(tiles, nullptr) << what << " source " << std::hex << src;
        EXPECT_TRUE(StartsWith(tiles->name, "tiles")) << what << ": " << tiles->name;
        EXPECT_LE(256u * e.dst + len, 4096u) << what;
    }
}

// The BG bank a stage shows from its start (load point 0, scroll number 0), assembled independently.
std::array<std::uint8_t, 4096> AssembleStart(int stage) {
    std::array<std::uint8_t, 4096> bank{};
    auto load = [&](std::uint32_t record, bool scroll) {
        for (const Entry& e : ParseRecord(record).entries) {
            const std::uint32_t len = static_cast<std::uint32_t>(e.count) * (scroll ? 16u : 256u);
            const std::uint32_t src = static_cast<std::uint32_t>(16 + 0x2000 * e.bank + 256 * e.src - 0x8000);
            for (std::uint32_t i = 0; i < len && 256u * e.dst + i < bank.size(); ++i)
                bank[256u * e.dst + i] = Image()[src + i];
        }
    };
    load(Pointer(kInitLow, kInitHigh, stage) + 0x46010, false);
    const int v = Image()[kScrollLoad + kStride * stage];
    if (v != 0 && v <= kScrollMax) load(Pointer(kScrollLow, kScrollHigh, v) + 0x48010, true);
    return bank;
}

std::filesystem::path WriteTemp(const Bytes& bytes, const char* name) {
    const auto path =
        std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()) + ".nes");
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace

TEST(DemoRom, IsAWellFormedINesImageOfTheExpectedSize) {
    const Bytes& img = Image();
    ASSERT_EQ(img.size(), 0x80010u);
    EXPECT_EQ(img[0], 0x4E);
    EXPECT_EQ(img[1], 0x45);
    EXPECT_EQ(img[2], 0x53);
    EXPECT_EQ(img[3], 0x1A);
    // The header's bank counts describe exactly the file: 16 KiB PRG banks, 8 KiB CHR banks.
    EXPECT_EQ(16u + 16384u * img[4] + 8192u * img[5], img.size());
    EXPECT_EQ(img[6] & 0x04, 0) << "no trainer";
}

TEST(DemoRom, IsTheSameOnEveryBuild) {
    const Bytes again = BuildDemoRom();
    EXPECT_TRUE(again == Image());
}

TEST(DemoRom, RegionsAreDisjointInsideTheImageAndNothingIsWrittenOutsideThem) {
    auto regions = Layout().regions;
    ASSERT_FALSE(regions.empty());
    std::sort(regions.begin(), regions.end(), [](const auto& a, const auto& b) { return a.begin < b.begin; });
    for (std::size_t i = 0; i < regions.size(); ++i) {
        EXPECT_LT(regions[i].begin, regions[i].end) << regions[i].name;
        EXPECT_LE(regions[i].end, Image().size()) << regions[i].name;
        if (i > 0) {
            EXPECT_LE(regions[i - 1].end, regions[i].begin) << regions[i - 1].name << " / " << regions[i].name;
        }
    }
    std::size_t r = 0;
    for (std::uint32_t a = 0; a < Image().size(); ++a) {
        while (r < regions.size() && regions[r].end <= a) ++r;
        const bool inside = r < regions.size() && regions[r].begin <= a;
        if (!inside) {
            ASSERT_EQ(Image()[a], 0) << "stray byte at " << std::hex << a;
        }
    }
    // Every per-stage table of every stage was written at its default address.
    for (int s = 0; s < 16; ++s)
        for (std::uint32_t a :
             {kChip16, kChipProp, kChip32, kMapSet, kObjScreen, kObjOffset, kMap, kPalette, kScrollLoad}) {
            const DemoRomRegion* region = RegionOf(a + kStride * s, a + kStride * s + 1);
            ASSERT_NE(region, nullptr) << s << " " << std::hex << a;
            EXPECT_TRUE(StartsWith(region->name, "stage ")) << region->name;
        }
}

TEST(DemoRom, LoadsThroughTheDocumentWithEveryStageReadable) {
    const auto path = WriteTemp(Image(), "quorven-demo");
    TMyMemIniFile ini(path.string() + ".no-such-folder/quorveneditor.ini");
    EditFlagManagement flags(nullptr);
    RomImageData rom(flags, ini);
    ASSERT_EQ(rom.LoadFromFile(path), LoadResult::Loaded);
    std::filesystem::remove(path);
    EXPECT_EQ(rom.ImageSize(), 0x80010);
    for (int s = 0; s < 16; ++s) {
        const StageData& st = rom.StageAt(s);
        // Objects: every entry of the image (up to the end marker) reaches the screen lists.
        int inImage = 0;
        while (inImage < 128 && Image()[kObjScreen + kStride * s + inImage] != 0xFF) ++inImage;
        EXPECT_EQ(st.ObjectTotal(), inImage) << "stage " << s;
        EXPECT_GE(st.ObjectTotal(), 20) << "stage " << s;
        EXPECT_LE(st.ObjectTotal(), 127) << "stage " << s;
        EXPECT_TRUE(std::equal(st.Map(), st.Map() + 48, Image().begin() + kMap + kStride * s));
        for (int p = 0; p < 7; ++p)
            EXPECT_TRUE(
                std::equal(st.BGPalette(p), st.BGPalette(p) + 16, Image().begin() + kPalette + kStride * s + 20 * p));
    }
}

TEST(DemoRom, ObjectListsAreSortedEndedAndConsistentWithTheirOffsets) {
    for (int s = 0; s < 16; ++s) {
        const std::uint32_t b = kStride * s;
        int n = 0;
        while (n < 128 && Image()[kObjScreen + b + n] != 0xFF) ++n;
        ASSERT_LT(n, 128) << "stage " << s << " has no end marker";
        std::set<int> screens;
        for (int i = 0; i < n; ++i) {
            const int screen = Image()[kObjScreen + b + i];
            ASSERT_LT(screen, 48) << "stage " << s;
            screens.insert(screen);
            if (i > 0) {
                const int prev = Image()[kObjScreen + b + i - 1];
                ASSERT_LE(prev, screen) << "stage " << s << " entry " << i;
                if (prev == screen) {
                    EXPECT_LE(Image()[kObjX + b + i - 1], Image()[kObjX + b + i]) << "stage " << s;
                }
            }
            EXPECT_LT(Image()[kObjY + b + i], 240) << "stage " << s;
        }
        EXPECT_GE(screens.size(), 16u) << "objects on many screens, stage " << s;
        // Offsets: byte j = number of objects on screens before j.
        for (int j = 0; j < 48; ++j) {
            int before = 0;
            while (before < n && Image()[kObjScreen + b + before] < j) ++before;
            EXPECT_EQ(Image()[kObjOffset + b + j], before) << "stage " << s << " screen " << j;
        }
        std::set<int> kinds(Image().begin() + kObjKind + b, Image().begin() + kObjKind + b + n);
        EXPECT_GE(kinds.size(), 4u) << "stage " << s;
    }
}

TEST(DemoRom, EveryGraphicsRecordTheStagesUseLeadsToTileDataInsideTheImage) {
    std::set<bool> initialForms, scrollForms;
    for (int s = 0; s < 16; ++s) {
        std::vector<int> initialSets = {s};
        for (int k : {2, 6}) {
            const int v = Image()[kMidPoint + 8 * s + k];
            EXPECT_LE(v, kInitMax) << "stage " << s;
            if (v != 0) initialSets.push_back(v);
        }
        for (int n : initialSets) {
            const std::uint32_t rec = Pointer(kInitLow, kInitHigh, n) + 0x46010;
            initialForms.insert(Image()[rec] != 0xFF);
            CheckRecord(rec, false, "stage " + std::to_string(s) + " initial set " + std::to_string(n));
            EXPECT_FALSE(ParseRecord(rec).entries.empty());
        }
        for (int j = 0; j < 16; ++j) {
            const int v = Image()[kScrollLoad + kStride * s + j];
            EXPECT_LE(v, kScrollMax) << "stage " << s;
            if (v == 0) continue;
            const std::uint32_t rec = Pointer(kScrollLow, kScrollHigh, v) + 0x48010;
            scrollForms.insert(Image()[rec] != 0xFF);
            CheckRecord(rec, true, "stage " + std::to_string(s) + " scroll set " + std::to_string(v));
        }
    }
    // Both record forms occur: entries right after a leading 0xFF, and after 8 skipped bytes.
    EXPECT_EQ(initialForms.size(), 2u);
    EXPECT_EQ(scrollForms.size(), 2u);
    // Every pointer of both tables, used or not, leads to a well-formed record inside the image.
    for (int n = 0; n <= kInitMax; ++n)
        CheckRecord(Pointer(kInitLow, kInitHigh, n) + 0x46010, false, "initial " + std::to_string(n));
    for (int n = 0; n <= kScrollMax; ++n)
        CheckRecord(Pointer(kScrollLow, kScrollHigh, n) + 0x48010, true, "scroll " + std::to_string(n));
}

TEST(DemoRom, PaletteAnimationsAreRealAndInsideTheImage) {
    std::set<int> delays;
    int animatedSlots = 0;
    for (int s = 0; s < 16; ++s) {
        bool stageAnimated = false;
        for (int p = 0; p < 7; ++p)
            for (int j = 0; j < 4; ++j) {
                const int v = Image()[kPaletteAnime + kStride * s + 20 * p + j];
                if (v < 0x80) continue;
                ++animatedSlots;
                if (p == 0) stageAnimated = true;
                const int k = v & 0x7F;
                ASSERT_LT(k, 0x40) << "the pointer tables hold 64 entries";
                const std::uint32_t rec = Pointer(kAnimLow, kAnimHigh, k) - 0xBB43 + kAnimData;
                const int last = Image()[rec], delay = Image()[rec + 1];
                const DemoRomRegion* region = RegionOf(rec, rec + 2 + last + 1);
                ASSERT_NE(region, nullptr) << "stage " << s;
                EXPECT_EQ(region->name, "palette animation records");
                delays.insert(delay);
                std::set<std::array<int, 3>> distinct;
                for (int step = 0; step <= last; ++step) {
                    const int m = Image()[rec + 2 + step];
                    const std::uint32_t t = kAnimPalette + 3 * m;
                    const DemoRomRegion* tr = RegionOf(t, t + 3);
                    ASSERT_NE(tr, nullptr);
                    EXPECT_EQ(tr->name, "palette animation triples");
                    for (int c = 0; c < 3; ++c) EXPECT_LT(Image()[t + c], 0x40);
                    distinct.insert({Image()[t], Image()[t + 1], Image()[t + 2]});
                }
                EXPECT_GE(distinct.size(), 2u) << "an animation that never changes a colour, stage " << s;
            }
        EXPECT_TRUE(stageAnimated) << "stage " << s << " palette set 0";
    }
    EXPECT_GE(animatedSlots, 16 * 3);
    EXPECT_GE(delays.size(), 4u) << "water, conveyor, lights and lava run at different speeds";
    EXPECT_TRUE(delays.count(1)) << "one animation changes on every tick";
}

TEST(DemoRom, PalettesAreValidAndEachStageLooksDifferent) {
    std::set<std::vector<int>> looks;
    for (int s = 0; s < 16; ++s) {
        std::vector<int> set0;
        for (int p = 0; p < 7; ++p)
            for (int e = 0; e < 16; ++e) {
                const int c = Image()[kPalette + kStride * s + 20 * p + e];
                EXPECT_LT(c, 0x40);
                if (p == 0) set0.push_back(c);
            }
        std::set<int> colours(set0.begin(), set0.end());
        EXPECT_GE(colours.size(), 8u) << "stage " << s;
        looks.insert(set0);
    }
    EXPECT_EQ(looks.size(), 16u);
}

TEST(DemoRom, MapSetsUseManyChipsOfEverySortAndTheTilesTheyShowAreLoaded) {
    std::set<int> kindsAll;
    for (int s = 0; s < 16; ++s) {
        const std::uint32_t b = kStride * s;
        const auto bank = AssembleStart(s);
        std::set<int> chip32, chip16, tiles, setsShown;
        for (int i = 0; i < 2048; ++i) chip32.insert(Image()[kMapSet + b + i]);
        for (int m : chip32)
            for (int q = 0; q < 4; ++q) chip16.insert(Image()[kChip32 + b + 4 * m + q]);
        for (int c : chip16) {
            kindsAll.insert(Image()[kChipProp + b + c] >> 4);
            for (int q = 0; q < 4; ++q) tiles.insert(Image()[kChip16 + b + 256 * q + c]);
        }
        EXPECT_GE(chip32.size(), 30u) << "stage " << s;
        EXPECT_GE(chip16.size(), 40u) << "stage " << s;
        int drawn = 0;
        for (int t : tiles)
            if (std::any_of(bank.begin() + 16 * t, bank.begin() + 16 * t + 16, [](std::uint8_t v) { return v != 0; }))
                ++drawn;
        EXPECT_GE(drawn * 10, static_cast<int>(tiles.size()) * 8) << "tiles shown but not loaded, stage " << s;
        // Every map set differs from the others, and the map shows most of them.
        std::set<std::vector<std::uint8_t>> distinctSets;
        for (int k = 0; k < 32; ++k)
            distinctSets.insert(std::vector<std::uint8_t>(Image().begin() + kMapSet + b + 64 * k,
                                                          Image().begin() + kMapSet + b + 64 * k + 64));
        EXPECT_EQ(distinctSets.size(), 32u) << "stage " << s;
        for (int i = 0; i < 48; ++i) {
            EXPECT_LT(Image()[kMap + b + i], 32) << "stage " << s;
            setsShown.insert(Image()[kMap + b + i]);
        }
        EXPECT_GE(setsShown.size(), 28u) << "stage " << s;
    }
    // background, block, ladder middle and top, special block, conveyors, foreground, water, damage, spikes
    for (int kind : {0x0, 0x1, 0x2, 0x3, 0x4, 0x5, 0x6, 0x7, 0x8, 0xD, 0xF}) EXPECT_TRUE(kindsAll.count(kind)) << kind;
}
