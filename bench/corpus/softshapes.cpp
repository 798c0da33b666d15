#include "softshapes.h"

#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>

void SoftShapes::paint(QPainter &painter, QRandomGenerator &random, QSize area, int count, int minRadius,
                       int radiusRange)
{
    for (int i = 0; i < count; ++i) {
        const QPointF centre(random.bounded(area.width()), random.bounded(area.height()));
        const double radius = minRadius + random.bounded(radiusRange);
        QRadialGradient blob(centre, radius);
        const QColor colour = QColor::fromHsv(random.bounded(360), random.bounded(256), random.bounded(256));
        blob.setColorAt(0, colour);
        blob.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
        painter.setBrush(blob);
        painter.drawEllipse(centre, radius, radius);
    }
}
