// The palette page driven through the real main window on the demo image: mouse and key events at view
// pixel positions, the document bytes, the Edit menu, the modified marker and the saved file.

#include <QComboBox>
#include <QToolButton>

#include "editors/paletteedit.h"
#include "pagebench.h"

namespace {

// Counts the palette set changes the page asks the main window for.
class CountingForm : public TMainForm {
public:
    using TMainForm::TMainForm;
    int paletteSetChanges = 0;
    void PaletteSetChanged() override {
        ++paletteSetChanges;
        TMainForm::PaletteSetChanged();
    }
};

const QString kUndoPalette = QString::fromUtf8("元に戻す(&U) - パレットの編集");
const QString kUndoAnime = QString::fromUtf8("元に戻す(&U) - パレットアニメの編集");
const QString kModified = QString::fromUtf8("変更あり");
const QString kAskPalette = QString::fromUtf8("yesno:このステージのパレットを読み込み直します。よろしいですか？");
const QString kAskAnime =
    QString::fromUtf8("yesno:このステージのアニメーションパレットを読み込み直します。よろしいですか？");

QString Hex2(int n) {
    return QStringLiteral("%1").arg(n, 2, 16, QLatin1Char('0')).toUpper();
}

// Each test opens the image itself (Open(patch)), with the shipped colour table.
class PalettePageTest : public pagebench::PageBench {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPagePalette};
        o.open = false;
        o.shippedColourTable = true;
        o.missingControlFails = true;
        return o;
    }
    std::unique_ptr<TMainForm> CreateForm(UserPrompts& prompts, std::unique_ptr<PageFactory> factory,
                                          StartupPaths paths) override {
        auto form = std::make_unique<CountingForm>(prompts, std::move(factory), std::move(paths));
        counting_ = form.get();
        return form;
    }
    void TearDown() override {
        if (form_) {
            prompts_.yesNoCancelAnswers.push_back(UserPrompts::Answer::No);  // leave without saving
            form_->close();
        }
        PageBench::TearDown();
    }

    QLineEdit* Pal(int i) { return Find<QLineEdit>(QStringLiteral("EditPal%1").arg(i)); }
    QLineEdit* Anime(int p) { return Find<QLineEdit>(QStringLiteral("EditAnimePal%1").arg(p)); }
    QComboBox* SetList() { return Find<QComboBox>("CBSelectPaletteSet"); }

    static QRgb Px(TImageEx* v, int x, int y) { return v->Picture().pixel(x, y) | 0xFF000000u; }
    // The centre of palette square i in its view.
    QRgb PalSquare(int i) { return Px(View(QStringLiteral("ImgPalView%1").arg(i / 4)), 24 * (i % 4) + 12, 12); }
    QRgb AnimSquare(int i) { return Px(View(QStringLiteral("ImgAnimePal%1").arg(i / 4)), 24 * (i % 4) + 12, 12); }

    void ClickPal(int i, Qt::MouseButton b = Qt::LeftButton) {
        Click(QStringLiteral("ImgPalView%1").arg(i / 4), 24 * (i % 4) + 5, 7, b);
    }
    void ClickTable(int n, Qt::MouseButton b = Qt::LeftButton) {
        Click("ImgColorTable", 24 * (n % 16) + 20, 24 * (n / 16) + 3, b);
    }
    std::int32_t PaletteAddress(int stage = 0) const {
        return form_->Rom().Addresses().TableAddress(StageTable::BGPalette, stage);
    }
    std::int32_t AnimeAddress(int stage = 0) const {
        return form_->Rom().Addresses().TableAddress(StageTable::BGPaletteAnime, stage);
    }
    // The colour number stored in entry of the set.
    int StoredColour(int set, int entry) { return Stage().BGPalette(set)[entry]; }

    CountingForm* counting_ = nullptr;
};

// ----------------------------------------------------------------------------------------------------

