#pragma once

#include "pageimageformat.h"

#include <QImage>
#include <QString>

// Encodes a rendered page, flattened onto white on the way (the pixels of
// drawing it onto white with QPainter), and replaces fileName with it atomically:
// on failure any earlier file of that name is left as it was and no partial
// file remains. The page is written first to pageTemporaryFileName(fileName),
// which must not exist, so that whoever kills a writer knows the one file to
// remove. Returns an empty string on success, otherwise the reason. Safe to
// call from several threads at once.
QString writePageImage(QImage image, PageImageFormat format, const QString &fileName);
QString pageTemporaryFileName(const QString &fileName);
