#include <sys/resource.h>

#include <chrono>
#include <csignal>

#include "doc_test_support.h"
#include "document/MyIniFiles.h"
#include "document/fileerror.h"

namespace {

TMyMemIniFile IniFromText(const TempDir& dir, const std::string& text) {
    WriteText(dir / "test.ini", text);
    return TMyMemIniFile(dir / "test.ini");
}

}  // namespace

TEST(IniFile, ReadsSectionsAndKeysInFileOrderWithAnyLetterCase) {
    TempDir dir;
    auto ini = IniFromText(dir, "[Beta]\nb=2\na=1\n[Alpha]\nz=26\n");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_EQ(ini.Keys("beta"), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(ini.SectionExists("ALPHA"));
    EXPECT_TRUE(ini.ValueExists("alpha", "Z"));
    EXPECT_FALSE(ini.ValueExists("alpha", "y"));
    EXPECT_FALSE(ini.SectionExists("Gamma"));
    EXPECT_EQ(ini.ReadString("BETA", "A", "-"), "1");
    EXPECT_EQ(ini.ReadString("Gamma", "a", "-"), "-");
}

TEST(IniFile, TrimsBlankSpaceAndAcceptsEveryLineEnd) {
    TempDir dir;
    auto ini = IniFromText(
        dir, "\xEF\xBB\xBF  [ Sec ]  \r\n  key one  =  some value \t\r\nk2=x\rk3=y\n\n[Other] ; note\nq = = \n");
    EXPECT_EQ(ini.ReadString("sec", "key one", "-"), "some value");
    EXPECT_EQ(ini.ReadString("sec", "k2", "-"), "x");
    EXPECT_EQ(ini.ReadString("sec", "k3", "-"), "y");
    EXPECT_EQ(ini.ReadString("other", "q", "-"), "=");  // split at the first '='
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Sec", "Other"}));
}

TEST(IniFile, KeepsCommentsDropsJunkAndWritesTheDocumentedForm) {
    TempDir dir;
    auto ini = IniFromText(dir,
                           "; top comment\r\n"
                           "stray=before any section\r\n"
                           "[A]\r\n"
                           "# hash comment\r\n"
                           "no equals sign here\r\n"
                           "=no key\r\n"
                           "k=1\r\n"
                           "[broken\r\n"
                           "K=2\r\n"
                           "[B]\r\n"
                           "x=9\r\n"
                           "[a]\r\n"
                           "m=3\r\n");
    EXPECT_EQ(ini.ReadString("A", "k", "-"), "1");  // duplicate key: the first wins
    EXPECT_EQ(ini.ReadString("A", "m", "-"), "3");  // a repeated section is merged into the first
    EXPECT_EQ(ini.Keys("A"), (std::vector<std::string>{"k", "m"}));
    EXPECT_FALSE(ini.ValueExists("A", "no equals sign here"));
    ini.WriteString("a", "K", "7");        // updates the first of the duplicates
    ini.WriteString("B", "new", "n");      // new key at the end of its section
    ini.WriteString("C", "c", "new sec");  // new section at the end
    EXPECT_EQ(ini.ToText(),
              "; top comment\n"
              "\n"
              "[A]\n"
              "# hash comment\n"
              "k=7\n"
              "K=2\n"
              "m=3\n"
              "\n"
              "[B]\n"
              "x=9\n"
              "new=n\n"
              "\n"
              "[C]\n"
              "c=new sec\n");
}

TEST(IniFile, WrittenValuesStayOnOneLine) {
    TempDir dir;
    TMyMemIniFile ini(dir / "absent.ini");
    ini.WriteString("S", "k", "line1\nevil=1\r\n[Injected]");
    ini.WriteString("S", "", "empty key is not stored");
    ini.WriteString("S", ";comment", "x");
    ini.UpdateFile();
    TMyMemIniFile again(dir / "absent.ini");
    EXPECT_EQ(again.Keys("S"), (std::vector<std::string>{"k"}));
    EXPECT_FALSE(again.SectionExists("Injected"));
    EXPECT_EQ(again.ReadString("S", "k", ""), "line1 evil=1  [Injected]");
}

TEST(IniFile, ReadIntegerAcceptsDecimalAndPrefixedHexOnly) {
    TempDir dir;
    auto ini = IniFromText(dir,
                           "[N]\n"
                           "dec=12\nneg= -5 \nplus=+7\nhx=0x20\nHY=0X1f\ndollar=$20\n"
                           "max=2147483647\nmin=-2147483648\nover=2147483648\nunder=-2147483649\n"
                           "huge=99999999999999999999999999\nallf=0xFFFFFFFF\nhex9=0x100000000\n"
                           "word=abc\ntrail=12abc\nempty=\nlonely=0x\nbare=FF\nspaced=1 2\n");
    EXPECT_EQ(ini.ReadInteger("N", "dec", -1), 12);
    EXPECT_EQ(ini.ReadInteger("N", "neg", -1), -5);
    EXPECT_EQ(ini.ReadInteger("N", "plus", -1), 7);
    EXPECT_EQ(ini.ReadInteger("N", "hx", -1), 0x20);
    EXPECT_EQ(ini.ReadInteger("N", "hy", -1), 0x1F);
    EXPECT_EQ(ini.ReadInteger("N", "dollar", -1), 0x20);
    EXPECT_EQ(ini.ReadInteger("N", "max", -1), 2147483647);
    EXPECT_EQ(ini.ReadInteger("N", "min", -1), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("N", "allf", 5), -1);
    for (const char* bad :
         {"over", "under", "huge", "hex9", "word", "trail", "empty", "lonely", "bare", "spaced", "missing"})
        EXPECT_EQ(ini.ReadInteger("N", bad, 77), 77) << bad;
    EXPECT_EQ(ini.ReadInteger("NoSection", "dec", 3), 3);
    ini.WriteInteger("N", "hx", 32);
    EXPECT_EQ(ini.ReadString("N", "hx", ""), "32");
}

TEST(IniFile, BooleansAreIntegersAndAnythingButZeroIsTrue) {
    TempDir dir;
    auto ini = IniFromText(dir, "[B]\nzero=0\ntwo=2\nyes=yes\nhex=0x0\n");
    EXPECT_FALSE(ini.ReadBool("B", "zero", true));
    EXPECT_TRUE(ini.ReadBool("B", "two", false));
    EXPECT_TRUE(ini.ReadBool("B", "yes", true));
    EXPECT_FALSE(ini.ReadBool("B", "yes", false));
    EXPECT_FALSE(ini.ReadBool("B", "hex", true));
    EXPECT_TRUE(ini.ReadBool("B", "missing", true));
    ini.WriteBool("B", "two", false);
    ini.WriteBool("B", "new", true);
    EXPECT_EQ(ini.ReadString("B", "two", ""), "0");
    EXPECT_EQ(ini.ReadString("B", "new", ""), "1");
}

TEST(IniFile, ReadHexAcceptsBareDigitsThatFitIn32Bits) {
    TempDir dir;
    auto ini = IniFromText(dir,
                           "[H]\nlower=41d3c\nupper=6F\nspaced=  40010  \nmixed=aBc\nallf=FFFFFFFF\n"
                           "lead=0000000000040010\n"
                           "prefixed=0x40010\nPrefixed=0X10\ndollar=$10\nneg=-1\nnine=100000000\n"
                           "g=G1\nempty=\ninner=12 34\n");
    EXPECT_EQ(ini.ReadHex("H", "lower", 0), 0x41D3C);
    EXPECT_EQ(ini.ReadHex("H", "upper", 0), 0x6F);
    EXPECT_EQ(ini.ReadHex("H", "spaced", 0), 0x40010);
    EXPECT_EQ(ini.ReadHex("H", "mixed", 0), 0xABC);
    EXPECT_EQ(ini.ReadHex("H", "allf", 0), -1);
    EXPECT_EQ(ini.ReadHex("H", "lead", 0), 0x40010);
    for (const char* bad : {"prefixed", "dollar", "neg", "nine", "g", "empty", "inner", "absent"})
        EXPECT_EQ(ini.ReadHex("H", bad, 0x1234), 0x1234) << bad;
}

TEST(IniFile, WriteHexUsesFewestUpperCaseDigitsAndRoundTrips) {
    TempDir dir;
    TMyMemIniFile ini(dir / "x.ini");
    const std::pair<std::int32_t, const char*> cases[] = {
        {0x40010, "40010"}, {0x6F, "6F"}, {0, "0"}, {0xABCDEF, "ABCDEF"}, {-1, "FFFFFFFF"}, {INT32_MIN, "80000000"}};
    for (const auto& [value, text] : cases) {
        ini.WriteHex("H", "k", value);
        EXPECT_EQ(ini.ReadString("H", "k", ""), text);
        EXPECT_EQ(ini.ReadHex("H", "k", 12345), value);
    }
}

TEST(IniFile, AbsentFileIsEmptyAndUpdateFileCreatesIt) {
    TempDir dir;
    TMyMemIniFile ini(dir / "new.ini");
    EXPECT_TRUE(ini.Sections().empty());
    ini.WriteInteger("Timer", "Interval", 16);
    ini.UpdateFile();
    EXPECT_EQ(ReadText(dir / "new.ini"), "[Timer]\nInterval=16\n");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"new.ini"}));
}