TEST_F(PalettePageTest, ControlsHaveTheirNamesSizesAndFirstContents) {
    Open();
    QComboBox* list = SetList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 7);
    for (int s = 0; s < 7; ++s) EXPECT_EQ(list->itemText(s), QString::fromUtf8("定義") + QString::number(s));
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(form_->PageControl()->tabText(kPagePalette), QString::fromUtf8("パレット"));

    for (int p = 0; p < 4; ++p) {
        for (const char* name : {"ImgPalView%1", "ImgAnimePal%1"}) {
            TImageEx* v = View(QString::fromLatin1(name).arg(p));
            ASSERT_NE(v, nullptr);
            EXPECT_EQ(v->size(), QSize(96, 24));
            EXPECT_EQ(v->Tag(), p);
        }
        ASSERT_NE(Anime(p), nullptr);
        EXPECT_EQ(Anime(p)->maxLength(), 2);
        EXPECT_NE(Find<QWidget>(QStringLiteral("UDAnimePal%1").arg(p)), nullptr);
        EXPECT_EQ(Anime(p)->text(), Hex2(Stage().PaletteAnime(0)[p]));
    }
    ASSERT_NE(View("ImgColorTable"), nullptr);
    EXPECT_EQ(View("ImgColorTable")->size(), QSize(384, 96));
    EXPECT_EQ(View("ImgSelectColor")->size(), QSize(32, 32));
    EXPECT_EQ(Find<QLabel>("LblSelectColor")->text(), "00");
    EXPECT_EQ(Px(View("ImgSelectColor"), 16, 16), TableColour(0));
    EXPECT_EQ(Find<QAbstractButton>("BtnPaletteReload")->text(), QString::fromUtf8("再読み込み"));
    EXPECT_EQ(Find<QAbstractButton>("BtnAnimationPaletteReload")->text(), QString::fromUtf8("再読み込み"));

    for (int i = 0; i < 16; ++i) {
        ASSERT_NE(Pal(i), nullptr);
        EXPECT_EQ(Pal(i)->maxLength(), 2);
        const int stored = StoredColour(0, i);
        EXPECT_EQ(Pal(i)->text(), Hex2(stored)) << i;
        EXPECT_EQ(PalSquare(i), TableColour(stored)) << i;
        // Entry 4p is never animated, so the animated row shows the stored colour there.
        if (i % 4 == 0) {
            EXPECT_EQ(AnimSquare(i), TableColour(stored)) << i;
        }
    }
    for (int n = 0; n < 64; ++n)
        EXPECT_EQ(Px(View("ImgColorTable"), 24 * (n % 16) + 12, 24 * (n / 16) + 12), TableColour(n)) << n;
    // Opening and resetting the page records nothing.
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_TRUE(form_->StatusText(0).isEmpty());
}

TEST_F(PalettePageTest, TypingColourNumbersFollowsTheFieldRules) {
    Open();
    const int old0 = StoredColour(0, 0);
    QLineEdit* f = Pal(0);
    ASSERT_NE(f, nullptr);

    // 40 is above the 64 colours: refused, field set back, nothing recorded.
    Type(f, "40");
    EXPECT_EQ(f->text(), Hex2(old0));
    EXPECT_EQ(StoredColour(0, 0), old0);
    // Not hexadecimal, or a sign: refused the same way.
    for (const char* bad : {"G1", "-1", "+1", " 1"}) {
        Type(f, QString::fromLatin1(bad));
        EXPECT_EQ(f->text(), Hex2(old0)) << bad;
    }
    EXPECT_EQ(StoredColour(0, 0), old0);
    // One character does nothing yet.
    Type(f, "3");
    EXPECT_EQ(f->text(), "3");
    EXPECT_EQ(StoredColour(0, 0), old0);
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_TRUE(form_->StatusText(0).isEmpty());

    // 3F is accepted (the field now holds "3" and gets a second character).
    QTest::keyClicks(f, "F");
    const int v1 = old0 == 0x3F ? 0x30 : 0x3F;
    if (v1 != 0x3F) Type(f, "30");
    EXPECT_EQ(f->text(), Hex2(v1));
    EXPECT_EQ(StoredColour(0, 0), v1);
    EXPECT_EQ(PalSquare(0), TableColour(v1));
    EXPECT_EQ(AnimSquare(0), TableColour(v1));
    EXPECT_EQ(form_->Graphics().GetStagePaletteColor(0) | 0xFF000000u, TableColour(v1));
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    EXPECT_EQ(UndoCaption(), kUndoPalette);
    EXPECT_TRUE(form_->Flags().IsModified(ModifiedCategory::Palette, 0));
    EXPECT_EQ(form_->StatusText(0), kModified);

    // Lower case is accepted and shown in upper case.
    const int old4 = StoredColour(0, 4);
    const int v2 = old4 == 0x0F ? 0x0A : 0x0F;
    Type(Pal(4), v2 == 0x0F ? "0f" : "0a");
    EXPECT_EQ(Pal(4)->text(), Hex2(v2));
    EXPECT_EQ(StoredColour(0, 4), v2);
    EXPECT_EQ(PalSquare(4), TableColour(v2));
    EXPECT_EQ(Stage().UndoDepth(), 2u);

    // Typing the stored number again records nothing.
    Type(Pal(4), Hex2(v2).toLower());
    EXPECT_EQ(Pal(4)->text(), Hex2(v2));
    EXPECT_EQ(Stage().UndoDepth(), 2u);

    // The edits go to the set chosen in the list, and into the saved file.
    ASSERT_TRUE(form_->Save1Click());
    QFile saved(romPath_);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_GT(bytes.size(), PaletteAddress() + 4);
    EXPECT_EQ(static_cast<unsigned char>(bytes[PaletteAddress() + 0]), v1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[PaletteAddress() + 4]), v2);
    EXPECT_TRUE(form_->StatusText(0).isEmpty());
}

