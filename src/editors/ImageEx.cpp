#include "editors/ImageEx.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {
// The picture pixel under the pointer. On a scaled screen (200%, 300%) one picture pixel covers several
// screen pixels and the pointer's position has a fraction: the pixel is the one it lies in, not the nearest
// pixel corner.
QPoint PixelAt(const QPointF& p) {
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}
}  // namespace

TImageEx::TImageEx(const QString& objectName, int width, int height, QWidget* parent, int tag)
    : QWidget(parent), picture_(qMax(1, width), qMax(1, height), QImage::Format_RGB32), tag_(tag) {
    setObjectName(objectName);
    picture_.fill(Qt::black);
    setFixedSize(picture_.size());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageEx::paintEvent(QPaintEvent*) {
    // Drawn pixel for pixel; on a scaled screen each pixel becomes a block (no smoothing, no blur).
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(0, 0, picture_);
}

void TImageEx::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = PixelAt(e->position());
    const Qt::KeyboardModifiers m = e->modifiers();
    emit MousePressed(this, e->button(), m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier), pos.x(),
                      pos.y());
}

void TImageEx::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = PixelAt(e->position());
    const Qt::KeyboardModifiers m = e->modifiers();
    emit MouseMoved(this, e->buttons(), m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier), pos.x(),
                    pos.y());
}

void TImageEx::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    emit MouseLeft(this);
}
