#pragma once
// The demo ROM image: a well-formed 0x80010-byte iNES image whose sixteen stages, graphics load tables,
// tile banks, palettes, palette animations and object lists are all drawn and composed by code, so that a
// newcomer (and every test) has a real-looking image to open. The same bytes come out on every run.

#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t kDemoRomSize = 0x80010;

// One byte range the generator wrote, [begin, end), with a name telling what lies there
// ("stage 03 chip16x16", "initial record 12", "tiles stage 05", "palette animation triples", ...).
struct DemoRomRegion {
    std::string name;
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};

struct DemoRomLayout {
    std::vector<std::uint8_t> image;     // kDemoRomSize bytes
    std::vector<DemoRomRegion> regions;  // in the order written; pairwise disjoint, all inside the image
};

// Builds the image and the list of regions written. Throws std::logic_error if the generator's own
// layout ever lets two regions overlap or a region leave the image.
DemoRomLayout BuildDemoRomLayout();

// The image alone.
std::vector<std::uint8_t> BuildDemoRom();
