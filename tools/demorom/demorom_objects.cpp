// The objects of the demo image: enemies, items and gimmicks placed where each screen's ground lets them stand.

#include <algorithm>
#include <array>
#include <vector>

#include "demorom_parts.h"

namespace demo {
namespace {

struct Obj {
    int screen, x, y, kind;
};

std::vector<Obj> BuildObjects(int stage, const std::array<int, 48>& map, const std::array<ScreenInfo, 32>& infos) {
    std::vector<Obj> objs;
    Rng r(0x0B1EC700u + static_cast<u32>(stage) * 977u);
    const int enemyBase = (stage * 4) % 0x40;
    for (int screen = 0; screen < 48; ++screen) {
        if (screen % 4 == 3 || screen == 0) continue;
        const ScreenInfo& info = infos[map[screen]];
        const int n = 1 + r.Range(3);
        std::vector<Obj> here;
        std::array<bool, 8> used{};
        for (int k = 0; k < n; ++k) {
            const int col = r.Range(8);
            if (used[col] || info.standRow[col] < 0) continue;
            used[col] = true;
            int kind;
            const int roll = r.Range(10);
            if (roll < 6)
                kind = (enemyBase + r.Range(6)) % 0x40;  // enemies
            else if (roll < 9)
                kind = 0x40 + r.Range(0x18);  // items
            else
                kind = 0x60 + r.Range(0x10);  // gimmicks
            here.push_back({screen, 32 * col + 16, 32 * info.standRow[col] + 24, kind});
        }
        std::sort(here.begin(), here.end(), [](const Obj& a, const Obj& b) { return a.x < b.x; });
        objs.insert(objs.end(), here.begin(), here.end());
    }
    if (objs.size() > 120) objs.resize(120);
    return objs;
}

}  // namespace

void WriteStageObjects(ImageBuilder& img, int s, const StageScreens& screens) {
    const u32 base = kStageStride * static_cast<u32>(s);
    const std::array<int, 48>& map = screens.map;
    const std::array<ScreenInfo, 32>& infos = screens.infos;
    const std::vector<Obj> objs = BuildObjects(s, map, infos);
    std::vector<u8> scr(128, 0xFF), ox(128, 0), oy(128, 0), okind(128, 0), offsets(48, 0);
    for (std::size_t i = 0; i < objs.size(); ++i) {
        scr[i] = static_cast<u8>(objs[i].screen);
        ox[i] = static_cast<u8>(objs[i].x);
        oy[i] = static_cast<u8>(objs[i].y);
        okind[i] = static_cast<u8>(objs[i].kind);
    }
    for (int j = 0; j < 48; ++j)
        offsets[j] =
            static_cast<u8>(std::count_if(objs.begin(), objs.end(), [j](const Obj& o) { return o.screen < j; }));
    img.Put(StageName(s, "object screens"), kObjScreenAddr + base, scr);
    img.Put(StageName(s, "object x"), kObjXAddr + base, ox);
    img.Put(StageName(s, "object y"), kObjYAddr + base, oy);
    img.Put(StageName(s, "object kinds"), kObjKindAddr + base, okind);
    img.Put(StageName(s, "object offsets"), kObjOffsetAddr + base, offsets);
}

}  // namespace demo
