#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace JpegDecoder {

// Decodes the JPEG at `path` (as stored, without its orientation) straight
// into 32-bit pixels, with the IDCT scaled to 1/2, 1/4 or 1/8 where that
// still gives at least `atLeast`. The pixels go
// into `image` (RGB32 or Grayscale8), reusing its memory when it already has
// that size and format. False for anything libjpeg cannot decode this way (the
// caller falls back to Qt's reader) or for more than `limitBytes` of pixels.
bool decodeScaled(const QString &path, const QSize &atLeast, qint64 limitBytes, QImage &image);

} // namespace JpegDecoder
