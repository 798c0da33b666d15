#include "convertimagesthread.h"
#include "hostileimages.h"
#include "imageconversion.h"
#include "imagepipeline.h"
#include "kivlocalconvertimage.h"
#include "testenvironment.h"
#include "testimages.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The bounding box of the red pixels of a rendering.
QRect redRect(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

class TestImageConversion : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void pdfPageGeometry_data();
    void pdfPageGeometry();
    void pagePicturesKeepTheirColours_data();
    void pagePicturesKeepTheirColours();
    void jpegsPlacedAsTheyAreAreEmbeddedUnchanged_data();
    void jpegsPlacedAsTheyAreAreEmbeddedUnchanged();
    void pdfOfNoSourcesIsOneBlankPage();
    void unreadableSourcesGiveBlankPagesAndAreReported_data();
    void unreadableSourcesGiveBlankPagesAndAreReported();
    void unwritablePdfIsReportedAndLeavesNothing();
    void gifKeepsSizeAndPalette();
    void existingTargetsAreSkippedInOrder();
    void emptyImagesAreReportedNotWritten();
    void stopBeforeTheFirstSource();
    void aStoppedPdfNeverReplacesAFile_data();
    void aStoppedPdfNeverReplacesAFile();
    void threadSignals_data();
    void threadSignals();
    void aRunKeepsTheSettingsItStartedWith_data();
    void aRunKeepsTheSettingsItStartedWith();
    void encodedFormatsBecomePdfPages_data();
    void encodedFormatsBecomePdfPages();

private:
    QString source(const QString &name, const QSize &size, const QColor &color);
    QString freshFolder(const QString &name);
    ConvertResult run(const ConvertJob &job, const ConvertSettings &settings, QStringList *progress = nullptr);
    QImage render(const QString &pdf, int dpi);
    QTemporaryDir m_dir;
};

void TestImageConversion::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    if (TestEnvironment::tool(QStringLiteral("pdftoppm")).isEmpty())
        QSKIP("pdftoppm is missing: run scripts/install-deps.sh");
}

void TestImageConversion::init()
{
    ImagePipeline::clearCache();
}

