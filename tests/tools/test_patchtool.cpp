// quorven-patch, the command-line patch maker and applier, on the demo image edited through the document on
// several stages and on the real images when present: round trips, refusals that leave no output file.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "demorom.h"
#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Scratch {
    Scratch() {
        std::string tmpl = (fs::temp_directory_path() / "quorven-patch-XXXXXX").string();
        path = ::mkdtemp(tmpl.data());
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path operator/(const std::string& name) const { return path / name; }
    fs::path path;
};

Bytes ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& p, const Bytes& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct ToolRun {
    int status = -1;
    std::string output;
};

// Runs the tool with the arguments (each single-quoted), capturing what it prints.
ToolRun Tool(const std::vector<std::string>& args) {
    std::string cmd = std::string("'") + QUORVEN_PATCH_TOOL + "'";
    for (const std::string& a : args) cmd += " '" + a + "'";
    cmd += " 2>&1";
    ToolRun run;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return run;
    std::array<char, 256> buf{};
    while (std::fgets(buf.data(), static_cast<int>(buf.size()), p)) run.output += buf.data();
    int st = ::pclose(p);
    run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return run;
}

// Makes both patches of original -> edited with the tool and applies each to the original with the tool.
void CheckToolRoundTrip(const Scratch& dir, const std::string& what, const Bytes& original, const Bytes& edited) {
    WriteAll(dir / "original.nes", original);
    WriteAll(dir / "edited.nes", edited);
    for (const char* name : {"out.ips", "out.bps"}) {
        fs::remove(dir / "result.nes");
        ToolRun made =
            Tool({"make", (dir / "original.nes").string(), (dir / "edited.nes").string(), (dir / name).string()});
        ASSERT_EQ(made.status, 0) << what << " " << name << ": " << made.output;
        ToolRun applied =
            Tool({"apply", (dir / "original.nes").string(), (dir / name).string(), (dir / "result.nes").string()});
        ASSERT_EQ(applied.status, 0) << what << " " << name << ": " << applied.output;
        EXPECT_TRUE(ReadAll(dir / "result.nes") == edited) << what << " " << name;
    }
}

struct DemoDoc {
    DemoDoc() {
        WriteAll(dir / "demo.nes", BuildDemoRom());
        ini = std::make_unique<TMyMemIniFile>(dir / "no-such-folder" / "quorveneditor.ini");
        rom = std::make_unique<RomImageData>(flags, *ini);
        EXPECT_EQ(rom->LoadFromFile(dir / "demo.nes"), LoadResult::Loaded);
    }
    Scratch dir;
    EditFlagManagement flags{nullptr};
    std::unique_ptr<TMyMemIniFile> ini;
    std::unique_ptr<RomImageData> rom;
};

}  // namespace

TEST(PatchTool, RoundTripsTheDemoImageWithEditsOnSeveralStages) {
    DemoDoc d;
    const Bytes original = ReadAll(d.dir / "demo.nes");
    // Every category, on four stages, flagged as the pages flag them.
    for (int s : {1, 6, 11, 14}) {
        StageData& st = d.rom->StageAt(s);
        auto flag = [&](bool changed, ModifiedCategory c) {
            EXPECT_TRUE(changed) << "stage " << s;
            d.flags.SetModified(c, s, true);
        };
        flag(st.SetChip16x16Tile(9, static_cast<Byte>(st.Chip16x16Tiles()[9] ^ 0x21)), ModifiedCategory::Chip16x16);
        flag(st.SetChipProperty(9, static_cast<Byte>(st.ChipProperties()[9] ^ 0x03)), ModifiedCategory::Chip16x16);
        flag(st.SetChip32x32Byte(40, static_cast<Byte>(st.Chip32x32()[40] + 7)), ModifiedCategory::Chip32x32);
        flag(st.PasteMapSet(5, std::array<Byte, 64>{}), ModifiedCategory::MapSet);
        flag(st.SetMapEntry(47, static_cast<Byte>((st.Map()[47] + 1) & 0x1F)), ModifiedCategory::Map);
        flag(st.SetPaletteByte(17, static_cast<Byte>((st.BGPalette(1)[1] + 5) & 0x3F)), ModifiedCategory::Palette);
        flag(st.SetPaletteAnimeByte(2, static_cast<Byte>(st.PaletteAnime(0)[2] ^ 1)), ModifiedCategory::Palette);
        flag(st.AppendObject(20, 0x30, 0x60, 0x07) != nullptr, ModifiedCategory::Object);
    }
    const Bytes composed = d.rom->ComposeImage();
    ASSERT_EQ(composed.size(), original.size());
    EXPECT_FALSE(composed == original);
    EXPECT_TRUE(d.rom->OriginalImage() == original);
    CheckToolRoundTrip(d.dir, "demo", original, composed);
    // What the patch carries is exactly what saving writes.
    d.rom->SaveToFile(d.dir / "saved.nes");
    EXPECT_TRUE(ReadAll(d.dir / "saved.nes") == composed);
}

