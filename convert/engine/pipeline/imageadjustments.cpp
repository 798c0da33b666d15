#include "imageadjustments.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>

// The blur behind QGraphicsBlurEffect, exported by QtWidgets. It works on a
// QImage alone, so workers can run it (the effect itself needs a QPixmap).
void qt_blurImage(QPainter *painter, QImage &blurImage, qreal radius, bool quality, bool alphaOnly, int transposed = 0);

namespace {

int clampChannel(float value)
{
    return int(std::clamp(value, 0.0f, 255.0f));
}

// Runs `map(r, g, b)` over every pixel of an opaque 32-bit copy; alpha bytes stay.
template<typename Map> QImage mapRgb(const QImage &image, Map map)
{
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            int r = qRed(p), g = qGreen(p), b = qBlue(p);
            map(r, g, b);
            line[x] = qRgba(r, g, b, qAlpha(p));
        }
    }
    return out;
}

QImage sepia(const QImage &image)
{
    return mapRgb(image, [](int &r, int &g, int &b) {
        const float nr = float(0.393 * r + 0.769 * g + 0.189 * b);
        const float ng = float(0.349 * r + 0.686 * g + 0.168 * b);
        const float nb = float(0.272 * r + 0.534 * g + 0.131 * b);
        r = clampChannel(nr);
        g = clampChannel(ng);
        b = clampChannel(nb);
    });
}

QImage contrast(const QImage &image, int v)
{
    if (v == 0)
        return image.convertToFormat(QImage::Format_RGB32);
    int d = 66045 - 255 * v;
    if (d == 0)
        d = 65790 - 255 * v;
    const float f = 259.0f * float(v + 255) / float(d);
    std::array<quint8, 256> table;
    for (int c = 0; c < 256; ++c)
        table[c] = quint8(clampChannel((float(c) - 128.0f) * f + 128.0f));
    return mapRgb(image, [&table](int &r, int &g, int &b) {
        r = table[r];
        g = table[g];
        b = table[b];
    });
}

QImage brightness(const QImage &image, int v)
{
    return mapRgb(image, [v](int &r, int &g, int &b) {
        r = std::clamp(r + v, 0, 255);
        g = std::clamp(g + v, 0, 255);
        b = std::clamp(b + v, 0, 255);
    });
}

QImage gamma(const QImage &image, int v)
{
    if (v + 101 <= 0)
        return image;
    const float g = float(v + 101) / 100.0f;
    std::array<quint8, 256> table;
    for (int i = 0; i < 256; ++i)
        table[i] = quint8(std::clamp(int(std::pow(float(i) / 255.0f, 1.0f / g) * 255.0f), 0, 255));
    return mapRgb(image, [&table](int &r, int &g, int &b) {
        r = table[r];
        g = table[g];
        b = table[b];
    });
}

QImage invert(const QImage &image, int v)
{
    return mapRgb(image, [v](int &r, int &g, int &b) {
        r = r < v ? 255 - r : r;
        g = g < v ? 255 - g : g;
        b = b < v ? 255 - b : b;
    });
}

// Looks as the graphics-view blur effect did: the effect blurs 2.5 times its
// radius, fading the picture into a transparent margin at its edges.
QImage gaussianBlur(const QImage &image, int radius)
{
    if (radius <= 0)
        return image;
    QImage out(image.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    if (radius <= 1) {
        painter.drawImage(0, 0, image);
        painter.end();
        return out;
    }
    const qreal blurRadius = 2.5 * radius;
    const int margin = qCeil(blurRadius + 1);
    QImage padded(image.width() + 2 * margin, image.height() + 2 * margin, QImage::Format_ARGB32_Premultiplied);
    padded.fill(Qt::transparent);
    {
        QPainter pad(&padded);
        pad.drawImage(margin, margin, image);
    }
    painter.translate(-margin, -margin);
    qt_blurImage(&painter, padded, blurRadius, false, false);
    painter.end();
    return out;
}

} // namespace

QImage applyAdjustment(const QImage &image, int kind, int value)
{
    switch (kind) {
    case AdjustmentRule::Grayscale:
        return image.convertToFormat(QImage::Format_Grayscale8);
    case AdjustmentRule::Sepia:
        return sepia(image);
    case AdjustmentRule::Contrast:
        return contrast(image, value);
    case AdjustmentRule::Brightness:
        return value == 0 ? image.convertToFormat(QImage::Format_RGB32) : brightness(image, value);
    case AdjustmentRule::Gamma:
        return gamma(image, value);
    case AdjustmentRule::InvertColors:
        return value == 0 ? image.convertToFormat(QImage::Format_RGB32) : invert(image, value);
    case AdjustmentRule::GaussianBlur:
        return gaussianBlur(image, value);
    default:
        return image;
    }
}

QImage applyAdjustments(const QImage &image, const QList<AdjustmentRule> &rules)
{
    QImage working = image;
    for (const AdjustmentRule &rule : rules)
        working = applyAdjustment(working, rule.ruleIndex, rule.value());
    return working;
}
