#pragma once

#include "imageguard.h"

#include <QFile>
#include <QImage>
#include <QImageIOHandler>
#include <QString>

#include <memory>

class QImageReader;

// The one way the program reads a user's image file: a QImageReader behind
// ImageGuard. A file whose headers claim more than the limit, or claim data
// it does not hold, is refused before any decoder allocates for it, and says
// why. TIFF goes to libtiff's RGBA reader. Not shared between threads.
class GuardedImageReader
{
public:
    explicit GuardedImageReader(const QString &path, int limitMB = ImageGuard::allocationLimitMB);
    ~GuardedImageReader();
    GuardedImageReader(const GuardedImageReader &) = delete;
    GuardedImageReader &operator=(const GuardedImageReader &) = delete;

    // The stored size (before the orientation); invalid when refused.
    QSize size();
    // "jpeg", "png", "tiff", ... as detected; empty when refused.
    QByteArray format();
    QImageIOHandler::Transformations transformation();
    void setAutoTransform(bool enabled);
    void setScaledSize(const QSize &size);
    bool read(QImage *image);

    // Why the last size() or read() came back empty, to follow "it is": "too
    // large (W × H pixels)", "too large (over 16 MB of metadata)", "damaged";
    // empty when the file is no image at all (or missing).
    QString failure() const { return m_failure; }

private:
    bool refuse(const ImageGuard::Verdict &verdict);

    QFile m_file;
    std::unique_ptr<QImageReader> m_reader;
    qint64 m_limit;
    bool m_tiff = false;
    QByteArray m_format;
    QString m_failure;
};
