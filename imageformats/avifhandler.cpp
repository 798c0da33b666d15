#include "avifhandler.h"

#include "cicpcolorspace.h"

#include <QColorSpace>
#include <QImageReader>
#include <QThread>
#include <QTransform>
#include <QVariant>

#include <avif/avif.h>

void AvifHandler::DecoderDeleter::operator()(avifDecoder *decoder) const
{
    avifDecoderDestroy(decoder);
}

AvifHandler::AvifHandler() = default;
AvifHandler::~AvifHandler() = default;

bool AvifHandler::parse()
{
    if (m_state != State::Unparsed)
        return m_state == State::Parsed;
    m_state = State::Failed;
    if (!device() || formatOf(device()) != "avif")
        return false;
    // Compressed data larger than the decoded-size limit can only be an image over it.
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0 && device()->size() - device()->pos() > limit)
        return false;
    const qint64 start = device()->pos();
    m_data = device()->readAll();
    device()->seek(start); // for libheif, should libavif refuse the file
    m_decoder.reset(avifDecoderCreate());
    if (!m_decoder)
        return false;
    m_decoder->maxThreads = QThread::idealThreadCount();
    m_decoder->ignoreExif = AVIF_TRUE;
    m_decoder->ignoreXMP = AVIF_TRUE;
    // Encoders in the wild leave out boxes the standard asks for; libheif reads such files, so must we.
    m_decoder->strictFlags = AVIF_STRICT_DISABLED;
    if (avifDecoderSetIOMemory(m_decoder.get(), reinterpret_cast<const uint8_t *>(m_data.constData()),
                               size_t(m_data.size())) != AVIF_RESULT_OK ||
        avifDecoderParse(m_decoder.get()) != AVIF_RESULT_OK)
        return false;
    m_state = State::Parsed;
    return true;
}

QImage::Format AvifHandler::imageFormat() const
{
    const avifImage *image = m_decoder->image;
    const bool alpha = image->alphaPlane != nullptr || m_decoder->alphaPresent;
    if (image->depth > 8)
        return alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64;
    return alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888;
}

QSize AvifHandler::uprightSize() const
{
    const avifImage *image = m_decoder->image;
    const QSize stored(int(image->width), int(image->height));
    const bool turned = (image->transformFlags & AVIF_TRANSFORM_IROT) && (image->irot.angle & 1);
    return turned ? stored.transposed() : stored;
}

bool AvifHandler::read(QImage *image)
{
    if (!parse())
        return false;
    const avifImage *source = m_decoder->image;
    QImage result;
    // Refuses, before any decoding, what would exceed the reader's allocation limit.
    if (!allocateImage(QSize(int(source->width), int(source->height)), imageFormat(), &result) ||
        avifDecoderNextImage(m_decoder.get()) != AVIF_RESULT_OK)
        return false;
    source = m_decoder->image;
    if (int(source->width) != result.width() || int(source->height) != result.height())
        return false;
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, source);
    rgb.format = AVIF_RGB_FORMAT_RGBA;
    rgb.depth = result.depth() == 64 ? 16 : 8;
    rgb.pixels = result.bits();
    rgb.rowBytes = uint32_t(result.bytesPerLine());
    if (avifImageYUVToRGB(source, &rgb) != AVIF_RESULT_OK)
        return false;
    if (source->icc.size > 0)
        result.setColorSpace(QColorSpace::fromIccProfile(
            QByteArray(reinterpret_cast<const char *>(source->icc.data), qsizetype(source->icc.size))));
    else
        result.setColorSpace(colorSpaceFromCicp(source->colorPrimaries, source->transferCharacteristics));
    // The container's rotation (anticlockwise) comes before its mirroring.
    if (source->transformFlags & AVIF_TRANSFORM_IROT && source->irot.angle != 0)
        result = result.transformed(QTransform().rotate(-90.0 * source->irot.angle));
    if (source->transformFlags & AVIF_TRANSFORM_IMIR)
        result = result.mirrored(source->imir.mode == 1, source->imir.mode == 0);
    *image = result;
    return true;
}

QVariant AvifHandler::option(ImageOption option) const
{
    // libavif refuses to parse pictures over its pixel limit, where libheif
    // still reads the size that lets the program say how large the file is.
    if ((option != Size && option != ImageFormat) || !const_cast<AvifHandler *>(this)->parse())
        return HeifHandler::option(option);
    if (option == ImageFormat)
        return imageFormat();
    return uprightSize();
}
