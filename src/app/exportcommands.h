#pragma once
// The File menu's export submenu: IPS and BPS patches that turn the image as it was opened into the image
// as it is now (edits included, saved or not), a PNG picture of the current stage, the stage as a stage file
// or a Tiled map (stagefilecommands.h), and test play; the stage file import sits just above it.

#include <QString>

#include "graphics/stagepicture.h"

class QMenu;
class QAction;
class RomImageData;
class FcPaletteData;
class UserPrompts;

struct ExportMenu {
    QMenu* menu = nullptr;        // "エクスポート(&E)", objectName "Export1"
    QAction* ipsPatch = nullptr;  // "IPSパッチを作成...", "ExportIpsPatch1"
    QAction* bpsPatch = nullptr;  // "BPSパッチを作成...", "ExportBpsPatch1"
    QAction* picture = nullptr;   // "画像として保存...", "ExportPicture1"
    QAction* stageFile = nullptr;  // "ステージをファイルに書き出す…", "ExportStageFile1" (stagefilecommands.h)
    QAction* tiledMap = nullptr;  // "Tiledマップとして書き出す…", "ExportTiledMap1"
    // In the File menu just above the submenu: "ステージをファイルから読み込む…", "ImportStageFile1".
    QAction* importStage = nullptr;
    QAction* testPlay = nullptr;  // "テストプレイ", "TestPlay1" (testplay.h)
};

// Adds the import item and the submenu at the end of parent (disabled until an image is open).
ExportMenu AddExportMenu(QMenu* parent);
// Enables the submenu and the import item that AddExportMenu added to parent.
void SetExportMenuEnabled(QMenu* parent, bool enabled);

// Asks for a file name, then writes the patch (bps: BPS, else IPS). Returns true when a file was written;
// a cancel writes nothing, a failure is reported through the prompts.
bool ExportPatch(UserPrompts& prompts, const RomImageData& rom, bool bps);

// The picture a page's export writes: the map and object pages the 48 screens, the map set page the map
// sets, the chip pages their sheets, the palette page the BG bank.
StagePictureKind PictureKindForPage(int page);

// Asks for a file name, then writes the PNG. Returns true when a file was written.
bool ExportPicture(UserPrompts& prompts, const RomImageData& rom, const FcPaletteData& palette, int stage,
                   StagePictureKind kind, const StagePictureOptions& options);

// The messages of a refused export.
inline constexpr const char* kPatchTooLargeText =
    QT_TRANSLATE_NOOP("Export", "16MiBを超えるイメージはIPSパッチにできません");
inline constexpr const char* kPictureFailedText = QT_TRANSLATE_NOOP("Export", "画像を保存できませんでした");
