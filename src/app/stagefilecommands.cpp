#include "app/stagefilecommands.h"

#include <QAction>
#include <exception>
#include <string>
#include <vector>

#include "app/exportcommands.h"
#include "app/mainform.h"
#include "document/fileio.h"
#include "document/filepathtext.h"
#include "document/stagefile.h"
#include "document/stagetitles.h"
#include "editors/userprompts.h"
#include "graphics/hextext.h"
#include "graphics/stagetmx.h"
#include "graphics/uitext.h"

namespace {

std::filesystem::path ToPath(const QString& s) {
    return FilePathFromText(s.toStdU16String());
}

}  // namespace

void ConnectStageFileCommands(TMainForm& form, const ExportMenu& menu) {
    QObject::connect(menu.stageFile, &QAction::triggered, &form, [&form] {
        if (form.ImageOpen()) ExportStageFile(form.Prompts(), form.Rom(), form.Rom().CurrentStage());
    });
    QObject::connect(menu.tiledMap, &QAction::triggered, &form, [&form] {
        if (form.ImageOpen())
            ExportTiledMap(form.Prompts(), form.Rom(), form.Palette(), form.Rom().CurrentStage(),
                           form.ObjectKindNames());
    });
    QObject::connect(menu.importStage, &QAction::triggered, &form, [&form] {
        if (!form.ImageOpen()) return;
        const int stage = form.Rom().CurrentStage();
        // The pages, the palette animation and the Edit menu show the stage anew, as after a stage change.
        if (ImportStageFile(form.Prompts(), form.Rom(), form.Flags(), stage)) form.CBStageChange(stage);
    });
}

bool ExportStageFile(UserPrompts& prompts, const RomImageData& rom, int stage) {
    if (!rom.IsLoaded() || stage < 0 || stage >= kStageCount) return false;
    const QString path = prompts.SaveFileNameFor(Tr("StageFile", "ステージをファイルに書き出す"),
                                                 Tr("StageFile", "ステージファイル (*.json)"), "json");
    if (path.isEmpty()) return false;
    try {
        WriteStageFile(ToPath(path), CaptureStage(rom.StageAt(stage), StageTitle(stage)));
    } catch (const std::exception& e) {
        prompts.ErrorReport(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

bool ExportTiledMap(UserPrompts& prompts, const RomImageData& rom, const FcPaletteData& palette, int stage,
                    const QStringList& kindNames) {
    if (!rom.IsLoaded() || stage < 0 || stage >= kStageCount) return false;
    const QString path = prompts.SaveFileNameFor(Tr("StageFile", "Tiledマップとして書き出す"),
                                                 Tr("StageFile", "Tiledマップ (*.tmx)"), "tmx");
    if (path.isEmpty()) return false;
    std::vector<std::string> names;
    for (const QString& name : kindNames) names.push_back(name.toStdString());
    try {
        WriteStageTmx(rom, palette, stage, names, ToPath(path));
    } catch (const std::exception& e) {
        prompts.ErrorReport(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

bool ImportStageFile(UserPrompts& prompts, RomImageData& rom, EditFlagManagement& flags, int stage) {
    if (!rom.IsLoaded() || stage < 0 || stage >= kStageCount) return false;
    const QString path = prompts.OpenFileNameFor(Tr("StageFile", "ステージをファイルから読み込む"),
                                                 Tr("StageFile", "ステージファイル (*.json)"));
    if (path.isEmpty()) return false;
    StageFileContent content;
    try {
        content = ReadStageFile(ToPath(path));
    } catch (const StageFileError& e) {
        prompts.Message(Tr("StageFile", kStageFileRefusedText).arg(QString::fromUtf8(e.what())));
        return false;
    } catch (const std::exception& e) {
        prompts.ErrorReport(QString::fromUtf8(e.what()));
        return false;
    }
    const StageImportPlan plan = PlanStageImport(rom.StageAt(stage), content);
    if (!plan.Any()) {
        prompts.Message(Tr("StageFile", kStageFileSameText));
        return false;
    }
    const std::vector<int> others = StagesSharingTables(rom, stage);
    if (plan.ChangesSharedTables() && !others.empty()) {
        QStringList numbers;
        for (int s : others) numbers << Hex2(s);
        if (!prompts.AskYesNo(Tr("StageFile", kStageFileSharedQuestion).arg(numbers.join(", ")))) return false;
    }
    ApplyStageImport(rom, flags, stage, content, plan);
    return true;
}
