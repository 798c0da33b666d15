#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace SourceImageLoader {

// Decoding refuses images whose pixels would need more than this.
inline constexpr int allocationLimitMB = 256;

// The size of the image upright, read from its header; invalid when the file
// is no readable image or too large to decode. `format` receives the detected
// format ("jpeg", "png", ...).
QSize uprightSize(const QString &path, QByteArray *format = nullptr);

// Decodes `path` upright. A non-empty `atLeast` lets a JPEG decode at 1/2, 1/4
// or 1/8 of its size (in the DCT, much faster) as long as the result stays at
// least that large; the caller scales the rest of the way. False for anything
// but a readable image within the allocation limit.
bool load(const QString &path, QImage &image, const QSize &atLeast = QSize());

// Paths are compared as the file system compares them: ignoring case where
// names are case-insensitive (Windows, macOS), exactly elsewhere.
bool samePath(const QString &a, const QString &b);

} // namespace SourceImageLoader
