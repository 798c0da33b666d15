#include "heifhandler.h"

#include "cicpcolorspace.h"

#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QVariant>
#include <QtEndian>

#include <libheif/heif.h>

#include <cstring>

namespace {

bool ok(const heif_error &error)
{
    return error.code == heif_error_Ok;
}

// Brands of the file type box that libheif decodes, by the name we give them.
QByteArray formatOfBrand(const QByteArray &brand)
{
    static const QList<QByteArray> hevc{"heic", "heix", "heim", "heis", "hevc", "hevx", "hevm", "hevs"};
    if (hevc.contains(brand))
        return "heic";
    if (brand == "avif" || brand == "avis")
        return "avif";
    if (brand == "mif1" || brand == "msf1")
        return "heif";
    return {};
}

heif_compression_format compressionOf(const QByteArray &format)
{
    return format == "avif" ? heif_compression_AV1 : heif_compression_HEVC;
}

// Widens samples of `bits` (8 to 16) significant bits to the full 16-bit range,
// so that a 10-bit white becomes 65535 and not 1023.
quint16 widen(quint16 value, int bits)
{
    return quint16((value << (16 - bits)) | (value >> (2 * bits - 16)));
}

void copyDeepRows(const uint8_t *plane, int stride, int bits, bool alpha, QImage &target)
{
    const int channels = alpha ? 4 : 3;
    bits = qBound(8, bits, 16); // whatever a damaged file claims
    for (int y = 0; y < target.height(); ++y) {
        const uint8_t *source = plane + qsizetype(y) * stride;
        auto *line = reinterpret_cast<quint16 *>(target.scanLine(y));
        for (int x = 0; x < target.width(); ++x) {
            for (int c = 0; c < channels; ++c)
                line[4 * x + c] = widen(qFromLittleEndian<quint16>(source + 2 * (channels * x + c)), bits);
            if (!alpha)
                line[4 * x + 3] = 0xffff;
        }
    }
}

void copyRows(const uint8_t *plane, int stride, QImage &target)
{
    const qsizetype rowBytes = qsizetype(target.width()) * (target.depth() / 8);
    for (int y = 0; y < target.height(); ++y)
        std::memcpy(target.scanLine(y), plane + qsizetype(y) * stride, size_t(rowBytes));
}

// The colours the file declares, where Qt can represent them: an embedded ICC
// profile, or the common sRGB and Display P3 signalling of phone cameras.
QColorSpace colorSpaceOf(const heif_image_handle *handle)
{
    switch (heif_image_handle_get_color_profile_type(handle)) {
    case heif_color_profile_type_prof:
    case heif_color_profile_type_rICC: {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), '\0');
        if (icc.isEmpty() || !ok(heif_image_handle_get_raw_color_profile(handle, icc.data())))
            return {};
        return QColorSpace::fromIccProfile(icc);
    }
    case heif_color_profile_type_nclx: {
        heif_color_profile_nclx *nclx = nullptr;
        if (!ok(heif_image_handle_get_nclx_color_profile(handle, &nclx)))
            return {};
        const int primaries = nclx->color_primaries;
        const int transfer = nclx->transfer_characteristics;
        heif_nclx_color_profile_free(nclx);
        return colorSpaceFromCicp(primaries, transfer);
    }
    default:
        return {};
    }
}

heif_error writeToDevice(heif_context *, const void *data, size_t size, void *device)
{
    const bool written =
        static_cast<QIODevice *>(device)->write(static_cast<const char *>(data), qint64(size)) == qint64(size);
    return written ? heif_error{heif_error_Ok, heif_suberror_Unspecified, ""}
                   : heif_error{heif_error_Encoding_error, heif_suberror_Cannot_write_output_data, "write failed"};
}

} // namespace

void HeifHandler::ContextDeleter::operator()(heif_context *context) const
{
    heif_context_free(context);
}

void HeifHandler::HandleDeleter::operator()(heif_image_handle *handle) const
{
    heif_image_handle_release(handle);
}

HeifHandler::HeifHandler() = default;
HeifHandler::~HeifHandler() = default;

QByteArray HeifHandler::formatOf(QIODevice *device)
{
    // The file type box: size, "ftyp", major brand, minor version, compatible brands.
    const QByteArray head = device->peek(64);
    if (head.size() < 16 || head.mid(4, 4) != "ftyp")
        return {};
    const qsizetype boxSize = qMin<qsizetype>(qFromBigEndian<quint32>(head.constData()), head.size());
    QList<QByteArray> brands{head.mid(8, 4)};
    for (qsizetype at = 16; at + 4 <= boxSize; at += 4)
        brands.append(head.mid(at, 4));
    // A generic major brand ("mif1") says less than a specific compatible one.
    QByteArray format;
    for (const QByteArray &brand : brands) {
        const QByteArray candidate = formatOfBrand(brand);
        if (candidate == "heic" || candidate == "avif")
            return candidate;
        if (!candidate.isEmpty())
            format = candidate;
    }
    return format;
}

bool HeifHandler::isHeifFormat(const QByteArray &format)
{
    return format == "heic" || format == "heif" || format == "avif";
}

bool HeifHandler::canWrite(const QByteArray &format)
{
    return heif_have_encoder_for_format(compressionOf(format)) != 0;
}

bool HeifHandler::canRead() const
{
    const QByteArray detected = device() ? formatOf(device()) : QByteArray();
    if (detected.isEmpty())
        return false;
    const_cast<HeifHandler *>(this)->setFormat(detected);
    return true;
}

