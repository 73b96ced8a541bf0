#include "app/droppedimage.h"

#include <QMimeData>
#include <QUrl>

QString DroppedImage(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return QString();
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile()) return QString();
    const QString path = url.toLocalFile();
    return path.endsWith(".nes", Qt::CaseInsensitive) ? path : QString();
}
