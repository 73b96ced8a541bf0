#include "editors/documentwatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>

#include "document/fileio.h"

DocumentWatcher::DocumentWatcher(const RomImageData& rom, QObject* parent) : QObject(parent), rom_(rom) {
    last_.Take(rom_);
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

DocumentWatcher::~DocumentWatcher() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void DocumentWatcher::Check() {
    pending_ = false;
    StageSnapshot now;
    now.Take(rom_);
    const StageChange change = last_.Compare(now);
    last_ = std::move(now);
    if (change.Any()) emit StageChanged(change);
}

void DocumentWatcher::CheckSoon() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (pending_) Check();
    });
}

bool DocumentWatcher::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Drop: CheckSoon(); break;
    case QEvent::MouseMove:
        // Drags edit (objects, map bytes); a bare hover edits nothing.
        if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) CheckSoon();
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}
