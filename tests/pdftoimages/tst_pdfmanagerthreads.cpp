#include "pdfmanageraddpagethread.h"
#include "pdfmanagerexportpagethread.h"
#include "pdfmanagerglobal.h"
#include "testenvironment.h"
#include "testpdf.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Records the signals of a worker in the order the GUI thread receives them.
class SignalLog : public QObject
{
    Q_OBJECT
public:
    QStringList events;
    QList<QImage> images;
    QStringList failures;

    void watch(PdfManagerAddPageThread *thread)
    {
        connect(thread, &PdfManagerAddPageThread::loadPagesTerminated, this, [this] { events << "terminated"; });
        connect(thread, &PdfManagerAddPageThread::loadPagesStart, this, [this] { events << "start"; });
        connect(thread, &PdfManagerAddPageThread::loadPagesProgress, this,
                [this](int index) { events << QStringLiteral("progress %1").arg(index); });
        connect(thread, &PdfManagerAddPageThread::loadPagesFinish, this, [this] { events << "finish"; });
        connect(thread, &PdfManagerAddPageThread::pageLoaded, this, [this](int generation, int page, QImage image) {
            events << QStringLiteral("page %1 gen %2").arg(page).arg(generation);
            images << image;
        });
    }

    void watch(PdfManagerExportPageThread *thread)
    {
        connect(thread, &PdfManagerExportPageThread::exportPagesTerminated, this, [this] { events << "terminated"; });
        connect(thread, &PdfManagerExportPageThread::exportPagesStart, this, [this] { events << "start"; });
        connect(thread, &PdfManagerExportPageThread::exportPagesProgress, this,
                [this](int index) { events << QStringLiteral("progress %1").arg(index); });
        connect(thread, &PdfManagerExportPageThread::exportPagesFailed, this, [this](QStringList reasons) {
            events << "failed";
            failures << reasons;
        });
        connect(thread, &PdfManagerExportPageThread::exportPagesFinish, this,
                [this](QList<QString> files, QList<int> pages) {
                    QStringList pageTexts;
                    for (int page : pages)
                        pageTexts << QString::number(page);
                    events << QStringLiteral("finish [%1] [%2]").arg(files.join(','), pageTexts.join(','));
                });
    }
};

class TestPdfManagerThreads : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadListsPagesInOrder();
    void loadStretchesPagesToFirstPageProportions();
    void loadStopsBeforeNextPage();
    void loadStoppedBeforeStartIsSilent();
    void loadOfUnreadableInput_data();
    void loadOfUnreadableInput();
    void exportWritesPagesAndReportsExisting();
    void exportStopsAfterCurrentPage();
    void exportReportsPagesThatCannotBeWritten();

private:
    static void runToEnd(QThread *thread);
    QString writePdf(const QString &name, const QList<QSizeF> &sizes);

    QTemporaryDir temp;
};

void TestPdfManagerThreads::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(temp.isValid());
}

