#include "pageexport.h"
#include "pagepreviewrenderer.h"
#include "pagerendering.h"
#include "pagethumbnails.h"
#include "pdftestfiles.h"
#include "testenvironment.h"
#include "testpdf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <numeric>

namespace {

const QString lockedPassword = QStringLiteral("s3cret");
const QString nonAsciiPassword = QStringLiteral("Pässwörd €5");

// Short enough to keep the tests quick, long enough for a sanitizer build.
constexpr RenderTimeouts quickTimeouts{3000, 3000};

struct Listing {
    int pageCount = -1;
    PdfOpenProblem::Kind problem = PdfOpenProblem::None;
    QList<int> progress;
    QList<int> pages;
    QList<QImage> images;
};

Listing list(const QString &path, const QString &password = {}, qint64 byteBudget = 0,
             int drawAhead = ThumbnailListingOptions::defaultDrawAhead)
{
    Listing listing;
    const std::atomic_bool stop = false;
    listPageThumbnails(
        {path, password}, {QSize(50, 50), byteBudget, quickTimeouts, drawAhead}, stop,
        [&](const PdfPageListing &info) {
            listing.pageCount = info.pageCount;
            listing.problem = info.problem.kind;
        },
        [&](int pageNumber) { listing.progress.append(pageNumber); },
        [&](int first, const QList<QByteArray> &thumbnails) {
            for (const QByteArray &thumbnail : thumbnails) {
                listing.pages.append(first++);
                listing.images.append(QImage::fromData(thumbnail));
            }
        });
    return listing;
}

bool allWhite(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

// The nice values of the render workers that are still children of this
// process (field 19 of /proc/<pid>/stat).
QList<int> workerNiceValues()
{
    QList<int> values;
    const QString parent = QString::number(QCoreApplication::applicationPid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString line = QString::fromLatin1(stat.readAll());
        const QStringList fields = line.mid(line.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
        if (line.contains(QLatin1String("(folioforge-rend")) && fields.value(1) == parent)
            values.append(fields.value(16).toInt());
    }
    return values;
}

int runningWorkers()
{
    return int(workerNiceValues().size());
}

// The worker's test switch, set for one test and cleared afterwards.
class FaultSwitch
{
public:
    explicit FaultSwitch(const QByteArray &value) { qputenv("FOLIOFORGE_RENDER_FAULT", value); }
    ~FaultSwitch() { qunsetenv("FOLIOFORGE_RENDER_FAULT"); }
};

} // namespace

class TestRenderWorkers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loopingPageTreeEndsAsUnloadedDocument();
    void listingDrawsOnlyTheFirstPages_data();
    void listingDrawsOnlyTheFirstPages();
    void faultyPageFailsAloneInListing_data();
    void faultyPageFailsAloneInListing();
    void faultyPageFailsAloneInExport_data();
    void faultyPageFailsAloneInExport();
    void previewSurvivesAHangingPageAndRereadsAReleasedFile();
    void picturesOnDemandFollowTheLatestWish();
    void picturesAheadWaitForThoseShown_data();
    void picturesAheadWaitForThoseShown();
    void listingYieldsToPicturesOnDemand_data();
    void listingYieldsToPicturesOnDemand();
    void heldDocumentStaysOpenUntilLetGo_data();
    void heldDocumentStaysOpenUntilLetGo();
    void protectedFileOpensOnlyWithItsPassword_data();
    void protectedFileOpensOnlyWithItsPassword();

private:
    QTemporaryDir m_dir;
    QString m_pdf;
};

void TestRenderWorkers::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    m_pdf = m_dir.filePath(QStringLiteral("six.pdf"));
    QVERIFY(TestPdf::writeA4(m_pdf, 6));
    for (const QString &password : {lockedPassword, nonAsciiPassword}) {
        const QString locked = m_dir.filePath(password + QStringLiteral(".pdf"));
        QVERIFY(QFile::copy(m_pdf, locked));
        PdfTestFiles::encrypt(locked, password);
    }
    TestEnvironment::run(QStringLiteral("qpdf"),
                         {QStringLiteral("--encrypt"), QString(), QStringLiteral("owner"), QStringLiteral("256"),
                          QStringLiteral("--print=none"), QStringLiteral("--"), m_pdf, m_dir.filePath("owner.pdf")});
    QFile noise(m_dir.filePath(QStringLiteral("noise.pdf")));
    QVERIFY(noise.open(QIODevice::WriteOnly) && noise.write(QByteArray(3000, 'x')) == 3000);
}

