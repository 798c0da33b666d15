#include "pdfwarningsummary.h"

#include <QTest>

class TestPdfWarningSummary : public QObject
{
    Q_OBJECT
private slots:
    void summary_data();
    void summary();
};

namespace {
const QString done = QStringLiteral("Done.");
const QString header =
    QStringLiteral("Done.\n\nDamage in the input was repaired while it was read; please check the result.\n");

QStringList numbered(int count)
{
    QStringList warnings;
    for (int i = 1; i <= count; ++i)
        warnings.append(QStringLiteral("a.pdf (object %1 0): stream length is wrong").arg(i));
    return warnings;
}
} // namespace

void TestPdfWarningSummary::summary_data()
{
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList() << done;
    QTest::newRow("one") << numbered(1) << header + "1 warning:\na.pdf (object 1 0): stream length is wrong";
    QTest::newRow("three, all shown")
        << numbered(3)
        << header + "3 warnings:\na.pdf (object 1 0): stream length is wrong\n"
                    "a.pdf (object 2 0): stream length is wrong\na.pdf (object 3 0): stream length is wrong";
    QTest::newRow("four, three shown")
        << numbered(4)
        << header + "4 warnings, the first 3:\na.pdf (object 1 0): stream length is wrong\n"
                    "a.pdf (object 2 0): stream length is wrong\na.pdf (object 3 0): stream length is wrong";
    QTest::newRow("fifteen thousand")
        << numbered(15000)
        << header + "15000 warnings, the first 3:\na.pdf (object 1 0): stream length is wrong\n"
                    "a.pdf (object 2 0): stream length is wrong\na.pdf (object 3 0): stream length is wrong";
    QTest::newRow("long line cut") << QStringList{QString(500, QLatin1Char('x'))}
                                   << header + "1 warning:\n" + QString(159, QLatin1Char('x')) + QChar(0x2026);
    QTest::newRow("exactly as long as a line")
        << QStringList{QString(160, QLatin1Char('y'))} << header + "1 warning:\n" + QString(160, QLatin1Char('y'));
    QTest::newRow("line breaks folded") << QStringList{QStringLiteral("  b.pdf:\nxref not found\r\n\tat offset 7 ")}
                                        << header + "1 warning:\nb.pdf: xref not found at offset 7";
}

void TestPdfWarningSummary::summary()
{
    QFETCH(QStringList, warnings);
    QFETCH(QString, expected);
    QCOMPARE(withPdfWarningSummary(done, warnings), expected);
}

QTEST_GUILESS_MAIN(TestPdfWarningSummary)
#include "tst_pdfwarningsummary.moc"
