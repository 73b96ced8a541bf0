#pragma once
// The application object: the general error report for exceptions that escape an event handler, and
// tool-tips that stay up for ten seconds.

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

private:
    void Report(const QString& text);
    UserPrompts* prompts_ = nullptr;
    int reported_ = 0;
    bool reporting_ = false;
};
