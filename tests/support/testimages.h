#pragma once

#include <QByteArray>

namespace TestImages {
// A JPEG whose pixels are stored lying on their side (left half red, right
// half blue, 40 x 20) with an EXIF orientation of 6: shown upright it is
// 20 x 40 with red on top.
QByteArray sidewaysJpeg();
// `jpeg` with an EXIF segment holding only `orientation` (1 to 8).
QByteArray withOrientation(const QByteArray &jpeg, int orientation);
} // namespace TestImages
