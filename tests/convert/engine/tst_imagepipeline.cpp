#include "imageadjustments.h"
#include "imagepipeline.h"
#include "imagescaling.h"
#include "sourceimageloader.h"
#include "testenvironment.h"
#include "testimages.h"
#include "watermarks.h"

#include <QApplication>
#include <QBuffer>
#include <QColorSpace>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsBlurEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>

namespace {

QImage pixels(QImage::Format format, std::initializer_list<QRgb> values)
{
    QImage image(int(values.size()), 1, format);
    int x = 0;
    for (QRgb value : values)
        image.setPixel(x++, 0, value);
    return image;
}

AdjustmentRule rule(int kind, QVariant value = QVariant())
{
    AdjustmentRule r;
    r.ruleIndex = kind;
    r.ruleValues[0] = value;
    return r;
}

// The bounding box of the pixels that are not fully transparent.
QRect paintedRect(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestImagePipeline : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void adjustmentPixels_data();
    void adjustmentPixels();
    void adjustmentOrderMatters();
    void blurSpreadsIntoTransparency();
    void blurLooksAsTheGraphicsViewEffect_data();
    void blurLooksAsTheGraphicsViewEffect();
    void scaledSize_data();
    void scaledSize();
    void pageFit_data();
    void pageFit();
    void placement_data();
    void placement();
    void imageWatermarkIsScaledAndPlaced();
    void textWatermarkFollowsOpacity();
    void qrCodeModules();
    void qrTextOverCapacityDrawsNothing();
    void watermarkAndScalingAndRulesInOrder();
    void indexedSourcesPassUnchanged();
    void cacheFollowsFileSystemCase();
    void editedSourceIsReadAgain_data();
    void editedSourceIsReadAgain();
    void pagePicturesAreInSrgb_data();
    void pagePicturesAreInSrgb();
    void refusesImagesOverTheAllocationLimit_data();
    void refusesImagesOverTheAllocationLimit();
    void reducedJpegDecodeGivesTheSamePage();
    void reducedJpegDecodeTurnsUpright();
    void grayscaleJpegStaysGray();

private:
    QString writeImage(const QString &name, const QImage &image);
    QTemporaryDir m_dir;
};

void TestImagePipeline::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
}

