#include <sys/resource.h>

#include <csignal>

#include "doc_test_support.h"
#include "document/MyIniFiles.h"
#include "document/fileerror.h"
#include "document/fileio.h"

namespace {

constexpr std::size_t kTypical = 0x80010;

}  // namespace

TEST(RomImageLoad, SizesOutsideTheAcceptedRangeAreRefused) {
    Doc d;
    for (std::size_t size :
         {std::size_t{0}, std::size_t{4}, std::size_t{15}, std::size_t{0x200041}, std::size_t{0x300000}}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(d.rom->LoadFromFile(d.Put("bad.nes", NoiseImage(size, 1))), LoadResult::SizeRefused);
        EXPECT_EQ(d.rom->ImageSize(), 0);
        EXPECT_TRUE(d.rom->FileName().empty());
    }
    EXPECT_STREQ(LoadResultMessage(LoadResult::SizeRefused), "ファイルを開けませんでした");
    EXPECT_STREQ(LoadResultMessage(LoadResult::BadMagic), "ROMイメージが異常です");
    EXPECT_STREQ(LoadResultMessage(LoadResult::Loaded), "");
}

TEST(RomImageLoad, BoundarySizesWithTheMagicAreAccepted) {
    for (std::size_t size : {std::size_t{16}, std::size_t{17}, kTypical, std::size_t{0x200040}}) {
        SCOPED_TRACE(size);
        Doc d;
        const auto bytes = NoiseImage(size, static_cast<std::uint32_t>(size));
        const fs::path p = d.Put("ok.nes", bytes);
        ASSERT_EQ(d.rom->LoadFromFile(p), LoadResult::Loaded);
        EXPECT_EQ(d.rom->ImageSize(), static_cast<std::int32_t>(size));
        EXPECT_EQ(d.rom->FileName(), p);
        const auto buf = d.Buffer();
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), buf.begin()));
        EXPECT_TRUE(
            std::all_of(buf.begin() + static_cast<std::ptrdiff_t>(size), buf.end(), [](Byte b) { return b == 0; }));
    }
}

TEST(RomImageLoad, ASixteenByteImageDecodesEveryTableFromTheZeroBuffer) {
    Doc d;
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("tiny.nes", NoiseImage(16, 3))), LoadResult::Loaded);
    for (int s = 0; s < kStageCount; ++s) {
        const StageData& st = d.rom->StageAt(s);
        EXPECT_TRUE(std::all_of(st.MapSets(), st.MapSets() + 2048, [](Byte b) { return b == 0; }));
        // Screen bytes are all 0: the first 128 entries all load onto screen 0.
        EXPECT_EQ(st.ScreenObjectCount(0), 128);
    }
}

TEST(RomImageLoad, WrongMagicIsRefusedAndTheLoadedImageStaysSaveable) {
    Doc d;
    const auto good = NoiseImage(kTypical, 5);
    const fs::path first = d.Put("first.nes", good);
    ASSERT_EQ(d.rom->LoadFromFile(first), LoadResult::Loaded);
    d.EditEveryStage();
    ASSERT_TRUE(d.AnyHistory());
    const auto before = d.Buffer();

    auto bad = NoiseImage(kTypical, 6, false);
    bad[0] = 'N';
    bad[1] = 'E';
    bad[2] = 'S';
    bad[3] = 0x1B;
    EXPECT_EQ(d.rom->LoadFromFile(d.Put("bad.nes", bad)), LoadResult::BadMagic);
    EXPECT_EQ(d.Buffer(), before);
    EXPECT_EQ(d.rom->ImageSize(), static_cast<std::int32_t>(kTypical));
    EXPECT_EQ(d.rom->FileName(), first);
    EXPECT_FALSE(d.AnyHistory());  // only the history is gone

    d.rom->SaveToFile(d.dir / "again.nes");
    EXPECT_EQ(ReadAll(d.dir / "again.nes"), good);
}

TEST(RomImageLoad, RandomBytesWithAndWithoutTheMagic) {
    Doc d;
    for (std::uint32_t seed = 100; seed < 106; ++seed) {
        std::size_t size = 16 + (seed * 7919u) % 0x60000;
        auto bytes = NoiseImage(size, seed, false);
        if (bytes[0] == 0x4E && bytes[1] == 0x45 && bytes[2] == 0x53 && bytes[3] == 0x1A) bytes[0] = 0;
        EXPECT_EQ(d.rom->LoadFromFile(d.Put("r.nes", bytes)), LoadResult::BadMagic);
        EXPECT_EQ(d.rom->LoadFromFile(d.Put("r.nes", NoiseImage(size, seed, true))), LoadResult::Loaded);
        EXPECT_LE(d.rom->StageAt(static_cast<int>(seed % 16)).ObjectTotal(), 128);
    }
}

