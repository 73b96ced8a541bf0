#pragma once
// A UserPrompts for tests: records every text it is asked and answers from scripted queues.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "editors/userprompts.h"

class ScriptedPrompts : public UserPrompts {
public:
    // Everything asked, in order, prefixed with its kind: "message:", "yesno:", "ync:", "open", "save",
    // "input:", "error:", "export:" (caption|filter|suffix).
    QStringList log;
    std::deque<bool> yesNoAnswers;          // default when empty: true
    std::deque<Answer> yesNoCancelAnswers;  // default when empty: Cancel
    std::deque<QString> openNames;          // default when empty: "" (cancelled)
    std::deque<QString> saveNames;          // default when empty: "" (cancelled)
    std::deque<QString> inputAnswers;       // default when empty: cancelled
    std::deque<QString> exportNames;        // SaveFileNameFor; default when empty: "" (cancelled)
    std::deque<QString> importNames;        // OpenFileNameFor ("import:" caption|filter); default: cancelled
    // Drives a dialog run through RunDialog (fill its fields, press its buttons) and returns its result;
    // when empty the dialog is closed with Rejected, as the Cancel button would.
    std::function<int(QDialog&, const QString& name)> dialogHook;

    void Message(const QString& text) override { log << "message:" + text; }
    bool AskYesNo(const QString& text) override {
        log << "yesno:" + text;
        if (yesNoAnswers.empty()) return true;
        bool a = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return a;
    }
    Answer AskYesNoCancel(const QString& text) override {
        log << "ync:" + text;
        if (yesNoCancelAnswers.empty()) return Answer::Cancel;
        Answer a = yesNoCancelAnswers.front();
        yesNoCancelAnswers.pop_front();
        return a;
    }
    QString OpenFileName() override {
        log << "open";
        return Pop(openNames);
    }
    QString SaveFileName() override {
        log << "save";
        return Pop(saveNames);
    }
    QString SaveFileNameFor(const QString& caption, const QString& filter, const QString& suffix) override {
        log << "export:" + caption + "|" + filter + "|" + suffix;
        return Pop(exportNames);
    }
    QString OpenFileNameFor(const QString& caption, const QString& filter) override {
        log << "import:" + caption + "|" + filter;
        return Pop(importNames);
    }
    bool InputText(const QString& caption, const QString& prompt, QString& value) override {
        log << "input:" + caption + "|" + prompt;
        if (inputAnswers.empty()) return false;
        value = Pop(inputAnswers);
        return true;
    }
    void ErrorReport(const QString& text) override { log << "error:" + text; }
    int RunDialog(QDialog& dialog, const QString& name) override {
        log << "dialog:" + name;
        if (dialogHook) return dialogHook(dialog, name);
        dialog.setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }

    // Messages only (without the "message:" prefix).
    QStringList Messages() const {
        QStringList out;
        for (const QString& s : log)
            if (s.startsWith("message:")) out << s.mid(8);
        return out;
    }

private:
    static QString Pop(std::deque<QString>& q) {
        if (q.empty()) return QString();
        QString s = q.front();
        q.pop_front();
        return s;
    }
};
