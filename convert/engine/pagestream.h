#pragma once

#include <QByteArray>
#include <QImageIOHandler>
#include <QSize>
#include <QString>

// One page picture, compressed and ready for the PDF. The picture is drawn at
// one device pixel per image pixel, turned upright by `orientation` on the
// page; an empty size is a blank page.
struct PageStream {
    bool readable = false; // false: the source could not be read (the page is blank)
    QString failure;       // why not, where the reader says
    QSize size;            // as stored, before the turn
    QImageIOHandler::Transformations orientation = QImageIOHandler::TransformationNone;
    int components = 3; // 1: gray, 3: RGB
    QByteArray dct;     // JPEG data, embedded as it is
    QByteArray alpha;   // zlib stream of 8-bit alpha; empty when the picture is opaque

    qint64 bytes() const { return dct.size() + alpha.size(); }
};