void TestRenderWorkers::loopingPageTreeEndsAsUnloadedDocument()
{
    const QString looping = m_dir.filePath(QStringLiteral("looping.pdf"));
    QVERIFY(TestPdf::writeLoopingPageTree(looping));
    const Listing broken = list(looping);
    QCOMPARE(broken.pageCount, 0);
    QVERIFY(broken.pages.isEmpty());

    // The stuck engine went with its worker: the next document lists in full.
    QCOMPARE(list(m_pdf).pages, QList<int>({0, 1, 2, 3, 4, 5}));
    QCOMPARE(runningWorkers(), 0);
}

void TestRenderWorkers::listingDrawsOnlyTheFirstPages_data()
{
    QTest::addColumn<qint64>("byteBudget");
    QTest::addColumn<int>("drawAhead");
    QTest::addColumn<int>("fewestDrawn");
    QTest::addColumn<int>("mostDrawn");
    QTest::newRow("within both bounds") << qint64(0) << ThumbnailListingOptions::defaultDrawAhead << 100 << 100;
    QTest::newRow("no draw-ahead bound") << qint64(0) << 0 << 100 << 100;
    QTest::newRow("draw-ahead") << qint64(0) << 10 << 10 << 10;
    QTest::newRow("byte budget") << qint64(1) << 0 << 1 << 49;
    QTest::newRow("budget before draw-ahead") << qint64(1) << 60 << 1 << 49;
    QTest::newRow("draw-ahead before budget") << qint64(1) << 1 << 1 << 1;
}

// Past either bound pages are still listed, in order and with progress, but
// without a picture; the pages drawn are the first ones.
void TestRenderWorkers::listingDrawsOnlyTheFirstPages()
{
    QFETCH(qint64, byteBudget);
    QFETCH(int, drawAhead);
    QFETCH(int, fewestDrawn);
    QFETCH(int, mostDrawn);
    const QString path = m_dir.filePath(QStringLiteral("hundred.pdf"));
    if (!QFileInfo::exists(path))
        QVERIFY(TestPdf::writeA4(path, 100));
    const Listing listing = list(path, {}, byteBudget, drawAhead);
    QList<int> all(100);
    std::iota(all.begin(), all.end(), 0);
    QCOMPARE(listing.pages, all);
    QCOMPARE(listing.progress.last(), 100);
    QVERIFY(std::is_sorted(listing.progress.begin(), listing.progress.end()));
    const auto firstUndrawn =
        std::find_if(listing.images.begin(), listing.images.end(), [](const QImage &image) { return image.isNull(); });
    const qsizetype drawn = firstUndrawn - listing.images.begin();
    QVERIFY2(drawn >= fewestDrawn && drawn <= mostDrawn, qPrintable(QString::number(drawn)));
    QVERIFY(std::all_of(firstUndrawn, listing.images.end(), [](const QImage &image) { return image.isNull(); }));
    QCOMPARE(listing.images.first().size(), fitIntoBox(QSize(595, 842), QSize(50, 50)));
    QCOMPARE(runningWorkers(), 0);
}

void TestRenderWorkers::faultyPageFailsAloneInListing_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::newRow("crash") << QByteArray("crash:3");
    QTest::newRow("hang") << QByteArray("hang:3");
}

void TestRenderWorkers::faultyPageFailsAloneInListing()
{
    QFETCH(QByteArray, fault);
    const FaultSwitch faultSwitch(fault);
    const Listing listing = list(m_pdf);
    QCOMPARE(listing.pageCount, 6);
    QCOMPARE(listing.pages, QList<int>({0, 1, 2, 3, 4, 5}));
    for (int page = 0; page < 6; ++page) {
        QCOMPARE(listing.images.at(page).size(), QSize(35, 50));
        QCOMPARE(allWhite(listing.images.at(page)), page == 2);
    }
    QCOMPARE(runningWorkers(), 0);
}

