#pragma once
// The list dialog of the chip usage checks: a caption, a message line and a fixed-pitch list of numbers.
// One instance exists per main window (Shared); the check buttons of the 16x16 chip, 32x32 chip and map set
// pages fill it and show it modally. The "OK" button is hidden except for the duplicate-chip replacement.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TShowUnusedChipNumForm : public QDialog {
public:
    static constexpr int kClientWidth = 339;
    static constexpr int kClientHeight = 298;
    static constexpr const char* kInitialCaption = QT_TRANSLATE_NOOP("UsageList", "未使用チップ番号");
    static constexpr const char* kInitialMessage = QT_TRANSLATE_NOOP("UsageList", "未使用チップ番号は");

    explicit TShowUnusedChipNumForm(QWidget* parent = nullptr);

    // The one dialog of the window that owner belongs to, created as a child of that window the first
    // time it is asked for.
    static TShowUnusedChipNumForm* Shared(QWidget* owner);

    // Sets the caption (unless null) and the message line and puts text into the list, replacing it.
    void Fill(const QString& caption, const QString& message, const QString& text);
    // Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
    int ShowModal();

    // The list exactly as it was put in (lines end with CR LF).
    const QString& ListText() const { return listText_; }
    QString Message() const;
    QPlainTextEdit* Memo() const { return memo_; }
    QPushButton* ReplaceButton() const { return replaceButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

    // Called when "OK" is pressed, before the dialog closes with the result Accepted.
    void SetReplaceHandler(std::function<void()> handler) { replaceHandler_ = std::move(handler); }
    // Tests: called by ShowModal instead of running the modal loop; its return value is the result.
    void SetExecHook(std::function<int(TShowUnusedChipNumForm&)> hook) { execHook_ = std::move(hook); }

private:
    QLabel* message_;
    QPlainTextEdit* memo_;
    QPushButton* replaceButton_;
    QPushButton* cancelButton_;
    QString listText_;
    std::function<void()> replaceHandler_;
    std::function<int(TShowUnusedChipNumForm&)> execHook_;
};

// The numbers 0 to 255 that no byte of table holds, as the list shows them: per group of 16 numbers one line
// of the missing ones in ascending order, each as two upper-case hex digits and a space, every line followed
// by CR LF; groups without a missing number give no line, so a table that holds every number gives "".
QString UnusedNumberList(const std::uint8_t* table, int size);
