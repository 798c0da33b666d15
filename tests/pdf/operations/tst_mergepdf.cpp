#include "mergepdf.h"
#include "pdftestfiles.h"
#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using Step = std::tuple<int, int, int>; // file, pages done, page count; -1s: writing

static Step stepOf(const MergeProgress &p)
{
    return p.writing ? Step(-1, -1, -1) : Step(p.fileIndex, p.pagesDone, p.pageCount);
}

class TestMergePdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void appendsEveryPageInListOrder();
    void stopNeverReplacesAFile_data();
    void stopNeverReplacesAFile();
    void unreadableFileWritesNothing();
    void manyFilesDoNotStayOpen();
    void keepsFormsLinksAndOutlinesOfEachCopy();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static QStringList numbers(int count);

    QTemporaryDir m_dir;
    QString m_two, m_many, m_one;
};

QStringList TestMergePdf::numbers(int count)
{
    QStringList texts;
    for (int page = 1; page <= count; ++page)
        texts.append(QString::number(page));
    return texts;
}

void TestMergePdf::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    m_two = path(QStringLiteral("two.pdf"));
    m_many = path(QStringLiteral("ünïcode 250.pdf"));
    m_one = path(QStringLiteral("one.pdf"));
    QVERIFY(PdfTestFiles::writeNumbered(m_two, 2));
    QVERIFY(PdfTestFiles::writeNumbered(m_many, 250));
    QVERIFY(PdfTestFiles::writeNumbered(m_one, 1));
}

void TestMergePdf::appendsEveryPageInListOrder()
{
    const QString output = path(QStringLiteral("merged.pdf"));
    QList<Step> steps;
    const std::atomic_bool stop = false;
    const PdfWorkResult result = mergePdfs(
        {{{m_two, {}}, {m_many, {}}, {m_one, {}}}, output},
        [&](const MergeProgress &p) {
            steps.append(stepOf(p));
        },
        stop);
    QVERIFY2(!result.error.failed(), qPrintable(result.error.message));
    QVERIFY(!result.stopped);
    QCOMPARE(PdfTestFiles::pageTexts(output), numbers(2) + numbers(250) + numbers(1));
    QCOMPARE(steps, (QList<Step>{{0, 0, -1},
                                 {0, 0, 2},
                                 {0, 2, 2},
                                 {1, 0, -1},
                                 {1, 0, 250},
                                 {1, 100, 250},
                                 {1, 200, 250},
                                 {1, 250, 250},
                                 {2, 0, -1},
                                 {2, 0, 1},
                                 {2, 1, 1},
                                 {-1, -1, -1}}));
}

// A stop keeps the pages merged so far only where no file was; closing the
// program writes nothing. "save" stops after the last page, as the file is written.
void TestMergePdf::stopNeverReplacesAFile_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<bool>("closing");
    QTest::addColumn<QString>("stopAt");
    QTest::addColumn<QStringList>("written"); // empty: no file
    const QStringList old = numbers(1);       // the file that was there: a copy of one.pdf
    QTest::newRow("cancel, new file") << false << false << "file 2" << numbers(2) + numbers(250);
    QTest::newRow("cancel, new file, while saving")
        << false << false << "save" << numbers(2) + numbers(250) + numbers(1);
    QTest::newRow("cancel over a file") << true << false << "file 2" << old;
    QTest::newRow("cancel over a file, while saving") << true << false << "save" << old;
    QTest::newRow("close, new file") << false << true << "file 2" << QStringList();
    QTest::newRow("close, new file, while saving") << false << true << "save" << QStringList();
    QTest::newRow("close over a file, while saving") << true << true << "save" << old;
}