QString TestImageConversion::source(const QString &name, const QSize &size, const QColor &color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = m_dir.filePath(name);
    if (!image.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString TestImageConversion::freshFolder(const QString &name)
{
    const QString folder = m_dir.filePath(name);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

ConvertResult TestImageConversion::run(const ConvertJob &job, const ConvertSettings &settings, QStringList *progress)
{
    const std::atomic_bool stop = false;
    return ImageConversion::convert(
        job, settings,
        [progress](int index, const QString &path) {
            if (progress)
                *progress << QStringLiteral("%1 %2").arg(index).arg(QFileInfo(path).fileName());
        },
        stop);
}

QImage TestImageConversion::render(const QString &pdf, int dpi)
{
    const QString prefix = m_dir.filePath(QStringLiteral("render"));
    TestEnvironment::run(QStringLiteral("pdftoppm"),
                         {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QStringLiteral("1"),
                          QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

void TestImageConversion::pdfPageGeometry_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("resize");
    QTest::addColumn<int>("margin");
    QTest::addColumn<QString>("pageSize");
    QTest::addColumn<QRect>("expected"); // at 30 dpi
    // 600 x 300 pixels at 300 dpi: 2 x 1 inches.
    QTest::newRow("letter, as is, top-left") << 0 << 0 << false << 0 << "612 x 792" << QRect(0, 0, 60, 30);
    QTest::newRow("resized to the printable width") << 0 << 0 << true << 0 << "612 x 792" << QRect(0, 0, 255, 127);
    QTest::newRow("margin 20 is 200 device pixels") << 1 << 0 << false << 20 << "595 x 842" << QRect(20, 20, 60, 30);
    QTest::newRow("landscape A5 with margin, resized")
        << 2 << 1 << true << 20 << "595 x 420" << QRect(20, 20, 208, 104);
}

void TestImageConversion::pdfPageGeometry()
{
    QFETCH(int, paper);
    QFETCH(int, orientation);
    QFETCH(bool, resize);
    QFETCH(int, margin);
    QFETCH(QString, pageSize);
    QFETCH(QRect, expected);
    ConvertSettings s;
    s.pdfFileName = QStringLiteral("out.pdf");
    s.pdfPaperSize = paper;
    s.pdfPaperOrientation = orientation;
    s.resizeImageToPaper = resize;
    s.pdfPaperMargin = margin != 0;
    s.pdfPaperMarginSize = margin;
    const QString folder = freshFolder(QStringLiteral("geometry"));
    const QString red = source(QStringLiteral("red.png"), QSize(600, 300), Qt::red);
    const ConvertResult result = run({{red, red}, folder, QStringLiteral(".PDF"), false}, s);
    QVERIFY(result.failures.isEmpty());
    QVERIFY(!result.stopped);
    const QString pdf = folder + QStringLiteral("/out.pdf");
    QCOMPARE(KivLocalConvertImage::lastOutputLocation(), QDir::toNativeSeparators(pdf));
    QVERIFY(KivLocalConvertImage::pdfMode());

    const QString info = QString::fromLatin1(TestEnvironment::run(QStringLiteral("pdfinfo"), {pdf})).simplified();
    QVERIFY2(info.contains(QStringLiteral("Pages: 2")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("PDF version: 1.6")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Page size: ") + pageSize), qPrintable(info));
    const QRect drawn = redRect(render(pdf, 30));
    QVERIFY2(qAbs(drawn.left() - expected.left()) <= 1 && qAbs(drawn.top() - expected.top()) <= 1 &&
                 qAbs(drawn.width() - expected.width()) <= 1 && qAbs(drawn.height() - expected.height()) <= 1,
             qPrintable(QStringLiteral("drawn %1,%2 %3x%4")
                            .arg(drawn.left())
                            .arg(drawn.top())
                            .arg(drawn.width())
                            .arg(drawn.height())));
}

void TestImageConversion::pagePicturesKeepTheirColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format");      // QImage::Format of the source
    QTest::addColumn<QList<QColor>>("quadrants"); // top-left, top-right, bottom-left, bottom-right
    QTest::addColumn<QList<QColor>>("expected");  // on the white page
    const QList<QColor> four{QColor(220, 40, 30), QColor(30, 180, 60), QColor(40, 60, 200), QColor(240, 220, 40)};
    QTest::newRow("opaque PNG") << "quads.png" << int(QImage::Format_RGB32) << four << four;
    QTest::newRow("JPEG") << "quads.jpg" << int(QImage::Format_RGB32) << four << four;
    const QList<QColor> grays{QColor(40, 40, 40), QColor(200, 200, 200), QColor(90, 90, 90), QColor(250, 250, 250)};
    QTest::newRow("grayscale PNG") << "gray.png" << int(QImage::Format_Grayscale8) << grays << grays;
    QTest::newRow("transparency on white")
        << "alpha.png" << int(QImage::Format_ARGB32)
        << QList<QColor>{QColor(255, 0, 0, 128), QColor(0, 0, 255, 0), QColor(0, 128, 0, 255), QColor(0, 0, 0, 64)}
        << QList<QColor>{QColor(255, 127, 127), Qt::white, QColor(0, 128, 0), QColor(191, 191, 191)};
}

// A 600 x 300 picture on a 300 dpi page, rendered at 100 dpi: each quadrant is
// 100 x 50 pixels of the rendering, sampled at its centre; beside it the page is white.
void TestImageConversion::pagePicturesKeepTheirColours()
{
    QFETCH(QString, name);
    QFETCH(int, format);
    QFETCH(QList<QColor>, quadrants);
    QFETCH(QList<QColor>, expected);
    QImage picture(600, 300, QImage::Format(format));
    for (int q = 0; q < 4; ++q) {
        const QRect area((q % 2) * 300, (q / 2) * 150, 300, 150);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                picture.setPixelColor(x, y, quadrants.at(q));
    }
    const QString path = m_dir.filePath(name);
    QVERIFY(picture.save(path, nullptr, 95));
    ConvertSettings s;
    s.pdfFileName = QStringLiteral("colours.pdf");
    const QString folder = freshFolder(QStringLiteral("colours"));
    QVERIFY(run({{path}, folder, QStringLiteral(".pdf"), false}, s).failures.isEmpty());
    const QImage page = render(folder + QStringLiteral("/colours.pdf"), 100);
    QCOMPARE(page.size(), QSize(850, 1100)); // Letter
    const QList<QPoint> centres{{50, 25}, {150, 25}, {50, 75}, {150, 75}};
    for (int q = 0; q < 4; ++q) {
        const QColor actual = page.pixelColor(centres.at(q));
        const QColor wanted = expected.at(q);
        QVERIFY2(qAbs(actual.red() - wanted.red()) <= 6 && qAbs(actual.green() - wanted.green()) <= 6 &&
                     qAbs(actual.blue() - wanted.blue()) <= 6,
                 qPrintable(QStringLiteral("quadrant %1: %2, expected %3").arg(q).arg(actual.name(), wanted.name())));
    }
    QCOMPARE(page.pixelColor(205, 50), QColor(Qt::white));
    QCOMPARE(page.pixelColor(100, 105), QColor(Qt::white));
}

void TestImageConversion::jpegsPlacedAsTheyAreAreEmbeddedUnchanged_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("unchanged");
    QTest::newRow("at its own size") << "" << true;
    QTest::newRow("turned by its orientation") << "turned" << true;
    QTest::newRow("sRGB profile") << "srgb" << true;
    QTest::newRow("Display P3 profile: converted") << "p3" << false;
    QTest::newRow("a watermark") << "watermark" << false;
    QTest::newRow("an adjustment") << "rule" << false;
    QTest::newRow("scaled by the options") << "scale" << false;
    QTest::newRow("larger than the page") << "large" << false;
    QTest::newRow("grown to the page") << "grow" << false;
}

void TestImageConversion::jpegsPlacedAsTheyAreAreEmbeddedUnchanged()
{
    QFETCH(QString, variant);
    QFETCH(bool, unchanged);
    QImage picture(variant == QLatin1String("large") ? QSize(3000, 200) : QSize(200, 100), QImage::Format_RGB32);
    picture.fill(QColor(200, 60, 40));
    if (variant == QLatin1String("p3"))
        picture.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    else if (variant == QLatin1String("srgb"))
        picture.setColorSpace(QColorSpace(QColorSpace::SRgb));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "JPG", 90));
    if (variant == QLatin1String("turned"))
        jpeg = TestImages::withOrientation(jpeg, 6); // turn right to view
    const QString path = m_dir.filePath(QStringLiteral("placed.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
    file.close();
    ConvertSettings s;
    s.pdfFileName = QStringLiteral("placed.pdf");
    s.qrCodeText = variant == QLatin1String("watermark") ? QStringLiteral("draft") : QString();
    s.scaleImage = variant == QLatin1String("scale");
    s.scalePercentage = 50;
    s.resizeImageToPaper = variant == QLatin1String("grow");
    if (variant == QLatin1String("rule")) {
        AdjustmentRule brighter;
        brighter.ruleIndex = AdjustmentRule::Brightness;
        brighter.ruleValues[0] = 10;
        s.ruleList = {brighter};
    }
    const QString folder = freshFolder(QStringLiteral("placed"));
    QVERIFY(run({{path}, folder, QStringLiteral(".pdf"), false}, s).failures.isEmpty());
    TestEnvironment::run(QStringLiteral("pdfimages"),
                         {"-j", folder + QStringLiteral("/placed.pdf"), folder + QStringLiteral("/picture")});
    QFile embedded(folder + QStringLiteral("/picture-000.jpg"));
    QVERIFY(embedded.open(QIODevice::ReadOnly));
    QCOMPARE(embedded.readAll() == jpeg, unchanged);
}

void TestImageConversion::pdfOfNoSourcesIsOneBlankPage()
{
    ConvertSettings s;
    s.pdfFileName = QStringLiteral("empty.pdf");
    const QString folder = freshFolder(QStringLiteral("empty"));
    const ConvertResult result = run({{}, folder, QStringLiteral(".pdf"), false}, s);
    QVERIFY(result.failures.isEmpty());
    const QString info = QString::fromLatin1(TestEnvironment::run(QStringLiteral("pdfinfo"), {folder + "/empty.pdf"}));
    QVERIFY(info.simplified().contains(QStringLiteral("Pages: 1")));
}

void TestImageConversion::unreadableSourcesGiveBlankPagesAndAreReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("sentence"); // what follows the file's name in the report
    QTest::newRow("no picture") << "broken.jpg" << QByteArray("not a picture") << " could not be read as an image.";
    QTest::newRow("damaged") << "claims.png" << HostileImages::make(QStringLiteral("png-tEXt"))
                             << " could not be read as an image: it is damaged.";
    QTest::newRow("too large") << "huge.png" << HostileImages::make(QStringLiteral("png-pixels"))
                               << " could not be read as an image: it is too large (30000 × 30000 pixels).";
}

void TestImageConversion::unreadableSourcesGiveBlankPagesAndAreReported()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, sentence);
    const QString broken = m_dir.filePath(name);
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const QString red = source(QStringLiteral("red2.png"), QSize(60, 30), Qt::red);
    ConvertSettings s;
    s.pdfFileName = QStringLiteral("mixed.pdf");
    const QString folder = freshFolder(QStringLiteral("mixed"));
    QStringList progress;
    const ConvertResult result = run({{broken, red}, folder, QStringLiteral(".pdf"), false}, s, &progress);
    QCOMPARE(progress, QStringList({"0 " + name, "1 red2.png"}));
    QCOMPARE(result.failures, QStringList{QDir::toNativeSeparators(broken) + sentence});
    const QString info = QString::fromLatin1(TestEnvironment::run(QStringLiteral("pdfinfo"), {folder + "/mixed.pdf"}));
    QVERIFY(info.simplified().contains(QStringLiteral("Pages: 2")));
}

void TestImageConversion::unwritablePdfIsReportedAndLeavesNothing()
{
    ConvertSettings s;
    s.pdfFileName = QStringLiteral("out.pdf");
    const QString red = source(QStringLiteral("red3.png"), QSize(60, 30), Qt::red);
    const QString missing = m_dir.filePath(QStringLiteral("no/such/folder"));
    const ConvertResult result = run({{red}, missing, QStringLiteral(".pdf"), false}, s);
    QCOMPARE(result.failures.size(), 1);
    QVERIFY(result.failures.first().contains(QStringLiteral("could not be written")));
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("no"))));
}

