// Stage files and Tiled maps: the document's encoder and reader on the demo image and the real images, and
// quorven-stage end to end (export, import, refusals, usage), its Tiled map against the editor's own strip
// of the 48 screens as Tiled's tmxrasterizer draws it.

#include <sys/wait.h>
#include <QImage>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "demorom.h"
#include "doc_test_support.h"
#include "document/stagefile.h"

using nlohmann::json;

namespace {

struct ToolRun {
    int status = -1;
    std::string output;
};
ToolRun Command(std::string cmd) {
    ToolRun run;
    FILE* p = ::popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return run;
    std::array<char, 512> buf{};
    while (std::fgets(buf.data(), static_cast<int>(buf.size()), p)) run.output += buf.data();
    const int st = ::pclose(p);
    run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return run;
}
ToolRun Tool(const char* tool, const std::vector<std::string>& args) {
    std::string cmd = std::string("'") + tool + "'";
    for (const std::string& a : args) cmd += " '" + a + "'";
    return Command(cmd);
}
ToolRun Stage(const std::vector<std::string>& args) {
    return Tool(QUORVEN_STAGE_TOOL, args);
}

QImage Picture(const fs::path& path) {
    return QImage(QString::fromStdString(path.string())).convertToFormat(QImage::Format_RGB32);
}

// The demo image, and the real images when their folder has any.
std::vector<fs::path> Images(const TempDir& dir) {
    WriteAll(dir / "demo.nes", BuildDemoRom());
    std::vector<fs::path> images{dir / "demo.nes"};
    std::error_code ec;
    if (fs::is_directory(QUORVEN_REALDATA_DIR, ec))
        for (const auto& e : fs::directory_iterator(QUORVEN_REALDATA_DIR))
            if (e.path().extension() == ".nes") images.push_back(e.path());
    if (images.size() == 1) std::printf("[ NOTE ] no real images in %s: only the demo image\n", QUORVEN_REALDATA_DIR);
    return images;
}

}  // namespace

// Every stage of every image: the file reads back to itself, imports as no change, and the tool's --all
// export imported back with the tool gives the image's bytes.
TEST(StageFile, RoundTripsEveryStageOfEveryImage) {
    TempDir dir;
    for (const fs::path& image : Images(dir)) {
        SCOPED_TRACE(image.string());
        Doc doc;
        ASSERT_EQ(doc.rom->LoadFromFile(image), LoadResult::Loaded);
        for (int s = 0; s < kStageCount; ++s) {
            const std::string text = EncodeStageFile(CaptureStage(doc.rom->StageAt(s), "t"));
            const StageFileContent back = DecodeStageFile(text, "x.json");
            EXPECT_EQ(EncodeStageFile(back), text) << "stage " << s;
            const StageImportPlan plan = PlanStageImport(doc.rom->StageAt(s), back);
            EXPECT_FALSE(plan.Any()) << "stage " << s;
            ApplyStageImport(*doc.rom, doc.flags, s, back, plan);
        }
        EXPECT_FALSE(doc.flags.AnyModified());
        EXPECT_TRUE(doc.rom->ComposeImage() == doc.rom->OriginalImage());

        const ToolRun all = Stage({"export", image.string(), "--all", (dir / "all").string()});
        ASSERT_EQ(all.status, 0) << all.output;
        ASSERT_EQ(Stage({"export", image.string(), "7", (dir / "again.json").string()}).status, 0);
        EXPECT_EQ(ReadText(dir / "again.json"), ReadText(dir / "all" / "stage-07.json")) << "exported twice";
        for (int s : {0, 7, 15}) {
            char name[32];
            std::snprintf(name, sizeof name, "stage-%02d.json", s);
            const ToolRun in = Stage({"import", image.string(), std::to_string(s), (dir / "all" / name).string(),
                                      (dir / "out.nes").string()});
            ASSERT_EQ(in.status, 0) << in.output;
            EXPECT_NE(in.output.find("nothing differs"), std::string::npos) << in.output;
            EXPECT_TRUE(ReadAll(dir / "out.nes") == ReadAll(image)) << "stage " << s;
        }
    }
}

