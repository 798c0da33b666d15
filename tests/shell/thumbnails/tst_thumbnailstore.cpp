#include "thumbnailitem.h"
#include "thumbnailstore.h"

#include <QBuffer>
#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

#include <memory>

namespace {

// A JPEG of `size` that does not compress to nothing.
QByteArray noiseJpeg(QSize size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = random.generate() | 0xff000000;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 60);
    return bytes;
}

QByteArray solidPng(QColor colour)
{
    QImage image(30, 40, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QColor centreColour(const QIcon &icon)
{
    const QImage image = icon.pixmap(icon.availableSizes().value(0)).toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

class TestThumbnailStore : public QObject
{
    Q_OBJECT

private slots:
    void boundsHoldUnderALongList_data();
    void boundsHoldUnderALongList();
    void topAndPaintedRowsStayWhenFull();
    void missingPicturesAreAskedForWhenPainted();
    void clearReleasesEveryPicture();
};

void TestThumbnailStore::boundsHoldUnderALongList_data()
{
    QTest::addColumn<QSize>("box");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("rows");

    QTest::newRow("A4 page, ratio 1") << QSize(141, 200) << 1.0 << 4000;
    QTest::newRow("A4 page, ratio 1.5") << QSize(141, 200) << 1.5 << 3000;
    QTest::newRow("A4 page, ratio 2") << QSize(141, 200) << 2.0 << 2000;
    QTest::newRow("landscape, ratio 3") << QSize(200, 141) << 3.0 << 1000;
    QTest::newRow("icon, ratio 1") << QSize(64, 48) << 1.0 << 20000;
}

// Both budgets hold while a list far longer than they allow is filled and
// painted from top to bottom, and the decoded cache is charged what the
// pictures really take.
void TestThumbnailStore::boundsHoldUnderALongList()
{
    QFETCH(QSize, box);
    QFETCH(qreal, ratio);
    QFETCH(int, rows);
    const qint64 budget = 2 << 20;
    const qint64 cacheBytes = 1 << 20;
    ThumbnailStore store(nullptr, budget, cacheBytes);
    store.clear(ratio);
    const QSize pixels = (QSizeF(box) * ratio).toSize();
    QList<QByteArray> pictures;
    for (quint32 seed = 0; seed < 8; ++seed)
        pictures.append(noiseJpeg(pixels, seed));
    const qint64 decodedSize = qint64(pixels.width()) * pixels.height() * 4;

    qint64 listedBytes = 0;
    for (int row = 0; row < rows; ++row) {
        store.setThumbnail(row, pictures.at(row % pictures.size()));
        listedBytes += pictures.at(row % pictures.size()).size();
        QVERIFY(store.storedBytes() <= budget);
    }
    QVERIFY2(listedBytes > 2 * budget, "the list must not fit");
    for (int row = 0; row < rows; ++row) {
        const QIcon icon = store.icon(row);
        if (row < 3) {
            QVERIFY(store.contains(row));
            QCOMPARE(icon.availableSizes().value(0), pixels);
            QCOMPARE(icon.pixmap(box).deviceIndependentSize().toSize(), box);
            QCOMPARE(store.cachedBytes(), qMin(row + 1, int(cacheBytes / decodedSize)) * decodedSize);
        }
        QVERIFY(store.storedBytes() <= budget);
        QVERIFY(store.cachedBytes() <= cacheBytes);
    }
    QVERIFY(store.cachedBytes() > cacheBytes - decodedSize);
}

void TestThumbnailStore::topAndPaintedRowsStayWhenFull()
{
    const QByteArray picture = noiseJpeg(QSize(50, 50), 1);
    // Room for ten pictures.
    ThumbnailStore store(nullptr, 10 * picture.size() + picture.size() / 2);
    for (int row = 0; row < 20; ++row)
        store.setThumbnail(row, picture);
    for (int row = 0; row < 20; ++row)
        QCOMPARE(store.contains(row), row < 10);

    // A row painted without its picture gets room when it comes, at the
    // cost of the latest unseen one.
    store.icon(15);
    store.setThumbnail(15, picture);
    QVERIFY(store.contains(15));
    QVERIFY(!store.contains(9));
    // So does one drawn ahead of a scrolling list.
    store.expect({16});
    store.setThumbnail(16, picture);
    QVERIFY(store.contains(16));
    QVERIFY(!store.contains(8));

    // Painted rows outlast unseen ones, the least recently painted going first.
    for (int row : {0, 1, 2})
        store.icon(row);
    for (int row = 20; row < 30; ++row) {
        store.icon(row);
        store.setThumbnail(row, picture);
    }
    QCOMPARE(store.count(), 10);
    for (int row = 20; row < 30; ++row)
        QVERIFY(store.contains(row));
    // Decoded copies still show what the bytes no longer hold.
    QVERIFY(store.contains(0) && store.contains(2));
    QVERIFY(!store.contains(5));
}

void TestThumbnailStore::missingPicturesAreAskedForWhenPainted()
{
    ThumbnailStore store;
    QPixmap placeholderPixmap(10, 10);
    placeholderPixmap.fill(Qt::gray);
    store.setPlaceholder(QIcon(placeholderPixmap));
    QSignalSpy asked(&store, &ThumbnailStore::thumbnailsWanted);
    QSignalSpy changed(&store, &ThumbnailStore::thumbnailsChanged);

    for (ThumbnailStore::Id id : {7, 3, 7, 9})
        QCOMPARE(store.icon(id).availableSizes(), QList<QSize>{QSize(10, 10)});
    QCOMPARE(asked.count(), 0);
    QTRY_COMPARE(asked.count(), 1);
    QCOMPARE(store.takeWanted(), (QList<ThumbnailStore::Id>{7, 3, 9}));
    // Painted again: the latest wishes stand on their own.
    store.icon(3);
    QCOMPARE(store.takeWanted(), QList<ThumbnailStore::Id>{3});

    store.setThumbnail(3, solidPng(Qt::red));
    store.setThumbnail(9, QByteArray());
    QTRY_COMPARE(changed.count(), 1);
    QCOMPARE(centreColour(store.icon(3)), QColor(Qt::red));
    // A picture that cannot be drawn shows nothing and is not asked for again.
    QVERIFY(store.icon(9).isNull());
    QVERIFY(store.takeWanted().isEmpty());
    // The decorator sees each picture as it is decoded.
    store.setDecorator([](QImage &image) { image.fill(Qt::blue); });
    store.setThumbnail(3, solidPng(Qt::red));
    QCOMPARE(centreColour(store.icon(3)), QColor(Qt::blue));
}

// The rows of a list emptied or refilled never show the old pictures, in
// either of two views of the same page.
void TestThumbnailStore::clearReleasesEveryPicture()
{
    ThumbnailStore store;
    QStandardItemModel pages;
    QStandardItemModel strip;
    pages.appendRow(new ThumbnailItem(&store, 0, QStringLiteral("1")));
    strip.appendRow(new ThumbnailItem(&store, 0, QStringLiteral("1")));
    store.setThumbnail(0, solidPng(Qt::red));
    for (const QStandardItemModel *model : {&pages, &strip}) {
        QCOMPARE(centreColour(model->item(0)->icon()), QColor(Qt::red));
        QVERIFY(model->index(0, 0).data(ThumbnailItem::HasThumbnailRole).toBool());
    }
    QVERIFY(store.storedBytes() > 0 && store.cachedBytes() > 0);

    store.clear();
    QCOMPARE(store.count(), 0);
    QCOMPARE(store.storedBytes(), 0);
    QCOMPARE(store.cachedBytes(), 0);
    store.setThumbnail(0, solidPng(Qt::green));
    QVERIFY(pages.item(0)->icon().isNull());
    QVERIFY(!pages.index(0, 0).data(ThumbnailItem::HasThumbnailRole).toBool());
    QVERIFY(store.takeWanted().isEmpty());
    auto *reloaded = new ThumbnailItem(&store, 0, QStringLiteral("1"));
    strip.appendRow(reloaded);
    QCOMPARE(centreColour(reloaded->icon()), QColor(Qt::green));
    const std::unique_ptr<QStandardItem> copy(reloaded->clone());
    QCOMPARE(centreColour(copy->icon()), QColor(Qt::green));
}

QTEST_MAIN(TestThumbnailStore)
#include "tst_thumbnailstore.moc"
