#include "pageencoders.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QImage>
#include <QImageWriter>

#include <spng.h>
#include <webp/encode.h>

#include <memory>
#include <vector>

// The translation context of the messages below.
class PageEncoderText
{
    Q_DECLARE_TR_FUNCTIONS(PageEncoderText)
};

namespace {

// Qt's JPEG and WEBP writers both fall back to 75 when no quality is given.
constexpr int defaultQuality = 75;

// zlib level 2 with the Sub filter alone encodes rendered pages about five
// times faster than Qt's PNG writer (libpng defaults), for files some 12 %
// larger; letting the encoder pick among filters costs a quarter more time
// for a third of that size gain.
constexpr int pngCompressionLevel = 2;
constexpr int pngFilters = SPNG_FILTER_CHOICE_SUB;

// Method 4 is libwebp's (and so Qt's) default; 2 encodes pages twice as fast,
// at the same quality setting, for files some 2 % larger.
constexpr int webpMethod = 2;

int writeToDevice(spng_ctx *, void *user, void *data, size_t length)
{
    auto *device = static_cast<QIODevice *>(user);
    const auto size = static_cast<qint64>(length);
    return device->write(static_cast<const char *>(data), size) == size ? 0 : SPNG_IO_ERROR;
}

void toRgb888(const QRgb *source, int width, uchar *target)
{
    for (int x = 0; x < width; ++x) {
        *target++ = uchar(qRed(source[x]));
        *target++ = uchar(qGreen(source[x]));
        *target++ = uchar(qBlue(source[x]));
    }
}

QString spngError(int code, QIODevice &device)
{
    if (code == SPNG_IO_ERROR && !device.errorString().isEmpty())
        return device.errorString();
    return QString::fromUtf8(spng_strerror(code));
}

struct SpngFree {
    void operator()(spng_ctx *context) const { spng_ctx_free(context); }
};

int webpWriteToDevice(const uint8_t *data, size_t length, const WebPPicture *picture)
{
    auto *device = static_cast<QIODevice *>(picture->custom_ptr);
    const auto size = static_cast<qint64>(length);
    return device->write(reinterpret_cast<const char *>(data), size) == size ? 1 : 0;
}

bool importPixels(const QImage &image, WebPPicture &picture)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    return WebPPictureImportBGRX(&picture, image.constBits(), int(image.bytesPerLine()));
#else
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return WebPPictureImportRGB(&picture, rgb.constBits(), int(rgb.bytesPerLine()));
#endif
}

QString webpError(WebPEncodingError code, QIODevice &device)
{
    switch (code) {
    case VP8_ENC_ERROR_OUT_OF_MEMORY:
    case VP8_ENC_ERROR_BITSTREAM_OUT_OF_MEMORY:
        return PageEncoderText::tr("Not enough memory to encode the image");
    case VP8_ENC_ERROR_BAD_DIMENSION:
        return PageEncoderText::tr("The image is too large for the WEBP format");
    case VP8_ENC_ERROR_BAD_WRITE:
        return device.errorString();
    default:
        return PageEncoderText::tr("The WEBP encoder failed (error %1)").arg(int(code));
    }
}

} // namespace

namespace PageEncoders {

QString writePng(const QImage &image, QIODevice &device)
{
    std::unique_ptr<spng_ctx, SpngFree> context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context)
        return PageEncoderText::tr("Not enough memory to encode the image");
    spng_ctx *ctx = context.get();
    spng_set_png_stream(ctx, writeToDevice, &device);
    spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, pngCompressionLevel);
    spng_set_option(ctx, SPNG_FILTER_CHOICE, pngFilters);
    spng_ihdr header{};
    header.width = uint32_t(image.width());
    header.height = uint32_t(image.height());
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    if (int error = spng_set_ihdr(ctx, &header))
        return spngError(error, device);
    int error = spng_encode_image(ctx, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    const int width = image.width();
    std::vector<uchar> row(size_t(width) * 3);
    for (int y = 0; y < image.height() && error == 0; ++y) {
        toRgb888(reinterpret_cast<const QRgb *>(image.constScanLine(y)), width, row.data());
        error = spng_encode_row(ctx, row.data(), row.size());
    }
    // The last row answers "end of image" once the file is complete.
    return error == SPNG_EOI ? QString() : spngError(error, device);
}

QString writeJpeg(const QImage &image, QIODevice &device)
{
    QImageWriter writer(&device, "jpeg");
    writer.setQuality(defaultQuality);
    if (!writer.write(image))
        return writer.errorString();
    return {};
}

QString writeWebp(const QImage &image, QIODevice &device)
{
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture))
        return PageEncoderText::tr("The WEBP encoder is not usable");
    config.quality = defaultQuality;
    config.method = webpMethod;
    picture.width = image.width();
    picture.height = image.height();
    picture.writer = webpWriteToDevice;
    picture.custom_ptr = &device;
    QString error;
    if (!importPixels(image, picture))
        error = PageEncoderText::tr("Not enough memory to encode the image");
    else if (!WebPEncode(&config, &picture))
        error = webpError(picture.error_code, device);
    WebPPictureFree(&picture);
    return error;
}

} // namespace PageEncoders