TEST_F(PalettePageTest, ColourTableSelectsAndPaletteSquaresWriteOrPick) {
    Open([](std::vector<std::uint8_t>& img, const AddressData& a) {
        img[a.TableAddress(StageTable::BGPalette, 0) + 5] = 0x45;  // malformed colour number
    });
    ASSERT_EQ(StoredColour(0, 5), 0x45);
    // Shown with its low six bits.
    EXPECT_EQ(PalSquare(5), TableColour(0x05));
    EXPECT_EQ(Pal(5)->text(), "45");

    // Right and middle presses on the colour table do nothing; a left press selects.
    ClickTable(0x2A, Qt::RightButton);
    ClickTable(0x2A, Qt::MiddleButton);
    EXPECT_EQ(Find<QLabel>("LblSelectColor")->text(), "00");
    ClickTable(0x2A);
    EXPECT_EQ(Find<QLabel>("LblSelectColor")->text(), "2A");
    EXPECT_EQ(Px(View("ImgSelectColor"), 0, 0), TableColour(0x2A));
    EXPECT_EQ(Px(View("ImgSelectColor"), 31, 31), TableColour(0x2A));
    EXPECT_FALSE(Stage().CanUndo());

    // A left press writes the selected colour through the field.
    const int target = StoredColour(0, 6) == 0x2A ? 7 : 6;
    ClickPal(target);
    EXPECT_EQ(Pal(target)->text(), "2A");
    EXPECT_EQ(StoredColour(0, target), 0x2A);
    EXPECT_EQ(PalSquare(target), TableColour(0x2A));
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    EXPECT_EQ(form_->StatusText(0), kModified);

    // Pressing again with the same colour records nothing.
    ClickPal(target);
    EXPECT_EQ(Stage().UndoDepth(), 1u);

    // Right press on 0x45 picks 0x0F; middle press picks like the right one.
    ClickPal(5, Qt::RightButton);
    EXPECT_EQ(Find<QLabel>("LblSelectColor")->text(), "0F");
    EXPECT_EQ(Px(View("ImgSelectColor"), 16, 16), TableColour(0x0F));
    ClickPal(target, Qt::MiddleButton);
    EXPECT_EQ(Find<QLabel>("LblSelectColor")->text(), "2A");
    ClickPal(5, Qt::RightButton);
    EXPECT_EQ(StoredColour(0, 5), 0x45);  // picking never writes
    EXPECT_EQ(Stage().UndoDepth(), 1u);

    // Writing 0F over the malformed 0x45 is an edit.
    ClickPal(5);
    EXPECT_EQ(StoredColour(0, 5), 0x0F);
    EXPECT_EQ(Pal(5)->text(), "0F");
    EXPECT_EQ(Stage().UndoDepth(), 2u);
}

