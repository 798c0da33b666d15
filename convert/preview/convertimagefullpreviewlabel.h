#pragma once

#include <QLabel>

// The picture of the preview window: reports wheel turns as zoom steps and
// mouse drags as pan gestures; the dialog does the rest.
class ConvertImageFullPreviewLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ConvertImageFullPreviewLabel(QWidget *parent = nullptr);

signals:
    void needToResizeImage(int step);
    void startDragImage(QPoint starPos);
    void endDragImage();
    void mouseMove(QPoint globalPoint, QPoint localPoint);
    void mouseLeave();

protected:
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
