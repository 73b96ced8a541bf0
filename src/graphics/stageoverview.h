#pragma once
// StageOverviewPicture: the 48 screens of a stage side by side, each its map set's 8 x 8 32x32 chips taken
// nearest-pixel from the 32x32 chip sheet at 1/divisor, with a marker per object. Drawn as pixel values
// into an indexed picture, so a new stage palette only recolours it into the true-colour view.

#include <QImage>
#include <cstdint>
#include <vector>

#include "document/editdata.h"
#include "graphics/indexedbitmap.h"

class EditorGraphics;

class StageOverviewPicture {
public:
    static constexpr int kBlackValue = 82;  // the pixel value of empty screens (master colour 0x0F)

    explicit StageOverviewPicture(int divisor = 4) { SetDivisor(divisor); }
    // 4 (64 pixels a screen) or 2 (128); anything else counts as 4. The picture is made anew, undrawn.
    void SetDivisor(int divisor);
    int Divisor() const { return divisor_; }
    int ScreenSize() const { return 256 / divisor_; }
    int Width() const { return kScreenCount * ScreenSize(); }
    int Height() const { return ScreenSize(); }

    // Draws screen (0 to 47) of stage from the renderer's 32x32 chip sheet, as pixel values only.
    void DrawScreen(const EditorGraphics& graphics, const StageData& stage, int screen);
    // Draws every screen, the 32x32 chip sheet first made anew from the 16x16 chip sheet (the pages make it
    // only when they are shown, and the 16x16 chip page may have loaded another BG bank since).
    void DrawAll(EditorGraphics& graphics, const StageData& stage);
    // Puts the pixels of the screens drawn since the last call into the view in the current colours.
    void ShowDrawn(const EditorGraphics& graphics);
    // Puts the whole picture into the view in the renderer's current stage palette.
    void Recolour(const EditorGraphics& graphics);
    // Whether the renderer's stage palette differs from the one the view shows.
    bool ColoursDiffer(const EditorGraphics& graphics) const;

    const QImage& View() const { return view_; }
    const IndexedBitmap& Pixels() const { return pixels_; }
    // How often screen has been drawn (tests tell with it which screens an edit redrew).
    std::uint64_t DrawCount(int screen) const;

private:
    void TakePalette(const EditorGraphics& graphics);

    int divisor_ = 4;
    IndexedBitmap pixels_;
    QImage view_;
    std::vector<bool> pending_;
    std::vector<std::uint64_t> draws_;
};