TEST_F(PalettePageTest, HoverOutlinesFollowThePointer) {
    Open();
    const QRgb magenta = qRgb(255, 0, 255);
    TImageEx* table = View("ImgColorTable");
    ASSERT_NE(table, nullptr);
    // Cell 0x13: x 72..95, y 24..47.
    QTest::mouseMove(table, QPoint(80, 30));
    EXPECT_EQ(Px(table, 72, 24), magenta);
    EXPECT_EQ(Px(table, 95, 47), magenta);
    EXPECT_EQ(Px(table, 95, 24), magenta);
    EXPECT_EQ(Px(table, 84, 36), TableColour(0x13));
    // Moving inside the same cell keeps it; to the next cell repaints the previous one first.
    QTest::mouseMove(table, QPoint(100, 30));
    EXPECT_EQ(Px(table, 72, 24), TableColour(0x13));
    EXPECT_EQ(Px(table, 95, 47), TableColour(0x13));
    EXPECT_EQ(Px(table, 96, 24), magenta);
    // A move onto a palette view leaves the table: its cell is repainted.
    TImageEx* row1 = View("ImgPalView1");
    QTest::mouseMove(row1, QPoint(30, 10));  // entry 5
    EXPECT_EQ(Px(table, 96, 24), TableColour(0x14));
    EXPECT_EQ(Px(row1, 24, 0), magenta);
    EXPECT_EQ(Px(row1, 47, 23), magenta);
    EXPECT_EQ(Px(row1, 36, 12), TableColour(StoredColour(0, 5)));
    TImageEx* row2 = View("ImgPalView2");
    QTest::mouseMove(row2, QPoint(2, 2));  // entry 8
    EXPECT_EQ(Px(row1, 24, 0), TableColour(StoredColour(0, 5)));
    EXPECT_EQ(Px(row2, 0, 0), magenta);
    // An edit of the hovered square keeps its outline.
    ClickTable(0x21);
    QTest::mouseMove(row2, QPoint(3, 3));
    const int v = StoredColour(0, 8) == 0x21 ? 0x22 : 0x21;
    if (v == 0x22) ClickTable(0x22);
    QTest::mouseClick(row2, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(StoredColour(0, 8), v);
    EXPECT_EQ(Px(row2, 12, 12), TableColour(v));
    EXPECT_EQ(Px(row2, 0, 0), magenta);
    // Leaving the window clears it.
    QTest::mouseMove(Find<QLabel>("LblSelectColor"), QPoint(1, 1));
    EXPECT_EQ(Px(row2, 0, 0), TableColour(v));
}

TEST_F(PalettePageTest, AnimationNumbersTypingAndArrows) {
    Open([](std::vector<std::uint8_t>& img, const AddressData& a) {
        const auto at = a.TableAddress(StageTable::BGPaletteAnime, 0);
        img[at + 0] = 0x00;
        img[at + 1] = 0x80;
        img[at + 2] = 0x00;
        img[at + 3] = 0x9C;
    });
    auto stored = [&](int p) { return int(Stage().PaletteAnime(0)[p]); };
    auto up = [&](int p) {
        QTest::mouseClick(Find<QToolButton>(QStringLiteral("UDAnimePal%1Up").arg(p)), Qt::LeftButton);
    };
    auto down = [&](int p) {
        QTest::mouseClick(Find<QToolButton>(QStringLiteral("UDAnimePal%1Down").arg(p)), Qt::LeftButton);
    };
    EXPECT_EQ(Anime(1)->text(), "80");

    // 01 to 7F are refused, as is anything not hexadecimal.
    for (const char* bad : {"7F", "01", "xx", "3"}) {
        Type(Anime(0), QString::fromLatin1(bad));
        if (QByteArray(bad).size() == 2) {
            EXPECT_EQ(Anime(0)->text(), "00") << bad;
        }
    }
    EXPECT_EQ(stored(0), 0x00);
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_TRUE(form_->StatusText(0).isEmpty());

    // 80 is accepted: recorded, flagged, the timer runs again.
    Type(Anime(0), "80");
    EXPECT_EQ(stored(0), 0x80);
    EXPECT_EQ(Anime(0)->text(), "80");
    EXPECT_EQ(UndoCaption(), kUndoAnime);
    EXPECT_EQ(form_->StatusText(0), kModified);
    EXPECT_TRUE(form_->FrameTimer().isActive());
    // 00 is accepted too; lower case is shown in upper case.
    Type(Anime(0), "00");
    EXPECT_EQ(stored(0), 0x00);
    Type(Anime(0), "c1");
    EXPECT_EQ(Anime(0)->text(), "C1");
    EXPECT_EQ(stored(0), 0xC1);
    EXPECT_EQ(Stage().UndoDepth(), 3u);
    form_->StopFrameTimer();

    // Arrows: up on 00 gives 80, down on 80 gives 00, down on 00 gives FF, up on FF gives 00.
    up(2);
    EXPECT_EQ(stored(2), 0x80);
    EXPECT_EQ(Anime(2)->text(), "80");
    down(1);
    EXPECT_EQ(stored(1), 0x00);
    EXPECT_EQ(Anime(1)->text(), "00");
    down(1);
    EXPECT_EQ(stored(1), 0xFF);
    up(1);
    EXPECT_EQ(stored(1), 0x00);
    down(3);
    EXPECT_EQ(stored(3), 0x9B);
    up(3);
    up(3);
    EXPECT_EQ(stored(3), 0x9D);
    EXPECT_EQ(Anime(3)->text(), "9D");
    // The arrows take the stored number, not what the field happens to hold.
    Type(Anime(3), "4");
    up(3);
    EXPECT_EQ(stored(3), 0x9E);
    EXPECT_EQ(Anime(3)->text(), "9E");

    // Up from 00 cycles 80, 81, ..., FF, 00: 129 steps.
    std::vector<int> seen;
    for (int k = 0; k < 129; ++k) {
        up(2);
        seen.push_back(stored(2));
    }
    EXPECT_EQ(seen.front(), 0x81);
    EXPECT_EQ(seen[126], 0xFF);
    EXPECT_EQ(seen[127], 0x00);
    EXPECT_EQ(seen[128], 0x80);
    for (int k = 1; k < 127; ++k) EXPECT_EQ(seen[k], seen[k - 1] + 1);
    form_->StopFrameTimer();

    // The saved file holds the numbers.
    ASSERT_TRUE(form_->Save1Click());
    QFile saved(romPath_);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_GT(bytes.size(), AnimeAddress() + 3);
    EXPECT_EQ(static_cast<unsigned char>(bytes[AnimeAddress() + 0]), 0xC1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[AnimeAddress() + 1]), 0x00);
    EXPECT_EQ(static_cast<unsigned char>(bytes[AnimeAddress() + 2]), 0x80);
    EXPECT_EQ(static_cast<unsigned char>(bytes[AnimeAddress() + 3]), 0x9E);
}

