#include "thumbnailitem.h"
#include "thumbnaillookahead.h"
#include "thumbnailstore.h"

#include <QListView>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

#include <memory>

namespace {

constexpr int rowCount = 1000;

// The rows whose item shows on screen, found the slow way.
std::pair<int, int> rowsShown(const QListView &view)
{
    int first = -1;
    int last = -1;
    for (int row = 0; row < view.model()->rowCount(); ++row) {
        if (view.viewport()->rect().intersects(view.visualRect(view.model()->index(row, 0)))) {
            if (first < 0)
                first = row;
            last = row;
        }
    }
    return {first, last};
}

} // namespace

class TestThumbnailLookahead : public QObject
{
    Q_OBJECT

private slots:
    void rowsAheadFollowTheScroll_data();
    void rowsAheadFollowTheScroll();
};

void TestThumbnailLookahead::rowsAheadFollowTheScroll_data()
{
    // Rows scrolled to in turn (each to the top of the view), the lookahead
    // asked after each; pictures the store holds before the last ask.
    QTest::addColumn<QList<int>>("stops");
    QTest::addColumn<QList<int>>("pictures");
    QTest::addColumn<bool>("forward");
    QTest::newRow("first screen") << QList<int>{0} << QList<int>{} << true;
    QTest::newRow("down") << QList<int>{0, 300} << QList<int>{} << true;
    QTest::newRow("up") << QList<int>{600, 300} << QList<int>{} << false;
    QTest::newRow("up, then still") << QList<int>{600, 300, 300} << QList<int>{} << false;
    QTest::newRow("down again") << QList<int>{600, 300, 500} << QList<int>{} << true;
    QTest::newRow("near the end") << QList<int>{0, 995} << QList<int>{} << true;
    QTest::newRow("near the top") << QList<int>{300, 2} << QList<int>{} << false;
    QTest::newRow("drawn ones left out") << QList<int>{0, 300} << QList<int>{1, 2, 3, 200, 400} << true;
}

void TestThumbnailLookahead::rowsAheadFollowTheScroll()
{
    QFETCH(QList<int>, stops);
    QFETCH(QList<int>, pictures);
    QFETCH(bool, forward);
    // Room for the small pictures below and one of the two large ones.
    ThumbnailStore store(nullptr, 64);
    QStandardItemModel model;
    QList<QStandardItem *> rows;
    for (int row = 0; row < rowCount; ++row)
        rows.append(new ThumbnailItem(&store, ThumbnailStore::Id(row), QString::number(row + 1)));
    model.invisibleRootItem()->appendRows(rows);
    QListView view;
    view.setViewMode(QListView::IconMode);
    view.setResizeMode(QListView::Adjust);
    view.setUniformItemSizes(true);
    view.setIconSize(QSize(64, 64));
    view.setModel(&model);
    view.resize(520, 330);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto *lookahead = new ThumbnailLookahead(&view, &store);
    QSignalSpy moved(lookahead, &ThumbnailLookahead::moved);

    QList<ThumbnailStore::Id> ahead;
    for (qsizetype stop = 0; stop < stops.size(); ++stop) {
        view.scrollTo(model.index(stops.at(stop), 0), QAbstractItemView::PositionAtTop);
        QCoreApplication::processEvents();
        if (stop == stops.size() - 1) {
            for (const int row : pictures)
                store.setThumbnail(ThumbnailStore::Id(row), QByteArray("x"));
        }
        ahead = lookahead->idsAhead();
    }
    if (stops.size() > 1 && stops.first() != stops.at(1))
        QVERIFY(moved.count() > 0);

    const auto [first, last] = rowsShown(view);
    QVERIFY(first >= 0 && last > first);
    const int screen = last - first + 1;
    QList<ThumbnailStore::Id> expected;
    for (int step = 1; step <= screen; ++step) {
        const int row = forward ? last + step : first - step;
        if (row >= 0 && row < rowCount && !pictures.contains(row))
            expected.append(ThumbnailStore::Id(row));
    }
    QCOMPARE(ahead, expected);

    // When one comes, it is kept as pictures on screen are, before those
    // nobody has looked at.
    if (!ahead.isEmpty()) {
        const ThumbnailStore::Id unseen = rowCount + 1;
        store.setThumbnail(unseen, QByteArray(40, 'u'));
        store.setThumbnail(ahead.first(), QByteArray(40, 'a'));
        QVERIFY(store.contains(ahead.first()));
        QVERIFY(!store.contains(unseen));
    }
}

QTEST_MAIN(TestThumbnailLookahead)
#include "tst_thumbnaillookahead.moc"
