#pragma once
// The page test bench: the real main window with the pages a test asks for, on the demo image (optionally
// patched), opened with the palette-animation timer stopped, and helpers to find controls, press and move in
// views at picture coordinates, type into fields, read the Edit menu and the modified flags, and save.
//
// A page's fixture:
//     class MyPageTest : public pagebench::PageBench {
//     protected:
//         pagebench::BenchOptions Options() const override { return {.pages = {kPageMapSet}}; }
//     };
// Pages not asked for stay empty, except that the palette page is replaced by a stand-in that loads the
// stage's first palette set (so every page finds its colours), and the pages that draw from the chip sheets
// get the 16x16 and 32x32 chip pages too unless a test builds them itself.
// The program folder, the colour table, the image files and the raw mouse events come from
// windowtest::WindowTest (windowtest.h), which the main window tests share.
//
// A fixture that opens the image itself, with a patch of its own, asks for .open = false and calls Open(patch);
// one that needs its own main window (a subclass of TMainForm) overrides CreateForm.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "app/mainform.h"
#include "demorom.h"
#include "document/address.h"
#include "document/edit_flag.h"
#include "document/editdata.h"
#include "document/fileio.h"
#include "editors/ImageEx.h"
#include "editors/pagecontroller.h"
#include "editors/pagefactory.h"
#include "graphics/graphics.h"
#include "scriptedprompts.h"
#include "windowtest.h"

namespace pagebench {

// Changes the demo image's bytes before it is written; the address table gives where the tables lie.
using ImagePatch = windowtest::ImagePatch;

struct BenchOptions {
    // The real pages to build (PageIndex values).
    std::set<int> pages;
    // Lines of "ChipAttributes.txt" (none: no file).
    QStringList attributeLines;
    // Lines of "ObjectList.txt" (nullopt: no file; an empty list: an empty file).
    std::optional<QStringList> objectLines = QStringList{};
    // Text of "quorveneditor.ini" (empty: no file).
    QByteArray ini;
    ImagePatch patch;
    // Whether the image is opened at set-up.
    bool open = true;
    // The tab shown after set-up (-1: the first real page asked for).
    int tab = -1;
    // The colour table the editor ships instead of 64 made-up colours (TableColour gives either's colours).
    bool shippedColourTable = false;
    // Whether Find (and so View, Label and the Edit menu captions) records a failure when no control has the
    // name.
    bool missingControlFails = false;
};

// Stands in for the palette page: loads the stage's first palette set into the renderer on every reset.
class StagePaletteLoader : public PageController {
public:
    explicit StagePaletteLoader(PageContext& ctx) : ctx_(ctx) {}
    void Reset() override { ctx_.graphics.LoadStagePalette(ctx_.rom.Current().BGPalette(0)); }
    void Activate() override {}
    void RefreshColours() override {}

private:
    PageContext& ctx_;
};

class BenchFactory : public PageFactory {
public:
    explicit BenchFactory(std::set<int> pages) : pages_(std::move(pages)), real_(CreateDefaultPageFactory()) {}
    std::unique_ptr<PageController> Create(int page, QWidget* tab, PageContext& ctx) override {
        if (pages_.count(page)) return real_->Create(page, tab, ctx);
        if (page == kPagePalette) return std::make_unique<StagePaletteLoader>(ctx);
        return nullptr;
    }

private:
    std::set<int> pages_;
    std::unique_ptr<PageFactory> real_;
};

inline QRgb Rgb(QRgb c) {
    return c & 0xFFFFFFu;
}

class PageBench : public windowtest::WindowTest {
protected:
    virtual BenchOptions Options() const = 0;
    // Builds the main window; a fixture overrides it to build a subclass of TMainForm.
    virtual std::unique_ptr<TMainForm> CreateForm(UserPrompts& prompts, std::unique_ptr<PageFactory> factory,
                                                  StartupPaths paths) {
        return std::make_unique<TMainForm>(prompts, std::move(factory), std::move(paths));
    }

    void SetUp() override {
        options_ = Options();
        // Pages that draw from the chip sheets need the two chip pages that build them.
        for (int p : {kPageMapSet, kPageMap, kPageObject, kPage32x32Chip})
            if (options_.pages.count(p)) options_.pages.insert({kPage16x16Chip, kPage32x32Chip});
        ASSERT_TRUE(dir_.isValid());
        WriteColourTable(options_.shippedColourTable ? ShippedColourTable() : SyntheticColourTable());
        ASSERT_EQ(colourTable_.size(), 192);
        if (!options_.attributeLines.isEmpty()) WriteFile("ChipAttributes.txt", ShiftJis(options_.attributeLines));
        if (options_.objectLines)
            WriteFile("ObjectList.txt",
                      options_.objectLines->isEmpty() ? QByteArray() : ShiftJis(*options_.objectLines));
        if (!options_.ini.isEmpty()) WriteFile("quorveneditor.ini", options_.ini);

        form_ = CreateForm(prompts_, std::make_unique<BenchFactory>(options_.pages), ProgramPaths());
        ASSERT_TRUE(form_ != nullptr);
        ASSERT_FALSE(form_->StartupFailed());

        WriteDemoImage({});
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        if (options_.open)
            OpenWritten();
        else
            prompts_.log.clear();
    }

    // Opens the demo image, changed by the options' patch and then by patch, and shows the tab the options
    // ask for: for fixtures with .open = false whose tests each open an image of their own.
    void Open(const ImagePatch& patch = {}) {
        WriteDemoImage(patch);
        OpenWritten();
    }

    void TearDown() override {
        if (form_) form_->FrameTimer().stop();
        form_.reset();
    }

