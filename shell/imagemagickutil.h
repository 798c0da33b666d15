#pragma once

#include <QImage>
#include <QString>

namespace ImageMagickUtil {
// Reads any image Qt has a plug-in for, turned upright by its stored
// orientation, through GuardedImageReader. False (image untouched) for
// anything but a readable image file within the allocation limit.
// Safe to call from worker threads.
bool loadImage(const QString &path, QImage &image);
} // namespace ImageMagickUtil
