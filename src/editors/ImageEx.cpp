#include "ImageEx.h"

#include <QMouseEvent>
#include <QPainter>

TImageEx::TImageEx(const QString& objectName, int width, int height, QWidget* parent, int tag)
    : QWidget(parent), picture_(qMax(1, width), qMax(1, height), QImage::Format_RGB32), tag_(tag) {
    setObjectName(objectName);
    picture_.fill(Qt::black);
    setFixedSize(picture_.size());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageEx::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

void TImageEx::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const Qt::KeyboardModifiers m = e->modifiers();
    emit MousePressed(this, e->button(), m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier),
                      pos.x(), pos.y());
}

void TImageEx::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const Qt::KeyboardModifiers m = e->modifiers();
    emit MouseMoved(this, e->buttons(), m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier),
                    pos.x(), pos.y());
}

void TImageEx::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    emit MouseLeft(this);
}
