#include "app/exportcommands.h"

#include <QBuffer>
#include <QByteArray>
#include <QMenu>
#include <exception>

#include "app/savereport.h"
#include "document/atomicfile.h"
#include "document/fileio.h"
#include "document/filepathtext.h"
#include "document/patch.h"
#include "editors/pagecontroller.h"
#include "editors/userprompts.h"
#include "graphics/fcpalette.h"
#include "graphics/uitext.h"

namespace {

std::filesystem::path ToPath(const QString& s) {
    return FilePathFromText(s.toStdU16String());
}

}  // namespace

ExportMenu AddExportMenu(QMenu* parent) {
    ExportMenu m;
    m.importStage = parent->addAction(Tr("StageFile", "ステージをファイルから読み込む…"));
    m.importStage->setObjectName("ImportStageFile1");
    m.importStage->setEnabled(false);
    m.menu = parent->addMenu(Tr("Export", "エクスポート(&E)"));
    m.menu->setObjectName("Export1");
    m.menu->menuAction()->setObjectName("Export1Menu");
    auto add = [&](const char* name, const QString& caption) {
        QAction* a = m.menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    m.ipsPatch = add("ExportIpsPatch1", Tr("Export", "IPSパッチを作成..."));
    m.bpsPatch = add("ExportBpsPatch1", Tr("Export", "BPSパッチを作成..."));
    m.menu->addSeparator();
    m.picture = add("ExportPicture1", Tr("Export", "画像として保存..."));
    m.menu->addSeparator();
    m.stageFile = add("ExportStageFile1", Tr("StageFile", "ステージをファイルに書き出す…"));
    m.tiledMap = add("ExportTiledMap1", Tr("StageFile", "Tiledマップとして書き出す…"));
    m.menu->addSeparator();
    m.testPlay = add("TestPlay1", Tr("Export", "テストプレイ"));
    m.menu->menuAction()->setEnabled(false);
    return m;
}

void SetExportMenuEnabled(QMenu* parent, bool enabled) {
    if (!parent) return;
    if (auto* menu = parent->findChild<QMenu*>("Export1")) menu->menuAction()->setEnabled(enabled);
    if (auto* item = parent->findChild<QAction*>("ImportStageFile1")) item->setEnabled(enabled);
}

bool ExportPatch(UserPrompts& prompts, const RomImageData& rom, bool bps) {
    if (!rom.IsLoaded()) return false;
    const QString path =
        bps ? prompts.SaveFileNameFor(Tr("Export", "BPSパッチを作成"), Tr("Export", "BPSパッチ (*.bps)"), "bps")
            : prompts.SaveFileNameFor(Tr("Export", "IPSパッチを作成"), Tr("Export", "IPSパッチ (*.ips)"), "ips");
    if (path.isEmpty()) return false;
    try {
        const std::vector<Byte> edited = rom.ComposeImage();
        const std::vector<Byte>& original = rom.OriginalImage();
        const std::vector<Byte> patch =
            bps ? patchfile::MakeBps(original, edited) : patchfile::MakeIps(original, edited);
        ReportWriteResult(prompts, ToPath(path), WriteFileAtomically(ToPath(path), patch.data(), patch.size()));
    } catch (const patchfile::PatchError& e) {
        if (e.Kind() == patchfile::PatchErrorKind::TooLarge)
            prompts.Message(Tr("Export", kPatchTooLargeText));
        else
            prompts.ErrorReport(QString::fromUtf8(e.what()));
        return false;
    } catch (const std::exception& e) {
        prompts.ErrorReport(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

StagePictureKind PictureKindForPage(int page) {
    switch (page) {
    case kPageMapSet: return StagePictureKind::MapSets;
    case kPage32x32Chip: return StagePictureKind::Chip32Sheet;
    case kPage16x16Chip: return StagePictureKind::Chip16Sheet;
    case kPagePalette: return StagePictureKind::BgBank;
    default: return StagePictureKind::MapScreens;  // map and object pages
    }
}

bool ExportPicture(UserPrompts& prompts, const RomImageData& rom, const FcPaletteData& palette, int stage,
                   StagePictureKind kind, const StagePictureOptions& options) {
    if (!rom.IsLoaded()) return false;
    const QString path =
        prompts.SaveFileNameFor(Tr("Export", "画像として保存"), Tr("Export", "PNG画像 (*.png)"), "png");
    if (path.isEmpty()) return false;
    const QImage picture = RenderStagePicture(rom, palette, stage, kind, options);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "PNG")) {
        prompts.Message(Tr("Export", kPictureFailedText));
        return false;
    }
    try {
        ReportWriteResult(prompts, ToPath(path),
                          WriteFileAtomically(ToPath(path), bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const std::exception& e) {
        prompts.ErrorReport(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}
