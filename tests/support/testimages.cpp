#include "testimages.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>

namespace TestImages {

QByteArray sidewaysJpeg()
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);

    return withOrientation(jpeg, 6);
}

QByteArray withOrientation(const QByteArray &jpeg, int orientation)
{
    QByteArray tiff("MM\0*\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01", 2);                     // one entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01\0", 9); // Orientation, SHORT, 1
    tiff += char(orientation) + QByteArray(2, '\0');     // its value, padded
    tiff += QByteArray(4, '\0');                         // no next IFD
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    const quint16 length = qToBigEndian<quint16>(quint16(exif.size() + 2));
    app1 += QByteArray(reinterpret_cast<const char *>(&length), 2) + exif;
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

} // namespace TestImages
