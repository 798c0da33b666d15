#pragma once

#include <QString>

class QIODevice;
class QImage;

// Each encoder writes a rendered page of a flattenable format (see
// pagerendering.h) to device, flattening it onto white in place on the way,
// and returns an empty string on success, otherwise what went wrong. They
// keep no state between calls.
namespace PageEncoders {

// 8-bit RGB, the same pixels Qt's PNG writer would store, tuned for speed.
QString writePng(QImage &image, QIODevice &device);

// Baseline JPEG at Qt's default quality (75): the bytes Qt's writer stores,
// the density taken from the image's dots per metre.
QString writeJpeg(QImage &image, QIODevice &device);

// Lossy WEBP at Qt's default quality (75).
QString writeWebp(QImage &image, QIODevice &device);

// Size limits of the formats, in pixels a side.
inline constexpr int maxJpegSide = 65500;
inline constexpr int maxWebpSide = 16383;

} // namespace PageEncoders
