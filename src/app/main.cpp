// QUORVEN EDITOR: a level editor for the ROM image of one side-scrolling game.

#include <QFileInfo>
#include <QStringList>

#include "application.h"
#include "mainform.h"
#include "pagefactory.h"
#include "qtprompts.h"

int main(int argc, char** argv) {
    TQuorvenApplication app(argc, argv);
    QtPrompts prompts;
    app.SetPrompts(&prompts);

    // Settings and name lists beside the executable; the colour table in the current directory.
    TMainForm form(prompts, CreateDefaultPageFactory(),
                   StartupPaths{QCoreApplication::applicationDirPath(), QString::fromUtf8("fcpalette.pal")});
    if (form.StartupFailed()) return 1;
    prompts.SetParentWidget(&form);
    form.show();

    // One optional argument: an image to open at once, as the Open command would.
    const QStringList args = app.arguments();
    if (args.size() > 1 && !args.at(1).isEmpty()) form.OpenImage(QFileInfo(args.at(1)).absoluteFilePath());

    return app.exec();
}
