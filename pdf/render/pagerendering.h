#pragma once

#include <QImage>
#include <QSize>

class QPdfDocument;

// Renders `page` stretched to exactly `size` pixels on opaque white; Format_RGB32.
// Null image if size is empty/invalid or the page cannot be rendered.
QImage renderPageOnWhite(QPdfDocument &document, int page, QSize size);

// Largest size with pageSize's aspect ratio that fits into box (at least 1x1 per
// side); empty if pageSize is empty.
QSize fitIntoBox(QSize pageSize, QSize box);

// Turns a rendered page (ARGB32, premultiplied or not) into the same pixels that
// drawing it onto white with QPainter gives, in place where possible, and returns
// it as Format_RGB32.
QImage flattenOntoWhite(QImage image);
