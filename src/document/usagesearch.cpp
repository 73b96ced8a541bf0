#include "document/usagesearch.h"

namespace {

constexpr int kChip32Count = kChip32x32Size / 4;

}  // namespace

void FindUsages(const StageData& stage, UsageTarget target, std::vector<Usage>& out) {
    out.clear();
    const int n = target.number;
    switch (target.kind) {
    case UsageTargetKind::None: return;
    case UsageTargetKind::Chip16: {
        if (n < 0 || n > 0xFF) return;
        const Byte* chips = stage.Chip32x32();
        for (int i = 0; i < kChip32x32Size; ++i)
            if (chips[i] == n) out.push_back(Usage{UsePlace::Chip32Quarter, i / 4, i % 4});
        return;
    }
    case UsageTargetKind::Chip32: {
        if (n < 0 || n >= kChip32Count) return;
        const Byte* sets = stage.MapSets();
        for (int i = 0; i < kMapSetTableSize; ++i)
            if (sets[i] == n) out.push_back(Usage{UsePlace::MapSetCell, i / kMapSetSize, i % kMapSetSize});
        return;
    }
    case UsageTargetKind::MapSet: {
        // Only 0 to 31 name a map set; a map byte past them names none.
        if (n < 0 || n >= kMapSetCount) return;
        const Byte* map = stage.Map();
        for (int s = 0; s < kScreenCount; ++s)
            if (map[s] == n) out.push_back(Usage{UsePlace::Screen, s, 0});
        return;
    }
    case UsageTargetKind::ObjectKind: {
        if (n < 0 || n > 0xFF) return;
        for (int s = 0; s < kScreenCount; ++s) {
            int place = 0;
            for (const ObjectEntry& e : stage.ScreenObjects(s)) {
                if (e.kind == n) out.push_back(Usage{UsePlace::Object, s, place, e.x, e.y});
                ++place;
            }
        }
        return;
    }
    }
}

std::vector<Usage> FindUsages(const StageData& stage, UsageTarget target) {
    std::vector<Usage> out;
    FindUsages(stage, target, out);
    return out;
}
