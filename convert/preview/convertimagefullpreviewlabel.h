#pragma once

#include <QImage>
#include <QLabel>

// The picture of the preview window: reports wheel turns as zoom steps and
// mouse drags as pan gestures; the dialog does the rest. The picture is drawn
// at its shown size straight from the full-size image, and only where the
// window exposes it: no scaled copy exists at any zoom.
class ConvertImageFullPreviewLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ConvertImageFullPreviewLabel(QWidget *parent = nullptr);

    // Shows `picture` at `shownSize`, centred; a null picture shows the text.
    void setPicture(const QImage &picture, const QSize &shownSize);
    QSize shownSize() const { return shown; }

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
    void paintEvent(QPaintEvent *event) override;

private:
    QImage picture;
    QSize shown;
};