TEST(PatchTool, RoundTripsEveryRealImage) {
    const fs::path dir = QUORVEN_REALDATA_DIR;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        GTEST_SKIP() << "no folder of real images at " << dir << ": skipped";
    }
    Scratch scratch;
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".nes") continue;
        ++seen;
        const Bytes original = ReadAll(entry.path());
        Bytes edited = original;
        for (std::size_t i = 16; i < edited.size(); i += 997) edited[i] = static_cast<Byte>(edited[i] + 1);
        edited.resize(edited.size() + 40, 0xEA);
        CheckToolRoundTrip(scratch, entry.path().filename().string(), original, edited);
    }
    if (seen == 0) {
        GTEST_SKIP() << "no .nes image in " << dir << ": skipped";
    }
}

TEST(PatchTool, RefusesAWrongSourceOrADamagedPatchAndWritesNothing) {
    Scratch dir;
    const Bytes original = BuildDemoRom();
    Bytes edited = original;
    edited[0x1234] ^= 0xFF;
    Bytes other = original;
    other[0x20] ^= 1;
    WriteAll(dir / "original.nes", original);
    WriteAll(dir / "edited.nes", edited);
    WriteAll(dir / "other.nes", other);
    ASSERT_EQ(
        Tool({"make", (dir / "original.nes").string(), (dir / "edited.nes").string(), (dir / "p.bps").string()}).status,
        0);

    ToolRun wrong = Tool({"apply", (dir / "other.nes").string(), (dir / "p.bps").string(), (dir / "out.nes").string()});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.output.find("not the one this BPS patch was made from"), std::string::npos) << wrong.output;
    EXPECT_FALSE(fs::exists(dir / "out.nes"));

    // A damaged patch, over an existing output file: that file stays as it was.
    Bytes bad = ReadAll(dir / "p.bps");
    bad[bad.size() / 2] ^= 0x10;
    WriteAll(dir / "bad.bps", bad);
    WriteAll(dir / "keep.nes", Bytes{1, 2, 3});
    ToolRun damaged =
        Tool({"apply", (dir / "original.nes").string(), (dir / "bad.bps").string(), (dir / "keep.nes").string()});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.output.find("damaged"), std::string::npos) << damaged.output;
    EXPECT_TRUE(ReadAll(dir / "keep.nes") == (Bytes{1, 2, 3}));

    // Not a patch name, not a command, a missing input.
    EXPECT_EQ(
        Tool({"make", (dir / "original.nes").string(), (dir / "edited.nes").string(), (dir / "p.txt").string()}).status,
        2);
    EXPECT_FALSE(fs::exists(dir / "p.txt"));
    EXPECT_EQ(Tool({"frobnicate", "a", "b", "c"}).status, 2);
    EXPECT_EQ(
        Tool({"apply", (dir / "missing.nes").string(), (dir / "p.bps").string(), (dir / "out.nes").string()}).status,
        1);
    EXPECT_FALSE(fs::exists(dir / "out.nes"));
}
