#pragma once

#include "pageimageformat.h"

#include <QImage>
#include <QString>

// Encodes a Format_RGB32 page image and replaces fileName with it atomically:
// on failure any earlier file of that name is left as it was and no partial
// file remains. Returns an empty string on success, otherwise the reason.
// Safe to call from several threads at once.
QString writePageImage(const QImage &image, PageImageFormat format, const QString &fileName);