void TestMergePdf::stopNeverReplacesAFile()
{
    QFETCH(bool, targetExists);
    QFETCH(bool, closing);
    QFETCH(QString, stopAt);
    QFETCH(QStringList, written);
    const QString output = path(QStringLiteral("stopped %1.pdf").arg(QTest::currentDataTag()));
    if (targetExists)
        QVERIFY(QFile::copy(m_one, output));
    std::atomic_bool stop = false;
    std::atomic_bool discard = false;
    const PdfWorkResult result = mergePdfs(
        {{{m_two, {}}, {m_many, {}}, {m_one, {}}}, output},
        [&](const MergeProgress &p) {
            const bool now = stopAt == QLatin1String("save") ? p.fileIndex == 2 && p.pagesDone == 1
                                                             : p.fileIndex == 1 && p.pagesDone == 100;
            if (now)
                (closing ? discard : stop) = true;
        },
        stop, &discard);
    QVERIFY2(!result.error.failed(), qPrintable(result.error.message));
    if (written.isEmpty())
        QVERIFY(!QFileInfo::exists(output));
    else
        QCOMPARE(PdfTestFiles::pageTexts(output), written);
    QCOMPARE(QDir(m_dir.path())
                 .entryList({QFileInfo(output).fileName() + QLatin1Char('*')}, QDir::Files | QDir::Hidden)
                 .size(),
             qsizetype(written.isEmpty() ? 0 : 1));
}

void TestMergePdf::unreadableFileWritesNothing()
{
    const QString damaged = path(QStringLiteral("damaged.pdf"));
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("%PDF-1.4\nnothing else\n") > 0);
    file.close();
    const QString output = path(QStringLiteral("not written.pdf"));
    QList<Step> steps;
    const std::atomic_bool stop = false;
    const PdfWorkResult result = mergePdfs(
        {{{m_one, {}}, {damaged, {}}, {m_two, {}}}, output},
        [&](const MergeProgress &p) {
            steps.append(stepOf(p));
        },
        stop);
    QVERIFY(result.error.message.startsWith(damaged));
    QCOMPARE(steps.last(), Step(1, 0, -1));
    QVERIFY(!QFileInfo::exists(output));
}

void TestMergePdf::manyFilesDoNotStayOpen()
{
    const auto openFiles = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const uint before = openFiles();
    uint during = 0;
    const QString output = path(QStringLiteral("many.pdf"));
    const QList<PdfInput> sources(150, {m_one, {}});
    const std::atomic_bool stop = false;
    const PdfWorkResult result = mergePdfs(
        {sources, output},
        [&](const MergeProgress &p) {
            if (p.fileIndex == 149)
                during = openFiles();
        },
        stop);
    QVERIFY2(!result.error.failed(), qPrintable(result.error.message));
    QVERIFY2(during < before + 10, qPrintable(QStringLiteral("%1 files open, %2 before").arg(during).arg(before)));
    QCOMPARE(PdfTestFiles::pageTexts(output), QStringList(150, QStringLiteral("1")));
}

// The same file twice: its pages twice, each copy with its own fields, links and bookmarks.
void TestMergePdf::keepsFormsLinksAndOutlinesOfEachCopy()
{
    const QString source = path(QStringLiteral("navigation.pdf"));
    QVERIFY(PdfTestFiles::writeNumbered(source, 10));
    PdfTestFiles::addLinksAndOutline(source);
    PdfTestFiles::addTextField(source, QStringLiteral("name"));
    const QString output = path(QStringLiteral("navigation twice.pdf"));
    const std::atomic_bool stop = false;
    const PdfWorkResult result = mergePdfs(
        {{{source, {}}, {m_one, {}}, {source, {}}}, output}, [](const MergeProgress &) {}, stop);
    QVERIFY2(!result.error.failed(), qPrintable(result.error.message));

    // The second copy's field would clash with the first's.
    QCOMPARE(PdfTestFiles::formFields(output), (QStringList{"name=value of name", "name+1=value of name"}));
    QCOMPARE(PdfTestFiles::linkTargets(output, 1), (QList<int>{8, 0}));
    QCOMPARE(PdfTestFiles::linkTargets(output, 12), (QList<int>{19, 0}));
    const QStringList chapters{"Chapter 1 -> %1", "Chapter 2 -> %2", "  Section 2.1 -> %3", "  Section 2.2 -> %4",
                               "Chapter 3 -> %5"};
    QStringList expected;
    for (const int offset : {0, 11}) {
        const QList<int> pages{1, 4, 5, 9, 8};
        for (qsizetype i = 0; i < chapters.size(); ++i)
            expected.append(chapters.at(i).arg(pages.at(i) + offset));
    }
    QCOMPARE(PdfTestFiles::outline(output), expected);
    TestEnvironment::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), output});
}

QTEST_MAIN(TestMergePdf)
#include "tst_mergepdf.moc"