TEST(RomImageLoad, UnreadableFilesRaiseAFileErrorAndClearTheHistory) {
    Doc d;
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("a.nes", NoiseImage(kTypical, 8))), LoadResult::Loaded);
    const auto before = d.Buffer();
    d.EditEveryStage();
    EXPECT_THROW(d.rom->LoadFromFile(d.dir / "does-not-exist.nes"), FileError);
    EXPECT_FALSE(d.AnyHistory());
    d.EditEveryStage();
    fs::create_directory(d.dir / "folder.nes");
    EXPECT_THROW(d.rom->LoadFromFile(d.dir / "folder.nes"), FileError);
    EXPECT_FALSE(d.AnyHistory());
    EXPECT_EQ(d.Buffer(), before);
    EXPECT_EQ(d.rom->FileName(), d.dir / "a.nes");
    try {
        d.rom->LoadFromFile(d.dir / "does-not-exist.nes");
        FAIL() << "no exception";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Path(), d.dir / "does-not-exist.nes");
        EXPECT_NE(std::string(e.what()).find("does-not-exist.nes"), std::string::npos);
    }
}

TEST(RomImageLoad, ASmallerImageNeverDecodesTheBytesOfTheOneBefore) {
    Doc d;
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("big.nes", NoiseImage(kTypical, 9))), LoadResult::Loaded);
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("small.nes", NoiseImage(0x40010, 10))), LoadResult::Loaded);
    const auto buf = d.Buffer();
    EXPECT_TRUE(std::all_of(buf.begin() + 0x40010, buf.end(), [](Byte b) { return b == 0; }));
    const StageData& st = d.rom->StageAt(0);
    EXPECT_TRUE(std::all_of(st.Chip16x16Tiles(), st.Chip16x16Tiles() + 1024, [](Byte b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(st.Map(), st.Map() + 48, [](Byte b) { return b == 0; }));
}

TEST(RomImageSave, AnUnmodifiedImageIsWrittenByteIdentical) {
    Doc d;
    for (std::size_t size : {std::size_t{16}, std::size_t{0x40010}, kTypical, std::size_t{0x200040}}) {
        SCOPED_TRACE(size);
        const auto bytes = NoiseImage(size, static_cast<std::uint32_t>(size) + 1);
        ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", bytes)), LoadResult::Loaded);
        d.EditEveryStage();  // edits without flags are not saved
        d.rom->SaveToFile(d.dir / "out.nes");
        EXPECT_EQ(ReadAll(d.dir / "out.nes"), bytes);
    }
}

TEST(RomImageSave, OneMapSetCellOfStage2ChangesOnlyStage2sMapSetTable) {
    Doc d;
    const auto bytes = NoiseImage(kTypical, 13);
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", bytes)), LoadResult::Loaded);
    StageData& st = d.rom->StageAt(2);
    const int cell = 64 * 7 + 8 * 3 + 5;
    ASSERT_TRUE(st.SetMapSetByte(cell, static_cast<Byte>(st.MapSets()[cell] + 1)));
    d.flags.SetModified(ModifiedCategory::MapSet, 2, true);
    EXPECT_EQ(d.sink.shown.back(), "変更あり");
    d.rom->SaveToFile(d.dir / "in.nes");

    const auto out = ReadAll(d.dir / "in.nes");
    ASSERT_EQ(out.size(), bytes.size());
    const std::size_t table = 0x40910 + 2 * 0x2000;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] != bytes[i]) {
            EXPECT_GE(i, table);
            EXPECT_LT(i, table + 2048);
        }
    }
    EXPECT_EQ(out[table + cell], static_cast<Byte>(bytes[table + cell] + 1));
    EXPECT_FALSE(d.flags.AnyModified());
    EXPECT_EQ(d.sink.shown.back(), "");
    EXPECT_FALSE(d.AnyHistory());
    EXPECT_EQ(d.dir.Entries(), (std::vector<std::string>{"in.nes", "quorveneditor.ini"}));
}