void TestRenderWorkers::faultyPageFailsAloneInExport_data()
{
    faultyPageFailsAloneInListing_data();
}

void TestRenderWorkers::faultyPageFailsAloneInExport()
{
    QFETCH(QByteArray, fault);
    const FaultSwitch faultSwitch(fault);
    const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    QList<int> progress;
    const std::atomic_bool stop = false;
    const PageExportResult result = exportPages(
        {m_pdf, folder, {0, 1, 2, 3, 4, 5}, 1, 0, false}, [&](int position) { progress.append(position); }, stop,
        quickTimeouts);
    QVERIFY(!result.stopped);
    QCOMPARE(progress, QList<int>({0, 1, 2, 3, 4, 5}));
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(result.failures.first().page, 2);
    QCOMPARE(result.failures.first().reason,
             QStringLiteral("Page 3 was not exported: the page could not be rendered."));
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             QStringList({"1.png", "2.png", "4.png", "5.png", "6.png"}));
    QCOMPARE(runningWorkers(), 0);
}

void TestRenderWorkers::previewSurvivesAHangingPageAndRereadsAReleasedFile()
{
    const QString path = m_dir.filePath(QStringLiteral("preview.pdf"));
    QVERIFY(TestPdf::writeA4(path, 3));
    const FaultSwitch faultSwitch("hang:2");
    PagePreviewRenderer preview(nullptr, quickTimeouts);
    QSignalSpy rendered(&preview, &PagePreviewRenderer::rendered);
    preview.setDocument(path);
    const QSize box(100, 100);

    preview.render(0, box);
    QVERIFY(rendered.wait(10000));
    QCOMPARE(rendered.takeFirst().at(1).value<QImage>().size(), fitIntoBox(QSize(595, 842), box));

    // Page 2 hangs its worker; it is killed and the next page gets a fresh one.
    preview.render(1, box);
    QVERIFY(!rendered.wait(quickTimeouts.pageMs + 1000));
    QCOMPARE(runningWorkers(), 0);
    preview.render(2, box);
    QVERIFY(rendered.wait(10000));
    QCOMPARE(rendered.takeFirst().at(0).toInt(), 2);

    // A released file is read afresh: here it has become landscape.
    preview.releaseDocument();
    QVERIFY(TestPdf::write(path, {TestPdf::a4Landscape}));
    preview.render(0, box);
    QVERIFY(rendered.wait(10000));
    QCOMPARE(rendered.takeFirst().at(1).value<QImage>().size(), fitIntoBox(QSize(842, 595), box));

    preview.close();
    QCOMPARE(runningWorkers(), 0);
}

// List pictures come one after another in the order last asked for; a page
// that crashes its worker comes empty and the next one still comes.
void TestRenderWorkers::picturesOnDemandFollowTheLatestWish()
{
    const FaultSwitch faultSwitch("crash:5");
    PagePreviewRenderer renderer(nullptr, quickTimeouts);
    QList<int> pages;
    QList<QImage> pictures;
    connect(&renderer, &PagePreviewRenderer::thumbnailRendered, this, [&](int page, const QByteArray &encoded) {
        pages.append(page);
        pictures.append(QImage::fromData(encoded));
    });
    renderer.setDocument(m_pdf);
    const QSize box(60, 60);
    renderer.renderThumbnails({0, 1, 2}, box);
    // Asked for before the first has come: replaces what has not begun.
    renderer.renderThumbnails({3, 4, 5}, box);
    QTRY_COMPARE_WITH_TIMEOUT(pages.size(), 4, 10000);
    QCOMPARE(pages, QList<int>({0, 3, 4, 5}));
    for (int index : {0, 1, 3})
        QCOMPARE(pictures.at(index).size(), fitIntoBox(QSize(595, 842), box));
    QVERIFY(pictures.at(2).isNull());
    QVERIFY(!allWhite(pictures.at(1)));
    renderer.close();
    QCOMPARE(runningWorkers(), 0);
}

