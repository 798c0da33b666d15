#include "mergepdflistview.h"
#include "testenvironment.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QStandardItemModel>
#include <QTest>
#include <QWindow>

namespace {

class DropTarget : public MergePDFListView
{
public:
    void dragMove(QDragMoveEvent *event) { dragMoveEvent(event); }
    void drop(QDropEvent *event) { dropEvent(event); }
};

} // namespace

// Rows put in order by dragging a thumbnail into the gap between two others.
class TestMergePdfListView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestEnvironment::isolate(); }
    void init();
    void cleanup();
    void dragIntoAGap_data();
    void dragIntoAGap();
    void filesDropIntoAGap_data();
    void filesDropIntoAGap();

private:
    QString order() const;
    QPoint pointAt(const QString &where) const;
    void dragRow(int source, const QPoint &to);

    std::unique_ptr<QStandardItemModel> items;
    std::unique_ptr<DropTarget> view;
    QImage shot; // the viewport while the drag was over it
};

void TestMergePdfListView::init()
{
    items = std::make_unique<QStandardItemModel>();
    QPixmap picture(60, 80);
    picture.fill(Qt::white);
    for (const char *name : {"a", "b", "c", "d", "e"})
        items->appendRow(new QStandardItem(QIcon(picture), QLatin1String(name)));
    view = std::make_unique<DropTarget>();
    // As the merge and password tools set it up.
    view->setViewMode(QListView::IconMode);
    view->setIconSize(QSize(60, 80));
    view->setDragDropMode(QAbstractItemView::InternalMove);
    view->setDefaultDropAction(Qt::MoveAction);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setDragEnabled(true);
    view->setDropIndicatorShown(true);
    view->setSpacing(8);
    view->setModel(items.get());
    // Three thumbnails a line: d and e on the second.
    const int step = view->visualRect(items->index(1, 0)).left() - view->visualRect(items->index(0, 0)).left();
    view->resize(3 * step + step / 2, 400);
    view->move(50, 50);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    view->doItemsLayout();
    QVERIFY(view->visualRect(items->index(3, 0)).top() > view->visualRect(items->index(2, 0)).bottom());
}

void TestMergePdfListView::cleanup()
{
    view.reset();
    items.reset();
}

QString TestMergePdfListView::order() const
{
    QString names;
    for (int row = 0; row < items->rowCount(); ++row)
        names += items->item(row)->text();
    return names;
}

// "gap 1|2", "left of 1", "right of 1", "before 0", "after 2", "end of line 1", "below all".
QPoint TestMergePdfListView::pointAt(const QString &where) const
{
    const auto rect = [this](int row) { return view->visualRect(items->index(row, 0)); };
    const QStringList words = where.split(QLatin1Char(' '));
    if (where.startsWith(QLatin1String("gap "))) {
        const QStringList rows = words.at(1).split(QLatin1Char('|'));
        const QRect before = rect(rows.at(0).toInt());
        const QRect after = rect(rows.at(1).toInt());
        return QPoint((before.right() + after.left()) / 2, before.center().y());
    }
    if (where.startsWith(QLatin1String("left of ")))
        return rect(words.last().toInt()).center() - QPoint(5, 0);
    if (where.startsWith(QLatin1String("right of ")))
        return rect(words.last().toInt()).center() + QPoint(5, 0);
    // Half the spacing off a thumbnail's side.
    if (where.startsWith(QLatin1String("before ")))
        return rect(words.last().toInt()).topLeft() + QPoint(-view->spacing() / 2 - 1, 10);
    if (where.startsWith(QLatin1String("after ")))
        return rect(words.last().toInt()).topRight() + QPoint(view->spacing() / 2 + 1, 10);
    if (where == QLatin1String("end of line 1"))
        return QPoint(view->viewport()->width() - 3, rect(3).center().y());
    return QPoint(20, view->viewport()->height() - 5);
}

