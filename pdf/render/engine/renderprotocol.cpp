#include "renderprotocol.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace RenderProtocol {

namespace {

constexpr int headerSize = 5;

bool readExactly(QIODevice &device, char *data, qint64 size)
{
    while (size > 0) {
        const qint64 got = device.read(data, size);
        if (got <= 0)
            return false;
        data += got;
        size -= got;
    }
    return true;
}

} // namespace

QByteArray encode(quint8 type, const QByteArray &body)
{
    QByteArray bytes(headerSize, Qt::Uninitialized);
    qToLittleEndian<quint32>(quint32(body.size() + 1), bytes.data());
    bytes[4] = char(type);
    bytes += body;
    return bytes;
}

QByteArray openBody(const QString &path, const QString &password)
{
    QByteArray body;
    QDataStream stream(&body, QIODevice::WriteOnly);
    stream << path << password;
    return body;
}

void FrameReader::append(const QByteArray &bytes)
{
    if (offset > 0 && offset == buffer.size()) {
        buffer.clear();
        offset = 0;
    }
    buffer += bytes;
}

bool FrameReader::next(Frame &frame)
{
    if (corrupt || buffer.size() - offset < headerSize)
        return false;
    const quint32 length = qFromLittleEndian<quint32>(buffer.constData() + offset);
    if (length == 0 || length > maxFrameSize) {
        corrupt = true;
        return false;
    }
    if (buffer.size() - offset < 4 + qsizetype(length))
        return false;
    frame.type = quint8(buffer.at(offset + 4));
    frame.body = buffer.mid(offset + headerSize, length - 1);
    offset += 4 + length;
    // Drop what has been consumed once it outweighs what is left.
    if (offset > buffer.size() / 2) {
        buffer.remove(0, offset);
        offset = 0;
    }
    return true;
}

bool readFrame(QIODevice &device, Frame &frame)
{
    char header[headerSize];
    if (!readExactly(device, header, headerSize))
        return false;
    const quint32 length = qFromLittleEndian<quint32>(header);
    if (length == 0 || length > maxFrameSize)
        return false;
    frame.type = quint8(header[4]);
    frame.body.resize(length - 1);
    return readExactly(device, frame.body.data(), frame.body.size());
}

void writeImage(QDataStream &stream, const QImage &image)
{
    stream << qint32(image.width()) << qint32(image.height()) << qint32(image.format()) << qint64(image.bytesPerLine());
    if (!image.isNull())
        stream.writeRawData(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
}

QImage readImage(QDataStream &stream)
{
    qint32 width = 0;
    qint32 height = 0;
    qint32 format = 0;
    qint64 stride = 0;
    stream >> width >> height >> format >> stride;
    if (width <= 0 || height <= 0 || format <= QImage::Format_Invalid || format >= QImage::NImageFormats)
        return {};
    QImage image(width, height, QImage::Format(format));
    if (image.isNull() || image.bytesPerLine() != stride)
        return {};
    if (stream.readRawData(reinterpret_cast<char *>(image.bits()), int(image.sizeInBytes())) !=
        int(image.sizeInBytes()))
        return {};
    return image;
}

} // namespace RenderProtocol