void TestImageConversion::gifKeepsSizeAndPalette()
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 30; ++y)
            picture.setPixelColor(x, y, Qt::yellow);
    const QString path = m_dir.filePath(QStringLiteral("two.colour.png"));
    QVERIFY(picture.save(path));
    const QString folder = freshFolder(QStringLiteral("gif"));
    const ConvertResult result = run({{path}, folder, QStringLiteral(".gif"), false}, ConvertSettings());
    QVERIFY(result.failures.isEmpty());
    QCOMPARE(KivLocalConvertImage::lastOutputLocation(), QDir::toNativeSeparators(folder));
    QVERIFY(!KivLocalConvertImage::pdfMode());
    QImageReader reader(folder + QStringLiteral("/two.gif"));
    QCOMPARE(reader.format(), QByteArray("gif"));
    const QImage gif = reader.read();
    QCOMPARE(gif.size(), QSize(40, 30));
    QCOMPARE(gif.pixelColor(5, 5), QColor(Qt::yellow));
    QCOMPARE(gif.pixelColor(35, 5), QColor(Qt::blue));
}

void TestImageConversion::existingTargetsAreSkippedInOrder()
{
    const QString folder = freshFolder(QStringLiteral("existing"));
    const QString first = source(QStringLiteral("scan.1.png"), QSize(10, 10), Qt::red);
    const QString second = source(QStringLiteral("scan.2.png"), QSize(10, 10), Qt::green);
    const ConvertResult result = run({{first, second}, folder, QStringLiteral(".png"), false}, ConvertSettings());
    QCOMPARE(result.fileExistsList, QStringList{folder + QStringLiteral("/scan.png")});
    QCOMPARE(result.fileSourceList, QStringList{second});
    QCOMPARE(QImage(folder + QStringLiteral("/scan.png")).pixelColor(0, 0), QColor(Qt::red));

    const ConvertResult again = run({{second}, folder, QStringLiteral(".png"), true}, ConvertSettings());
    QVERIFY(again.fileExistsList.isEmpty());
    QCOMPARE(QImage(folder + QStringLiteral("/scan.png")).pixelColor(0, 0), QColor(Qt::green));
}

