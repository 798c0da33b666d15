#pragma once

#include "imageguard.h"

#include <QImage>
#include <QImageIOHandler>
#include <QIODevice>

#include <memory>

struct tiff;

// The first page of a TIFF on a device, through libtiff, with libtiff's own
// allocations capped and its messages kept off the console. Pixels come
// through libtiff's RGBA interface, which reads what scanners write: 16-bit
// samples, planar (separate) channels, palettes, CMYK, YCbCr.
class TiffFile
{
public:
    TiffFile(QIODevice *device, qint64 limit);
    ~TiffFile();
    TiffFile(const TiffFile &) = delete;
    TiffFile &operator=(const TiffFile &) = delete;

    bool isOpen() const { return m_tiff != nullptr; }
    QSize size() const;
    // The stored orientation, as QImageReader applies it.
    QImageIOHandler::Transformations transformation() const;
    // The pixels as stored (not turned upright), 8 bits per channel.
    bool read(QImage *image);

    // The header's claims against the limit and the file's length.
    static ImageGuard::Verdict inspect(QIODevice *device, qint64 limit);

    // What libtiff's read and seek callbacks work on: offsets count from `origin`.
    struct Source {
        QIODevice *device;
        qint64 origin;
    };

private:
    ImageGuard::Verdict verdict(qint64 limit) const;

    Source m_source;
    tiff *m_tiff = nullptr;
};
