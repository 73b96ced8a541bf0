#pragma once
// Shared fixture of the main window tests: a test page factory whose controllers record every call, on the
// program folder, colour table, image files and mouse events of windowtest::WindowTest (tests/support).

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/mainform.h"
#include "document/edit_flag.h"
#include "document/editdata.h"
#include "document/fileio.h"
#include "editors/ImageEx.h"
#include "editors/pagecontroller.h"
#include "editors/pagefactory.h"
#include "graphics/graphics.h"
#include "scriptedprompts.h"
#include "windowtest.h"

inline const char* PageTag(int page) {
    static const char* names[] = {"map", "mset", "c32", "c16", "pal", "obj"};
    return page >= 0 && page < 6 ? names[page] : "?";
}

inline const char* PressName(PressKind k) {
    switch (k) {
    case PressKind::Left: return "Left";
    case PressKind::LeftShift: return "LeftShift";
    case PressKind::LeftCtrl: return "LeftCtrl";
    case PressKind::Right: return "Right";
    case PressKind::RightCtrl: return "RightCtrl";
    case PressKind::Other: return "Other";
    }
    return "?";
}

// Records every call as "<page>.<call>" in a log shared by all six controllers.
class RecordingController : public PageController {
public:
    RecordingController(int page, std::vector<std::string>& log, QWidget* tab = nullptr)
        : page_(page), log_(log), tab_(tab) {}
    // The Shift and Ctrl state of the last press.
    KeyMods lastMods;
    std::function<void()> onReset;
    std::function<void()> onMove;

    void Reset() override {
        Add("Reset");
        if (onReset) onReset();
    }
    void Activate() override { Add("Activate"); }
    void RefreshColours() override { Add("RefreshColours"); }
    void RebuildSheet() override { Add("RebuildSheet"); }
    void ViewPress(TImageEx* view, PressKind kind, KeyMods mods, int x, int y) override {
        lastMods = mods;
        Add("Press " + view->objectName().toStdString() + " tag" + std::to_string(view->Tag()) + " " + PressName(kind) +
            " " + std::to_string(x) + "," + std::to_string(y));
    }
    void ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) override {
        Add("Move " + view->objectName().toStdString() + " " + std::to_string(x) + "," + std::to_string(y) +
            (held & Qt::LeftButton ? " L" : "") + (shift ? " S" : "") + (ctrl ? " C" : ""));
        if (onMove) onMove();
    }
    void ViewLeave(TImageEx* view) override { Add("Leave " + view->objectName().toStdString()); }

    // As the real pages answer: the half its label "LblEdit32x32ChipView" shows, the map set its label
    // "LblMapSetPage0/1" shows.
    int ShownSet(const TImageEx* view) const override {
        if (!tab_) return -1;
        if (view->objectName() == "ImgEdit32x32ChipView") {
            auto* lbl = tab_->findChild<QLabel*>("LblEdit32x32ChipView");
            return lbl && lbl->text().startsWith("80") ? 1 : 0;
        }
        if (view->objectName().startsWith("ImgEditMapSetPage")) {
            auto* lbl = tab_->findChild<QLabel*>(QString("LblMapSetPage") + view->objectName().back());
            bool ok = false;
            const int v = lbl ? lbl->text().toInt(&ok, 16) : 0;
            return ok ? v : view->Tag();
        }
        return -1;
    }
    // The check boxes of the four options, where this page has them.
    void ApplySettings(const EditorSettings& s) override {
        Put("ChkSortObjectList", s.sortObjects);
        Put("ChkPopupHint", s.popupHint);
        Put("Chk32x32ChipEditDrawGrid", s.grid32x32);
        Put("ChkMapSetEditDrawGrid", s.gridMapSet);
    }
    void StoreSettings(EditorSettings& s) const override {
        Get("ChkSortObjectList", s.sortObjects);
        Get("ChkPopupHint", s.popupHint);
        Get("Chk32x32ChipEditDrawGrid", s.grid32x32);
        Get("ChkMapSetEditDrawGrid", s.gridMapSet);
    }