TEST(IniFile, GarbageAndHugeFilesNeverBreakTheReader) {
    TempDir dir;
    std::vector<Byte> noise = NoiseImage(256 * 1024, 7, false);
    WriteAll(dir / "noise.ini", noise);
    TMyMemIniFile ini(dir / "noise.ini");
    for (const auto& s : ini.Sections())
        for (const auto& k : ini.Keys(s)) (void)ini.ReadHex(s, k, 0);
    ini.UpdateFile();  // whatever was kept can be written and read back the same
    TMyMemIniFile again(dir / "noise.ini");
    EXPECT_EQ(again.ToText(), ini.ToText());

    std::string huge = "[S]\nk=" + std::string(1 << 20, '9') + "\n";
    auto big = IniFromText(dir, huge);
    EXPECT_EQ(big.ReadInteger("S", "k", 4), 4);
    EXPECT_EQ(big.ReadHex("S", "k", 4), 4);
    EXPECT_EQ(big.ReadString("S", "k", "").size(), std::size_t{1} << 20);
}

TEST(IniFile, FailedUpdateLeavesTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    // The target is a folder: the write must fail and the folder survive.
    fs::create_directory(dir / "taken.ini");
    TMyMemIniFile onDir(dir / "taken.ini");
    onDir.WriteString("S", "k", "v");
    EXPECT_THROW(onDir.UpdateFile(), FileError);
    EXPECT_TRUE(fs::is_directory(dir / "taken.ini"));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"taken.ini"}));

    // The folder does not exist.
    TMyMemIniFile nowhere(dir / "missing" / "x.ini");
    nowhere.WriteString("S", "k", "v");
    EXPECT_THROW(nowhere.UpdateFile(), FileError);
}

