#include "pageencoders.h"
#include "pageencodertext.h"
#include "pagerendering.h"

#include <QIODevice>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace PageEncoders {
namespace {

// libjpeg reports failures through error_exit, which must not return.
struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void jpegFailed(j_common_ptr info)
{
    auto *errors = reinterpret_cast<JpegErrors *>(info->err);
    errors->base.format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void ignoreJpegMessage(j_common_ptr) {}

struct JpegDestination {
    jpeg_destination_mgr base;
    QIODevice *device;
    bool failed;
    JOCTET buffer[64 * 1024];
};

void startJpegOutput(j_compress_ptr info)
{
    auto *destination = reinterpret_cast<JpegDestination *>(info->dest);
    destination->base.next_output_byte = destination->buffer;
    destination->base.free_in_buffer = sizeof destination->buffer;
}

void flushJpegOutput(j_compress_ptr info, size_t length)
{
    auto *destination = reinterpret_cast<JpegDestination *>(info->dest);
    const auto size = qint64(length);
    if (destination->device->write(reinterpret_cast<const char *>(destination->buffer), size) != size) {
        destination->failed = true;
        ERREXIT(info, JERR_FILE_WRITE);
    }
}

boolean writeFullJpegBuffer(j_compress_ptr info)
{
    auto *destination = reinterpret_cast<JpegDestination *>(info->dest);
    flushJpegOutput(info, sizeof destination->buffer);
    startJpegOutput(info);
    return TRUE;
}

void finishJpegOutput(j_compress_ptr info)
{
    auto *destination = reinterpret_cast<JpegDestination *>(info->dest);
    flushJpegOutput(info, sizeof destination->buffer - destination->base.free_in_buffer);
}

// The JFIF density as Qt's JPEG writer stores it: in dots per inch unless
// dots per centimetre come out closer to whole numbers.
void setJpegDensity(jpeg_compress_struct &info, const QImage &page)
{
    const double xInch = page.dotsPerMeterX() * 2.54 / 100;
    const double yInch = page.dotsPerMeterY() * 2.54 / 100;
    const double xCm = page.dotsPerMeterX() / 100.;
    const double yCm = page.dotsPerMeterY() / 100.;
    const double inchError = qAbs(xInch - qRound(xInch)) + qAbs(yInch - qRound(yInch));
    const double cmError = (qAbs(xCm - qRound(xCm)) + qAbs(yCm - qRound(yCm))) * 2.54;
    if (inchError < cmError) {
        info.density_unit = 1;
        info.X_density = UINT16(qRound(xInch));
        info.Y_density = UINT16(qRound(yInch));
    } else {
        info.density_unit = 2;
        info.X_density = UINT16((page.dotsPerMeterX() + 50) / 100);
        info.Y_density = UINT16((page.dotsPerMeterY() + 50) / 100);
    }
}

// Rows go to libjpeg as they are in memory where it reads Qt's RGB32 itself.
#if defined(JCS_EXTENSIONS) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE jpegInput = JCS_EXT_BGRX;
#elif defined(JCS_EXTENSIONS)
constexpr J_COLOR_SPACE jpegInput = JCS_EXT_XRGB;
#else
constexpr J_COLOR_SPACE jpegInput = JCS_RGB;
#endif

// Encodes rows [info.next_scanline, height) of a flattenable page.
void writeJpegRows(jpeg_compress_struct &info, QImage &page, std::vector<uchar> &packed)
{
    const int width = page.width();
    while (info.next_scanline < info.image_height) {
        QRgb *row = rowOf(page, int(info.next_scanline));
        flattenRowOntoWhite(row, width, page.format());
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row)};
        if (jpegInput == JCS_RGB) {
            uchar *target = packed.data();
            for (int x = 0; x < width; ++x) {
                *target++ = uchar(qRed(row[x]));
                *target++ = uchar(qGreen(row[x]));
                *target++ = uchar(qBlue(row[x]));
            }
            rows[0] = packed.data();
        }
        jpeg_write_scanlines(&info, rows, 1);
    }
}

} // namespace

QString writeJpeg(QImage &image, QIODevice &device)
{
    jpeg_compress_struct info;
    JpegErrors errors;
    JpegDestination destination;
    std::vector<uchar> packed(jpegInput == JCS_RGB ? size_t(image.width()) * 3 : 0);
    destination.device = &device;
    destination.failed = false;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jpegFailed;
    errors.base.output_message = ignoreJpegMessage;
    // Nothing with a destructor is created between here and a longjmp.
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return destination.failed ? device.errorString() : QString::fromLocal8Bit(errors.message);
    }
    jpeg_create_compress(&info);
    destination.base.init_destination = startJpegOutput;
    destination.base.empty_output_buffer = writeFullJpegBuffer;
    destination.base.term_destination = finishJpegOutput;
    info.dest = &destination.base;
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = jpegInput == JCS_RGB ? 3 : 4;
    info.in_color_space = jpegInput;
    jpeg_set_defaults(&info);
    setJpegDensity(info, image);
    jpeg_set_quality(&info, defaultQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    writeJpegRows(info, image, packed);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return {};
}

} // namespace PageEncoders
