#pragma once
// Computes the 64-colour master table shipped as "fcpalette.pal" by simulating the console's composite
// video signal: every colour number is a square wave between two voltage levels at one of twelve phases
// of the colour subcarrier; the wave is decoded to YIQ and converted to sRGB.

#include <array>
#include <cstdint>

std::array<std::uint8_t, 192> ComputeNtscPalette();
