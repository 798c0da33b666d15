#pragma once

#include "convertsettings.h"

#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>

// An image on its way to the output, and whether its source could be read.
struct PreparedImage {
    QImage image;
    bool readable = false;
    QString failure; // why the source could not be read ("damaged", "too large (...)"), if it says
    // The turn that still makes `image` upright: preparePageImage leaves it
    // to the page's compression; everything else is upright already.
    QImageIOHandler::Transformations orientation = QImageIOHandler::TransformationNone;
};

namespace ImagePipeline {

// The per-source pipeline shared by conversion and previews: load (through
// the last-source cache), watermark overlay, "Scale" options, adjustments.
// `fast` picks fast scaling; so does a PDF run without smooth edges.
PreparedImage prepareImage(const QString &path, bool fast, const ConvertSettings &settings, bool pdfMode);

// prepareImage followed by the page fit of a PDF run (printable area in
// device pixels). Without watermarks or blur a JPEG is scaled once, straight
// to its page size (decoded smaller where it can be), and left as the file
// stores it, with the turn in `orientation`, so only the page's pixels are
// turned: the same page at a fraction of the work.
PreparedImage preparePageImage(const QString &path, const ConvertSettings &settings, const QSize &printable);

// Whether preparePageImage() takes a source of `format` ("jpeg", ...) to its
// page size in one step under these settings.
bool decodesToPageSize(const QByteArray &format, const ConvertSettings &settings);

// Forgets the cached source; for tests.
void clearCache();

} // namespace ImagePipeline
