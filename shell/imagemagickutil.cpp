#include "imagemagickutil.h"

#include <QFileInfo>
#include <QImageReader>

namespace ImageMagickUtil {

bool loadImage(const QString &path, QImage &image)
{
    if (!QFileInfo(path).isFile())
        return false;
    QImageReader reader(path, QByteArray());
    // Photos of phone cameras exceed Qt's 128 MB default.
    QImageReader::setAllocationLimit(256);
    reader.setAutoTransform(true);
    return reader.read(&image);
}

} // namespace ImageMagickUtil
