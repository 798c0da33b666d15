#include "sourceimageloader.h"

#include <QFileInfo>
#include <QImageReader>

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

bool load(const QString &path, QImage &image, const QSize &atLeast)
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
    if (stored.isValid() && !atLeast.isEmpty() && reader.format() == "jpeg") {
        const QSize need = rotatesQuarter(reader) ? atLeast.transposed() : atLeast;
        int denominator = 1;
        while (denominator < 8 && stored.width() / (denominator * 2) >= need.width() &&
               stored.height() / (denominator * 2) >= need.height())
            denominator *= 2;
        if (denominator > 1)
            reader.setScaledSize(QSize((stored.width() + denominator - 1) / denominator,
                                       (stored.height() + denominator - 1) / denominator));
    }
    QImage decoded;
    if (!reader.read(&decoded))
        return false;
    image = decoded;
    return true;
}

bool samePath(const QString &a, const QString &b)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

} // namespace SourceImageLoader
