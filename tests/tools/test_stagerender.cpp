// The stage renderer over the demo image and over hostile images: sizes, colours, the map's screens, and no
// crash or out-of-bounds access on malformed data (run it under the sanitizer build).
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>

#include "demorom.h"
#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "graphics/graphics.h"
#include "loadeddocument.h"
#include "stagerender.h"

namespace {

constexpr int kTop = 4 + 512 + 4;
constexpr int kCellStep = 260;

using testdoc::Doc;
using testdoc::Palette;

Doc& Demo() {
    static Doc* doc = [] {
        auto* d = new Doc;
        EXPECT_EQ(d->Load(BuildDemoRom()), LoadResult::Loaded);
        return d;
    }();
    return *doc;
}

QRect Cell(int i) {
    return QRect(4 + (i % 8) * kCellStep, kTop + (i / 8) * kCellStep, 256, 256);
}

bool SameBlock(const QImage& a, const QRect& ra, const QImage& b, const QRect& rb) {
    for (int y = 0; y < ra.height(); ++y)
        for (int x = 0; x < ra.width(); ++x)
            if (a.pixel(ra.x() + x, ra.y() + y) != b.pixel(rb.x() + x, rb.y() + y)) return false;
    return true;
}

}  // namespace

TEST(StageRender, MapSetsAreDrawnInTheStagesOwnColours) {
    ASSERT_TRUE(Palette().Ok());
    for (int stage : {0, 7, 13}) {
        const QImage img = RenderStage(Demo().rom, Palette(), stage);
        ASSERT_EQ(img.size(), QSize(4 + 8 * kCellStep, kTop + 4 * kCellStep));
        std::set<QRgb> allowed;
        const Byte* set0 = Demo().rom.StageAt(stage).BGPalette(0);
        for (int e = 0; e < 16; ++e) allowed.insert(0xFF000000u | PackedToQRgb(Palette().GetColor(set0[e])));
        for (int i = 0; i < 32; ++i) {
            const QRect r = Cell(i);
            std::set<QRgb> seen;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) seen.insert(0xFF000000u | img.pixel(x, y));
            for (QRgb c : seen)
                ASSERT_TRUE(allowed.count(c)) << "stage " << stage << " map set " << i << " colour " << std::hex << c;
            EXPECT_GE(seen.size(), 5u) << "stage " << stage << " map set " << i;
        }
    }
    EXPECT_TRUE(RenderStage(Demo().rom, Palette(), 16).isNull());
    EXPECT_TRUE(RenderStage(Demo().rom, Palette(), -1).isNull());
}

TEST(StageRender, ScreensShowTheMapSetsTheMapNames) {
    const int stage = 5;
    const QImage sets = RenderStage(Demo().rom, Palette(), stage);
    StageRenderOptions o;
    o.screens = true;
    const QImage screens = RenderStage(Demo().rom, Palette(), stage, o);
    ASSERT_EQ(screens.size(), QSize(4 + 8 * kCellStep, kTop + 6 * kCellStep));
    const Byte* map = Demo().rom.StageAt(stage).Map();
    for (int i = 0; i < 48; ++i) EXPECT_TRUE(SameBlock(screens, Cell(i), sets, Cell(map[i]))) << "screen " << i;
}

TEST(StageRender, StagesDifferAndPaletteSetsRecolour) {
    std::map<int, QImage> byStage;
    for (int s : {0, 1, 2}) byStage[s] = RenderStage(Demo().rom, Palette(), s);
    EXPECT_FALSE(SameBlock(byStage[0], Cell(0), byStage[1], Cell(0)));
    EXPECT_FALSE(SameBlock(byStage[1], Cell(0), byStage[2], Cell(0)));
    StageRenderOptions o;
    o.paletteSet = 6;
    const QImage grey = RenderStage(Demo().rom, Palette(), 0, o);
    EXPECT_FALSE(SameBlock(grey, Cell(3), byStage[0], Cell(3)));
}

// Malformed images: every stage, every load point, a few scroll numbers, without a crash.
TEST(StageRender, MalformedImagesRenderWithoutCrashing) {
    std::vector<std::vector<std::uint8_t>> images;
    std::vector<std::uint8_t> random(0x80010);
    std::uint32_t x = 12345;
    for (auto& b : random) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b = static_cast<std::uint8_t>(x);
    }
    images.push_back(random);
    images.push_back(std::vector<std::uint8_t>(0x80010, 0xFF));
    images.push_back(std::vector<std::uint8_t>(0x80010, 0x00));
    images.push_back(std::vector<std::uint8_t>(16, 0x00));
    std::vector<std::uint8_t> tail(0x41000, 0xFF);  // tables beyond the file's end
    images.push_back(tail);
    for (auto& img : images) {
        for (int i = 0; i < 4; ++i) img[i] = "NES\x1A"[i];
        Doc doc;
        ASSERT_EQ(doc.Load(img), LoadResult::Loaded);
        for (int s = 0; s < 16; ++s) {
            StageRenderOptions o;
            o.loadPoint = s % 3;
            o.scroll = 15 - s;
            o.screens = (s % 2) == 1;
            EXPECT_FALSE(RenderStage(doc.rom, Palette(), s, o).isNull());
        }
    }
}

TEST(StageRender, ThirdPartyImagesRenderWithoutCrashing) {
    const std::filesystem::path dir = QUORVEN_REALDATA_DIR;
    if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no third-party images at " << dir;
    int rendered = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".nes") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Doc doc;
        if (doc.Load(bytes) != LoadResult::Loaded) continue;
        for (int s = 0; s < 16; ++s) {
            StageRenderOptions o;
            o.loadPoint = s % 3;
            o.scroll = s;
            EXPECT_FALSE(RenderStage(doc.rom, Palette(), s, o).isNull()) << entry.path();
        }
        ++rendered;
    }
    if (rendered == 0) GTEST_SKIP() << "no loadable third-party image in " << dir;
}
