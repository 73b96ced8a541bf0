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

#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "graphics/graphics.h"
#include "graphics/stagepicture.h"
#include "stagerender.h"

namespace {

int Usage(const char* self) {
    std::fprintf(stderr,
                 "usage: %s IMAGE.nes STAGE OUT.png [--screens | --strip] [--set N] [--load-point N] [--scroll N]\n"
                 "       [--palette FILE]\n"
                 "  STAGE 0 to 15; --screens draws the 48 screens of the map instead of the 32 map sets; --strip\n"
                 "  draws only the 48 screens side by side, as the map page does (12288 x 256);\n"
                 "  the colour table is fcpalette.pal in the current folder, else beside this program.\n",
                 self);
    return 2;
}

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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 4) return Usage(argv[0]);

    const std::filesystem::path imagePath = argv[1];
    int stage = 0;
    if (!ParseInt(argv[2], 0, 15, stage)) return Usage(argv[0]);
    const QString outPath = QString::fromLocal8Bit(argv[3]);
    StageRenderOptions options;
    std::filesystem::path palettePath;
    bool strip = false;
    for (int i = 4; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](int lo, int hi, int& out) { return i + 1 < argc && ParseInt(argv[++i], lo, hi, out); };
        if (a == "--screens")
            options.screens = true;
        else if (a == "--strip")
            strip = true;
        else if (a == "--set") {
            if (!value(0, 6, options.paletteSet)) return Usage(argv[0]);
        } else if (a == "--load-point") {
            if (!value(0, 2, options.loadPoint)) return Usage(argv[0]);
        } else if (a == "--scroll") {
            if (!value(0, 15, options.scroll)) return Usage(argv[0]);
        } else if (a == "--palette" && i + 1 < argc)
            palettePath = argv[++i];
        else
            return Usage(argv[0]);
    }

    if (palettePath.empty()) {
        palettePath = FcPaletteData::kFileName;
        if (!std::filesystem::exists(palettePath))
            palettePath =
                std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / FcPaletteData::kFileName;
    }
    const FcPaletteData palette(palettePath);
    if (!palette.Ok()) {
        std::fprintf(stderr, "%s\n", palette.FailureMessage().c_str());
        return 1;
    }

    try {
        // No configuration file: every address takes its default.
        TMyMemIniFile ini(std::filesystem::path(argv[3]).concat(".no-such-folder") / "quorveneditor.ini");
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
            std::fprintf(stderr, "cannot write %s\n", argv[3]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