TEST(RomImageSave, UndoingTheOnlyEditStillWritesTheFlaggedTable) {
    Doc d;
    const auto bytes = NoiseImage(kTypical, 14);
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", bytes)), LoadResult::Loaded);
    StageData& st = d.rom->StageAt(6);
    st.SetMapEntry(3, static_cast<Byte>(st.Map()[3] ^ 0x10));
    d.flags.SetModified(ModifiedCategory::Map, 6, true);
    st.Undo();
    EXPECT_TRUE(d.flags.AnyModified());
    EXPECT_TRUE(d.flags.IsModified(ModifiedCategory::Map, 6));
    d.rom->SaveToFile(d.dir / "out.nes");
    EXPECT_EQ(ReadAll(d.dir / "out.nes"), bytes);
}

TEST(RomImageSave, FlaggedCategoriesAreFoldedInTheirOrder) {
    // Tables laid over each other: whatever is written later wins. 16x16 tiles then attributes, map sets
    // then the map, palettes then the palette animation numbers, and the objects after the palettes.
    Doc d("[LevelDataAddress]\nChipProperty=40010\nMap=40910\nBGPaletteAnime=415A0\nObjectOffset=415A0\n");
    const auto bytes = NoiseImage(kTypical, 15);
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", bytes)), LoadResult::Loaded);
    StageData& st = d.rom->StageAt(1);
    const std::int32_t base = 0x2000;
    st.PasteChip16x16(0, {0xA1, 0xA2, 0xA3, 0xA4, 0xA5});  // tile 0 and attribute 0 share a byte
    st.PasteMapSet(0, {});                                 // map set byte 0 and map byte 0 share a byte
    st.SetMapEntry(0, 0xB1);
    st.SetPaletteByte(0, 0xC1);
    st.SetPaletteAnimeByte(0, 0xC2);
    st.ClearScreenObjects(0);
    for (int j = 0; j < kScreenCount; ++j) st.ClearScreenObjects(j);
    for (auto c : {ModifiedCategory::Chip16x16, ModifiedCategory::MapSet, ModifiedCategory::Map,
                   ModifiedCategory::Palette, ModifiedCategory::Object})
        d.flags.SetModified(c, 1, true);
    d.rom->SaveToFile(d.dir / "out.nes");
    const auto out = ReadAll(d.dir / "out.nes");
    EXPECT_EQ(out[0x40010 + base], 0xA5);  // attribute over tile
    EXPECT_EQ(out[0x40010 + base + 256], 0xA2);
    EXPECT_EQ(out[0x40910 + base], 0xB1);  // map over map set
    EXPECT_EQ(out[0x40910 + base + 48], 0);
    EXPECT_EQ(out[0x415A0 + base], 0);  // object offset 0 over palette and animation number
    EXPECT_EQ(out[0x415A0 + base + 20], 0);
}

TEST(RomImageSave, TablesBeyondTheEndOfASmallImageStayInTheBufferOnly) {
    Doc d;
    const auto bytes = NoiseImage(0x40010, 16);
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("small.nes", bytes)), LoadResult::Loaded);
    d.rom->StageAt(0).SetMapEntry(0, 0x1E);
    d.flags.SetModified(ModifiedCategory::Map, 0, true);
    d.rom->SaveToFile(d.dir / "out.nes");
    EXPECT_EQ(ReadAll(d.dir / "out.nes"), bytes);
    EXPECT_EQ(d.rom->ImageBytes()[0x41510], 0x1E);

    // The next load clears what the save wrote past the end.
    ASSERT_EQ(d.rom->LoadFromFile(d.dir / "out.nes"), LoadResult::Loaded);
    EXPECT_EQ(d.rom->ImageBytes()[0x41510], 0);
    EXPECT_EQ(d.rom->StageAt(0).Map()[0], 0);
}

