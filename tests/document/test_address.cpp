#include "doc_test_support.h"
#include "document/MyIniFiles.h"
#include "document/address.h"

namespace {

const char* const kLevelKeys[] = {
    "Chip16x16",    "ChipProperty", "Chip32x32", "MapSet",     "Map",          "BGPalette",  "BGPaletteAnime",
    "ObjectScreen", "ObjectX",      "ObjectY",   "ObjectKind", "ObjectOffset", "ScrollData", "ScrollGraphicsLoad"};
const char* const kLevelValues[] = {"40010", "40410", "40510", "40910", "41510", "415A0", "415B0",
                                    "41110", "41190", "41210", "41290", "41310", "41540", "41570"};
const char* const kSingleKeys[] = {"PaletteAnimationPointerLow",
                                   "PaletteAnimationPointerHigh",
                                   "PaletteAnimationData",
                                   "PaletteAnimationPalette",
                                   "MidPointData",
                                   "InitialGraphicsPointerLow",
                                   "InitialGraphicsPointerHigh",
                                   "ScrollGraphicsPointerLow",
                                   "ScrollGraphicsPointerHigh",
                                   "InitialGraphicsPointerMax",
                                   "ScrollGraphicsPointerMax"};
const char* const kSingleValues[] = {"41D3C", "41D7C", "41B53", "418D7", "7C8BB", "51810",
                                     "51880", "53810", "53870", "6F",    "4F"};

TMyMemIniFile IniWith(const TempDir& dir, const std::string& text) {
    WriteText(dir / "q.ini", text);
    return TMyMemIniFile(dir / "q.ini");
}

}  // namespace

TEST(AddressTable, FromNothingWritesEveryKeyWithItsDefaultInOrder) {
    TempDir dir;
    TMyMemIniFile ini(dir / "none.ini");
    AddressData a(ini);
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"LevelDataAddress", "Address"}));
    std::vector<std::string> level(std::begin(kLevelKeys), std::end(kLevelKeys));
    std::vector<std::string> single(std::begin(kSingleKeys), std::end(kSingleKeys));
    EXPECT_EQ(ini.Keys("LevelDataAddress"), level);
    EXPECT_EQ(ini.Keys("Address"), single);
    for (int i = 0; i < kStageTableCount; ++i) {
        EXPECT_EQ(ini.ReadString("LevelDataAddress", kLevelKeys[i], ""), kLevelValues[i]);
        EXPECT_STREQ(AddressData::TableKeyName(static_cast<StageTable>(i)), kLevelKeys[i]);
    }
    for (int i = 0; i < 11; ++i) EXPECT_EQ(ini.ReadString("Address", kSingleKeys[i], ""), kSingleValues[i]);
    ini.UpdateFile();
    TMyMemIniFile written(dir / "none.ini");
    EXPECT_EQ(written.ToText(), ini.ToText());
    EXPECT_EQ(ReadText(dir / "none.ini").rfind("[LevelDataAddress]\nChip16x16=40010\nChipProperty=40410\n", 0), 0u);

    EXPECT_EQ(a.PaletteAnimationPointerLow(), 0x41D3C);
    EXPECT_EQ(a.PaletteAnimationPointerHigh(), 0x41D7C);
    EXPECT_EQ(a.PaletteAnimationData(), 0x41B53);
    EXPECT_EQ(a.PaletteAnimationPalette(), 0x418D7);
    EXPECT_EQ(a.MidPointData(), 0x7C8BB);
    EXPECT_EQ(a.InitialGraphicsPointerLow(), 0x51810);
    EXPECT_EQ(a.InitialGraphicsPointerHigh(), 0x51880);
    EXPECT_EQ(a.ScrollGraphicsPointerLow(), 0x53810);
    EXPECT_EQ(a.ScrollGraphicsPointerHigh(), 0x53870);
    EXPECT_EQ(a.InitialGraphicsPointerMax(), 0x6F);
    EXPECT_EQ(a.ScrollGraphicsPointerMax(), 0x4F);
}

TEST(AddressTable, StagesFollowByTheStride) {
    TempDir dir;
    TMyMemIniFile ini(dir / "none.ini");
    AddressData a(ini);
    EXPECT_EQ(a.TableAddress(StageTable::Chip16x16, 3), 0x46010);
    EXPECT_EQ(a.TableAddress(StageTable::Map, 15), 0x5F510);
    for (int t = 0; t < kStageTableCount; ++t)
        for (int s = 0; s < kStageCount; ++s)
            EXPECT_EQ(a.TableAddress(static_cast<StageTable>(t), s),
                      AddressData::TableDefault(static_cast<StageTable>(t)) + s * 0x2000);
}

TEST(AddressTable, SharingRedirectsOnlyTheFourShareableTables) {
    TempDir dir;
    auto ini = IniWith(dir, "[ShareData]\nlevel.5=4\n");
    AddressData a(ini);
    EXPECT_EQ(a.TableAddress(StageTable::Chip16x16, 5), 0x48010);
    EXPECT_EQ(a.TableAddress(StageTable::ChipProperty, 5), 0x48410);
    EXPECT_EQ(a.TableAddress(StageTable::Chip32x32, 5), 0x48510);
    EXPECT_EQ(a.TableAddress(StageTable::MapSet, 5), 0x48910);
    EXPECT_EQ(a.TableAddress(StageTable::Map, 5), 0x41510 + 5 * 0x2000);
    EXPECT_EQ(a.TableAddress(StageTable::BGPalette, 5), 0x415A0 + 5 * 0x2000);
    EXPECT_EQ(a.TableAddress(StageTable::ObjectScreen, 5), 0x41110 + 5 * 0x2000);
    EXPECT_EQ(a.TableAddress(StageTable::ScrollGraphicsLoad, 5), 0x41570 + 5 * 0x2000);
    EXPECT_EQ(AddressData::ReadShareTarget(ini, 5), 4);
    EXPECT_EQ(AddressData::ReadShareTarget(ini, 4), 4);
    EXPECT_EQ(ini.Keys("ShareData"), (std::vector<std::string>{"level.5"}));
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"ShareData", "LevelDataAddress", "Address"}));
}