TEST_F(PalettePageTest, UndoAndRedoReloadTheChosenSetBeforeRedrawing) {
    Open();
    QComboBox* list = SetList();
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(2);
    ASSERT_EQ(list->currentIndex(), 2);
    EXPECT_EQ(Controller<PaletteEditClass>(kPagePalette).SelectedPaletteSet(), 2);
    const int old = StoredColour(2, 4);
    EXPECT_EQ(Pal(4)->text(), Hex2(old));
    const int v = old == 0x16 ? 0x27 : 0x16;
    Type(Pal(4), Hex2(v));
    ASSERT_EQ(StoredColour(2, 4), v);
    EXPECT_EQ(StoredColour(0, 4), Stage().BGPalette(0)[4]);
    EXPECT_EQ(UndoCaption(), kUndoPalette);

    form_->Undo1Click();
    EXPECT_EQ(list->currentIndex(), 2);
    EXPECT_EQ(StoredColour(2, 4), old);
    EXPECT_EQ(Pal(4)->text(), Hex2(old));
    EXPECT_EQ(PalSquare(4), TableColour(old));
    EXPECT_EQ(AnimSquare(4), TableColour(old));
    EXPECT_EQ(form_->Graphics().GetStagePaletteColor(4) | 0xFF000000u, TableColour(old));
    EXPECT_FALSE(Stage().CanUndo());

    form_->Redo1Click();
    EXPECT_EQ(StoredColour(2, 4), v);
    EXPECT_EQ(Pal(4)->text(), Hex2(v));
    EXPECT_EQ(PalSquare(4), TableColour(v));
    EXPECT_EQ(AnimSquare(4), TableColour(v));
    EXPECT_EQ(form_->Graphics().GetStagePaletteColor(4) | 0xFF000000u, TableColour(v));
    // Undo and redo leave the flags as they are; the redo did not record a new step.
    EXPECT_EQ(Stage().UndoDepth(), 1u);
    EXPECT_EQ(form_->StatusText(0), kModified);
    form_->StopFrameTimer();
}

