// The File menu's export submenu in the real main window: patches of the open image with unsaved edits on
// several stages, and the map picture compared with the map page's own views.

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QScrollBar>

#include "document/patch.h"
#include "graphics/stagepicture.h"
#include "pagebench.h"

namespace {

class ExportMenuTest : public pagebench::PageBench {
protected:
    pagebench::BenchOptions Options() const override {
        pagebench::BenchOptions o;
        o.pages = {kPageMap};
        return o;
    }
    static std::vector<std::uint8_t> Bytes(const QByteArray& a) {
        return std::vector<std::uint8_t>(a.begin(), a.end());
    }
};

TEST_F(ExportMenuTest, SubmenuOfTheFileMenuEnabledWhileAnImageIsOpen) {
    auto* menu = Find<QMenu>("Export1");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->menuAction()->text(), QString::fromUtf8("エクスポート(&E)"));
    EXPECT_TRUE(Find<QMenu>("File1")->actions().contains(menu->menuAction()));
    EXPECT_EQ(Find<QAction>("ExportIpsPatch1")->text(), QString::fromUtf8("IPSパッチを作成..."));
    EXPECT_EQ(Find<QAction>("ExportBpsPatch1")->text(), QString::fromUtf8("BPSパッチを作成..."));
    EXPECT_EQ(Find<QAction>("ExportPicture1")->text(), QString::fromUtf8("画像として保存..."));
    EXPECT_TRUE(menu->menuAction()->isEnabled());
    form_->Close1Click();
    EXPECT_FALSE(menu->menuAction()->isEnabled());
}

TEST_F(ExportMenuTest, PatchesTurnTheOpenedImageIntoTheEditedOneAndLeaveTheDocumentAlone) {
    const std::vector<std::uint8_t> opened = BuildDemoRom();
    for (int stage : {0, 5, 13}) {
        StageData& st = form_->Rom().StageAt(stage);
        ASSERT_TRUE(st.SetMapEntry(7, static_cast<Byte>((st.Map()[7] + 3) % 32)));
        form_->Flags().SetModified(ModifiedCategory::Map, stage, true);
        ASSERT_TRUE(st.SetPaletteByte(5, static_cast<Byte>((st.BGPalette(0)[5] + 1) & 0x3F)));
        form_->Flags().SetModified(ModifiedCategory::Palette, stage, true);
    }
    prompts_.exportNames = {Path("edits.ips"), Path("edits.bps")};
    Find<QAction>("ExportIpsPatch1")->trigger();
    Find<QAction>("ExportBpsPatch1")->trigger();
    ASSERT_EQ(prompts_.log.size(), 2);
    EXPECT_EQ(prompts_.log[0], QString::fromUtf8("export:IPSパッチを作成|IPSパッチ (*.ips)|ips"));
    EXPECT_EQ(prompts_.log[1], QString::fromUtf8("export:BPSパッチを作成|BPSパッチ (*.bps)|bps"));
    // Still unsaved: the flags stay, nothing was written to the image file.
    EXPECT_TRUE(form_->Flags().AnyModified());
    const std::vector<std::uint8_t> saved = Bytes(SaveAs());
    ASSERT_EQ(saved.size(), opened.size());
    EXPECT_NE(saved, opened);
    EXPECT_EQ(patchfile::ApplyPatch(opened, Bytes(ReadFile(Path("edits.ips")))), saved);
    EXPECT_EQ(patchfile::ApplyPatch(opened, Bytes(ReadFile(Path("edits.bps")))), saved);

    // Cancelling the dialog writes nothing.
    const QStringList before = QDir(Path(".")).entryList(QDir::Files | QDir::Hidden);
    Find<QAction>("ExportIpsPatch1")->trigger();
    Find<QAction>("ExportPicture1")->trigger();
    EXPECT_EQ(QDir(Path(".")).entryList(QDir::Files | QDir::Hidden), before);
    EXPECT_TRUE(prompts_.log.last().startsWith("export:"));
}

TEST_F(ExportMenuTest, MapPictureIsTheMapPagesViewsSideBySide) {
    SelectTab(kPageMap);
    for (int left : {0, 20, 46}) {
        Find<QScrollBar>("ScrBarMap")->setValue(left);
        QApplication::processEvents();
        const QString path = Path(QString("map%1.png").arg(left));
        prompts_.exportNames = {path};
        Find<QAction>("ExportPicture1")->trigger();
        const QImage picture = QImage(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(picture.size(), QSize(48 * 256, 256));
        for (int side = 0; side < 2; ++side) {
            const QImage view =
                View(QString("ImgEditMapPage%1").arg(side))->Picture().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(view.size(), QSize(256, 256));
            EXPECT_EQ(picture.copy(256 * (left + side), 0, 256, 256), view) << "screen " << left + side;
        }
    }
}

TEST_F(ExportMenuTest, PicturesDrawFromTheBankTheChipPageHasLoaded) {
    SelectTab(kPage16x16Chip);
    const int stage = form_->Rom().CurrentStage();
    auto exported = [&](const QString& name) {
        prompts_.exportNames = {Path(name)};
        Find<QAction>("ExportPicture1")->trigger();
        return QImage(Path(name)).convertToFormat(QImage::Format_RGB32);
    };
    auto rendered = [&](int loadPoint, int scroll) {
        StagePictureOptions options;
        options.loadPoint = loadPoint;
        options.scroll = scroll;
        return RenderStagePicture(form_->Rom(), form_->Palette(), stage, StagePictureKind::Chip16Sheet, options)
            .convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(exported("start.png"), rendered(0, 0));
    // Another load point and scroll number on the chip page: the sheet there, and the picture, change.
    Find<QComboBox>("CBSelectBGloadPoint")->setCurrentIndex(2);
    Find<QScrollBar>("ScrBarSelectScrollIndex")->setValue(3);
    QApplication::processEvents();
    ASSERT_NE(rendered(2, 3), rendered(0, 0)) << "the demo image loads other tiles there";
    EXPECT_EQ(exported("mid.png"), rendered(2, 3));
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv);
}