void TestImageConversion::emptyImagesAreReportedNotWritten()
{
    const QString folder = freshFolder(QStringLiteral("zero"));
    ConvertSettings s;
    s.scaleImage = true;
    s.scalePercentage = 0;
    const QString source = this->source(QStringLiteral("zero.png"), QSize(10, 10), Qt::red);
    ConvertResult result = run({{source}, folder, QStringLiteral(".png"), false}, s);
    QCOMPARE(result.failures.size(), 1);
    QVERIFY(QDir(folder).isEmpty());

    // A failed write leaves the file it was to replace as it was.
    QFile previous(folder + QStringLiteral("/zero.png"));
    QVERIFY(previous.open(QIODevice::WriteOnly));
    previous.write("previous");
    previous.close();
    result = run({{source}, folder, QStringLiteral(".png"), true}, s);
    QCOMPARE(result.failures.size(), 1);
    QVERIFY(previous.open(QIODevice::ReadOnly));
    QCOMPARE(previous.readAll(), QByteArray("previous"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"zero.png"});
}

void TestImageConversion::stopBeforeTheFirstSource()
{
    ConvertSettings s;
    s.pdfFileName = QStringLiteral("stopped.pdf");
    const QString red = source(QStringLiteral("red4.png"), QSize(10, 10), Qt::red);
    for (const QString &extension : {QStringLiteral(".pdf"), QStringLiteral(".png")}) {
        const std::atomic_bool stop = true;
        bool progressed = false;
        const ConvertResult result = ImageConversion::convert(
            {{red}, freshFolder(QStringLiteral("stopped")), extension, false}, s,
            [&progressed](int, const QString &) { progressed = true; }, stop);
        QVERIFY(result.stopped);
        QVERIFY(!progressed);
        QVERIFY2(QDir(m_dir.filePath(QStringLiteral("stopped"))).isEmpty(), "nothing is written, not even a blank page");
    }
}

