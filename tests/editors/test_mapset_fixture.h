#pragma once
// The real main window with the default pages on the demo image, opened on the map set page, for the GUI
// tests of the map set page, its grid dialog and the duplicate chip replacement.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <memory>
#include <vector>

#include "app/mainform.h"
#include "demorom.h"
#include "document/address.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "editors/ImageEx.h"
#include "editors/MapSetEditGridForm.h"
#include "editors/mapsetedit.h"
#include "editors/pagecontroller.h"
#include "editors/pagefactory.h"
#include "editors/showUnusedChipNumForm.h"
#include "graphics/graphics.h"
#include "graphics/hextext.h"
#include "scriptedprompts.h"

namespace mapsettest {

inline QRgb Rgb(QRgb c) {
    return c & 0xFFFFFFu;
}

using Bytes64 = std::array<Byte, 64>;

class MapSetPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        // 64 different colours, so every colour check tells the entries apart.
        QByteArray pal;
        for (int n = 0; n < 64; ++n) {
            pal.append(char(n * 4));
            pal.append(char((n * 37) & 0xFF));
            pal.append(char(255 - n * 4));
        }
        WriteFile("fcpalette.pal", pal);
        const std::vector<std::uint8_t> rom = BuildDemoRom();
        original_ = QByteArray(reinterpret_cast<const char*>(rom.data()), qsizetype(rom.size()));
        romPath_ = dir_.filePath("demo.nes");
        WriteFile("demo.nes", original_);

