// Every text the editor shows, gathered from one walk through the program: the window, its menus and all six
// pages, the status texts of every view, the dialogs, the pop-up menus and every message, question and file
// dialog caption the walk provokes. In Japanese the catalogue must equal, line for line, the one recorded in
// data/interface_texts_ja.txt (the interface as it was before its texts became translatable; the language
// menu, which came later, is checked on its own); in English no text of the program may keep a Japanese
// character, and no text may be cut off by its control or run into a neighbour.
//
// QUORVEN_WRITE_TEXTS=<file> writes the catalogue of the default language there instead of comparing it.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QDockWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextStream>
#include <QTranslator>

#include "app/language.h"
#include "editors/MapSetEditGridForm.h"
#include "editors/objectedit.h"
#include "pagebench.h"

namespace {

// Object kind names are the user's own data: plain ASCII here, so any Japanese left in English is the program's.
QStringList ObjectNames() {
    QStringList names;
    for (int k = 0; k < 8; ++k) names << QString("Kind %1").arg(k);
    return names;
}

QString Escaped(QString text) {
    return text.replace("\\", "\\\\").replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t");
}

// Whether text holds a Japanese character (kana, CJK ideographs, full-width forms, CJK punctuation).
bool HasJapanese(const QString& text) {
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
    }
    return false;
}

class Catalogue {
public:
    // The test's own folder, written as <dir> so the catalogue is the same on every run.
    QString folder;
    void Add(const QString& where, const QString& text) {
        if (!text.isEmpty()) lines << where + "\t" + Escaped(QString(text).replace(folder, "<dir>"));
    }
    // Every text of the widget and of all widgets and actions inside it, in creation order.
    void Walk(const QString& where, QWidget* root) {
        QList<QWidget*> widgets{root};
        widgets += root->findChildren<QWidget*>();
        for (QWidget* w : widgets) {
            const QString at = where + " " + w->metaObject()->className() + " " + w->objectName();
            if (w->isWindow()) Add(at + " title", w->windowTitle());
            Add(at + " tip", w->toolTip());
            if (auto* l = qobject_cast<QLabel*>(w)) Add(at, l->text());
            if (auto* b = qobject_cast<QAbstractButton*>(w)) Add(at, b->text());
            if (auto* g = qobject_cast<QGroupBox*>(w)) Add(at, g->title());
            if (auto* m = qobject_cast<QMenu*>(w)) Add(at, m->title());
            if (auto* d = qobject_cast<QDockWidget*>(w)) Add(at, d->windowTitle());
            if (auto* t = qobject_cast<QTabWidget*>(w))
                for (int i = 0; i < t->count(); ++i) Add(at + " tab", t->tabText(i));
            if (auto* c = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < c->count(); ++i) Add(at + " item", c->itemText(i));
            if (auto* p = qobject_cast<QPlainTextEdit*>(w)) Add(at + " text", p->toPlainText());
        }
        QList<QAction*> actions = root->findChildren<QAction*>();
        for (QAction* a : actions)
            if (!a->isSeparator()) Add(where + " action " + a->objectName(), a->text());
    }
    QStringList lines;
};

