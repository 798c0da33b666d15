#include "imagescaling.h"

namespace ImageScaling {

QSize scaledSize(const QSize &size, const ConvertSettings &s)
{
    if (!s.scaleImage)
        return size;
    const qint64 w = size.width();
    const qint64 h = size.height();
    switch (s.scaleType) {
    case 0:
        return QSize(int(w * s.scalePercentage / 100), int(h * s.scalePercentage / 100));
    case 1:
        return QSize(s.scaleAbsoluteWitdh, s.scaleAbsoluteHeight);
    case 2:
        if (s.scaleRelativeTo == 0) {
            const double r = s.scaleRelativeWidth;
            if (w == 0 || r == 0)
                return QSize(int(r), 0);
            return QSize(int(r), int(w > r ? h / (w / r) : r / w * h));
        } else {
            const double r = s.scaleRelativeHeight;
            if (h == 0 || r == 0)
                return QSize(0, int(r));
            return QSize(int(h > r ? w / (h / r) : r / h * w), int(r));
        }
    default:
        return size;
    }
}

QSize pageFitSize(const QSize &size, const QSize &printable, bool growToFit)
{
    float w = float(size.width());
    float h = float(size.height());
    if (w <= 0 || h <= 0 || printable.width() <= 0 || printable.height() <= 0)
        return size;
    const float u = w / float(printable.width());
    const float v = h / float(printable.height());
    if (u >= 1 || v >= 1) {
        const float f = u > v ? u : v;
        w /= f;
        h /= f;
    } else if (growToFit) {
        const float c = float(printable.width()) / w;
        const float d = float(printable.height()) / h;
        const float f = c < d ? c : d;
        w *= f;
        h *= f;
    }
    return QSize(int(w), int(h));
}

} // namespace ImageScaling
