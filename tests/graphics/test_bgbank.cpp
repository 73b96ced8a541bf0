// BG bank assembly and its report; palette animation timing.

#include <chrono>
#include <random>

#include "gfxtest.h"

using namespace gfxtest;

namespace {

// Default addresses of the address configuration.
constexpr std::size_t kInitLow = 0x51810, kInitHigh = 0x51880;
constexpr std::size_t kScrollLow = 0x53810, kScrollHigh = 0x53870;
constexpr std::size_t kMidPoint = 0x7C8BB;
constexpr std::size_t kScrollLoad0 = 0x41570;
constexpr std::size_t kAnimLow = 0x41D3C, kAnimHigh = 0x41D7C, kAnimData = 0x41B53, kAnimPalette = 0x418D7;

class Image {
public:
    std::vector<Byte> bytes = BlankImage();

    Byte& operator[](std::size_t a) { return bytes.at(a); }
    void Put(std::size_t a, std::initializer_list<int> values) {
        for (int v : values) bytes.at(a++) = Byte(v);
    }
    // Initial graphics set n's record lies at pointer + 0x46010.
    void InitialSet(int n, std::size_t record) {
        const std::size_t p = record - 0x46010;
        bytes.at(kInitLow + n) = Byte(p & 0xFF);
        bytes.at(kInitHigh + n) = Byte(p >> 8);
    }
    void ScrollSet(int n, std::size_t record) {
        const std::size_t p = record - 0x48010;
        bytes.at(kScrollLow + n) = Byte(p & 0xFF);
        bytes.at(kScrollHigh + n) = Byte(p >> 8);
    }
    // Bytes of the graphics banks: file offset a holds (a * 7 + a / 256) mod 256.
    void FillSourcePattern(std::size_t from, std::size_t to) {
        for (std::size_t a = from; a < to; ++a) bytes.at(a) = Pattern(a);
    }
    static Byte Pattern(std::size_t a) { return Byte((a * 7 + a / 256) & 0xFF); }
};

// File offset of (bank, source page) in a load entry.
constexpr std::size_t Source(int bank, int page) {
    return std::size_t(16 + 0x2000 * bank + 256 * page - 0x8000);
}

class BgBankTest : public ::testing::Test {
protected:
    BgBankTest() { img.FillSourcePattern(0x10, 0x40000); }
    const Byte* Assemble(int stage, int point, int scroll) {
        EXPECT_TRUE(doc.Load(img.bytes));
        bank.Assemble(stage, point, scroll);
        return bank.Bytes();
    }
    bool PageIs(int page, std::size_t source, int bytes = 256) const {
        for (int i = 0; i < bytes; ++i)
            if (bank.Bytes()[256 * page + i] != Image::Pattern(source + std::size_t(i))) return false;
        return true;
    }
    bool Zero(int from, int to) const {
        for (int i = from; i < to; ++i)
            if (bank.Bytes()[i] != 0) return false;
        return true;
    }

    Image img;
    TestDoc doc;
    BgBank bank{doc.Rom()};
};

}  // namespace

TEST_F(BgBankTest, InitialSetEntriesCopyWholePagesInOrder) {
    // Stage 2: record FF, then (bank 1, 2 pages, source page 80, destination page 3),
    // (bank 3, 1 page, source page 85, destination page 4) overwriting the second page, end.
    img.InitialSet(2, 0x46100);
    img.Put(0x46100, {0xFF, 1, 2, 0x80, 3, 3, 1, 0x85, 4, 0xFF});
    Assemble(2, 0, 0);
    EXPECT_TRUE(PageIs(3, Source(1, 0x80)));
    EXPECT_TRUE(PageIs(4, Source(3, 0x85)));
    EXPECT_TRUE(Zero(0, 0x300));
    EXPECT_TRUE(Zero(0x500, 4096));
    const auto& r = bank.LastReport();
    EXPECT_EQ(r.initialSet, "02");
    EXPECT_EQ(r.initialAddress, "46100");
    EXPECT_EQ(r.scrollSet, "00");
    EXPECT_EQ(r.scrollAddress, "-----");
}