TEST(AddressTable, HexadecimalShareValueIsReadAndWrittenBackInDecimal) {
    TempDir dir;
    auto ini = IniWith(dir, "[ShareData]\nLEVEL.9=0x2\n");
    AddressData a(ini);
    EXPECT_EQ(ini.ReadString("ShareData", "level.9", ""), "2");
    EXPECT_EQ(a.TableAddress(StageTable::MapSet, 9), 0x40910 + 2 * 0x2000);
    EXPECT_EQ(a.TableAddress(StageTable::Map, 9), 0x41510 + 9 * 0x2000);
}

TEST(AddressTable, UnsharedValuesStayInTheFileAsTheyWere) {
    TempDir dir;
    auto ini = IniWith(dir,
                       "[ShareData]\nlevel.5=5\nlevel.6=abc\nlevel.7=16\nlevel.8=-1\nlevel.9=99999999999\n"
                       "level.10=0x0F\nlevel.1=1 \n");
    AddressData a(ini);
    EXPECT_EQ(ini.ReadString("ShareData", "level.5", ""), "5");
    EXPECT_EQ(ini.ReadString("ShareData", "level.6", ""), "abc");
    EXPECT_EQ(ini.ReadString("ShareData", "level.7", ""), "16");
    EXPECT_EQ(ini.ReadString("ShareData", "level.8", ""), "-1");
    EXPECT_EQ(ini.ReadString("ShareData", "level.9", ""), "99999999999");
    EXPECT_EQ(ini.ReadString("ShareData", "level.10", ""), "15");  // shares: written back in decimal
    for (int s : {1, 5, 6, 7, 8, 9}) EXPECT_EQ(a.TableAddress(StageTable::Chip16x16, s), 0x40010 + s * 0x2000) << s;
    EXPECT_EQ(a.TableAddress(StageTable::Chip16x16, 10), 0x40010 + 15 * 0x2000);
    EXPECT_EQ(AddressData::ReadShareTarget(ini, 7), 7);
    EXPECT_EQ(AddressData::ReadShareTarget(ini, 8), 8);
}

TEST(AddressTable, SharingIsResolvedInAscendingStageOrder) {
    TempDir dir;
    // 2 -> 1, then 3 -> 2 receives what 2 has after its own redirection (stage 1's addresses).
    auto down = IniWith(dir, "[ShareData]\nlevel.2=1\nlevel.3=2\n");
    AddressData a(down);
    EXPECT_EQ(a.TableAddress(StageTable::MapSet, 3), 0x40910 + 1 * 0x2000);
    // 2 -> 3 takes 3's own stride addresses; 3 -> 1 redirects afterwards and does not affect 2.
    TempDir dir2;
    auto up = IniWith(dir2, "[ShareData]\nlevel.2=3\nlevel.3=1\n");
    AddressData b(up);
    EXPECT_EQ(b.TableAddress(StageTable::MapSet, 2), 0x40910 + 3 * 0x2000);
    EXPECT_EQ(b.TableAddress(StageTable::MapSet, 3), 0x40910 + 1 * 0x2000);
}

TEST(AddressTable, UnparsableHexIsReplacedByTheDefaultAndCaseIsNormalised) {
    TempDir dir;
    auto ini = IniWith(dir,
                       "[LevelDataAddress]\nChip16x16=0x40010\nmap=41D10\nMapSet=zz\nObjectX=123456789\n"
                       "[Address]\npaletteanimationpointerlow=41d3c\nMidPointData=\n");
    AddressData a(ini);
    EXPECT_EQ(ini.ReadString("LevelDataAddress", "Chip16x16", ""), "40010");
    EXPECT_EQ(ini.ReadString("LevelDataAddress", "MapSet", ""), "40910");
    EXPECT_EQ(ini.ReadString("LevelDataAddress", "ObjectX", ""), "41190");  // more than 32 bits
    EXPECT_EQ(a.TableAddress(StageTable::Map, 0), 0x41D10);
    EXPECT_EQ(ini.ReadString("Address", "PaletteAnimationPointerLow", ""), "41D3C");
    EXPECT_EQ(a.PaletteAnimationPointerLow(), 0x41D3C);
    EXPECT_EQ(a.MidPointData(), 0x7C8BB);
    EXPECT_EQ(ini.ReadString("Address", "MidPointData", ""), "7C8BB");
}

TEST(AddressTable, ExtremeAddressesWrapInsteadOfOverflowing) {
    TempDir dir;
    auto ini = IniWith(dir, "[LevelDataAddress]\nChip16x16=7FFFFFFF\nMap=FFFFFFFF\n");
    AddressData a(ini);
    EXPECT_EQ(a.TableAddress(StageTable::Chip16x16, 0), INT32_MAX);
    EXPECT_EQ(a.TableAddress(StageTable::Chip16x16, 1), static_cast<std::int32_t>(0x80001FFFu));
    EXPECT_EQ(a.TableAddress(StageTable::Map, 0), -1);
    EXPECT_EQ(a.TableAddress(StageTable::Map, 1), 0x1FFF);
    EXPECT_EQ(ini.ReadString("LevelDataAddress", "Map", ""), "FFFFFFFF");
    EXPECT_LT(a.TableAddress(StageTable::Map, 16), 0);  // no such stage: an address outside the image
    EXPECT_LT(a.TableAddress(StageTable::Map, -1), 0);
}
