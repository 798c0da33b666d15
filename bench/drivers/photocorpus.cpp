#include "photocorpus.h"
#include "softshapes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

namespace PhotoCorpus {
namespace {

// An APP1 segment holding a little-endian TIFF with one IFD entry: the orientation.
QByteArray exifOrientation(quint16 orientation)
{
    const char segment[] = {'\xFF',
                            '\xE1',
                            0,
                            34,
                            'E',
                            'x',
                            'i',
                            'f',
                            0,
                            0,
                            'I',
                            'I',
                            42,
                            0,
                            8,
                            0,
                            0,
                            0,
                            1,
                            0,
                            0x12,
                            0x01,
                            3,
                            0,
                            1,
                            0,
                            0,
                            0,
                            char(orientation),
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0};
    return QByteArray(segment, sizeof segment);
}

QImage photo(QRandomGenerator &random)
{
    // Smooth light and colour fields with soft shapes, then sensor-like grain
    // from a small noise tile, so the JPEGs compress like camera pictures.
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 3000);
    sky.setColorAt(0, QColor::fromHsv(random.bounded(360), 80 + random.bounded(100), 200));
    sky.setColorAt(1, QColor::fromHsv(random.bounded(360), 120, 90 + random.bounded(80)));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing);
    SoftShapes::paint(painter, random, image.size(), 40, 100, 700);
    QImage grain(256, 256, QImage::Format_ARGB32);
    for (int y = 0; y < 256; ++y) {
        auto *line = reinterpret_cast<QRgb *>(grain.scanLine(y));
        for (int x = 0; x < 256; ++x) {
            const int v = random.bounded(256);
            line[x] = qRgba(v, v, v, 40);
        }
    }
    painter.setBrush(QBrush(grain));
    painter.setBrushOrigin(random.bounded(256), random.bounded(256));
    painter.drawRect(image.rect());
    return image;
}

} // namespace

bool write(const QString &folder, int count)
{
    QDir().mkpath(folder);
    QRandomGenerator random(20261208);
    for (int i = 0; i < count; ++i) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(90);
        if (!writer.write(photo(random)))
            return false;
        QByteArray jpeg = buffer.data();
        if (i % 5 == 0)
            jpeg.insert(2, exifOrientation(6));
        QFile file(QDir(folder).filePath(QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size())
            return false;
    }
    return true;
}

} // namespace PhotoCorpus
