#pragma once

#include <QByteArray>
#include <QImage>

class QDataStream;
class QIODevice;

// Frames between the program and its render workers: a 32-bit little-endian
// length, a type byte and a body written with QDataStream. Every request and
// reply body starts with the requester's 32-bit tag (except Open/Opened/Close).
namespace RenderProtocol {

enum Command : quint8 {
    Open = 1,   // QString path, QString password    -> Opened
    Render = 2, // tag, page, QSize box              -> Begin, Image
    Export = 3, // tag, page, QString fileName, format, scale index,
                // qint64 byte budget, encoder threads -> Begin, Exported
    Close = 4,  // closes the document, keeps the worker
    Thumbnail = 5, // tag, page, QSize box              -> Begin, Encoded
    Index = 6,     // qint32 page: finds where pages up to it lie -> Indexed
};

enum Reply : quint8 {
    Opened = 101,   // bool loaded, qint32 pageCount, QSize first page size in points,
                    // qint32 QPdfDocument::Error of the load
    Begin = 102,    // tag: the worker starts on this request
    Image = 103,    // tag, image (null if the page could not be drawn)
    Exported = 104, // tag, QString reason (empty: written)
    Encoded = 105,  // tag, QByteArray: the page as encodeThumbnail() writes it
                    // (empty if the page could not be drawn)
    Indexed = 106,  // qint32 page: the last page found
};

struct Frame {
    quint8 type = 0;
    QByteArray body;
};

// Larger frames are refused: nothing legitimate comes near it.
inline constexpr qint64 maxFrameSize = qint64(1) << 30;

QByteArray encode(quint8 type, const QByteArray &body);

// The body of an Open request. The password travels only here, never on a
// command line, in the environment or in a file.
QByteArray openBody(const QString &path, const QString &password);

// Accumulates bytes from a pipe and cuts them into frames.
class FrameReader
{
public:
    void append(const QByteArray &bytes);
    // False when no whole frame is buffered yet.
    bool next(Frame &frame);
    // A length beyond maxFrameSize: the stream cannot be trusted any more.
    bool isCorrupt() const { return corrupt; }

private:
    QByteArray buffer;
    qsizetype offset = 0;
    bool corrupt = false;
};

// Blocking read of one frame; false at end of input or on a broken frame.
bool readFrame(QIODevice &device, Frame &frame);

// Raw pixels with their geometry, no compression: pages cross a pipe, not a disk.
void writeImage(QDataStream &stream, const QImage &image);
QImage readImage(QDataStream &stream);

} // namespace RenderProtocol
