// Not a test: writes PNG pictures of the main window on every page and of both menus, for people to look
// at (run under xvfb-run or with QT_QPA_PLATFORM=offscreen). Usage: app_screenshots OUTDIR IMAGE.nes [en]
// ("en": the English interface, as with Language=en in the settings file).

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/language.h"
#include "app/mainform.h"
#include "editors/16x16chipedit.h"
#include "editors/pagefactory.h"
#include "editors/paletteedit.h"
#include "scriptedprompts.h"

namespace {
// The default pages, plus the palette and 16x16 chip pages in case the default factory lacks them.
class ShotFactory : public PageFactory {
public:
    std::unique_ptr<PageController> Create(int page, QWidget* tab, PageContext& ctx) override {
        if (auto c = base_->Create(page, tab, ctx)) return c;
        if (page == kPagePalette) return CreatePalettePage(tab, ctx);
        if (page == kPage16x16Chip) return Create16x16ChipPage(tab, ctx);
        return nullptr;
    }

private:
    std::unique_ptr<PageFactory> base_ = CreateDefaultPageFactory();
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool english = argc == 4 && QByteArray(argv[3]) == "en";
    if (argc != 3 && !english) {
        std::fprintf(stderr, "usage: %s OUTDIR IMAGE.nes [en]\n", argv[0]);
        return 2;
    }
    // The settings of this run: a file of their own, so the program's own settings stay as they are.
    QTemporaryDir settings;
    QFile ini(settings.filePath("quorveneditor.ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write(english ? "[View]\r\nLanguage=en\r\n" : "") < 0) return 1;
    ini.close();
    language::Install(app, english ? language::Language::English : language::Language::Japanese);
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    ScriptedPrompts prompts;
    StartupPaths paths{QCoreApplication::applicationDirPath(), QDir::current().filePath("fcpalette.pal")};
    paths.settingsFolder = settings.path();
    TMainForm form(prompts, std::make_unique<ShotFactory>(), paths);
    if (form.StartupFailed()) return 1;
    form.show();
    QTest::qWait(100);
    form.grab().save(out + "/start.png");
    if (!form.OpenImage(QString::fromLocal8Bit(argv[2]))) return 1;
    for (int page = 0; page < kPageCount; ++page) {
        form.PageControl()->setCurrentIndex(page);
        QTest::qWait(150);
        form.grab().save(out + QString("/page%1.png").arg(page));
    }
    for (const char* name : {"File1", "Export1", "Edit1", "View1"}) {
        auto* menu = form.findChild<QMenu*>(name);
        menu->popup(form.mapToGlobal(QPoint(10, 20)));
        QTest::qWait(100);
        menu->grab().save(out + "/menu_" + name + ".png");
        menu->hide();
    }
    // The panels beside the pages: the overview and the history after two edits, and the usage finder.
    for (const char* name : {"ShowStageOverview1", "ShowHistory1"})
        if (auto* a = form.findChild<QAction*>(name)) a->trigger();
    form.PageControl()->setCurrentIndex(kPageMapSet);
    QTest::qWait(100);
    if (auto* table = form.findChild<QWidget*>("Img32x32ChipTable"))  // pick a chip to paint with
        QTest::mouseClick(table, Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
    if (auto* w = form.findChild<QWidget*>("ImgEditMapSetPage0")) {
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(72, 40));
        QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);  // one step back: the last row greys
    }
    if (auto* a = form.findChild<QAction*>("FindUsage1")) a->trigger();
    QTest::qWait(200);
    form.grab().save(out + "/panels.png");
    if (auto* finder = form.findChild<QWidget*>("UsageFinderForm")) finder->grab().save(out + "/dialog_UsageFinderForm.png");
    // The dialogs: the usage list, the map set grid dialog and the object list dialog.
    prompts.dialogHook = [&](QDialog& d, const QString& name) {
        d.show();
        QTest::qWait(100);
        d.grab().save(out + "/dialog_" + name + ".png");
        return int(QDialog::Rejected);
    };
    auto pressIn = [&](int page, const char* name, Qt::KeyboardModifiers mods) {
        form.PageControl()->setCurrentIndex(page);
        QTest::qWait(50);
        if (auto* w = form.findChild<QWidget*>(name)) {
            if (auto* b = qobject_cast<QPushButton*>(w))
                b->click();
            else
                QTest::mouseClick(w, Qt::LeftButton, mods, QPoint(200, 200));
        }
    };
    pressIn(kPage16x16Chip, "BtnUnused16x16ChipChk", Qt::NoModifier);
    pressIn(kPageMapSet, "ImgEditMapSetPage0", Qt::ShiftModifier);
    pressIn(kPageObject, "ImgObjectMapPage1", Qt::ShiftModifier);
    for (const QString& line : prompts.log) std::printf("prompt: %s\n", line.toUtf8().constData());
    return 0;
}