QString TestImagePipeline::writeImage(const QString &name, const QImage &image)
{
    const QString path = m_dir.filePath(name);
    if (!image.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestImagePipeline::adjustmentPixels_data()
{
    QTest::addColumn<QImage>("input");
    QTest::addColumn<QList<AdjustmentRule>>("rules");
    QTest::addColumn<QImage>("expected");

    const auto argb = QImage::Format_ARGB32;
    const auto rgb = QImage::Format_RGB32;
    QTest::newRow("contrast 255 thresholds at 128")
        << pixels(rgb, {qRgb(127, 128, 129), qRgb(0, 200, 255)}) << QList{rule(2, 255)}
        << pixels(rgb, {qRgb(0, 128, 255), qRgb(0, 255, 255)});
    QTest::newRow("contrast from the menu keeps colours, drops alpha")
        << pixels(argb, {qRgba(10, 20, 30, 255), qRgba(200, 100, 50, 0)}) << QList{rule(2)}
        << pixels(rgb, {qRgb(10, 20, 30), qRgb(200, 100, 50)});
    QTest::newRow("brightness -255 black and opaque")
        << pixels(argb, {qRgba(255, 255, 255, 0), qRgba(90, 180, 250, 128)}) << QList{rule(3, -255)}
        << pixels(rgb, {qRgb(0, 0, 0), qRgb(0, 0, 0)});
    QTest::newRow("brightness 100 clamps")
        << pixels(rgb, {qRgb(10, 155, 200)}) << QList{rule(3, 100)} << pixels(rgb, {qRgb(110, 255, 255)});
    QTest::newRow("invert 128 mirrors below 128")
        << pixels(rgb, {qRgb(0, 127, 128), qRgb(255, 1, 200)}) << QList{rule(5, 128)}
        << pixels(rgb, {qRgb(255, 128, 128), qRgb(255, 254, 200)});
    QTest::newRow("invert 255 keeps 255")
        << pixels(rgb, {qRgb(0, 254, 255)}) << QList{rule(5, 255)} << pixels(rgb, {qRgb(255, 1, 255)});
    QTest::newRow("gamma 0 keeps the table ends")
        << pixels(rgb, {qRgb(0, 255, 0)}) << QList{rule(4, 0)} << pixels(rgb, {qRgb(0, 255, 0)});
    QTest::newRow("gamma -100 very dark")
        << pixels(rgb, {qRgb(128, 254, 255)}) << QList{rule(4, -100)} << pixels(rgb, {qRgb(0, 172, 255)});
    QTest::newRow("gamma 1000 very light")
        << pixels(rgb, {qRgb(128, 1, 0)}) << QList{rule(4, 1000)} << pixels(rgb, {qRgb(239, 154, 0)});
    QTest::newRow("gamma below -100 leaves the image")
        << pixels(argb, {qRgba(1, 2, 3, 4)}) << QList{rule(4, -101)} << pixels(argb, {qRgba(1, 2, 3, 4)});
    QTest::newRow("sepia constants") << pixels(rgb, {qRgb(100, 150, 200), qRgb(255, 255, 255)}) << QList{rule(1)}
                                     << pixels(rgb, {qRgb(192, 171, 133), qRgb(255, 255, 238)});
    QImage gray(1, 1, QImage::Format_Grayscale8);
    gray.setPixel(0, 0, qRgb(255, 255, 255));
    QTest::newRow("grayscale drops alpha") << pixels(argb, {qRgba(255, 255, 255, 0)}) << QList{rule(0)} << gray;
    QTest::newRow("unknown kind skipped")
        << pixels(rgb, {qRgb(1, 2, 3)}) << QList{rule(7, 50)} << pixels(rgb, {qRgb(1, 2, 3)});
}

void TestImagePipeline::adjustmentPixels()
{
    QFETCH(QImage, input);
    QFETCH(QList<AdjustmentRule>, rules);
    QFETCH(QImage, expected);
    const QImage result = applyAdjustments(input, rules);
    QCOMPARE(result.format(), expected.format());
    for (int x = 0; x < expected.width(); ++x)
        QCOMPARE(QColor::fromRgba(result.pixel(x, 0)), QColor::fromRgba(expected.pixel(x, 0)));
}

void TestImagePipeline::adjustmentOrderMatters()
{
    const QImage input = pixels(QImage::Format_RGB32, {qRgb(40, 160, 90)});
    const QColor graySepia = applyAdjustments(input, {rule(0), rule(1)}).pixelColor(0, 0);
    const QColor sepiaGray = applyAdjustments(input, {rule(1), rule(0)}).pixelColor(0, 0);
    QVERIFY(graySepia.red() > graySepia.green() && graySepia.green() > graySepia.blue());
    QVERIFY(sepiaGray.red() == sepiaGray.green() && sepiaGray.green() == sepiaGray.blue());
}

void TestImagePipeline::blurSpreadsIntoTransparency()
{
    QImage input(40, 40, QImage::Format_RGB32);
    input.fill(Qt::white);
    const QImage result = applyAdjustments(input, {rule(6, 5)});
    QCOMPARE(result.size(), input.size());
    QVERIFY(qAlpha(result.pixel(20, 20)) > 245);
    QVERIFY(qAlpha(result.pixel(0, 20)) < 200);
}

void TestImagePipeline::blurLooksAsTheGraphicsViewEffect_data()
{
    QTest::addColumn<int>("radius");
    for (int radius : {0, 1, 2, 5, 12})
        QTest::addRow("radius %d", radius) << radius;
}

// The blur runs on workers now; it must still look as the effect that needs
// the GUI thread, margin fading included.
void TestImagePipeline::blurLooksAsTheGraphicsViewEffect()
{
    QFETCH(int, radius);
    QImage input(61, 37, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < input.height(); ++y)
        for (int x = 0; x < input.width(); ++x)
            input.setPixel(x, y, x < 30 ? random.generate() | 0xff000000u : qRgb(255, 255, 255));

    QImage reference(input.size(), QImage::Format_ARGB32);
    if (radius > 0) {
        QGraphicsScene scene;
        auto *item = new QGraphicsPixmapItem(QPixmap::fromImage(input));
        auto *effect = new QGraphicsBlurEffect;
        effect->setBlurRadius(radius);
        item->setGraphicsEffect(effect);
        scene.addItem(item);
        reference.fill(Qt::transparent);
        QPainter painter(&reference);
        scene.render(&painter, QRectF(), QRectF(0, 0, input.width(), input.height()));
    } else {
        reference = input;
    }

    const QImage result = applyAdjustments(input, {rule(6, radius)}).convertToFormat(reference.format());
    QCOMPARE(result.size(), reference.size());
    int worst = 0;
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            const QRgb a = result.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
        }
    }
    QVERIFY2(worst <= 2, qPrintable(QStringLiteral("largest difference %1").arg(worst)));
}

