#pragma once

#include <QSize>

class QPainter;
class QRandomGenerator;

namespace SoftShapes {
// Paints `count` round shapes that fade out at their edges, of random colour,
// anywhere in `area`, with radii from minRadius to minRadius + radiusRange:
// what makes a generated picture compress like a photo. The same generator
// state paints the same shapes.
void paint(QPainter &painter, QRandomGenerator &random, QSize area, int count, int minRadius, int radiusRange);
} // namespace SoftShapes