TEST(RomImageSave, AFailedSaveKeepsThePreviousFileTheFlagsAndNoTemporaryFile) {
    Doc d;
    const auto bytes = NoiseImage(kTypical, 17);
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", bytes)), LoadResult::Loaded);
    StageData& st = d.rom->StageAt(4);
    st.SetChipProperty(1, static_cast<Byte>(st.ChipProperties()[1] ^ 0xFF));
    d.flags.SetModified(ModifiedCategory::Chip16x16, 4, true);

    fs::create_directory(d.dir / "folder.nes");
    EXPECT_THROW(d.rom->SaveToFile(d.dir / "folder.nes"), FileError);
    EXPECT_TRUE(fs::is_directory(d.dir / "folder.nes"));
    EXPECT_THROW(d.rom->SaveToFile(d.dir / "missing" / "x.nes"), FileError);
    EXPECT_THROW(d.rom->SaveToFile(d.dir / "in.nes" / "x.nes"), FileError);  // a file where a folder should be

    // A write that fails half-way, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 0x10000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        d.rom->SaveToFile(d.dir / "in.nes");
    } catch (const FileError&) {
        threw = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_TRUE(threw);

    EXPECT_EQ(ReadAll(d.dir / "in.nes"), bytes);
    EXPECT_EQ(d.dir.Entries(), (std::vector<std::string>{"folder.nes", "in.nes", "quorveneditor.ini"}));
    EXPECT_TRUE(d.flags.AnyModified());
    EXPECT_TRUE(d.flags.IsModified(ModifiedCategory::Chip16x16, 4));
    EXPECT_EQ(d.sink.shown.back(), "変更あり");
    EXPECT_TRUE(d.rom->StageAt(4).CanUndo());
    EXPECT_EQ(d.rom->FileName(), d.dir / "in.nes");

    d.rom->SaveToFile(d.dir / "in.nes");  // and once the disk has room again, it saves
    EXPECT_EQ(ReadAll(d.dir / "in.nes")[0x40410 + 4 * 0x2000 + 1],
              static_cast<Byte>(bytes[0x40410 + 4 * 0x2000 + 1] ^ 0xFF));
}