TEST_F(PalettePageTest, ReloadButtonsAskAndReReadTheImage) {
    Open();
    const int oldColour = StoredColour(0, 0);
    const int newColour = oldColour == 0x30 ? 0x31 : 0x30;
    Type(Pal(0), Hex2(newColour));
    const int oldAnime = Stage().PaletteAnime(0)[0];
    Type(Anime(0), oldAnime == 0xA0 ? "A1" : "A0");
    const int newAnime = Stage().PaletteAnime(0)[0];
    form_->StopFrameTimer();
    ASSERT_EQ(Stage().UndoDepth(), 2u);

    // No: nothing happens.
    prompts_.yesNoAnswers = {false, false};
    QTest::mouseClick(Find<QAbstractButton>("BtnPaletteReload"), Qt::LeftButton);
    QTest::mouseClick(Find<QAbstractButton>("BtnAnimationPaletteReload"), Qt::LeftButton);
    auto questions = [&] { return prompts_.log.filter(QStringLiteral("yesno:")); };
    ASSERT_EQ(questions().size(), 2);
    EXPECT_EQ(questions()[0], kAskPalette);
    EXPECT_EQ(questions()[1], kAskAnime);
    EXPECT_EQ(StoredColour(0, 0), newColour);
    EXPECT_EQ(int(Stage().PaletteAnime(0)[0]), newAnime);
    EXPECT_EQ(Stage().UndoDepth(), 2u);

    // Yes on the colour reload: colours back from the image, history gone, animation numbers kept.
    prompts_.yesNoAnswers = {true};
    QTest::mouseClick(Find<QAbstractButton>("BtnPaletteReload"), Qt::LeftButton);
    EXPECT_EQ(questions().size(), 3);
    EXPECT_EQ(questions().last(), kAskPalette);
    EXPECT_EQ(StoredColour(0, 0), oldColour);
    EXPECT_EQ(Pal(0)->text(), Hex2(oldColour));
    EXPECT_EQ(PalSquare(0), TableColour(oldColour));
    EXPECT_EQ(AnimSquare(0), TableColour(oldColour));
    EXPECT_EQ(int(Stage().PaletteAnime(0)[0]), newAnime);
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_TRUE(form_->Flags().IsModified(ModifiedCategory::Palette, 0));
    EXPECT_EQ(form_->StatusText(0), kModified);

    // Yes on the animation reload.
    Type(Pal(0), Hex2(newColour));
    prompts_.yesNoAnswers = {true};
    QTest::mouseClick(Find<QAbstractButton>("BtnAnimationPaletteReload"), Qt::LeftButton);
    EXPECT_EQ(questions().size(), 4);
    EXPECT_EQ(questions().last(), kAskAnime);
    EXPECT_EQ(int(Stage().PaletteAnime(0)[0]), oldAnime);
    EXPECT_EQ(Anime(0)->text(), Hex2(oldAnime));
    EXPECT_EQ(StoredColour(0, 0), newColour);  // colour edits survive an animation reload
    EXPECT_EQ(Pal(0)->text(), Hex2(newColour));
    EXPECT_FALSE(Stage().CanUndo());
}

TEST_F(PalettePageTest, PaletteSetAndStageChanges) {
    Open();
    QComboBox* list = SetList();
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(3);
    EXPECT_EQ(counting_->paletteSetChanges, 1);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(Pal(i)->text(), Hex2(StoredColour(3, i))) << i;
        EXPECT_EQ(PalSquare(i), TableColour(StoredColour(3, i))) << i;
        if (i % 4 == 0) {
            EXPECT_EQ(form_->Graphics().GetStagePaletteColor(i) | 0xFF000000u, TableColour(StoredColour(3, i))) << i;
        }
    }
    for (int p = 0; p < 4; ++p) EXPECT_EQ(Anime(p)->text(), Hex2(Stage().PaletteAnime(3)[p]));
    EXPECT_TRUE(form_->FrameTimer().isActive());
    EXPECT_FALSE(Stage().CanUndo());
    EXPECT_TRUE(form_->StatusText(0).isEmpty());

    // Selected colour is kept across stages; the set list goes back to 定義0 on a stage change.
    ClickTable(0x1C);
    auto* stageList = Find<QComboBox>("CBStage");
    ASSERT_NE(stageList, nullptr);
    stageList->setCurrentIndex(2);
    ASSERT_EQ(form_->Rom().CurrentStage(), 2);
    EXPECT_EQ(list->currentIndex(), 0);
    // Putting the list back is part of the reset, not a palette set change of its own.
    EXPECT_EQ(counting_->paletteSetChanges, 1);
    EXPECT_EQ(Find<QLabel>("LblSelectColor")->text(), "1C");
    for (int i = 0; i < 16; ++i) EXPECT_EQ(Pal(i)->text(), Hex2(form_->Rom().StageAt(2).BGPalette(0)[i])) << i;
    EXPECT_FALSE(form_->Rom().StageAt(2).CanUndo());
    EXPECT_TRUE(form_->StatusText(0).isEmpty());
    // An edit now goes to stage 2.
    const int old = form_->Rom().StageAt(2).BGPalette(0)[1];
    ClickPal(old == 0x1C ? 2 : 1);
    EXPECT_TRUE(form_->Flags().IsModified(ModifiedCategory::Palette, 2));
    EXPECT_FALSE(form_->Flags().IsModified(ModifiedCategory::Palette, 0));
    EXPECT_FALSE(form_->Rom().StageAt(0).CanUndo());
    form_->StopFrameTimer();
}

