// quorven-stage export IMAGE STAGE OUT.json
// quorven-stage export IMAGE --all FOLDER
// quorven-stage import IMAGE STAGE IN.json OUT.nes
// quorven-stage tmx IMAGE STAGE OUT.tmx [--palette FILE]
// One stage of an image as a stage file (docs/stage-file.md) or as a Tiled map, and a stage file put back
// into an image, through the editor's own code. The image is read with every table at its default address.
// Every output is written whole or not at all; IMAGE is never written unless OUT.nes names it.
// Exit status: 0 done, 1 a refused or unreadable input or a failed write, 2 wrong arguments.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "document/stagefile.h"
#include "document/stagetitles.h"
#include "graphics/chipnames.h"
#include "graphics/fcpalette.h"
#include "graphics/stagetmx.h"
#include "commandline.h"

namespace fs = std::filesystem;

namespace {

const toolcli::Program kProgram{
    "quorven-stage",
    "usage: quorven-stage export IMAGE STAGE OUT.json\n"
    "       quorven-stage export IMAGE --all FOLDER\n"
    "       quorven-stage import IMAGE STAGE IN.json OUT.nes\n"
    "       quorven-stage tmx IMAGE STAGE OUT.tmx [--palette FILE]\n"
    "  export writes stage STAGE (0 to 15) of IMAGE as a stage file; --all writes stage-00.json to\n"
    "  stage-15.json into FOLDER. import replaces the tables of stage STAGE that differ from IN.json\n"
    "  and writes the image to OUT.nes. tmx writes a Tiled map and beside it OUT-chips32.png; the\n"
    "  colour table is fcpalette.pal in the current folder, else beside this program, the object\n"
    "  names come from ObjectList.txt found the same way.\n"};

constexpr toolcli::Option kOptions[] = {{"--all", true}, {"--palette", true}};

int UsageError(const std::string& why) {
    std::fprintf(stderr, "quorven-stage: %s (see --help)\n", why.c_str());
    return 2;
}

// The value of an option given once, empty when not given.
std::string OptionValue(const toolcli::Arguments& args, std::string_view name) {
    for (const auto& [option, value] : args.options)
        if (option == name) return value;
    return {};
}

bool ParseStage(const std::string& text, int& stage) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    stage = std::stoi(text);
    return stage < kStageCount;
}

// A file in the current folder, else beside this program.
fs::path Beside(const std::string& name) {
    if (fs::exists(name)) return name;
    return fs::path(QCoreApplication::applicationDirPath().toStdString()) / name;
}

// The image with every table at its default address (no configuration file).
struct Image {
    TMyMemIniFile ini{fs::path("/nonexistent-quorven-stage") / "quorveneditor.ini"};
    EditFlagManagement flags{nullptr};
    RomImageData rom{flags, ini};
};

std::unique_ptr<Image> Load(const fs::path& path) {
    auto image = std::make_unique<Image>();
    const LoadResult result = image->rom.LoadFromFile(path);
    if (result != LoadResult::Loaded) {
        std::fprintf(stderr, "%s: %s\n", path.string().c_str(), LoadResultMessage(result));
        return nullptr;
    }
    return image;
}

const char* PartName(StagePart part) {
    constexpr const char* names[kStagePartCount] = {"chips16", "attributes", "chips32",           "mapsets",
                                                    "map",     "palettes",   "paletteAnimations", "objects"};
    return names[static_cast<int>(part)];
}

int Export(const toolcli::Arguments& cli) {
    const std::vector<std::string>& args = cli.positional;
    const std::string folder = OptionValue(cli, "--all");
    const bool all = !folder.empty();
    int stage = 0;
    if (all ? args.size() != 2 : (args.size() != 4 || !ParseStage(args[2], stage)))
        return UsageError("export needs IMAGE STAGE OUT.json or IMAGE --all FOLDER");
    auto image = Load(args[1]);
    if (!image) return 1;
    if (!all) {
        WriteStageFile(args[3], CaptureStage(image->rom.StageAt(stage), StageTitle(stage)));
        return 0;
    }
    fs::create_directories(folder);
    for (int s = 0; s < kStageCount; ++s) {
        char name[32];
        std::snprintf(name, sizeof name, "stage-%02d.json", s);
        WriteStageFile(fs::path(folder) / name, CaptureStage(image->rom.StageAt(s), StageTitle(s)));
    }
    return 0;
}

int Import(const toolcli::Arguments& cli) {
    const std::vector<std::string>& args = cli.positional;
    int stage = 0;
    if (args.size() != 5 || !ParseStage(args[2], stage)) return UsageError("import needs IMAGE STAGE IN.json OUT.nes");
    auto image = Load(args[1]);
    if (!image) return 1;
    const StageFileContent content = ReadStageFile(args[3]);
    const StageImportPlan plan = PlanStageImport(image->rom.StageAt(stage), content);
    ApplyStageImport(image->rom, image->flags, stage, content, plan);
    image->rom.SaveToFile(args[4]);
    std::string changed;
    for (int p = 0; p < kStagePartCount; ++p)
        if (plan.changes[p]) changed += std::string(changed.empty() ? "" : ", ") + PartName(static_cast<StagePart>(p));
    std::printf("stage %d: %s\n", stage, changed.empty() ? "nothing differs" : ("replaced " + changed).c_str());
    return 0;
}

int Tmx(const toolcli::Arguments& cli, char** argv) {
    const std::vector<std::string>& rest = cli.positional;
    int stage = 0;
    fs::path palettePath = OptionValue(cli, "--palette");
    if (rest.size() != 4 || !ParseStage(rest[2], stage)) return UsageError("tmx needs IMAGE STAGE OUT.tmx");
    // The pictures need the toolkit's image code; no display is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int toolkitArgc = 1;  // the toolkit sees none of the arguments
    QGuiApplication app(toolkitArgc, argv);
    if (palettePath.empty()) palettePath = Beside(FcPaletteData::kFileName);
    const FcPaletteData palette(palettePath);
    if (!palette.Ok()) {
        std::fprintf(stderr, "%s\n", palette.FailureMessage().c_str());
        return 1;
    }
    auto image = Load(rest[1]);
    if (!image) return 1;
    std::vector<std::string> names;
    QStringList lines;
    if (ReadShiftJisLines(QString::fromStdString(Beside("ObjectList.txt").string()), lines))
        for (const QString& line : lines.mid(0, 256)) names.push_back(line.toStdString());
    WriteStageTmx(image->rom, palette, stage, names, rest[3]);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    toolcli::Arguments cli;
    if (const auto status = toolcli::Parse(argc, argv, kProgram, kOptions, cli)) return *status;
    if (cli.positional.empty()) return UsageError("no command");
    const std::string& command = cli.positional[0];
    if (!cli.options.empty() && command != (cli.options[0].first == "--all" ? "export" : "tmx"))
        return UsageError(cli.options[0].first + " does not go with " + command);
    try {
        if (command == "export") return Export(cli);
        if (command == "import") return Import(cli);
        if (command == "tmx") return Tmx(cli, argv);
    } catch (const StageFileError& e) {
        std::fprintf(stderr, "refused, nothing written: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return UsageError("unknown command " + command);
}
