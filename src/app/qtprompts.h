#pragma once
// The production UserPrompts: real message boxes, file dialogs and the text input box.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "editors/userprompts.h"

class QtPrompts : public UserPrompts {
public:
    static constexpr const char* kCaption = "QUORVEN EDITOR";
    static constexpr const char* kRomFilter = QT_TRANSLATE_NOOP("FileDialog", "QUORVEN ROMイメージ (*.nes)");
    static constexpr const char* kAllFilter = QT_TRANSLATE_NOOP("FileDialog", "すべてのファイル (*.*)");

    // The window the boxes are centred on; may change once the main window exists.
    void SetParentWidget(QWidget* parent) { parent_ = parent; }
    // The image the file dialogs start from (its folder, its name filled in); empty: the dialog's default.
    void SetStartPathSource(std::function<QString()> source) { startPath_ = std::move(source); }

    void Message(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    Answer AskYesNoCancel(const QString& text) override;
    QString OpenFileName() override;
    QString SaveFileName() override;
    QString SaveFileNameFor(const QString& caption, const QString& filter, const QString& suffix) override;
    QString OpenFileNameFor(const QString& caption, const QString& filter) override;
    bool InputText(const QString& caption, const QString& prompt, QString& value) override;
    void ErrorReport(const QString& text) override;
    int RunDialog(QDialog& dialog, const QString& name) override;

private:
    QString StartPath() const { return startPath_ ? startPath_() : QString(); }
    QPointer<QWidget> parent_;
    std::function<QString()> startPath_;
};
