#include "editors/showUnusedChipNumForm.h"
#include "graphics/uitext.h"

#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>

namespace {
constexpr const char* kObjectName = "ShowUnusedChipNumForm";
}

TShowUnusedChipNumForm::TShowUnusedChipNumForm(QWidget* parent) : QDialog(parent) {
    setObjectName(kObjectName);
    setWindowTitle(Tr("UsageList", kInitialCaption));
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    message_ = new QLabel(Tr("UsageList", kInitialMessage), this);
    message_->setObjectName("LblMessage");
    message_->setGeometry(9, 8, 321, 20);

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("MemoUnusedChipNum");
    memo_->setGeometry(9, 32, 321, 225);
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A fixed-pitch font small enough that a line of 16 numbers fits the box.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFamilies(
        {QString::fromUtf8("ＭＳ ゴシック"), "IPAGothic", "DejaVu Sans Mono", "Noto Mono", fixed.family()});
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    fixed.setPixelSize(12);
    memo_->setFont(fixed);

    replaceButton_ = new QPushButton(Tr("UsageList", "OK"), this);
    replaceButton_->setObjectName("BtnReplaceMapSetChips");
    replaceButton_->setGeometry(160, 265, 80, 25);
    replaceButton_->setVisible(false);

    cancelButton_ = new QPushButton(Tr("UsageList", "キャンセル"), this);
    cancelButton_->setObjectName("BtnCancel");
    cancelButton_->setGeometry(250, 265, 80, 25);

    connect(replaceButton_, &QPushButton::clicked, this, [this] {
        if (replaceHandler_) replaceHandler_();
        accept();
    });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

TShowUnusedChipNumForm* TShowUnusedChipNumForm::Shared(QWidget* owner) {
    if (!owner) return nullptr;
    QWidget* window = owner->window();
    for (QObject* child : window->children()) {
        if (auto* form = dynamic_cast<TShowUnusedChipNumForm*>(child)) return form;
    }
    return new TShowUnusedChipNumForm(window);
}

void TShowUnusedChipNumForm::Fill(const QString& caption, const QString& message, const QString& text) {
    if (!caption.isNull()) setWindowTitle(caption);
    message_->setText(message);
    listText_ = text;
    // The text box keeps its lines with plain line feeds.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    memo_->setPlainText(shown);
}

QString TShowUnusedChipNumForm::Message() const {
    return message_->text();
}

int TShowUnusedChipNumForm::ShowModal() {
    if (execHook_) return execHook_(*this);
    return exec();
}

QString UnusedNumberList(const std::uint8_t* table, int size) {
    std::array<bool, 256> used{};
    for (int i = 0; table && i < size; ++i) used[table[i]] = true;
    QString text;
    for (int g = 0; g < 16; ++g) {
        QString line;
        for (int n = 16 * g; n < 16 * g + 16; ++n)
            if (!used[n]) line += QString::asprintf("%02X ", n);
        if (!line.isEmpty()) text += line + QLatin1String("\r\n");
    }
    return text;
}
