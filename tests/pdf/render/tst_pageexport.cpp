#include "pageexport.h"
#include "pageimagewriter.h"
#include "testenvironment.h"
#include "testpdf.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLinearGradient>
#include <QPageSize>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <unistd.h>
#include <webp/decode.h>
#include <webp/encode.h>

class TestPageExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void firstPassOverwritePassAndExistingFiles();
    void filesHoldTheReferenceEncodingOfThePage_data();
    void filesHoldTheReferenceEncodingOfThePage();
    void transparentAreasComeOutWhiteInEveryFormat_data();
    void transparentAreasComeOutWhiteInEveryFormat();
    void pngAgreesWithPdftoppm();
    void stopEndsTheWorkersAndLeavesWholeFiles();
    void unreadableDocumentsExportNothing();
    void reportsPagesThatCannotBeWritten();
    void failedWriteKeepsTheExistingFile();
    void refusesPagesTooLargeToExport();
    void writesIntoUnicodeFolderNames();

private:
    QString freshFolder(const QString &name);
    static PageExportResult run(const PageExportJob &job, QList<int> *positions = nullptr);

    QTemporaryDir m_dir;
    QString m_pdf;     // A4 portrait, A4 landscape, A4 portrait
    QString m_richPdf; // text, translucent shapes, a gradient and a photo; portrait, landscape; a full-page photo
};

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// What drawing the rendered page onto white with QPainter stores.
QImage reference(const QString &pdf, int page, QSize size)
{
    QPdfDocument document;
    document.load(pdf);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(0, 0, document.render(page, size));
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

// Smooth colours with noise, so encoders meet photo-like content.
QImage noisyPicture(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator random(11);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 3 + int(random.bounded(40))) % 256, (y * 2) % 256, (x + y) % 256));
    return picture;
}

// Every kind of pixel a rendered page holds: transparent background, opaque
// areas, antialiased edges and translucent paint.
bool writeRichPdf(const QString &path)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(QSizeF(595, 842), QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int page = 0; page < 2; ++page) {
        if (page > 0) {
            writer.setPageSize(QPageSize(QSizeF(842, 595), QPageSize::Point, QString(), QPageSize::ExactMatch));
            writer.newPage();
        }
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(11);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(40, 40, 500, 200), Qt::TextWordWrap,
                         QStringLiteral("Pages of text, vectors and pictures. ").repeated(20));
        QLinearGradient gradient(40, 260, 540, 360);
        gradient.setColorAt(0, Qt::darkCyan);
        gradient.setColorAt(1, QColor(250, 200, 40));
        painter.fillRect(QRectF(40, 260, 500, 100), gradient);
        painter.setBrush(QColor(200, 30, 90, 110));
        painter.setPen(QPen(Qt::darkBlue, 2.5));
        painter.drawEllipse(QPointF(300, 320), 180, 90);
        painter.drawImage(QRectF(60, 400, 300, 200), noisyPicture(QSize(240, 160)));
    }
    // Every row differs from the one above in nearly every pixel.
    writer.setPageSize(QPageSize(QSizeF(595, 842), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.newPage();
    painter.drawImage(QRectF(0, 0, 595, 842), noisyPicture(QSize(595, 842)));
    return painter.end();
}

// Decoded with libwebp itself, so the check does not depend on a Qt plug-in.
QImage decodeWebp(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    int width = 0;
    int height = 0;
    uint8_t *rgb =
        WebPDecodeRGB(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()), &width, &height);
    if (!rgb)
        return {};
    const QImage image = QImage(rgb, width, height, width * 3, QImage::Format_RGB888).copy();
    WebPFree(rgb);
    return image;
}

