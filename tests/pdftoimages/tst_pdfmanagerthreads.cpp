#include "pdfmanageraddpagethread.h"
#include "pdfmanagerexportpagethread.h"
#include "pdfmanagerglobal.h"
#include "testenvironment.h"
#include "testpdf.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

// Records the signals of a worker in the order the GUI thread receives them.
// What the pages and files contain is checked by the work-layer tests.
class SignalLog : public QObject
{
    Q_OBJECT
public:
    QStringList events;
    QList<QSize> sizes;

    // The events that start with `prefix`, in order.
    QStringList only(const QString &prefix) const
    {
        QStringList found;
        for (const QString &event : events)
            if (event.startsWith(prefix))
                found << event;
        return found;
    }

    explicit SignalLog(PdfManagerAddPageThread *thread)
    {
        connect(thread, &PdfManagerAddPageThread::loadPagesTerminated, this, [this] { events << "terminated"; });
        connect(thread, &PdfManagerAddPageThread::loadPagesStart, this, [this] { events << "start"; });
        connect(thread, &PdfManagerAddPageThread::loadPagesProgress, this,
                [this](int index) { events << QStringLiteral("progress %1").arg(index); });
        connect(thread, &PdfManagerAddPageThread::loadPagesFinish, this, [this] { events << "finish"; });
        connect(thread, &PdfManagerAddPageThread::pagesLoaded, this,
                [this](int generation, int firstPage, const QList<QByteArray> &thumbnails) {
                    for (const QByteArray &thumbnail : thumbnails) {
                        events << QStringLiteral("page %1 gen %2").arg(firstPage++).arg(generation);
                        sizes << QImage::fromData(thumbnail).size();
                    }
                });
        run(thread);
    }

    explicit SignalLog(PdfManagerExportPageThread *thread)
    {
        connect(thread, &PdfManagerExportPageThread::exportPagesTerminated, this, [this] { events << "terminated"; });
        connect(thread, &PdfManagerExportPageThread::exportPagesStart, this, [this] { events << "start"; });
        connect(thread, &PdfManagerExportPageThread::exportPagesProgress, this,
                [this](int index) { events << QStringLiteral("progress %1").arg(index); });
        connect(thread, &PdfManagerExportPageThread::exportPagesFailed, this, [this] { events << "failed"; });
        connect(thread, &PdfManagerExportPageThread::exportPagesFinish, this,
                [this](QList<QString> files, QList<int> pages) {
                    QStringList pageTexts;
                    for (int page : pages)
                        pageTexts << QString::number(page);
                    events << QStringLiteral("finish [%1] [%2]").arg(files.join(','), pageTexts.join(','));
                });
        run(thread);
    }

private:
    static void run(QThread *thread)
    {
        thread->start();
        QVERIFY(thread->wait(60000));
        // Deliver the queued signals.
        QCoreApplication::sendPostedEvents();
    }
};

class TestPdfManagerThreads : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadListsPagesInOrder();
    void loadStopsBeforeNextPage();
    void loadOfUnreadableInput();
    void exportReportsExistingFilesAndStops();

private:
    QTemporaryDir temp;
    QString tenPages;
};

void TestPdfManagerThreads::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(temp.isValid());
    tenPages = temp.filePath(QStringLiteral("ten.pdf"));
    QVERIFY(TestPdf::writeA4(tenPages, 10));
}