TEST_F(BgBankTest, RecordsOfFFFFLoadNothingAndOthersSkipEightBytes) {
    img.InitialSet(0, 0x46200);
    img.Put(0x46200, {0xFF, 0xFF, 1, 1, 0x80, 0});  // the entry after the end marker is never read
    Assemble(0, 0, 0);
    EXPECT_TRUE(Zero(0, 4096));
    EXPECT_EQ(bank.LastReport().initialSet, "00");
    EXPECT_EQ(bank.LastReport().initialAddress, "46200");

    // First byte not FF: bytes 0-7 would load pages 0 and 1 if they were read as entries.
    img.InitialSet(1, 0x46300);
    img.Put(0x46300, {1, 1, 0x80, 0, 1, 1, 0x81, 1, /* entries: */ 1, 1, 0x82, 2, 0xFF});
    Assemble(1, 0, 0);
    EXPECT_TRUE(Zero(0, 0x200));
    EXPECT_TRUE(PageIs(2, Source(1, 0x82)));
    EXPECT_TRUE(Zero(0x300, 4096));
}

TEST_F(BgBankTest, ScrollSetsCopyOneTilePerCountOnTop) {
    img.InitialSet(5, 0x46400);
    img.Put(0x46400, {0xFF, 2, 16, 0x80, 0, 0xFF});  // the whole bank from bank 2
    img[kScrollLoad0 + 5 * 0x2000 + 7] = 0x4F;       // scroll 7 of stage 5 loads scroll set 4F (the maximum)
    img.ScrollSet(0x4F, 0x48ABC);
    img.Put(0x48ABC, {0xFF, 4, 3, 0x90, 0x0A, 0xFF});  // 3 tiles from bank 4 page 90 to page 0A
    Assemble(5, 0, 7);
    EXPECT_TRUE(PageIs(0x0A, Source(4, 0x90), 48));
    // The rest of page 0A still holds what the initial set loaded there.
    for (int i = 48; i < 256; ++i)
        ASSERT_EQ(bank.Bytes()[0xA00 + i], Image::Pattern(Source(2, 0x80) + 0xA00 + std::size_t(i)));
    EXPECT_TRUE(PageIs(0, Source(2, 0x80)));
    const auto& r = bank.LastReport();
    EXPECT_EQ(r.initialSet, "05");
    EXPECT_EQ(r.initialAddress, "46400");
    EXPECT_EQ(r.scrollSet, "4F");
    EXPECT_EQ(r.scrollAddress, "48ABC");  // upper-case digits

    // Above the maximum: not loaded, number and "?????".
    img[kScrollLoad0 + 5 * 0x2000 + 8] = 0x50;
    img.ScrollSet(0x50, 0x48ABC);
    Assemble(5, 0, 8);
    EXPECT_EQ(bank.LastReport().scrollSet, "50");
    EXPECT_EQ(bank.LastReport().scrollAddress, "?????");
    EXPECT_TRUE(PageIs(0x0A, Source(2, 0x80) + 0xA00));
}

TEST_F(BgBankTest, MidPoints) {
    img.InitialSet(3, 0x46500);
    img.Put(0x46500, {0xFF, 1, 1, 0x80, 0, 0xFF});
    img.InitialSet(0x6F, 0x46600);
    img.Put(0x46600, {0xFF, 1, 1, 0x81, 1, 0xFF});
    // Stage 3: mid-point 1 byte 0 (nothing), mid-point 2 loads set 6F.
    img[kMidPoint + 8 * 3 + 2] = 0x00;
    img[kMidPoint + 8 * 3 + 6] = 0x6F;

    Assemble(3, 0, 0);
    const std::vector<Byte> start(bank.Bytes(), bank.Bytes() + 4096);
    const BgBank::Report startReport = bank.LastReport();
    Assemble(3, 1, 0);
    EXPECT_EQ(std::vector<Byte>(bank.Bytes(), bank.Bytes() + 4096), start);
    EXPECT_EQ(bank.LastReport().initialSet, startReport.initialSet);
    EXPECT_EQ(bank.LastReport().initialAddress, "46500");

    Assemble(3, 2, 0);
    EXPECT_TRUE(PageIs(0, Source(1, 0x80)));
    EXPECT_TRUE(PageIs(1, Source(1, 0x81)));
    EXPECT_EQ(bank.LastReport().initialSet, "6F");
    EXPECT_EQ(bank.LastReport().initialAddress, "46600");

    // Above InitialGraphicsPointerMax: the stage's own set stays, the report shows the number.
    img[kMidPoint + 8 * 3 + 6] = 0x70;
    img.InitialSet(0x70, 0x46600);
    Assemble(3, 2, 0);
    EXPECT_EQ(std::vector<Byte>(bank.Bytes(), bank.Bytes() + 4096), start);
    EXPECT_EQ(bank.LastReport().initialSet, "70");
    EXPECT_EQ(bank.LastReport().initialAddress, "?????");
}