bool encodeWebp(const QImage &image, const QString &path)
{
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture))
        return false;
    config.quality = 75;
    config.method = 2;
    picture.width = image.width();
    picture.height = image.height();
    WebPMemoryWriter memory;
    WebPMemoryWriterInit(&memory);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &memory;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const bool encoded =
        WebPPictureImportRGB(&picture, rgb.constBits(), int(rgb.bytesPerLine())) && WebPEncode(&config, &picture);
    WebPPictureFree(&picture);
    QFile file(path);
    const bool written =
        encoded && file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char *>(memory.mem), qint64(memory.size)) == qint64(memory.size);
    WebPMemoryWriterClear(&memory);
    return written;
}

QImage decode(const QString &path)
{
    return path.endsWith(QLatin1String(".webp")) ? decodeWebp(path) : QImage(path);
}

// A page of the given size in points with nothing painted: fully transparent.
bool writeBlankPdf(const QString &path, QSizeF size)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(size, QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter;
    return painter.begin(&writer) && painter.end();
}

// Hand-written because QPdfWriter refuses pages this small. A fifth of a point
// rounds to a page of 0 x 0 pixels.
bool writeTinyPagePdf(const QString &path)
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<int> offsets;
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 0.2 0.2] >>",
    };
    for (int i = 0; i < objects.size(); ++i) {
        offsets.append(int(pdf.size()));
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const int xref = int(pdf.size());
    pdf += "xref\n0 4\n0000000000 65535 f \n";
    for (int offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size 4 /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size();
}

} // namespace

void TestPageExport::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    m_pdf = m_dir.filePath(QStringLiteral("three pages.pdf"));
    QVERIFY(TestPdf::write(m_pdf, {TestPdf::a4Portrait, TestPdf::a4Landscape, TestPdf::a4Portrait}));
    m_richPdf = m_dir.filePath(QStringLiteral("rich.pdf"));
    QVERIFY(writeRichPdf(m_richPdf));
}

QString TestPageExport::freshFolder(const QString &name)
{
    const QString folder = m_dir.filePath(name);
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder))
        return {};
    return folder;
}

PageExportResult TestPageExport::run(const PageExportJob &job, QList<int> *positions)
{
    const std::atomic_bool stop = false;
    QThread *caller = QThread::currentThread();
    return exportPages(
        job,
        [&](int position) {
            QCOMPARE(QThread::currentThread(), caller);
            if (positions)
                positions->append(position);
        },
        stop);
}

void TestPageExport::firstPassOverwritePassAndExistingFiles()
{
    const QString folder = freshFolder(QStringLiteral("passes"));
    PageExportJob job{m_pdf, folder, {0, 2}, 1, 1, false};
    QList<int> positions;
    PageExportResult result = run(job, &positions);
    QCOMPARE(positions, (QList<int>{0, 1}));
    QVERIFY(result.failures.isEmpty() && result.fileExistsList.isEmpty() && result.pageExistsList.isEmpty());
    QVERIFY(!result.stopped);
    QCOMPARE(result.pageSize, QSize(595, 842));
    QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{"1.png", "3.png"}));
    QCOMPARE(QImageReader(folder + "/1.png").size(), QSize(1190, 1684));
    QCOMPARE(QImageReader(folder + "/3.png").size(), QSize(1190, 1684));
    // New files get the usual permissions, not those of a private temporary file.
    QVERIFY(QFileInfo(folder + "/1.png").permissions() & QFile::ReadOther);

    // Second first pass: both are reported, nothing is touched.
    QFile::resize(folder + "/3.png", 10); // so that a rewrite would show
    const QByteArray first = digest(folder + "/1.png");
    const QByteArray third = digest(folder + "/3.png");
    result = run(job);
    QCOMPARE(result.fileExistsList, (QStringList{folder + "/1.png", folder + "/3.png"}));
    QCOMPARE(result.pageExistsList, (QList<int>{0, 2}));
    QVERIFY(result.failures.isEmpty());
    QCOMPARE(digest(folder + "/1.png"), first);
    QCOMPARE(digest(folder + "/3.png"), third);

    // Overwrite pass for page index 2 rewrites 3.png only.
    job.pages = {2};
    job.overwrite = true;
    result = run(job);
    QVERIFY(result.failures.isEmpty() && result.fileExistsList.isEmpty() && result.pageExistsList.isEmpty());
    QCOMPARE(digest(folder + "/1.png"), first);
    QCOMPARE(QImage(folder + "/3.png").size(), QSize(1190, 1684));
    QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{"1.png", "3.png"}));
}

