#include "imagemagickutil.h"

#include "guardedimagereader.h"

#include <QColorSpace>

namespace ImageMagickUtil {

bool loadImage(const QString &path, QImage &image, QString *failure)
{
    // Photos of phone cameras exceed Qt's 128 MB default; the guarded reader
    // holds every file to the program's 256 MB before any decoder allocates.
    GuardedImageReader reader(path);
    reader.setAutoTransform(true);
    QImage decoded;
    if (!reader.read(&decoded)) {
        if (failure)
            *failure = reader.failure();
        return false;
    }
    convertToSrgb(decoded);
    image = decoded;
    return true;
}

void convertToSrgb(QImage &image)
{
    const QColorSpace srgb(QColorSpace::SRgb);
    const QColorSpace space = image.colorSpace();
    if (space.isValid() && space != srgb)
        image.convertToColorSpace(srgb);
}

} // namespace ImageMagickUtil