TEST(IniFile, InterruptedUpdateLeavesTheOldFileIntact) {
    TempDir dir;
    const std::string old = "[Keep]\nthis=file\n";
    WriteText(dir / "q.ini", old);
    TMyMemIniFile ini(dir / "q.ini");
    ini.WriteString("Big", "v", std::string(64 * 1024, 'x'));

    // A file size limit makes the write fail half-way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        ini.UpdateFile();
    } catch (const FileError&) {
        threw = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_TRUE(threw);
    EXPECT_EQ(ReadText(dir / "q.ini"), old);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"q.ini"}));
}

TEST(IniFile, ManySectionsAndKeysAreLookedUpWithoutScanning) {
    // 64,000 sections of one key, and one section of 64,000 keys (with duplicates and letter case mixed):
    // reading, looking everything up and writing must stay well under a second each, not grow with the
    // square of the count.
    TempDir dir;
    std::string text;
    for (int i = 0; i < 64000; ++i) text += "[Section" + std::to_string(i) + "]\nkey=" + std::to_string(i) + "\n";
    text += "[Wide]\n";
    for (int i = 0; i < 64000; ++i) text += "K" + std::to_string(i % 60000) + "=" + std::to_string(i) + "\n";
    const auto t0 = std::chrono::steady_clock::now();
    auto ini = IniFromText(dir, text);
    for (int i = 0; i < 64000; i += 1) ASSERT_EQ(ini.ReadInteger("SECTION" + std::to_string(i), "KEY", -1), i);
    for (int i = 0; i < 60000; ++i)
        ASSERT_EQ(ini.ReadInteger("wide", "k" + std::to_string(i), -1), i);  // the first of two wins
    ini.WriteInteger("section63999", "new", 1);
    ini.WriteInteger("NewSection", "k", 2);
    EXPECT_EQ(ini.Keys("Wide").size(), 60000u);
    EXPECT_EQ(ini.Sections().size(), 64002u);
    const auto elapsed = std::chrono::steady_clock::now() - t0;
    // Scanning took minutes here; the sanitizer build (unoptimised, every access checked) takes a few seconds.
#if defined(__SANITIZE_ADDRESS__)
    const auto limit = std::chrono::seconds(30);
#else
    const auto limit = std::chrono::seconds(3);
#endif
    EXPECT_LT(elapsed, limit)
        << "took " << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms";
    EXPECT_EQ(ini.Keys("Section63999"), (std::vector<std::string>{"key", "new"}));
    EXPECT_EQ(ini.Sections().back(), "NewSection");
}
