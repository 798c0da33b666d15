#include "tifffile.h"

#include <QColorSpace>
#include <QtEndian>

#include <cstdarg>

#include <tiffio.h>

// TIFFRGBAImageGet packs each pixel as A << 24 | B << 16 | G << 8 | R, which
// is RGBA8888 in memory only on little-endian machines.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "TIFF pixels assume a little-endian machine");

namespace {

const TiffFile::Source &sourceOf(thandle_t handle)
{
    return *static_cast<const TiffFile::Source *>(handle);
}

tmsize_t readProc(thandle_t handle, void *buffer, tmsize_t size)
{
    return sourceOf(handle).device->read(static_cast<char *>(buffer), size);
}

tmsize_t writeProc(thandle_t, void *, tmsize_t)
{
    return -1;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    const TiffFile::Source &source = sourceOf(handle);
    qint64 target = qint64(offset);
    if (whence == SEEK_CUR)
        target += source.device->pos() - source.origin;
    else if (whence == SEEK_END)
        target += source.device->size() - source.origin;
    if (target < 0 || !source.device->seek(source.origin + target))
        return toff_t(-1);
    return toff_t(target);
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t handle)
{
    const TiffFile::Source &source = sourceOf(handle);
    return toff_t(source.device->size() - source.origin);
}

int mapProc(thandle_t, void **, toff_t *)
{
    return 0;
}

void unmapProc(thandle_t, void *, toff_t) {}

int quiet(TIFF *, void *, const char *, const char *, va_list)
{
    return 1;
}

// How many decoded bytes one byte of each compression can stand for at most;
// 0 where the bound is too loose to tell anything (fax, LZMA, ZSTD, ...).
qint64 expansionBound(uint16_t compression)
{
    switch (compression) {
    case COMPRESSION_NONE:
        return 1;
    case COMPRESSION_PACKBITS:
        return 64;
    case COMPRESSION_DEFLATE:
    case COMPRESSION_ADOBE_DEFLATE:
        return 1032;
    case COMPRESSION_LZW:
        return 4096;
    case COMPRESSION_JPEG:
    case COMPRESSION_OJPEG:
        return 64 * 8; // a bit per 8 × 8 block of one-byte samples
    default:
        return 0;
    }
}

} // namespace

TiffFile::TiffFile(QIODevice *device, qint64 limit)
    : m_source{device, device->pos()}
{
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(limit));
    TIFFOpenOptionsSetErrorHandlerExtR(options, quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, quiet, nullptr);
    m_tiff = TIFFClientOpenExt("image", "rm", &m_source, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                               unmapProc, options);
    TIFFOpenOptionsFree(options);
}

TiffFile::~TiffFile()
{
    if (m_tiff)
        TIFFClose(m_tiff);
}

QSize TiffFile::size() const
{
    uint32_t width = 0, height = 0;
    if (!m_tiff || !TIFFGetField(m_tiff, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(m_tiff, TIFFTAG_IMAGELENGTH, &height) || width > 0x7fffffff || height > 0x7fffffff)
        return {};
    return QSize(int(width), int(height));
}

QImageIOHandler::Transformations TiffFile::transformation() const
{
    uint16_t orientation = ORIENTATION_TOPLEFT;
    if (m_tiff)
        TIFFGetFieldDefaulted(m_tiff, TIFFTAG_ORIENTATION, &orientation);
    switch (orientation) {
    case ORIENTATION_TOPRIGHT:
        return QImageIOHandler::TransformationMirror;
    case ORIENTATION_BOTRIGHT:
        return QImageIOHandler::TransformationRotate180;
    case ORIENTATION_BOTLEFT:
        return QImageIOHandler::TransformationFlip;
    case ORIENTATION_LEFTTOP:
        return QImageIOHandler::TransformationFlipAndRotate90;
    case ORIENTATION_RIGHTTOP:
        return QImageIOHandler::TransformationRotate90;
    case ORIENTATION_RIGHTBOT:
        return QImageIOHandler::TransformationMirrorAndRotate90;
    case ORIENTATION_LEFTBOT:
        return QImageIOHandler::TransformationRotate270;
    default:
        return QImageIOHandler::TransformationNone;
    }
}

bool TiffFile::read(QImage *image)
{
    char message[1024];
    const QSize stored = size();
    if (!m_tiff || stored.isEmpty() || !TIFFRGBAImageOK(m_tiff, message))
        return false;
    TIFFRGBAImage rgba;
    if (!TIFFRGBAImageBegin(&rgba, m_tiff, 1, message))
        return false;
    rgba.req_orientation = rgba.orientation; // rows as stored: the reader applies the orientation
    QImage result;
    bool ok = QImageIOHandler::allocateImage(
        stored, rgba.alpha ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBX8888, &result);
    ok = ok && TIFFRGBAImageGet(&rgba, reinterpret_cast<uint32_t *>(result.bits()), uint32_t(stored.width()),
                                uint32_t(stored.height()));
    TIFFRGBAImageEnd(&rgba);
    if (!ok)
        return false;
    uint32_t iccLength = 0;
    const void *icc = nullptr;
    if (TIFFGetField(m_tiff, TIFFTAG_ICCPROFILE, &iccLength, &icc) && icc)
        result.setColorSpace(
            QColorSpace::fromIccProfile(QByteArray(static_cast<const char *>(icc), qsizetype(iccLength))));
    *image = result;
    return true;
}

ImageGuard::Verdict TiffFile::verdict(qint64 limit) const
{
    const ImageGuard::Verdict pixels = ImageGuard::checkPixels(size(), 4, limit);
    if (!pixels.accepted())
        return pixels;
    uint16_t samples = 1, bits = 1, compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_COMPRESSION, &compression);
    const qint64 fileSize = m_source.device->size() - m_source.origin;
    // Only the part of each strip or tile that lies in the file can be decoded.
    qint64 available = 0;
    const uint32_t striles = TIFFIsTiled(m_tiff) ? TIFFNumberOfTiles(m_tiff) : TIFFNumberOfStrips(m_tiff);
    for (uint32_t i = 0; i < striles && available < fileSize; ++i) {
        const qint64 offset = qint64(TIFFGetStrileOffset(m_tiff, i));
        const qint64 count = qint64(TIFFGetStrileByteCount(m_tiff, i));
        if (offset >= 0 && offset < fileSize && count > 0)
            available += qMin(count, fileSize - offset);
    }
    const qint64 decoded = qint64(pixels.size.width()) * pixels.size.height() * samples * qMax<int>(bits, 1) / 8;
    const qint64 bound = expansionBound(compression);
    if (bound > 0 && available * bound + 4096 < decoded)
        return ImageGuard::Verdict::damaged();
    return pixels;
}

ImageGuard::Verdict TiffFile::inspect(QIODevice *device, qint64 limit)
{
    const qint64 at = device->pos();
    ImageGuard::Verdict result = ImageGuard::Verdict::damaged();
    {
        TiffFile file(device, limit);
        if (file.isOpen())
            result = file.verdict(limit);
    }
    device->seek(at);
    return result;
}