bool HeifHandler::parse()
{
    if (m_state != State::Unparsed)
        return m_state == State::Parsed;
    m_state = State::Failed;
    if (!device() || formatOf(device()).isEmpty())
        return false;
    // Compressed data larger than the decoded-size limit can only be an image over it.
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0 && device()->size() - device()->pos() > limit)
        return false;
    m_data = device()->readAll();
    m_context.reset(heif_context_alloc());
    if (!m_context || !ok(heif_context_read_from_memory_without_copy(m_context.get(), m_data.constData(),
                                                                     size_t(m_data.size()), nullptr)))
        return false;
    heif_image_handle *primary = nullptr;
    if (!ok(heif_context_get_primary_image_handle(m_context.get(), &primary)))
        return false;
    m_primary.reset(primary);
    m_state = State::Parsed;
    return true;
}

QImage::Format HeifHandler::imageFormat() const
{
    const bool alpha = heif_image_handle_has_alpha_channel(m_primary.get());
    const bool premultiplied = alpha && heif_image_handle_is_premultiplied_alpha(m_primary.get());
    if (heif_image_handle_get_luma_bits_per_pixel(m_primary.get()) > 8) {
        if (!alpha)
            return QImage::Format_RGBX64;
        return premultiplied ? QImage::Format_RGBA64_Premultiplied : QImage::Format_RGBA64;
    }
    if (!alpha)
        return QImage::Format_RGB888;
    return premultiplied ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBA8888;
}

bool HeifHandler::read(QImage *image)
{
    if (!parse())
        return false;
    heif_image_handle *handle = m_primary.get();
    const QSize size(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
    const QImage::Format format = imageFormat();
    QImage result;
    // Refuses, before any decoding, what would exceed the reader's allocation limit.
    if (!allocateImage(size, format, &result))
        return false;

    const bool alpha = result.hasAlphaChannel();
    const bool deep = result.depth() == 64;
    const heif_chroma chroma = deep ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
                                    : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    heif_image *decoded = nullptr;
    if (!ok(heif_decode_image(handle, &decoded, heif_colorspace_RGB, chroma, nullptr)))
        return false;
    const std::unique_ptr<heif_image, void (*)(const heif_image *)> guard(decoded, heif_image_release);
    int stride = 0;
    const uint8_t *plane = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    if (!plane || heif_image_get_chroma_format(decoded) != chroma ||
        heif_image_get_width(decoded, heif_channel_interleaved) != size.width() ||
        heif_image_get_height(decoded, heif_channel_interleaved) != size.height())
        return false;
    if (deep)
        copyDeepRows(plane, stride, heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved), alpha,
                     result);
    else
        copyRows(plane, stride, result);
    result.setColorSpace(colorSpaceOf(handle));
    *image = result;
    return true;
}

bool HeifHandler::write(const QImage &image)
{
    const heif_compression_format compression = compressionOf(format());
    if (image.isNull() || !device() || !heif_have_encoder_for_format(compression))
        return false;
    std::unique_ptr<heif_context, ContextDeleter> context(heif_context_alloc());
    heif_encoder *encoder = nullptr;
    if (!ok(heif_context_get_encoder_for_format(context.get(), compression, &encoder)))
        return false;
    const std::unique_ptr<heif_encoder, void (*)(heif_encoder *)> encoderGuard(encoder, heif_encoder_release);
    if (m_quality >= 0 && m_quality <= 100)
        heif_encoder_set_lossy_quality(encoder, m_quality);

    const bool alpha = image.hasAlphaChannel();
    const QImage source = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    heif_image *picture = nullptr;
    if (!ok(heif_image_create(source.width(), source.height(), heif_colorspace_RGB,
                              alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &picture)))
        return false;
    const std::unique_ptr<heif_image, void (*)(const heif_image *)> pictureGuard(picture, heif_image_release);
    if (!ok(heif_image_add_plane(picture, heif_channel_interleaved, source.width(), source.height(), 8)))
        return false;
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
    const qsizetype rowBytes = qsizetype(source.width()) * (source.depth() / 8);
    for (int y = 0; y < source.height(); ++y)
        std::memcpy(plane + qsizetype(y) * stride, source.constScanLine(y), size_t(rowBytes));
    if (source.colorSpace().isValid()) {
        const QByteArray icc = source.colorSpace().iccProfile();
        heif_image_set_raw_color_profile(picture, "prof", icc.constData(), size_t(icc.size()));
    }
    if (!ok(heif_context_encode_image(context.get(), picture, encoder, nullptr, nullptr)))
        return false;
    heif_writer writer{1, writeToDevice};
    return ok(heif_context_write(context.get(), &writer, device()));
}

bool HeifHandler::supportsOption(ImageOption option) const
{
    return option == Size || option == ImageFormat || option == Quality;
}

QVariant HeifHandler::option(ImageOption option) const
{
    if (option == Quality)
        return m_quality;
    if ((option != Size && option != ImageFormat) || !const_cast<HeifHandler *>(this)->parse())
        return {};
    if (option == ImageFormat)
        return imageFormat();
    return QSize(heif_image_handle_get_width(m_primary.get()), heif_image_handle_get_height(m_primary.get()));
}

void HeifHandler::setOption(ImageOption option, const QVariant &value)
{
    if (option == Quality)
        m_quality = value.toInt();
}
