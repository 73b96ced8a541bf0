// The colour table file and the colour lookup.

#include <QDir>
#include <QStringEncoder>
#include <filesystem>

#include "gfxtest.h"

using namespace gfxtest;

namespace {

QByteArray Bytes(int size) {
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i) b[i] = char((i * 11 + 5) & 0xFF);
    return b;
}

// Runs body with the current directory switched to dir, restoring it afterwards.
template <typename F>
void InDirectory(const QString& dir, F body) {
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.toStdString());
    body();
    std::filesystem::current_path(old);
}

}  // namespace

TEST(FcPaletteData, ExactSizeIsReadAndPacked) {
    QTemporaryDir dir;
    const QByteArray raw = Bytes(192);
    WriteFile(dir.filePath("fcpalette.pal"), raw);
    InDirectory(dir.path(), [&] {
        FcPaletteData pal;  // the relative default name, looked up in the current directory
        ASSERT_TRUE(pal.Ok());
        EXPECT_EQ(pal.FailureKind(), FcPaletteData::Failure::None);
        EXPECT_EQ(pal.FailureMessage(), "");
        for (int n : {0, 1, 0x0F, 0x20, 0x3F}) {
            const auto r = std::uint8_t(raw[3 * n]), g = std::uint8_t(raw[3 * n + 1]), b = std::uint8_t(raw[3 * n + 2]);
            EXPECT_EQ(pal.GetColor(n), PackedColor(r + g * 256u + b * 65536u)) << n;
            EXPECT_EQ(PackedToQRgb(pal.GetColor(n)), qRgb(r, g, b)) << n;
        }
        EXPECT_EQ(0, std::memcmp(pal.RawBytes().data(), raw.constData(), 192));
    });
}

TEST(FcPaletteData, WrongSizesAndMissingFileAreRefusedWithTheirTexts) {
    QTemporaryDir dir;
    for (int size : {191, 193, 0}) {
        WriteFile(dir.filePath("fcpalette.pal"), Bytes(size));
        InDirectory(dir.path(), [&] {
            FcPaletteData pal;
            EXPECT_FALSE(pal.Ok()) << size;
            EXPECT_EQ(pal.FailureKind(), FcPaletteData::Failure::BadSize) << size;
            EXPECT_EQ(pal.FailureMessage(), "fcpalette.palのサイズが不正です") << size;
        });
    }
    QFile::remove(dir.filePath("fcpalette.pal"));
    InDirectory(dir.path(), [&] {
        FcPaletteData pal;
        EXPECT_FALSE(pal.Ok());
        EXPECT_EQ(pal.FailureKind(), FcPaletteData::Failure::CannotRead);
        EXPECT_EQ(pal.FailureMessage(), "fcpalette.palが読み込めませんでした");
    });
    // A folder of that name cannot be read as the file either.
    ASSERT_TRUE(QDir(dir.path()).mkdir("fcpalette.pal"));
    InDirectory(dir.path(), [&] {
        FcPaletteData pal;
        EXPECT_EQ(pal.FailureKind(), FcPaletteData::Failure::CannotRead);
    });
}

TEST(FcPaletteData, FileBesideAnotherFolderIsNotFound) {
    QTemporaryDir withFile, elsewhere;
    WriteFile(withFile.filePath("fcpalette.pal"), Bytes(192));
    InDirectory(elsewhere.path(),
                [&] { EXPECT_EQ(FcPaletteData().FailureKind(), FcPaletteData::Failure::CannotRead); });
    // An explicit path still works.
    EXPECT_TRUE(FcPaletteData(withFile.filePath("fcpalette.pal").toStdString()).Ok());
}

TEST(FcPaletteData, NumbersAboveTheTableUseTheirLowSixBits) {
    const auto pal = FcPaletteData::FromBytes(DistinctPaletteBytes());
    ASSERT_TRUE(pal.Ok());
    EXPECT_EQ(PackedToQRgb(pal.GetColor(0x3F)), ColourOf(0x3F));
    EXPECT_EQ(pal.GetColor(0x40), pal.GetColor(0x00));
    EXPECT_EQ(pal.GetColor(0x4F), pal.GetColor(0x0F));
    EXPECT_EQ(pal.GetColor(0xFF), pal.GetColor(0x3F));
    EXPECT_EQ(pal.GetColor(0x1234), pal.GetColor(0x34));
    EXPECT_EQ(pal.GetColor(-1), pal.GetColor(0x3F));
    EXPECT_NE(pal.GetColor(0x01), pal.GetColor(0x02));
}