void TestImageConversion::aStoppedPdfNeverReplacesAFile_data()
{
    QTest::addColumn<bool>("existed");
    QTest::addColumn<int>("stopAt");        // the source whose start brings the stop
    QTest::addColumn<int>("expectedPages"); // 0: the file as it was (or none)
    QTest::newRow("existing, stop on the first source") << true << 0 << 0;
    QTest::newRow("existing, stop on the last source") << true << 2 << 0;
    QTest::newRow("new, stop on the first source") << false << 0 << 1;
    QTest::newRow("new, stop on the second source") << false << 1 << 2;
}

// The source at hand when the stop comes is still finished; then the run ends.
void TestImageConversion::aStoppedPdfNeverReplacesAFile()
{
    QFETCH(bool, existed);
    QFETCH(int, stopAt);
    QFETCH(int, expectedPages);
    const QString folder = freshFolder(QStringLiteral("kept"));
    const QString pdf = folder + QStringLiteral("/report.pdf");
    const QByteArray before = "%PDF-1.4 the user's own report";
    if (existed) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    ConvertSettings s;
    s.pdfFileName = QStringLiteral("report.pdf");
    const QString red = source(QStringLiteral("red5.png"), QSize(60, 30), Qt::red);
    std::atomic_bool stop = false;
    const ConvertResult result = ImageConversion::convert(
        {{red, red, red}, folder, QStringLiteral(".pdf"), false}, s,
        [&stop, stopAt](int index, const QString &) {
            if (index == stopAt)
                stop = true;
        },
        stop);
    QVERIFY(result.stopped);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             existed || expectedPages > 0 ? QStringList{"report.pdf"} : QStringList());
    QFile file(pdf);
    if (existed) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    } else {
        const QString info = QString::fromLatin1(TestEnvironment::run(QStringLiteral("pdfinfo"), {pdf})).simplified();
        QVERIFY2(info.contains(QStringLiteral("Pages: %1").arg(expectedPages)), qPrintable(info));
    }
}

