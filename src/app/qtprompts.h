#pragma once
// The production UserPrompts: real message boxes, file dialogs and the text input box.

#include <QPointer>
#include <QWidget>

#include "userprompts.h"

class QtPrompts : public UserPrompts {
public:
    static constexpr const char* kCaption = "QUORVEN EDITOR";
    static constexpr const char* kRomFilter = "QUORVEN ROMイメージ (*.nes)";
    static constexpr const char* kAllFilter = "すべてのファイル (*.*)";

    // The window the boxes are centred on; may change once the main window exists.
    void SetParentWidget(QWidget* parent) { parent_ = parent; }

    void Message(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    Answer AskYesNoCancel(const QString& text) override;
    QString OpenFileName() override;
    QString SaveFileName() override;
    bool InputText(const QString& caption, const QString& prompt, QString& value) override;
    void ErrorReport(const QString& text) override;

private:
    QPointer<QWidget> parent_;
};