class InterfaceTexts : public pagebench::PageBench {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPageMap, kPageMapSet, kPage32x32Chip, kPage16x16Chip, kPagePalette, kPageObject};
        o.objectLines = ObjectNames();
        o.tab = kPageMap;
        return o;
    }

    // Every status panel and the notice.
    void Statuses(const QString& where) {
        for (int panel = 0; panel < 3; ++panel) cat_.Add(where + " status" + QString::number(panel), Status(panel));
        if (auto* notice = Find<QLabel>("StatusNotice")) cat_.Add(where + " notice", notice->text());
    }
    // What the prompts were asked since the last call.
    void Prompts(const QString& where) {
        for (const QString& line : prompts_.log) cat_.Add(where + " prompt", line);
        prompts_.log.clear();
    }
    void ClickButton(const char* name) {
        auto* b = Find<QPushButton>(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
        QApplication::processEvents();
    }
    // Runs a dialog opened by what through the hook, walking it (and what body adds) into the catalogue.
    void WithDialog(const QString& where, const std::function<void()>& what,
                    const std::function<void(QDialog&)>& body = {}) {
        prompts_.dialogHook = [&](QDialog& d, const QString& name) {
            d.show();
            QApplication::processEvents();
            cat_.Walk(where + " " + name, &d);
            if (onDialog_) onDialog_(d);
            if (body) body(d);
            return int(QDialog::Rejected);
        };
        what();
        prompts_.dialogHook = nullptr;
        Prompts(where);
    }

    void WalkEverything() {
        cat_.folder = dir_.path();
        cat_.Walk("window", form_.get());
        Statuses("window");

        // Every view's hover texts and tool-tip, page by page.
        for (int page = 0; page < kPageCount; ++page) {
            SelectTab(page);
            for (TImageEx* v : Page(page)->findChildren<TImageEx*>()) {
                SendMove(v, 5, 5);
                QApplication::processEvents();
                const QString at = "hover " + v->objectName();
                Statuses(at);
                cat_.Add(at + " tip", v->toolTip());
                SendLeave(v);
            }
        }

        // The reload questions (answered no).
        for (const char* button : {"BtnMapEditReload", "Button3", "Button2", "Button1", "BtnPaletteReload",
                                   "BtnAnimationPaletteReload", "BtnObjectEditReload"}) {
            prompts_.yesNoAnswers.push_back(false);
            ClickButton(button);
        }
        Prompts("reload");

        // The usage lists and the replacement.
        for (const char* button :
             {"BtnUnused16x16ChipChk", "BtnUnusedTileChk", "BtnUnused32x32ChipChk", "BtnOverlap32x32ChipChk"})
            WithDialog(QString("usage ") + button, [&] { ClickButton(button); });
        WithDialog("replace", [&] { ClickButton("BtnReplaceMapSetChip"); });

        // The map set grid dialog, its pop-up menu and its fill prompt.
        SelectTab(kPageMapSet);
        WithDialog(
            "grid", [&] { Click("ImgEditMapSetPage0", 40, 40, Qt::LeftButton, Qt::ShiftModifier); },
            [&](QDialog& d) {
                if (auto* fill = d.findChild<QAction*>("N3")) fill->trigger();
            });

        // The object page: the list dialog, the pop-up menu with and without a copied object, the hint.
        SelectTab(kPageObject);
        auto& objects = Controller<ObjectEditClass>(kPageObject);
        Stage().ClearScreenObjects(0);
        Stage().ClearScreenObjects(1);
        Stage().AppendObject(0, 0x40, 0x40, 1);
        objects.ScrollTo(0);
        WithDialog("objectlist", [&] { Click("ImgObjectMapPage1", 200, 200, Qt::LeftButton, Qt::ShiftModifier); });
        auto* popup = Find<QMenu>("PopupMenuObjectEdit");
        ASSERT_NE(popup, nullptr);
        Move("ImgObjectMapPage0", 0x40, 0x40);
        Press("ImgObjectMapPage0", 0x40, 0x40, Qt::RightButton);
        Release("ImgObjectMapPage0", 0x40, 0x40, Qt::RightButton);
        cat_.Walk("objectmenu", popup);
        Find<QAction>("MenuCopyObject")->trigger();
        popup->hide();
        Move("ImgObjectMapPage0", 0x80, 0x80);
        Press("ImgObjectMapPage0", 0x80, 0x80, Qt::RightButton);
        Release("ImgObjectMapPage0", 0x80, 0x80, Qt::RightButton);
        cat_.Walk("objectmenu copied", popup);
        popup->hide();
        Move("ImgObjectMapPage0", 0x40, 0x40);
        cat_.Add("object hint", View("ImgObjectMapPage0")->toolTip());
        Prompts("object");

        // Undo captions of three kinds of edit.
        SelectTab(kPageMapSet);
        Click("Img32x32ChipTable", 40, 8);
        Click("ImgEditMapSetPage0", 40, 40);
        SelectTab(kPage16x16Chip);
        Click("ImgBGBankTable", 40, 40);
        Click("ImgEdit16x16Chip", 5, 5);
        SelectTab(kPagePalette);
        Type("EditPal1", "21");
        QTest::keyClick(Find<QLineEdit>("EditPal1"), Qt::Key_Return);
        for (int step = 0; step < 3; ++step) {
            form_->RefreshEditMenu();
            cat_.Add("undo", Find<QAction>("Undo1")->text());
            cat_.Add("redo", Find<QAction>("Redo1")->text());
            form_->Undo1Click();
        }
        form_->RefreshEditMenu();
        cat_.Add("undo", Find<QAction>("Undo1")->text());
        cat_.Add("redo", Find<QAction>("Redo1")->text());
        Statuses("edited");

        // The export commands, cancelled at their file dialogs.
        for (const char* action : {"ExportIpsPatch1", "ExportBpsPatch1", "ExportPicture1"})
            Find<QAction>(action)->trigger();
        Prompts("export");

        // Test play with no emulator on the path.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", Path("nothing").toUtf8());
        Find<QAction>("TestPlay1")->trigger();
        qputenv("PATH", path);
        Prompts("testplay");

        // The zoom notice.
        Find<QAction>("Zoom200")->trigger();
        Statuses("zoom");
        Find<QAction>("Zoom100")->trigger();

        // Images that cannot be opened.
        WriteFile("short.nes", QByteArray(8, 'x'));
        WriteFile("bad.nes", QByteArray(0x40010, '\0'));
        form_->Flags().ClearAllModified();
        form_->OpenImage(Path("short.nes"));
        form_->OpenImage(Path("bad.nes"));
        Prompts("open");

        // Leaving with changes: the question (cancelled).
        Stage().SetMapEntry(0, 1);
        form_->Flags().SetModified(ModifiedCategory::Map, form_->Rom().CurrentStage(), true);
        Statuses("modified");
        form_->close();
        Prompts("close");
        form_->Flags().ClearAllModified();

        // The replacement carried out.
        WithDialog("replace done", [&] {
            prompts_.dialogHook = [](QDialog& d, const QString&) {
                d.show();
                d.findChild<QPushButton*>("BtnReplaceMapSetChips")->click();
                return d.result();
            };
            ClickButton("BtnReplaceMapSetChip");
        });
        WithDialog("replace again", [&] { ClickButton("BtnReplaceMapSetChip"); });
        form_->Flags().ClearAllModified();

        // A second window without the object list.
        QDir(dir_.path()).mkdir("bare");
        ScriptedPrompts bare;
        StartupPaths barePaths = ProgramPaths();
        barePaths.programFolder = Path("bare");
        { TMainForm noList(bare, CreateDefaultPageFactory(), barePaths); }
        for (const QString& line : bare.log) cat_.Add("noobjectlist prompt", line);

        // A second window whose colour table is missing.
        ScriptedPrompts other;
        StartupPaths paths = ProgramPaths();
        paths.palettePath = Path("missing.pal");
        TMainForm failed(other, CreateDefaultPageFactory(), paths);
        for (const QString& line : other.log) cat_.Add("nopalette prompt", line);
    }

    Catalogue cat_;
    // Called with every dialog the walk opens, while it is shown.
    std::function<void(QDialog&)> onDialog_;
};

