// The shipped colour table: reproducible from the palette maker, and a plausible NTSC palette.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "ntscpalette.h"

namespace {

std::vector<unsigned char> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Rgb {
    int r, g, b;
};
Rgb At(const std::array<std::uint8_t, 192>& p, int n) {
    return {p[3 * n], p[3 * n + 1], p[3 * n + 2]};
}

}  // namespace

TEST(PaletteData, ShippedFileIsWhatThePaletteMakerComputes) {
    const auto file = ReadFile(QUORVEN_DATA_DIR "/fcpalette.pal");
    ASSERT_EQ(file.size(), 192u);
    const auto computed = ComputeNtscPalette();
    EXPECT_TRUE(std::equal(file.begin(), file.end(), computed.begin()));
}

TEST(PaletteData, ColoursHaveTheirExpectedCharacter) {
    const auto p = ComputeNtscPalette();
    // Columns E and F and the 0D of the darkest row are black; 20 and 30 white.
    for (int n : {0x0D, 0x0E, 0x0F, 0x1E, 0x1F, 0x2E, 0x2F, 0x3E, 0x3F}) {
        const Rgb c = At(p, n);
        EXPECT_EQ(c.r + c.g + c.b, 0) << std::hex << n;
    }
    for (int n : {0x20, 0x30}) {
        const Rgb c = At(p, n);
        EXPECT_EQ(c.r + c.g + c.b, 3 * 255) << std::hex << n;
    }
    // Column 0 and column D are greys, brighter row by row.
    int last = -1;
    for (int n : {0x2D, 0x00, 0x10, 0x3D}) {
        const Rgb c = At(p, n);
        EXPECT_EQ(c.r, c.g) << std::hex << n;
        EXPECT_EQ(c.g, c.b) << std::hex << n;
        EXPECT_GT(c.r, last) << std::hex << n;
        last = c.r;
    }
    // Hue 1 is blue, hue 5 red, hue 9 and A green, in every row.
    for (int row = 0; row < 4; ++row) {
        const Rgb blue = At(p, 0x10 * row + 1), red = At(p, 0x10 * row + 5), green = At(p, 0x10 * row + 0x0A);
        EXPECT_GT(blue.b, blue.r) << row;
        EXPECT_GT(blue.b, blue.g) << row;
        EXPECT_GT(red.r, red.g) << row;
        EXPECT_GT(red.r, red.b) << row;
        EXPECT_GT(green.g, green.r) << row;
        EXPECT_GT(green.g, green.b) << row;
    }
    // Each hue gets lighter from row 0 to row 3.
    for (int hue = 1; hue <= 0x0C; ++hue)
        for (int row = 0; row < 3; ++row) {
            const Rgb a = At(p, 0x10 * row + hue), b = At(p, 0x10 * (row + 1) + hue);
            EXPECT_LT(a.r + a.g + a.b, b.r + b.g + b.b) << hue << " " << row;
        }
}
