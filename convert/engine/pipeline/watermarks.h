#pragma once

#include "convertsettings.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

namespace Watermarks {

// Top-left corner of a `watermark` on an `overlay` at `position` 0..8 with
// `margin` on the sides it is aligned to; false for an unknown position.
bool placement(const QSize &overlay, const QSize &watermark, int position, int margin, QPoint *topLeft);

// True when the settings draw at least one watermark, so an overlay is worth making.
bool any(const ConvertSettings &settings);

// Paints the text, image and QR code watermarks onto `overlay`, in that order.
void drawWatermarks(QImage &overlay, const ConvertSettings &settings);

// A white `size` x `size` image with the QR symbol of `text` and a one-module
// quiet zone; a null image when the text does not fit the largest symbol.
QImage makeQrImage(const QString &text, int size);

} // namespace Watermarks
