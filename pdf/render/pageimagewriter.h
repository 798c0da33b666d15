#pragma once

#include "pageimageformat.h"

#include <QImage>
#include <QString>

// Encodes a rendered page, flattened onto white on the way (the pixels of
// drawing it onto white with QPainter), and replaces fileName with it atomically:
// on failure any earlier file of that name is left as it was and no partial
// file remains. Returns an empty string on success, otherwise the reason.
// Safe to call from several threads at once.
QString writePageImage(QImage image, PageImageFormat format, const QString &fileName);