TEST_F(BgBankTest, EntriesBeyondTheBankOrTheImageAreClipped) {
    img.InitialSet(4, 0x46700);
    img.Put(0x46700, {0xFF, 1, 3, 0x80, 0x0F,  // 3 pages to page F: only page F fits
                      0, 1, 0x7F, 0x00,        // source 240 bytes before the file start: only the last 16 bytes
                      0x80, 2, 0, 0x01,        // source 0xF8010, beyond the 0x80010-byte image: nothing
                      0xFF});
    Assemble(4, 0, 0);
    EXPECT_TRUE(PageIs(0x0F, Source(1, 0x80)));
    for (int i = 0; i < 240; ++i) ASSERT_EQ(bank.Bytes()[i], 0) << i;
    for (int i = 0; i < 16; ++i) ASSERT_EQ(bank.Bytes()[240 + i], img.bytes[std::size_t(i)]) << i;
    EXPECT_TRUE(Zero(0x100, 0xF00));
    EXPECT_EQ(bank.LastReport().initialSet, "04");
    EXPECT_EQ(bank.LastReport().scrollAddress, "-----");
}

TEST_F(BgBankTest, PointersPastTheFileEndReadTheBufferAsItStands) {
    // A 0x54000-byte image holds the pointer tables, but records at 0x55F00 and 0x56000 lie past its end:
    // the buffer is zero there, so each is a list of empty entries; the mid-point table (0x7C8BB) is not
    // in the file at all and reads as zero.
    img.bytes.resize(0x54000);
    img.InitialSet(6, 0x55F00);
    img.ScrollSet(1, 0x56000);
    img[kScrollLoad0 + 6 * 0x2000 + 0] = 1;
    Assemble(6, 1, 0);
    EXPECT_TRUE(Zero(0, 4096));
    EXPECT_EQ(bank.LastReport().initialSet, "06");
    EXPECT_EQ(bank.LastReport().initialAddress, "55F00");
    EXPECT_EQ(bank.LastReport().scrollSet, "01");
    EXPECT_EQ(bank.LastReport().scrollAddress, "56000");

    // Pointer tables past the end: their bytes are zero, so the record lies at the fixed base itself;
    // only a set number above its maximum shows "?????".
    img.bytes.resize(0x51000);
    Assemble(6, 0, 0);
    EXPECT_EQ(bank.LastReport().initialSet, "06");
    EXPECT_EQ(bank.LastReport().initialAddress, "46010");
    EXPECT_TRUE(Zero(0, 4096));
}

TEST(BgBankAddresses, PointerTablesOutsideTheBufferGiveTheFixedBases) {
    // Pointer tables moved past the end of the 2 MiB buffer read as zero bytes.
    TestDoc doc(
        "[Address]\nInitialGraphicsPointerLow=300000\nInitialGraphicsPointerHigh=300100\n"
        "ScrollGraphicsPointerLow=7FFFFFFF\nScrollGraphicsPointerHigh=FFFFFFFF\n");
    auto bytes = BlankImage();
    bytes[kScrollLoad0 + 2] = 0x10;  // stage 0, scroll 2 loads scroll set 10
    ASSERT_TRUE(doc.Load(bytes));
    BgBank bank(doc.Rom());
    bank.Assemble(0, 0, 2);
    EXPECT_EQ(bank.LastReport().initialSet, "00");
    EXPECT_EQ(bank.LastReport().initialAddress, "46010");
    EXPECT_EQ(bank.LastReport().scrollSet, "10");
    EXPECT_EQ(bank.LastReport().scrollAddress, "48010");
}

TEST_F(BgBankTest, LoadListsRunToTheirEndMarkerHoweverLong) {
    // 300 entries that each load page 0, then one that loads page 7, then the end marker.
    img.InitialSet(3, 0x46800);
    img[0x46800] = 0xFF;
    std::size_t at = 0x46801;
    for (int i = 0; i < 300; ++i, at += 4) img.Put(at, {1, 1, 0x80 + (i % 8), 0});
    img.Put(at, {2, 1, 0x90, 7, 0xFF});
    Assemble(3, 0, 0);
    EXPECT_TRUE(PageIs(0, Source(1, 0x80 + 299 % 8)));
    EXPECT_TRUE(PageIs(7, Source(2, 0x90)));
    EXPECT_TRUE(Zero(0x100, 0x700));
}

