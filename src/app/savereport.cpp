#include "app/savereport.h"

#include <cstring>
#include <exception>

#include "document/fileio.h"
#include "editors/userprompts.h"
#include "graphics/uitext.h"

void ReportWriteResult(UserPrompts& prompts, const std::filesystem::path& path, const AtomicWriteResult& result) {
    if (result.NameDurable()) return;
    prompts.Message(
        Tr("SaveReport",
           "%1 に新しい内容を書き込みましたが、フォルダーのフラッシュに失敗しました(%2)。"
           "停電などが起きると、このファイル名の変更が失われることがあります。")
            .arg(QString::fromStdString(path.string()), QString::fromUtf8(std::strerror(result.folderFlushError))));
}

bool SaveImageReported(UserPrompts& prompts, RomImageData& rom, const std::filesystem::path& path) {
    AtomicWriteResult result;
    try {
        result = rom.SaveToFile(path);
    } catch (const std::exception& e) {
        prompts.ErrorReport(QString::fromUtf8(e.what()));
        return false;
    }
    ReportWriteResult(prompts, path, result);
    return true;
}
