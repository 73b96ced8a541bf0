#include "stagerender.h"

#include <algorithm>

#include "fileio.h"
#include "graphics.h"

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

QImage RenderStage(const RomImageData& rom, const FcPaletteData& palette, int stage, const StageRenderOptions& options) {
    if (stage < 0 || stage >= kStageCount) return {};
    const StageData& st = rom.StageAt(stage);
    const int set = std::clamp(options.paletteSet, 0, kPaletteSetCount - 1);

    EditorGraphics g(palette, rom);
    BgBank bank(rom);
    bank.Assemble(stage, std::clamp(options.loadPoint, 0, 2), std::clamp(options.scroll, 0, 15));
    g.LoadStagePalette(st.BGPalette(set));
    g.ApplyStagePalette(g.ChipSheet16());
    g.DrawChipSheet16(g.ChipSheet16(), bank.Bytes(), st.Chip16x16Tiles(), st.ChipProperties());
    g.RefreshChip32SheetPalette();
    g.DrawChipSheet32(g.ChipSheet32(), st.Chip32x32());

    const int columns = 8;
    const int rows = options.screens ? kScreenCount / columns : kMapSetCount / columns;
    const int width = kGap + columns * (kCell + kGap);
    const int top = kGap + 512 + kGap;
    QImage canvas(width, top + rows * (kCell + kGap), QImage::Format_RGB32);
    canvas.fill(kBackdrop);

    // Top row: the 32x32 chip sheet, the 16x16 chip sheet, the tile table (twice its size, BG palette 1) and
    // the seven palette sets.
    QImage sheet32 = g.CreateViewBitmap(512, 512);
    g.DrawChip32Table(sheet32);
    Paste(canvas, sheet32, kGap, kGap);
    QImage sheet16 = g.CreateViewBitmap(256, 256);
    g.CopyToView(sheet16, 0, 0, 256, 256, g.ChipSheet16(), 0, 0, 256, 256);
    const int x16 = kGap + 512 + kGap;
    Paste(canvas, sheet16, x16, kGap);
    IndexedBitmap tiles(128, 128);
    g.DrawTileSheet(tiles, bank.Bytes(), 0);
    for (int k = 0; k < 4; ++k) tiles.SetPaletteEntry(k, g.GetStagePaletteColor(4 + k));
    QImage tileView = g.CreateViewBitmap(128, 128);
    g.CopyToView(tileView, 0, 0, 128, 128, tiles, 0, 0, 128, 128);
    Paste(canvas, tileView, x16, kGap + 256 + kGap, 2);
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

    QImage view = g.CreateViewBitmap(kCell, kCell);
    const int count = options.screens ? kScreenCount : kMapSetCount;
    for (int i = 0; i < count; ++i) {
        const int mapSet = options.screens ? (st.Map()[i] & 0x1F) : i;
        g.DrawMapSet(view, st.MapSet(mapSet));
        Paste(canvas, view, kGap + (i % columns) * (kCell + kGap), top + (i / columns) * (kCell + kGap));
    }
    return canvas;
}
