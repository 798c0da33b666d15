#include "kivcolorwidget.h"

#include "shelldialogs.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

KivColorWidget::KivColorWidget(QWidget *parent)
    : QWidget(parent)
{
}

void KivColorWidget::setColor(const QColor &color)
{
    swatchColor = color;
    update();
}

void KivColorWidget::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), swatchColor);
        painter.setPen(Qt::gray);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }
    QWidget::paintEvent(event);
}

void KivColorWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QColor chosen = ShellDialogs::getColor(swatchColor, nullptr, QString());
    if (!chosen.isValid())
        return;
    emit colorUpdated(chosen);
    setColor(chosen);
}
