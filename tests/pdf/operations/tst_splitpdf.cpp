#include "pdftestfiles.h"
#include "splitpdf.h"
#include "testenvironment.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(QList<PageRange>)

class TestSplitPdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void copiesTheRangesInRowOrder_data();
    void copiesTheRangesInRowOrder();
    void refusesRangesThatDoNotFit_data();
    void refusesRangesThatDoNotFit();
    void keepsLinksAndOutlineOfCopiedPages();
    void leavesOutResourcesOfPagesNotCopied();
    void cutsOutlineLoops();
    void replacesItsOwnSource();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_tenPages;
};

void TestSplitPdf::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    m_tenPages = path(QStringLiteral("ten.pdf"));
    QVERIFY(PdfTestFiles::writeNumbered(m_tenPages, 10));
}

void TestSplitPdf::copiesTheRangesInRowOrder_data()
{
    QTest::addColumn<QList<PageRange>>("ranges");
    QTest::addColumn<QStringList>("pages");
    QTest::newRow("1-3 + 8-10") << QList<PageRange>{{1, 3}, {8, 10}} << QStringList{"1", "2", "3", "8", "9", "10"};
    QTest::newRow("5-5 then 2-2") << QList<PageRange>{{5, 5}, {2, 2}} << QStringList{"5", "2"};
    QTest::newRow("repeated pages") << QList<PageRange>{{2, 3}, {3, 3}, {2, 3}} << QStringList{"2", "3", "3", "2", "3"};
    QTest::newRow("whole document") << QList<PageRange>{{1, 10}}
                                    << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
}

void TestSplitPdf::copiesTheRangesInRowOrder()
{
    QFETCH(QList<PageRange>, ranges);
    QFETCH(QStringList, pages);
    const QString output = path(QStringLiteral("ranges.pdf"));
    QList<int> progress;
    const PdfWorkResult result = splitPdf({{m_tenPages, {}}, output, ranges}, [&](int done) { progress.append(done); });
    QVERIFY2(!result.error.failed(), qPrintable(result.error.message));
    QCOMPARE(PdfTestFiles::pageTexts(output), pages);
    QList<int> expectedProgress;
    for (int done = 1; done <= ranges.size(); ++done)
        expectedProgress.append(done);
    QCOMPARE(progress, expectedProgress);
    TestEnvironment::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), output});
}

void TestSplitPdf::refusesRangesThatDoNotFit_data()
{
    QTest::addColumn<QList<PageRange>>("ranges");
    QTest::addColumn<QString>("message");
    QTest::newRow("first after last") << QList<PageRange>{{1, 2}, {5, 3}}
                                      << "Range 2: the first page (5) comes after the last page (3).";
    QTest::newRow("beyond the end") << QList<PageRange>{{8, 12}}
                                    << "Range 1: pages 8 to 12 are outside the document (pages 1 to 10).";
    QTest::newRow("page zero") << QList<PageRange>{{1, 1}, {1, 1}, {0, 2}}
                               << "Range 3: pages 0 to 2 are outside the document (pages 1 to 10).";
    QTest::newRow("no range") << QList<PageRange>{} << "There is no page range to copy.";
}

void TestSplitPdf::refusesRangesThatDoNotFit()
{
    QFETCH(QList<PageRange>, ranges);
    QFETCH(QString, message);
    const QString output = path(QStringLiteral("refused.pdf"));
    const PdfWorkResult result = splitPdf({{m_tenPages, {}}, output, ranges}, [](int) {});
    QCOMPARE(result.error.message, message);
    QVERIFY(!QFileInfo::exists(output));
}

void TestSplitPdf::keepsLinksAndOutlineOfCopiedPages()
{
    const QString source = path(QStringLiteral("navigation.pdf"));
    QVERIFY(PdfTestFiles::writeNumbered(source, 10));
    PdfTestFiles::addLinksAndOutline(source);
    const QString output = path(QStringLiteral("navigation-split.pdf"));
    // Pages 1, 2, 3, 8, 9, 10 become 1 to 6.
    const PdfWorkResult result = splitPdf({{source, {}}, output, {{1, 3}, {8, 10}}}, [](int) {});
    QVERIFY2(!result.error.failed(), qPrintable(result.error.message));
    QCOMPARE(PdfTestFiles::linkTargets(output, 1), QList<int>{4}); // to page 8, which follows it
    QCOMPARE(PdfTestFiles::linkTargets(output, 2), QList<int>{});  // page 5 was not copied
    QCOMPARE(PdfTestFiles::linkTargets(output, 3), QList<int>{5}); // named, to page 9
    QCOMPARE(PdfTestFiles::outline(output),
             (QStringList{"Chapter 1 -> 1", "Chapter 2 -> none", "  Section 2.2 -> 5", "Chapter 3 -> 4"}));
}

void TestSplitPdf::leavesOutResourcesOfPagesNotCopied()
{
    const QString source = path(QStringLiteral("shared resources.pdf"));
    PdfTestFiles::writeSharedResources(source);
    const QString output = path(QStringLiteral("shared resources split.pdf"));
    const PdfWorkResult result = splitPdf({{source, {}}, output, {{2, 2}}}, [](int) {});
    QVERIFY2(!result.error.failed(), qPrintable(result.error.message));
    const QByteArray images = TestEnvironment::run(
        QStringLiteral("mutool"), {QStringLiteral("show"), output, QStringLiteral("pages/1/Resources/XObject")});
    QVERIFY2(images.contains("/Im2") && !images.contains("/Im1"), images.constData());
}

void TestSplitPdf::cutsOutlineLoops()
{
    const QString source = path(QStringLiteral("outline loop.pdf"));
    QVERIFY(PdfTestFiles::writeNumbered(source, 2));
    PdfTestFiles::addOutlineLoop(source);
    const QString output = path(QStringLiteral("outline loop split.pdf"));
    const PdfWorkResult result = splitPdf({{source, {}}, output, {{1, 2}}}, [](int) {});
    QVERIFY2(!result.error.failed(), qPrintable(result.error.message));
    QCOMPARE(PdfTestFiles::outline(output), (QStringList{"A -> 1", "  B -> 2"}));
}

void TestSplitPdf::replacesItsOwnSource()
{
    const QString source = path(QStringLiteral("self.pdf"));
    QVERIFY(PdfTestFiles::writeNumbered(source, 10));
    const PdfWorkResult result = splitPdf({{source, {}}, source, {{9, 10}, {1, 1}}}, [](int) {});
    QVERIFY2(!result.error.failed(), qPrintable(result.error.message));
    QCOMPARE(PdfTestFiles::pageTexts(source), (QStringList{"9", "10", "1"}));
}

QTEST_MAIN(TestSplitPdf)
#include "tst_splitpdf.moc"
