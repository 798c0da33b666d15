#include "jxlhandler.h"

#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QVariant>

#include <jxl/decode.h>
#include <jxl/encode.h>
#include <jxl/resizable_parallel_runner.h>

#include <cmath>
#include <memory>

namespace {

using DecoderPtr = std::unique_ptr<JxlDecoder, void (*)(JxlDecoder *)>;
using EncoderPtr = std::unique_ptr<JxlEncoder, void (*)(JxlEncoder *)>;
using RunnerPtr = std::unique_ptr<void, void (*)(void *)>;

struct Layout {
    QImage::Format format = QImage::Format_Invalid;
    JxlPixelFormat pixels{};
};

// The image format a decoded frame lands in: grey stays grey, more than 8 bits
// keep 16, and alpha stays as the file stores it (premultiplied or not).
Layout layoutOf(const JxlBasicInfo &info)
{
    const bool deep = info.bits_per_sample > 8;
    const bool alpha = info.alpha_bits > 0;
    const bool premultiplied = alpha && info.alpha_premultiplied;
    Layout layout;
    layout.pixels = {4, deep ? JXL_TYPE_UINT16 : JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    if (info.num_color_channels == 1 && !alpha) {
        layout.pixels.num_channels = 1;
        layout.format = deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8;
    } else if (alpha && deep) {
        layout.format = premultiplied ? QImage::Format_RGBA64_Premultiplied : QImage::Format_RGBA64;
    } else if (alpha) {
        layout.format = premultiplied ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBA8888;
    } else if (deep) {
        layout.format = QImage::Format_RGBX64;
    } else {
        layout.pixels.num_channels = 3;
        layout.format = QImage::Format_RGB888;
    }
    return layout;
}

QSize orientedSize(const JxlBasicInfo &info)
{
    const bool transposed = info.orientation >= JXL_ORIENT_TRANSPOSE;
    return transposed ? QSize(int(info.ysize), int(info.xsize)) : QSize(int(info.xsize), int(info.ysize));
}

// Asks for sRGB pixels where libjxl converts for free (images stored in its own
// colour space), and describes whatever the pixels end up in.
QColorSpace takeColorSpace(JxlDecoder *decoder, const JxlBasicInfo &info)
{
    const bool grey = info.num_color_channels == 1;
    if (!info.uses_original_profile) {
        JxlColorEncoding srgb;
        JxlColorEncodingSetToSRGB(&srgb, grey ? JXL_TRUE : JXL_FALSE);
        JxlDecoderSetPreferredColorProfile(decoder, &srgb);
    }
    if (grey) // Qt describes no grey colour spaces
        return {};
    size_t size = 0;
    if (JxlDecoderGetICCProfileSize(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, &size) != JXL_DEC_SUCCESS ||
        size == 0)
        return {};
    QByteArray icc(qsizetype(size), '\0');
    if (JxlDecoderGetColorAsICCProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                       reinterpret_cast<uint8_t *>(icc.data()), size) != JXL_DEC_SUCCESS)
        return {};
    return QColorSpace::fromIccProfile(icc);
}

DecoderPtr startDecoder(const QByteArray &data, int events)
{
    DecoderPtr decoder(JxlDecoderCreate(nullptr), JxlDecoderDestroy);
    if (!decoder || JxlDecoderSubscribeEvents(decoder.get(), events) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder.get(), reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size())) !=
            JXL_DEC_SUCCESS)
        return DecoderPtr(nullptr, JxlDecoderDestroy);
    // All input is there: a truncated file then ends in an error, not in a wait for more.
    JxlDecoderCloseInput(decoder.get());
    return decoder;
}

bool decodeFirstFrame(const QByteArray &data, QImage &image)
{
    DecoderPtr decoder = startDecoder(data, JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING | JXL_DEC_FULL_IMAGE);
    const RunnerPtr runner(JxlResizableParallelRunnerCreate(nullptr), JxlResizableParallelRunnerDestroy);
    if (!decoder || !runner ||
        JxlDecoderSetParallelRunner(decoder.get(), JxlResizableParallelRunner, runner.get()) != JXL_DEC_SUCCESS)
        return false;
    JxlBasicInfo info{};
    Layout layout;
    QImage result;
    for (;;) {
        switch (JxlDecoderProcessInput(decoder.get())) {
        case JXL_DEC_BASIC_INFO:
            if (JxlDecoderGetBasicInfo(decoder.get(), &info) != JXL_DEC_SUCCESS)
                return false;
            layout = layoutOf(info);
            // Refuses, before any decoding, what would exceed the reader's allocation limit.
            if (!QImageIOHandler::allocateImage(orientedSize(info), layout.format, &result))
                return false;
            // libjxl writes straight into the image, row by row at its stride.
            layout.pixels.align = size_t(result.bytesPerLine());
            JxlResizableParallelRunnerSetThreads(runner.get(),
                                                 JxlResizableParallelRunnerSuggestThreads(info.xsize, info.ysize));
            break;
        case JXL_DEC_COLOR_ENCODING:
            result.setColorSpace(takeColorSpace(decoder.get(), info));
            break;
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
            size_t needed = 0;
            if (JxlDecoderImageOutBufferSize(decoder.get(), &layout.pixels, &needed) != JXL_DEC_SUCCESS ||
                needed > size_t(result.sizeInBytes()) ||
                JxlDecoderSetImageOutBuffer(decoder.get(), &layout.pixels, result.bits(),
                                            size_t(result.sizeInBytes())) != JXL_DEC_SUCCESS)
                return false;
            break;
        }
        case JXL_DEC_FULL_IMAGE:
            image = result;
            return true;
        default: // an error, a truncated file, or a file without a frame
            return false;
        }
    }
}