void TestImageConversion::threadSignals_data()
{
    QTest::addColumn<QString>("stopAt"); // "start", "first source" or ""
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("stop before start") << "start" << QStringList();
    QTest::newRow("stop at the first source") << "first source" << QStringList{"update a.png", "terminated"};
    QTest::newRow("complete with an unreadable source")
        << "" << QStringList{"update a.png", "update missing.png", "failed 1", "completed 0"};
}

void TestImageConversion::threadSignals()
{
    QFETCH(QString, stopAt);
    QFETCH(QStringList, expected);
    const QString a = source(QStringLiteral("a.png"), QSize(10, 10), Qt::red);
    auto *thread = new ConvertImagesThread;
    thread->sources = {a, m_dir.filePath(QStringLiteral("missing.png"))};
    thread->outputFolder = freshFolder(QStringLiteral("thread"));
    thread->extension = QStringLiteral(".jpg");
    QStringList events;
    connect(
        thread, &ConvertImagesThread::updateFileName, thread,
        [&](const QString &file) {
            events << QStringLiteral("update ") + QFileInfo(file).fileName();
            if (stopAt == QLatin1String("first source"))
                thread->requestStop();
        },
        Qt::DirectConnection);
    connect(thread, &ConvertImagesThread::threadTerminated, this, [&] { events << "terminated"; });
    connect(thread, &ConvertImagesThread::threadFailed, this,
            [&](const QStringList &reasons) { events << QStringLiteral("failed %1").arg(reasons.size()); });
    connect(thread, &ConvertImagesThread::threadCompleted, this,
            [&](const QList<QString> &existing) { events << QStringLiteral("completed %1").arg(existing.size()); });
    if (stopAt == QLatin1String("start"))
        thread->requestStop();
    thread->start();
    QVERIFY(thread->wait(60000));
    QCoreApplication::sendPostedEvents();
    delete thread;
    QCOMPARE(events, expected);
}

void TestImageConversion::aRunKeepsTheSettingsItStartedWith_data()
{
    QTest::addColumn<int>("changeAtPage"); // 0: as the thread starts, before any page
    QTest::newRow("a change as the run starts") << 0;
    QTest::newRow("a change between two pages") << 2;
}

// The form's values change while the run goes on; every page still comes
// from the settings the run was given: red, upright, in the file it names.
void TestImageConversion::aRunKeepsTheSettingsItStartedWith()
{
    QFETCH(int, changeAtPage);
    const QStringList sources{source(QStringLiteral("one.png"), QSize(60, 30), Qt::red),
                              source(QStringLiteral("two.png"), QSize(60, 30), Qt::red),
                              source(QStringLiteral("three.png"), QSize(60, 30), Qt::red)};
    ConvertSettings started;
    started.pdfFileName = QStringLiteral("steady.pdf");
    started.pdfQuality = 0;
    KivLocalConvertImage::editSettings([&started](ConvertSettings &s) { s = started; });
    auto changeTheFormsValues = [] {
        KivLocalConvertImage::editSettings([](ConvertSettings &s) {
            AdjustmentRule gray;
            gray.ruleIndex = AdjustmentRule::Grayscale;
            s.ruleList = {gray};
            s.pdfPaperOrientation = 1;
            s.pdfFileName = QStringLiteral("changed.pdf");
        });
    };
    const QString folder = freshFolder(QStringLiteral("steady"));
    ConvertImagesThread thread;
    thread.settings = started;
    thread.sources = sources;
    thread.outputFolder = folder;
    thread.extension = QStringLiteral(".pdf");
    int page = 0;
    if (changeAtPage == 0)
        connect(&thread, &QThread::started, &thread, changeTheFormsValues, Qt::DirectConnection);
    connect(
        &thread, &ConvertImagesThread::updateFileName, &thread,
        [&] {
            if (++page == changeAtPage)
                changeTheFormsValues();
        },
        Qt::DirectConnection);
    thread.start();
    QVERIFY(thread.wait(60000));
    KivLocalConvertImage::editSettings([](ConvertSettings &s) { s = ConvertSettings(); });

    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("steady.pdf")});
    const QString pdf = folder + QStringLiteral("/steady.pdf");
    for (int i = 1; i <= sources.size(); ++i) {
        const QString prefix = m_dir.filePath(QStringLiteral("steady-page"));
        TestEnvironment::run(QStringLiteral("pdftoppm"),
                             {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-f"), QString::number(i),
                              QStringLiteral("-l"), QString::number(i), QStringLiteral("-singlefile"),
                              QStringLiteral("-png"), pdf, prefix});
        const QImage rendered(prefix + QStringLiteral(".png"));
        QVERIFY2(rendered.height() > rendered.width(), qPrintable(QStringLiteral("page %1 is not upright").arg(i)));
        // 60 x 30 pixels at 96 dpi, drawn at 30 dpi: about 19 x 9.
        const QRect red = redRect(rendered);
        QVERIFY2(red.topLeft() == QPoint(0, 0) && qAbs(red.width() - 19) <= 1 && qAbs(red.height() - 9) <= 1,
                 qPrintable(QStringLiteral("page %1: red at %2,%3 %4x%5")
                                .arg(i)
                                .arg(red.x())
                                .arg(red.y())
                                .arg(red.width())
                                .arg(red.height())));
    }
}

