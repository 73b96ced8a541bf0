// The stage file and the Tiled map from the real main window: export, import of the same file (no change),
// of a changed file into a stage that shares its chip tables (asked first, "いいえ" changes nothing), of a bad
// file (a message, no change), and the Tiled map with its tileset picture.

#include <QAction>

#include "app/stagefilecommands.h"
#include "document/stagefile.h"
#include "graphics/uitext.h"
#include "pagebench.h"

namespace {

class StageFileMenuTest : public pagebench::PageBench {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPage16x16Chip, kPageMap};
        o.ini = "[ShareData]\nlevel.3=2\n";  // stage 3 uses stage 2's chip tables and map sets
        return o;
    }
    void Import(const QString& path) {
        prompts_.importNames = {path};
        Find<QAction>("ImportStageFile1")->trigger();
    }
};

TEST_F(StageFileMenuTest, ExportImportAndTiledMapOfTheCurrentStage) {
    form_->CBStageChange(3);
    StageData& st = form_->Rom().StageAt(3);

    prompts_.exportNames = {Path("s3.json")};
    Find<QAction>("ExportStageFile1")->trigger();
    Import(Path("s3.json"));
    EXPECT_EQ(prompts_.Messages().last(), Tr("StageFile", kStageFileSameText));
    EXPECT_FALSE(form_->Flags().AnyModified());

    // A changed 16x16 chip and map entry; an undo step beforehand.
    StageFileContent c = DecodeStageFile(ReadFile(Path("s3.json")).toStdString(), "s3.json");
    const Byte tile = ++c.chips16[5];
    const Byte mapSet = c.map[2] = static_cast<Byte>((c.map[2] + 1) % 32);
    WriteFile("s3.json", QByteArray::fromStdString(EncodeStageFile(c)));
    ASSERT_TRUE(st.SetMapEntry(0, static_cast<Byte>(st.Map()[0] ^ 1)));
    ASSERT_TRUE(st.SetMapEntry(0, static_cast<Byte>(st.Map()[0] ^ 1)));

    prompts_.yesNoAnswers = {false};
    Import(Path("s3.json"));
    EXPECT_EQ(prompts_.log.last(), "yesno:" + Tr("StageFile", kStageFileSharedQuestion).arg("02"));
    EXPECT_NE(st.Chip16x16Tiles()[5], tile);
    EXPECT_FALSE(form_->Flags().AnyModified());
    EXPECT_TRUE(st.CanUndo());

    prompts_.yesNoAnswers = {true};
    Import(Path("s3.json"));
    EXPECT_EQ(st.Chip16x16Tiles()[5], tile);
    EXPECT_EQ(form_->Rom().StageAt(2).Chip16x16Tiles()[5], tile);  // shared
    EXPECT_EQ(st.Map()[2], mapSet);
    for (int k = 0; k < kModifiedCategoryCount; ++k)
        for (int s = 0; s < kStageCount; ++s)
            EXPECT_EQ(form_->Flags().IsModified(static_cast<ModifiedCategory>(k), s),
                      s == 3 && (k == int(ModifiedCategory::Chip16x16) || k == int(ModifiedCategory::Map)))
                << k << " " << s;
    EXPECT_FALSE(st.CanUndo());
    EXPECT_FALSE(Find<QAction>("Undo1")->isEnabled());

    // A bad file: a message naming what, nothing changes.
    WriteFile("bad.json", "{\"format\": \"quorven-stage\", \"version\": 9}");
    Import(Path("bad.json"));
    EXPECT_EQ(prompts_.Messages().last(),
              Tr("StageFile", kStageFileRefusedText).arg("bad.json: version: 9 is not supported (only 1)"));
    EXPECT_EQ(st.Chip16x16Tiles()[5], tile);

    prompts_.exportNames = {Path("m.tmx")};
    Find<QAction>("ExportTiledMap1")->trigger();
    EXPECT_NE(ReadFile(Path("m.tmx")).indexOf("<layer id=\"1\" name=\"map\" width=\"384\" height=\"8\">"), -1);
    EXPECT_EQ(QImage(Path("m-chips32.png")).size(), QSize(512, 512));
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