void TestPageExport::filesHoldTheReferenceEncodingOfThePage_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("scaleIndex");
    QTest::addColumn<int>("page");
    QTest::newRow("png 100 %") << 1 << 0 << 0;
    QTest::newRow("png 200 % stretched landscape") << 1 << 1 << 1;
    QTest::newRow("png 300 %") << 1 << 2 << 0;
    QTest::newRow("png 100 % full-page photo") << 1 << 0 << 2;
    QTest::newRow("jpg 100 % stretched landscape") << 0 << 0 << 1;
    QTest::newRow("jpg 200 %") << 0 << 1 << 0;
    QTest::newRow("jpg 400 %") << 0 << 3 << 0;
    QTest::newRow("webp 100 %") << 2 << 0 << 0;
    QTest::newRow("webp 200 % stretched landscape") << 2 << 1 << 1;
}

// The file is what the page drawn onto white with QPainter gives: PNG holds
// exactly those pixels; JPG is byte for byte Qt's writer at its default
// quality, saying how many dots per inch the scale stands for; WEBP is byte
// for byte libwebp at quality 75, speed method 2.
void TestPageExport::filesHoldTheReferenceEncodingOfThePage()
{
    QFETCH(int, format);
    QFETCH(int, scaleIndex);
    QFETCH(int, page);
    const QString folder = freshFolder(QStringLiteral("reference"));
    QVERIFY(run({m_richPdf, folder, {page}, format, scaleIndex, false}).failures.isEmpty());
    const QString file = pageTargetFileName(folder, page, format);
    QImage expected = reference(m_richPdf, page, QSize(595, 842) * (scaleIndex + 1));
    if (format == 1) {
        QFile png(file);
        QVERIFY(png.open(QIODevice::ReadOnly));
        const QByteArray header = png.read(26);
        QCOMPARE(header.at(24), char(8)); // bit depth
        QCOMPARE(header.at(25), char(2)); // colour type: RGB without alpha
        QCOMPARE(QImage(file).convertToFormat(QImage::Format_RGB32), expected);
        return;
    }
    const QString expectedFile = m_dir.filePath(QStringLiteral("expected"));
    if (format == 0) {
        const int dotsPerMeter = qRound(72 / 0.0254 * (scaleIndex + 1));
        expected.setDotsPerMeterX(dotsPerMeter);
        expected.setDotsPerMeterY(dotsPerMeter);
        QVERIFY(expected.save(expectedFile, "JPG", -1));
    } else {
        QVERIFY(encodeWebp(expected, expectedFile));
    }
    QCOMPARE(digest(file), digest(expectedFile));
}

void TestPageExport::transparentAreasComeOutWhiteInEveryFormat_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("file");
    QTest::newRow("jpg") << 0 << "1.jpg";
    QTest::newRow("png") << 1 << "1.png";
    QTest::newRow("webp") << 2 << "1.webp";
}

