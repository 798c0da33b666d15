#include "pagequeue.h"

#include <QTest>
#include <QThread>

#include <atomic>
#include <mutex>

class TestPageQueue : public QObject
{
    Q_OBJECT

private slots:
    void pagesComeInOrderWithinTheBudget_data();
    void pagesComeInOrderWithinTheBudget();
};

void TestPageQueue::pagesComeInOrderWithinTheBudget_data()
{
    QTest::addColumn<QList<qint64>>("costs"); // also the bytes of each prepared page
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("slowTaker"); // ms the writer spends on each page
    QTest::addColumn<int>("mostAtOnce"); // pages started and not yet taken, at most
    QTest::newRow("threads bound small pages") << QList<qint64>(12, 1) << qint64(1000) << 2 << 0 << 4;
    QTest::newRow("bytes bound large pages") << QList<qint64>(6, 60) << qint64(100) << 4 << 0 << 1;
    QTest::newRow("two fit") << QList<qint64>(8, 40) << qint64(100) << 4 << 0 << 2;
    QTest::newRow("a page over the budget runs alone")
        << QList<qint64>{10, 500, 10, 10, 10} << qint64(100) << 4 << 0 << 3;
    QTest::newRow("prepared pages wait within the budget") << QList<qint64>(6, 30) << qint64(100) << 4 << 20 << 3;
}

// Every page is prepared once and handed out in order; the pages started and
// not yet taken never hold more than the budget, except one page larger than
// the whole budget, which then is the only one.
void TestPageQueue::pagesComeInOrderWithinTheBudget()
{
    QFETCH(QList<qint64>, costs);
    QFETCH(qint64, budget);
    QFETCH(int, threads);
    QFETCH(int, slowTaker);
    QFETCH(int, mostAtOnce);
    std::mutex mutex;
    qint64 held = 0;
    qint64 mostHeld = 0;
    int pagesHeld = 0;
    int mostPages = 0;
    bool oversizedShared = false;
    QList<int> prepared(costs.size(), 0);
    auto prepare = [&](int index) {
        {
            std::lock_guard lock(mutex);
            ++prepared[index];
            held += costs.at(index);
            ++pagesHeld;
            mostPages = qMax(mostPages, pagesHeld);
            if (held <= budget)
                mostHeld = qMax(mostHeld, held);
            else if (pagesHeld > 1)
                oversizedShared = true;
        }
        QThread::msleep(10); // long enough for a wrong bound to start more
        PageStream page;
        page.readable = true;
        page.dct = QByteArray(costs.at(index), char(index));
        return page;
    };
    {
        PageQueue queue(int(costs.size()), {[&](int index) { return costs.at(index); }, prepare}, threads, budget);
        for (int i = 0; i < costs.size(); ++i) {
            const PageStream page = queue.take(i);
            QCOMPARE(page.dct, QByteArray(costs.at(i), char(i)));
            std::lock_guard lock(mutex);
            held -= costs.at(i);
            --pagesHeld;
            QThread::msleep(slowTaker);
        }
    }
    QCOMPARE(prepared, QList<int>(costs.size(), 1));
    QVERIFY2(mostHeld <= budget, qPrintable(QString::number(mostHeld)));
    QVERIFY(!oversizedShared);
    QVERIFY2(mostPages <= mostAtOnce, qPrintable(QString::number(mostPages)));
}

QTEST_GUILESS_MAIN(TestPageQueue)
#include "tst_pagequeue.moc"
