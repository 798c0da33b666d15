#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

class QPdfDocument;

// Renders `page` stretched to exactly `size` pixels, as the engine gives it:
// transparent where the page paints nothing. Null image if size is
// empty/invalid or the page cannot be rendered.
QImage renderPage(QPdfDocument &document, int page, QSize size);
// The same on opaque white; Format_RGB32.
QImage renderPageOnWhite(QPdfDocument &document, int page, QSize size);

// A page picture (of a flattenable format) in the compressed form page lists
// keep: on white, as a JPEG of about 5 KB at 141 x 200. Empty for a null image.
QByteArray encodeThumbnail(QImage image);

// Largest size with pageSize's aspect ratio that fits into box (at least 1x1 per
// side); empty if pageSize is empty.
QSize fitIntoBox(QSize pageSize, QSize box);

// Whether flattenRowOntoWhite() takes rows of this format: RGB32 and ARGB32,
// premultiplied or not.
bool isFlattenable(QImage::Format format);

// Flattens one row of a page of a flattenable format in place; afterwards the
// row holds RGB32 pixels. Encoders call it row by row as they go, so a page
// is read once instead of once for flattening and once for encoding.
void flattenRowOntoWhite(QRgb *row, int width, QImage::Format format);

// Turns a rendered page (ARGB32, premultiplied or not) into the same pixels that
// drawing it onto white with QPainter gives, in place where possible, and returns
// it as Format_RGB32.
QImage flattenOntoWhite(QImage image);