void TestPageExport::transparentAreasComeOutWhiteInEveryFormat()
{
    QFETCH(int, format);
    QFETCH(QString, file);
    const QString pdf = m_dir.filePath(QStringLiteral("blank.pdf"));
    QVERIFY(writeBlankPdf(pdf, QSizeF(200, 100)));
    const QString folder = freshFolder(QStringLiteral("white%1").arg(format));
    const PageExportResult result = run({pdf, folder, {0}, format, 2, false});
    QVERIFY(result.failures.isEmpty());
    const QImage image = decode(folder + '/' + file);
    QCOMPARE(image.size(), QSize(600, 300));
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            QVERIFY2(qGray(image.pixel(x, y)) >= 250, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

void TestPageExport::pngAgreesWithPdftoppm()
{
    const QString pdftoppm = TestEnvironment::tool(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm is not installed");
    const QString folder = freshFolder(QStringLiteral("poppler"));
    QVERIFY(run({m_pdf, folder, {2}, 1, 1, false}).failures.isEmpty());
    TestEnvironment::run(pdftoppm,
                         {"-r", "144", "-f", "3", "-l", "3", "-png", "-singlefile", m_pdf, folder + "/poppler"});
    const QImage ours = QImage(folder + "/3.png").convertToFormat(QImage::Format_RGB32);
    const QImage theirs = QImage(folder + "/poppler.png").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(ours.size(), theirs.size());
    // Two rasterisers differ along edges only: allow 2 % of clearly different pixels.
    qint64 different = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x)
            different += qAbs(qGray(ours.pixel(x, y)) - qGray(theirs.pixel(x, y))) > 64;
    QVERIFY2(different * 50 < qint64(ours.width()) * ours.height(), qPrintable(QString::number(different)));
}

void TestPageExport::stopEndsTheWorkersAndLeavesWholeFiles()
{
    const QString folder = freshFolder(QStringLiteral("stop"));
    // The user's own files beside the targets, named like temporary files.
    const QStringList own{"1.webp.backup", "2.webp.ab12cd", "3.webp.ff-part"};
    for (const QString &name : own) {
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("mine") == 4);
    }
    std::atomic_bool stop = false;
    QList<int> positions;
    const PageExportResult result = exportPages(
        {m_pdf, folder, {0, 1, 2}, 2, 4, false},
        [&](int position) {
            positions.append(position);
            stop = true;
        },
        stop);
    QVERIFY(result.stopped);
    QCOMPARE(positions, QList<int>{0});
    // Whatever was written before the workers were killed is whole; nothing half written stays.
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : own) {
        QVERIFY2(files.removeOne(name), qPrintable(name));
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("mine"));
    }
    for (const QString &file : std::as_const(files)) {
        QVERIFY2(QStringList({"1.webp", "2.webp"}).contains(file), qPrintable(file));
        QVERIFY(!decodeWebp(folder + "/" + file).isNull());
    }
}

void TestPageExport::unreadableDocumentsExportNothing()
{
    const QString empty = m_dir.filePath(QStringLiteral("empty.pdf"));
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    const QString jpeg = m_dir.filePath(QStringLiteral("photo.pdf"));
    QImage photo(30, 30, QImage::Format_RGB32);
    photo.fill(Qt::green);
    QVERIFY(photo.save(jpeg, "JPG"));
    const QString zeroSize = m_dir.filePath(QStringLiteral("zero.pdf"));
    QVERIFY(writeTinyPagePdf(zeroSize));

    for (const QString &pdf : {empty, jpeg, zeroSize, m_dir.path(), m_dir.filePath("missing.pdf")}) {
        const QString folder = freshFolder(QStringLiteral("unreadable"));
        const PageExportResult result = run({pdf, folder, {0, 1}, 1, 0, false});
        QVERIFY2(result.failures.size() == 2, qPrintable(pdf));
        QCOMPARE(result.failures.at(0).page, 0);
        QCOMPARE(result.failures.at(1).page, 1);
        QCOMPARE(result.failures.at(1).fileName, folder + "/2.png");
        QVERIFY(result.failures.at(0).reason.startsWith(QLatin1String("Page 1 ")));
        QVERIFY(QDir(folder).isEmpty());
        QVERIFY(!result.stopped);
    }
}

