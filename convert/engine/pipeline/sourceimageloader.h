#pragma once

#include "imageguard.h"

#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>

namespace SourceImageLoader {

// Decoding refuses images whose pixels would need more than this. Every read
// goes through GuardedImageReader, which also refuses files whose headers
// claim more than they hold.
inline constexpr int allocationLimitMB = ImageGuard::allocationLimitMB;

// The size of the image upright, read from its header; invalid when the file
// is no readable image or too large to decode. `format` receives the detected
// format ("jpeg", "png", ...), `orientation` the turn that makes it upright.
QSize uprightSize(const QString &path, QByteArray *format = nullptr,
                  QImageIOHandler::Transformations *orientation = nullptr);

// Decodes `path` upright, in sRGB (ImageMagickUtil::loadImage). False for
// anything but a readable image within the allocation limit; `failure` then
// says why (GuardedImageReader::failure()).
bool load(const QString &path, QImage &image, QString *failure = nullptr);

// Decodes `path` straight to `size` (upright, in sRGB) with `mode` filtering. A JPEG
// decodes at 1/2, 1/4 or 1/8 of its size in the IDCT where that stays at
// least `size`, and is scaled before it is turned upright, so the large image
// is never rotated.
bool loadScaled(const QString &path, const QSize &size, Qt::TransformationMode mode, QImage &image,
                QString *failure = nullptr);

// loadScaled() without the last step: the picture as the file stores it
// (`size` transposed where the file turns it a quarter), and in `orientation`
// the turn that makes it upright.
bool loadScaledAsStored(const QString &path, const QSize &size, Qt::TransformationMode mode, QImage &image,
                        QImageIOHandler::Transformations *orientation, QString *failure = nullptr);

// Turns a picture upright by its file's stored orientation, in the order
// Qt's reader applies one: mirror, then turn.
QImage turnedUpright(const QImage &image, QImageIOHandler::Transformations orientation);

// Paths are compared as the file system compares them: ignoring case where
// names are case-insensitive (Windows, macOS), exactly elsewhere.
bool samePath(const QString &a, const QString &b);
// A key under which paths that samePath() holds equal are equal, for sets.
QString pathKey(const QString &path);

} // namespace SourceImageLoader
