#pragma once

#include "pagestream.h"

#include <QByteArray>
#include <QImage>

namespace PageEncoder {

// The quality page pictures are compressed with: high enough that pages look
// as their pictures do.
inline constexpr int jpegQuality = 94;

// Compresses a page picture turned upright by `orientation`: JPEG for the
// colours (gray stays one channel), and a compressed alpha channel where the
// picture is not opaque. A null image gives a blank page.
PageStream encode(const QImage &image,
                  QImageIOHandler::Transformations orientation = QImageIOHandler::TransformationNone);

// A JPEG file placed on the page as it is, without decoding: `size` and
// `components` (1 or 3) as its header declares them, turned upright on the
// page by `orientation`.
PageStream embedJpeg(const QByteArray &file, const QSize &size, int components,
                     QImageIOHandler::Transformations orientation);

} // namespace PageEncoder
