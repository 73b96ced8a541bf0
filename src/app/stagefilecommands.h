#pragma once
// The stage file and the Tiled map from the window: File > "ステージをファイルから読み込む…" and the export
// submenu's "ステージをファイルに書き出す…" and "Tiledマップとして書き出す…", thin callers of
// document/stagefile.h and graphics/stagetmx.h for the current stage.

#include <QString>
#include <QStringList>

class TMainForm;
class RomImageData;
class EditFlagManagement;
class FcPaletteData;
class UserPrompts;
struct ExportMenu;

// Connects the three items of menu to the commands below.
void ConnectStageFileCommands(TMainForm& form, const ExportMenu& menu);

// Each asks for a file name and returns true when a file was written; a cancel writes nothing, a failure is
// reported through the prompts.
bool ExportStageFile(UserPrompts& prompts, const RomImageData& rom, int stage);
bool ExportTiledMap(UserPrompts& prompts, const RomImageData& rom, const FcPaletteData& palette, int stage,
                    const QStringList& kindNames);

// Asks for a stage file and puts it into the stage: a refused file is shown and changes nothing; when the
// stage shares its chip tables with other stages and the file changes them, asks first. Returns true when
// the stage changed (the caller then shows the stage anew).
bool ImportStageFile(UserPrompts& prompts, RomImageData& rom, EditFlagManagement& flags, int stage);

inline constexpr const char* kStageFileRefusedText =
    QT_TRANSLATE_NOOP("StageFile", "ステージファイルを読み込めませんでした。\n%1");
inline constexpr const char* kStageFileSameText =
    QT_TRANSLATE_NOOP("StageFile", "ファイルの内容はこのステージと同じです。何も変更しませんでした。");
inline constexpr const char* kStageFileSharedQuestion =
    QT_TRANSLATE_NOOP("StageFile",
                      "このステージのチップとマップセットはステージ %1 と共有されています。\n"
                      "読み込むとそれらのステージも変わります。読み込みますか？");
