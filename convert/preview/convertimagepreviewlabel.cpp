#include "convertimagepreviewlabel.h"

#include "theme.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

ConvertImagePreviewLabel::ConvertImagePreviewLabel(QWidget *parent)
    : QLabel(parent)
{
    // Reachable by keyboard: Enter or Space opens the full preview.
    setFocusPolicy(Qt::StrongFocus);
}

void ConvertImagePreviewLabel::setHasImage(bool shown)
{
    imageShown = shown;
    update();
}

void ConvertImagePreviewLabel::paintEvent(QPaintEvent *event)
{
    // In a short window the label gives way to the settings above it; the
    // picture then shrinks with it rather than being cut.
    const QPixmap picture = pixmap();
    const QRect area = contentsRect();
    if (picture.isNull() || (picture.width() <= area.width() && picture.height() <= area.height())) {
        QLabel::paintEvent(event);
    } else {
        QFrame::paintEvent(event);
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSize size = picture.size().scaled(area.size(), Qt::KeepAspectRatio);
        painter.drawPixmap(
            QRect(area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                  size),
            picture);
    }
    QPainter painter(this);
    if (imageShown)
        painter.drawPixmap(width() - 34, 10, QPixmap(Theme::imagePath(QStringLiteral("FitToSize24.png"))));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ConvertImagePreviewLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLabel::mouseDoubleClickEvent(event);
    emit mouseDoubleClick();
}

void ConvertImagePreviewLabel::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    if (pos.y() >= 11 && pos.y() <= 33 && pos.x() > width() - 34 && pos.x() < width() - 10)
        emit mouseDoubleClick();
}

void ConvertImagePreviewLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        emit mouseDoubleClick();
        return;
    }
    QLabel::keyPressEvent(event);
}
