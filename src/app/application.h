#pragma once
// The application object: the general error report for exceptions that escape an event handler, and
// tool-tips that stay up for ten seconds, and the translations of the interface language.

#include <QApplication>

#include "app/language.h"

class UserPrompts;

class TQuorvenApplication : public QApplication {
public:
    static constexpr int kToolTipMilliseconds = 10000;

    // Installs the translations of language (language.h): Japanese, the default, speaks through the
    // toolkit's own Japanese texts whatever the system locale; English through the program's English texts.
    TQuorvenApplication(int& argc, char** argv, language::Language language = language::Language::Japanese);

    // Where escaped exceptions are reported; without prompts they are written to stderr.
    void SetPrompts(UserPrompts* prompts) { prompts_ = prompts; }
    // How many exceptions were reported so far.
    int ReportedErrors() const { return reported_; }

    bool notify(QObject* receiver, QEvent* event) override;
    // Whether the language's translation was found: the toolkit's own Japanese texts (standard dialogs,
    // message-box buttons), or the program's English texts.
    bool ToolkitTranslated() const { return toolkitTranslated_; }

private:
    bool toolkitTranslated_ = false;
    void Report(const QString& text);
    UserPrompts* prompts_ = nullptr;
    int reported_ = 0;
    bool reporting_ = false;
};
