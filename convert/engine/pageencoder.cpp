#include "pageencoder.h"

#include "jpegerrors.h"
#include "sourceimageloader.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace PageEncoder {
namespace {

// RGB32 and ARGB32 are 0xAARRGGBB words: B, G, R, A in memory on little-endian machines.
constexpr J_COLOR_SPACE wordOrder = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

QSize uprightSize(const QSize &stored, QImageIOHandler::Transformations orientation)
{
    return orientation & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
}

// Rows [first, first + count) of `stored` turned upright by `orientation`
// (mirror, flip, then a quarter turn clockwise, as Qt's reader does), one
// after the other in `band`. A turned band reads short runs across the
// stored rows, so it stays in the cache.
template<typename Pixel>
void fillBand(const QImage &stored, QImageIOHandler::Transformations orientation, int first, int count, Pixel *band)
{
    const bool turn = orientation & QImageIOHandler::TransformationRotate90;
    const bool mirror = orientation & QImageIOHandler::TransformationMirror;
    const bool flip = orientation & QImageIOHandler::TransformationFlip;
    const int w = stored.width();
    const int h = stored.height();
    const int width = turn ? h : w;
    auto column = [&](int x) { return mirror ? w - 1 - x : x; };
    auto line = [&](int y) { return reinterpret_cast<const Pixel *>(stored.constScanLine(flip ? h - 1 - y : y)); };
    if (turn) {
        for (int u = 0; u < width; ++u) {
            const Pixel *row = line(h - 1 - u);
            for (int v = 0; v < count; ++v)
                band[qsizetype(v) * width + u] = row[column(first + v)];
        }
        return;
    }
    for (int v = 0; v < count; ++v) {
        const Pixel *row = line(first + v);
        for (int u = 0; u < width; ++u)
            band[qsizetype(v) * width + u] = row[column(u)];
    }
}

// Hands the rows to libjpeg as stored, or turned a band at a time: turning
// while compressing spares a turned copy of the page.
void writeRows(jpeg_compress_struct &info, const QImage &image, QImageIOHandler::Transformations orientation)
{
    if (orientation == QImageIOHandler::TransformationNone) {
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = const_cast<uchar *>(image.constScanLine(int(info.next_scanline)));
            jpeg_write_scanlines(&info, &row, 1);
        }
        return;
    }
    constexpr int bandRows = 16; // one row of 4:2:0 blocks
    const bool gray = image.format() == QImage::Format_Grayscale8;
    const qsizetype rowBytes = qsizetype(info.image_width) * (gray ? 1 : 4);
    // Kept by the thread: a jump out of libjpeg on an error skips destructors.
    thread_local std::vector<uchar> band;
    band.resize(size_t(rowBytes) * bandRows);
    JSAMPROW rows[bandRows];
    for (int i = 0; i < bandRows; ++i)
        rows[i] = band.data() + i * rowBytes;
    while (info.next_scanline < info.image_height) {
        const int first = int(info.next_scanline);
        const int count = std::min(bandRows, int(info.image_height) - first);
        if (gray)
            fillBand(image, orientation, first, count, band.data());
        else
            fillBand(image, orientation, first, count, reinterpret_cast<quint32 *>(band.data()));
        jpeg_write_scanlines(&info, rows, JDIMENSION(count));
    }
}

// `image` is Grayscale8, RGB32 or ARGB32 (its alpha ignored here).
QByteArray compress(const QImage &image, QImageIOHandler::Transformations orientation)
{
    const bool gray = image.format() == QImage::Format_Grayscale8;
    jpeg_compress_struct info;
    JpegErrors errors;
    errors.attach(info);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(uprightSize(image.size(), orientation).width());
    info.image_height = JDIMENSION(uprightSize(image.size(), orientation).height());
    info.input_components = gray ? 1 : 4;
    info.in_color_space = gray ? JCS_GRAYSCALE : wordOrder;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, jpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    writeRows(info, image, orientation);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray data(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return data;
}

// The alpha channel of an ARGB32 image as a zlib stream; empty when every pixel is opaque.
QByteArray alphaChannel(const QImage &image)
{
    QByteArray alpha(qsizetype(image.width()) * image.height(), Qt::Uninitialized);
    uchar *out = reinterpret_cast<uchar *>(alpha.data());
    bool opaque = true;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            *out = uchar(qAlpha(row[x]));
            opaque &= *out == 255;
            ++out;
        }
    }
    // qCompress puts the uncompressed length before the zlib stream.
    return opaque ? QByteArray() : qCompress(alpha).mid(4);
}

} // namespace

PageStream encode(const QImage &image, QImageIOHandler::Transformations orientation)
{
    PageStream page;
    page.readable = true;
    if (image.isNull())
        return page;
    // Alpha comes from sources decoded upright, so this is seldom taken.
    if (image.hasAlphaChannel() && orientation != QImageIOHandler::TransformationNone)
        return encode(SourceImageLoader::turnedUpright(image, orientation));
    QImage pixels = image;
    if (image.format() == QImage::Format_Grayscale16 || (image.isGrayscale() && !image.hasAlphaChannel()))
        pixels = image.convertToFormat(QImage::Format_Grayscale8);
    else if (image.hasAlphaChannel())
        pixels = image.convertToFormat(QImage::Format_ARGB32);
    else
        pixels = image.convertToFormat(QImage::Format_RGB32);
    page.dct = compress(pixels, orientation);
    if (page.dct.isEmpty())
        return page;
    page.size = uprightSize(pixels.size(), orientation);
    page.components = pixels.format() == QImage::Format_Grayscale8 ? 1 : 3;
    if (pixels.format() == QImage::Format_ARGB32)
        page.alpha = alphaChannel(pixels);
    return page;
}

PageStream embedJpeg(const QByteArray &file, const QSize &size, int components,
                     QImageIOHandler::Transformations orientation)
{
    PageStream page;
    page.readable = true;
    page.size = size;
    page.components = components;
    page.dct = file;
    page.orientation = orientation;
    return page;
}

} // namespace PageEncoder