        form_ = std::make_unique<TMainForm>(prompts_, CreateDefaultPageFactory(),
                                            StartupPaths{dir_.path(), dir_.filePath("fcpalette.pal")});
        ASSERT_FALSE(form_->StartupFailed());
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        ASSERT_TRUE(form_->OpenImage(romPath_));
        form_->FrameTimer().stop();  // colours change only when a test says so
        form_->PageControl()->setCurrentIndex(kPageMapSet);
        QApplication::processEvents();
        prompts_.log.clear();
        ASSERT_NE(Page(), nullptr);
        ASSERT_NE(dynamic_cast<MapSetEditClass*>(form_->Controller(kPageMapSet)), nullptr);
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
    static QByteArray ReadFile(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    MapSetEditClass& C() { return *dynamic_cast<MapSetEditClass*>(form_->Controller(kPageMapSet)); }
    QWidget* Page() { return form_->Page(kPageMapSet); }
    template <class T>
    T* Find(const QString& name) {
        return Page()->findChild<T*>(name);
    }
    TImageEx* PageView(int page) { return Find<TImageEx>(QString("ImgEditMapSetPage%1").arg(page)); }
    TImageEx* Table() { return Find<TImageEx>("Img32x32ChipTable"); }
    QScrollBar* Bar(const QString& name) { return Find<QScrollBar>(name); }
    QCheckBox* GridBox() { return Find<QCheckBox>("ChkMapSetEditDrawGrid"); }
    QString Label(const QString& name) {
        auto* l = Find<QLabel>(name);
        return l ? l->text() : QString("<missing %1>").arg(name);
    }
    StageData& Stage() { return form_->Rom().Current(); }
    int Cell(int set, int cell) { return Stage().MapSet(set)[cell]; }
    Bytes64 SetBytes(int set) {
        Bytes64 b{};
        std::copy(Stage().MapSet(set), Stage().MapSet(set) + 64, b.begin());
        return b;
    }
    EditorGraphics& G() { return form_->Graphics(); }
    bool Modified(int stage = -1) {
        return form_->Flags().IsModified(ModifiedCategory::MapSet, stage < 0 ? form_->Rom().CurrentStage() : stage);
    }
    QString UndoCaption() {
        form_->RefreshEditMenu();
        return form_->findChild<QAction*>("Undo1")->text();
    }
    static QString UndoText(const char* description) {
        return QString::fromUtf8("元に戻す(&U) - ") + QString::fromUtf8(description);
    }
    int MapSetAddress(int stage) { return form_->Rom().Addresses().TableAddress(StageTable::MapSet, stage); }

    // Clicks the centre of a page cell (column, row).
    void ClickCell(int page, Qt::MouseButton b, int column, int row, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::mouseClick(PageView(page), b, m, QPoint(32 * column + 16, 32 * row + 16));
    }
    void ClickTable(int chip) {
        QTest::mouseClick(Table(), Qt::LeftButton, Qt::NoModifier, QPoint(16 * (chip % 16) + 8, 16 * (chip / 16) + 8));
    }
    void SelectChip(int chip) {
        ClickTable(chip);
        ASSERT_EQ(C().SelectedChip(), chip);
    }

    // The colour the 32x32 chip sheet gives chip's pixel (x, y) (0 to 31 each).
    QRgb SheetPixel(int chip, int x, int y) {
        const IndexedBitmap& sheet = G().ChipSheet32();
        return Rgb(sheet.PaletteEntry(sheet.Pixel(32 * (chip % 16) + x, 32 * (chip / 16) + y)));
    }
    // Whether the size x size square of picture at (x0, y0) shows chip, scaled from the sheet.
    // Grid pixels (white lines on the square's top row and left column) are skipped when skipEdges.
    ::testing::AssertionResult ShowsChip(const QImage& picture, int x0, int y0, int size, int chip,
                                         bool skipEdges = false) {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                if (skipEdges && (x == 0 || y == 0)) continue;
                const QRgb want = SheetPixel(chip, x * 32 / size, y * 32 / size);
                const QRgb got = Rgb(picture.pixel(x0 + x, y0 + y));
                if (want != got)
                    return ::testing::AssertionFailure()
                           << "chip " << chip << " pixel (" << x << "," << y << ") of square at (" << x0 << "," << y0
                           << "): want " << std::hex << want << " got " << got;
            }
        return ::testing::AssertionSuccess();
    }
    // Whether page shows map set set cell by cell (but for cell skipCell, under the hover outline).
    ::testing::AssertionResult PageShows(int page, int set, bool skipEdges = false, int skipCell = -1) {
        const QImage& pic = PageView(page)->Picture();
        for (int cell = 0; cell < 64; ++cell) {
            if (cell == skipCell) continue;
            auto r = ShowsChip(pic, 32 * (cell % 8), 32 * (cell / 8), 32, Cell(set, cell), skipEdges);
            if (!r) return r << " (cell " << cell << ")";
        }
        return ::testing::AssertionSuccess();
    }
    // Whether the grid lines of a page are white (every 32 pixels from 0, across the whole view), but for
    // the edges of cell skipCell, under the hover outline.
    bool GridShown(int page, int skipCell = -1) {
        const QImage& pic = PageView(page)->Picture();
        const QRgb white = Rgb(G().MasterColor(EditorGraphics::kWhite));
        auto skipped = [&](int x, int y) { return skipCell >= 0 && x / 32 == skipCell % 8 && y / 32 == skipCell / 8; };
        for (int k = 0; k < 8; ++k)
            for (int t = 0; t < 256; ++t) {
                if (!skipped(32 * k, t) && Rgb(pic.pixel(32 * k, t)) != white) return false;
                if (!skipped(t, 32 * k) && Rgb(pic.pixel(t, 32 * k)) != white) return false;
            }
        return true;
    }
    // A chip whose picture differs from chip other's in the sheet (so a redraw with it can be seen).
    int ChipLookingUnlike(int other) {
        for (int n = 0; n < 256; ++n) {
            bool differs = false;
            for (int y = 0; y < 32 && !differs; ++y)
                for (int x = 0; x < 32 && !differs; ++x) differs = SheetPixel(n, x, y) != SheetPixel(other, x, y);
            if (differs) return n;
        }
        return -1;
    }

    QTemporaryDir dir_;
    QString romPath_;
    QByteArray original_;
    ScriptedPrompts prompts_;
    std::unique_ptr<TMainForm> form_;
};

}  // namespace mapsettest

inline int RunGuiTests(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