// The lines of the language menu, which the recorded catalogue predates.
bool LanguageMenuLine(const QString& line) {
    return line.section('\t', 0, 0).contains("Language");
}

TEST_F(InterfaceTexts, JapaneseTextsAreThoseTheInterfaceAlwaysHad) {
    WalkEverything();
    const QStringList languageLines = cat_.lines.filter(QRegularExpression("Language"));
    EXPECT_EQ(languageLines, QStringList({"window QMenu Language1\t" + QString::fromUtf8("言語"),
                                          "window action Language1Menu\t" + QString::fromUtf8("言語"),
                                          "window action Language_ja\t" + QString::fromUtf8("日本語"),
                                          "window action Language_en\tEnglish"}));
    cat_.lines.removeIf(LanguageMenuLine);
    // The Search menu, the usage finder and the history panel, which the recorded catalogue predates too.
    const QRegularExpression finderAndHistory("Search1|FindUsage1|ShowHistory1");
    EXPECT_EQ(cat_.lines.filter(finderAndHistory),
              QString::fromUtf8("window QMenu Search1\t検索(&S)|window action Search1Menu\t検索(&S)|"
                                "window action FindUsage1\t使用箇所を探す|window action ShowHistory1\t編集履歴")
                  .split('|'));
    cat_.lines.removeIf([&](const QString& line) { return line.contains(finderAndHistory); });
    const QString out = qEnvironmentVariable("QUORVEN_WRITE_TEXTS");
    if (!out.isEmpty()) {
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write((cat_.lines.join("\n") + "\n").toUtf8());
        return;
    }
    QFile f(QString(QUORVEN_TEST_DATA) + "/interface_texts_ja.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList expected = QString::fromUtf8(f.readAll()).split("\n", Qt::SkipEmptyParts);
    const QStringList& got = cat_.lines;
    for (int i = 0; i < std::max(expected.size(), got.size()); ++i) {
        const QString e = i < expected.size() ? expected[i] : "<none>";
        const QString g = i < got.size() ? got[i] : "<none>";
        ASSERT_EQ(g.toStdString(), e.toStdString()) << "line " << i + 1;
    }
}

// The English interface: the program's translation installed before the window is built, as the program
// does when the settings file says Language=en.
class EnglishInterface : public InterfaceTexts {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o = InterfaceTexts::Options();
        o.ini = "[View]\r\nLanguage=en\r\n";
        return o;
    }
    void SetUp() override {
        ASSERT_TRUE(translator_.load(QStringLiteral(":/i18n/quorven_en.qm")));
        ASSERT_TRUE(QCoreApplication::installTranslator(&translator_));
        InterfaceTexts::SetUp();
    }
    void TearDown() override {
        InterfaceTexts::TearDown();
        QCoreApplication::removeTranslator(&translator_);
    }

    // Where a control's text does not fit: cut off by the control, or running into a sibling control.
    static QStringList Overflows(QWidget* root) {
        QStringList out;
        QList<QWidget*> widgets{root};
        widgets += root->findChildren<QWidget*>();
        for (QWidget* w : widgets) {
            QString text;
            int room = 0;  // width the control gives its text and what comes before it
            int lead = 0;  // what comes before the text: the box or circle of a check box or radio button
            const QFontMetrics fm(w->font());
            if (auto* l = qobject_cast<QLabel*>(w)) {
                text = l->text();
                room = l->contentsRect().width();
                if (l->alignment() & Qt::AlignRight) continue;
            } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
                text = c->text();
                room = c->width();
                lead = c->sizeHint().width() - fm.horizontalAdvance(text);
            } else if (auto* r = qobject_cast<QRadioButton*>(w)) {
                text = r->text();
                room = r->width();
                lead = r->sizeHint().width() - fm.horizontalAdvance(text);
            } else if (auto* b = qobject_cast<QPushButton*>(w)) {
                text = QString(b->text()).remove('&');
                room = b->width() - 8;
            } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
                text = g->title();
                room = g->width() - 16;
            } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
                for (int i = 0; i < cb->count(); ++i)
                    if (fm.horizontalAdvance(cb->itemText(i)) > cb->width() - 24)
                        out << QString("%1 item \"%2\"").arg(cb->objectName(), cb->itemText(i));
                continue;
            }
            if (text.isEmpty() || text.contains('\n')) continue;
            const QString name = QString("%1 %2 \"%3\"").arg(w->metaObject()->className(), w->objectName(), text);
            const int needed = lead + fm.horizontalAdvance(text);
            if (needed > room) {
                out << name + QString(" needs %1 of %2").arg(needed).arg(room);
                continue;
            }
            // The text's own rectangle must not reach into a sibling.
            if (!qobject_cast<QLabel*>(w) || !w->parentWidget()) continue;
            const QRect textRect(w->pos(), QSize(fm.horizontalAdvance(text), w->height()));
            for (QObject* o : w->parentWidget()->children()) {
                auto* sibling = qobject_cast<QWidget*>(o);
                if (!sibling || sibling == w || sibling->isWindow() || !sibling->isVisibleTo(w->parentWidget()))
                    continue;
                if (auto* other = qobject_cast<QLabel*>(sibling);
                    other && other->text().isEmpty() && other->pixmap().isNull())
                    continue;                                               // an empty label shows nothing to run into
                if (sibling->geometry().contains(w->geometry())) continue;  // a frame it sits on
                if (textRect.intersects(sibling->geometry()))
                    out << name + " runs into " + sibling->metaObject()->className() + " " + sibling->objectName();
            }
        }
        return out;
    }

    QTranslator translator_;
};

