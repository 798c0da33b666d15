#include "jpegdecoder.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace JpegDecoder {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

// The smallest n/8 whose output still covers `atLeast`. Only n = 1, 2 and 4
// have SIMD inverse DCTs in libjpeg-turbo; the others run slower than a full
// decode.
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

bool decodeScaled(const QString &path, const QSize &atLeast, qint64 limitBytes, QImage &image)
{
#ifdef JCS_EXTENSIONS
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();

    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = ignoreMessage;
    // Only objects without destructors are created between here and a longjmp.
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()), (unsigned long)data.size());
    jpeg_read_header(&info, TRUE);
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
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
#else
    Q_UNUSED(path);
    Q_UNUSED(atLeast);
    Q_UNUSED(limitBytes);
    Q_UNUSED(image);
    return false;
#endif
}

} // namespace JpegDecoder
