#include "graphics/stagepicture.h"

#include <QPainter>
#include <algorithm>

#include "document/fileio.h"
#include "graphics/bgbank.h"
#include "graphics/editorgraphics.h"

namespace {

constexpr int kCell = 256;  // a map set at 1:1
constexpr int kBlack = 0x0F;

// The picture of a screen whose map byte names no map set, as the map page draws it: black, crossed by two
// white diagonals.
void DrawNoMapSet(const EditorGraphics& g, QImage& view) {
    g.FillBlock(view, 0, 0, view.width(), view.height(), kBlack);
    QPainter p(&view);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor::fromRgb(g.MasterColor(EditorGraphics::kWhite)));
    p.drawLine(0, 0, view.width() - 1, view.height() - 1);
    p.drawLine(view.width() - 1, 0, 0, view.height() - 1);
}

}  // namespace

QString StagePictureKindName(StagePictureKind kind) {
    switch (kind) {
    case StagePictureKind::MapScreens: return "map";
    case StagePictureKind::MapSets: return "mapsets";
    case StagePictureKind::Chip16Sheet: return "chip16";
    case StagePictureKind::Chip32Sheet: return "chip32";
    case StagePictureKind::BgBank: return "bgbank";
    }
    return "stage";
}

QImage RenderStagePicture(const RomImageData& rom, const FcPaletteData& palette, int stage, StagePictureKind kind,
                          const StagePictureOptions& options) {
    if (stage < 0 || stage >= kStageCount) return {};
    const StageData& st = rom.StageAt(stage);
    EditorGraphics g(palette, rom);
    BgBank bank(rom);
    bank.Assemble(stage, std::clamp(options.loadPoint, 0, 2), std::clamp(options.scroll, 0, 15));
    g.LoadStagePalette(st.BGPalette(std::clamp(options.paletteSet, 0, kPaletteSetCount - 1)));
    g.ApplyStagePalette(g.ChipSheet16());
    g.DrawChipSheet16(g.ChipSheet16(), bank.Bytes(), st.Chip16x16Tiles(), st.ChipProperties());
    g.RefreshChip32SheetPalette();
    g.DrawChipSheet32(g.ChipSheet32(), st.Chip32x32());

    switch (kind) {
    case StagePictureKind::MapScreens: {
        QImage canvas = g.CreateViewBitmap(kScreenCount * kCell, kCell);
        QImage view = g.CreateViewBitmap(kCell, kCell);
        for (int screen = 0; screen < kScreenCount; ++screen) {
            const int mapByte = st.Map()[screen];
            if (mapByte < kMapSetCount)
                g.DrawMapSet(view, st.MapSet(mapByte));
            else
                DrawNoMapSet(g, view);
            EditorGraphics::CopyRect(canvas, screen * kCell, 0, view, 0, 0, kCell, kCell);
        }
        return canvas;
    }
    case StagePictureKind::MapSets: {
        constexpr int columns = 8;
        QImage canvas = g.CreateViewBitmap(columns * kCell, kMapSetCount / columns * kCell);
        QImage view = g.CreateViewBitmap(kCell, kCell);
        for (int set = 0; set < kMapSetCount; ++set) {
            g.DrawMapSet(view, st.MapSet(set));
            EditorGraphics::CopyRect(canvas, set % columns * kCell, set / columns * kCell, view, 0, 0, kCell, kCell);
        }
        return canvas;
    }
    case StagePictureKind::Chip16Sheet: {
        QImage view = g.CreateViewBitmap(256, 256);
        g.CopyToView(view, 0, 0, 256, 256, g.ChipSheet16(), 0, 0, 256, 256);
        return view;
    }
    case StagePictureKind::Chip32Sheet: {
        QImage view = g.CreateViewBitmap(512, 512);
        g.DrawChip32Table(view);
        return view;
    }
    case StagePictureKind::BgBank: {
        IndexedBitmap tiles(128, 128);
        g.DrawTileSheet(tiles, bank.Bytes(), 0);
        const int p = std::clamp(options.bankPalette, 0, 3);
        for (int k = 0; k < 4; ++k) tiles.SetPaletteEntry(k, g.GetStagePaletteColor(4 * p + k));
        QImage view = g.CreateViewBitmap(256, 256);
        g.CopyToView(view, 0, 0, 256, 256, tiles, 0, 0, 128, 128);
        return view;
    }
    }
    return {};
}