private:
    void Add(const std::string& what) { log_.push_back(std::string(PageTag(page_)) + "." + what); }
    void Put(const char* name, bool value) {
        if (auto* box = tab_ ? tab_->findChild<QCheckBox*>(name) : nullptr) {
            const QSignalBlocker block(box);
            box->setChecked(value);
        }
    }
    void Get(const char* name, bool& value) const {
        if (auto* box = tab_ ? tab_->findChild<QCheckBox*>(name) : nullptr) value = box->isChecked();
    }
    int page_;
    std::vector<std::string>& log_;
    QWidget* tab_;
};

// Builds each page with the views and the few controls the main window itself looks at.
class TestFactory : public PageFactory {
public:
    explicit TestFactory(std::vector<std::string>& log) : log_(log) {}
    std::array<RecordingController*, kPageCount> made{};
    bool withControls = true;

    std::unique_ptr<PageController> Create(int page, QWidget* tab, PageContext& ctx) override {
        log_.push_back(std::string("create.") + PageTag(page));
        if (withControls) BuildControls(page, tab, ctx);
        auto c = std::make_unique<RecordingController>(page, log_, tab);
        made[page] = c.get();
        return c;
    }

private:
    void View(QWidget* tab, const char* name, int w, int h, int x, int y, int tag = 0) {
        auto* v = new TImageEx(name, w, h, tab, tag);
        v->move(x, y);
    }
    void Check(QWidget* tab, const char* name, bool initial) {
        auto* box = new QCheckBox(tab);
        box->setObjectName(name);
        box->setChecked(initial);
        QObject::connect(box, &QCheckBox::toggled, [this, name](bool on) {
            log_.push_back(std::string("toggled.") + name + (on ? "=1" : "=0"));
        });
    }
    void Label(QWidget* tab, const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), tab);
        l->setObjectName(name);
    }
    // A scroll bar with the range its page gives it.
    void Bar(QWidget* tab, const char* name, int max) {
        auto* b = new QScrollBar(Qt::Horizontal, tab);
        b->setObjectName(name);
        b->setRange(0, max);
    }
    void BuildControls(int page, QWidget* tab, PageContext& ctx) {
        switch (page) {
        case kPagePalette: {
            for (int p = 0; p < 4; ++p) View(tab, ("ImgPalView" + std::to_string(p)).c_str(), 96, 24, 0, 24 * p, p);
            View(tab, "ImgColorTable", 384, 96, 0, 100);
            View(tab, "ImgSelectColor", 32, 32, 0, 200);
            for (int p = 0; p < 4; ++p) View(tab, ("ImgAnimePal" + std::to_string(p)).c_str(), 96, 24, 100, 24 * p, p);
            auto* edit = new QLineEdit(tab);
            edit->setObjectName("EditPal0");
            edit->move(0, 300);
            auto* cb = new QComboBox(tab);
            cb->setObjectName("CBSelectPaletteSet");
            for (int s = 0; s < 7; ++s) cb->addItem(QString::fromUtf8("定義") + QString::number(s));
            // As the palette page does: the chosen set is what the timer animates.
            PageLinks* links = &ctx.links;
            QObject::connect(cb, &QComboBox::currentIndexChanged, [links](int set) { links->paletteSet = set; });
            break;
        }
        case kPage16x16Chip: {
            View(tab, "ImgBGBankTable", 256, 256, 0, 0);
            View(tab, "ImgEdit16x16ChipView", 256, 256, 260, 0);
            View(tab, "ImgEdit16x16Chip", 64, 64, 0, 260);
            View(tab, "ImgSelectTile", 32, 32, 70, 260);
            auto* box = new QGroupBox(tab);
            box->setObjectName("RGChipPropertySelect");
            for (int k = 0; k < 16; ++k) new QRadioButton(BuiltinChipAttributeCaption(k), box);
            break;
        }
        case kPage32x32Chip:
            View(tab, "Img16x16ChipTable", 256, 256, 0, 260);
            View(tab, "ImgEdit32x32ChipView", 512, 256, 0, 0);
            View(tab, "ImgEdit32x32Chip", 64, 64, 260, 260);
            View(tab, "ImgSelect16x16Chip", 32, 32, 330, 260);
            Label(tab, "LblEdit32x32ChipView", "00-7F");
            Check(tab, "Chk32x32ChipEditDrawGrid", false);
            break;
        case kPageMapSet:
            View(tab, "ImgEditMapSetPage0", 256, 256, 0, 0, 0);
            View(tab, "ImgEditMapSetPage1", 256, 256, 260, 0, 1);
            View(tab, "ImgSelect32x32Chip", 64, 64, 0, 260);
            View(tab, "Img32x32ChipTable", 256, 256, 70, 260);
            Label(tab, "LblMapSetPage0", "00");
            Label(tab, "LblMapSetPage1", "01");
            Check(tab, "ChkMapSetEditDrawGrid", false);
            Bar(tab, "ScrBarMapSet", 30);
            Bar(tab, "ScrBarSelectPage0", 31);
            Bar(tab, "ScrBarSelectPage1", 31);
            break;
        case kPageMap:
            View(tab, "ImgEditMapPage0", 256, 256, 0, 0, 0);
            View(tab, "ImgEditMapPage1", 256, 256, 260, 0, 1);
            Bar(tab, "ScrBarMap", 46);
            Bar(tab, "ScrbarEditMapPage0", 31);
            Bar(tab, "ScrbarEditMapPage1", 31);
            break;
        case kPageObject: {
            View(tab, "ImgObjectMapPage0", 256, 256, 0, 0, 0);
            View(tab, "ImgObjectMapPage1", 256, 256, 260, 0, 1);
            auto* cb = new QComboBox(tab);
            cb->setObjectName("CBSelectObject");
            cb->addItems(ctx.objectKindNames);  // as the object page fills it
            Check(tab, "ChkSortObjectList", false);
            Check(tab, "ChkPopupHint", false);
            Bar(tab, "ScrBarObjectMap", 46);
            break;
        }
        }
    }
    std::vector<std::string>& log_;
};

