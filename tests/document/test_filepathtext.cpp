// File names that are not UTF-8 survive the way through the window's text back to the file system.

#include "doc_test_support.h"
#include "document/filepathtext.h"

TEST(FilePathText, NamesOfAnyBytesComeBackExactly) {
    // Shift-JIS "テスト.nes", UTF-8 "日本語.nes", a 4-byte character, stray bytes, a truncated sequence,
    // an encoded surrogate and an over-long form: every one returns byte for byte.
    const std::vector<std::string> names{"/tmp/\x83\x65\x83\x58\x83\x67.nes",
                                         "/tmp/\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.nes",
                                         "/tmp/\xF0\x9F\x8E\xAE.nes",
                                         "/x/\x80\xFF\xFE.nes",
                                         "/x/\xE6\x97.nes",
                                         "/x/\xED\xB2\x80.nes",
                                         "/x/\xC0\xAF.nes",
                                         "plain.nes"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(FilePathFromText(FilePathToText(fs::path(name))).native(), name);
    }
    // Valid UTF-8 becomes the characters it encodes, so the caption shows the name.
    EXPECT_EQ(FilePathToText(fs::path("\xE6\x97\xA5\xE6\x9C\xAC.nes")), u"日本.nes");
    EXPECT_EQ(FilePathToText(fs::path("\xF0\x9F\x8E\xAE")), u"\U0001F3AE");
    EXPECT_EQ(FilePathToText(fs::path("\x83\x65")), (std::u16string{char16_t(0xDC83), u'e'}));
    // Text typed by a user (a file dialog's name) goes to the file system as UTF-8.
    EXPECT_EQ(FilePathFromText(u"日本.nes").native(), "\xE6\x97\xA5\xE6\x9C\xAC.nes");
    EXPECT_EQ(FilePathFromText(std::u16string{char16_t(0xD800), u'a'}).native(),
              "\xEF\xBF\xBD"
              "a");
}

TEST(FilePathText, AShiftJisNamedImageOpensAndSavesUnderItsOwnName) {
    Doc d;
    const std::string name = "\x83\x65\x83\x58\x83\x67.nes";  // Shift-JIS, not valid UTF-8
    const auto bytes = NoiseImage(0x80010, 41);
    d.Put(name, bytes);
    // The path as the window holds it (UTF-16) and back.
    const fs::path path = FilePathFromText(FilePathToText(d.dir / name));
    ASSERT_EQ(d.rom->LoadFromFile(path), LoadResult::Loaded);
    d.rom->StageAt(0).SetMapEntry(0, static_cast<Byte>(d.rom->StageAt(0).Map()[0] ^ 1));
    d.flags.SetModified(ModifiedCategory::Map, 0, true);
    d.rom->SaveToFile(path);
    EXPECT_EQ(d.dir.Entries(), (std::vector<std::string>{"quorveneditor.ini", name}));
    EXPECT_NE(ReadAll(d.dir / name), bytes);
}