// The drag starts as a person starts it; the platform's drag loop, which a
// headless test lacks, would then hand the view these events.
void TestMergePdfListView::dragRow(int source, const QPoint &to)
{
    QWindow *window = view->windowHandle();
    QWidget *viewport = view->viewport();
    const auto inWindow = [viewport](const QPoint &point) { return viewport->mapTo(viewport->window(), point); };
    const QPoint from = view->visualRect(items->index(source, 0)).center();
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, inWindow(from));
    QTest::mouseMove(window, inWindow(from) + QPoint(2, 0));
    QTest::mouseMove(window, inWindow(from) + QPoint(QApplication::startDragDistance() + 5, 0));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, inWindow(from));

    QMimeData mime;
    QDragMoveEvent move(to, Qt::MoveAction | Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    view->dragMove(&move);
    QVERIFY(move.isAccepted());
    shot = view->viewport()->grab().toImage();
    QDropEvent drop(to, Qt::MoveAction | Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    view->drop(&drop);
    QVERIFY(drop.isAccepted());
    // Not a move: the view would take the dragged row out once more.
    QCOMPARE(drop.dropAction(), Qt::CopyAction);
}

void TestMergePdfListView::dragIntoAGap_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("gap");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("bar"); // where the drop indicator shows
    // The gap decides, as the bar between two thumbnails shows it: on a
    // thumbnail, the half the pointer is on.
    QTest::newRow("a into gap b|c") << 0 << "gap 1|2" << 2 << "bacde" << "gap 1|2";
    QTest::newRow("d into gap a|b") << 3 << "gap 0|1" << 1 << "adbce" << "gap 0|1";
    QTest::newRow("e into gap a|b") << 4 << "gap 0|1" << 1 << "aebcd" << "gap 0|1";
    QTest::newRow("a onto left of c") << 0 << "left of 2" << 2 << "bacde" << "gap 1|2";
    QTest::newRow("a onto the right of c, last of its line") << 0 << "right of 2" << 3 << "bcade" << "after 2";
    QTest::newRow("e onto left of a") << 4 << "left of 0" << 0 << "eabcd" << "before 0";
    QTest::newRow("b into its own gap") << 1 << "gap 0|1" << 1 << "abcde" << "gap 0|1";
    QTest::newRow("b to the end of the last line") << 1 << "end of line 1" << 5 << "acdeb" << "after 4";
    QTest::newRow("c below every row") << 2 << "below all" << 5 << "abdec" << "after 4";
}

void TestMergePdfListView::dragIntoAGap()
{
    QFETCH(int, source);
    QFETCH(QString, where);
    QFETCH(int, gap);
    QFETCH(QString, order);
    QFETCH(QString, bar);
    const QPoint to = pointAt(where);
    QCOMPARE(view->dropGapAt(to), gap);
    QSignalSpy moved(view.get(), &MergePDFListView::moveItem);
    dragRow(source, to);
    QCOMPARE(this->order(), order);
    const QColor highlight = view->palette().color(QPalette::Highlight);
    QCOMPARE(shot.pixelColor(pointAt(bar)), highlight);
    QVERIFY(view->viewport()->grab().toImage().pixelColor(pointAt(bar)) != highlight);
    if (order != QLatin1String("abcde")) {
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.first().first().toInt(), source);
        QCOMPARE(items->item(moved.first().last().toInt())->text(), QString(QLatin1Char("abcde"[source])));
    }
}

// Files dragged in from outside show the gap they will go into, and are
// handed on with it.
void TestMergePdfListView::filesDropIntoAGap_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("gap");
    QTest::addColumn<QString>("bar");
    QTest::newRow("gap b|c") << "gap 1|2" << 2 << "gap 1|2";
    QTest::newRow("left of a") << "left of 0" << 0 << "before 0";
    QTest::newRow("below every row") << "below all" << 5 << "after 4";
}

void TestMergePdfListView::filesDropIntoAGap()
{
    QFETCH(QString, where);
    QFETCH(int, gap);
    QFETCH(QString, bar);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("new.pdf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file.fileName())});
    const QPoint to = pointAt(where);
    QWidget *viewport = view->viewport();
    QDragEnterEvent enter(to, Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(to, Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    const QColor highlight = view->palette().color(QPalette::Highlight);
    QCOMPARE(viewport->grab().toImage().pixelColor(pointAt(bar)), highlight);

    QList<int> handedOnGaps;
    connect(view.get(), &MergePDFListView::addURLs, this, [&] { handedOnGaps.append(view->droppedGap()); });
    QDropEvent drop(to, Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    QCOMPARE(handedOnGaps, QList<int>{gap});
    QCOMPARE(view->droppedGap(), -1);
    QVERIFY(viewport->grab().toImage().pixelColor(pointAt(bar)) != highlight);
    QCOMPARE(order(), QStringLiteral("abcde"));
}

QTEST_MAIN(TestMergePdfListView)
#include "tst_mergepdflistview.moc"