void TestPdfManagerThreads::runToEnd(QThread *thread)
{
    thread->start();
    QVERIFY(thread->wait(60000));
    // Deliver the queued signals.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

QString TestPdfManagerThreads::writePdf(const QString &name, const QList<QSizeF> &sizes)
{
    const QString path = temp.filePath(name);
    if (!QFile::exists(path) && !TestPdf::write(path, sizes))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestPdfManagerThreads::loadListsPagesInOrder()
{
    const QString path = writePdf(QStringLiteral("three pages ü.pdf"), QList<QSizeF>(3, TestPdf::a4Portrait));
    PdfManagerAddPageThread thread(path, QSize(200, 200), 7);
    SignalLog log;
    log.watch(&thread);
    runToEnd(&thread);

    QCOMPARE(log.events, QStringList({"start", "progress 1", "page 0 gen 7", "progress 2", "page 1 gen 7", "progress 3",
                                      "page 2 gen 7", "finish"}));
    QCOMPARE(PdfManagerGlobal::currentPdfPath(), path);
    QCOMPARE(PdfManagerGlobal::pageCount(), 3);
    QCOMPARE(PdfManagerGlobal::pageSize(), QSize(595, 842));
    // Thumbnails fill the view's box, not the full page.
    for (const QImage &image : std::as_const(log.images))
        QCOMPARE(image.size(), QSize(141, 200));
}

void TestPdfManagerThreads::loadStretchesPagesToFirstPageProportions()
{
    const QString path = writePdf(QStringLiteral("mixed.pdf"), {TestPdf::a4Portrait, TestPdf::a4Landscape});
    PdfManagerAddPageThread thread(path, QSize(400, 400), 1);
    SignalLog log;
    log.watch(&thread);
    runToEnd(&thread);

    QCOMPARE(log.images.size(), 2);
    QCOMPARE(log.images.at(0).height(), 400);
    QVERIFY(qAbs(log.images.at(0).width() - 400 * 595 / 842) <= 1);
    QCOMPARE(log.images.at(1).size(), log.images.at(0).size());
    // The unpainted page area comes out white, not transparent or black.
    const QImage page = log.images.at(0).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(page.pixelColor(page.width() - 3, page.height() - 3), QColor(Qt::white));
    QCOMPARE(page.pixelColor(15, 15).red(), 255);
    QVERIFY(page.pixelColor(15, 15).green() < 60);
}

void TestPdfManagerThreads::loadStopsBeforeNextPage()
{
    const QString path = writePdf(QStringLiteral("ten.pdf"), QList<QSizeF>(10, TestPdf::a4Portrait));
    PdfManagerAddPageThread thread(path, QSize(100, 100), 2);
    // Cancel while page 5 renders: it still arrives, page 6 does not.
    connect(
        &thread, &PdfManagerAddPageThread::loadPagesProgress, &thread,
        [&thread](int index) {
            if (index == 5)
                thread.requestStop();
        },
        Qt::DirectConnection);
    SignalLog log;
    log.watch(&thread);
    runToEnd(&thread);

    QCOMPARE(log.images.size(), 5);
    QCOMPARE(log.events.mid(log.events.size() - 4),
             QStringList({"progress 5", "page 4 gen 2", "terminated", "finish"}));
}

void TestPdfManagerThreads::loadStoppedBeforeStartIsSilent()
{
    const QString path = writePdf(QStringLiteral("ten.pdf"), QList<QSizeF>(10, TestPdf::a4Portrait));
    PdfManagerAddPageThread thread(path, QSize(100, 100), 3);
    thread.requestStop();
    SignalLog log;
    log.watch(&thread);
    runToEnd(&thread);
    QVERIFY(log.events.isEmpty());
}

void TestPdfManagerThreads::loadOfUnreadableInput_data()
{
    QTest::addColumn<QString>("path");
    const QString text = temp.filePath(QStringLiteral("notes.pdf"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a PDF at all\n");
    file.close();
    const QString empty = temp.filePath(QStringLiteral("empty.pdf"));
    QFile(empty).open(QIODevice::WriteOnly);
    const QString folder = temp.filePath(QStringLiteral("folder.pdf"));
    QDir().mkpath(folder);
    // A PDF cut in half.
    QFile whole(writePdf(QStringLiteral("whole.pdf"), QList<QSizeF>(4, TestPdf::a4Portrait)));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QString truncated = temp.filePath(QStringLiteral("truncated.pdf"));
    QFile cut(truncated);
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(whole.size() / 3));
    cut.close();

    QTest::newRow("text") << text;
    QTest::newRow("zero bytes") << empty;
    QTest::newRow("folder") << folder;
    QTest::newRow("missing") << temp.filePath(QStringLiteral("missing.pdf"));
    QTest::newRow("truncated") << truncated;
}

void TestPdfManagerThreads::loadOfUnreadableInput()
{
    QFETCH(QString, path);
    PdfManagerAddPageThread thread(path, QSize(100, 100), 4);
    SignalLog log;
    log.watch(&thread);
    runToEnd(&thread);
    QCOMPARE(log.events, QStringList({"start", "finish"}));
    QCOMPARE(PdfManagerGlobal::pageCount(), 0);
}

void TestPdfManagerThreads::exportWritesPagesAndReportsExisting()
{
    const QString pdf = writePdf(QStringLiteral("export.pdf"), QList<QSizeF>(3, TestPdf::a4Portrait));
    QTemporaryDir out;
    PageExportJob job;
    job.pdfPath = pdf;
    job.folder = out.path();
    job.pages = {0, 2};
    job.format = 1;
    job.scaleIndex = 1;
    const QString first = out.filePath(QStringLiteral("1.png"));
    const QString third = out.filePath(QStringLiteral("3.png"));
    {
        PdfManagerExportPageThread thread(job);
        SignalLog log;
        log.watch(&thread);
        runToEnd(&thread);
        QCOMPARE(log.events, QStringList({"start", "progress 0", "progress 1", "finish [] []"}));
        QCOMPARE(QImageReader(first).size(), QSize(1190, 1684));
        QCOMPARE(QImageReader(third).size(), QSize(1190, 1684));
        QVERIFY(!QFile::exists(out.filePath(QStringLiteral("2.png"))));
    }
    {
        // The same pass again leaves both files alone and names them.
        QFile::resize(third, 10);
        PdfManagerExportPageThread thread(job);
        SignalLog log;
        log.watch(&thread);
        runToEnd(&thread);
        QCOMPARE(log.events.last(), QStringLiteral("finish [%1,%2] [0,2]").arg(first, third));
        QCOMPARE(QFileInfo(third).size(), 10);
    }
    {
        job.pages = {2};
        job.overwrite = true;
        PdfManagerExportPageThread thread(job);
        SignalLog log;
        log.watch(&thread);
        runToEnd(&thread);
        QCOMPARE(log.events.last(), QStringLiteral("finish [] []"));
        QCOMPARE(QImageReader(third).size(), QSize(1190, 1684));
    }
}

void TestPdfManagerThreads::exportStopsAfterCurrentPage()
{
    const QString pdf = writePdf(QStringLiteral("export.pdf"), QList<QSizeF>(3, TestPdf::a4Portrait));
    QTemporaryDir out;
    PageExportJob job;
    job.pdfPath = pdf;
    job.folder = out.path();
    job.pages = {0, 1, 2};
    PdfManagerExportPageThread thread(job);
    connect(
        &thread, &PdfManagerExportPageThread::exportPagesProgress, &thread,
        [&thread](int position) {
            if (position == 0)
                thread.requestStop();
        },
        Qt::DirectConnection);
    SignalLog log;
    log.watch(&thread);
    runToEnd(&thread);
    QCOMPARE(log.events, QStringList({"start", "progress 0", "terminated"}));
    QVERIFY(QFile::exists(out.filePath(QStringLiteral("1.jpg"))));
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("2.jpg"))));
}

void TestPdfManagerThreads::exportReportsPagesThatCannotBeWritten()
{
    const QString pdf = writePdf(QStringLiteral("export.pdf"), QList<QSizeF>(3, TestPdf::a4Portrait));
    QTemporaryDir out;
    // A folder where page 2's file would go cannot be replaced by an image.
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("2.webp")));
    PageExportJob job;
    job.pdfPath = pdf;
    job.folder = out.path();
    job.pages = {0, 1, 2};
    job.format = 2;
    job.overwrite = true;
    PdfManagerExportPageThread thread(job);
    SignalLog log;
    log.watch(&thread);
    runToEnd(&thread);

    QCOMPARE(log.events.mid(log.events.size() - 2), QStringList({"failed", "finish [] []"}));
    QCOMPARE(log.failures.size(), 1);
    QVERIFY2(log.failures.first().startsWith(QStringLiteral("Page 2 could not be saved as ")),
             qPrintable(log.failures.first()));
    QVERIFY(QFile::exists(out.filePath(QStringLiteral("1.webp"))));
    QVERIFY(QFile::exists(out.filePath(QStringLiteral("3.webp"))));
}

QTEST_MAIN(TestPdfManagerThreads)
#include "tst_pdfmanagerthreads.moc"
