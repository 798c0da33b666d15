#include "pagerendering.h"

#include "pageencoders.h"

#include <QBuffer>
#include <QPdfDocument>

#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define FF_FLATTEN_SSE2 1
#endif

namespace {

// Over an opaque white backdrop, premultiplied source-over reduces to
// src + (255 - alpha) per channel, which is exact in 8 bits.
inline QRgb overWhite(QRgb premultiplied)
{
    const uint inverse = 255 - qAlpha(premultiplied);
    return qRgb(qRed(premultiplied) + inverse, qGreen(premultiplied) + inverse, qBlue(premultiplied) + inverse);
}

// overWhite(qPremultiply(pixel)) without branches: a page has many
// antialiased edges, where branching on alpha mispredicts. Exact for every
// alpha, 0 and 255 included; no channel carries into the next.
inline QRgb straightOverWhite(QRgb pixel)
{
    const uint alpha = qAlpha(pixel);
    uint redBlue = (pixel & 0xff00ff) * alpha;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    uint green = ((pixel >> 8) & 0xff) * alpha;
    green = (green + ((green >> 8) & 0xff) + 0x80) & 0xff00;
    const uint inverse = 255 - alpha;
    return 0xff000000 | (redBlue + inverse * 0x010001) | (green + (inverse << 8));
}

template<bool premultiplied> inline QRgb flattenPixel(QRgb pixel)
{
    if (!premultiplied)
        return straightOverWhite(pixel);
    const uint alpha = qAlpha(pixel);
    if (alpha == 255)
        return pixel;
    if (alpha == 0)
        return 0xffffffff;
    return overWhite(pixel);
}

#ifdef FF_FLATTEN_SSE2
// straightOverWhite() for four pixels, in 16-bit lanes: the same arithmetic,
// which never exceeds 16 bits (255 * 255 + 254 + 128 < 65536).
inline __m128i straightOverWhite4(__m128i pixels)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i all255 = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(0x80);
    const auto flattenTwo = [&](__m128i channels) {
        __m128i alpha = _mm_shufflelo_epi16(channels, _MM_SHUFFLE(3, 3, 3, 3));
        alpha = _mm_shufflehi_epi16(alpha, _MM_SHUFFLE(3, 3, 3, 3));
        __m128i product = _mm_mullo_epi16(channels, alpha);
        product = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(product, _mm_srli_epi16(product, 8)), half), 8);
        return _mm_add_epi16(product, _mm_sub_epi16(all255, alpha));
    };
    const __m128i low = flattenTwo(_mm_unpacklo_epi8(pixels, zero));
    const __m128i high = flattenTwo(_mm_unpackhi_epi8(pixels, zero));
    return _mm_or_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(int(0xff000000)));
}
#endif

template<bool premultiplied> void flattenPixels(QRgb *row, int width)
{
    // A page is long runs of fully transparent or fully opaque pixels: four
    // at a time are recognised with two 64-bit masks.
    constexpr quint64 alphas = 0xff000000ff000000;
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        quint64 pairs[2];
        std::memcpy(pairs, row + x, sizeof pairs);
        const quint64 first = pairs[0] & alphas;
        const quint64 second = pairs[1] & alphas;
        if ((first & second) == alphas)
            continue;
        if ((first | second) == 0) {
            std::memset(row + x, 0xff, 4 * sizeof(QRgb));
            continue;
        }
#ifdef FF_FLATTEN_SSE2
        if (!premultiplied) {
            auto *block = reinterpret_cast<__m128i *>(row + x);
            _mm_storeu_si128(block, straightOverWhite4(_mm_loadu_si128(block)));
            continue;
        }
#endif
        for (int i = x; i < x + 4; ++i)
            row[i] = flattenPixel<premultiplied>(row[i]);
    }
    for (; x < width; ++x)
        row[x] = flattenPixel<premultiplied>(row[x]);
}

} // namespace

bool isFlattenable(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

void flattenRowOntoWhite(QRgb *row, int width, QImage::Format format)
{
    if (format == QImage::Format_ARGB32)
        flattenPixels<false>(row, width);
    else if (format == QImage::Format_ARGB32_Premultiplied)
        flattenPixels<true>(row, width);
}

QImage flattenOntoWhite(QImage image)
{
    if (image.isNull())
        return {};
    // QtPdf hands out straight ARGB32; it is flattened in place rather than
    // converted first, which would cost a second page-sized buffer.
    if (!isFlattenable(image.format()))
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y)
        flattenRowOntoWhite(reinterpret_cast<QRgb *>(image.scanLine(y)), image.width(), image.format());
    // Every alpha is 255 now, so the same bytes are valid RGB32 without a copy.
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

QImage renderPage(QPdfDocument &document, int page, QSize size)
{
    if (size.isEmpty() || page < 0 || page >= document.pageCount())
        return {};
    return document.render(page, size);
}

QImage renderPageOnWhite(QPdfDocument &document, int page, QSize size)
{
    return flattenOntoWhite(renderPage(document, page, size));
}

QSize fitIntoBox(QSize pageSize, QSize box)
{
    if (pageSize.isEmpty())
        return {};
    QSize fitted = pageSize.scaled(box, Qt::KeepAspectRatio);
    return fitted.expandedTo(QSize(1, 1));
}

QByteArray encodeThumbnail(QImage image)
{
    QByteArray bytes;
    if (image.isNull())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!PageEncoders::writeJpeg(image, buffer).isEmpty())
        bytes.clear();
    return bytes;
}
