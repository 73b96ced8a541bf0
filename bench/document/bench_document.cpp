// Load + decode and save of a typical image, each beside a plain read or write of the same bytes.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "document/MyIniFiles.h"
#include "document/fileio.h"
#include "document/usagesearch.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSize = 0x80010;

// A folder with a 0x80010-byte image whose stages all hold objects (100 per stage, sorted by screen).
struct Fixture {
    Fixture() {
        std::string tmpl = (fs::temp_directory_path() / "quorven-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        dir = tmpl;
        std::vector<Byte> img(kSize);
        std::mt19937 rng(1);
        for (auto& b : img) b = static_cast<Byte>(rng());
        img[0] = 0x4E;
        img[1] = 0x45;
        img[2] = 0x53;
        img[3] = 0x1A;
        for (int s = 0; s < 16; ++s) {
            const std::size_t base = 0x41110 + 0x2000 * static_cast<std::size_t>(s);
            for (int i = 0; i < 128; ++i) img[base + i] = i < 100 ? static_cast<Byte>(i * 48 / 100) : 0xFF;
        }
        image = dir / "image.nes";
        std::ofstream(image, std::ios::binary).write(reinterpret_cast<const char*>(img.data()), kSize);
        bytes = img;
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path dir, image;
    std::vector<Byte> bytes;
};

Fixture& Files() {
    static Fixture f;
    return f;
}

void BM_PlainRead(benchmark::State& state) {
    std::vector<Byte> buf(kSize);
    const std::string path = Files().image.string();
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::size_t n = std::fread(buf.data(), 1, kSize, f);
        std::fclose(f);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_PlainRead);

void BM_LoadAndDecodeAllStages(benchmark::State& state) {
    EditFlagManagement flags(nullptr);
    TMyMemIniFile ini(Files().dir / "absent.ini");
    RomImageData rom(flags, ini);
    for (auto _ : state) {
        LoadResult r = rom.LoadFromFile(Files().image);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(rom.StageAt(15).ObjectTotal());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_LoadAndDecodeAllStages);

// The decode part alone: every table of the 16 stages from the buffer, objects included.
void BM_DecodeOnly(benchmark::State& state) {
    EditFlagManagement flags(nullptr);
    TMyMemIniFile ini(Files().dir / "absent.ini");
    RomImageData rom(flags, ini);
    rom.LoadFromFile(Files().image);
    for (auto _ : state) {
        for (int s = 0; s < 16; ++s) rom.StageAt(s).ReadAllTables();
    }
}
BENCHMARK(BM_DecodeOnly);

void BM_PlainWrite(benchmark::State& state) {
    const std::string path = (Files().dir / "plain.nes").string();
    const auto& bytes = Files().bytes;
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::size_t n = std::fwrite(bytes.data(), 1, kSize, f);
        std::fclose(f);
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_PlainWrite);

// The same write made durable the way the save makes it: flushed to disk, then renamed over the target.
void BM_PlainWriteFlushRename(benchmark::State& state) {
    const std::string tmp = (Files().dir / "plain.tmp").string();
    const std::string path = (Files().dir / "plain.nes").string();
    const auto& bytes = Files().bytes;
    for (auto _ : state) {
        std::FILE* f = std::fopen(tmp.c_str(), "wb");
        std::size_t n = std::fwrite(bytes.data(), 1, kSize, f);
        std::fflush(f);
        ::fsync(fileno(f));
        std::fclose(f);
        std::rename(tmp.c_str(), path.c_str());
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_PlainWriteFlushRename);

void BM_SaveAllCategoriesFlagged(benchmark::State& state) {
    EditFlagManagement flags(nullptr);
    TMyMemIniFile ini(Files().dir / "absent.ini");
    RomImageData rom(flags, ini);
    if (rom.LoadFromFile(Files().image) != LoadResult::Loaded) std::abort();
    const fs::path out = Files().dir / "saved.nes";
    for (auto _ : state) {
        for (int s = 0; s < 16; ++s)
            for (int c = 0; c < kModifiedCategoryCount; ++c)
                flags.SetModified(static_cast<ModifiedCategory>(c), s, true);
        rom.SaveToFile(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_SaveAllCategoriesFlagged);

// The usage finder's searches over a whole stage, the four kinds one after the other (the list a search makes
// again after every edit): each kind reads its whole table.
void BM_FindUsagesWholeStage(benchmark::State& state) {
    EditFlagManagement flags(nullptr);
    TMyMemIniFile ini(Files().dir / "absent.ini");
    RomImageData rom(flags, ini);
    if (rom.LoadFromFile(Files().image) != LoadResult::Loaded) std::abort();
    const StageData& stage = rom.StageAt(0);
    std::vector<Usage> uses;
    std::size_t found = 0;
    int n = 0;
    for (auto _ : state) {
        n = (n + 1) & 0x1F;
        for (UsageTargetKind kind :
             {UsageTargetKind::Chip16, UsageTargetKind::Chip32, UsageTargetKind::MapSet, UsageTargetKind::ObjectKind}) {
            FindUsages(stage, UsageTarget{kind, n}, uses);
            found += uses.size();
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FindUsagesWholeStage);

}  // namespace

BENCHMARK_MAIN();
