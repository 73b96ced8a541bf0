#pragma once
// TImageEx: a fixed-size view that shows a picture at 1:1 and reports mouse press, move and leave in its
// own pixel coordinates. It lives with the editors (not the shell) because every controller draws into
// the views it is handed.

#include <QImage>
#include <QWidget>

class TImageEx : public QWidget {
    Q_OBJECT
public:
    // Creates the view with a picture of width x height (RGB32, black) and a fixed size of the same.
    TImageEx(const QString& objectName, int width, int height, QWidget* parent = nullptr, int tag = 0);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    // The picture shown; draw into it, then call update() (or Changed()).
    QImage& Picture() { return picture_; }
    const QImage& Picture() const { return picture_; }
    void Changed() { update(); }

signals:
    void MousePressed(TImageEx* view, Qt::MouseButton button, bool shift, bool ctrl, int x, int y);
    void MouseMoved(TImageEx* view, Qt::MouseButtons held, bool shift, bool ctrl, int x, int y);
    void MouseLeft(TImageEx* view);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    QImage picture_;
    int tag_ = 0;
};