TEST_F(BgBankTest, ALoadListEndsAtTheEndOfTheBuffer) {
    // The largest image; a scroll load list starts at the highest record a pointer can give (FFFF +
    // 48010) and runs with no end marker to the end of the file: about 390,000 empty entries, then three
    // that load tiles, then three bytes that are not a whole entry.
    img.bytes.resize(0x200040, 0);
    const std::size_t record = 0x5800C;
    img.ScrollSet(0x4F, record);
    img[kScrollLoad0 + 1 * 0x2000 + 5] = 0x4F;
    img[record] = 0xFF;
    std::size_t last = record + 1;
    while (last + 4 + 4 * 3 + 3 <= img.bytes.size()) last += 4;
    img.Put(last, {1, 2, 0x80, 1, 1, 2, 0x81, 2, 3, 16, 0x84, 3, 0x00, 0x01, 0x02});
    ASSERT_EQ(last + 12 + 3, img.bytes.size());
    const auto t0 = std::chrono::steady_clock::now();
    Assemble(1, 0, 5);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    EXPECT_TRUE(PageIs(1, Source(1, 0x80), 32));
    EXPECT_TRUE(PageIs(2, Source(1, 0x81), 32));
    EXPECT_TRUE(PageIs(3, Source(3, 0x84), 256));
    EXPECT_EQ(bank.LastReport().scrollSet, "4F");
    EXPECT_EQ(bank.LastReport().scrollAddress, "5800C");
}

namespace {

// The plain reading of a load list: every entry in order, each byte clipped to the image buffer and the
// bank. The assembly applies the entries in another order and must give the same bank.
void ReferenceLoad(const Byte* buffer, std::int64_t entries, int bytesPerCount, std::vector<Byte>& bank) {
    for (std::int64_t e = entries; e + 4 <= kImageCapacity && buffer[e] != 0xFF; e += 4) {
        const std::int64_t src = 16 + 0x2000 * std::int64_t(buffer[e]) + 256 * std::int64_t(buffer[e + 2]) - 0x8000;
        const std::int64_t dst = 256 * std::int64_t(buffer[e + 3]);
        for (std::int64_t i = 0; i < std::int64_t(buffer[e + 1]) * bytesPerCount; ++i)
            if (src + i >= 0 && src + i < kImageCapacity && dst + i < 4096)
                bank[std::size_t(dst + i)] = buffer[src + i];
    }
}

}  // namespace

TEST_F(BgBankTest, OverlappingAndClippedEntriesGiveTheBankOfThePlainReading) {
    std::mt19937 rng(11);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        img.InitialSet(0, 0x46900);
        img.ScrollSet(1, 0x4A000);
        img[kScrollLoad0] = 1;
        const int n = 1 + int(rng() % 700);
        img[0x46900] = 0xFF;
        img[0x4A000] = 0xFF;
        for (int i = 0; i < n; ++i) {
            // Mostly in range, sometimes far outside (bank 0 page 0 lies before the file's start).
            const bool wild = rng() % 4 == 0;
            img.Put(0x46901 + 4 * std::size_t(i),
                    {int(rng() % (wild ? 0xFF : 0x20)), int(rng() % (wild ? 256 : 4)),
                     int(wild ? rng() % 256 : 0x80 + rng() % 32), int(rng() % (wild ? 256 : 16))});
            img.Put(0x4A001 + 4 * std::size_t(i),
                    {int(rng() % (wild ? 0xFF : 0x20)), int(rng() % (wild ? 256 : 40)),
                     int(wild ? rng() % 256 : 0x80 + rng() % 32), int(rng() % (wild ? 256 : 16))});
        }
        img[0x46901 + 4 * std::size_t(n)] = 0xFF;
        img[0x4A001 + 4 * std::size_t(n)] = 0xFF;
        Assemble(0, 0, 0);
        std::vector<Byte> expected(4096, 0);
        ReferenceLoad(doc.Rom().ImageBytes(), 0x46901, 256, expected);
        ReferenceLoad(doc.Rom().ImageBytes(), 0x4A001, 16, expected);
        ASSERT_EQ(std::vector<Byte>(bank.Bytes(), bank.Bytes() + 4096), expected);
    }
}

