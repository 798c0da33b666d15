#include "testenvironment.h"
#include "windowgeometry.h"

#include <QTest>

using WindowGeometry::Stored;
Q_DECLARE_METATYPE(WindowGeometry::Stored)

class TestWindowGeometry : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void restore_data()
    {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QRect>("expected");
        const auto neg = [](int v) { return static_cast<quint32>(v); };

        QTest::newRow("first start") << Stored{} << QRect(100, 100, 986, 513);
        QTest::newRow("narrow width grows, x kept past the edge")
            << Stored{1500, 50, 500, 600} << QRect(1500, 50, 986, 600);
        QTest::newRow("x pulled back to fit") << Stored{1800, 50, 986, 600} << QRect(934, 50, 986, 600);
        QTest::newRow("off the left edge") << Stored{neg(-8), 50, 1000, 600} << QRect(100, 50, 1000, 600);
        QTest::newRow("off the top edge") << Stored{50, neg(-8), 1000, 600} << QRect(50, 100, 1000, 600);
        QTest::newRow("wider than the screen") << Stored{10, 10, 5000, 600} << QRect(10, 10, 1920, 600);
        QTest::newRow("taller than the screen") << Stored{10, 10, 1000, 5000} << QRect(10, 10, 1000, 1040);
        QTest::newRow("short height grows") << Stored{10, 900, 1000, 100} << QRect(10, 900, 1000, 513);
        QTest::newRow("y pulled back to fit") << Stored{10, 900, 1000, 600} << QRect(10, 440, 1000, 600);
        QTest::newRow("x beyond the screen") << Stored{1921, 10, 1000, 600} << QRect(100, 10, 1000, 600);
        QTest::newRow("only a position") << Stored{200, 300, {}, {}} << QRect(200, 300, 986, 513);
    }

    void restore()
    {
        QFETCH(Stored, stored);
        QFETCH(QRect, expected);
        QCOMPARE(WindowGeometry::restore(stored, QSize(1920, 1040)), expected);
    }

    // A window left partly off screen stores a negative coordinate; it must
    // come back as the huge unsigned value the restore rule expects.
    void storeKeepsNegativeCoordinatesAsDwords()
    {
        WindowGeometry::write(QRect(-8, 20, 1200, 700));
        const Stored stored = WindowGeometry::read();
        QCOMPARE(stored.posX, std::optional<quint32>(4294967288u));
        QCOMPARE(stored.posY, std::optional<quint32>(20u));
        QCOMPARE(WindowGeometry::restore(stored, QSize(1920, 1040)), QRect(100, 20, 1200, 700));
    }
};

QTEST_GUILESS_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"
