#pragma once

#include <QByteArray>
#include <QColorSpace>
#include <QImage>
#include <QSize>

namespace JpegDecoder {

struct Header {
    QSize size;             // as stored, without its orientation
    int components = 0;     // 1: gray, 3: colour
    bool plain = false;     // 8-bit gray or YCbCr, Huffman-coded: what every PDF reader takes unchanged
    QColorSpace colorSpace; // of an embedded ICC profile; invalid without one
};

// The header of the JPEG in `data`; false for anything libjpeg cannot read.
bool readHeader(const QByteArray &data, Header *header);

// The smallest size of the form stored × n/8 that still covers `atLeast`:
// the inverse DCT then does most of the shrinking.
QSize decodedSize(const QSize &stored, const QSize &atLeast);

// Decodes the JPEG in `data` (as stored, without its orientation) straight
// into 32-bit pixels at decodedSize(). The pixels go into `image` (RGB32 or
// Grayscale8, with the colour space of an embedded ICC profile), reusing its
// memory when it already has that size and format. False for anything
// libjpeg cannot decode this way (the caller falls back to Qt's reader) or
// for more than `limitBytes` of pixels.
bool decodeScaled(const QByteArray &data, const QSize &atLeast, qint64 limitBytes, QImage &image);

} // namespace JpegDecoder
