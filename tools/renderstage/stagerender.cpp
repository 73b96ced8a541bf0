#include "stagerender.h"

#include <algorithm>

#include "document/fileio.h"
#include "graphics/graphics.h"
#include "graphics/stagepicture.h"

namespace {

constexpr int kGap = 4;
constexpr int kCell = 256;
constexpr QRgb kBackdrop = 0xFF303030u;

// Copies an RGB32 picture into the canvas at (x, y), scaled by an integer factor.
void Paste(QImage& canvas, const QImage& src, int x, int y, int scale = 1) {
    const QImage s = src.convertToFormat(QImage::Format_RGB32);
    for (int sy = 0; sy < s.height(); ++sy) {
        const QRgb* row = reinterpret_cast<const QRgb*>(s.constScanLine(sy));
        for (int k = 0; k < scale; ++k) {
            const int dy = y + sy * scale + k;
            if (dy < 0 || dy >= canvas.height()) continue;
            QRgb* out = reinterpret_cast<QRgb*>(canvas.scanLine(dy));
            for (int sx = 0; sx < s.width(); ++sx)
                for (int j = 0; j < scale; ++j) {
                    const int dx = x + sx * scale + j;
                    if (dx >= 0 && dx < canvas.width()) out[dx] = row[sx];
                }
        }
    }
}

void Swatch(QImage& canvas, int x, int y, int size, QRgb colour) {
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i)
            if (x + i < canvas.width() && y + j < canvas.height()) canvas.setPixel(x + i, y + j, colour);
}

}  // namespace

QImage RenderStage(const RomImageData& rom, const FcPaletteData& palette, int stage,
                   const StageRenderOptions& options) {
    if (stage < 0 || stage >= kStageCount) return {};
    const StageData& st = rom.StageAt(stage);
    // The parts come from the same code as the editor's picture export.
    StagePictureOptions parts;
    parts.paletteSet = std::clamp(options.paletteSet, 0, kPaletteSetCount - 1);
    parts.loadPoint = options.loadPoint;
    parts.scroll = options.scroll;
    parts.bankPalette = 1;
    auto part = [&](StagePictureKind kind) { return RenderStagePicture(rom, palette, stage, kind, parts); };

    const int columns = 8;
    const int rows = options.screens ? kScreenCount / columns : kMapSetCount / columns;
    const int width = kGap + columns * (kCell + kGap);
    const int top = kGap + 512 + kGap;
    QImage canvas(width, top + rows * (kCell + kGap), QImage::Format_RGB32);
    canvas.fill(kBackdrop);

    // Top row: the 32x32 chip sheet, the 16x16 chip sheet, the tile table (twice its size, BG palette 1) and
    // the seven palette sets.
    Paste(canvas, part(StagePictureKind::Chip32Sheet), kGap, kGap);
    const int x16 = kGap + 512 + kGap;
    Paste(canvas, part(StagePictureKind::Chip16Sheet), x16, kGap);
    Paste(canvas, part(StagePictureKind::BgBank), x16, kGap + 256 + kGap);
    const int xp = x16 + 256 + kGap;
    for (int p = 0; p < kPaletteSetCount; ++p) {
        const Byte* colours = st.BGPalette(p);
        for (int e = 0; e < 16; ++e) {
            const int x = xp + e * 18 + (e / 4) * 6;
            Swatch(canvas, x, kGap + p * 22, 16, PackedToQRgb(palette.GetColor(colours[e])));
        }
        // the four animation numbers: a light mark under each animated palette
        const Byte* anim = st.PaletteAnime(p);
        for (int j = 0; j < 4; ++j)
            if (anim[j] >= 0x80) Swatch(canvas, xp + (4 * j) * 18 + j * 6, kGap + p * 22 + 17, 3, 0xFFFFFFFFu);
    }

    // The map sets (8 x 4 in the picture) or the screens (one row of 48), cut into cells with gaps.
    const QImage cells = part(options.screens ? StagePictureKind::MapScreens : StagePictureKind::MapSets);
    const int across = cells.width() / kCell;
    const int count = options.screens ? kScreenCount : kMapSetCount;
    for (int i = 0; i < count; ++i) {
        const QImage cell = cells.copy((i % across) * kCell, (i / across) * kCell, kCell, kCell);
        Paste(canvas, cell, kGap + (i % columns) * (kCell + kGap), top + (i / columns) * (kCell + kGap));
    }
    return canvas;
}
