#include "app/application.h"

#include <QHelpEvent>
#include <QIcon>
#include <QToolTip>
#include <QWidget>
#include <cstdio>
#include <exception>

#include "document/fileerror.h"
#include "editors/userprompts.h"
#include "graphics/uitext.h"

TQuorvenApplication::TQuorvenApplication(int& argc, char** argv, language::Language language)
    : QApplication(argc, argv) {
    // The name only: a display name would be appended to the caption of every window and dialog
    // ("未使用16x16チップ番号 — QUORVEN EDITOR"), and every caption is exactly its own text.
    setApplicationName("QUORVEN EDITOR");
    // The icon of every window, and the desktop entry the window system matches the windows with.
    QIcon icon;
    for (const char* file : {":/icons/quorven-editor-48.png", ":/icons/quorven-editor-256.png"}) icon.addFile(file);
    setWindowIcon(icon);
    setDesktopFileName("quorven-editor");
    toolkitTranslated_ = language::Install(*this, language);
}

bool TQuorvenApplication::notify(QObject* receiver, QEvent* event) {
    try {
        if (event->type() == QEvent::ToolTip && receiver->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(receiver);
            if (!widget->toolTip().isEmpty()) {
                auto* help = static_cast<QHelpEvent*>(event);
                QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), kToolTipMilliseconds);
                return true;
            }
        }
        return QApplication::notify(receiver, event);
    } catch (const FileError& e) {
        Report(QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        Report(QString::fromUtf8(e.what()));
    } catch (...) {
        Report(Tr("Application", "Unknown error"));
    }
    return false;
}

void TQuorvenApplication::Report(const QString& text) {
    ++reported_;
    // A report shown while another is up (its box runs an event loop) goes to stderr instead of stacking.
    if (!prompts_ || reporting_) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return;
    }
    reporting_ = true;
    try {
        prompts_->ErrorReport(text);
    } catch (...) {}
    reporting_ = false;
}
