#include "imagepipeline.h"
#include "imagescaling.h"
#include "pagepreparation.h"
#include "sourceimageloader.h"
#include "testenvironment.h"
#include "testimages.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// Grain over a gradient, as in photos: smooth pictures hide where a JPEG's
// blocks fall.
QImage grainyPicture(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int base = 40 + 170 * x / size.width();
            auto grain = [&](int value) { return qBound(0, value + int(random.bounded(96)) - 48, 255); };
            row[x] = qRgb(grain(base), grain(255 - base), grain(40 + 170 * y / size.height()));
        }
    }
    return image;
}

QByteArray jpegOf(const QImage &image, int quality)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    return writer.write(image) ? data : QByteArray();
}

double psnr(const QImage &a, const QImage &b)
{
    double squares = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int d[] = {qRed(p[x]) - qRed(q[x]), qGreen(p[x]) - qGreen(q[x]), qBlue(p[x]) - qBlue(q[x])};
            squares += d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        }
    }
    const double samples = 3.0 * a.width() * a.height();
    return 10 * std::log10(255.0 * 255.0 * samples / std::max(squares, 1e-9));
}

} // namespace

class TestPagePreparation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void turnedPhotosLookAsDrawnUpright_data();
    void turnedPhotosLookAsDrawnUpright();

private:
    QTemporaryDir m_dir;
};

void TestPagePreparation::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
}

void TestPagePreparation::turnedPhotosLookAsDrawnUpright_data()
{
    QTest::addColumn<int>("orientation"); // the EXIF value
    QTest::addColumn<bool>("gray");
    for (int value = 1; value <= 8; ++value)
        QTest::addRow("orientation %d", value) << value << false;
    QTest::newRow("gray, orientation 6") << 6 << true;
    QTest::newRow("gray, orientation 7") << 7 << true;
}

// The page picture, shown as the page shows it, against the same photo drawn
// the plain way: decoded upright, smoothly shrunk, compressed at the same
// quality. Page sizes that are no multiple of 16 make a JPEG compressed in
// another orientation put its blocks elsewhere (35 to 40 dB here).
void TestPagePreparation::turnedPhotosLookAsDrawnUpright()
{
    QFETCH(int, orientation);
    QFETCH(bool, gray);
    QImage picture = grainyPicture(QSize(1000, 750));
    if (gray)
        picture.convertTo(QImage::Format_Grayscale8);
    const QByteArray jpeg = TestImages::withOrientation(jpegOf(picture, 95), orientation);
    const QString path = m_dir.filePath(QStringLiteral("photo%1%2.jpg").arg(orientation).arg(gray ? "gray" : ""));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
    file.close();
    const QSize printable(603, 851);

    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage upright = reader.read();
    const QSize pageSize = ImageScaling::pageFitSize(upright.size(), printable, false);
    const QImage plain =
        QImage::fromData(jpegOf(upright.scaled(pageSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 94), "jpeg");

    ImagePipeline::clearCache();
    const PageStream page = PagePreparation::preparePage(path, ConvertSettings(), printable);
    QVERIFY(page.readable);
    const QImage shown = SourceImageLoader::turnedUpright(QImage::fromData(page.dct, "jpeg"), page.orientation)
                             .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), pageSize);
    const double db = psnr(shown, plain.convertToFormat(QImage::Format_RGB32));
    QVERIFY2(db >= 41, qPrintable(QStringLiteral("%1 dB").arg(db, 0, 'f', 1)));
}

QTEST_GUILESS_MAIN(TestPagePreparation)
#include "tst_pagepreparation.moc"