void TestRenderWorkers::picturesAheadWaitForThoseShown_data()
{
    // Calls in order: "shown" is renderThumbnails(), "ahead" renderThumbnailsAhead().
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QList<QList<int>>>("pages");
    QTest::addColumn<QList<int>>("drawn");
    QTest::newRow("ahead after shown") << QStringList{"shown", "ahead"} << QList<QList<int>>{{0, 1}, {4, 5}}
                                       << QList<int>{0, 1, 4, 5};
    QTest::newRow("shown overtake ahead") << QStringList{"ahead", "shown"} << QList<QList<int>>{{4, 5}, {0, 1}}
                                          << QList<int>{4, 0, 1, 5};
    QTest::newRow("later ahead replaces") << QStringList{"shown", "ahead", "ahead"}
                                          << QList<QList<int>>{{0}, {2, 3}, {5, 4}} << QList<int>{0, 5, 4};
    QTest::newRow("later shown keep ahead") << QStringList{"shown", "ahead", "shown"}
                                            << QList<QList<int>>{{0}, {3}, {1, 2}} << QList<int>{0, 1, 2, 3};
    QTest::newRow("shown once, not again ahead") << QStringList{"shown", "ahead", "shown"}
                                                 << QList<QList<int>>{{0}, {2, 3}, {3}} << QList<int>{0, 3, 2};
    QTest::newRow("the one being drawn, ahead") << QStringList{"ahead", "ahead"} << QList<QList<int>>{{1, 2}, {1, 3}}
                                                << QList<int>{1, 3};
    QTest::newRow("the one being drawn, shown") << QStringList{"shown", "shown"} << QList<QList<int>>{{1, 2}, {1, 3}}
                                                << QList<int>{1, 3};
}

// The pictures a list will show next are drawn only while none it shows
// waits, and only the latest of them.
void TestRenderWorkers::picturesAheadWaitForThoseShown()
{
    QFETCH(QStringList, calls);
    QFETCH(QList<QList<int>>, pages);
    QFETCH(QList<int>, drawn);
    PagePreviewRenderer renderer(nullptr, quickTimeouts);
    QList<int> order;
    connect(&renderer, &PagePreviewRenderer::thumbnailRendered, this,
            [&](int page, const QByteArray &) { order.append(page); });
    renderer.setDocument(m_pdf);
    // All asked for before the first picture comes: it is drawn at once.
    for (qsizetype call = 0; call < calls.size(); ++call) {
        if (calls.at(call) == QLatin1String("shown"))
            renderer.renderThumbnails(pages.at(call), QSize(40, 40));
        else
            renderer.renderThumbnailsAhead(pages.at(call), QSize(40, 40));
    }
    QTRY_COMPARE_WITH_TIMEOUT(order.size(), drawn.size(), 10000);
    QTest::qWait(100);
    QCOMPARE(order, drawn);
    renderer.close();
}

void TestRenderWorkers::listingYieldsToPicturesOnDemand_data()
{
    QTest::addColumn<bool>("listing");
    QTest::addColumn<int>("niceAboveOurs");
    QTest::newRow("listing") << true << 5;
    QTest::newRow("pictures on demand") << false << 0;
}

// The pictures of a listing are drawn below the program's priority, those
// the user scrolls to at the program's own.
void TestRenderWorkers::listingYieldsToPicturesOnDemand()
{
    if (!QFileInfo(QStringLiteral("/proc/self/stat")).exists())
        QSKIP("needs /proc to see priorities");
    QFETCH(bool, listing);
    QFETCH(int, niceAboveOurs);
    QFile self(QStringLiteral("/proc/self/stat"));
    QVERIFY(self.open(QIODevice::ReadOnly));
    const QByteArray line = self.readAll();
    const int ours = line.mid(line.lastIndexOf(')') + 2).split(' ').value(16).toInt();
    QList<int> seen;
    if (listing) {
        const std::atomic_bool stop = false;
        listPageThumbnails(
            {m_pdf, {}}, {QSize(50, 50), 0, quickTimeouts}, stop, [](const PdfPageListing &) {},
            [&](int pageNumber) {
                if (pageNumber == 3)
                    seen = workerNiceValues();
            },
            [](int, const QList<QByteArray> &) {});
    } else {
        PagePreviewRenderer renderer(nullptr, quickTimeouts);
        renderer.setDocument(m_pdf);
        renderer.holdDocument();
        QTRY_COMPARE(runningWorkers(), 1);
        seen = workerNiceValues();
    }
    QVERIFY(!seen.isEmpty());
    for (int nice : std::as_const(seen))
        QCOMPARE(nice, qMin(19, ours + niceAboveOurs));
}