TEST_F(BgBankTest, UnterminatedRecordsEndInTime) {
    // Every byte 05: every pointer, record and entry is (bank 5, 5 pages, page 5, page 5) with no end
    // marker before the end of the image.
    img.bytes.assign(0x80010, 0x05);
    img.Put(0, {0x4E, 0x45, 0x53, 0x1A});
    const auto t0 = std::chrono::steady_clock::now();
    Assemble(0, 1, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    EXPECT_EQ(bank.Bytes()[0x500], 0x05);
    EXPECT_EQ(bank.LastReport().initialSet, "05");
    EXPECT_EQ(bank.LastReport().scrollSet, "05");
    EXPECT_EQ(bank.LastReport().initialAddress, "46515");
    EXPECT_EQ(bank.LastReport().scrollAddress, "48515");
}

TEST(BgBankNoImage, AnEmptyDocumentGivesAnEmptyBank) {
    TestDoc doc;
    BgBank bank(doc.Rom());
    bank.Assemble(0, 2, 15);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(bank.Bytes()[i], 0);
    EXPECT_EQ(bank.LastReport().initialSet, "00");
    EXPECT_EQ(bank.LastReport().initialAddress, "46010");  // the pointer bytes of the empty buffer are zero
    EXPECT_EQ(bank.LastReport().scrollAddress, "-----");
    bank.Assemble(16, 0, 0);
    bank.Assemble(-1, 0, 0);
    bank.Assemble(0, 7, -3);
}

// ------------------------------------------------------------------------------------------------ animation

namespace {

class Animation : public ::testing::Test {
protected:
    Animation() : pal(FcPaletteData::FromBytes(DistinctPaletteBytes())), gfx(pal, doc.Rom()) {
        // Triples: m -> colour numbers (m, m + 0x10, m + 0x20).
        for (int m = 0; m < 16; ++m) img.Put(kAnimPalette + 3 * m, {m, m + 0x10, m + 0x20});
        Record(0, 0x41B53, 2, 8, {1, 2, 3});
        Record(1, 0x41B80, 1, 1, {4, 5});
        Record(2, 0x41BA0, 1, 0, {6, 7});
        for (int i = 0; i < 16; ++i) palette[std::size_t(i)] = Byte(0x30 + i);
    }
    // Animation k's record at file offset a: last, delay, steps.
    void Record(int k, std::size_t a, int last, int delay, std::initializer_list<int> steps) {
        const std::size_t pointer = a + 0xBB43 - kAnimData;
        img[kAnimLow + k] = Byte(pointer & 0xFF);
        img[kAnimHigh + k] = Byte(pointer >> 8);
        img.Put(a, {last, delay});
        img.Put(a + 2, steps);
    }
    void Start() {
        ASSERT_TRUE(doc.Load(img.bytes));
        gfx.LoadStagePalette(palette.data());
        gfx.ResetPaletteAnimation();
    }
    // The colour numbers of entries 4i + 1 to 4i + 3 are triple m.
    bool ShowsTriple(int i, int m) const {
        return gfx.GetStagePaletteColor(4 * i + 1) == ColourOf(m) &&
               gfx.GetStagePaletteColor(4 * i + 2) == ColourOf(m + 0x10) &&
               gfx.GetStagePaletteColor(4 * i + 3) == ColourOf(m + 0x20);
    }

    Image img;
    TestDoc doc;
    FcPaletteData pal;
    EditorGraphics gfx;
    std::array<Byte, 16> palette{};
};

}  // namespace

TEST_F(Animation, LastTwoDelayEightShowsEachStepForEightTicks) {
    Start();
    const Byte numbers[4] = {0x00, 0x80, 0x00, 0x00};  // palette 1 plays animation 0
    std::vector<int> changedAt;
    std::vector<int> stepShown;
    for (int tick = 1; tick <= 40; ++tick) {
        if (gfx.StepPaletteAnimation(numbers)) {
            changedAt.push_back(tick);
            for (int m = 1; m <= 3; ++m)
                if (ShowsTriple(1, m)) stepShown.push_back(m);
        }
        EXPECT_EQ(gfx.GetStagePaletteColor(4), ColourOf(0x34)) << "entry 4i is never animated";
    }
    EXPECT_EQ(changedAt, (std::vector<int>{8, 16, 24, 32, 40}));
    EXPECT_EQ(stepShown, (std::vector<int>{1, 2, 3, 1, 2}));
    // Other palettes keep their colours.
    for (int e : {0, 1, 2, 3, 8, 9, 15}) EXPECT_EQ(gfx.GetStagePaletteColor(e), ColourOf(0x30 + e)) << e;
    // The palette data of the stage is not what changed: a reload brings the colours back.
    gfx.LoadStagePalette(palette.data());
    EXPECT_EQ(gfx.GetStagePaletteColor(5), ColourOf(0x35));
}

TEST_F(Animation, DelayZeroAndOneChangeOnEveryTick) {
    Start();
    const Byte numbers[4] = {0x81, 0x82, 0x00, 0x00};
    for (int tick = 0; tick < 6; ++tick) {
        EXPECT_TRUE(gfx.StepPaletteAnimation(numbers)) << tick;
        EXPECT_TRUE(ShowsTriple(0, tick % 2 == 0 ? 4 : 5)) << tick;
        EXPECT_TRUE(ShowsTriple(1, tick % 2 == 0 ? 6 : 7)) << tick;
    }
}

TEST_F(Animation, NumbersBelow80NeverChangeAndResetRestarts) {
    Start();
    const Byte still[4] = {0x00, 0x7F, 0x01, 0x40};
    for (int tick = 0; tick < 100; ++tick) ASSERT_FALSE(gfx.StepPaletteAnimation(still));
    for (int e = 0; e < 16; ++e) EXPECT_EQ(gfx.GetStagePaletteColor(e), ColourOf(0x30 + e)) << e;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(gfx.PaletteAnimationCounter(i), 0);

    const Byte numbers[4] = {0x80, 0x00, 0x00, 0x81};
    for (int tick = 0; tick < 11; ++tick) gfx.StepPaletteAnimation(numbers);
    EXPECT_EQ(gfx.PaletteAnimationCounter(0), 3);
    EXPECT_EQ(gfx.PaletteAnimationStep(0), 1);
    gfx.ResetPaletteAnimation();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(gfx.PaletteAnimationCounter(i), 0);
        EXPECT_EQ(gfx.PaletteAnimationStep(i), 0);
    }
    // After the reset the cycle starts at step 0 again.
    for (int tick = 0; tick < 8; ++tick) gfx.StepPaletteAnimation(numbers);
    EXPECT_TRUE(ShowsTriple(0, 1));
}