void TestPageExport::reportsPagesThatCannotBeWritten()
{
    const QString folder = freshFolder(QStringLiteral("unwritable"));
    QVERIFY(QDir().mkpath(folder + "/2.jpg")); // a folder where a page file should go
    const PageExportResult result = run({m_pdf, folder, {0, 1, 7}, 0, 0, true});
    QCOMPARE(result.failures.size(), 2);
    QCOMPARE(result.failures.at(0).page, 1);
    QCOMPARE(result.failures.at(0).fileName, folder + "/2.jpg");
    QVERIFY(result.failures.at(0).reason.contains(QLatin1String("could not be saved")));
    QCOMPARE(result.failures.at(1).page, 7);
    QVERIFY(result.failures.at(1).reason.contains(QLatin1String("does not exist")));
    QVERIFY(QFileInfo(folder + "/1.jpg").isFile());

    const QString missing = m_dir.filePath(QStringLiteral("no such folder"));
    QCOMPARE(run({m_pdf, missing, {0}, 1, 0, false}).failures.size(), 1);

    // Permissions do not stop root, so this part needs an ordinary user.
    if (geteuid() == 0)
        return;
    const QString readOnly = freshFolder(QStringLiteral("read-only"));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    const PageExportResult denied = run({m_pdf, readOnly, {0, 1}, 2, 0, false});
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(denied.failures.size(), 2);
}

void TestPageExport::failedWriteKeepsTheExistingFile()
{
    const QString folder = freshFolder(QStringLiteral("keep"));
    const QString target = folder + "/1.png";
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("previous export");
    file.close();
    // A zero-width image makes the encoder fail after the file was opened.
    const QImage broken(0, 10, QImage::Format_RGB32);
    for (PageImageFormat format : {PageImageFormat::Png, PageImageFormat::Webp, PageImageFormat::Jpg}) {
        QVERIFY(!writePageImage(broken, format, target).isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("previous export"));
        file.close();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"1.png"});
    }
}

void TestPageExport::refusesPagesTooLargeToExport()
{
    const QString huge = m_dir.filePath(QStringLiteral("huge.pdf"));
    QVERIFY(writeBlankPdf(huge, QSizeF(2384, 3370))); // A0
    const QString folder = freshFolder(QStringLiteral("huge"));
    const PageExportResult result = run({huge, folder, {0}, 1, 4, false});
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(result.failures.first().reason,
             QStringLiteral("Page 1 is too large to export at 500 % (11920 × 16850 pixels). "
                            "Choose a smaller scale."));
    QVERIFY(QDir(folder).isEmpty());

    // 17000 pixels a side is fine for PNG in principle but beyond WEBP.
    const QString wide = m_dir.filePath(QStringLiteral("wide.pdf"));
    QVERIFY(writeBlankPdf(wide, QSizeF(3400, 100)));
    const PageExportResult webp = run({wide, folder, {0}, 2, 4, false});
    QCOMPARE(webp.failures.size(), 1);
    QVERIFY(webp.failures.first().reason.contains(QLatin1String("WEBP")));
    QVERIFY(QDir(folder).isEmpty());
    QVERIFY(run({wide, folder, {0}, 2, 3, false}).failures.isEmpty()); // 13600 pixels
}

void TestPageExport::writesIntoUnicodeFolderNames()
{
    const QString folder = freshFolder(QStringLiteral("Seiten & Bilder ü 日本"));
    QVERIFY(!folder.isEmpty());
    const QString pdf = folder + QStringLiteral("/Grüße 文書.pdf");
    QVERIFY(QFile::copy(m_pdf, pdf));
    const QStringList names{"3.jpg", "3.png", "3.webp"};
    for (int format = 0; format < 3; ++format) {
        QVERIFY(run({pdf, folder, {2}, format, 0, false}).failures.isEmpty());
        QCOMPARE(decode(folder + '/' + names.at(format)).size(), QSize(595, 842));
    }
}

QTEST_MAIN(TestPageExport)
#include "tst_pageexport.moc"
