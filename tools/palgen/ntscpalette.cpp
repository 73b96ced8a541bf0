#include "ntscpalette.h"

#include <algorithm>
#include <cmath>

namespace {

// Composite levels in volts for luma rows 0 to 3: the low and the high half of the square wave.
constexpr double kLow[4] = {0.350, 0.518, 0.962, 1.550};
constexpr double kHigh[4] = {1.094, 1.506, 1.962, 1.962};
constexpr double kBlack = 0.518;
constexpr double kWhite = 1.962;
constexpr double kPi = 3.14159265358979323846;
// Phase of hue 0 relative to the colour burst, in twelfths of a cycle, tuned so that hue 1 is blue,
// hue 5 red and hue 10 green.
constexpr double kHueOffset = 3.5;
constexpr double kSaturation = 1.15;

std::uint8_t ToByte(double linear) {
    linear = std::clamp(linear, 0.0, 1.0);
    return static_cast<std::uint8_t>(std::lround(linear * 255.0));
}

}  // namespace

std::array<std::uint8_t, 192> ComputeNtscPalette() {
    std::array<std::uint8_t, 192> out{};
    for (int n = 0; n < 64; ++n) {
        const int hue = n & 0x0F;
        const int level = (n >> 4) & 3;
        double y = 0.0, i = 0.0, q = 0.0;
        for (int p = 0; p < 12; ++p) {
            double v;
            if (hue == 0) {
                v = kHigh[level];
            } else if (hue == 0x0D) {
                v = kLow[level];
            } else if (hue >= 0x0E) {
                v = kBlack;
            } else {
                v = ((hue + p) % 12 < 6) ? kHigh[level] : kLow[level];
            }
            v = (v - kBlack) / (kWhite - kBlack);
            const double angle = 2.0 * kPi * (p + kHueOffset) / 12.0;
            y += v;
            i += v * std::cos(angle);
            q += v * std::sin(angle);
        }
        y /= 12.0;
        i = i / 12.0 * kSaturation;
        q = q / 12.0 * kSaturation;
        // FCC YIQ to RGB.
        const double r = y + 0.956 * i + 0.621 * q;
        const double g = y - 0.272 * i - 0.647 * q;
        const double b = y - 1.106 * i + 1.703 * q;
        out[3 * n] = ToByte(r);
        out[3 * n + 1] = ToByte(g);
        out[3 * n + 2] = ToByte(b);
    }
    return out;
}
