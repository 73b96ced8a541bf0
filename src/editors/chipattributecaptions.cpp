#include "editors/chipattributecaptions.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QWidget>

namespace {
constexpr int kItemCount = 16;

QList<QAbstractButton*> AttributeItems(QObject* root) {
    QList<QAbstractButton*> items;
    if (!root) return items;
    if (auto* group = root->findChild<QButtonGroup*>("RGChipPropertySelect")) {
        const QList<QAbstractButton*> inOrder = group->buttons();
        for (int k = 0; k < kItemCount; ++k) {
            QAbstractButton* b = group->button(k);
            if (!b) b = inOrder.value(k, nullptr);
            if (b) items << b;
        }
        return items;
    }
    QWidget* box = root->objectName() == "RGChipPropertySelect" && root->isWidgetType()
                       ? static_cast<QWidget*>(root)
                       : root->findChild<QWidget*>("RGChipPropertySelect");
    if (box) {
        for (QRadioButton* b : box->findChildren<QRadioButton*>()) {
            if (items.size() == kItemCount) break;
            items << b;
        }
    }
    return items;
}
}  // namespace

int ApplyChipAttributeCaptions(QObject* root, const QStringList& names) {
    const QList<QAbstractButton*> items = AttributeItems(root);
    int replaced = 0;
    for (int k = 0; k < items.size() && k < names.size(); ++k) {
        QString caption = names[k];
        items[k]->setText(caption.replace(QLatin1Char('&'), QLatin1String("&&")));  // no mnemonics
        ++replaced;
    }
    return replaced;
}
