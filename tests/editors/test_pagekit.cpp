// The page kit: cells under positions, the hover outline that touches only two cells, the filling guard and
// the two-digit hexadecimal byte field.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QWidget>
#include <array>
#include <vector>

#include "document/MyIniFiles.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "editors/ImageEx.h"
#include "editors/pagekit.h"
#include "graphics/graphics.h"

namespace {

TEST(CellAt, GridCellsAndEverythingOutside) {
    EXPECT_EQ(CellAt(0, 0, 16, 16, 16, 16), 0);
    EXPECT_EQ(CellAt(255, 255, 16, 16, 16, 16), 255);
    EXPECT_EQ(CellAt(31, 16, 16, 16, 16, 16), 17);
    EXPECT_EQ(CellAt(40, 70, 32, 32, 8, 8), 2 * 8 + 1);
    EXPECT_FALSE(CellAt(-1, 0, 16, 16, 16, 16));
    EXPECT_FALSE(CellAt(0, -1, 16, 16, 16, 16));
    EXPECT_FALSE(CellAt(256, 0, 16, 16, 16, 16));
    EXPECT_FALSE(CellAt(0, 256, 16, 16, 16, 16));
    EXPECT_FALSE(CellAt(5, 5, 0, 16, 16, 16));  // a degenerate grid has no cells

    TImageEx view("V", 512, 256);
    EXPECT_EQ(CellAt(&view, 511, 255, 32), 7 * 16 + 15);
    EXPECT_FALSE(CellAt(&view, 512, 0, 32));
    EXPECT_FALSE(CellAt(nullptr, 0, 0, 32));
    EXPECT_TRUE(InsideView(&view, 0, 0));
    EXPECT_FALSE(InsideView(&view, 0, 256));
}

class GridHoverTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::array<std::uint8_t, 192> colours{};
        for (int i = 0; i < 192; ++i) colours[std::size_t(i)] = std::uint8_t(i);
        palette_ = std::make_unique<FcPaletteData>(FcPaletteData::FromBytes(colours));
        rom_ = std::make_unique<RomImageData>(flags_, ini_);
        graphics_ = std::make_unique<EditorGraphics>(*palette_, *rom_);
        view_ = std::make_unique<TImageEx>("V", 64, 64);
        view_->Picture().fill(Qt::black);
    }
    QRgb Pixel(int x, int y) { return view_->Picture().pixel(x, y) & 0xFFFFFF; }
    QRgb Magenta() { return graphics_->MasterColor(EditorGraphics::kMagenta) & 0xFFFFFF; }

    EditFlagManagement flags_{nullptr};
    TMyMemIniFile ini_{std::filesystem::path()};
    std::unique_ptr<FcPaletteData> palette_;
    std::unique_ptr<RomImageData> rom_;
    std::unique_ptr<EditorGraphics> graphics_;
    std::unique_ptr<TImageEx> view_;
};

TEST_F(GridHoverTest, AMoveTouchesTwoCellsALeaveOneAndTheSameCellNone) {
    std::vector<int> repainted;
    GridHover hover(*graphics_, 16, 4, [&](int cell) {
        repainted.push_back(cell);
        graphics_->FillBlock(view_->Picture(), 16 * (cell % 4), 16 * (cell / 4), 16, 16, 0x0F);
    });
    hover.SetView(view_.get());

    hover.MoveTo(5);  // nothing framed before: only the outline
    EXPECT_EQ(hover.CellsTouched(), 1u);
    EXPECT_TRUE(repainted.empty());
    EXPECT_EQ(Pixel(16, 16), Magenta());
    EXPECT_EQ(Pixel(31, 31), Magenta());
    EXPECT_NE(Pixel(20, 20), Magenta());

    hover.MoveTo(5);  // the same cell: nothing drawn
    EXPECT_EQ(hover.CellsTouched(), 1u);

    hover.MoveTo(6);  // old cell repainted, new one outlined
    EXPECT_EQ(hover.CellsTouched(), 3u);
    EXPECT_EQ(repainted, std::vector<int>{5});
    EXPECT_NE(Pixel(16, 16), Magenta());
    EXPECT_EQ(Pixel(32, 16), Magenta());

    hover.Leave();
    EXPECT_EQ(hover.CellsTouched(), 4u);
    EXPECT_EQ(repainted, (std::vector<int>{5, 6}));
    EXPECT_EQ(hover.Current(), -1);
    hover.Leave();  // nothing framed: nothing to repaint
    EXPECT_EQ(hover.CellsTouched(), 4u);
}

TEST_F(GridHoverTest, ForgetDrawsNothingAndReoutlineFramesTheCurrentCellAgain) {
    int repaints = 0, afters = 0;
    GridHover hover(*graphics_, 32, 2, [&](int) { ++repaints; });
    hover.SetView(view_.get());
    hover.SetAfterRepaint([&] { ++afters; });
    hover.MoveTo(3);
    view_->Picture().fill(Qt::black);  // the view drawn anew
    hover.Reoutline();
    EXPECT_EQ(Pixel(32, 32), Magenta());
    hover.MoveTo(0);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(afters, 1);
    hover.Forget();
    hover.MoveTo(1);
    EXPECT_EQ(repaints, 1);  // a forgotten cell is not repainted
    hover.MoveTo(-7);        // any negative cell means none
    EXPECT_EQ(hover.Current(), -1);
    EXPECT_EQ(repaints, 2);
}

TEST(FillingGuard, SetsTheFlagAndRestoresTheEarlierValueSoGuardsNest) {
    bool filling = false;
    {
        const FillingGuard outer(filling);
        EXPECT_TRUE(filling);
        {
            const FillingGuard inner(filling);
            EXPECT_TRUE(filling);
        }
        EXPECT_TRUE(filling);
    }
    EXPECT_FALSE(filling);
}

TEST(HexByteField, ShowsWithoutSignalsAndTakesOnlyTwoHexDigits) {
    QWidget parent;
    const HexByteField field = HexByteField::Make(&parent, "EditX", 1, 2, 30, 20, 7);
    ASSERT_TRUE(field);
    EXPECT_EQ(field.Edit()->objectName(), "EditX");
    EXPECT_EQ(field.Edit()->maxLength(), 2);
    EXPECT_EQ(field.Edit()->property("Tag").toInt(), 7);
    EXPECT_EQ(field.Edit()->geometry(), QRect(1, 2, 30, 20));

    QSignalSpy changed(field.Edit(), &QLineEdit::textChanged);
    field.Show(0x3A);
    EXPECT_EQ(field.Edit()->text(), "3A");
    field.Show(0x1FF);  // the low byte
    EXPECT_EQ(field.Edit()->text(), "FF");
    EXPECT_EQ(changed.count(), 0);

    field.Edit()->setText("c");
    EXPECT_FALSE(field.Take(0x12));  // still being typed: left as it is
    EXPECT_EQ(field.Edit()->text(), "c");
    field.Edit()->setText("c4");
    EXPECT_EQ(field.Take(0x12), 0xC4);
    field.Edit()->setText("G1");
    EXPECT_FALSE(field.Take(0x12));  // not hexadecimal: the stored value comes back
    EXPECT_EQ(field.Edit()->text(), "12");
    field.Edit()->setText(" 1");
    EXPECT_FALSE(field.Take(0x05));
    EXPECT_EQ(field.Edit()->text(), "05");
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
