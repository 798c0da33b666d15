#include "pngchecksum.h"

#include <QRandomGenerator>
#include <QTest>

#include <zlib.h>

class TestPngChecksum : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithZlib_data();
    void agreesWithZlib();
};

// Lengths around the 16-byte steps and the reduction block of 5552 bytes;
// all-0xff bytes give the largest sums, so an overflow would show there.
void TestPngChecksum::agreesWithZlib_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("random");
    QTest::addColumn<int>("split"); // continued from the checksum of the bytes before this offset
    QTest::newRow("empty") << 0 << false << 0;
    QTest::newRow("one byte") << 1 << false << 0;
    QTest::newRow("15 bytes") << 15 << true << 0;
    QTest::newRow("16 bytes") << 16 << false << 0;
    QTest::newRow("17 bytes") << 17 << true << 0;
    QTest::newRow("one block less one") << 5551 << false << 0;
    QTest::newRow("one block") << 5552 << false << 0;
    QTest::newRow("one block and one") << 5553 << false << 0;
    QTest::newRow("a megabyte of 0xff") << (1 << 20) << false << 0;
    QTest::newRow("random, continued at an odd offset") << 100003 << true << 7777;
    QTest::newRow("0xff, continued at a block's end") << 20000 << false << 5552;
}

void TestPngChecksum::agreesWithZlib()
{
    QFETCH(int, length);
    QFETCH(bool, random);
    QFETCH(int, split);
    QByteArray bytes(length, char(0xff));
    if (random) {
        QRandomGenerator generator(5);
        for (char &byte : bytes)
            byte = char(generator.bounded(256));
    }
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const quint32 expected = quint32(adler32(adler32(0, nullptr, 0), data, uInt(length)));
    const quint32 first = pngAdler32(1, data, size_t(split));
    QCOMPARE(pngAdler32(first, data + split, size_t(length - split)), expected);
}

QTEST_GUILESS_MAIN(TestPngChecksum)
#include "tst_pngchecksum.moc"
