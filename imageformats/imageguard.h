#pragma once

#include <QIODevice>
#include <QSize>
#include <QString>

// What an image file claims about itself, checked before a decoder sees it.
// Decoders allocate by a file's own claims (a chunk's length, the picture's
// size) before the data is there, so a few hostile bytes could cost a
// gigabyte; these checks read only headers and chunk tables.
namespace ImageGuard {

// A picture whose pixels would need more than this is refused.
inline constexpr int allocationLimitMB = 256;
inline constexpr qint64 allocationLimit = qint64(allocationLimitMB) * 1024 * 1024;
// Text, profiles and EXIF together, counted with a per-block overhead.
inline constexpr qint64 metadataLimit = 16 * 1024 * 1024;
// A single metadata block (a PNG text chunk, say).
inline constexpr qint64 metadataBlockLimit = 8 * 1024 * 1024;

struct Verdict {
    enum Kind { Accepted, TooLarge, TooMuchMetadata, Damaged };
    Kind kind = Accepted;
    QSize size; // the pixel size the file claims, where it was read

    bool accepted() const { return kind == Accepted; }
    // Why the file is refused, for a sentence after "it is": "too large (W × H
    // pixels)", "too large (over 16 MB of metadata)" or "damaged"; empty when accepted.
    QString reason() const;

    static Verdict tooLarge(QSize size = {}) { return {TooLarge, size}; }
    static Verdict damaged() { return {Damaged, {}}; }
};

// Accepted when `size` at `bytesPerPixel` fits within `limit`; too large (with
// the size) otherwise. An empty size is damaged.
Verdict checkPixels(QSize size, int bytesPerPixel, qint64 limit);

// Walks the headers and chunk tables of the image on `device` (PNG, JPEG, GIF,
// WEBP, TIFF, HEIF/AVIF), reading no pixel data, and puts the device back
// where it was. Formats it does not know are accepted: their decoders decide.
Verdict inspect(QIODevice *device, qint64 limit = allocationLimit);

// True when the device starts like a TIFF file (either byte order, classic or big).
bool isTiff(QIODevice *device);

} // namespace ImageGuard
