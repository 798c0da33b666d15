#include "pagerendering.h"
#include "testenvironment.h"
#include "testpdf.h"

#include <QPainter>
#include <QPdfDocument>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class TestPageRendering : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fitIntoBox_data();
    void fitIntoBox();
    void rendersEveryPageAtTheGivenSizeOnWhite();
    void refusesEmptySizesAndMissingPages();
    void flatteningMatchesPaintingOntoWhite_data();
    void flatteningMatchesPaintingOntoWhite();
    void thumbnailsAreJpegOnWhite_data();
    void thumbnailsAreJpegOnWhite();

private:
    QTemporaryDir m_dir;
    QString m_mixedPdf; // A4 portrait, A4 landscape, A4 portrait
};

namespace {

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

// The reference: the page drawn with QPainter onto an opaque white image.
QImage paintedOntoWhite(const QImage &rendered)
{
    QImage reference(rendered.size(), QImage::Format_ARGB32_Premultiplied);
    reference.fill(Qt::white);
    QPainter painter(&reference);
    painter.drawImage(0, 0, rendered);
    painter.end();
    return reference.convertToFormat(QImage::Format_RGB32);
}

} // namespace

void TestPageRendering::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    m_mixedPdf = m_dir.filePath(QStringLiteral("mixed.pdf"));
    QVERIFY(TestPdf::write(m_mixedPdf, {TestPdf::a4Portrait, TestPdf::a4Landscape, TestPdf::a4Portrait}));
}

void TestPageRendering::fitIntoBox_data()
{
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("portrait") << QSize(595, 842) << QSize(200, 200) << QSize(141, 200);
    QTest::newRow("landscape") << QSize(842, 595) << QSize(200, 200) << QSize(200, 141);
    QTest::newRow("small page grows") << QSize(10, 20) << QSize(200, 200) << QSize(100, 200);
    QTest::newRow("sliver keeps a pixel") << QSize(10000, 1) << QSize(200, 200) << QSize(200, 1);
    QTest::newRow("empty page") << QSize(0, 0) << QSize(200, 200) << QSize();
    QTest::newRow("invalid page") << QSize(-1, -1) << QSize(200, 200) << QSize();
}

void TestPageRendering::fitIntoBox()
{
    QFETCH(QSize, page);
    QFETCH(QSize, box);
    QFETCH(QSize, expected);
    const QSize fitted = ::fitIntoBox(page, box);
    QCOMPARE(fitted.isEmpty(), expected.isEmpty());
    if (!expected.isEmpty())
        QCOMPARE(fitted, expected);
}

void TestPageRendering::rendersEveryPageAtTheGivenSizeOnWhite()
{
    QPdfDocument document;
    document.load(m_mixedPdf);
    QCOMPARE(document.pageCount(), 3);
    const QSize size = document.pagePointSize(0).toSize();
    QCOMPARE(size, QSize(595, 842));

    const QImage portrait = renderPageOnWhite(document, 0, size);
    const QImage landscape = renderPageOnWhite(document, 1, size);
    for (const QImage &image : {portrait, landscape}) {
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_RGB32);
        // Unpainted page areas are transparent in the PDF and must come out white.
        QCOMPARE(image.pixel(590, 837), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(300, 20), qRgb(255, 255, 255));
        QVERIFY(isRed(image.pixel(40, 40)));
    }
    // The landscape page's red square (210 points wide) is stretched to the
    // portrait size: it now reaches much further down than the portrait one.
    QVERIFY(!isRed(portrait.pixel(80, 250)));
    QVERIFY(isRed(landscape.pixel(80, 250)));
}

void TestPageRendering::refusesEmptySizesAndMissingPages()
{
    QPdfDocument document;
    document.load(m_mixedPdf);
    QVERIFY(renderPageOnWhite(document, 0, QSize()).isNull());
    QVERIFY(renderPageOnWhite(document, 0, QSize(0, 10)).isNull());
    QVERIFY(renderPageOnWhite(document, 3, QSize(10, 10)).isNull());
    QVERIFY(renderPageOnWhite(document, -1, QSize(10, 10)).isNull());
    QVERIFY(flattenOntoWhite(QImage()).isNull());
}

void TestPageRendering::flatteningMatchesPaintingOntoWhite_data()
{
    QTest::addColumn<QImage>("source");

    // Every alpha with random colours, straight and premultiplied.
    QImage straight(256, 64, QImage::Format_ARGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < straight.height(); ++y)
        for (int x = 0; x < straight.width(); ++x)
            straight.setPixel(x, y,
                              qRgba(int(random.bounded(256)), int(random.bounded(256)), int(random.bounded(256)), x));
    QTest::newRow("straight alpha") << straight;
    QTest::newRow("premultiplied") << straight.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("opaque rgb32") << straight.convertToFormat(QImage::Format_RGB32);

    QPdfDocument document;
    document.load(m_mixedPdf);
    QTest::newRow("rendered page 300 %") << document.render(1, QSize(1785, 2526));
}

void TestPageRendering::flatteningMatchesPaintingOntoWhite()
{
    QFETCH(QImage, source);
    QVERIFY(!source.isNull());
    const QImage flat = flattenOntoWhite(source);
    QCOMPARE(flat.format(), QImage::Format_RGB32);
    QCOMPARE(flat, paintedOntoWhite(source));
}

void TestPageRendering::thumbnailsAreJpegOnWhite_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<QColor>("expected");

    QImage clear(141, 200, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    QTest::newRow("unpainted page") << clear << QColor(Qt::white);
    QImage halfRed(200, 141, QImage::Format_ARGB32);
    halfRed.fill(QColor(255, 0, 0, 128));
    QTest::newRow("half transparent red") << halfRed << QColor(255, 127, 127);
    QImage black(7, 9, QImage::Format_RGB32);
    black.fill(Qt::black);
    QTest::newRow("opaque black") << black << QColor(Qt::black);
}

// Thumbnails travel and are kept as JPEG; what the engine leaves unpainted
// must not turn black on the way.
void TestPageRendering::thumbnailsAreJpegOnWhite()
{
    QFETCH(QImage, source);
    QFETCH(QColor, expected);
    const QByteArray encoded = encodeThumbnail(source);
    QVERIFY(encoded.startsWith("\xff\xd8"));
    const QImage decoded = QImage::fromData(encoded);
    QCOMPARE(decoded.size(), source.size());
    const QColor centre = decoded.pixelColor(decoded.width() / 2, decoded.height() / 2);
    QVERIFY2(qAbs(centre.red() - expected.red()) <= 3 && qAbs(centre.green() - expected.green()) <= 3 &&
                 qAbs(centre.blue() - expected.blue()) <= 3,
             qPrintable(centre.name()));
    QVERIFY(encodeThumbnail(QImage()).isEmpty());
}

QTEST_MAIN(TestPageRendering)
#include "tst_pagerendering.moc"
