// The shipped name lists: Shift-JIS text with CR LF line ends, of the sizes the editor indexes.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

namespace {

QStringList ReadLines(const char* path, bool& crlfOnly) {
    QFile f(QString::fromUtf8(path));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path;
    const QByteArray bytes = f.readAll();
    crlfOnly = true;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) crlfOnly = false;
        if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')) crlfOnly = false;
    }
    QStringDecoder decoder("Shift_JIS");
    const QString text = decoder.decode(bytes);
    EXPECT_FALSE(decoder.hasError()) << path;
    EXPECT_FALSE(text.contains(QChar(0xFFFD))) << path;
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

TEST(TextData, ChipAttributeNamesHave64LinesInKindThenSubKindOrder) {
    bool crlf = false;
    const QStringList lines = ReadLines(QUORVEN_DATA_DIR "/ChipAttributes.txt", crlf);
    EXPECT_TRUE(crlf);
    ASSERT_EQ(lines.size(), 64);
    EXPECT_EQ(lines[0], QString::fromUtf8("0x 背景"));
    EXPECT_EQ(lines[1], QString::fromUtf8("1x ブロック"));
    EXPECT_EQ(lines[2], QString::fromUtf8("2x はしご(途中)"));
    EXPECT_EQ(lines[15], QString::fromUtf8("Fx トゲ"));
    // Line 16 x sub-kind + kind names attribute byte kind x 16 + sub-kind x 4: its first two characters.
    for (int i = 0; i < 64; ++i) {
        const int kind = i % 16, sub = i / 16;
        const QString prefix =
            sub == 0 ? QString::asprintf("%Xx ", kind) : QString::asprintf("%02X ", kind * 16 + sub * 4);
        EXPECT_TRUE(lines[i].startsWith(prefix)) << i << " " << lines[i].toStdString();
        EXPECT_GT(lines[i].size(), prefix.size()) << i;
    }
}

TEST(TextData, ObjectKindNamesHave256NumberedLines) {
    bool crlf = false;
    const QStringList lines = ReadLines(QUORVEN_DATA_DIR "/ObjectList.txt", crlf);
    EXPECT_TRUE(crlf);
    ASSERT_EQ(lines.size(), 256);
    int japanese = 0;
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(lines[i].startsWith(QString::asprintf("%02X ", i))) << i;
        for (QChar c : lines[i])
            if (c.unicode() >= 0x3000) {
                ++japanese;
                break;
            }
    }
    EXPECT_EQ(japanese, 256);
}
