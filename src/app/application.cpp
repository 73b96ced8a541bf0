#include "application.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>
#include <cstdio>
#include <exception>

#include "fileerror.h"
#include "userprompts.h"

TQuorvenApplication::TQuorvenApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("QUORVEN EDITOR");
    setApplicationDisplayName("QUORVEN EDITOR");
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
        Report(QStringLiteral("Unknown error"));
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
    } catch (...) {
    }
    reporting_ = false;
}
