// The list dialog and the two usage checks of the 16x16 chip page.

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <vector>

#include "test_chip16_fixture.h"

using namespace chip16test;

namespace {
// Every number 0 to 255 except those in missing, spread over size bytes.
std::vector<Byte> TableWithout(const std::vector<int>& missing, int size) {
    std::vector<Byte> present;
    for (int n = 0; n < 256; ++n)
        if (std::find(missing.begin(), missing.end(), n) == missing.end()) present.push_back(Byte(n));
    std::vector<Byte> table(size);
    for (int i = 0; i < size; ++i) table[i] = present.empty() ? 0 : present[i % present.size()];
    return table;
}
}  // namespace

TEST(UnusedNumberListTest, ListsMissingNumbersPerGroupOfSixteen) {
    auto t = TableWithout({0x03, 0x0A, 0x41}, 1024);
    EXPECT_EQ(UnusedNumberList(t.data(), 1024), "03 0A \r\n41 \r\n");

    t = TableWithout({}, 1024);
    EXPECT_EQ(UnusedNumberList(t.data(), 1024), "");

    // Last numbers of a group and first of the next never share a line.
    t = TableWithout({0x0F, 0x10, 0xFF}, 2048);
    EXPECT_EQ(UnusedNumberList(t.data(), 2048), "0F \r\n10 \r\nFF \r\n");

    // Only 00 used: sixteen lines, the first without 00.
    std::vector<Byte> zeros(1024, 0);
    const QString all = UnusedNumberList(zeros.data(), 1024);
    const QStringList lines = all.split("\r\n");
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[0], "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ");
    EXPECT_EQ(lines[1], "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F ");
    EXPECT_EQ(lines[15], "F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF ");
    EXPECT_EQ(lines[16], "");

    // A number used only in the very last byte counts as used.
    t = TableWithout({0x41}, 1024);
    t[1023] = 0x41;
    EXPECT_EQ(UnusedNumberList(t.data(), 1024).contains("41"), false);
    EXPECT_EQ(UnusedNumberList(nullptr, 0).count("\r\n"), 16);
}

