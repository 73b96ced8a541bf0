// IPS and BPS patches: the formats as other tools read them, round trips, refusals of damaged or misapplied
// patches, and the document's original bytes and composed image the editor makes its patches from.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "doc_test_support.h"
#include "document/patch.h"

using namespace patchfile;

namespace {

Bytes Text(const char* s) {
    return Bytes(s, s + std::strlen(s));
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The BPS number encoding as the format description gives it, written independently of the library's.
void Number(Bytes& out, std::uint64_t n) {
    while (true) {
        std::uint8_t x = n & 0x7F;
        n >>= 7;
        if (n == 0) {
            out.push_back(0x80 | x);
            break;
        }
        out.push_back(x);
        n--;
    }
}

void Le32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<Byte>(v >> (8 * i)));
}

std::uint32_t ReadLe32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// The records of an IPS patch as (offset, size, run) triples; fails the test on a malformed patch.
struct IpsRecord {
    std::size_t offset, size;
    bool run;
};
std::vector<IpsRecord> IpsRecords(const Bytes& p) {
    std::vector<IpsRecord> records;
    EXPECT_EQ(Bytes(p.begin(), p.begin() + 5), Text("PATCH"));
    std::size_t i = 5;
    while (i + 3 <= p.size() && !(p[i] == 'E' && p[i + 1] == 'O' && p[i + 2] == 'F')) {
        std::size_t off = p[i] << 16 | p[i + 1] << 8 | p[i + 2];
        std::size_t size = p[i + 3] << 8 | p[i + 4];
        i += 5;
        if (size == 0) {
            records.push_back({off, static_cast<std::size_t>(p[i] << 8 | p[i + 1]), true});
            i += 3;
        } else {
            records.push_back({off, size, false});
            i += size;
        }
    }
    return records;
}

// A copy of image with some scattered changes, a run, and a changed length (grow > 0 appends, < 0 cuts).
Bytes Edited(const Bytes& image, std::uint32_t seed, long grow) {
    std::mt19937 rng(seed);
    Bytes e = image;
    int changes = 1 + static_cast<int>(rng() % 40);
    for (int k = 0; k < changes && !e.empty(); ++k) e[rng() % e.size()] ^= static_cast<Byte>(1 + rng() % 255);
    if (e.size() > 300) {
        std::size_t at = rng() % (e.size() - 300);
        std::fill_n(e.begin() + static_cast<long>(at), 20 + rng() % 270, static_cast<Byte>(rng()));
    }
    if (grow > 0)
        for (long k = 0; k < grow; ++k) e.push_back(static_cast<Byte>(rng()));
    else if (grow < 0)
        e.resize(e.size() - static_cast<std::size_t>(-grow));
    return e;
}

}  // namespace