TEST(RomImageSave, SaveRemembersTheNewNameAndKeepsThePermissions) {
    Doc d;
    const fs::path in = d.Put("in.nes", NoiseImage(kTypical, 18));
    fs::permissions(in, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(d.rom->LoadFromFile(in), LoadResult::Loaded);
    d.rom->SaveToFile(in);
    EXPECT_EQ(fs::status(in).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    d.rom->SaveToFile(d.dir / "other.nes");
    EXPECT_EQ(d.rom->FileName(), d.dir / "other.nes");
}

TEST(RomImageClose, ClearsTheBufferTheStageAndTheHistories) {
    Doc d;
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", NoiseImage(0x40010, 19))), LoadResult::Loaded);
    d.rom->StageAt(0).SetMapEntry(0, 0x1E);
    d.flags.SetModified(ModifiedCategory::Map, 0, true);
    d.rom->SaveToFile(d.dir / "out.nes");  // writes the map past the end of the file into the buffer
    d.rom->SetCurrentStage(9);
    d.EditEveryStage();
    d.rom->CloseImage();
    const auto buf = d.Buffer();
    EXPECT_TRUE(std::all_of(buf.begin(), buf.end(), [](Byte b) { return b == 0; }));
    EXPECT_EQ(d.rom->CurrentStage(), 0);
    EXPECT_FALSE(d.AnyHistory());
}

TEST(RomImageDocument, CurrentStageAndForwardedHistory) {
    Doc d;
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", NoiseImage(kTypical, 20))), LoadResult::Loaded);
    d.rom->SetCurrentStage(3);
    EXPECT_EQ(d.rom->CurrentStage(), 3);
    d.rom->SetCurrentStage(16);
    d.rom->SetCurrentStage(-1);
    EXPECT_EQ(d.rom->CurrentStage(), 3);
    EXPECT_EQ(&d.rom->Current(), &d.rom->StageAt(3));
    EXPECT_FALSE(d.rom->CanUndo());
    StageData& st = d.rom->StageAt(3);
    st.SetPaletteByte(17, static_cast<Byte>(st.BGPalette(1)[1] ^ 1));
    EXPECT_TRUE(d.rom->CanUndo());
    EXPECT_STREQ(d.rom->UndoDescription(), "パレットの編集");
    d.rom->SetCurrentStage(5);  // switching keeps every stage's history; the other stage has none
    EXPECT_FALSE(d.rom->CanUndo());
    EXPECT_EQ(d.rom->Undo(), kUndoEmpty);
    d.rom->SetCurrentStage(3);
    EXPECT_EQ(d.rom->Undo(), kUndoPaletteByte);
    EXPECT_TRUE(d.rom->CanRedo());
    EXPECT_STREQ(d.rom->RedoDescription(), "パレットの編集");
    EXPECT_EQ(d.rom->Redo(), kUndoPaletteByte);
    d.rom->ClearAllHistory();
    EXPECT_FALSE(d.rom->CanUndo());

    d.rom->SetHistoryEnabled(false);
    for (int s = 0; s < kStageCount; ++s) {
        StageData& x = d.rom->StageAt(s);
        EXPECT_TRUE(x.SetMapEntry(1, static_cast<Byte>(x.Map()[1] ^ 1)));
        EXPECT_FALSE(x.CanUndo());
    }
}

TEST(RomImageSharing, Level5Equals4SharesTheVeryTablesOfStage4) {
    Doc d("[ShareData]\nlevel.5=4\n");
    const auto bytes = NoiseImage(kTypical, 22);
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", bytes)), LoadResult::Loaded);
    StageData& four = d.rom->StageAt(4);
    StageData& five = d.rom->StageAt(5);
    EXPECT_TRUE(five.SharesTablesWith(four));
    EXPECT_FALSE(d.rom->StageAt(6).SharesTablesWith(four));
    EXPECT_EQ(five.MapSets(), four.MapSets());
    EXPECT_EQ(five.Chip16x16Tiles(), four.Chip16x16Tiles());
    EXPECT_EQ(five.ChipProperties(), four.ChipProperties());
    EXPECT_EQ(five.Chip32x32(), four.Chip32x32());
    EXPECT_NE(five.Map(), four.Map());
    EXPECT_EQ(five.Map()[0], bytes[0x41510 + 5 * 0x2000]);

    const Byte original = four.MapSets()[100];
    const Byte edited = static_cast<Byte>(original ^ 0x33);
    ASSERT_TRUE(five.SetMapSetByte(100, edited));
    EXPECT_EQ(four.MapSets()[100], edited);

    four.ReadMapSets();  // discards the edit for both
    EXPECT_EQ(five.MapSets()[100], original);

    five.ClearHistory();
    ASSERT_TRUE(five.SetMapSetByte(100, edited));
    EXPECT_EQ(five.Undo(), kUndoMapSetByte);  // writes the recorded byte into the shared table
    EXPECT_EQ(four.MapSets()[100], original);
    EXPECT_EQ(five.Redo(), kUndoMapSetByte);
    EXPECT_EQ(four.MapSets()[100], edited);

    // Saved through stage 5, the table lands at stage 4's address.
    d.flags.SetModified(ModifiedCategory::MapSet, 5, true);
    d.rom->SaveToFile(d.dir / "out.nes");
    const auto out = ReadAll(d.dir / "out.nes");
    EXPECT_EQ(out[0x40910 + 4 * 0x2000 + 100], edited);
    EXPECT_EQ(out[0x40910 + 5 * 0x2000 + 100], bytes[0x40910 + 5 * 0x2000 + 100]);
}

TEST(RomImageSharing, UpwardAndChainedSharingFollowsTheAscendingOrder) {
    Doc d("[ShareData]\nlevel.2=3\nlevel.3=1\nlevel.7=6\nlevel.8=7\nlevel.9=twelve\nlevel.10=-4\n");
    StageData& s1 = d.rom->StageAt(1);
    EXPECT_TRUE(d.rom->StageAt(3).SharesTablesWith(s1));
    EXPECT_FALSE(d.rom->StageAt(2).SharesTablesWith(s1));  // took stage 3's own arrays before 3 was redirected
    EXPECT_FALSE(d.rom->StageAt(2).SharesTablesWith(d.rom->StageAt(3)));
    EXPECT_TRUE(d.rom->StageAt(8).SharesTablesWith(d.rom->StageAt(6)));
    EXPECT_FALSE(d.rom->StageAt(9).SharesTablesWith(d.rom->StageAt(8)));
    EXPECT_FALSE(d.rom->StageAt(10).SharesTablesWith(d.rom->StageAt(9)));
    EXPECT_EQ(d.ini->ReadString("ShareData", "level.10", ""), "-4");
    // Where each stage reads from agrees with which arrays it holds.
    EXPECT_EQ(d.rom->Addresses().TableAddress(StageTable::MapSet, 2), 0x40910 + 3 * 0x2000);
    EXPECT_EQ(d.rom->Addresses().TableAddress(StageTable::MapSet, 8), 0x40910 + 6 * 0x2000);
}

TEST(RomImageHostile, GarbageAddressConfigurationNeverReachesOutsideTheBuffer) {
    Doc d(
        "[LevelDataAddress]\nChip16x16=7FFFFFFF\nChipProperty=FFFFFFFF\nChip32x32=1FFFF0\nMapSet=80000000\n"
        "Map=200030\nBGPalette=FFFFFFF0\nBGPaletteAnime=200035\nObjectScreen=1FFFC0\nObjectX=FFFFFF90\n"
        "ObjectY=zzz\nObjectKind=\nObjectOffset=7FFFFFF0\n[ShareData]\nlevel.0=15\nlevel.15=0x0F\nlevel.3=0x7FFFFFFF\n"
        "[Address]\nMidPointData=FFFFFFFFFF\n");
    const auto bytes = NoiseImage(0x200040, 23);
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", bytes)), LoadResult::Loaded);
    for (int s = 0; s < kStageCount; ++s) {
        StageData& st = d.rom->StageAt(s);
        st.SetMapSetByte(5, static_cast<Byte>(st.MapSets()[5] ^ 1));
        st.AppendObject(47, 1, 2, 3);
        for (int c = 0; c < kModifiedCategoryCount; ++c) d.flags.SetModified(static_cast<ModifiedCategory>(c), s, true);
    }
    d.rom->SaveToFile(d.dir / "out.nes");
    EXPECT_EQ(ReadAll(d.dir / "out.nes").size(), bytes.size());
    EXPECT_EQ(d.rom->Addresses().MidPointData(), 0x7C8BB);
    EXPECT_TRUE(d.rom->StageAt(0).SharesTablesWith(d.rom->StageAt(15)));
}

TEST(RomImageHostile, RealImagesLoadAndSaveByteIdentical) {
    const fs::path folder = RealDataDir();
    if (!fs::is_directory(folder)) GTEST_SKIP() << "no third-party images in " << folder;
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".nes") continue;
        SCOPED_TRACE(entry.path().string());
        ++seen;
        Doc d;
        const auto bytes = ReadAll(entry.path());
        ASSERT_EQ(d.rom->LoadFromFile(entry.path()), LoadResult::Loaded);
        d.rom->SaveToFile(d.dir / "copy.nes");
        EXPECT_EQ(ReadAll(d.dir / "copy.nes"), bytes);
        // Every category of every stage written back unedited leaves the image as it was only where the
        // tables did not overlap; all that matters here is that it is safe and keeps the size.
        for (int s = 0; s < kStageCount; ++s)
            for (int c = 0; c < kModifiedCategoryCount; ++c)
                d.flags.SetModified(static_cast<ModifiedCategory>(c), s, true);
        d.rom->SaveToFile(d.dir / "all.nes");
        EXPECT_EQ(ReadAll(d.dir / "all.nes").size(), bytes.size());
    }
    EXPECT_GT(seen, 0) << "no .nes files in " << folder;
}

