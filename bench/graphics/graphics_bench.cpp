// Drawing costs, each beside a plain memcpy of the same number of pixels.
//   - a full stage draw (16x16 chip sheet + 32x32 chip sheet): budget 1 ms (1/16 of a 16 ms tick);
//   - recolouring views from indexed pictures: the busiest page (6 views of 256 x 256) within 0.32 ms;
//   - one palette-animation step;
//   - the stage overview: a full redraw at 1/4 within 2 ms (1/8 of a 16 ms tick), and the busiest page's
//     recolour together with the overview's within 3x a memcpy of their pixels.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "graphics/graphics.h"
#include "graphics/stageoverview.h"

namespace {

std::array<std::uint8_t, 192> PaletteBytes() {
    std::array<std::uint8_t, 192> b{};
    for (int i = 0; i < 192; ++i) b[std::size_t(i)] = std::uint8_t(i * 37);
    return b;
}

// One document and renderer for the whole run; the image has four animated palettes that change
// colours on every tick.
struct World {
    QTemporaryDir dir;
    TMyMemIniFile ini{(dir.path() + "/quorveneditor.ini").toStdString()};
    EditFlagManagement flags{nullptr};
    RomImageData rom{flags, ini};
    FcPaletteData palette = FcPaletteData::FromBytes(PaletteBytes());
    EditorGraphics gfx{palette, rom};
    std::array<Byte, 4096> bank{};
    std::array<Byte, 1024> tiles{}, table32{};
    std::array<Byte, 256> attrs{};

    World() {
        std::mt19937 gen(42);
        for (auto& b : bank) b = Byte(gen());
        for (auto& b : tiles) b = Byte(gen());
        for (auto& b : table32) b = Byte(gen());
        for (auto& b : attrs) b = Byte(gen());

        std::vector<Byte> img(0x80010, 0);
        img[0] = 0x4E, img[1] = 0x45, img[2] = 0x53, img[3] = 0x1A;
        for (int k = 0; k < 4; ++k) {
            const std::size_t record = 0x41B53 + 16 * std::size_t(k);
            const std::size_t pointer = record - 0x41B53 + 0xBB43;
            img[0x41D3C + std::size_t(k)] = Byte(pointer & 0xFF);
            img[0x41D7C + std::size_t(k)] = Byte(pointer >> 8);
            const Byte rec[6] = {3, 0, Byte(k), Byte(k + 1), Byte(k + 2), Byte(k + 3)};
            std::memcpy(&img[record], rec, sizeof rec);
        }
        for (int m = 0; m < 16; ++m)
            for (int j = 0; j < 3; ++j) img[0x418D7 + std::size_t(3 * m + j)] = Byte(m + 0x10 * j);
        const QString path = dir.path() + "/bench.nes";
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char*>(img.data()), qint64(img.size()));
        f.close();
        rom.LoadFromFile(path.toStdString());
    }
};

World& TheWorld() {
    static World w;
    return w;
}

void BM_DrawStageSheets(benchmark::State& state) {
    World& w = TheWorld();
    for (auto _ : state) {
        w.gfx.DrawChipSheet16(w.gfx.ChipSheet16(), w.bank.data(), w.tiles.data(), w.attrs.data());
        w.gfx.DrawChipSheet32(w.gfx.ChipSheet32(), w.table32.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (256 * 256 + 512 * 512));
}
BENCHMARK(BM_DrawStageSheets);

void BM_MemcpyStageSheetPixels(benchmark::State& state) {
    std::vector<Byte> src(256 * 256 + 512 * 512, 1), dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(src.size()));
}
BENCHMARK(BM_MemcpyStageSheetPixels);

// A recolour of one 256 x 256 view: the new stage palette onto the picture, then the copy.
void BM_RecolourView256(benchmark::State& state) {
    World& w = TheWorld();
    IndexedBitmap& src = w.gfx.ChipSheet16();
    QImage view = w.gfx.CreateViewBitmap(256, 256);
    for (auto _ : state) {
        w.gfx.ApplyStagePalette(src);
        w.gfx.CopyToView(view, 0, 0, 256, 256, src, 0, 0, 256, 256);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_RecolourView256);

// The same from the 512 x 512 32x32 chip sheet, every second pixel.
void BM_RecolourView256From512(benchmark::State& state) {
    World& w = TheWorld();
    QImage view = w.gfx.CreateViewBitmap(256, 256);
    for (auto _ : state) {
        w.gfx.RefreshChip32SheetPalette();
        w.gfx.DrawChip32Table(view);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_RecolourView256From512);

// A memcpy of as many view pixels as a recolour writes: the yardstick of the recolour budgets.
void MemcpyPixels(benchmark::State& state, std::size_t pixels) {
    std::vector<QRgb> src(pixels, 1), dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(QRgb));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(src.size()));
}

