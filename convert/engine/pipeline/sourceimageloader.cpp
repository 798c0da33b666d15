#include "sourceimageloader.h"

#include "jpegdecoder.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTransform>

#include <memory>
#include <utility>

namespace SourceImageLoader {
namespace {

bool withinLimit(const QSize &size)
{
    return qint64(size.width()) * size.height() * 4 <= qint64(allocationLimitMB) * 1024 * 1024;
}

bool rotatesQuarter(const QImageReader &reader)
{
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

// Every look into a source starts here, so what guards one guards them all:
// an existing regular file, the format taken from the content, the allocation
// limit, and a declared size within it. Plug-ins that do not check the limit
// themselves would allocate whatever the header declares. Null when the file
// is refused; `stored` receives the declared size, invalid when the format
// does not tell it before decoding.
std::unique_ptr<QImageReader> openSource(const QString &path, bool autoTransform, QSize *stored)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto reader = std::make_unique<QImageReader>(path, QByteArray());
    QImageReader::setAllocationLimit(allocationLimitMB);
    reader->setAutoTransform(autoTransform);
    *stored = reader->size();
    if (stored->isValid() && !withinLimit(*stored))
        return nullptr;
    return reader;
}

} // namespace

QSize uprightSize(const QString &path, QByteArray *format)
{
    QSize stored;
    const std::unique_ptr<QImageReader> reader = openSource(path, true, &stored);
    if (!reader || !stored.isValid())
        return {};
    if (format)
        *format = reader->format();
    return rotatesQuarter(*reader) ? stored.transposed() : stored;
}

bool load(const QString &path, QImage &image)
{
    QSize stored;
    const std::unique_ptr<QImageReader> reader = openSource(path, true, &stored);
    QImage decoded;
    if (!reader || !reader->read(&decoded))
        return false;
    image = decoded;
    return true;
}

bool loadScaled(const QString &path, const QSize &size, Qt::TransformationMode mode, QImage &image)
{
    if (size.isEmpty())
        return false;
    QSize stored;
    const std::unique_ptr<QImageReader> opened = openSource(path, false, &stored);
    if (!opened || !stored.isValid())
        return false;
    QImageReader &reader = *opened;
    const QImageIOHandler::Transformations turn = reader.transformation();
    const QSize target = rotatesQuarter(reader) ? size.transposed() : size;
    // Decoding into the thread's previous buffer of the same size spares the
    // kernel from handing out (and zeroing) tens of megabytes per photo.
    thread_local QImage buffer;
    const bool decoded = (reader.format() == "jpeg" &&
                          JpegDecoder::decodeScaled(path, target, qint64(allocationLimitMB) * 1024 * 1024, buffer)) ||
                         reader.read(&buffer);
    if (!decoded) {
        buffer = QImage();
        return false;
    }
    QImage result =
        buffer.size() == target ? std::exchange(buffer, QImage()) : buffer.scaled(target, Qt::IgnoreAspectRatio, mode);
    // The order Qt applies a stored orientation in: mirror, then turn.
    if (turn & (QImageIOHandler::TransformationMirror | QImageIOHandler::TransformationFlip))
        result =
            result.mirrored(turn & QImageIOHandler::TransformationMirror, turn & QImageIOHandler::TransformationFlip);
    if (turn & QImageIOHandler::TransformationRotate90)
        result = result.transformed(QTransform().rotate(90));
    image = result;
    return true;
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
