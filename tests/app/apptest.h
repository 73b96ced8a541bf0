#pragma once
// Shared fixture of the main window tests: a temporary program folder with the colour table, a test page
// factory whose controllers record every call, and helpers to write images and send mouse events.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ImageEx.h"
#include "edit_flag.h"
#include "editdata.h"
#include "fileio.h"
#include "graphics.h"
#include "mainform.h"
#include "pagecontroller.h"
#include "pagefactory.h"
#include "scriptedprompts.h"

#ifdef QUORVEN_HAVE_DEMOROM
#include "demorom.h"
#endif

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
    RecordingController(int page, std::vector<std::string>& log) : page_(page), log_(log) {}
    std::function<void()> onReset;
    std::function<void()> onMove;

    void Reset() override {
        Add("Reset");
        if (onReset) onReset();
    }
    void Activate() override { Add("Activate"); }
    void RefreshColours() override { Add("RefreshColours"); }
    void RebuildSheet() override { Add("RebuildSheet"); }
    void ViewPress(TImageEx* view, PressKind kind, int x, int y) override {
        Add("Press " + view->objectName().toStdString() + " tag" + std::to_string(view->Tag()) + " " +
            PressName(kind) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void ViewMove(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y) override {
        Add("Move " + view->objectName().toStdString() + " " + std::to_string(x) + "," + std::to_string(y) +
            (held & Qt::LeftButton ? " L" : "") + (shift ? " S" : "") + (ctrl ? " C" : ""));
        if (onMove) onMove();
    }
    void ViewLeave(TImageEx* view) override { Add("Leave " + view->objectName().toStdString()); }

private:
    void Add(const std::string& what) { log_.push_back(std::string(PageTag(page_)) + "." + what); }
    int page_;
    std::vector<std::string>& log_;
};

// Builds each page with the views and the few controls the main window itself looks at.
class TestFactory : public PageFactory {
public:
    explicit TestFactory(std::vector<std::string>& log) : log_(log) {}
    std::array<RecordingController*, kPageCount> made{};
    bool withControls = true;

    std::unique_ptr<PageController> Create(int page, QWidget* tab, PageContext&) override {
        log_.push_back(std::string("create.") + PageTag(page));
        if (withControls) BuildControls(page, tab);
        auto c = std::make_unique<RecordingController>(page, log_);
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
    void Bar(QWidget* tab, const char* name) {
        auto* b = new QScrollBar(Qt::Horizontal, tab);
        b->setObjectName(name);
        b->setRange(0, 99);
    }
    void BuildControls(int page, QWidget* tab) {
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
                Bar(tab, "ScrBarMapSet");
                Bar(tab, "ScrBarSelectPage0");
                Bar(tab, "ScrBarSelectPage1");
                break;
            case kPageMap:
                View(tab, "ImgEditMapPage0", 256, 256, 0, 0, 0);
                View(tab, "ImgEditMapPage1", 256, 256, 260, 0, 1);
                Bar(tab, "ScrBarMap");
                Bar(tab, "ScrbarEditMapPage0");
                Bar(tab, "ScrbarEditMapPage1");
                break;
            case kPageObject: {
                View(tab, "ImgObjectMapPage0", 256, 256, 0, 0, 0);
                View(tab, "ImgObjectMapPage1", 256, 256, 260, 0, 1);
                auto* cb = new QComboBox(tab);
                cb->setObjectName("CBSelectObject");
                cb->addItem("built-in");
                Check(tab, "ChkSortObjectList", false);
                Check(tab, "ChkPopupHint", false);
                Bar(tab, "ScrBarObjectMap");
                break;
            }
        }
    }
    std::vector<std::string>& log_;
};

class AppTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::vector<std::string> log;
    TestFactory* factory = nullptr;
    std::unique_ptr<TMainForm> form;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        WritePalette(dir.filePath("fcpalette.pal"));
    }
    void TearDown() override {
        // Make the folder removable again (tests may turn files into folders).
        form.reset();
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    static void WriteBytes(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    static QByteArray ReadBytes(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return QByteArray();
        return f.readAll();
    }
    static void WritePalette(const QString& path) {
        QByteArray bytes;
#ifdef QUORVEN_DATA_DIR
        bytes = ReadBytes(QString(QUORVEN_DATA_DIR) + "/fcpalette.pal");
#endif
        if (bytes.size() != 192) {
            bytes.resize(192);
            for (int i = 0; i < 192; ++i) bytes[i] = char((i * 37) & 0xFF);
        }
        WriteBytes(path, bytes);
    }
    static void WriteShiftJis(const QString& path, const QStringList& lines) {
        QStringEncoder enc("Shift_JIS");
        QByteArray bytes = enc(lines.join("\r\n") + "\r\n");
        WriteBytes(path, bytes);
    }
    // The test image: the demo ROM when it is built, else a plain image with every table at its default
    // address (all zero) and a recognisable byte per image.
    QString WriteRom(const QString& name, char marker = 0) {
        QByteArray bytes;
#ifdef QUORVEN_HAVE_DEMOROM
        const std::vector<std::uint8_t> demo = BuildDemoRom();
        bytes = QByteArray(reinterpret_cast<const char*>(demo.data()), qsizetype(demo.size()));
#else
        bytes = QByteArray(0x80010, '\0');
        bytes[0] = 'N'; bytes[1] = 'E'; bytes[2] = 'S'; bytes[3] = 0x1A;
#endif
        bytes[8] = marker;  // a header byte nothing reads: tells the images apart
        const QString path = Path(name);
        WriteBytes(path, bytes);
        return path;
    }
    void WriteIni(const char* text) { WriteBytes(Path("quorveneditor.ini"), QByteArray(text)); }

    void MakeForm(bool withControls = true) {
        auto f = std::make_unique<TestFactory>(log);
        f->withControls = withControls;
        factory = f.get();
        form = std::make_unique<TMainForm>(prompts, std::move(f),
                                           StartupPaths{dir.path(), dir.filePath("fcpalette.pal")});
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
    T* Find(const char* name) const { return form->findChild<T*>(name); }
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

    static void Press(QWidget* w, Qt::MouseButton b, Qt::KeyboardModifiers mods, int x, int y) {
        const QPointF p(x, y);
        QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), b, b, mods);
        QCoreApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), b, Qt::NoButton, mods);
        QCoreApplication::sendEvent(w, &release);
    }
    static void Move(QWidget* w, int x, int y, Qt::MouseButtons held = Qt::NoButton,
                     Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QPointF p(x, y);
        QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, held, mods);
        QCoreApplication::sendEvent(w, &move);
    }
    static void Leave(QWidget* w) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    }
};