// A changed 32x32 chip in the file changes that byte of that table only.
TEST(StageFile, ImportOfOneChangedChipChangesThatTableOnly) {
    TempDir dir;
    const fs::path image = Images(dir).front();
    ASSERT_EQ(Stage({"export", image.string(), "5", (dir / "s.json").string()}).status, 0);
    json j = json::parse(ReadText(dir / "s.json"));
    j["chips32"][9][2] = (j["chips32"][9][2].get<int>() + 1) & 0xFF;
    WriteText(dir / "s.json", j.dump(1));
    const ToolRun in = Stage({"import", image.string(), "5", (dir / "s.json").string(), (dir / "out.nes").string()});
    ASSERT_EQ(in.status, 0) << in.output;
    EXPECT_NE(in.output.find("replaced chips32\n"), std::string::npos) << in.output;

    Doc doc;
    ASSERT_EQ(doc.rom->LoadFromFile(image), LoadResult::Loaded);
    const std::int32_t table = doc.rom->Addresses().TableAddress(StageTable::Chip32x32, 5);
    const std::vector<Byte> before = ReadAll(image), after = ReadAll(dir / "out.nes");
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i] == after[i], static_cast<std::int32_t>(i) != table + 4 * 9 + 2) << "offset " << i;
}

// Each bad file is refused whole, with where and what, and nothing is written.
TEST(StageFile, BadFilesAreRefusedWithTheirMessage) {
    TempDir dir;
    const fs::path image = Images(dir).front();
    ASSERT_EQ(Stage({"export", image.string(), "2", (dir / "good.json").string()}).status, 0);
    const std::string good = ReadText(dir / "good.json");
    using Edit = void (*)(json&);
    const struct {
        Edit edit;
        const char* raw;  // the whole file, when not an edit of the good one
        const char* message;
    } cases[] = {
        {nullptr, "{\"format\": ", "stage.json: not JSON ("},
        {nullptr, "[1, 2]", "stage.json: not a stage file"},
        {nullptr, "{\"a\": {\"b\": 1, \"b\": 2}}", "stage.json: the key \"b\" is given twice"},
        {[](json& j) { j["format"] = "tiled"; }, nullptr, "stage.json: format: not a stage file"},
        {[](json& j) { j["version"] = 2; }, nullptr, "stage.json: version: 2 is not supported (only 1)"},
        {[](json& j) { j.erase("map"); }, nullptr, "stage.json: missing \"map\""},
        {[](json& j) { j["extra"] = json::array(); }, nullptr, "stage.json: unknown key \"extra\""},
        {[](json& j) { j["chips32"].erase(0); }, nullptr, "stage.json: chips32: 255 entries, expected 256"},
        {[](json& j) { j["chips16"][4].erase(0); }, nullptr, "stage.json: chips16[4]: 3 entries, expected 4"},
        {[](json& j) { j["mapsets"][3][2][7] = 300; }, nullptr,
         "stage.json: mapsets[3][2][7]: 300 is not a byte (0-255)"},
        {[](json& j) { j["map"][5] = -1; }, nullptr, "stage.json: map[5]: -1 is not a byte (0-255)"},
        {[](json& j) { j["palettes"][0][0] = 1.5; }, nullptr, "stage.json: palettes[0][0]: 1.5 is not an integer"},
        {[](json& j) { j["attributes"][9] = "7"; }, nullptr, "stage.json: attributes[9]: \"7\" is not an integer"},
        {[](json& j) { j["stage"] = 16; }, nullptr, "stage.json: stage: 16 is not a stage number (0-15)"},
        {[](json& j) { j["objects"][1][0]["x"] = 256; }, nullptr, "stage.json: objects[1][0].x: 256 is not a byte"},
        {[](json& j) { j["objects"][1][0].erase("kind"); }, nullptr, "stage.json: objects[1][0]: missing \"kind\""},
        {[](json& j) { j["objects"][47] = std::vector<json>(128, j["objects"][1][0]); }, nullptr, "objects: 1"},
    };
    for (const auto& c : cases) {
        std::string text = c.raw ? c.raw : good;
        if (c.edit) {
            json j = json::parse(good);
            if (j["objects"][1].empty()) j["objects"][1].push_back({{"x", 1}, {"y", 2}, {"kind", 3}});
            c.edit(j);
            text = j.dump(1);
        }
        WriteText(dir / "stage.json", text);
        const ToolRun in =
            Stage({"import", image.string(), "2", (dir / "stage.json").string(), (dir / "out.nes").string()});
        EXPECT_EQ(in.status, 1) << c.message;
        EXPECT_NE(in.output.find(c.message), std::string::npos) << in.output;
        EXPECT_FALSE(fs::exists(dir / "out.nes")) << c.message;
    }
    // Over 4 MiB: refused before it is read.
    WriteText(dir / "stage.json", good + std::string(kStageFileMaxBytes, ' '));
    const ToolRun big =
        Stage({"import", image.string(), "2", (dir / "stage.json").string(), (dir / "out.nes").string()});
    EXPECT_EQ(big.status, 1);
    EXPECT_NE(big.output.find("stage.json: larger than 4 MiB"), std::string::npos) << big.output;

    // Usage: help and version exit 0, an unknown option or a wrong count of arguments 2, nothing written.
    EXPECT_EQ(Stage({"--help"}).status, 0);
    EXPECT_NE(Stage({"-h"}).output.find("usage: quorven-stage export IMAGE STAGE OUT.json"), std::string::npos);
    const ToolRun version = Stage({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, std::string("quorven-stage ") + QUORVEN_PROJECT_VERSION + "\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"export", image.string(), "2", (dir / "out.nes").string(), "--frob"},
          {"export", image.string(), "16", (dir / "out.nes").string()},
          {"import", image.string(), "2", (dir / "good.json").string()},
          {"render", image.string()},
          {}}) {
        const ToolRun r = Stage(args);
        EXPECT_EQ(r.status, 2) << r.output;
        EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
    }
    EXPECT_FALSE(fs::exists(dir / "out.nes"));
}

