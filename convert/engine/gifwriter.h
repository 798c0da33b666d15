#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>

// A single-frame GIF89a of `image` (reduced to at most 256 colours with
// dithering), with the palette as global and local colour map. Returns an
// error text, empty on success.
QString writeGif(const QImage &image, QIODevice &device);
