#include "document/stagesnapshot.h"

#include <algorithm>

#include "document/fileio.h"

void StageSnapshot::Take(const RomImageData& rom) {
    const StageData& s = rom.StageAt(rom.CurrentStage());
    taken_ = true;
    loaded_ = rom.IsLoaded();
    stage_ = rom.CurrentStage();
    imageGeneration_ = rom.ImageGeneration();
    historyRevision_ = s.HistoryRevision();
    chip16_.assign(s.Chip16x16Tiles(), s.Chip16x16Tiles() + kChip16x16TilesSize);
    chipProp_.assign(s.ChipProperties(), s.ChipProperties() + kChipPropertySize);
    chip32_.assign(s.Chip32x32(), s.Chip32x32() + kChip32x32Size);
    mapSets_.assign(s.MapSets(), s.MapSets() + kMapSetTableSize);
    map_.assign(s.Map(), s.Map() + kScreenCount);
    palettes_.clear();
    for (int p = 0; p < kPaletteSetCount; ++p) {
        palettes_.insert(palettes_.end(), s.BGPalette(p), s.BGPalette(p) + 16);
        palettes_.insert(palettes_.end(), s.PaletteAnime(p), s.PaletteAnime(p) + 4);
    }
    objects_.clear();
    objectStart_.assign(kScreenCount + 1, 0);
    for (int screen = 0; screen < kScreenCount; ++screen) {
        objectStart_[static_cast<std::size_t>(screen)] = static_cast<std::uint32_t>(objects_.size());
        for (const ObjectEntry& e : s.ScreenObjects(screen)) objects_.insert(objects_.end(), {e.x, e.y, e.kind});
    }
    objectStart_[kScreenCount] = static_cast<std::uint32_t>(objects_.size());
}

StageChange StageSnapshot::Compare(const StageSnapshot& newer) const {
    StageChange c;
    if (!taken_ || !newer.taken_ || loaded_ != newer.loaded_ || stage_ != newer.stage_ ||
        imageGeneration_ != newer.imageGeneration_) {
        c.whole = true;
        return c;
    }
    c.history = historyRevision_ != newer.historyRevision_;
    // 16x16 chip c keeps its tiles at c, 256 + c, 512 + c and 768 + c.
    for (int i = 0; i < kChip16x16TilesSize; ++i)
        if (chip16_[static_cast<std::size_t>(i)] != newer.chip16_[static_cast<std::size_t>(i)]) c.chip16.set(i % 256);
    for (int i = 0; i < kChipPropertySize; ++i)
        if (chipProp_[static_cast<std::size_t>(i)] != newer.chipProp_[static_cast<std::size_t>(i)]) c.chip16.set(i);
    // 32x32 chip c keeps its four quarters at 4c to 4c + 3.
    for (int i = 0; i < kChip32x32Size; ++i)
        if (chip32_[static_cast<std::size_t>(i)] != newer.chip32_[static_cast<std::size_t>(i)]) c.chip32.set(i / 4);
    for (int i = 0; i < kMapSetTableSize; ++i)
        if (mapSets_[static_cast<std::size_t>(i)] != newer.mapSets_[static_cast<std::size_t>(i)])
            c.mapSets.set(i / kMapSetSize);
    for (int i = 0; i < kScreenCount; ++i)
        if (map_[static_cast<std::size_t>(i)] != newer.map_[static_cast<std::size_t>(i)]) c.mapScreens.set(i);
    c.palettes = palettes_ != newer.palettes_;
    for (int screen = 0; screen < kScreenCount; ++screen) {
        const auto s = static_cast<std::size_t>(screen);
        const auto a0 = objects_.begin() + objectStart_[s], a1 = objects_.begin() + objectStart_[s + 1];
        const auto b0 = newer.objects_.begin() + newer.objectStart_[s];
        const auto b1 = newer.objects_.begin() + newer.objectStart_[s + 1];
        if (!std::equal(a0, a1, b0, b1)) c.objectScreens.set(screen);
    }
    return c;
}