TEST(PatchCrc, IsTheStandardCrc32) {
    EXPECT_EQ(Crc32(Text("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32({}), 0u);
}

TEST(IpsPatch, RecordsLiteralAndRunLengthChangesInTheStandardLayout) {
    Bytes original(32, 0), edited(32, 0);
    edited[3] = 0xAA;
    std::fill(edited.begin() + 10, edited.begin() + 30, Byte{0x55});
    Bytes expected = Cat({Text("PATCH"),
                          {0x00, 0x00, 0x03, 0x00, 0x01, 0xAA},
                          {0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x14, 0x55},
                          Text("EOF")});
    Bytes patch = MakeIps(original, edited);
    EXPECT_EQ(patch, expected);
    EXPECT_EQ(ApplyIps(original, patch), edited);
    // An unchanged image gives an empty patch.
    EXPECT_EQ(MakeIps(original, original), Cat({Text("PATCH"), Text("EOF")}));
}

TEST(IpsPatch, NoRecordStartsAtTheOffsetThatReadsEof) {
    const Bytes original(kIpsEofOffset + 0x40, 0x11);
    for (bool run : {false, true}) {
        Bytes edited = original;
        edited[kIpsEofOffset] = 0x22;
        if (run) std::fill_n(edited.begin() + kIpsEofOffset, 30, Byte{0x33});
        Bytes patch = MakeIps(original, edited);
        for (const IpsRecord& r : IpsRecords(patch)) EXPECT_NE(r.offset, kIpsEofOffset) << "run " << run;
        EXPECT_EQ(IpsRecords(patch).front().offset, kIpsEofOffset - 1);
        EXPECT_EQ(ApplyIps(original, patch), edited);
    }
}

TEST(IpsPatch, GrowsAndCutsTheImageAndRefusesImagesPast16MiB) {
    Bytes original = NoiseImage(5000, 1);
    for (long grow : {-1L, -700L, 1L, 3000L}) {
        Bytes edited = Edited(original, 7, grow);
        Bytes patch = MakeIps(original, edited);
        EXPECT_EQ(ApplyIps(original, patch), edited) << grow;
    }
    // A cut is the three-byte size after "EOF".
    Bytes cut(original.begin(), original.begin() + 4000);
    Bytes patch = MakeIps(original, cut);
    EXPECT_EQ(Bytes(patch.end() - 6, patch.end()), Cat({Text("EOF"), {0x00, 0x0F, 0xA0}}));

    Bytes huge(kIpsLimit + 1, 0);
    try {
        MakeIps(original, huge);
        FAIL() << "an image past 16 MiB made an IPS patch";
    } catch (const PatchError& e) {
        EXPECT_EQ(e.Kind(), PatchErrorKind::TooLarge);
    }
    huge.pop_back();
    EXPECT_EQ(ApplyIps(original, MakeIps(original, huge)), huge);
}

TEST(BpsPatch, FollowsTheFormatAndChecksEveryCrc) {
    Bytes original = NoiseImage(4096, 2);
    Bytes edited = Edited(original, 3, 100);
    Bytes patch = MakeBps(original, edited);
    Bytes head = Text("BPS1");
    Number(head, original.size());
    Number(head, edited.size());
    Number(head, 0);
    ASSERT_GT(patch.size(), head.size() + 12);
    EXPECT_EQ(Bytes(patch.begin(), patch.begin() + static_cast<long>(head.size())), head);
    const std::size_t f = patch.size() - 12;
    EXPECT_EQ(ReadLe32(patch, f), Crc32(original));
    EXPECT_EQ(ReadLe32(patch, f + 4), Crc32(edited));
    EXPECT_EQ(ReadLe32(patch, f + 8), Crc32(std::span<const Byte>(patch).first(f + 8)));
    EXPECT_EQ(ApplyBps(original, patch), edited);
    // Mostly unchanged image: the patch stays small (source reads, not literal copies).
    EXPECT_LT(patch.size(), 1200u);
}

TEST(BpsPatch, AppliesEveryActionOfAHandWrittenPatch) {
    const Bytes source = Text("ABCDEFGHIJ");
    // Target: "ABC" (SourceRead) "xy" (TargetRead) "HIJ" (SourceCopy from 7) "DEF" (SourceCopy back to 3)
    //         "FFFFF" (TargetCopy from 10, overlapping what it writes)
    const Bytes target = Text("ABCxyHIJDEFFFFFF");
    Bytes p = Text("BPS1");
    Number(p, source.size());
    Number(p, target.size());
    Number(p, 3);
    p.insert(p.end(), {'m', 'e', 't'});
    Number(p, (2u << 2) | 0);  // SourceRead 3
    Number(p, (1u << 2) | 1);  // TargetRead 2
    p.insert(p.end(), {'x', 'y'});
    Number(p, (2u << 2) | 2);  // SourceCopy 3 from +7
    Number(p, 7u << 1);
    Number(p, (2u << 2) | 2);  // SourceCopy 3 from 10 - 7 = 3
    Number(p, (7u << 1) | 1);
    Number(p, (4u << 2) | 3);  // TargetCopy 5 from 10
    Number(p, 10u << 1);
    Le32(p, Crc32(source));
    Le32(p, Crc32(target));
    Le32(p, Crc32(p));
    EXPECT_EQ(ApplyBps(source, p), target);
    EXPECT_EQ(ApplyPatch(source, p), target);
}

TEST(BpsPatch, RefusesAnImageItWasNotMadeFrom) {
    Bytes original = NoiseImage(3000, 4);
    Bytes edited = Edited(original, 5, 0);
    Bytes patch = MakeBps(original, edited);
    Bytes other = original;
    other[1234] ^= 1;
    Bytes shorter(original.begin(), original.end() - 1);
    for (const Bytes* wrong : {&other, &shorter, &edited}) {
        try {
            ApplyBps(*wrong, patch);
            FAIL() << "applied to the wrong image";
        } catch (const PatchError& e) {
            EXPECT_EQ(e.Kind(), PatchErrorKind::WrongSource);
        }
    }
}

TEST(PatchRoundTrip, RandomImagesOfEverySizeChange) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        Bytes original = NoiseImage(16 + rng() % 20000, seed);
        long grow = static_cast<long>(rng() % 3) == 0 ? 0 : static_cast<long>(rng() % 200) - 100;
        if (grow < 0 && static_cast<std::size_t>(-grow) >= original.size()) grow = 0;
        Bytes edited = Edited(original, seed * 31, grow);
        EXPECT_EQ(ApplyPatch(original, MakeIps(original, edited)), edited) << seed;
        EXPECT_EQ(ApplyPatch(original, MakeBps(original, edited)), edited) << seed;
    }
}

TEST(PatchDamage, TruncatedOrCorruptPatchesAreRefusedWithoutACrash) {
    Bytes original = NoiseImage(8192, 6);
    Bytes edited = Edited(original, 8, 50);
    const Bytes ips = MakeIps(original, edited);
    const Bytes bps = MakeBps(original, edited);
    std::mt19937 rng(99);
    int ipsAccepted = 0;
    for (int round = 0; round < 400; ++round) {
        for (const Bytes* good : {&ips, &bps}) {
            Bytes bad = *good;
            const int how = round % 4;
            if (how == 0) {
                bad.resize(rng() % bad.size());  // truncated
            } else if (how == 1) {
                bad[rng() % bad.size()] ^= static_cast<Byte>(1 + rng() % 255);  // one byte changed
            } else if (how == 2) {
                for (int k = 0; k < 8; ++k) bad[rng() % bad.size()] = static_cast<Byte>(rng());
                if (bad == *good) bad[5] ^= 0x80;
            } else {
                bad.insert(bad.begin() + static_cast<long>(rng() % bad.size()), static_cast<Byte>(rng()));
            }
            const bool isBps = good == &bps;
            try {
                Bytes out = ApplyPatch(original, bad);
                // IPS has no checksum: a changed data byte applies; it never grows the image past its reach.
                EXPECT_FALSE(isBps) << "a damaged BPS patch applied, round " << round;
                EXPECT_NE(how, 0) << "a truncated IPS patch applied, round " << round;
                EXPECT_LE(out.size(), kIpsLimit + 0x10000);
                ++ipsAccepted;
            } catch (const PatchError& e) {
                if (isBps) {
                    EXPECT_NE(e.Kind(), PatchErrorKind::WrongSource) << "round " << round;
                }
            }
        }
    }
    EXPECT_LT(ipsAccepted, 400);
}

TEST(PatchDamage, ForeignFilesAreNotPatches) {
    Bytes image = NoiseImage(100, 9);
    for (const Bytes& p : {Bytes{}, Text("PATC"), Text("BPS1"), Text("hello world"), Text("PATCH")}) {
        EXPECT_THROW(ApplyPatch(image, p), PatchError);
    }
    EXPECT_EQ(DetectFormat(Text("PATCH...")), PatchFormat::Ips);
    EXPECT_EQ(FormatForFileName("a/b.IPS"), PatchFormat::Ips);
    EXPECT_EQ(FormatForFileName("b.bps"), PatchFormat::Bps);
    EXPECT_EQ(FormatForFileName("b.nes"), PatchFormat::Unknown);
}

// ---------------------------------------------------------------- the document's two images

namespace {

// Edits on several stages of several categories, flagging each as the pages do.
void EditStages(Doc& d) {
    for (int s : {0, 3, 9, 15}) {
        StageData& st = d.rom->StageAt(s);
        if (st.SetMapEntry(s % 48, static_cast<Byte>(st.Map()[s % 48] ^ 0x05)))
            d.flags.SetModified(ModifiedCategory::Map, s, true);
        if (st.SetChip16x16Tile(4 * s + 1, static_cast<Byte>(st.Chip16x16Tiles()[4 * s + 1] + 1)))
            d.flags.SetModified(ModifiedCategory::Chip16x16, s, true);
        if (st.SetPaletteByte(s, static_cast<Byte>((st.BGPalette(0)[s] + 1) & 0x3F)))
            d.flags.SetModified(ModifiedCategory::Palette, s, true);
        st.ClearScreenObjects(s % 48);  // room for one more even in a full list
        if (st.AppendObject(s % 48, 0x40, 0x80, 0x12)) d.flags.SetModified(ModifiedCategory::Object, s, true);
    }
}

void CheckRoundTrips(const std::string& what, const Bytes& original, const Bytes& composed) {
    EXPECT_EQ(ApplyPatch(original, MakeIps(original, composed)), composed) << what;
    EXPECT_EQ(ApplyPatch(original, MakeBps(original, composed)), composed) << what;
}

}  // namespace

TEST(ComposedImage, IsWhatASaveWritesAndChangesNothingOfTheDocument) {
    Doc d;
    const Bytes file = NoiseImage(0x80010, 10);
    const fs::path path = d.Put("a.nes", file);
    ASSERT_EQ(d.rom->LoadFromFile(path), LoadResult::Loaded);
    EXPECT_EQ(d.rom->OriginalImage(), file);
    EXPECT_EQ(d.rom->ComposeImage(), file);

    EditStages(d);
    const Bytes buffer = d.Buffer();
    const Bytes composed = d.rom->ComposeImage();
    EXPECT_NE(composed, file);
    EXPECT_EQ(d.Buffer(), buffer);
    EXPECT_TRUE(d.flags.AnyModified());
    EXPECT_TRUE(d.flags.IsModified(ModifiedCategory::Object, 3));
    CheckRoundTrips("noise image", file, composed);

    // A save after composing writes the same bytes as a save without: remove the object added above first,
    // so the object arrays' stale tail decides (the composing must not have refreshed them).
    StageData& st = d.rom->StageAt(3);
    st.RemoveObject(st.LastObject(3), 3);
    Doc twin;
    ASSERT_EQ(twin.rom->LoadFromFile(twin.Put("a.nes", file)), LoadResult::Loaded);
    EditStages(twin);
    StageData& tst = twin.rom->StageAt(3);
    tst.RemoveObject(tst.LastObject(3), 3);
    const Bytes expect = twin.rom->ComposeImage();
    EXPECT_EQ(d.rom->ComposeImage(), expect);
    d.rom->SaveToFile(d.dir / "saved.nes");
    twin.rom->SaveToFile(twin.dir / "saved.nes");
    EXPECT_EQ(ReadAll(d.dir / "saved.nes"), ReadAll(twin.dir / "saved.nes"));
    EXPECT_EQ(ReadAll(d.dir / "saved.nes"), expect);
    // The original stays the bytes read at open; a close forgets it.
    EXPECT_EQ(d.rom->OriginalImage(), file);
    d.rom->CloseImage();
    EXPECT_TRUE(d.rom->OriginalImage().empty());
    EXPECT_TRUE(d.rom->ComposeImage().empty());
}

TEST(ComposedImage, RoundTripsOnEveryRealImage) {
    std::error_code ec;
    const fs::path dir = RealDataDir();
    if (!fs::is_directory(dir, ec)) {
        GTEST_SKIP() << "no folder of real images at " << dir << ": skipped";
    }
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".nes") continue;
        Doc d;
        const Bytes file = ReadAll(entry.path());
        if (d.rom->LoadFromFile(entry.path()) != LoadResult::Loaded) continue;
        ++seen;
        EditStages(d);
        const Bytes composed = d.rom->ComposeImage();
        EXPECT_EQ(d.rom->OriginalImage(), file);
        EXPECT_EQ(composed.size(), file.size());
        CheckRoundTrips(entry.path().filename().string(), file, composed);
    }
    if (seen == 0) {
        GTEST_SKIP() << "no loadable .nes image in " << dir << ": skipped";
    }
}