TEST_F(Animation, PointersAndStepsOutsideTheImageChangeNothing) {
    // Animation 3's record lies past the end of the image; animation 4's record is the image's last two
    // bytes, so its step bytes lie past the end.
    img[kAnimLow + 3] = 0xFF;
    img[kAnimHigh + 3] = 0xFF;  // record 0x4600F
    Record(4, 0x44FFE, 5, 0, {});
    img.bytes.resize(0x45000);
    Start();
    const Byte numbers[4] = {0x83, 0x84, 0x00, 0x00};
    for (int tick = 0; tick < 5; ++tick) EXPECT_FALSE(gfx.StepPaletteAnimation(numbers));
    for (int e = 0; e < 16; ++e) EXPECT_EQ(gfx.GetStagePaletteColor(e), ColourOf(0x30 + e)) << e;
    EXPECT_EQ(gfx.PaletteAnimationCounter(0), 0);  // never started
    EXPECT_EQ(gfx.PaletteAnimationStep(1), 5);     // the steps still run

    // With no image at all nothing animates.
    TestDoc empty;
    EditorGraphics g(pal, empty.Rom());
    EXPECT_FALSE(g.StepPaletteAnimation(numbers));
    EXPECT_FALSE(g.StepPaletteAnimation(nullptr));
}

TEST(AnimationTriples, ATripleOutsideTheImageChangesNothing) {
    TestDoc doc("[Address]\r\nPaletteAnimationPalette=7FFF0\r\n");
    Image img;
    img[kAnimLow + 0] = 0x43;  // pointer BB43: record at PaletteAnimationData
    img[kAnimHigh + 0] = 0xBB;
    img.Put(kAnimData, {1, 0, 0x00, 0x20});  // step 0: triple 0 at 7FFF0; step 1: triple 0x20 past the end
    img.Put(0x7FFF0, {0x01, 0x02, 0x03});
    ASSERT_TRUE(doc.Load(img.bytes));
    const auto pal = FcPaletteData::FromBytes(DistinctPaletteBytes());
    EditorGraphics gfx(pal, doc.Rom());
    const Byte numbers[4] = {0x80, 0, 0, 0};
    EXPECT_TRUE(gfx.StepPaletteAnimation(numbers));
    EXPECT_EQ(gfx.GetStagePaletteColor(1), ColourOf(0x01));
    EXPECT_EQ(gfx.GetStagePaletteColor(3), ColourOf(0x03));
    EXPECT_FALSE(gfx.StepPaletteAnimation(numbers));
    EXPECT_EQ(gfx.GetStagePaletteColor(1), ColourOf(0x01));
    EXPECT_TRUE(gfx.StepPaletteAnimation(numbers));  // back to step 0
}
