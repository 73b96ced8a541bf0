#include "graphics/stagetmx.h"

#include <QBuffer>
#include <QByteArray>
#include <stdexcept>

#include "document/atomicfile.h"
#include "document/fileio.h"
#include "document/stagetitles.h"
#include "document/tmxfile.h"
#include "graphics/stagepicture.h"

void WriteStageTmx(const RomImageData& rom, const FcPaletteData& palette, int stage,
                   const std::vector<std::string>& kindNames, const std::filesystem::path& tmxPath) {
    if (stage < 0 || stage >= kStageCount) throw std::runtime_error("no such stage");
    const std::filesystem::path tileset = tmxPath.parent_path() / TmxTilesetFileName(tmxPath.filename().string());
    const QImage picture = RenderStagePicture(rom, palette, stage, StagePictureKind::Chip32Sheet);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "PNG"))
        throw std::runtime_error(tileset.string() + ": the picture cannot be made");
    WriteFileAtomically(tileset, png.constData(), static_cast<std::size_t>(png.size()));

    TmxMapInfo info;
    info.stage = stage;
    info.title = StageTitle(stage);
    info.tilesetImage = tileset.filename().string();
    info.kindNames = kindNames;
    const std::string tmx = EncodeTmxMap(rom.StageAt(stage), info);
    WriteFileAtomically(tmxPath, tmx.data(), tmx.size());
}
