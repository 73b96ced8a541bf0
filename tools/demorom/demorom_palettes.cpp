// The palettes of the demo image: seven palette sets per stage drawn from its theme, and the palette
// animations (the feature colours of each stage, the twinkling stars of its night set).

#include <algorithm>
#include <array>
#include <vector>

#include "demorom_parts.h"

namespace demo {
namespace {

u8 Darker(u8 c) {
    const int hue = c & 0x0F, level = c >> 4;
    if (hue >= 0x0D) return c;
    if (level == 0) return 0x0F;
    return static_cast<u8>(c - 0x10);
}
u8 Lighter(u8 c) {
    const int hue = c & 0x0F, level = c >> 4;
    if (c == 0x0F) return 0x2D;
    if (hue >= 0x0D || level == 3) return c;
    return static_cast<u8>(c + 0x10);
}
u8 HueShift(u8 c, int d) {
    const int hue = c & 0x0F;
    if (hue == 0 || hue >= 0x0D) return c;
    return static_cast<u8>((c & 0xF0) | (((hue - 1 + d + 120) % 12) + 1));
}
u8 Grey(u8 c) {
    const int hue = c & 0x0F, level = c >> 4;
    if (c == 0x0F || hue == 0x0D || hue >= 0x0E) return c;
    static const u8 kGreys[4] = {0x2D, 0x00, 0x10, 0x20};
    return hue == 0 ? c : kGreys[level];
}

using Triple = std::array<u8, 3>;
struct Animation {
    u8 delay = 8;
    std::vector<Triple> steps;
};

Animation FeatureAnimation(const Theme& th) {
    const u8 f1 = th.pal[13], f2 = th.pal[14], f3 = th.pal[15];
    Animation a;
    switch (th.feature) {
    case Feature::Water:  // shimmer: the ripple colours swap
        a.delay = 12;
        a.steps = {{f1, f2, f3}, {f1, f3, f2}};
        break;
    case Feature::Lava:
        a.delay = 6;
        a.steps = {{f1, f2, f3}, {f1, f3, f2}, {f2, f3, f3}};
        break;
    case Feature::Conveyor:  // belt stripes move: the three colours rotate
        a.delay = 4;
        a.steps = {{f1, f2, f3}, {f2, f3, f1}, {f3, f1, f2}};
        break;
    case Feature::Lights:
        if (th.fastLights) {
            a.delay = 1;
            a.steps = {{f1, f2, f3}, {f1, f3, f2}};
        } else {
            a.delay = 16;
            a.steps = {{f1, f2, f3}, {f1, f2, f3}, {f1, f2, f3}, {f1, f1, f2}};
        }
        break;
    }
    return a;
}

std::array<PaletteSet, 7> BuildPaletteSets(const Theme& th, int stage) {
    std::array<PaletteSet, 7> sets{};
    const u8 feature = static_cast<u8>(0x80 + stage), twinkle = static_cast<u8>(0x80 + 16 + stage);
    sets[0].colours = th.pal;
    sets[0].anim = {0, 0, 0, feature};
    for (int i = 0; i < 16; ++i) {
        const u8 c = th.pal[i];
        sets[1].colours[i] = i % 4 == 0 ? c : Darker(c);
        sets[2].colours[i] = i % 4 == 0 ? 0x0F : Darker(c);
        sets[3].colours[i] = HueShift(c, 2);
        sets[4].colours[i] = HueShift(c, 9);
        sets[5].colours[i] = Lighter(c);
        sets[6].colours[i] = Grey(c);
    }
    sets[2].colours[3] = 0x30;  // stars
    sets[1].anim = {0, 0, 0, feature};
    sets[2].anim = {twinkle, 0, 0, feature};
    sets[4].anim = {0, 0, 0, feature};
    return sets;
}

Animation TwinkleAnimation(const PaletteSet& night) {
    Animation a;
    a.delay = 24;
    a.steps = {{night.colours[1], night.colours[2], night.colours[3]},
               {night.colours[1], night.colours[2], Darker(night.colours[3])},
               {night.colours[1], night.colours[2], night.colours[3]},
               {night.colours[1], night.colours[2], Lighter(night.colours[2])}};
    return a;
}

}  // namespace

std::array<StagePaletteSets, kStages> WritePaletteAnimations(ImageBuilder& img) {
    std::vector<Animation> animations;
    std::array<StagePaletteSets, kStages> palettes{};
    for (int s = 0; s < kStages; ++s) {
        palettes[s] = BuildPaletteSets(kThemes[s], s);
        animations.push_back(FeatureAnimation(kThemes[s]));
    }
    for (int s = 0; s < kStages; ++s) animations.push_back(TwinkleAnimation(palettes[s][2]));
    {
        std::vector<Triple> triples;
        std::vector<u8> records;
        std::vector<u32> recordAt;
        for (const auto& a : animations) {
            recordAt.push_back(kAnimData + static_cast<u32>(records.size()));
            records.push_back(static_cast<u8>(a.steps.size() - 1));  // last step index
            records.push_back(a.delay);
            for (const auto& t : a.steps) {
                auto it = std::find(triples.begin(), triples.end(), t);
                if (it == triples.end()) it = triples.insert(triples.end(), t);
                records.push_back(static_cast<u8>(it - triples.begin()));
            }
        }
        std::vector<u8> tripleBytes;
        for (const auto& t : triples) tripleBytes.insert(tripleBytes.end(), t.begin(), t.end());
        img.Put("palette animation triples", kAnimPalette, tripleBytes);
        img.Put("palette animation records", kAnimData, records);
        u8* lo = img.Claim("palette animation pointers low", kAnimPointerLow, kAnimPointerCount);
        u8* hi = img.Claim("palette animation pointers high", kAnimPointerHigh, kAnimPointerCount);
        for (int k = 0; k < kAnimPointerCount; ++k) {
            const u32 at = recordAt[static_cast<std::size_t>(k) < recordAt.size() ? k : 0];
            const u32 ptr = at - kAnimData + kAnimDataPointer;
            lo[k] = static_cast<u8>(ptr & 0xFF);
            hi[k] = static_cast<u8>(ptr >> 8);
        }
    }
    return palettes;
}

void WriteStagePalettes(ImageBuilder& img, int s, const StagePaletteSets& sets) {
    const u32 base = kStageStride * static_cast<u32>(s);
    std::vector<u8> pal;
    for (const auto& set : sets) {
        pal.insert(pal.end(), set.colours.begin(), set.colours.end());
        pal.insert(pal.end(), set.anim.begin(), set.anim.end());
    }
    img.Put(StageName(s, "palette sets"), kPaletteAddr + base, pal);
}

}  // namespace demo
