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

#include "app/mainform.h"
#include "demorom.h"
#include "document/edit_flag.h"
#include "document/fileio.h"
#include "editors/16x16chipedit.h"
#include "editors/ImageEx.h"
#include "editors/pagecontroller.h"
#include "editors/pagefactory.h"
#include "editors/showUnusedChipNumForm.h"
#include "graphics/graphics.h"
#include "pagebench.h"
#include "scriptedprompts.h"

namespace chip16test {

// The colour of pixel (x, y) of tile t, decoded from the bank's bytes.
inline int TileColour(const Byte* bank, int t, int x, int y) {
    const int a = bank[16 * t + y], b = bank[16 * t + 8 + y];
    return ((a >> (7 - x)) & 1) + 2 * ((b >> (7 - x)) & 1);
}

using pagebench::Rgb;

class Chip16PageTest : public pagebench::PageBench {
protected:
    // Lines for "ChipAttributes.txt" (none: no file).
    virtual QStringList AttributeLines() const { return {}; }

    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPage16x16Chip};
        o.attributeLines = AttributeLines();
        return o;
    }

    Chip16x16EditClass& C() { return *dynamic_cast<Chip16x16EditClass*>(form_->Controller(kPage16x16Chip)); }
    QWidget* Page() { return form_->Page(kPage16x16Chip); }
    template <class T>
    T* Find(const QString& name) {
        return Page()->findChild<T*>(name);
    }
    TImageEx* View(const QString& name) { return Find<TImageEx>(name); }
    QString Label(const QString& name) {
        auto* l = Find<QLabel>(name);
        return l ? l->text() : QString("<missing %1>").arg(name);
    }
    bool Modified() { return form_->Flags().IsModified(ModifiedCategory::Chip16x16, form_->Rom().CurrentStage()); }

    void Click(const QString& view, Qt::MouseButton b, int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier) {
        TImageEx* v = View(view);
        ASSERT_NE(v, nullptr) << view.toStdString();
        QTest::mouseClick(v, b, m, QPoint(x, y));
    }
    void Move(const QString& view, int x, int y) { QTest::mouseMove(View(view), QPoint(x, y)); }
    using PageBench::Type;

    void TypeAttribute(const QString& text) {
        auto* e = Find<QLineEdit>("EditSelectChipProperty");
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
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
};

}  // namespace chip16test
