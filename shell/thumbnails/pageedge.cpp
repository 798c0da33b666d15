#include "pageedge.h"

#include <QImage>
#include <QPainter>

void drawPageEdge(QImage &image)
{
    QPainter painter(&image);
    painter.setPen(QColor(0, 0, 0, 64));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
}
