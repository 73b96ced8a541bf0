#include "app/imagedrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

QString DroppedImage(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return QString();
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile()) return QString();
    const QString path = url.toLocalFile();
    return path.endsWith(QLatin1String(".nes"), Qt::CaseInsensitive) ? path : QString();
}

QString AcceptImageDrop(QDropEvent* event, bool canOpen) {
    const QString path = canOpen ? DroppedImage(event->mimeData()) : QString();
    if (path.isEmpty()) {
        event->ignore();
        return QString();
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return path;
}