TEST(ShowUnusedChipNumFormTest, LayoutAndCancel) {
    TShowUnusedChipNumForm form;
    EXPECT_EQ(form.size(), QSize(339, 298));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("未使用チップ番号"));
    EXPECT_EQ(form.Message(), QString::fromUtf8("未使用チップ番号は"));
    auto* memo = form.findChild<QPlainTextEdit*>("MemoUnusedChipNum");
    ASSERT_EQ(memo, form.Memo());
    EXPECT_EQ(memo->size(), QSize(321, 225));
    // Every character of a list has the same width, and a full line of 16 numbers fits the box.
    const QFontMetrics fm(memo->font());
    for (QChar ch : QString("0123456789ABCDEF"))
        EXPECT_EQ(fm.horizontalAdvance(ch), fm.horizontalAdvance(' ')) << char(ch.unicode());
    form.Fill("c", "m", "F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF \r\n");
    form.show();
    QApplication::processEvents();
    EXPECT_LE(fm.horizontalAdvance("F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF ") +
                  2 * int(memo->document()->documentMargin()),
              memo->viewport()->width());
    form.hide();
    form.setWindowTitle(QString::fromUtf8("未使用チップ番号"));
    EXPECT_EQ(form.findChild<QLabel*>("LblMessage")->text(), form.Message());
    auto* ok = form.findChild<QPushButton*>("BtnReplaceMapSetChips");
    auto* cancel = form.findChild<QPushButton*>("BtnCancel");
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(cancel->text(), QString::fromUtf8("キャンセル"));

    form.Fill(QString(), "msg", "01 \r\n20 21 \r\n");
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("未使用チップ番号"));  // a null caption keeps the old one
    EXPECT_EQ(form.ListText(), "01 \r\n20 21 \r\n");
    EXPECT_EQ(memo->toPlainText(), "01 \n20 21 \n");

    // The real modal loop: "キャンセル" closes it with the result Rejected, and "OK" stays hidden.
    bool okVisible = true;
    QTimer::singleShot(0, &form, [&] {
        okVisible = ok->isVisible();
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    EXPECT_EQ(form.ShowModal(), int(QDialog::Rejected));
    EXPECT_FALSE(okVisible);
    EXPECT_FALSE(form.isVisible());

    // With "OK" shown, pressing it runs the handler and accepts.
    int handled = 0;
    form.SetReplaceHandler([&] { ++handled; });
    ok->setVisible(true);
    QTimer::singleShot(0, &form, [&] { QTest::mouseClick(ok, Qt::LeftButton); });
    EXPECT_EQ(form.ShowModal(), int(QDialog::Accepted));
    EXPECT_EQ(handled, 1);
}

class UnusedChecksTest : public Chip16PageTest {
protected:
    struct Shown {
        QString caption, message, list, memo;
        bool okVisible = true;
        int count = 0;
    };

    void SetUp() override {
        Chip16PageTest::SetUp();
        dialog_ = form_->UsageListDialog();
        ASSERT_NE(dialog_, nullptr);
        prompts_.dialogHook = [this](QDialog& dialog, const QString& name) {
            EXPECT_EQ(name, "ShowUnusedChipNumForm");
            auto& d = dynamic_cast<TShowUnusedChipNumForm&>(dialog);
            shown_.caption = d.windowTitle();
            shown_.message = d.Message();
            shown_.list = d.ListText();
            shown_.memo = d.Memo()->toPlainText();
            shown_.okVisible = d.ReplaceButton()->isVisibleTo(&d);
            ++shown_.count;
            return int(QDialog::Rejected);
        };
    }

    void SetChip32(const std::vector<Byte>& table) {
        for (int i = 0; i < 1024; ++i) Stage().SetChip32x32Byte(i, table[i]);
    }
    void SetTiles(const std::vector<Byte>& table) {
        for (int i = 0; i < 1024; ++i) Stage().SetChip16x16Tile(i, table[i]);
    }
    void Press(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

    TShowUnusedChipNumForm* dialog_ = nullptr;
    Shown shown_;
};

TEST_F(UnusedChecksTest, OneDialogPerWindowCreatedAtStart) {
    EXPECT_EQ(form_->findChildren<TShowUnusedChipNumForm*>().size(), 1);
    EXPECT_EQ(dialog_->parent(), form_.get());
    EXPECT_EQ(dialog_->windowTitle(), QString::fromUtf8("未使用チップ番号"));
}

TEST_F(UnusedChecksTest, Unused16x16ChipsAreThoseNoChip32ByteHolds) {
    SetChip32(TableWithout({0x03, 0x0A, 0x41}, 1024));
    const auto tilesBefore = std::vector<Byte>(Stage().Chip16x16Tiles(), Stage().Chip16x16Tiles() + 1024);
    const std::size_t undoBefore = Stage().UndoDepth();
    dialog_->ReplaceButton()->setVisible(true);  // left visible by a replacement: the check hides it
    Press("BtnUnused16x16ChipChk");
    ASSERT_EQ(shown_.count, 1);
    EXPECT_EQ(shown_.caption, QString::fromUtf8("未使用16x16チップ番号"));
    EXPECT_EQ(shown_.message, QString::fromUtf8("32x32チップに使用されてない16x16チップ番号は"));
    EXPECT_EQ(shown_.list, "03 0A \r\n41 \r\n");
    EXPECT_EQ(shown_.memo, "03 0A \n41 \n");
    EXPECT_FALSE(shown_.okVisible);
    // The check changes nothing.
    EXPECT_EQ(Stage().UndoDepth(), undoBefore);
    EXPECT_TRUE(std::equal(tilesBefore.begin(), tilesBefore.end(), Stage().Chip16x16Tiles()));

    // Every number used: an empty list.
    SetChip32(TableWithout({}, 1024));
    Press("BtnUnused16x16ChipChk");
    EXPECT_EQ(shown_.count, 2);
    EXPECT_EQ(shown_.list, "");
    EXPECT_EQ(shown_.memo, "");

    // A chip held only by a 32x32 chip that no map set uses still counts as used.
    auto t = TableWithout({0x55}, 1024);
    t[4 * 0xFE + 2] = 0x55;
    SetChip32(t);
    bool mapSetUsesFE = false;
    for (int i = 0; i < 2048; ++i) mapSetUsesFE = mapSetUsesFE || Stage().MapSets()[i] == 0xFE;
    if (mapSetUsesFE)
        for (int i = 0; i < 2048; ++i)
            if (Stage().MapSets()[i] == 0xFE) Stage().SetMapSetByte(i, 0x00);
    Press("BtnUnused16x16ChipChk");
    EXPECT_EQ(shown_.list, "");
}

TEST_F(UnusedChecksTest, UnusedTilesAreThoseNoChipTileByteHolds) {
    SetTiles(TableWithout({0x00, 0x7F, 0x80, 0x8E, 0xF1}, 1024));
    Press("BtnUnusedTileChk");
    ASSERT_EQ(shown_.count, 1);
    EXPECT_EQ(shown_.caption, QString::fromUtf8("未使用タイル番号"));
    EXPECT_EQ(shown_.message, QString::fromUtf8("16x16チップに使用されてないタイル番号は"));
    EXPECT_EQ(shown_.list, "00 \r\n7F \r\n80 8E \r\nF1 \r\n");

    SetTiles(TableWithout({}, 1024));
    Press("BtnUnusedTileChk");
    EXPECT_EQ(shown_.list, "");

    // One tile everywhere: fifteen numbers in its own group, sixteen in each other.
    SetTiles(std::vector<Byte>(1024, 0x42));
    Press("BtnUnusedTileChk");
    const QStringList lines = shown_.list.split("\r\n");
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[4], "40 41 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F ");
    EXPECT_EQ(lines[0].size(), 48);

    // The other check after this one sets its own caption and message again.
    Press("BtnUnused16x16ChipChk");
    EXPECT_EQ(shown_.caption, QString::fromUtf8("未使用16x16チップ番号"));
    EXPECT_EQ(shown_.count, 4);
}

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