void TestImagePipeline::scaledSize_data()
{
    QTest::addColumn<QSize>("input");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("relativeTo");
    QTest::addColumn<int>("value");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("relative width, larger") << QSize(3840, 2160) << 2 << 0 << 1920 << QSize(1920, 1080);
    QTest::newRow("relative width, smaller") << QSize(1000, 500) << 2 << 0 << 1920 << QSize(1920, 960);
    QTest::newRow("relative height") << QSize(1000, 500) << 2 << 1 << 1080 << QSize(2160, 1080);
    QTest::newRow("percentage truncates") << QSize(101, 51) << 0 << 0 << 50 << QSize(50, 25);
    QTest::newRow("percentage 0") << QSize(640, 480) << 0 << 0 << 0 << QSize(0, 0);
    QTest::newRow("absolute ignores aspect") << QSize(640, 480) << 1 << 0 << 0 << QSize(1920, 1080);
    QTest::newRow("unknown type") << QSize(640, 480) << 3 << 0 << 0 << QSize(640, 480);
}

void TestImagePipeline::scaledSize()
{
    QFETCH(QSize, input);
    QFETCH(int, type);
    QFETCH(int, relativeTo);
    QFETCH(int, value);
    QFETCH(QSize, expected);
    ConvertSettings s;
    s.scaleImage = true;
    s.scaleType = type;
    s.scaleRelativeTo = relativeTo;
    s.scalePercentage = s.scaleRelativeWidth = s.scaleRelativeHeight = value;
    QCOMPARE(ImageScaling::scaledSize(input, s), expected);
}

void TestImagePipeline::pageFit_data()
{
    QTest::addColumn<QSize>("input");
    QTest::addColumn<bool>("grow");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("exactly as wide shrinks to itself") << QSize(2000, 100) << false << QSize(2000, 100);
    QTest::newRow("too tall shrinks") << QSize(500, 6000) << false << QSize(250, 3000);
    QTest::newRow("small kept") << QSize(600, 300) << false << QSize(600, 300);
    QTest::newRow("small grows to width") << QSize(600, 300) << true << QSize(2000, 1000);
}

void TestImagePipeline::pageFit()
{
    QFETCH(QSize, input);
    QFETCH(bool, grow);
    QFETCH(QSize, expected);
    QCOMPARE(ImageScaling::pageFitSize(input, QSize(2000, 3000), grow), expected);
}

void TestImagePipeline::placement_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("margin");
    QTest::addColumn<QPoint>("expected");
    // 1000 x 800 overlay, 101 x 51 watermark: odd leftovers go right and down.
    QTest::newRow("top left") << 0 << 10 << QPoint(10, 10);
    QTest::newRow("top center") << 1 << 10 << QPoint(449, 10);
    QTest::newRow("center center ignores margin") << 4 << 50 << QPoint(449, 374);
    QTest::newRow("center right") << 5 << 10 << QPoint(889, 374);
    QTest::newRow("bottom right") << 8 << 10 << QPoint(889, 739);
}

void TestImagePipeline::placement()
{
    QFETCH(int, position);
    QFETCH(int, margin);
    QFETCH(QPoint, expected);
    QPoint topLeft;
    QVERIFY(Watermarks::placement(QSize(1000, 800), QSize(101, 51), position, margin, &topLeft));
    QCOMPARE(topLeft, expected);
    QVERIFY(!Watermarks::placement(QSize(1000, 800), QSize(101, 51), 9, margin, &topLeft));
}

