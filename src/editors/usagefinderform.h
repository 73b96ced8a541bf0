#pragma once
// The usage finder "使用箇所": a dialog beside the pages that lists every use of the chip, map set or object
// kind the active page had when the search was asked for, one row per use in table order. The list is made
// again whenever the stage changes; activating a row asks for that use to be shown on its page.

#include <QDialog>
#include <vector>

#include "document/usagesearch.h"

class QLabel;
class QListWidget;
class RomImageData;

// The page (PageIndex) a use lives on.
int UsagePage(UsePlace place);

class UsageFinderForm : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kObjectName = "UsageFinderForm";

    explicit UsageFinderForm(const RomImageData& rom, QWidget* parent = nullptr);

    // Looks for target in the current stage and shows the dialog.
    void Find(UsageTarget target);
    // Makes the list again from the current stage (nothing while no image is open).
    void Refresh();

    UsageTarget Target() const { return target_; }
    const std::vector<Usage>& Uses() const { return uses_; }
    QListWidget* List() const { return list_; }

    // The label's and the rows' texts.
    static QString TargetText(UsageTarget target, int count);
    static QString RowText(const Usage& use);

signals:
    // A row was double-clicked or entered.
    void GoTo(const Usage& use);

private:
    const RomImageData& rom_;
    UsageTarget target_;
    std::vector<Usage> uses_;
    QLabel* label_ = nullptr;
    QListWidget* list_ = nullptr;
};
