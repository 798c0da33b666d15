#include "pageencoders.h"
#include "pageencodertext.h"
#include "pagerendering.h"

#include <QIODevice>

#include <webp/encode.h>

namespace PageEncoders {
namespace {

// Method 4 is libwebp's (and so Qt's) default; 2 encodes pages twice as fast,
// at the same quality setting, for files some 2 % larger.
constexpr int webpMethod = 2;

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

QString writeWebp(QImage &image, QIODevice &device)
{
    // libwebp takes the page at once, so it is flattened at once.
    for (int y = 0; y < image.height(); ++y)
        flattenRowOntoWhite(rowOf(image, y), image.width(), image.format());
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