void TestImageConversion::encodedFormatsBecomePdfPages_data()
{
    QTest::addColumn<QString>("encoder");
    QTest::addColumn<QStringList>("arguments"); // %in and %out stand for the PNG and the encoded file
    QTest::addColumn<QString>("name");
    QTest::newRow("HEIC") << "heif-enc" << QStringList{"-q", "90", "-o", "%out", "%in"} << "photo.heic";
    QTest::newRow("AVIF") << "avifenc" << QStringList{"-s", "10", "%in", "%out"} << "photo.avif";
    QTest::newRow("JPEG XL") << "cjxl" << QStringList{"%in", "%out", "-d", "0.5"} << "photo.jxl";
    QTest::newRow("16-bit planar TIFF") << "convert" << QStringList{"%in", "-depth", "16", "-interlace", "plane", "%out"}
                                        << "scan.tif";
}

// Left half orange, right half teal, so a page that is blank, grey or mirrored fails.
void TestImageConversion::encodedFormatsBecomePdfPages()
{
    QFETCH(QString, encoder);
    QFETCH(QStringList, arguments);
    QFETCH(QString, name);
    if (TestEnvironment::tool(encoder).isEmpty())
        QSKIP("the encoder is missing: run scripts/install-deps.sh");
    const QColor left(240, 120, 20);
    const QColor right(20, 160, 150);
    QImage picture(192, 96, QImage::Format_RGB32);
    picture.fill(right);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x)
            picture.setPixelColor(x, y, left);
    const QString png = m_dir.filePath(name + QStringLiteral(".png"));
    QVERIFY(picture.save(png));
    const QString encoded = m_dir.filePath(name);
    arguments.replaceInStrings(QStringLiteral("%in"), png).replaceInStrings(QStringLiteral("%out"), encoded);
    TestEnvironment::run(encoder, arguments);

    ConvertSettings s;
    s.pdfFileName = QStringLiteral("phone.pdf");
    s.pdfQuality = 0; // 96 dpi: the picture is 2 x 1 inches
    const QString folder = freshFolder(QStringLiteral("phone"));
    const ConvertResult result = run({{encoded}, folder, QStringLiteral(".pdf"), false}, s);
    QVERIFY2(result.failures.isEmpty(), qPrintable(result.failures.join(QLatin1Char('\n'))));
    const QImage page = render(folder + QStringLiteral("/phone.pdf"), 48);
    for (const auto &[point, expected] : {std::pair{QPoint(24, 24), left}, std::pair{QPoint(72, 24), right}}) {
        const QColor actual = page.pixelColor(point);
        QVERIFY2(qAbs(actual.red() - expected.red()) <= 12 && qAbs(actual.green() - expected.green()) <= 12 &&
                     qAbs(actual.blue() - expected.blue()) <= 12,
                 qPrintable(QStringLiteral("%1 at %2,%3").arg(actual.name()).arg(point.x()).arg(point.y())));
    }
}

QTEST_GUILESS_MAIN(TestImageConversion)
#include "tst_imageconversion.moc"
