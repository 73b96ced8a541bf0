// Chip attribute names: the built-in tables, the Shift-JIS name file and the index formula.

#include <QStringEncoder>

#include "gfxtest.h"

using namespace gfxtest;

namespace {

QByteArray ShiftJis(const QString& text) {
    QStringEncoder enc("Shift_JIS");
    EXPECT_TRUE(enc.isValid());
    return enc(text);
}

// n lines "名前NN" (NN = line number in hex), CR LF line ends.
QByteArray NameFile(int n) {
    QString text;
    for (int i = 0; i < n; ++i) text += QString::fromUtf8("名前%1\r\n").arg(i, 2, 16, QChar(u'0')).toUpper();
    return ShiftJis(text);
}

QString Name(int i) {
    return QString::fromUtf8("名前%1").arg(i, 2, 16, QChar(u'0')).toUpper();
}

class ChipNames : public ::testing::Test {
protected:
    ChipNames() : pal_(FcPaletteData::FromBytes(DistinctPaletteBytes())), gfx_(pal_, doc_.Rom()) {}
    void Load(int lines) {
        WriteFile(folder_.filePath("ChipAttributes.txt"), NameFile(lines));
        gfx_.LoadChipAttributeNames(folder_.path());
    }
    QTemporaryDir folder_;
    TestDoc doc_;
    FcPaletteData pal_;
    EditorGraphics gfx_;
};

}  // namespace

TEST(ChipNameTables, BuiltinKindNamesAndCaptions) {
    EXPECT_EQ(BuiltinChipKindName(0), QString::fromUtf8("0x 背景"));
    EXPECT_EQ(BuiltinChipKindName(1), QString::fromUtf8("1x ブロック"));
    EXPECT_EQ(BuiltinChipKindName(6), QString::fromUtf8("6x 前景"));
    EXPECT_EQ(BuiltinChipKindName(13), QString::fromUtf8("Dx ダメージ床"));
    EXPECT_EQ(BuiltinChipKindName(15), QString::fromUtf8("Fxトゲ"));
    EXPECT_EQ(BuiltinChipAttributeCaption(6), QString::fromUtf8("6x 背景裏に隠れる"));
    EXPECT_EQ(BuiltinChipAttributeCaption(15), QString::fromUtf8("Fx トゲ"));
    // Apart from kinds 6 and F the captions are the kind names.
    for (int k = 0; k < 16; ++k)
        if (k != 6 && k != 15) {
            EXPECT_EQ(BuiltinChipAttributeCaption(k), BuiltinChipKindName(k)) << k;
        }
    const char* const questions[] = {"9x ?", "Ax ?", "Bx ?", "Cx ?", "Ex ?"};
    const int kinds[] = {9, 10, 11, 12, 14};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(BuiltinChipKindName(kinds[i]), QString::fromUtf8(questions[i]));
}

TEST_F(ChipNames, WithoutAFileTheKindNameIsUsed) {
    gfx_.LoadChipAttributeNames(folder_.path());  // no file there
    EXPECT_TRUE(gfx_.ChipAttributeNames().isEmpty());
    EXPECT_EQ(gfx_.ChipAttributeName(0x13), QString::fromUtf8("1x ブロック"));
    EXPECT_EQ(gfx_.ChipAttributeName(0xF4), QString::fromUtf8("Fxトゲ"));
    EXPECT_EQ(gfx_.ChipAttributeName(0x6F), QString::fromUtf8("6x 前景"));
}

TEST_F(ChipNames, IndexIsKindPlus16TimesSubKind) {
    Load(64);
    ASSERT_EQ(gfx_.ChipAttributeNames().size(), 64);
    EXPECT_EQ(gfx_.ChipAttributeName(0x13), Name(1));   // kind 1, sub-kind 0, palette 3
    EXPECT_EQ(gfx_.ChipAttributeName(0x10), Name(1));   // palette bits never matter
    EXPECT_EQ(gfx_.ChipAttributeName(0xF4), Name(31));  // kind F, sub-kind 1
    EXPECT_EQ(gfx_.ChipAttributeName(0x28), Name(34));  // kind 2, sub-kind 2
    EXPECT_EQ(gfx_.ChipAttributeName(0xFF), Name(63));  // kind F, sub-kind 3
    EXPECT_EQ(gfx_.ChipAttributeName(0x00), Name(0));
}

TEST_F(ChipNames, ShortFilesFallBackToTheKindName) {
    Load(20);
    EXPECT_EQ(gfx_.ChipAttributeName(0x13), Name(1));
    EXPECT_EQ(gfx_.ChipAttributeName(0x34), Name(19));                              // kind 3, sub-kind 1: the 20th line
    EXPECT_EQ(gfx_.ChipAttributeName(0x44), QString::fromUtf8("4x はしご(頂点)"));  // line 20 is missing
    EXPECT_EQ(gfx_.ChipAttributeName(0xF4), QString::fromUtf8("Fxトゲ"));

    Load(5);
    EXPECT_EQ(gfx_.ChipAttributeNames().size(), 5);
    EXPECT_EQ(gfx_.ChipAttributeName(0x43), Name(4));
    EXPECT_EQ(gfx_.ChipAttributeName(0x50), QString::fromUtf8("5x コンベア(右)"));
    EXPECT_EQ(gfx_.ChipAttributeName(0x14), QString::fromUtf8("1x ブロック"));  // index 17

    Load(0);
    EXPECT_TRUE(gfx_.ChipAttributeNames().isEmpty());
    EXPECT_EQ(gfx_.ChipAttributeName(0x13), QString::fromUtf8("1x ブロック"));
}

TEST_F(ChipNames, AFileThatDisappearsEmptiesTheList) {
    Load(64);
    QFile::remove(folder_.filePath("ChipAttributes.txt"));
    gfx_.LoadChipAttributeNames(folder_.path());
    EXPECT_TRUE(gfx_.ChipAttributeNames().isEmpty());
}

TEST(ReadShiftJisLines, AllThreeLineEndsAndJapaneseText) {
    QTemporaryDir dir;
    const QString path = dir.filePath("lines.txt");
    WriteFile(path, ShiftJis(QString::fromUtf8("一行目\r\n二行目\r三行目\n\n五行目\r\n")));
    QStringList lines;
    ASSERT_TRUE(ReadShiftJisLines(path, lines));
    const QStringList expected = {QString::fromUtf8("一行目"), QString::fromUtf8("二行目"), QString::fromUtf8("三行目"),
                                  QString(), QString::fromUtf8("五行目")};
    EXPECT_EQ(lines, expected);

    // A last line without a line end still counts; an empty file has no lines.
    WriteFile(path, ShiftJis(QString::fromUtf8("Ａ\nＢ")));
    ASSERT_TRUE(ReadShiftJisLines(path, lines));
    EXPECT_EQ(lines, (QStringList{QString::fromUtf8("Ａ"), QString::fromUtf8("Ｂ")}));
    WriteFile(path, QByteArray());
    ASSERT_TRUE(ReadShiftJisLines(path, lines));
    EXPECT_TRUE(lines.isEmpty());

    EXPECT_FALSE(ReadShiftJisLines(dir.filePath("absent.txt"), lines));
    EXPECT_TRUE(lines.isEmpty());
}

TEST(ReadShiftJisLines, MalformedBytesDoNotBreakTheLines) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.txt");
    // A lone lead byte at the end and undefined bytes in the middle.
    WriteFile(path, QByteArray("ab\x81\r\n\xFF\xFE"
                               "cd\n\x82",
                               11));
    QStringList lines;
    ASSERT_TRUE(ReadShiftJisLines(path, lines));
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("ab"));
}
