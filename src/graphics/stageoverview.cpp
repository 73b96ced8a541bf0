#include "graphics/stageoverview.h"

#include <algorithm>
#include <cstring>

#include "graphics/editorgraphics.h"

void StageOverviewPicture::SetDivisor(int divisor) {
    divisor_ = divisor == 2 ? 2 : 4;
    pixels_ = IndexedBitmap(Width(), Height());
    view_ = QImage(Width(), Height(), QImage::Format_RGB32);
    view_.fill(Qt::black);
    pending_.assign(kScreenCount, false);
    draws_.assign(kScreenCount, 0);
}

std::uint64_t StageOverviewPicture::DrawCount(int screen) const {
    return screen >= 0 && screen < kScreenCount ? draws_[std::size_t(screen)] : 0;
}

void StageOverviewPicture::DrawScreen(const EditorGraphics& graphics, const StageData& stage, int screen) {
    if (screen < 0 || screen >= kScreenCount || pixels_.Image().isNull()) return;
    const int size = ScreenSize(), cell = 32 / divisor_, left = screen * size;
    const int mapByte = stage.Map()[screen];
    if (mapByte >= kMapSetCount) {
        EditorGraphics::DrawNoMapSet(pixels_, left, 0, size, kBlackValue);
    } else {
        const QImage& sheet = graphics.ChipSheet32().Image();
        const Byte* set = stage.MapSet(mapByte);
        if (sheet.width() < 512 || sheet.height() < 512) return;
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < 8; ++k) {
                const int chip = set[8 * r + k];
                const int sx = 32 * (chip % 16), sy = 32 * (chip / 16);
                for (int y = 0; y < cell; ++y) {
                    const uchar* src = sheet.constScanLine(sy + y * divisor_) + sx;
                    uchar* dst = pixels_.Row(r * cell + y) + left + k * cell;
                    for (int x = 0; x < cell; ++x) dst[x] = src[x * divisor_];
                }
            }
    }
    // A marker per object: a white square outline at the object's place, clipped to the screen.
    const int half = 8 / divisor_;
    auto plot = [&](int x, int y) {
        if (x >= 0 && x < size && y >= 0 && y < size) pixels_.Row(y)[left + x] = EditorGraphics::kWhite;
    };
    for (const ObjectEntry& e : stage.ScreenObjects(screen)) {
        const int cx = std::clamp(e.x, -1024, 1024) / divisor_, cy = std::clamp(e.y, -1024, 1024) / divisor_;
        for (int i = -half; i < half; ++i) {
            plot(cx + i, cy - half);
            plot(cx + i, cy + half - 1);
            plot(cx - half, cy + i);
            plot(cx + half - 1, cy + i);
        }
    }
    pending_[std::size_t(screen)] = true;
    ++draws_[std::size_t(screen)];
}

void StageOverviewPicture::DrawAll(EditorGraphics& graphics, const StageData& stage) {
    graphics.DrawChipSheet32(graphics.ChipSheet32(), stage.Chip32x32());
    for (int screen = 0; screen < kScreenCount; ++screen) DrawScreen(graphics, stage, screen);
}

void StageOverviewPicture::TakePalette(const EditorGraphics& graphics) {
    graphics.ApplyStagePalette(pixels_);
    pixels_.SetPaletteEntry(kBlackValue, graphics.MasterColor(EditorGraphics::kBlack));
}

void StageOverviewPicture::ShowDrawn(const EditorGraphics& graphics) {
    TakePalette(graphics);
    const int size = ScreenSize();
    for (int screen = 0; screen < kScreenCount; ++screen) {
        if (!pending_[std::size_t(screen)]) continue;
        // Neighbouring screens go in one copy.
        int end = screen;
        while (end < kScreenCount && pending_[std::size_t(end)]) pending_[std::size_t(end++)] = false;
        const int x = screen * size, w = (end - screen) * size;
        graphics.CopyToView(view_, x, 0, w, size, pixels_, x, 0, w, size);
        screen = end;
    }
}

void StageOverviewPicture::Recolour(const EditorGraphics& graphics) {
    TakePalette(graphics);
    std::fill(pending_.begin(), pending_.end(), false);
    graphics.CopyToView(view_, 0, 0, Width(), Height(), pixels_, 0, 0, Width(), Height());
}

bool StageOverviewPicture::ColoursDiffer(const EditorGraphics& graphics) const {
    for (int entry = 0; entry < 16; ++entry)
        if (pixels_.PaletteEntry(entry) != graphics.GetStagePaletteColor(entry)) return true;
    return false;
}
