#include "jpegdecoder.h"

#include "jpegerrors.h"

#include <cstdlib>

namespace JpegDecoder {
namespace {

// Reads the header of `data` into `info`, keeping the ICC profile's markers.
void start(jpeg_decompress_struct &info, const QByteArray &data)
{
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()), (unsigned long)data.size());
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);
}

QColorSpace embeddedColorSpace(jpeg_decompress_struct &info)
{
    JOCTET *profile = nullptr;
    unsigned int length = 0;
    if (!jpeg_read_icc_profile(&info, &profile, &length))
        return {};
    const QByteArray icc(reinterpret_cast<const char *>(profile), qsizetype(length));
    std::free(profile);
    return QColorSpace::fromIccProfile(icc);
}

// The smallest n/8 whose output still covers `atLeast`, n = 1, 2 or 4. Other
// numerators decode faster too, but their pages differ visibly from a whole
// decode shrunk the same way (below 40 dB on grainy photos).
unsigned int scaleNumerator(const QSize &stored, const QSize &atLeast)
{
    for (unsigned int n = 1; n < 8; n *= 2) {
        const qint64 w = (qint64(stored.width()) * n + 7) / 8;
        const qint64 h = (qint64(stored.height()) * n + 7) / 8;
        if (w >= atLeast.width() && h >= atLeast.height())
            return n;
    }
    return 8;
}

} // namespace

bool readHeader(const QByteArray &data, Header *header)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    errors.attach(info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    start(info, data);
    header->size = QSize(int(info.image_width), int(info.image_height));
    header->components = info.num_components;
    header->plain = info.data_precision == 8 && !info.arith_code &&
                    ((info.jpeg_color_space == JCS_YCbCr && info.num_components == 3) ||
                     (info.jpeg_color_space == JCS_GRAYSCALE && info.num_components == 1));
    header->colorSpace = embeddedColorSpace(info);
    jpeg_destroy_decompress(&info);
    return true;
}

QSize decodedSize(const QSize &stored, const QSize &atLeast)
{
    const unsigned int n = scaleNumerator(stored, atLeast);
    return QSize(int((qint64(stored.width()) * n + 7) / 8), int((qint64(stored.height()) * n + 7) / 8));
}

bool decodeScaled(const QByteArray &data, const QSize &atLeast, qint64 limitBytes, QImage &image)
{
#ifdef JCS_EXTENSIONS
    jpeg_decompress_struct info;
    JpegErrors errors;
    errors.attach(info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    start(info, data);
    const bool gray = info.jpeg_color_space == JCS_GRAYSCALE;
    if (!gray && info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB) {
        jpeg_destroy_decompress(&info); // CMYK and the like: Qt's reader knows them
        return false;
    }
    info.out_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGRX; // BGRX in memory is Qt's RGB32
    info.scale_num = scaleNumerator(QSize(int(info.image_width), int(info.image_height)), atLeast);
    info.scale_denom = 8;
    jpeg_calc_output_dimensions(&info);
    const qint64 bytes = qint64(info.output_width) * info.output_height * (gray ? 1 : 4);
    const QSize size(int(info.output_width), int(info.output_height));
    const QImage::Format format = gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    if (bytes > limitBytes) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (image.size() != size || image.format() != format || !image.isDetached())
        image = QImage(size, format);
    if (image.isNull())
        std::longjmp(errors.jump, 1);
    image.setColorSpace(embeddedColorSpace(info));
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
#else
    Q_UNUSED(data);
    Q_UNUSED(atLeast);
    Q_UNUSED(limitBytes);
    Q_UNUSED(image);
    return false;
#endif
}

} // namespace JpegDecoder