// Tiled's own renderer draws the map layer of the exported map exactly as the editor draws the screens.
TEST(StageFile, TiledDrawsTheMapAsTheEditorDoes) {
    if (Command("command -v tmxrasterizer").status != 0)
        GTEST_SKIP() << "tmxrasterizer (Debian package tiled) is not installed: skipped";
    TempDir dir;
    const fs::path image = Images(dir).front();
    Doc doc;
    ASSERT_EQ(doc.rom->LoadFromFile(image), LoadResult::Loaded);
    for (int s : {0, 6, 13}) {
        SCOPED_TRACE("stage " + std::to_string(s));
        const std::string n = std::to_string(s);
        ASSERT_EQ(Stage({"tmx", image.string(), n, (dir / "m.tmx").string()}).status, 0);
        EXPECT_EQ(Picture(dir / "m-chips32.png").size(), QSize(512, 512));
        const ToolRun strip = Tool(QUORVEN_RENDER_TOOL, {image.string(), n, (dir / "strip.png").string(), "--strip"});
        ASSERT_EQ(strip.status, 0) << strip.output;
        const ToolRun tiled = Command("QT_QPA_PLATFORM=offscreen tmxrasterizer --show-layer map '" +
                                      (dir / "m.tmx").string() + "' '" + (dir / "tiled.png").string() + "'");
        ASSERT_EQ(tiled.status, 0) << tiled.output;
        const QImage a = Picture(dir / "strip.png"), b = Picture(dir / "tiled.png");
        ASSERT_EQ(a.size(), QSize(12288, 256));
        ASSERT_EQ(b.size(), a.size());
        int compared = 0;
        for (int screen = 0; screen < kScreenCount; ++screen) {
            if (doc.rom->StageAt(s).Map()[screen] >= kMapSetCount) continue;
            ++compared;
            EXPECT_TRUE(a.copy(256 * screen, 0, 256, 256) == b.copy(256 * screen, 0, 256, 256)) << "screen " << screen;
        }
        EXPECT_GT(compared, 0);
        const std::string tmx = ReadText(dir / "m.tmx");
        int objects = 0;
        for (std::size_t at = tmx.find("<object id="); at != std::string::npos; at = tmx.find("<object id=", at + 1))
            ++objects;
        EXPECT_EQ(objects, doc.rom->StageAt(s).ObjectTotal());
    }
}
