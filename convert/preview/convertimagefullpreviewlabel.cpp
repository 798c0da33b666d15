#include "convertimagefullpreviewlabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

ConvertImageFullPreviewLabel::ConvertImageFullPreviewLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
}

void ConvertImageFullPreviewLabel::wheelEvent(QWheelEvent *event)
{
    const long degreesX = std::lround(event->angleDelta().x() / 8.0);
    const long degreesY = std::lround(event->angleDelta().y() / 8.0);
    if (degreesX == 0 && degreesY == 0)
        return;
    if (degreesY > 0)
        emit needToResizeImage(1);
    else if (degreesY < 0)
        emit needToResizeImage(-1);
    event->accept();
}

void ConvertImageFullPreviewLabel::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    emit startDragImage(event->globalPosition().toPoint());
}

void ConvertImageFullPreviewLabel::mouseReleaseEvent(QMouseEvent *)
{
    emit endDragImage();
}

void ConvertImageFullPreviewLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event->globalPosition().toPoint(), event->position().toPoint());
}

void ConvertImageFullPreviewLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    emit mouseLeave();
}

// The keyboard zooms as the wheel does.
void ConvertImageFullPreviewLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        emit needToResizeImage(1);
        break;
    case Qt::Key_Minus:
        emit needToResizeImage(-1);
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ConvertImageFullPreviewLabel::setPicture(const QImage &image, const QSize &shownSize)
{
    picture = image;
    shown = image.isNull() ? QSize() : shownSize;
    update();
}

void ConvertImageFullPreviewLabel::paintEvent(QPaintEvent *event)
{
    if (picture.isNull() || shown.isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
    const QRect exposed = event->rect() & target;
    if (exposed.isEmpty())
        return;
    // The exposed part of the shown picture, in the picture's own pixels.
    const double scaleX = double(picture.width()) / shown.width();
    const double scaleY = double(picture.height()) / shown.height();
    const QRectF source((exposed.x() - target.x()) * scaleX, (exposed.y() - target.y()) * scaleY,
                        exposed.width() * scaleX, exposed.height() * scaleY);
    QPainter painter(this);
    painter.drawImage(QRectF(exposed), picture, source);
}
