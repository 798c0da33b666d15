#pragma once

#include <QImage>
#include <QString>

namespace ImageMagickUtil {
// The program's one loader of a user's image: any image Qt has a plug-in for,
// through the guarded reader, turned upright by its stored orientation and
// converted to sRGB. False (image untouched) for anything but a readable image
// file; `failure` then says why where the reader can ("damaged", "too large
// (...)"). Safe to call from worker threads.
bool loadImage(const QString &path, QImage &image, QString *failure = nullptr);

// Turns the pixels of a picture tagged with another colour space (a camera's
// Display P3, an ICC profile) into sRGB values, the space screens and PDF
// pages take untagged pixels in. Untagged pictures count as sRGB already.
void convertToSrgb(QImage &image);
} // namespace ImageMagickUtil