// cjxl's mapping of a JPEG-like quality to a butteraugli distance.
float distanceOf(int quality)
{
    if (quality >= 30)
        return 0.1f + float(100 - quality) * 0.09f;
    return 6.4f + std::pow(2.5f, float(30 - quality) / 5.0f) / 6.25f;
}

} // namespace

bool JxlHandler::canRead(QIODevice *device)
{
    const QByteArray head = device->peek(12);
    const JxlSignature signature =
        JxlSignatureCheck(reinterpret_cast<const uint8_t *>(head.constData()), size_t(head.size()));
    return signature == JXL_SIG_CODESTREAM || signature == JXL_SIG_CONTAINER;
}

bool JxlHandler::canRead() const
{
    if (!device() || !canRead(device()))
        return false;
    const_cast<JxlHandler *>(this)->setFormat("jxl");
    return true;
}

bool JxlHandler::load()
{
    if (m_state != State::Unread)
        return m_state == State::Read;
    m_state = State::Failed;
    if (!device() || !canRead(device()))
        return false;
    // Compressed data larger than the decoded-size limit can only be an image over it.
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0 && device()->size() - device()->pos() > limit)
        return false;
    m_data = device()->readAll();
    m_state = State::Read;
    return true;
}

bool JxlHandler::readHeader(Header &header)
{
    if (!load())
        return false;
    const DecoderPtr decoder = startDecoder(m_data, JXL_DEC_BASIC_INFO);
    JxlBasicInfo info{};
    if (!decoder || JxlDecoderProcessInput(decoder.get()) != JXL_DEC_BASIC_INFO ||
        JxlDecoderGetBasicInfo(decoder.get(), &info) != JXL_DEC_SUCCESS)
        return false;
    header.size = orientedSize(info);
    header.format = layoutOf(info).format;
    return true;
}

bool JxlHandler::read(QImage *image)
{
    return load() && decodeFirstFrame(m_data, *image);
}

bool JxlHandler::write(const QImage &image)
{
    if (image.isNull() || !device())
        return false;
    const bool alpha = image.hasAlphaChannel();
    const QImage source = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const bool lossless = m_quality == 100;
    EncoderPtr encoder(JxlEncoderCreate(nullptr), JxlEncoderDestroy);
    if (!encoder)
        return false;

    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = uint32_t(source.width());
    info.ysize = uint32_t(source.height());
    info.bits_per_sample = 8;
    info.num_color_channels = 3;
    info.alpha_bits = alpha ? 8 : 0;
    info.num_extra_channels = alpha ? 1 : 0;
    info.uses_original_profile = lossless ? JXL_TRUE : JXL_FALSE;
    JxlColorEncoding srgb;
    JxlColorEncodingSetToSRGB(&srgb, JXL_FALSE);
    const QByteArray icc = source.colorSpace().isValid() && source.colorSpace() != QColorSpace(QColorSpace::SRgb)
                               ? source.colorSpace().iccProfile()
                               : QByteArray();
    if (JxlEncoderSetBasicInfo(encoder.get(), &info) != JXL_ENC_SUCCESS)
        return false;
    const JxlEncoderStatus colour =
        icc.isEmpty() ? JxlEncoderSetColorEncoding(encoder.get(), &srgb)
                      : JxlEncoderSetICCProfile(encoder.get(), reinterpret_cast<const uint8_t *>(icc.constData()),
                                                size_t(icc.size()));
    if (colour != JXL_ENC_SUCCESS)
        return false;

    JxlEncoderFrameSettings *settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
    if (lossless)
        JxlEncoderSetFrameLossless(settings, JXL_TRUE);
    else if (m_quality >= 0 && m_quality < 100)
        JxlEncoderSetFrameDistance(settings, distanceOf(m_quality));
    const JxlPixelFormat pixels{alpha ? 4u : 3u, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, size_t(source.bytesPerLine())};
    if (JxlEncoderAddImageFrame(settings, &pixels, source.constBits(), size_t(source.sizeInBytes())) != JXL_ENC_SUCCESS)
        return false;
    JxlEncoderCloseInput(encoder.get());

    QByteArray chunk(64 * 1024, '\0');
    for (;;) {
        auto *next = reinterpret_cast<uint8_t *>(chunk.data());
        size_t available = size_t(chunk.size());
        const JxlEncoderStatus status = JxlEncoderProcessOutput(encoder.get(), &next, &available);
        const qint64 produced = chunk.size() - qint64(available);
        if (device()->write(chunk.constData(), produced) != produced)
            return false;
        if (status != JXL_ENC_NEED_MORE_OUTPUT)
            return status == JXL_ENC_SUCCESS;
    }
}

bool JxlHandler::supportsOption(ImageOption option) const
{
    return option == Size || option == ImageFormat || option == Quality;
}

QVariant JxlHandler::option(ImageOption option) const
{
    if (option == Quality)
        return m_quality;
    Header header;
    if ((option != Size && option != ImageFormat) || !const_cast<JxlHandler *>(this)->readHeader(header))
        return {};
    if (option == Size)
        return header.size;
    return header.format;
}

void JxlHandler::setOption(ImageOption option, const QVariant &value)
{
    if (option == Quality)
        m_quality = value.toInt();
}