void TestRenderWorkers::heldDocumentStaysOpenUntilLetGo_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("let go") << "letGo";
    QTest::newRow("closed") << "close";
    QTest::newRow("another document") << "setDocument";
}

// A held document is read before anything is asked of it and stays open
// while idle, so a jump to any page is drawn without reading the file again.
void TestRenderWorkers::heldDocumentStaysOpenUntilLetGo()
{
    if (!QFileInfo(QStringLiteral("/proc/self/fd")).isDir())
        QSKIP("needs /proc to see open files");
    QFETCH(QString, end);
    const QString path = m_dir.filePath(QStringLiteral("held.pdf"));
    QVERIFY(TestPdf::writeA4(path, 6));
    PagePreviewRenderer renderer(nullptr, quickTimeouts);
    auto *release = renderer.findChild<QTimer *>(QStringLiteral("previewReleaseTimer"));
    QVERIFY(release);
    // Idle: let go at once, unless held.
    release->setInterval(0);
    QSignalSpy pictures(&renderer, &PagePreviewRenderer::thumbnailRendered);
    renderer.setDocument(path);
    renderer.holdDocument();
    QTRY_VERIFY(TestEnvironment::fileIsOpen(path));

    renderer.renderThumbnails({5}, QSize(60, 60));
    QVERIFY(pictures.wait(10000));
    QCOMPARE(pictures.takeFirst().at(0).toInt(), 5);
    QTest::qWait(50);
    QVERIFY(TestEnvironment::fileIsOpen(path));

    if (end == QLatin1String("letGo"))
        renderer.letGo();
    else if (end == QLatin1String("close"))
        renderer.close();
    else
        renderer.setDocument(m_pdf);
    QTRY_VERIFY(!TestEnvironment::fileIsOpen(path));
    // Ended with it: an idle worker lets go again.
    renderer.renderThumbnails({1}, QSize(60, 60));
    QVERIFY(pictures.wait(10000));
    QTest::qWait(50);
    QVERIFY(!TestEnvironment::fileIsOpen(path));
    QTRY_VERIFY(!TestEnvironment::fileIsOpen(m_pdf));
}

void TestRenderWorkers::protectedFileOpensOnlyWithItsPassword_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<int>("problem");
    QTest::newRow("no password") << lockedPassword << QString() << 0 << int(PdfOpenProblem::NeedsPassword);
    QTest::newRow("wrong password") << lockedPassword << "secret" << 0 << int(PdfOpenProblem::WrongPassword);
    QTest::newRow("right password") << lockedPassword << lockedPassword << 6 << int(PdfOpenProblem::None);
    QTest::newRow("non-ASCII password") << nonAsciiPassword << nonAsciiPassword << 6 << int(PdfOpenProblem::None);
    QTest::newRow("owner password only") << "owner" << QString() << 6 << int(PdfOpenProblem::None);
    QTest::newRow("not a PDF") << "noise" << QString() << 0 << int(PdfOpenProblem::NotPdf);
}

void TestRenderWorkers::protectedFileOpensOnlyWithItsPassword()
{
    QFETCH(QString, file);
    QFETCH(QString, password);
    QFETCH(int, pageCount);
    QFETCH(int, problem);
    const Listing listing = list(m_dir.filePath(file + QStringLiteral(".pdf")), password);
    QCOMPARE(listing.pageCount, pageCount);
    QCOMPARE(listing.pages.size(), pageCount);
    QCOMPARE(int(listing.problem), problem);
}

QTEST_MAIN(TestRenderWorkers)
#include "tst_renderworkers.moc"
