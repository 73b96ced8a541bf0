#pragma once
// A UserPrompts for tests: records every text it is asked and answers from scripted queues.

#include <QString>
#include <QStringList>
#include <deque>

#include "userprompts.h"

class ScriptedPrompts : public UserPrompts {
public:
    // Everything asked, in order, prefixed with its kind: "message:", "yesno:", "ync:", "open", "save",
    // "input:", "error:".
    QStringList log;
    std::deque<bool> yesNoAnswers;              // default when empty: true
    std::deque<Answer> yesNoCancelAnswers;      // default when empty: Cancel
    std::deque<QString> openNames;              // default when empty: "" (cancelled)
    std::deque<QString> saveNames;              // default when empty: "" (cancelled)
    std::deque<QString> inputAnswers;           // default when empty: cancelled

    void Message(const QString& text) override { log << "message:" + text; }
    bool AskYesNo(const QString& text) override {
        log << "yesno:" + text;
        if (yesNoAnswers.empty()) return true;
        bool a = yesNoAnswers.front(); yesNoAnswers.pop_front(); return a;
    }
    Answer AskYesNoCancel(const QString& text) override {
        log << "ync:" + text;
        if (yesNoCancelAnswers.empty()) return Answer::Cancel;
        Answer a = yesNoCancelAnswers.front(); yesNoCancelAnswers.pop_front(); return a;
    }
    QString OpenFileName() override { log << "open"; return Pop(openNames); }
    QString SaveFileName() override { log << "save"; return Pop(saveNames); }
    bool InputText(const QString& caption, const QString& prompt, QString& value) override {
        log << "input:" + caption + "|" + prompt;
        if (inputAnswers.empty()) return false;
        value = Pop(inputAnswers); return true;
    }
    void ErrorReport(const QString& text) override { log << "error:" + text; }

    // Messages only (without the "message:" prefix).
    QStringList Messages() const {
        QStringList out;
        for (const QString& s : log) if (s.startsWith("message:")) out << s.mid(8);
        return out;
    }

private:
    static QString Pop(std::deque<QString>& q) {
        if (q.empty()) return QString();
        QString s = q.front(); q.pop_front(); return s;
    }
};