TEST_F(EnglishInterface, NoTextOfTheProgramStaysJapanese) {
    WalkEverything();
    QStringList japanese;
    for (const QString& line : cat_.lines)
        if (HasJapanese(line)) japanese << line;
    EXPECT_TRUE(japanese.isEmpty()) << japanese.join("\n").toStdString();
    // A few texts as the translation words them.
    EXPECT_TRUE(cat_.lines.contains("window QTabWidget EditPageControl tab\tMap set"));
    EXPECT_TRUE(cat_.lines.contains("window action Open1\t&Open"));
    EXPECT_TRUE(cat_.lines.contains("undo\t&Undo - Palette edit"));
    EXPECT_TRUE(cat_.lines.contains("close prompt\tync:Save the changes to <dir>/demo.nes?"));
    EXPECT_TRUE(cat_.lines.contains("hover ImgEditMapSetPage0 status1\tIndex:00(0,0) 32x32 chip No:00"));
}

TEST_F(EnglishInterface, EveryTextFitsItsControl) {
    QStringList overflows;
    for (int page = 0; page < kPageCount; ++page) {
        SelectTab(page);
        overflows += Overflows(Page(page));
    }
    overflows += Overflows(form_.get());
    // The dialogs, as the walk opens them.
    int dialogs = 0;
    onDialog_ = [&](QDialog& d) {
        ++dialogs;
        overflows += Overflows(&d);
    };
    WalkEverything();
    EXPECT_GE(dialogs, 7);
    overflows.removeDuplicates();
    EXPECT_TRUE(overflows.isEmpty()) << overflows.join("\n").toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