TEST_F(PalettePageTest, TimerTicksRecolourTheAnimationRows) {
    // Stage 0, set 1: palette 1 plays animation 0, the others are still.
    Open([](std::vector<std::uint8_t>& img, const AddressData& a) {
        const auto at = a.TableAddress(StageTable::BGPaletteAnime, 0) + 20;
        img[at + 0] = 0x00;
        img[at + 1] = 0x80;
        img[at + 2] = 0x7F;
        img[at + 3] = 0x00;
    });
    SetList()->setCurrentIndex(1);
    form_->StopFrameTimer();
    auto row = [&](int p) {
        std::vector<QRgb> out;
        for (int k = 0; k < 4; ++k) out.push_back(AnimSquare(4 * p + k));
        return out;
    };
    std::vector<std::vector<QRgb>> before;
    for (int p = 0; p < 4; ++p) before.push_back(row(p));
    for (int k = 1; k < 4; ++k) EXPECT_EQ(before[1][k], TableColour(StoredColour(1, 4 + k)));

    int ticks = 0;
    while (row(1) == before[1] && ticks < 600) {
        form_->FrameTimerTimer();
        ++ticks;
    }
    ASSERT_LT(ticks, 600) << "animation 0 never changed a colour";
    const std::vector<QRgb> animated = row(1);
    EXPECT_EQ(animated[0], before[1][0]);  // entry 4 is never animated
    for (int p : {0, 2, 3}) EXPECT_EQ(row(p), before[p]) << p;
    // The palette views show the stored colours, not the animated ones.
    for (int k = 0; k < 4; ++k) EXPECT_EQ(PalSquare(4 + k), TableColour(StoredColour(1, 4 + k)));

    if (const char* shot = std::getenv("QUORVEN_PALETTE_SCREENSHOT")) {
        form_->grab().save(QString::fromLocal8Bit(shot));
    }

    // Changing an animation number restarts the animation: the stored colours show until the first step.
    Type(Anime(1), "00");
    form_->StopFrameTimer();
    EXPECT_EQ(row(1), before[1]);
    for (int k = 0; k < 50; ++k) form_->FrameTimerTimer();
    EXPECT_EQ(row(1), before[1]);
    // The same through undo: animation 0 plays again from step 0, after the same number of ticks.
    form_->Undo1Click();
    form_->StopFrameTimer();
    EXPECT_EQ(Anime(1)->text(), "80");
    EXPECT_EQ(row(1), before[1]);
    int again = 0;
    while (row(1) == before[1] && again < 600) {
        form_->FrameTimerTimer();
        ++again;
    }
    EXPECT_EQ(again, ticks);
    EXPECT_EQ(row(1), animated);
}

// The running timer recolours the rows by itself.
TEST_F(PalettePageTest, RunningTimerAnimates) {
    Open([](std::vector<std::uint8_t>& img, const AddressData& a) {
        img[a.TableAddress(StageTable::BGPaletteAnime, 0) + 2] = 0x80;
    });
    const QRgb first = AnimSquare(9);
    form_->StartFrameTimer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return AnimSquare(9) != first; }, 8000));
    form_->StopFrameTimer();
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
