#include "doc_test_support.h"
#include "document/usagesearch.h"

// Each kind of target finds exactly its uses, in table order; a number no table can hold finds none.
TEST(UsageSearch, FindsEveryUseInTableOrder) {
    TempDir dir;
    WriteText(dir / "q.ini", "");
    TMyMemIniFile ini(dir / "q.ini");
    AddressData addresses(ini);
    std::vector<Byte> image(kImageCapacity, 0);
    StageData st(0, image.data(), addresses);
    st.ReadAllTables();
    for (int s = 0; s < kScreenCount; ++s) st.ClearScreenObjects(s);
    st.SetChip32x32Byte(4 * 0xFF + 1, 0x2A);
    st.SetChip32x32Byte(4 * 0x5C + 3, 0x2A);
    st.SetChip32x32Byte(4 * 0x5C + 0, 0x2A);
    st.SetMapSetByte(64 * 31 + 63, 0x5C);
    st.SetMapSetByte(64 * 3 + 2 + 8 * 5, 0x5C);
    st.SetMapEntry(47, 3);
    st.SetMapEntry(0x1A, 3);
    st.SetMapEntry(5, 0x23);
    st.AppendObject(0x1A, 0x40, 0xB0, 7);
    st.AppendObject(0x1A, 0x10, 0x10, 8);
    st.AppendObject(0x1A, 0x20, 0x30, 7);
    st.AppendObject(2, 1, 2, 7);
    using K = UsageTargetKind;
    using P = UsePlace;
    const struct {
        UsageTarget target;
        std::vector<Usage> uses;
    } cases[] = {
        {{K::Chip16, 0x2A}, {{P::Chip32Quarter, 0x5C, 0}, {P::Chip32Quarter, 0x5C, 3}, {P::Chip32Quarter, 0xFF, 1}}},
        {{K::Chip32, 0x5C}, {{P::MapSetCell, 3, 42}, {P::MapSetCell, 31, 63}}},
        {{K::MapSet, 3}, {{P::Screen, 0x1A}, {P::Screen, 47}}},
        {{K::ObjectKind, 7},
         {{P::Object, 2, 0, 1, 2}, {P::Object, 0x1A, 0, 0x40, 0xB0}, {P::Object, 0x1A, 2, 0x20, 0x30}}},
        {{K::ObjectKind, 8}, {{P::Object, 0x1A, 1, 0x10, 0x10}}},
        {{K::MapSet, 0x23}, {}},  // a map byte past the 32 map sets names none
        {{K::Chip16, 0x100}, {}},
        {{K::Chip32, -1}, {}},
        {{K::ObjectKind, 9}, {}},
        {{K::None, 0}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindUsages(st, c.target), c.uses) << int(c.target.kind) << " " << c.target.number;
    EXPECT_EQ(FindUsages(st, {K::Chip16, 0}).size(), 1024u - 3u);  // the rest of the zeroed table
}
