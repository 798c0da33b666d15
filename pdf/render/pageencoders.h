#pragma once

#include <QString>

class QIODevice;
class QImage;

// Each encoder writes a Format_RGB32 image to device and returns an empty string
// on success, otherwise what went wrong. They keep no state between calls.
namespace PageEncoders {

// 8-bit RGB, the same pixels Qt's PNG writer would store, tuned for speed.
QString writePng(const QImage &image, QIODevice &device);

// Baseline JPEG at Qt's default quality (75).
QString writeJpeg(const QImage &image, QIODevice &device);

// Lossy WEBP at Qt's default quality (75).
QString writeWebp(const QImage &image, QIODevice &device);

// Size limits of the formats, in pixels a side.
inline constexpr int maxJpegSide = 65500;
inline constexpr int maxWebpSide = 16383;

} // namespace PageEncoders