    // --- files (WriteFile, ShiftJis, ReadBytes ...: windowtest::WindowTest) ---
    QByteArray ReadFile(const QString& path) { return ReadBytes(path); }
    // Saves under name in the test folder through "名前を付けて保存" and returns the file's bytes (empty when the
    // save failed).
    QByteArray SaveAs(const QString& name = "saved.nes") {
        const QString path = Path(name);
        prompts_.saveNames.push_back(path);
        if (!form_->SaveAs1Click()) return QByteArray();
        return ReadFile(path);
    }
    // The image as last written (at set-up, or by Open), before any edit.
    const std::vector<std::uint8_t>& OriginalImage() const { return image_; }
    // The offsets at which two images differ.
    static std::vector<int> Differences(const QByteArray& a, const std::vector<std::uint8_t>& b) {
        std::vector<int> out;
        const int n = int(std::min<std::size_t>(std::size_t(a.size()), b.size()));
        for (int i = 0; i < n; ++i)
            if (std::uint8_t(a[i]) != b[std::size_t(i)]) out.push_back(i);
        return out;
    }

    // --- the window ---
    void SelectTab(int page) {
        form_->PageControl()->setCurrentIndex(page);
        QApplication::processEvents();
    }
    QWidget* Page(int page) { return form_->Page(page); }
    template <class T>
    T* Find(const QString& name) {
        T* w = form_->findChild<T*>(name);
        if (options_.missingControlFails) {
            EXPECT_NE(w, nullptr) << name.toStdString();
        }
        return w;
    }
    TImageEx* View(const QString& name) { return Find<TImageEx>(name); }
    QString Label(const QString& name) {
        auto* l = Find<QLabel>(name);
        return l ? l->text() : QString("<missing %1>").arg(name);
    }
    template <class T>
    T& Controller(int page) {
        return *dynamic_cast<T*>(form_->Controller(page));
    }
    StageData& Stage() { return form_->Rom().Current(); }
    EditorGraphics& G() { return form_->Graphics(); }
    bool Modified(ModifiedCategory category) {
        return form_->Flags().IsModified(category, form_->Rom().CurrentStage());
    }
    QString Status(int panel = 1) { return form_->StatusText(panel); }
    void SelectStage(int stage) {
        auto* cb = Find<QComboBox>("CBStage");
        cb->setCurrentIndex(stage);
        form_->FrameTimer().stop();
        QApplication::processEvents();
    }

    // --- mouse and keys, at picture coordinates of a view ---
    void Click(const QString& view, int x, int y, Qt::MouseButton b = Qt::LeftButton,
               Qt::KeyboardModifiers m = Qt::NoModifier) {
        TImageEx* v = View(view);
        ASSERT_NE(v, nullptr) << view.toStdString();
        QTest::mouseClick(v, b, m, QPoint(x, y));
    }
    // A move with buttons held and modifiers (QTest moves carry neither).
    void Move(const QString& view, int x, int y, Qt::MouseButtons held = Qt::NoButton,
              Qt::KeyboardModifiers m = Qt::NoModifier) {
        TImageEx* v = View(view);
        ASSERT_NE(v, nullptr) << view.toStdString();
        SendMove(v, x, y, held, m);
    }
    void Press(const QString& view, int x, int y, Qt::MouseButton b = Qt::LeftButton,
               Qt::KeyboardModifiers m = Qt::NoModifier) {
        TImageEx* v = View(view);
        ASSERT_NE(v, nullptr) << view.toStdString();
        SendPress(v, x, y, b, m);
    }
    void Release(const QString& view, int x, int y, Qt::MouseButton b = Qt::LeftButton,
                 Qt::KeyboardModifiers m = Qt::NoModifier) {
        TImageEx* v = View(view);
        ASSERT_NE(v, nullptr) << view.toStdString();
        SendRelease(v, x, y, b, m);
    }
    void Leave(const QString& view) {
        TImageEx* v = View(view);
        ASSERT_NE(v, nullptr) << view.toStdString();
        SendLeave(v);
    }
    // Replaces the field's text by typing, as a user would.
    void Type(const QString& field, const QString& text) {
        auto* e = Find<QLineEdit>(field);
        ASSERT_NE(e, nullptr) << field.toStdString();
        Type(e, text);
    }
    void Type(QLineEdit* e, const QString& text) {
        ASSERT_NE(e, nullptr);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
    }

    // --- the Edit menu ---
    QString UndoCaption() { return MenuCaption("Undo1"); }
    QString RedoCaption() { return MenuCaption("Redo1"); }

    BenchOptions options_;
    QString romPath_;
    std::vector<std::uint8_t> image_;
    ScriptedPrompts prompts_;
    std::unique_ptr<TMainForm> form_;

private:
    QString MenuCaption(const QString& action) {
        form_->RefreshEditMenu();
        auto* a = Find<QAction>(action);
        return a ? a->text() : QString("<missing %1>").arg(action);
    }
    // Builds the demo image with the options' patch and then patch, and writes it as "demo.nes".
    void WriteDemoImage(const ImagePatch& patch) {
        image_ = BuildDemoRom();
        if (options_.patch) options_.patch(image_, form_->Rom().Addresses());
        if (patch) patch(image_, form_->Rom().Addresses());
        romPath_ = WriteImage("demo.nes", image_);
    }
    void OpenWritten() {
        ASSERT_TRUE(form_->OpenImage(romPath_));
        form_->FrameTimer().stop();  // colours change only when a test says so
        prompts_.log.clear();
        int tab = options_.tab;
        const std::set<int> asked = Options().pages;
        if (tab < 0 && !asked.empty()) tab = *asked.begin();
        if (tab >= 0) SelectTab(tab);
    }
};

}  // namespace pagebench

inline int RunGuiTests(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