void TestImagePipeline::imageWatermarkIsScaledAndPlaced()
{
    QImage logo(200, 100, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    ConvertSettings s;
    s.imagePath = writeImage(QStringLiteral("logo.png"), logo);
    s.imageSize = 50;
    s.imagePosition = 8;
    s.imageMargin = 10;
    QImage overlay(1000, 800, QImage::Format_ARGB32);
    overlay.fill(0);
    Watermarks::drawWatermarks(overlay, s);
    QCOMPARE(paintedRect(overlay), QRect(890, 740, 100, 50));

    s.imageOpacity = 0;
    overlay.fill(0);
    Watermarks::drawWatermarks(overlay, s);
    QVERIFY(paintedRect(overlay).isNull());
}

void TestImagePipeline::textWatermarkFollowsOpacity()
{
    ConvertSettings s;
    s.textContent = QStringLiteral("Folio");
    s.textSize = 20;
    s.textColor = Qt::red;
    s.textMargin = 5;
    QImage overlay(400, 300, QImage::Format_ARGB32);
    overlay.fill(0);
    Watermarks::drawWatermarks(overlay, s);
    const QRect box = paintedRect(overlay);
    QVERIFY(!box.isNull());
    QVERIFY(box.right() <= 394 && box.bottom() <= 294 && box.left() > 200 && box.top() > 200);

    s.textOpacity = 0;
    overlay.fill(0);
    Watermarks::drawWatermarks(overlay, s);
    QVERIFY(paintedRect(overlay).isNull());
}

void TestImagePipeline::qrCodeModules()
{
    // "HELLO" is a 21-module symbol: edge 100 / 23, finder pattern from module 0
    // to 6, light separator at module 7.
    const QImage qr = Watermarks::makeQrImage(QStringLiteral("HELLO"), 100);
    QCOMPARE(qr.size(), QSize(100, 100));
    QCOMPARE(qr.pixelColor(3, 3), QColor(Qt::white));
    QCOMPARE(qr.pixelColor(5, 5), QColor(Qt::black));
    QCOMPARE(qr.pixelColor(34, 5), QColor(Qt::black));
    QCOMPARE(qr.pixelColor(36, 5), QColor(Qt::white));
    QCOMPARE(qr.pixelColor(97, 97), QColor(Qt::white));
}

void TestImagePipeline::qrTextOverCapacityDrawsNothing()
{
    ConvertSettings s;
    s.qrCodeText = QString(4000, QLatin1Char('x'));
    QImage overlay(300, 300, QImage::Format_ARGB32);
    overlay.fill(0);
    Watermarks::drawWatermarks(overlay, s);
    QVERIFY(paintedRect(overlay).isNull());
}

void TestImagePipeline::watermarkAndScalingAndRulesInOrder()
{
    QImage source(200, 100, QImage::Format_RGB32);
    source.fill(Qt::white);
    const QString path = writeImage(QStringLiteral("white.png"), source);
    ConvertSettings s;
    s.qrCodeText = QStringLiteral("A");
    s.qrCodeSize = 50;
    s.qrCodePosition = 0;
    s.scaleImage = true;
    s.scalePercentage = 50;
    s.ruleList = {rule(3, -100)};
    ImagePipeline::clearCache();
    const PreparedImage prepared = ImagePipeline::prepareImage(path, false, s, false);
    QVERIFY(prepared.readable);
    QCOMPARE(prepared.image.size(), QSize(100, 50));
    // The finder pattern, drawn at source size, is halved with the picture and
    // then darkened with it.
    QCOMPARE(prepared.image.pixelColor(4, 4), QColor(0, 0, 0));
    QCOMPARE(prepared.image.pixelColor(90, 40), QColor(155, 155, 155));
}

void TestImagePipeline::indexedSourcesPassUnchanged()
{
    QImage indexed(30, 20, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    indexed.fill(1);
    ConvertSettings s;
    s.scaleImage = true;
    s.scalePercentage = 200;
    s.textContent = QStringLiteral("x");
    s.ruleList = {rule(0)};
    ImagePipeline::clearCache();
    const PreparedImage prepared =
        ImagePipeline::prepareImage(writeImage(QStringLiteral("indexed.png"), indexed), false, s, false);
    QCOMPARE(prepared.image.size(), QSize(30, 20));
    QCOMPARE(prepared.image.pixelColor(3, 3), QColor(Qt::blue));
}

void TestImagePipeline::cacheFollowsFileSystemCase()
{
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage blue(4, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    const QString upper = writeImage(QStringLiteral("A.png"), red);
    const QString lower = writeImage(QStringLiteral("a.png"), blue);
    if (QImage(upper).pixelColor(0, 0) == QColor(Qt::blue))
        QSKIP("case-insensitive file system: A.png and a.png are one file");
    const ConvertSettings s;
    ImagePipeline::clearCache();
    QCOMPARE(ImagePipeline::prepareImage(upper, true, s, false).image.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(ImagePipeline::prepareImage(lower, true, s, false).image.pixelColor(0, 0), QColor(Qt::blue));
}

void TestImagePipeline::editedSourceIsReadAgain_data()
{
    QTest::addColumn<int>("height");   // of the new picture; BMPs of one size have one byte count
    QTest::addColumn<int>("laterBy");  // seconds, the new file's time after the old one's
    QTest::newRow("same size, later time") << 10 << 2;
    QTest::newRow("other size, same time") << 11 << 0;
}

// The last-source cache gives the file as it is, not as it was cached.
void TestImagePipeline::editedSourceIsReadAgain()
{
    QFETCH(int, height);
    QFETCH(int, laterBy);
    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString path = m_dir.filePath(QStringLiteral("edited.bmp"));
    QVERIFY(red.save(path, "BMP"));
    const QDateTime before = QFileInfo(path).lastModified();
    ImagePipeline::clearCache();
    const ConvertSettings s;
    QCOMPARE(ImagePipeline::prepareImage(path, false, s, false).image.pixelColor(5, 5), QColor(Qt::red));

    QImage blue(20, height, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QVERIFY(blue.save(path, "BMP"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) &&
            file.setFileTime(before.addSecs(laterBy), QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(ImagePipeline::prepareImage(path, false, s, false).image.pixelColor(5, 5), QColor(Qt::blue));
}

void TestImagePipeline::pagePicturesAreInSrgb_data()
{
    QTest::addColumn<bool>("displayP3");
    QTest::addColumn<QColor>("expected");
    const QColor p3InSrgb(217, 42, 23); // (200, 60, 40) in Display P3
    QTest::newRow("untagged") << false << QColor(200, 60, 40);
    QTest::newRow("Display P3 profile") << true << p3InSrgb;
}

void TestImagePipeline::pagePicturesAreInSrgb()
{
    QFETCH(bool, displayP3);
    QFETCH(QColor, expected);
    QImage picture(160, 80, QImage::Format_RGB32);
    picture.fill(QColor(200, 60, 40));
    if (displayP3)
        picture.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QString path = m_dir.filePath(QStringLiteral("tagged.jpg"));
    QVERIFY(picture.save(path, "JPG", 95));
    ImagePipeline::clearCache();
    // The reduced decode of the page: libjpeg-turbo, not the loader.
    const PreparedImage page = ImagePipeline::preparePageImage(path, ConvertSettings(), QSize(40, 40));
    QCOMPARE(page.image.size(), QSize(40, 20));
    const QColor actual = page.image.pixelColor(20, 10);
    QVERIFY2(qAbs(actual.red() - expected.red()) <= 4 && qAbs(actual.green() - expected.green()) <= 4 &&
                 qAbs(actual.blue() - expected.blue()) <= 4,
             qPrintable(actual.name()));
}

void TestImagePipeline::refusesImagesOverTheAllocationLimit_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("the pipeline") << "pipeline";
    QTest::newRow("a whole decode") << "load";
    QTest::newRow("a scaled decode") << "loadScaled";
    QTest::newRow("the size alone") << "uprightSize";
}

void TestImagePipeline::refusesImagesOverTheAllocationLimit()
{
    QFETCH(QString, entry);
    // A BMP header declaring 20000 x 20000 pixels (1.6 GB) with no pixel data.
    QByteArray bmp("BM");
    auto put32 = [&bmp](quint32 v) {
        for (int i = 0; i < 4; ++i)
            bmp.append(char((v >> (8 * i)) & 0xff));
    };
    auto put16 = [&bmp](quint16 v) {
        bmp.append(char(v & 0xff));
        bmp.append(char(v >> 8));
    };
    put32(54 + 16);
    put32(0);
    put32(54);
    put32(40);
    put32(20000);
    put32(20000);
    put16(1);
    put16(32);
    put32(0);
    put32(0);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    bmp.append(QByteArray(16, '\0'));
    const QString path = m_dir.filePath(QStringLiteral("huge.bmp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bmp);
    file.close();
    ImagePipeline::clearCache();
    QImage image;
    if (entry == QLatin1String("pipeline")) {
        const PreparedImage prepared = ImagePipeline::prepareImage(path, false, ConvertSettings(), false);
        QVERIFY(!prepared.readable);
        image = prepared.image;
    } else if (entry == QLatin1String("load")) {
        QVERIFY(!SourceImageLoader::load(path, image));
    } else if (entry == QLatin1String("loadScaled")) {
        QVERIFY(!SourceImageLoader::loadScaled(path, QSize(100, 100), Qt::FastTransformation, image));
    } else {
        QVERIFY(!SourceImageLoader::uprightSize(path).isValid());
    }
    QVERIFY(image.isNull());
}

void TestImagePipeline::reducedJpegDecodeGivesTheSamePage()
{
    QImage photo(1600, 1200, QImage::Format_RGB32);
    QPainter painter(&photo);
    painter.fillRect(0, 0, 800, 1200, Qt::red);
    painter.fillRect(800, 0, 800, 1200, Qt::green);
    painter.end();
    const QString path = writeImage(QStringLiteral("photo.jpg"), photo);
    ImagePipeline::clearCache();
    const PreparedImage page = ImagePipeline::preparePageImage(path, ConvertSettings(), QSize(400, 600));
    QVERIFY(page.readable);
    QCOMPARE(page.image.size(), QSize(400, 300));
    QVERIFY(page.image.pixelColor(100, 150).red() > 240);
    QVERIFY(page.image.pixelColor(300, 150).green() > 240);
}

void TestImagePipeline::reducedJpegDecodeTurnsUpright()
{
    QImage photo(1600, 1200, QImage::Format_RGB32);
    QPainter painter(&photo);
    painter.fillRect(0, 0, 800, 1200, Qt::red);
    painter.fillRect(800, 0, 800, 1200, Qt::green);
    painter.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(photo.save(&buffer, "jpeg"));
    jpeg = TestImages::withOrientation(jpeg, 6); // the left edge is the top when viewed
    const QString path = m_dir.filePath(QStringLiteral("turned.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(jpeg);
    file.close();
    ImagePipeline::clearCache();
    const PreparedImage page = ImagePipeline::preparePageImage(path, ConvertSettings(), QSize(300, 600));
    // Left as stored: the PDF turns it.
    QCOMPARE(page.orientation, QImageIOHandler::TransformationRotate90);
    QCOMPARE(page.image.size(), QSize(400, 300));
    const QImage upright = SourceImageLoader::turnedUpright(page.image, page.orientation);
    QVERIFY(upright.pixelColor(150, 100).red() > 240);
    QVERIFY(upright.pixelColor(150, 300).green() > 240);
}

void TestImagePipeline::grayscaleJpegStaysGray()
{
    QImage gray(800, 600, QImage::Format_Grayscale8);
    gray.fill(90);
    const QString path = writeImage(QStringLiteral("gray.jpg"), gray);
    ImagePipeline::clearCache();
    const PreparedImage page = ImagePipeline::preparePageImage(path, ConvertSettings(), QSize(300, 600));
    QCOMPARE(page.image.size(), QSize(300, 225));
    QCOMPARE(page.image.format(), QImage::Format_Grayscale8);
    QVERIFY(qAbs(qGray(page.image.pixel(150, 100)) - 90) <= 2);
}

QTEST_MAIN(TestImagePipeline)
#include "tst_imagepipeline.moc"
