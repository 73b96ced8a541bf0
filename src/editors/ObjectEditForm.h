#pragma once
// TObjectEditForm: the small dialog that shows the objects of one screen as text, one object per line
// ("X Y kind" in hexadecimal), and lets the user rewrite the whole list at once.

#include <QDialog>
#include <QString>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// One object as read from a line of the list text.
struct ObjectListLine {
    int x = 0;
    int y = 0;
    int kind = 0;
};

class TObjectEditForm : public QDialog {
public:
    explicit TObjectEditForm(QWidget* parent = nullptr);

    // The text box, with lines ended by CR LF (or LF, or CR).
    void SetListText(const QString& text);
    // The text box's text, every line ended by CR LF except the last.
    QString ListText() const;

    QPlainTextEdit* Memo() const { return memo_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // Reads a list text: one object per line, the first three tokens (separated by blanks and tabs, runs of
    // separators counting as one) are X, Y and kind in hexadecimal, of which only the low eight bits count;
    // the rest of the line is ignored. A line with fewer than three tokens, or whose first three tokens
    // are not all hexadecimal numbers, gives nothing.
    static std::vector<ObjectListLine> ParseListText(const QString& text);
    // One token as a hexadecimal number (what "$" followed by the token reads as): any number of digits,
    // leading zeros included, whose value fits in 32 bits.
    static bool ParseHexToken(const QString& token, unsigned& value);

private:
    QLabel* label_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
