#include "hostileimages.h"

#include <QtEndian>

#include <zlib.h>

namespace HostileImages {
namespace {

QByteArray be32(quint32 v)
{
    QByteArray b(4, Qt::Uninitialized);
    qToBigEndian(v, b.data());
    return b;
}

QByteArray le16(quint16 v)
{
    QByteArray b(2, Qt::Uninitialized);
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray be16(quint16 v)
{
    QByteArray b(2, Qt::Uninitialized);
    qToBigEndian(v, b.data());
    return b;
}

// A chunk whose length field says `claimed` while `data` follows.
QByteArray pngChunk(const char *type, const QByteArray &data, quint32 claimed)
{
    const QByteArray body = QByteArray(type, 4) + data;
    const auto crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size())));
    return be32(claimed) + body + be32(crc);
}

QByteArray pngHeader(quint32 width, quint32 height)
{
    const QByteArray ihdr = be32(width) + be32(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr, 13);
}

// 57 bytes: a 1 × 1 picture, then a chunk claiming a gigabyte.
QByteArray pngHugeChunk(const QByteArray &type)
{
    return pngHeader(1, 1) + be32(0x40000000) + type + QByteArray(12, 'a') + be32(0);
}

QByteArray pngWithoutData()
{
    return pngHeader(8000, 8000) + pngChunk("IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8), 8) +
           pngChunk("IEND", {}, 0);
}

// A little-endian TIFF of one 8-bit grey strip of four bytes.
QByteArray tiff(quint32 width, quint32 height)
{
    struct Entry {
        quint16 tag, type;
        quint32 value;
    };
    const Entry entries[] = {{256, 4, width}, {257, 4, height}, {258, 3, 8},  {259, 3, 1}, {262, 3, 1},
                             {273, 4, 8},     {277, 3, 1},      {278, 4, height}, {279, 4, 4}};
    QByteArray file("II*\0", 4);
    QByteArray offset(4, Qt::Uninitialized);
    qToLittleEndian<quint32>(12, offset.data());
    file += offset + QByteArray(4, '\x80') + le16(quint16(std::size(entries)));
    for (const Entry &e : entries) {
        QByteArray entry(12, '\0');
        qToLittleEndian(e.tag, entry.data());
        qToLittleEndian(e.type, entry.data() + 2);
        qToLittleEndian<quint32>(1, entry.data() + 4);
        if (e.type == 3)
            qToLittleEndian(quint16(e.value), entry.data() + 8);
        else
            qToLittleEndian(e.value, entry.data() + 8);
        file += entry;
    }
    return file + QByteArray(4, '\0');
}

QByteArray gif(quint16 width, quint16 height)
{
    return "GIF89a" + le16(width) + le16(height) + QByteArray("\x80\x00\x00\x00\x00\x00\xff\xff\xff,", 10) +
           le16(0) + le16(0) + le16(width) + le16(height) + QByteArray("\x00\x02\x02\x44\x01\x00;", 7);
}

// Sixty megabytes of EXIF segments before the picture.
QByteArray jpegMetadata()
{
    const QByteArray segment = QByteArray("\xff\xe1", 2) + be16(0xffff) + QByteArray("Exif\0\0", 6) +
                               QByteArray(0xffff - 2 - 6, '\0');
    QByteArray file("\xff\xd8", 2);
    file.reserve(60 * 1024 * 1024 + 4096);
    while (file.size() < 60 * 1024 * 1024)
        file += segment;
    return file + QByteArray("\xff\xd9", 2);
}

QByteArray jpegWithoutData()
{
    const QByteArray sof = QByteArray("\xff\xc0", 2) + be16(11) + QByteArray("\x08", 1) + be16(8000) + be16(8000) +
                           QByteArray("\x01\x01\x11\x00", 4);
    const QByteArray sos = QByteArray("\xff\xda", 2) + be16(8) + QByteArray("\x01\x01\x00\x00\x3f\x00", 6);
    return QByteArray("\xff\xd8", 2) + sof + sos + QByteArray(16, '\0') + QByteArray("\xff\xd9", 2);
}

QByteArray webpCanvas()
{
    QByteArray vp8x("VP8X\x0a\x00\x00\x00\x00\x00\x00\x00", 12);
    vp8x += QByteArray("\xff\x3f\x00\xff\x3f\x00", 6); // 16384 × 16384
    return "RIFF" + QByteArray("\x16\x00\x00\x00", 4) + "WEBP" + vp8x;
}

// A file-type box, then a metadata box claiming a gigabyte.
QByteArray heifBox()
{
    return be32(24) + "ftypheic" + be32(0) + "mif1heic" + be32(0x40000000) + "meta" + QByteArray(8, '\0');
}

struct Kind {
    const char *name;
    QByteArray (*make)();
    const char *reason;
};

const Kind table[] = {
    {"png-tEXt", [] { return pngHugeChunk("tEXt"); }, "damaged"},
    {"png-zTXt", [] { return pngHugeChunk("zTXt"); }, "damaged"},
    {"png-iTXt", [] { return pngHugeChunk("iTXt"); }, "damaged"},
    {"png-pCAL", [] { return pngHugeChunk("pCAL"); }, "damaged"},
    {"png-sCAL", [] { return pngHugeChunk("sCAL"); }, "damaged"},
    {"png-sPLT", [] { return pngHugeChunk("sPLT"); }, "damaged"},
    {"png-iCCP", [] { return pngHugeChunk("iCCP"); }, "damaged"},
    {"png-eXIf", [] { return pngHugeChunk("eXIf"); }, "damaged"},
    {"png-pixels", [] { return pngHeader(30000, 30000) + pngChunk("IEND", {}, 0); }, "too large (30000 × 30000 pixels)"},
    {"png-nodata", pngWithoutData, "damaged"},
    {"tiff-pixels", [] { return tiff(60000, 60000); }, "too large (60000 × 60000 pixels)"},
    {"tiff-nodata", [] { return tiff(8000, 8000); }, "damaged"},
    {"gif-pixels", [] { return gif(65535, 65535); }, "too large (65535 × 65535 pixels)"},
    {"gif-nodata", [] { return gif(8000, 8000); }, "damaged"},
    {"jpeg-app", jpegMetadata, "too large (over 16 MB of metadata)"},
    {"jpeg-nodata", jpegWithoutData, "damaged"},
    {"webp-pixels", webpCanvas, "too large (16384 × 16384 pixels)"},
    {"heif-box", heifBox, "damaged"},
};

const Kind *find(const QString &name)
{
    for (const Kind &kind : table)
        if (name == QLatin1String(kind.name))
            return &kind;
    return nullptr;
}

} // namespace

QStringList kinds()
{
    QStringList names;
    for (const Kind &kind : table)
        names << QLatin1String(kind.name);
    return names;
}

QByteArray make(const QString &kind)
{
    const Kind *k = find(kind);
    return k ? k->make() : QByteArray();
}

QString expectedReason(const QString &kind)
{
    const Kind *k = find(kind);
    return k ? QString::fromUtf8(k->reason) : QString();
}

} // namespace HostileImages
