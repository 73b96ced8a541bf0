#pragma once
// Every modal interaction goes through this interface: production code shows real dialogs, tests hand in
// a scripted implementation that records what was asked and returns scripted answers.

#include <QString>

class QDialog;

class UserPrompts {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~UserPrompts() = default;

    // Notice with an OK button, caption "QUORVEN EDITOR".
    virtual void Message(const QString& text) = 0;
    // Yes/No with a question icon (reload confirmations).
    virtual bool AskYesNo(const QString& text) = 0;
    // Yes/No/Cancel, no icon (the unsaved-changes prompt). Closing the box counts as Cancel.
    virtual Answer AskYesNoCancel(const QString& text) = 0;
    // OpenDialog1: returns the chosen path, or an empty string when cancelled.
    virtual QString OpenFileName() = 0;
    // SaveDialog1: returns the chosen path (with ".nes" added when the name has no extension), or empty.
    virtual QString SaveFileName() = 0;
    // A save dialog for the files the program exports (patches, pictures): its caption, one name filter, and
    // the extension added when the typed name has none; asks before replacing a file. Returns the chosen
    // path, or an empty string when cancelled. The default answers as a cancel would.
    virtual QString SaveFileNameFor(const QString& caption, const QString& filter, const QString& suffix) {
        (void)caption;
        (void)filter;
        (void)suffix;
        return QString();
    }
    // An open dialog for the files the program imports (stage files): its caption and one name filter.
    // Returns the chosen path, or an empty string when cancelled. The default answers as a cancel would.
    virtual QString OpenFileNameFor(const QString& caption, const QString& filter) {
        (void)caption;
        (void)filter;
        return QString();
    }
    // A text input box; returns false when cancelled.
    virtual bool InputText(const QString& caption, const QString& prompt, QString& value) = 0;
    // The general error report for an exception that escaped an event handler.
    virtual void ErrorReport(const QString& text) = 0;
    // Runs one of the program's own modal dialogs (the list dialog, the map set grid dialog, the object list
    // dialog), already filled, and returns its result (QDialog::Accepted or Rejected). name says which
    // dialog it is (its objectName), for the record of tests.
    virtual int RunDialog(QDialog& dialog, const QString& name) = 0;
};
