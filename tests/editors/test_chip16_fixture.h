#pragma once
// The main window with the 16x16 chip page on the demo image, for the page's GUI tests.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "16x16chipedit.h"
#include "ImageEx.h"
#include "demorom.h"
#include "edit_flag.h"
#include "fileio.h"
#include "graphics.h"
#include "mainform.h"
#include "pagecontroller.h"
#include "pagefactory.h"
#include "scriptedprompts.h"
#include "showUnusedChipNumForm.h"

namespace chip16test {

// Stands in for the palette page: loads the stage's first palette set into the renderer on every reset, as
// the palette page does, so the 16x16 chip page finds its colours ready.
class StagePaletteLoader : public PageController {
public:
    explicit StagePaletteLoader(PageContext& ctx) : ctx_(ctx) {}
    void Reset() override { ctx_.graphics.LoadStagePalette(ctx_.rom.Current().BGPalette(0)); }
    void Activate() override {}
    void RefreshColours() override {}

private:
    PageContext& ctx_;
};

class Factory : public PageFactory {
public:
    std::unique_ptr<PageController> Create(int page, QWidget* tab, PageContext& ctx) override {
        if (page == kPage16x16Chip) return Create16x16ChipPage(tab, ctx);
        if (page == kPagePalette) return std::make_unique<StagePaletteLoader>(ctx);
        return nullptr;
    }
};

// The colour of pixel (x, y) of tile t, decoded from the bank's bytes.
inline int TileColour(const Byte* bank, int t, int x, int y) {
    const int a = bank[16 * t + y], b = bank[16 * t + 8 + y];
    return ((a >> (7 - x)) & 1) + 2 * ((b >> (7 - x)) & 1);
}

inline QRgb Rgb(QRgb c) { return c & 0xFFFFFFu; }

class Chip16PageTest : public ::testing::Test {
protected:
    // Lines for "ChipAttributes.txt" (none: no file).
    virtual QStringList AttributeLines() const { return {}; }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        // A colour table of 64 different colours, so every colour check tells the entries apart.
        QByteArray pal;
        for (int n = 0; n < 64; ++n) {
            pal.append(char(n * 4));
            pal.append(char((n * 37) & 0xFF));
            pal.append(char(255 - n * 4));
        }
        WriteFile("fcpalette.pal", pal);
        const QStringList lines = AttributeLines();
        if (!lines.isEmpty()) {
            QStringEncoder sjis("Shift_JIS");
            QByteArray text = sjis(lines.join("\r\n") + "\r\n");
            WriteFile("ChipAttributes.txt", text);
        }
        const std::vector<std::uint8_t> rom = BuildDemoRom();
        romPath_ = dir_.filePath("demo.nes");
        WriteFile("demo.nes", QByteArray(reinterpret_cast<const char*>(rom.data()), qsizetype(rom.size())));

        form_ = std::make_unique<TMainForm>(prompts_, std::make_unique<Factory>(),
                                            StartupPaths{dir_.path(), dir_.filePath("fcpalette.pal")});
        ASSERT_FALSE(form_->StartupFailed());
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        ASSERT_TRUE(form_->OpenImage(romPath_));
        form_->FrameTimer().stop();  // colours change only when a test says so
        prompts_.log.clear();
        form_->PageControl()->setCurrentIndex(kPage16x16Chip);
        QApplication::processEvents();
    }

    void TearDown() override {
        if (form_) form_->FrameTimer().stop();
        form_.reset();
    }

    void WriteFile(const QString& name, const QByteArray& bytes) {
        QFile f(dir_.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    Chip16x16EditClass& C() { return *dynamic_cast<Chip16x16EditClass*>(form_->Controller(kPage16x16Chip)); }
    QWidget* Page() { return form_->Page(kPage16x16Chip); }
    template <class T> T* Find(const QString& name) { return Page()->findChild<T*>(name); }
    TImageEx* View(const QString& name) { return Find<TImageEx>(name); }
    QString Label(const QString& name) {
        auto* l = Find<QLabel>(name);
        return l ? l->text() : QString("<missing %1>").arg(name);
    }
    StageData& Stage() { return form_->Rom().Current(); }
    EditorGraphics& G() { return form_->Graphics(); }
    bool Modified() { return form_->Flags().IsModified(ModifiedCategory::Chip16x16, form_->Rom().CurrentStage()); }

    void Click(const QString& view, Qt::MouseButton b, int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier) {
        TImageEx* v = View(view);
        ASSERT_NE(v, nullptr) << view.toStdString();
        QTest::mouseClick(v, b, m, QPoint(x, y));
    }
    void Move(const QString& view, int x, int y) { QTest::mouseMove(View(view), QPoint(x, y)); }

    void TypeAttribute(const QString& text) {
        auto* e = Find<QLineEdit>("EditSelectChipProperty");
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
    }

    QString UndoCaption() {
        form_->RefreshEditMenu();
        return form_->findChild<QAction*>("Undo1")->text();
    }

    // Gives the 16 stage palette entries 16 different colours and shows them.
    void DistinctStagePalette(int first = 0x01) {
        for (int i = 0; i < 16; ++i) G().SetStagePaletteEntry(i, (first + 3 * i) & 0x3F);
        C().RefreshColours();
    }

    QRgb StageColour(int entry) { return Rgb(G().GetStagePaletteColor(entry)); }

    // The RGB of chip n's pixel (x, y) as the page's bank, chip tiles and attributes say it must look.
    QRgb ExpectedChipPixel(int chip, int x, int y) {
        const int q = 2 * (y / 8) + x / 8;
        const int tile = Stage().Chip16x16Tiles()[256 * q + chip];
        const int colour = TileColour(C().Bank().Bytes(), tile, x % 8, y % 8);
        return StageColour(4 * (Stage().ChipProperties()[chip] & 3) + colour);
    }

    QTemporaryDir dir_;
    QString romPath_;
    ScriptedPrompts prompts_;
    std::unique_ptr<TMainForm> form_;
};

}  // namespace chip16test

inline int RunGuiTests(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
