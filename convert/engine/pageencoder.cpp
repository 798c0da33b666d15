#include "pageencoder.h"

#include "jpegerrors.h"

#include <cstdlib>

namespace PageEncoder {
namespace {

// RGB32 and ARGB32 are 0xAARRGGBB words: B, G, R, A in memory on little-endian machines.
constexpr J_COLOR_SPACE wordOrder = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// `image` is Grayscale8, RGB32 or ARGB32 (its alpha ignored here).
QByteArray compress(const QImage &image)
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
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = gray ? 1 : 4;
    info.in_color_space = gray ? JCS_GRAYSCALE : wordOrder;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, jpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar *>(image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
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

PageStream encode(const QImage &image)
{
    PageStream page;
    page.readable = true;
    if (image.isNull())
        return page;
    QImage pixels = image;
    if (image.format() == QImage::Format_Grayscale16 || (image.isGrayscale() && !image.hasAlphaChannel()))
        pixels = image.convertToFormat(QImage::Format_Grayscale8);
    else if (image.hasAlphaChannel())
        pixels = image.convertToFormat(QImage::Format_ARGB32);
    else
        pixels = image.convertToFormat(QImage::Format_RGB32);
    page.dct = compress(pixels);
    if (page.dct.isEmpty())
        return page;
    page.size = pixels.size();
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