class AppTest : public windowtest::WindowTest {
protected:
    QTemporaryDir& dir = dir_;
    ScriptedPrompts prompts;
    std::vector<std::string> log;
    TestFactory* factory = nullptr;
    std::unique_ptr<TMainForm> form;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        WriteColourTable(ShippedColourTable());
        ASSERT_EQ(colourTable_.size(), 192);
    }
    void TearDown() override {
        // Make the folder removable again (tests may turn files into folders).
        form.reset();
    }

    // The demo image, told apart from the others by a header byte nothing reads.
    QString WriteRom(const QString& name, char marker = 0) {
        std::vector<std::uint8_t> image = BuildDemoRom();
        image[8] = std::uint8_t(marker);
        return WriteImage(name, image);
    }
    void WriteIni(const char* text) { WriteBytes(Path("quorveneditor.ini"), QByteArray(text)); }

    void MakeForm(bool withControls = true) {
        auto f = std::make_unique<TestFactory>(log);
        f->withControls = withControls;
        factory = f.get();
        form = std::make_unique<TMainForm>(prompts, std::move(f), ProgramPaths());
    }
    // Form with an image open and the log cleared.
    QString MakeOpenForm() {
        MakeForm();
        const QString rom = WriteRom("a.nes", 1);
        prompts.openNames.push_back(rom);
        form->Open1Click();
        log.clear();
        prompts.log.clear();
        return rom;
    }

    template <class T = QWidget>
    T* Find(const char* name) const {
        return form->findChild<T*>(name);
    }
    TImageEx* ViewNamed(const char* name) const { return form->findChild<TImageEx*>(name); }

    // Lines of the log that start with prefix (all when empty).
    std::vector<std::string> Lines(const std::string& prefix = "") const {
        std::vector<std::string> out;
        for (const auto& l : log)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }

    // Raises an edit on stage s: a map entry changed through the stage's own edit operation.
    void EditMap(int stage, int screen, Byte value) {
        ASSERT_TRUE(form->Rom().StageAt(stage).SetMapEntry(screen, value));
        form->Flags().SetModified(ModifiedCategory::Map, stage, true);
    }

    // A click (press and release) at (x, y).
    static void Press(QWidget* w, Qt::MouseButton b, Qt::KeyboardModifiers mods, int x, int y) {
        SendClick(w, x, y, b, mods);
    }
    static void Move(QWidget* w, int x, int y, Qt::MouseButtons held = Qt::NoButton,
                     Qt::KeyboardModifiers mods = Qt::NoModifier) {
        SendMove(w, x, y, held, mods);
    }
    static void Leave(QWidget* w) { SendLeave(w); }
};
