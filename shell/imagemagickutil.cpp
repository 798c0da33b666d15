#include "imagemagickutil.h"

#include "guardedimagereader.h"

namespace ImageMagickUtil {

bool loadImage(const QString &path, QImage &image)
{
    // Photos of phone cameras exceed Qt's 128 MB default; the guarded reader
    // holds every file to the program's 256 MB before any decoder allocates.
    GuardedImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read(&image);
}

} // namespace ImageMagickUtil
