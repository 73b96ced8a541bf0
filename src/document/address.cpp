#include "document/address.h"

#include <string>

#include "document/MyIniFiles.h"

namespace {

constexpr const char* kLevelSection = "LevelDataAddress";
constexpr const char* kShareSection = "ShareData";
constexpr const char* kAddressSection = "Address";

struct TableInfo {
    const char* key;
    std::int32_t def;
};

// In the order of the "LevelDataAddress" section (and of StageTable).
constexpr TableInfo kTables[kStageTableCount] = {
    {"Chip16x16", 0x40010},
    {"ChipProperty", 0x40410},
    {"Chip32x32", 0x40510},
    {"MapSet", 0x40910},
    {"Map", 0x41510},
    {"BGPalette", 0x415A0},
    {"BGPaletteAnime", 0x415B0},
    {"ObjectScreen", 0x41110},
    {"ObjectX", 0x41190},
    {"ObjectY", 0x41210},
    {"ObjectKind", 0x41290},
    {"ObjectOffset", 0x41310},
    {"ScrollData", 0x41540},
    {"ScrollGraphicsLoad", 0x41570},
};

// In the order of the "Address" section (and of the accessors).
constexpr TableInfo kSingles[11] = {
    {"PaletteAnimationPointerLow", 0x41D3C},
    {"PaletteAnimationPointerHigh", 0x41D7C},
    {"PaletteAnimationData", 0x41B53},
    {"PaletteAnimationPalette", 0x418D7},
    {"MidPointData", 0x7C8BB},
    {"InitialGraphicsPointerLow", 0x51810},
    {"InitialGraphicsPointerHigh", 0x51880},
    {"ScrollGraphicsPointerLow", 0x53810},
    {"ScrollGraphicsPointerHigh", 0x53870},
    {"InitialGraphicsPointerMax", 0x6F},
    {"ScrollGraphicsPointerMax", 0x4F},
};

// The four tables a stage can take over from another stage.
constexpr StageTable kShareable[] = {StageTable::Chip16x16, StageTable::ChipProperty, StageTable::Chip32x32,
                                     StageTable::MapSet};

std::string ShareKey(int stage) {
    return "level." + std::to_string(stage);
}

}  // namespace

AddressData::AddressData(TMyMemIniFile& ini) {
    for (int t = 0; t < kStageTableCount; ++t) {
        std::int32_t a = ini.ReadHex(kLevelSection, kTables[t].key, kTables[t].def);
        table_[t][0] = a;
        ini.WriteHex(kLevelSection, kTables[t].key, a);
    }
    // Addresses come from a hand-edited file and may be anything; the stride wraps around in 32 bits
    // instead of overflowing. Every access to the image checks the address against the buffer anyway.
    for (int s = 1; s < kStageCount; ++s)
        for (int t = 0; t < kStageTableCount; ++t)
            table_[t][s] = static_cast<std::int32_t>(static_cast<std::uint32_t>(table_[t][s - 1]) +
                                                     static_cast<std::uint32_t>(kStageStride));
    // Ascending order: a stage that names a lower stage gets what that stage has after its own redirection.
    for (int s = 0; s < kStageCount; ++s) {
        int m = ReadShareTarget(ini, s);
        if (m == s) continue;
        for (StageTable t : kShareable) table_[static_cast<int>(t)][s] = table_[static_cast<int>(t)][m];
        ini.WriteInteger(kShareSection, ShareKey(s), m);
    }
    for (int i = 0; i < 11; ++i) {
        std::int32_t a = ini.ReadHex(kAddressSection, kSingles[i].key, kSingles[i].def);
        single_[i] = a;
        ini.WriteHex(kAddressSection, kSingles[i].key, a);
    }
}

std::int32_t AddressData::TableAddress(StageTable table, int stage) const {
    int t = static_cast<int>(table);
    if (t < 0 || t >= kStageTableCount || stage < 0 || stage >= kStageCount)
        return -1;  // outside the buffer: reads give 0, writes are dropped
    return table_[t][stage];
}

const char* AddressData::TableKeyName(StageTable table) {
    int t = static_cast<int>(table);
    return (t >= 0 && t < kStageTableCount) ? kTables[t].key : "";
}

std::int32_t AddressData::TableDefault(StageTable table) {
    int t = static_cast<int>(table);
    return (t >= 0 && t < kStageTableCount) ? kTables[t].def : 0;
}

int AddressData::ReadShareTarget(const TMyMemIniFile& ini, int stage) {
    std::int32_t m = ini.ReadInteger(kShareSection, ShareKey(stage), stage);
    if (m < 0 || m >= kStageCount)
        return stage;  // no meaning in the data model: no sharing, and the line is left as it is
    return m;
}