void TestPdfManagerThreads::loadListsPagesInOrder()
{
    const QString path = temp.filePath(QStringLiteral("mixed ü.pdf"));
    QVERIFY(TestPdf::write(path, {TestPdf::a4Portrait, TestPdf::a4Landscape, TestPdf::a4Portrait}));
    PdfManagerAddPageThread thread(path, QSize(200, 200), 7);
    const SignalLog log(&thread);

    // Pages come in batches, each after its progress.
    QCOMPARE(log.events.first(), QStringLiteral("start"));
    QCOMPARE(log.events.last(), QStringLiteral("finish"));
    QCOMPARE(log.only("progress"), QStringList({"progress 1", "progress 2", "progress 3"}));
    QCOMPARE(log.only("page"), QStringList({"page 0 gen 7", "page 1 gen 7", "page 2 gen 7"}));
    for (int page = 0; page < 3; ++page)
        QVERIFY(log.events.indexOf(QStringLiteral("progress %1").arg(page + 1)) <
                log.events.indexOf(QStringLiteral("page %1 gen 7").arg(page)));
    QCOMPARE(PdfManagerGlobal::currentPdfPath(), path);
    QCOMPARE(PdfManagerGlobal::pageCount(), 3);
    QCOMPARE(PdfManagerGlobal::pageSize(), QSize(595, 842));
    // Thumbnails fill the view's box, the landscape page stretched to the first page's proportions.
    QCOMPARE(log.sizes, QList<QSize>(3, QSize(141, 200)));
}

void TestPdfManagerThreads::loadStopsBeforeNextPage()
{
    PdfManagerAddPageThread thread(tenPages, QSize(100, 100), 2);
    // Cancel while page 5 renders: it still arrives, page 6 does not.
    connect(
        &thread, &PdfManagerAddPageThread::loadPagesProgress, &thread,
        [&thread](int index) {
            if (index == 5)
                thread.requestStop();
        },
        Qt::DirectConnection);
    const SignalLog log(&thread);
    QCOMPARE(log.sizes.size(), 5);
    QCOMPARE(log.only("progress").last(), QStringLiteral("progress 5"));
    QCOMPARE(log.events.mid(log.events.size() - 3), QStringList({"page 4 gen 2", "terminated", "finish"}));

    PdfManagerAddPageThread early(tenPages, QSize(100, 100), 3);
    early.requestStop();
    QVERIFY(SignalLog(&early).events.isEmpty());
}

void TestPdfManagerThreads::loadOfUnreadableInput()
{
    const QString text = temp.filePath(QStringLiteral("notes.pdf"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a PDF at all\n");
    file.close();
    const QString empty = temp.filePath(QStringLiteral("empty.pdf"));
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    const QString folder = temp.filePath(QStringLiteral("folder.pdf"));
    QVERIFY(QDir().mkpath(folder));
    // A PDF cut short.
    QFile whole(tenPages);
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QString truncated = temp.filePath(QStringLiteral("truncated.pdf"));
    QFile cut(truncated);
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(whole.size() / 3));
    cut.close();

    for (const QString &path : {text, empty, folder, truncated, temp.filePath(QStringLiteral("missing.pdf"))}) {
        PdfManagerAddPageThread thread(path, QSize(100, 100), 4);
        QCOMPARE(SignalLog(&thread).events, QStringList({"start", "finish"}));
        QCOMPARE(PdfManagerGlobal::pageCount(), 0);
    }
}

void TestPdfManagerThreads::exportReportsExistingFilesAndStops()
{
    QTemporaryDir out;
    PageExportJob job{tenPages, out.path(), {0, 2}, 1, 0, false};
    {
        PdfManagerExportPageThread thread(job);
        QCOMPARE(SignalLog(&thread).events, QStringList({"start", "progress 0", "progress 1", "finish [] []"}));
    }
    {
        // The same pass again hands both existing files and their pages over.
        PdfManagerExportPageThread thread(job);
        QCOMPARE(SignalLog(&thread).events.last(),
                 QStringLiteral("finish [%1,%2] [0,2]").arg(out.filePath("1.png"), out.filePath("3.png")));
    }
    job.pages = {4, 5, 6};
    PdfManagerExportPageThread thread(job);
    connect(
        &thread, &PdfManagerExportPageThread::exportPagesProgress, &thread,
        [&thread](int position) {
            if (position == 0)
                thread.requestStop();
        },
        Qt::DirectConnection);
    QCOMPARE(SignalLog(&thread).events, QStringList({"start", "progress 0", "terminated"}));
}

QTEST_MAIN(TestPdfManagerThreads)
#include "tst_pdfmanagerthreads.moc"
