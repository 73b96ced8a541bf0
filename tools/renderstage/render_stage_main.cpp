// quorven-render-stage IMAGE.nes STAGE OUT.png [--screens | --strip] [--set N] [--load-point N] [--scroll N] [--palette FILE]
// Renders one stage of an image to a PNG through the editor's renderer, for people to look at. Runs without a
// display (the offscreen platform is chosen when none is set).

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "commandline.h"
#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "graphics/graphics.h"
#include "graphics/stagepicture.h"
#include "stagerender.h"

#ifndef QUORVEN_DATA_RELATIVE
#define QUORVEN_DATA_RELATIVE "../share/quorven-editor"
#endif

namespace {

const toolcli::Program kProgram{
    "quorven-render-stage",
    "usage: quorven-render-stage IMAGE.nes STAGE OUT.png [--screens | --strip] [--set N] [--load-point N] [--scroll N]\n"
    "                            [--palette FILE]\n"
    "  STAGE 0 to 15; --screens draws the 48 screens of the map instead of the 32 map sets; --strip\n"
    "  draws only the 48 screens side by side, as the map page does (12288 x 256);\n"
    "  --set 0 to 6 (palette set), --load-point 0 to 2, --scroll 0 to 15 choose the BG bank and colours;\n"
    "  the colour table is fcpalette.pal in the current folder, else beside this program, else in the\n"
    "  editor's installed data folder (share/quorven-editor).\n"};

constexpr toolcli::Option kOptions[] = {
    {"--screens", false}, {"--strip", false}, {"--set", true}, {"--load-point", true}, {"--scroll", true}, {"--palette", true}};

bool ParseInt(const std::string& text, int lo, int hi, int& out) {
    try {
        std::size_t used = 0;
        const long v = std::stol(text, &used, 0);
        if (used != text.size() || v < lo || v > hi) return false;
        out = static_cast<int>(v);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    toolcli::Arguments args;
    if (const auto status = toolcli::Parse(argc, argv, kProgram, kOptions, args)) return *status;
    const std::vector<std::string>& a = args.positional;
    int stage = 0;
    if (a.size() != 3 || !ParseInt(a[1], 0, 15, stage)) return toolcli::UsageError(kProgram);
    StageRenderOptions options;
    std::filesystem::path palettePath;
    bool strip = false;
    for (const auto& [name, value] : args.options) {
        bool ok = true;
        if (name == "--screens")
            options.screens = true;
        else if (name == "--strip")
            strip = true;
        else if (name == "--set")
            ok = ParseInt(value, 0, 6, options.paletteSet);
        else if (name == "--load-point")
            ok = ParseInt(value, 0, 2, options.loadPoint);
        else if (name == "--scroll")
            ok = ParseInt(value, 0, 15, options.scroll);
        else
            ok = !(palettePath = value).empty();
        if (!ok) return toolcli::UsageError(kProgram);
    }
    const std::filesystem::path imagePath = a[0];
    const std::string& outName = a[2];
    const QString outPath = QString::fromLocal8Bit(outName.c_str());

    // The toolkit sees none of the arguments: they are all this tool's own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int toolkitArgc = 1;
    QGuiApplication app(toolkitArgc, argv);

    if (palettePath.empty()) {
        // The current folder, else beside this program, else the installed editor's data folder.
        const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
        for (const std::filesystem::path& candidate :
             {std::filesystem::path(FcPaletteData::kFileName), programFolder / FcPaletteData::kFileName,
              programFolder / QUORVEN_DATA_RELATIVE / FcPaletteData::kFileName}) {
            if (std::filesystem::exists(candidate)) {
                palettePath = candidate;
                break;
            }
        }
        if (palettePath.empty()) palettePath = FcPaletteData::kFileName;
    }
    const FcPaletteData palette(palettePath);
    if (!palette.Ok()) {
        std::fprintf(stderr, "%s\n", palette.FailureMessage().c_str());
        return 1;
    }

    try {
        // No configuration file: every address takes its default.
        TMyMemIniFile ini(std::filesystem::path(outName).concat(".no-such-folder") / "quorveneditor.ini");
        EditFlagManagement flags(nullptr);
        RomImageData rom(flags, ini);
        const LoadResult result = rom.LoadFromFile(imagePath);
        if (result != LoadResult::Loaded) {
            std::fprintf(stderr, "%s: %s\n", imagePath.string().c_str(), LoadResultMessage(result));
            return 1;
        }
        StagePictureOptions parts;
        parts.paletteSet = options.paletteSet;
        parts.loadPoint = options.loadPoint;
        parts.scroll = options.scroll;
        const QImage picture = strip ? RenderStagePicture(rom, palette, stage, StagePictureKind::MapScreens, parts)
                                     : RenderStage(rom, palette, stage, options);
        if (picture.isNull() || !picture.save(outPath, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", outName.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