constexpr std::size_t kBusiestPagePixels = 6 * 256 * 256;
constexpr std::size_t kOverviewPixels = 3072 * 64;

void BM_MemcpyView256Pixels(benchmark::State& state) {
    MemcpyPixels(state, 256 * 256);
}
BENCHMARK(BM_MemcpyView256Pixels);

// The busiest page: six 256 x 256 views recoloured (two map sets, the scaled 32x32 table, three more
// 1:1 copies).
struct BusiestPage {
    explicit BusiestPage(World& w) : w(w) {
        for (int i = 0; i < 6; ++i) views.push_back(w.gfx.CreateViewBitmap(256, 256));
        for (int i = 0; i < 64; ++i) set[std::size_t(i)] = Byte(i * 5);
    }
    void Recolour() {
        w.gfx.ApplyStagePalette(w.gfx.ChipSheet16());
        w.gfx.RefreshChip32SheetPalette();
        w.gfx.DrawMapSet(views[0], set.data());
        w.gfx.DrawMapSet(views[1], set.data());
        w.gfx.DrawChip32Table(views[2]);
        for (int i = 3; i < 6; ++i)
            w.gfx.CopyToView(views[std::size_t(i)], 0, 0, 256, 256, w.gfx.ChipSheet16(), 0, 0, 256, 256);
    }
    World& w;
    std::vector<QImage> views;
    std::array<Byte, 64> set{};
};

void BM_RecolourBusiestPage(benchmark::State& state) {
    BusiestPage page(TheWorld());
    for (auto _ : state) {
        page.Recolour();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(kBusiestPagePixels));
}
BENCHMARK(BM_RecolourBusiestPage);

void BM_MemcpyBusiestPagePixels(benchmark::State& state) {
    MemcpyPixels(state, kBusiestPagePixels);
}
BENCHMARK(BM_MemcpyBusiestPagePixels);

// The stage overview at 1/4: the 32x32 chip sheet made anew, all 48 screens drawn from it, then shown in
// colour.
void BM_DrawOverviewQuarter(benchmark::State& state) {
    World& w = TheWorld();
    StageOverviewPicture overview(4);
    const StageData& stage = w.rom.Current();
    for (auto _ : state) {
        overview.DrawAll(w.gfx, stage);
        overview.ShowDrawn(w.gfx);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(kOverviewPixels));
}
BENCHMARK(BM_DrawOverviewQuarter);

// A palette step with the overview shown: the busiest page as above plus the whole overview recoloured.
void BM_RecolourBusiestPageAndOverview(benchmark::State& state) {
    World& w = TheWorld();
    BusiestPage page(w);
    StageOverviewPicture overview(4);
    for (int screen = 0; screen < kScreenCount; ++screen) overview.DrawScreen(w.gfx, w.rom.Current(), screen);
    for (auto _ : state) {
        page.Recolour();
        overview.Recolour(w.gfx);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(kBusiestPagePixels + kOverviewPixels));
}
BENCHMARK(BM_RecolourBusiestPageAndOverview);

void BM_MemcpyBusiestPageAndOverviewPixels(benchmark::State& state) {
    MemcpyPixels(state, kBusiestPagePixels + kOverviewPixels);
}
BENCHMARK(BM_MemcpyBusiestPageAndOverviewPixels);

// One animation tick with all four palettes animated, changing 12 palette entries.
void BM_StepPaletteAnimation(benchmark::State& state) {
    World& w = TheWorld();
    const Byte numbers[4] = {0x80, 0x81, 0x82, 0x83};
    w.gfx.ResetPaletteAnimation();
    for (auto _ : state) benchmark::DoNotOptimize(w.gfx.StepPaletteAnimation(numbers));
    state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(BM_StepPaletteAnimation);

void BM_MemcpyTwelvePaletteEntries(benchmark::State& state) {
    QRgb src[12] = {}, dst[12];
    for (auto _ : state) {
        benchmark::DoNotOptimize(src);
        std::memcpy(dst, src, sizeof dst);
        benchmark::DoNotOptimize(dst);
    }
    state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(BM_MemcpyTwelvePaletteEntries);

}  // namespace

BENCHMARK_MAIN();
