#include "pagerendering.h"
#include "pagethumbnails.h"
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
    void listsThumbnailsInPageOrder();
    void stopsListingBetweenPages();
    void listsNothingForAFileThatIsNoPdf();

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
    QTest::newRow("hidpi box") << QSize(595, 842) << QSize(400, 400) << QSize(282, 400);
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
    QTest::newRow("rendered page") << document.render(1, QSize(595, 842));
    QTest::newRow("rendered page 300 %") << document.render(0, QSize(1785, 2526));
}

void TestPageRendering::flatteningMatchesPaintingOntoWhite()
{
    QFETCH(QImage, source);
    QVERIFY(!source.isNull());
    const QImage flat = flattenOntoWhite(source);
    QCOMPARE(flat.format(), QImage::Format_RGB32);
    QCOMPARE(flat, paintedOntoWhite(source));
}

void TestPageRendering::listsThumbnailsInPageOrder()
{
    const std::atomic_bool stop = false;
    QList<PdfPageListing> listings;
    QStringList events;
    QList<QImage> thumbnails;
    listPageThumbnails(
        m_mixedPdf, QSize(200, 200), stop,
        [&](const PdfPageListing &listing) {
            listings.append(listing);
            events.append(QStringLiteral("listed"));
        },
        [&](int number) { events.append(QStringLiteral("before %1").arg(number)); },
        [&](int page, const QImage &thumbnail) {
            events.append(QStringLiteral("page %1").arg(page));
            thumbnails.append(thumbnail);
        });

    QCOMPARE(listings.size(), 1);
    QCOMPARE(listings.first().pageCount, 3);
    QCOMPARE(listings.first().pageSize, QSize(595, 842));
    QCOMPARE(events, (QStringList{"listed", "before 1", "page 0", "before 2", "page 1", "before 3", "page 2"}));
    for (const QImage &thumbnail : std::as_const(thumbnails)) {
        // Every page, the landscape one too, takes the first page's proportions.
        QCOMPARE(thumbnail.size(), QSize(141, 200));
        QCOMPARE(thumbnail.format(), QImage::Format_RGB32);
        QCOMPARE(thumbnail.pixel(138, 197), qRgb(255, 255, 255));
        QVERIFY(isRed(thumbnail.pixel(12, 12)));
    }
}

void TestPageRendering::stopsListingBetweenPages()
{
    std::atomic_bool stop = false;
    QList<int> numbers;
    QList<int> pages;
    listPageThumbnails(
        m_mixedPdf, QSize(50, 50), stop, [](const PdfPageListing &) {}, [&](int number) { numbers.append(number); },
        [&](int page, const QImage &) {
            pages.append(page);
            if (page == 1)
                stop = true;
        });
    // The page being rendered when the stop arrives is still delivered.
    QCOMPARE(numbers, (QList<int>{1, 2}));
    QCOMPARE(pages, (QList<int>{0, 1}));
}

void TestPageRendering::listsNothingForAFileThatIsNoPdf()
{
    const QString notPdf = m_dir.filePath(QStringLiteral("picture.pdf"));
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(notPdf, "JPG"));

    for (const QString &path : {notPdf, m_dir.path(), m_dir.filePath(QStringLiteral("missing.pdf"))}) {
        const std::atomic_bool stop = false;
        int listed = 0;
        int pages = 0;
        listPageThumbnails(
            path, QSize(200, 200), stop,
            [&](const PdfPageListing &listing) {
                ++listed;
                QCOMPARE(listing.pageCount, 0);
            },
            [&](int) { ++pages; }, [&](int, const QImage &) { ++pages; });
        QCOMPARE(listed, 1);
        QCOMPARE(pages, 0);
    }
}

QTEST_MAIN(TestPageRendering)
#include "tst_pagerendering.moc"
