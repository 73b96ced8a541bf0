// Not a test: writes PNG pictures of the main window on every page and of both menus, for people to look
// at (run under xvfb-run or with QT_QPA_PLATFORM=offscreen). Usage: app_screenshots OUTDIR IMAGE.nes

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

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
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTDIR IMAGE.nes\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    ScriptedPrompts prompts;
    TMainForm form(prompts, std::make_unique<ShotFactory>(),
                   StartupPaths{QCoreApplication::applicationDirPath(), QDir::current().filePath("fcpalette.pal")});
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
    for (const char* name : {"File1", "Edit1"}) {
        auto* menu = form.findChild<QMenu*>(name);
        menu->popup(form.mapToGlobal(QPoint(10, 20)));
        QTest::qWait(100);
        menu->grab().save(out + "/menu_" + name + ".png");
        menu->hide();
    }
    for (const QString& line : prompts.log) std::printf("prompt: %s\n", line.toUtf8().constData());
    return 0;
}
