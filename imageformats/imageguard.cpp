#include "imageguard.h"

#include "bytescanner.h"
#include "tifffile.h"

#include <QtEndian>

#include <cstring>

namespace ImageGuard {
namespace {

// The most pixels one byte of compressed data can stand for. Deflate expands
// at most 1032-fold; an LZW code of 12 bits stands for at most 4096 pixels;
// a Huffman-coded JPEG spends at least one bit on every 8 × 8 block.
constexpr qint64 pngBytesPerByte = 1032;
constexpr qint64 gifPixelsPerByte = 4096;
constexpr qint64 jpegBlocksPerByte = 8;
constexpr qint64 slack = 4096;

// Metadata blocks cost their length and what a decoder keeps per block.
constexpr qint64 blockOverhead = 256;

// Sums metadata blocks; false once the sum passes the limit.
struct MetadataBudget {
    qint64 used = 0;
    bool add(qint64 length)
    {
        used += length + blockOverhead;
        return length <= metadataBlockLimit && used <= metadataLimit;
    }
};

Verdict tooMuchMetadata()
{
    return {Verdict::TooMuchMetadata, {}};
}

quint32 be32(const unsigned char *p)
{
    return qFromBigEndian<quint32>(p);
}

quint16 be16(const unsigned char *p)
{
    return qFromBigEndian<quint16>(p);
}

quint16 le16(const unsigned char *p)
{
    return qFromLittleEndian<quint16>(p);
}

Verdict pngHeader(ByteScanner &s, qint64 limit, qint64 *rawBytes)
{
    unsigned char h[13];
    if (!s.read(h, 13) || !s.skip(4))
        return Verdict::damaged();
    const qint64 w = be32(h), ht = be32(h + 4);
    const int depth = h[8], colour = h[9];
    static constexpr int channels[] = {1, 0, 3, 1, 2, 0, 4};
    if (w == 0 || ht == 0 || w > 0x7fffffff || ht > 0x7fffffff || colour > 6 || channels[colour] == 0)
        return Verdict::damaged();
    *rawBytes = ht * ((w * channels[colour] * depth + 7) / 8 + 1);
    return checkPixels(QSize(int(w), int(ht)), depth > 8 ? 8 : 4, limit);
}

// Walks the chunk table. Ancillary chunks (text, profiles, ...) are what
// decoders read whole into memory: their length must be in the file and
// small. The pixel data may end early; its decoder streams it.
Verdict scanPng(ByteScanner &s, qint64 limit)
{
    s.skip(8);
    unsigned char head[8];
    if (!s.read(head, 8) || be32(head) != 13 || std::memcmp(head + 4, "IHDR", 4) != 0)
        return Verdict::damaged();
    qint64 rawBytes = 0;
    Verdict verdict = pngHeader(s, limit, &rawBytes);
    if (!verdict.accepted())
        return verdict;
    qint64 pixelData = 0;
    MetadataBudget metadata;
    while (s.read(head, 8) && std::memcmp(head + 4, "IEND", 4) != 0) {
        const qint64 length = be32(head);
        // Animation frames (fdAT) are pixel data that decoders skip or stream.
        const bool ancillary = (head[4] & 0x20) && std::memcmp(head + 4, "fdAT", 4) != 0;
        if (ancillary && length + 4 > s.remaining())
            return Verdict::damaged();
        if (ancillary && !metadata.add(length))
            return tooMuchMetadata();
        if (std::memcmp(head + 4, "IDAT", 4) == 0)
            pixelData += length;
        if (!s.skip(qMin(length + 4, s.remaining())))
            break;
    }
    if (pixelData * pngBytesPerByte + slack < rawBytes)
        return Verdict::damaged();
    return verdict;
}

bool isFrameMarker(int marker)
{
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// Walks the segments up to the first scan. Segments must lie within the
// file, metadata (APPn, COM) within its budget, and the scan data must be
// enough for a Huffman-coded frame's blocks.
Verdict scanJpeg(ByteScanner &s, qint64 limit)
{
    s.skip(2);
    Verdict frame = Verdict::damaged();
    bool huffman = true;
    MetadataBudget metadata;
    for (;;) {
        int b = s.byte();
        while (b >= 0 && b != 0xff) // bytes between segments: decoders skip them too
            b = s.byte();
        int marker = s.byte();
        while (marker == 0xff)
            marker = s.byte();
        if (marker < 0 || marker == 0xd9)
            return Verdict::damaged();
        if (marker == 0xd8 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7))
            continue;
        unsigned char len[2];
        if (!s.read(len, 2) || be16(len) < 2 || be16(len) - 2 > s.remaining())
            return Verdict::damaged();
        const qint64 length = be16(len) - 2;
        if (marker == 0xda) {
            if (!frame.accepted())
                return frame;
            const qint64 blocks = qint64(frame.size.width()) * frame.size.height() / 64;
            return !huffman || s.remaining() * jpegBlocksPerByte + slack >= blocks ? frame : Verdict::damaged();
        }
        if (isFrameMarker(marker)) {
            unsigned char sof[5];
            if (length < 6 || !s.read(sof, 5))
                return Verdict::damaged();
            frame = checkPixels(QSize(be16(sof + 3), be16(sof + 1)), 4, limit);
            if (!frame.accepted())
                return frame;
            huffman = marker < 0xc8;
            s.skip(length - 5);
            continue;
        }
        if (((marker >= 0xe0 && marker <= 0xef) || marker == 0xfe) && !metadata.add(length))
            return tooMuchMetadata();
        s.skip(length);
    }
}

// Skips a chain of GIF sub-blocks, adding their sizes; false when the file
// ends inside it.
bool skipSubBlocks(ByteScanner &s, qint64 *total)
{
    for (int n = s.byte(); n > 0; n = s.byte()) {
        *total += n;
        if (!s.skip(qMin<qint64>(n, s.remaining())))
            return false;
    }
    return true;
}

// Qt's reader allocates the logical screen; the first frame's data must be
// enough for the frame it claims.
Verdict scanGif(ByteScanner &s, qint64 limit)
{
    unsigned char h[13];
    if (!s.read(h, 13))
        return Verdict::damaged();
    const QSize screen(le16(h + 6), le16(h + 8));
    if (!screen.isEmpty()) {
        const Verdict verdict = checkPixels(screen, 4, limit);
        if (!verdict.accepted())
            return verdict;
    }
    if (h[10] & 0x80)
        s.skip(3 << ((h[10] & 7) + 1));
    for (int block = s.byte(); block >= 0; block = s.byte()) {
        qint64 data = 0;
        if (block == 0x21 && s.byte() >= 0 && skipSubBlocks(s, &data))
            continue;
        unsigned char d[9];
        if (block != 0x2c || !s.read(d, 9))
            return Verdict::damaged();
        const QSize frame(le16(d + 4), le16(d + 6));
        if (d[8] & 0x80)
            s.skip(3 << ((d[8] & 7) + 1));
        s.byte(); // LZW code size
        skipSubBlocks(s, &data);
        const Verdict verdict = checkPixels(frame, 4, limit);
        if (!verdict.accepted())
            return verdict;
        if (data * gifPixelsPerByte + slack < qint64(frame.width()) * frame.height())
            return Verdict::damaged();
        return checkPixels(screen.isEmpty() ? frame : screen, 4, limit);
    }
    return Verdict::damaged();
}

// The canvas size from the VP8X, VP8 or VP8L chunk; metadata chunks within
// the file and the budget.
Verdict scanWebp(ByteScanner &s, qint64 limit)
{
    s.skip(12);
    QSize size;
    MetadataBudget metadata;
    unsigned char c[18];
    while (s.read(c, 8)) {
        const qint64 length = qFromLittleEndian<quint32>(c + 4);
        const QByteArray type(reinterpret_cast<const char *>(c), 4);
        const qint64 padded = length + (length & 1);
        if (type == "ICCP" || type == "EXIF" || type == "XMP ") {
            if (length > s.remaining())
                return Verdict::damaged();
            if (!metadata.add(length))
                return tooMuchMetadata();
        }
        const qint64 next = s.pos() + padded;
        if (type == "VP8X" && size.isEmpty() && s.read(c, 10))
            size = QSize(int((c[4] | c[5] << 8 | c[6] << 16) + 1), int((c[7] | c[8] << 8 | c[9] << 16) + 1));
        else if (type == "VP8 " && size.isEmpty() && s.read(c, 10))
            size = QSize(le16(c + 6) & 0x3fff, le16(c + 8) & 0x3fff);
        else if (type == "VP8L" && size.isEmpty() && s.read(c, 5) && c[0] == 0x2f) {
            const quint32 bits = qFromLittleEndian<quint32>(c + 1);
            size = QSize(int(bits & 0x3fff) + 1, int((bits >> 14) & 0x3fff) + 1);
        }
        if (next > s.size())
            break;
        s.skip(next - s.pos());
    }
    return checkPixels(size, 4, limit);
}

// ISO boxes at the top level: every box but the media data must lie within
// the file (the container is parsed whole before any pixel is decoded).
Verdict scanBoxes(ByteScanner &s)
{
    unsigned char b[16];
    while (s.read(b, 8)) {
        qint64 length = be32(b);
        const bool mediaData = std::memcmp(b + 4, "mdat", 4) == 0;
        if (length == 1) {
            if (!s.read(b + 8, 8))
                return Verdict::damaged();
            length = qint64(qFromBigEndian<quint64>(b + 8) & 0x7fffffffffffffffULL) - 8;
        }
        if (length == 0)
            break;
        length -= 8;
        if (length < 0 || (length > s.remaining() && !mediaData))
            return Verdict::damaged();
        if (!s.skip(qMin(length, s.remaining())))
            break;
    }
    return {};
}

bool startsWith(const QByteArray &head, const char *magic, int length)
{
    return head.size() >= length && std::memcmp(head.constData(), magic, size_t(length)) == 0;
}

} // namespace

QString Verdict::reason() const
{
    switch (kind) {
    case Accepted:
        return {};
    case Damaged:
        return QStringLiteral("damaged");
    case TooMuchMetadata:
        return QStringLiteral("too large (over %1 MB of metadata)").arg(metadataLimit / (1024 * 1024));
    case TooLarge:
        if (size.isValid())
            return QStringLiteral("too large (%1 × %2 pixels)").arg(size.width()).arg(size.height());
        return QStringLiteral("too large");
    }
    return {};
}

Verdict checkPixels(QSize size, int bytesPerPixel, qint64 limit)
{
    if (size.isEmpty())
        return Verdict::damaged();
    if (qint64(size.width()) * size.height() * bytesPerPixel > limit)
        return Verdict::tooLarge(size);
    return {Verdict::Accepted, size};
}

bool isTiff(QIODevice *device)
{
    const QByteArray head = device->peek(4);
    return head == QByteArrayLiteral("II*\0") || head == QByteArrayLiteral("MM\0*") ||
           head == QByteArrayLiteral("II+\0") || head == QByteArrayLiteral("MM\0+");
}

Verdict inspect(QIODevice *device, qint64 limit)
{
    if (!device || !device->isReadable() || device->isSequential())
        return {};
    if (isTiff(device))
        return TiffFile::inspect(device, limit);
    ByteScanner s(device);
    const QByteArray head = s.head(16);
    if (startsWith(head, "\x89PNG\r\n\x1a\n", 8))
        return scanPng(s, limit);
    if (startsWith(head, "\xff\xd8\xff", 3))
        return scanJpeg(s, limit);
    if (startsWith(head, "GIF8", 4))
        return scanGif(s, limit);
    if (startsWith(head, "RIFF", 4) && head.mid(8, 4) == "WEBP")
        return scanWebp(s, limit);
    if (head.mid(4, 4) == "ftyp")
        return scanBoxes(s);
    return {};
}

} // namespace ImageGuard
