#include "sourceimageloader.h"

#include "jpegdecoder.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTransform>

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

} // namespace

QSize uprightSize(const QString &path, QByteArray *format)
{
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path, QByteArray());
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() || !withinLimit(stored))
        return {};
    if (format)
        *format = reader.format();
    return rotatesQuarter(reader) ? stored.transposed() : stored;
}

bool load(const QString &path, QImage &image)
{
    if (!QFileInfo(path).isFile())
        return false;
    QImageReader reader(path, QByteArray());
    QImageReader::setAllocationLimit(allocationLimitMB);
    reader.setAutoTransform(true);
    // Plug-ins that do not check the limit themselves would allocate whatever
    // the header declares.
    const QSize stored = reader.size();
    if (stored.isValid() && !withinLimit(stored))
        return false;
    QImage decoded;
    if (!reader.read(&decoded))
        return false;
    image = decoded;
    return true;
}

bool loadScaled(const QString &path, const QSize &size, Qt::TransformationMode mode, QImage &image)
{
    if (!QFileInfo(path).isFile() || size.isEmpty())
        return false;
    QImageReader reader(path, QByteArray());
    QImageReader::setAllocationLimit(allocationLimitMB);
    reader.setAutoTransform(false);
    const QSize stored = reader.size();
    if (!stored.isValid() || !withinLimit(stored))
        return false;
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
