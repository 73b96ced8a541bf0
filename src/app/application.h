#pragma once
// The application object: the general error report for exceptions that escape an event handler, and
// tool-tips that stay up for ten seconds, and the toolkit's Japanese translation.

#include <QApplication>

class UserPrompts;

class TQuorvenApplication : public QApplication {
public:
    static constexpr int kToolTipMilliseconds = 10000;

    TQuorvenApplication(int& argc, char** argv);

    // Where escaped exceptions are reported; without prompts they are written to stderr.
    void SetPrompts(UserPrompts* prompts) { prompts_ = prompts; }
    // How many exceptions were reported so far.
    int ReportedErrors() const { return reported_; }

    bool notify(QObject* receiver, QEvent* event) override;
    // Whether the toolkit's own Japanese texts (standard dialogs, message-box buttons) were found.
    bool ToolkitTranslated() const { return toolkitTranslated_; }

private:
    bool LoadToolkitTranslation();
    bool toolkitTranslated_ = false;
    void Report(const QString& text);
    UserPrompts* prompts_ = nullptr;
    int reported_ = 0;
    bool reporting_ = false;
};
