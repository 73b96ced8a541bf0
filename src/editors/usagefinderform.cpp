#include "editors/usagefinderform.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <array>

#include "document/fileio.h"
#include "editors/pagecontroller.h"
#include "graphics/hextext.h"
#include "graphics/uitext.h"

namespace {

const std::array<const char*, 4> kQuarters = {
    QT_TRANSLATE_NOOP("UsageFinder", "左上"),
    QT_TRANSLATE_NOOP("UsageFinder", "右上"),
    QT_TRANSLATE_NOOP("UsageFinder", "左下"),
    QT_TRANSLATE_NOOP("UsageFinder", "右下"),
};

}  // namespace

int UsagePage(UsePlace place) {
    switch (place) {
    case UsePlace::Chip32Quarter: return kPage32x32Chip;
    case UsePlace::MapSetCell: return kPageMapSet;
    case UsePlace::Screen: return kPageMap;
    case UsePlace::Object: return kPageObject;
    }
    return kPageMap;
}

UsageFinderForm::UsageFinderForm(const RomImageData& rom, QWidget* parent) : QDialog(parent), rom_(rom) {
    setObjectName(kObjectName);
    setWindowTitle(Tr("UsageFinder", "使用箇所"));
    setModal(false);
    resize(280, 360);

    label_ = new QLabel(this);
    label_->setObjectName("LblUsageTarget");
    list_ = new QListWidget(this);
    list_->setObjectName("LstUsages");
    list_->setUniformItemSizes(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(list_, 1);

    // Double-click or Enter.
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        if (row < 0 || row >= static_cast<int>(uses_.size())) return;
        const Usage use = uses_[static_cast<std::size_t>(row)];  // the list may be made again on the way
        emit GoTo(use);
    });
}

QString UsageFinderForm::TargetText(UsageTarget target, int count) {
    QString what;
    switch (target.kind) {
    case UsageTargetKind::None: return QString();
    case UsageTargetKind::Chip16: what = Tr("UsageFinder", "16x16チップ %1"); break;
    case UsageTargetKind::Chip32: what = Tr("UsageFinder", "32x32チップ %1"); break;
    case UsageTargetKind::MapSet: what = Tr("UsageFinder", "マップセット %1"); break;
    case UsageTargetKind::ObjectKind: what = Tr("UsageFinder", "オブジェクト %1"); break;
    }
    what = what.arg(Hex2(target.number));
    return count == 0 ? Tr("UsageFinder", "%1: 使用されていません").arg(what)
                      : Tr("UsageFinder", "%1: %2箇所").arg(what).arg(count);
}

QString UsageFinderForm::RowText(const Usage& use) {
    switch (use.place) {
    case UsePlace::Chip32Quarter:
        return Tr("UsageFinder", "32x32チップ %1 %2").arg(Hex2(use.owner), Tr("UsageFinder", kQuarters[use.part & 3]));
    case UsePlace::MapSetCell:
        return Tr("UsageFinder", "マップセット %1 (%2,%3)").arg(Hex2(use.owner)).arg(use.part % 8).arg(use.part / 8);
    case UsePlace::Screen: return Tr("UsageFinder", "部屋番号 %1").arg(Hex2(use.owner));
    case UsePlace::Object:
        return Tr("UsageFinder", "部屋番号 %1  X:%2 Y:%3").arg(Hex2(use.owner), Hex2(use.x), Hex2(use.y));
    }
    return QString();
}

void UsageFinderForm::Find(UsageTarget target) {
    target_ = target;
    Refresh();
    show();
    raise();
    activateWindow();
}

void UsageFinderForm::Refresh() {
    const int keep = list_->currentRow();
    if (rom_.IsLoaded())
        FindUsages(rom_.StageAt(rom_.CurrentStage()), target_, uses_);
    else
        uses_.clear();
    label_->setText(rom_.IsLoaded() ? TargetText(target_, static_cast<int>(uses_.size())) : QString());
    const QSignalBlocker block(list_);
    list_->clear();
    for (const Usage& use : uses_) list_->addItem(RowText(use));
    if (keep >= 0 && keep < list_->count()) list_->setCurrentRow(keep);
}
