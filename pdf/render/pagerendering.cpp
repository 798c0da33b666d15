#include "pagerendering.h"

#include <QPdfDocument>

namespace {

// Over an opaque white backdrop, premultiplied source-over reduces to
// src + (255 - alpha) per channel, which is exact in 8 bits.
inline QRgb overWhite(QRgb premultiplied)
{
    const uint inverse = 255 - qAlpha(premultiplied);
    return qRgb(qRed(premultiplied) + inverse, qGreen(premultiplied) + inverse, qBlue(premultiplied) + inverse);
}

template<bool premultiplied> void flattenRows(QImage &image)
{
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // Fully transparent and opaque pixels, nearly all of a page, are cheap.
            const uint alpha = qAlpha(row[x]);
            if (alpha == 0)
                row[x] = 0xffffffff;
            else if (alpha != 255)
                row[x] = overWhite(premultiplied ? row[x] : qPremultiply(row[x]));
        }
    }
}

} // namespace

QImage flattenOntoWhite(QImage image)
{
    if (image.isNull())
        return {};
    // QtPdf hands out straight ARGB32; it is flattened in place rather than
    // converted first, which would cost a second page-sized buffer.
    if (image.format() == QImage::Format_ARGB32) {
        flattenRows<false>(image);
    } else {
        if (image.format() != QImage::Format_ARGB32_Premultiplied)
            image.convertTo(QImage::Format_ARGB32_Premultiplied);
        flattenRows<true>(image);
    }
    // Every alpha is 255 now, so the same bytes are valid RGB32 without a copy.
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

QImage renderPageOnWhite(QPdfDocument &document, int page, QSize size)
{
    if (size.isEmpty() || page < 0 || page >= document.pageCount())
        return {};
    return flattenOntoWhite(document.render(page, size));
}

QSize fitIntoBox(QSize pageSize, QSize box)
{
    if (pageSize.isEmpty())
        return {};
    QSize fitted = pageSize.scaled(box, Qt::KeepAspectRatio);
    return fitted.expandedTo(QSize(1, 1));
}
