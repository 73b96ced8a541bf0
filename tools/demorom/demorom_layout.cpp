// The layout check of the demo image: every region is claimed before it is written, and a claim outside the
// image or over an earlier region stops the build.

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "demorom_parts.h"

namespace demo {

ImageBuilder::ImageBuilder() {
    layout_.image.assign(kDemoRomSize, 0);
}

u8* ImageBuilder::Claim(const std::string& name, u32 begin, u32 size) {
    if (size == 0 || begin > kDemoRomSize || size > kDemoRomSize - begin) {
        throw std::logic_error("demo image: region outside the image: " + name);
    }
    const u32 end = begin + size;
    for (const auto& r : layout_.regions) {
        if (begin < r.end && r.begin < end) {
            throw std::logic_error("demo image: region " + name + " overlaps " + r.name);
        }
    }
    layout_.regions.push_back({name, begin, end});
    return layout_.image.data() + begin;
}

void ImageBuilder::Put(const std::string& name, u32 begin, const std::vector<u8>& bytes) {
    u8* p = Claim(name, begin, static_cast<u32>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), p);
}

DemoRomLayout ImageBuilder::Take() {
    return std::move(layout_);
}

u32 Arena::Alloc(u32 size) {
    if (size > end_ - next_) throw std::logic_error("demo image: record area full");
    const u32 at = next_;
    next_ += size;
    return at;
}

std::string Name(const char* fmt, int n) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, n);
    return buf;
}
std::string StageName(int stage, const char* table) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "stage %02d %s", stage, table);
    return buf;
}

}  // namespace demo
