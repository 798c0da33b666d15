#include "sourceimageloader.h"

#include "guardedimagereader.h"
#include "imagemagickutil.h"
#include "jpegdecoder.h"

#include <QFile>
#include <QTransform>

#include <memory>
#include <utility>

namespace SourceImageLoader {
namespace {

bool rotatesQuarter(GuardedImageReader &reader)
{
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

// Every look into a source starts here, so what guards one guards them all:
// GuardedImageReader takes an existing regular file, the format from the
// content, and refuses, before any decoder allocates, a declared size over the
// allocation limit or headers that claim more than the file holds. Null when
// the file is refused (`failure` then says why, where it can); `stored`
// receives the declared size, invalid when the format does not tell it before
// decoding.
std::unique_ptr<GuardedImageReader> openSource(const QString &path, bool autoTransform, QSize *stored,
                                               QString *failure)
{
    auto reader = std::make_unique<GuardedImageReader>(path, allocationLimitMB);
    reader->setAutoTransform(autoTransform);
    *stored = reader->size();
    if (!reader->failure().isEmpty() || reader->format().isEmpty()) {
        if (failure)
            *failure = reader->failure();
        return nullptr;
    }
    return reader;
}

void report(const GuardedImageReader &reader, QString *failure)
{
    if (failure)
        *failure = reader.failure();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QSize uprightSize(const QString &path, QByteArray *format, QImageIOHandler::Transformations *orientation)
{
    QSize stored;
    const std::unique_ptr<GuardedImageReader> reader = openSource(path, true, &stored, nullptr);
    if (!reader || !stored.isValid())
        return {};
    if (format)
        *format = reader->format();
    if (orientation)
        *orientation = reader->transformation();
    return rotatesQuarter(*reader) ? stored.transposed() : stored;
}

bool load(const QString &path, QImage &image, QString *failure)
{
    return ImageMagickUtil::loadImage(path, image, failure);
}

bool loadScaledAsStored(const QString &path, const QSize &size, Qt::TransformationMode mode, QImage &image,
                        QImageIOHandler::Transformations *orientation, QString *failure)
{
    if (size.isEmpty())
        return false;
    QSize stored;
    const std::unique_ptr<GuardedImageReader> opened = openSource(path, false, &stored, failure);
    if (!opened || !stored.isValid())
        return false;
    GuardedImageReader &reader = *opened;
    *orientation = reader.transformation();
    const QSize target = rotatesQuarter(reader) ? size.transposed() : size;
    // Decoding into the thread's previous buffer of the same size spares the
    // kernel from handing out (and zeroing) tens of megabytes per photo.
    thread_local QImage buffer;
    const bool decoded = (reader.format() == "jpeg" &&
                          JpegDecoder::decodeScaled(fileBytes(path), target, qint64(allocationLimitMB) * 1024 * 1024, buffer)) ||
                         reader.read(&buffer);
    if (!decoded) {
        buffer = QImage();
        report(reader, failure);
        return false;
    }
    image =
        buffer.size() == target ? std::exchange(buffer, QImage()) : buffer.scaled(target, Qt::IgnoreAspectRatio, mode);
    // After the scaling, where there are fewest pixels to convert.
    ImageMagickUtil::convertToSrgb(image);
    return true;
}

bool loadScaled(const QString &path, const QSize &size, Qt::TransformationMode mode, QImage &image, QString *failure)
{
    QImageIOHandler::Transformations orientation;
    QImage stored;
    if (!loadScaledAsStored(path, size, mode, stored, &orientation, failure))
        return false;
    image = turnedUpright(stored, orientation);
    return true;
}

QImage turnedUpright(const QImage &image, QImageIOHandler::Transformations orientation)
{
    QImage result = image;
    if (orientation & (QImageIOHandler::TransformationMirror | QImageIOHandler::TransformationFlip))
        result = result.mirrored(orientation & QImageIOHandler::TransformationMirror,
                                 orientation & QImageIOHandler::TransformationFlip);
    if (orientation & QImageIOHandler::TransformationRotate90)
        result = result.transformed(QTransform().rotate(90));
    return result;
}

bool samePath(const QString &a, const QString &b)
{
    return pathKey(a) == pathKey(b);
}

QString pathKey(const QString &path)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return path.toCaseFolded();
#else
    return path;
#endif
}

} // namespace SourceImageLoader
