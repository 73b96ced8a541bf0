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

namespace fs = std::filesystem;

namespace {

constexpr const char* kName = "quorven-stage";

void Usage(std::FILE* to) {
    std::fprintf(to,
                 "usage: %s export IMAGE STAGE OUT.json\n"
                 "       %s export IMAGE --all FOLDER\n"
                 "       %s import IMAGE STAGE IN.json OUT.nes\n"
                 "       %s tmx IMAGE STAGE OUT.tmx [--palette FILE]\n"
                 "       %s -h | --help | --version\n"
                 "  export writes stage STAGE (0 to 15) of IMAGE as a stage file; --all writes stage-00.json to\n"
                 "  stage-15.json into FOLDER. import replaces the tables of stage STAGE that differ from IN.json\n"
                 "  and writes the image to OUT.nes. tmx writes a Tiled map and beside it OUT-chips32.png; the\n"
                 "  colour table is fcpalette.pal in the current folder, else beside this program, the object\n"
                 "  names come from ObjectList.txt found the same way.\n",
                 kName, kName, kName, kName, kName);
}

int UsageError(const std::string& why) {
    std::fprintf(stderr, "%s: %s (see %s --help)\n", kName, why.c_str(), kName);
    return 2;
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

int Export(const std::vector<std::string>& args) {
    const bool all = args.size() == 4 && args[2] == "--all";
    int stage = 0;
    if (args.size() != 4 || (!all && !ParseStage(args[2], stage)))
        return UsageError("export needs IMAGE STAGE OUT.json or IMAGE --all FOLDER");
    auto image = Load(args[1]);
    if (!image) return 1;
    if (!all) {
        WriteStageFile(args[3], CaptureStage(image->rom.StageAt(stage), kStageTitles[stage]));
        return 0;
    }
    fs::create_directories(args[3]);
    for (int s = 0; s < kStageCount; ++s) {
        char name[32];
        std::snprintf(name, sizeof name, "stage-%02d.json", s);
        WriteStageFile(fs::path(args[3]) / name, CaptureStage(image->rom.StageAt(s), kStageTitles[s]));
    }
    return 0;
}

int Import(const std::vector<std::string>& args) {
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

int Tmx(const std::vector<std::string>& args, int argc, char** argv) {
    int stage = 0;
    fs::path palettePath;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--palette") {
            if (i + 1 >= args.size()) return UsageError("--palette needs a file");
            palettePath = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() != 4 || !ParseStage(rest[2], stage)) return UsageError("tmx needs IMAGE STAGE OUT.tmx");
    // The pictures need the toolkit's image code; no display is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& a : args) {
        if (a == "-h" || a == "--help") {
            Usage(stdout);
            return 0;
        }
        if (a == "--version") {
            std::printf("%s %s\n", kName, QUORVEN_VERSION);
            return 0;
        }
    }
    for (const std::string& a : args)
        if (a.size() > 1 && a[0] == '-' && a != "--all" && a != "--palette") return UsageError("unknown option " + a);
    if (args.empty()) return UsageError("no command");
    try {
        if (args[0] == "export") return Export(args);
        if (args[0] == "import") return Import(args);
        if (args[0] == "tmx") return Tmx(args, argc, argv);
    } catch (const StageFileError& e) {
        std::fprintf(stderr, "refused, nothing written: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return UsageError("unknown command " + args[0]);
}