TEST(RomImageLoad, EveryLoadLeavesExactlyTheFileThenZeros) {
    // Loads of changing sizes, refused loads in between and saves that write past a small file's end:
    // after each good load the buffer is the file followed by zeros, whatever either of the document's
    // buffers held before; after a refused one it is unchanged.
    Doc d;
    std::vector<Byte> expected(kImageCapacity, 0);
    const std::size_t sizes[] = {0x200040, 0x40010, 0x80010, 16, 0x80010, 0x1FFFFF, 0x40010, 0x40010};
    std::uint32_t seed = 200;
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        // A refused file larger than the open image goes through the second buffer first.
        EXPECT_EQ(d.rom->LoadFromFile(d.Put("bad.nes", NoiseImage(0x200040, seed++, false))), LoadResult::BadMagic);
        if (d.rom->ImageSize() > 0) {
            EXPECT_EQ(d.Buffer(), expected);
        }
        const auto bytes = NoiseImage(size, seed++);
        ASSERT_EQ(d.rom->LoadFromFile(d.Put("good.nes", bytes)), LoadResult::Loaded);
        std::fill(expected.begin(), expected.end(), Byte{0});
        std::copy(bytes.begin(), bytes.end(), expected.begin());
        ASSERT_EQ(d.Buffer(), expected);
        EXPECT_EQ(d.rom->StageAt(3).Map()[5], size > 0x41510 + 3 * 0x2000 + 5 ? bytes[0x41510 + 3 * 0x2000 + 5] : 0);
        // A save that writes stage 15's map past the end of a small file, into the buffer only.
        d.rom->StageAt(15).SetMapEntry(0, 0x2A);
        d.flags.SetModified(ModifiedCategory::Map, 15, true);
        d.rom->SaveToFile(d.dir / "out.nes");
        expected[0x41510 + 15 * 0x2000] = 0x2A;
        EXPECT_EQ(d.Buffer(), expected);
    }
}
