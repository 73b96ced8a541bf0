#include "editors/ObjectEditForm.h"

#include <cstdint>

#include "graphics/hextext.h"
#include "graphics/uitext.h"

#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Splits a text into its lines at CR LF, LF or CR.
QStringList SplitLines(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar(u'\r'), QChar(u'\n'));
    return t.split(QChar(u'\n'));
}

}  // namespace

TObjectEditForm::TObjectEditForm(QWidget* parent) : QDialog(parent) {
    setObjectName("ObjectEditForm");
    setFixedSize(268, 301);
    setModal(true);

    label_ = new QLabel(Tr("ObjectListDialog", "\"X座標 Y座標 種類\"を1列に記述して下さい"), this);
    label_->setObjectName("Label1");
    label_->move(16, 8);
    label_->adjustSize();

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("MemoObjectEdit");
    memo_->setGeometry(16, 32, 241, 201);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    ok_ = new QPushButton(Tr("ObjectListDialog", "OK"), this);
    ok_->setObjectName("BtnOK");
    ok_->setGeometry(96, 256, 75, 25);
    ok_->setDefault(false);
    ok_->setAutoDefault(false);
    cancel_ = new QPushButton(Tr("ObjectListDialog", "キャンセル"), this);
    cancel_->setObjectName("BtnCancel");
    cancel_->setGeometry(184, 256, 75, 25);
    cancel_->setAutoDefault(false);

    connect(ok_, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(cancel_, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

void TObjectEditForm::SetListText(const QString& text) {
    memo_->setPlainText(SplitLines(text).join(u'\n'));
}

QString TObjectEditForm::ListText() const {
    return SplitLines(memo_->toPlainText()).join(QStringLiteral("\r\n"));
}

bool TObjectEditForm::ParseHexToken(const QString& token, unsigned& value) {
    if (token.isEmpty()) return false;
    std::uint64_t v = 0;
    for (QChar ch : token) {
        const int d = HexDigitValue(ch);
        if (d < 0) return false;
        v = v * 16 + unsigned(d);
        if (v > 0xFFFFFFFFu) return false;  // past 32 bits; leading zeros never get here
    }
    value = unsigned(v);
    return true;
}

std::vector<ObjectListLine> TObjectEditForm::ParseListText(const QString& text) {
    std::vector<ObjectListLine> out;
    for (const QString& line : SplitLines(text)) {
        unsigned values[3] = {0, 0, 0};
        int count = 0;
        int i = 0;
        const int n = int(line.size());
        while (count < 3) {
            while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
            if (i >= n) break;
            const int start = i;
            while (i < n && line[i] != u' ' && line[i] != u'\t') ++i;
            if (!ParseHexToken(line.mid(start, i - start), values[count])) break;
            ++count;
        }
        if (count == 3)
            out.push_back(ObjectListLine{int(values[0] & 0xFF), int(values[1] & 0xFF), int(values[2] & 0xFF)});
    }
    return out;
}
