#include "mergepdflistview.h"
#include "pdffileitemdelegate.h"
#include "pdffilelist.h"
#include "pdflistaddfilethread.h"
#include "pdfpictureredraw.h"
#include "pdftestfiles.h"
#include "shelldialogs.h"
#include "testenvironment.h"
#include "thumbnailitem.h"
#include "thumbnailstore.h"

#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <sys/stat.h>

namespace {
const QString password = QStringLiteral("pässwörd");

// A script that types an answer into the password dialog and opens.
ShellDialogs::DialogScript answer(const QString &text)
{
    return [text](QDialog *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("passwordLineEdit"))->setText(text);
        dialog->accept();
    };
}

// The picture a row paints, at its own pixel size.
QImage rowPicture(const QModelIndex &index)
{
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    const QList<QSize> sizes = icon.availableSizes();
    return sizes.isEmpty() ? QImage() : icon.pixmap(sizes.constFirst()).toImage();
}

bool near(QRgb a, QRgb b)
{
    constexpr int tolerance = 40;
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}
} // namespace

class TestPdfFileList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void rowsKeepTheDropOrder_data();
    void rowsKeepTheDropOrder();
    void dropsGoIntoTheirGap_data();
    void dropsGoIntoTheirGap();
    void unreadFilesAreNeverInputs();
    void removeDuringIntake();
    void clearStopsAStuckIntake();
    void rowNamesItsFile();
    void keyboardReordersAndRemoves_data();
    void keyboardReordersAndRemoves();
    void rowPaintsTheFirstPage_data();
    void rowPaintsTheFirstPage();
    void picturesStayWithinTheirBudget_data();
    void picturesStayWithinTheirBudget();
    void removalsReleaseThePictures_data();
    void removalsReleaseThePictures();
    void laterWishesAreDrawnFirst_data();
    void laterWishesAreDrawnFirst();

private:
    QString pdf(const QString &name, int pages, const QStringList &encryption = {});
    QString twoColourPdf(const QString &name, QPageLayout::Orientation orientation);
    PdfFileList *makeList(QWidget &form, ThumbnailStore *pictures = nullptr);
    static QStringList rowTexts(const PdfFileList &list);
    static QStringList inputNames(const PdfFileList &list);

    QTemporaryDir dir;
};

void TestPdfFileList::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(dir.isValid());
}

void TestPdfFileList::init()
{
    ShellDialogs::setScripted(true);
}

QString TestPdfFileList::pdf(const QString &name, int pages, const QStringList &encryption)
{
    const QString path = dir.filePath(name);
    if (!QFile::exists(path)) {
        PdfTestFiles::writeNumbered(path, pages);
        if (!encryption.isEmpty())
            PdfTestFiles::encrypt(path, password, encryption);
    }
    return path;
}

// Page 1 red above and blue below; page 2 green all over, in the other orientation.
QString TestPdfFileList::twoColourPdf(const QString &name, QPageLayout::Orientation orientation)
{
    const QString path = dir.filePath(name);
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF()));
    QPainter painter(&writer);
    const QRect page = painter.viewport();
    painter.fillRect(QRect(0, 0, page.width(), page.height() / 2), Qt::red);
    painter.fillRect(QRect(0, page.height() / 2, page.width(), page.height() - page.height() / 2), Qt::blue);
    writer.setPageOrientation(orientation == QPageLayout::Portrait ? QPageLayout::Landscape : QPageLayout::Portrait);
    writer.newPage();
    painter.fillRect(painter.viewport(), Qt::green);
    painter.end();
    return path;
}

PdfFileList *TestPdfFileList::makeList(QWidget &form, ThumbnailStore *pictures)
{
    return new PdfFileList(
        [](const QList<PdfInput> &inputs, int generation) { return new PdfListAddFileThread(inputs, generation); },
        QStringLiteral("Test"), &form, pictures);
}

QStringList TestPdfFileList::rowTexts(const PdfFileList &list)
{
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row)
        texts.append(list.model()->item(row)->text());
    return texts;
}

QStringList TestPdfFileList::inputNames(const PdfFileList &list)
{
    QStringList names;
    for (const PdfInput &input : list.inputs())
        names.append(QFileInfo(input.path).fileName() + (input.password.isEmpty() ? QString() : QStringLiteral("+pw")) +
                     QLatin1Char(':') + QString::number(input.pageCount));
    return names;
}

// A file that needs a password keeps its place in the drop while it is asked about.
void TestPdfFileList::rowsKeepTheDropOrder_data()
{
    QTest::addColumn<QStringList>("answers"); // one per locked file; empty: Cancel
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("inputs");
    QTest::newRow("password given") << QStringList{password, password} << QStringList{"1-2", "1-3", "1-1", "1-4"}
                                    << QStringList{"a.pdf:2", "locked.pdf+pw:3", "c.pdf:1", "locked R4.pdf+pw:4"};
    QTest::newRow("first cancelled") << QStringList{QString(), password} << QStringList{"1-2", "1-1", "1-4"}
                                     << QStringList{"a.pdf:2", "c.pdf:1", "locked R4.pdf+pw:4"};
}

void TestPdfFileList::rowsKeepTheDropOrder()
{
    QFETCH(QStringList, answers);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, inputs);
    for (const QString &text : std::as_const(answers)) {
        if (text.isEmpty())
            ShellDialogs::enqueueDialogScript([](QDialog *dialog) { dialog->reject(); });
        else
            ShellDialogs::enqueueDialogScript(answer(text));
    }
    QWidget form;
    PdfFileList *list = makeList(form);
    QSignalSpy added(list, &PdfFileList::filesAdded);
    list->add({pdf("a.pdf", 2), pdf("locked.pdf", 3, {"256"}), pdf("c.pdf", 1),
               pdf("locked R4.pdf", 4, {"128", "--use-aes=y"})});
    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, 20000);
    QCOMPARE(rowTexts(*list), rows);
    QCOMPARE(inputNames(*list), inputs);
    QVERIFY(!list->isBusy());
}

// Files dropped between two rows are listed there, a file that needs a
// password included; if the row they were dropped before has gone, at the end.
void TestPdfFileList::dropsGoIntoTheirGap_data()
{
    QTest::addColumn<int>("beforeRow");
    QTest::addColumn<bool>("removeThatRow");
    QTest::addColumn<QStringList>("inputs");
    QTest::newRow("before the first") << 0 << false
                                      << QStringList{"dropped.pdf:4", "dropped locked.pdf+pw:5", "first.pdf:1", "second.pdf:2", "third.pdf:3"};
    QTest::newRow("between b and c") << 2 << false
                                     << QStringList{"first.pdf:1", "second.pdf:2", "dropped.pdf:4", "dropped locked.pdf+pw:5", "third.pdf:3"};
    QTest::newRow("the end") << -1 << false
                             << QStringList{"first.pdf:1", "second.pdf:2", "third.pdf:3", "dropped.pdf:4", "dropped locked.pdf+pw:5"};
    QTest::newRow("before b, removed meanwhile") << 1 << true
                                                 << QStringList{"first.pdf:1", "third.pdf:3", "dropped.pdf:4", "dropped locked.pdf+pw:5"};
}

void TestPdfFileList::dropsGoIntoTheirGap()
{
    QFETCH(int, beforeRow);
    QFETCH(bool, removeThatRow);
    QFETCH(QStringList, inputs);
    QWidget form;
    PdfFileList *list = makeList(form);
    QSignalSpy added(list, &PdfFileList::filesAdded);
    list->add({pdf("first.pdf", 1), pdf("second.pdf", 2), pdf("third.pdf", 3)});
    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, 20000);
    ShellDialogs::enqueueDialogScript(answer(password));
    list->add({pdf("dropped.pdf", 4), pdf("dropped locked.pdf", 5, {"256"})}, beforeRow);
    if (removeThatRow)
        list->removeRow(beforeRow);
    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 2, 20000);
    QCOMPARE(inputNames(*list), inputs);
    QCOMPARE(list->rowCount(), inputs.size());
}

// Files still being read are neither rows nor inputs, and the list says it is busy.
void TestPdfFileList::unreadFilesAreNeverInputs()
{
    QWidget form;
    PdfFileList *list = makeList(form);
    QSignalSpy busy(list, &PdfFileList::busyChanged);
    list->add({pdf("a.pdf", 2)});
    QVERIFY(list->isBusy());
    QVERIFY(list->inputs().isEmpty());
    QVERIFY(list->contains(pdf("a.pdf", 2)));
    QTRY_COMPARE(busy.count(), 2);
    QCOMPARE(busy.at(0).at(0).toBool(), true);
    QCOMPARE(busy.at(1).at(0).toBool(), false);
    QCOMPARE(inputNames(*list), QStringList{"a.pdf:2"});
}

void TestPdfFileList::removeDuringIntake()
{
    QWidget form;
    PdfFileList *list = makeList(form);
    QSignalSpy added(list, &PdfFileList::filesAdded);
    list->add({pdf("a.pdf", 2), pdf("b.pdf", 5), pdf("c.pdf", 1)});
    QTRY_VERIFY(list->rowCount() >= 1);
    list->removeRow(0);
    QTRY_COMPARE(added.count(), 1);
    QCOMPARE(rowTexts(*list), (QStringList{"1-5", "1-1"}));
    QCOMPARE(inputNames(*list), (QStringList{"b.pdf:5", "c.pdf:1"}));
}

// A file whose worker hangs holds the intake for a minute; Clear ends it at
// once, and a named pipe is refused without being opened.
void TestPdfFileList::clearStopsAStuckIntake()
{
    const QString pipe = dir.filePath(QStringLiteral("pipe.pdf"));
    QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    ShellDialogs::enqueueAnswer(int(QMessageBox::Ok));
    QWidget form;
    PdfFileList *list = makeList(form);
    QSignalSpy added(list, &PdfFileList::filesAdded);
    list->add({pipe, pdf("a.pdf", 2)});
    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, 5000);
    QCOMPARE(ShellDialogs::takeQuestions().last().text,
             QStringLiteral("This file could not be opened and was left out:\n\n"
                            "pipe.pdf: it is not a regular file (a pipe or a device)"));

    qputenv("FOLIOFORGE_RENDER_FAULT", "hang:1");
    list->add({pdf("c.pdf", 1)});
    QTest::qWait(300);
    list->clear();
    qunsetenv("FOLIOFORGE_RENDER_FAULT");
    QTRY_VERIFY_WITH_TIMEOUT(!list->isBusy(), 2000);
    list->add({pdf("b.pdf", 5)});
    QTRY_COMPARE_WITH_TIMEOUT(rowTexts(*list), QStringList{"1-5"}, 5000);
}

void TestPdfFileList::rowNamesItsFile()
{
    QWidget form;
    PdfFileList *list = makeList(form);
    list->add({pdf("a.pdf", 2), pdf("c.pdf", 1)});
    QTRY_COMPARE(list->rowCount(), 2);
    const QModelIndex first = list->model()->index(0, 0);
    const QModelIndex second = list->model()->index(1, 0);
    QCOMPARE(first.data(PdfFileItemDelegate::FileNameRole).toString(), QStringLiteral("a.pdf"));
    QCOMPARE(first.data(Qt::AccessibleTextRole).toString(), QStringLiteral("a.pdf, 2 pages"));
    QCOMPARE(second.data(Qt::ToolTipRole).toString(), QStringLiteral("c.pdf, 1 page"));
}

// Ctrl with an arrow moves the current row one place; Delete asks for removal.
void TestPdfFileList::keyboardReordersAndRemoves_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("removals");
    QTest::newRow("Ctrl+Right") << 0 << int(Qt::Key_Right) << "bac" << 0;
    QTest::newRow("Ctrl+Down") << 1 << int(Qt::Key_Down) << "acb" << 0;
    QTest::newRow("Ctrl+Left") << 2 << int(Qt::Key_Left) << "acb" << 0;
    QTest::newRow("Ctrl+Up at the start") << 0 << int(Qt::Key_Up) << "abc" << 0;
    QTest::newRow("Ctrl+Right at the end") << 2 << int(Qt::Key_Right) << "abc" << 0;
    QTest::newRow("Delete") << 1 << int(Qt::Key_Delete) << "abc" << 1;
}

void TestPdfFileList::keyboardReordersAndRemoves()
{
    QFETCH(int, current);
    QFETCH(int, key);
    QFETCH(QString, order);
    QFETCH(int, removals);
    QStandardItemModel model;
    for (const char *name : {"a", "b", "c"})
        model.appendRow(new QStandardItem(QString::fromLatin1(name)));
    MergePDFListView view;
    view.setModel(&model);
    view.selectionModel()->setCurrentIndex(model.index(current, 0), QItemSelectionModel::ClearAndSelect);
    QSignalSpy moved(&view, &MergePDFListView::moveItem);
    QSignalSpy removeRequested(&view, &MergePDFListView::removeRequested);
    QTest::keyClick(&view, Qt::Key(key), key == Qt::Key_Delete ? Qt::NoModifier : Qt::ControlModifier);
    QString now;
    for (int row = 0; row < model.rowCount(); ++row)
        now += model.item(row)->text();
    QCOMPARE(now, order);
    QCOMPARE(moved.count(), order == QLatin1String("abc") ? 0 : 1);
    QCOMPARE(removeRequested.count(), removals);
}

// The row shows the file's first page, as another renderer draws it, at the
// screen's pixel density and no larger than the picture box.
void TestPdfFileList::rowPaintsTheFirstPage_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("portrait") << int(QPageLayout::Portrait) << 1.0 << QSize(141, 200);
    QTest::newRow("landscape, ratio 2") << int(QPageLayout::Landscape) << 2.0 << QSize(400, 282);
    QTest::newRow("portrait, ratio 1.5") << int(QPageLayout::Portrait) << 1.5 << QSize(211, 300);
}

void TestPdfFileList::rowPaintsTheFirstPage()
{
    QFETCH(int, orientation);
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);
    const QString path = twoColourPdf(QStringLiteral("colours%1.pdf").arg(QTest::currentDataTag()),
                                      QPageLayout::Orientation(orientation));
    QWidget form;
    PdfFileList *list = makeList(form);
    list->setDevicePixelRatio(ratio);
    list->add({path});
    QTRY_COMPARE_WITH_TIMEOUT(list->rowCount(), 1, 10000);
    const QImage shown = rowPicture(list->model()->index(0, 0));
    QCOMPARE(shown.size(), pixels);

    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {"-f", "1", "-l", "1", "-singlefile", "-scale-to-x", QString::number(pixels.width()), "-scale-to-y",
                    QString::number(pixels.height()), "-png", path, dir.filePath(QStringLiteral("reference"))});
    QVERIFY(pdftoppm.waitForFinished(20000));
    const QImage reference(dir.filePath(QStringLiteral("reference.png")));
    QCOMPARE(reference.size(), pixels);
    for (const QPointF &at : {QPointF(0.5, 0.25), QPointF(0.25, 0.75), QPointF(0.9, 0.1)}) {
        const QPoint pixel(int(at.x() * pixels.width()), int(at.y() * pixels.height()));
        QVERIFY2(near(shown.pixel(pixel), reference.pixel(pixel)),
                 qPrintable(QStringLiteral("at %1,%2: %3 instead of %4")
                                .arg(pixel.x())
                                .arg(pixel.y())
                                .arg(shown.pixel(pixel), 0, 16)
                                .arg(reference.pixel(pixel), 0, 16)));
    }
    // A faint edge, so a white page shows on the white list.
    QVERIFY(qRed(shown.pixel(0, 0)) < qRed(reference.pixel(0, 0)) - 32);
}

// However long the list, its pictures take no more than the store's budget,
// compressed, and its cache, decoded, at any pixel density; laying the list
// out decodes nothing, painting decodes only what is shown, and a row shown
// after its picture was let go of gets it drawn again.
void TestPdfFileList::picturesStayWithinTheirBudget_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("ratio 1") << 1.0;
    QTest::newRow("ratio 2") << 2.0;
}

void TestPdfFileList::picturesStayWithinTheirBudget()
{
    QFETCH(qreal, ratio);
    constexpr int files = 30;
    constexpr qint64 budget = 24 * 1024;
    constexpr qint64 cache = 1024 * 1024;
    QStringList paths;
    for (int file = 0; file < files; ++file)
        paths.append(pdf(QStringLiteral("long%1.pdf").arg(file), 1 + file % 3));
    ThumbnailStore store(nullptr, budget, cache);
    QWidget form;
    PdfFileList *list = makeList(form, &store);
    list->setDevicePixelRatio(ratio);
    QSignalSpy added(list, &PdfFileList::filesAdded);
    list->add(paths);
    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, 60000);
    QCOMPARE(list->rowCount(), files);
    QVERIFY(store.storedBytes() <= budget);
    QVERIFY2(store.count() < files, "the budget must bite for this test to mean anything");

    MergePDFListView view;
    view.setViewMode(QListView::IconMode);
    view.setIconSize(PdfFileList::pictureBox);
    view.resize(260, 300);
    view.setModel(list->model());
    view.doItemsLayout();
    QCOMPARE(store.cachedBytes(), 0);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (int row = 0; row < files; ++row) {
        const QModelIndex index = list->model()->index(row, 0);
        view.scrollTo(index);
        QTRY_VERIFY_WITH_TIMEOUT(index.data(ThumbnailItem::HasThumbnailRole).toBool(), 10000);
        QVERIFY(store.cachedBytes() <= cache);
        QVERIFY(store.storedBytes() <= budget);
    }
}

// Remove and Clear let go of the pictures at once, the rows' and no others.
void TestPdfFileList::removalsReleaseThePictures_data()
{
    QTest::addColumn<bool>("clear");
    QTest::addColumn<int>("pictures");
    QTest::newRow("remove one") << false << 2;
    QTest::newRow("clear") << true << 0;
}

void TestPdfFileList::removalsReleaseThePictures()
{
    QFETCH(bool, clear);
    QFETCH(int, pictures);
    QWidget form;
    PdfFileList *list = makeList(form);
    QSignalSpy added(list, &PdfFileList::filesAdded);
    list->add({pdf("a.pdf", 2), pdf("b.pdf", 5), pdf("c.pdf", 1)});
    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, 20000);
    for (int row = 0; row < list->rowCount(); ++row)
        QVERIFY(!rowPicture(list->model()->index(row, 0)).isNull());
    QCOMPARE(list->thumbnails().count(), 3);
    QVERIFY(list->thumbnails().cachedBytes() > 0);
    if (clear)
        list->clear();
    else
        list->removeRow(1);
    QCOMPARE(list->thumbnails().count(), pictures);
    QCOMPARE(list->thumbnails().cachedBytes() > 0, pictures > 0);
    QCOMPARE(list->thumbnails().storedBytes() > 0, pictures > 0);
    QCOMPARE(list->rowCount(), pictures);
}

// Pictures wished for while others are drawn go before those wished earlier;
// none is drawn twice.
void TestPdfFileList::laterWishesAreDrawnFirst_data()
{
    QTest::addColumn<QList<quint64>>("later");
    QTest::addColumn<QList<quint64>>("order");
    const QList<quint64> firstRound{0, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("a new file") << QList<quint64>{20} << firstRound + QList<quint64>{20, 8, 9};
    QTest::newRow("a waiting file") << QList<quint64>{9} << firstRound + QList<quint64>{9, 8};
    QTest::newRow("a file being drawn") << QList<quint64>{3, 8} << firstRound + QList<quint64>{8, 9};
}

void TestPdfFileList::laterWishesAreDrawnFirst()
{
    QFETCH(QList<quint64>, later);
    QFETCH(QList<quint64>, order);
    const auto files = [this](const QList<quint64> &ids) {
        QList<PdfPictureRedraw::File> list;
        for (quint64 id : ids)
            list.append({id, {pdf(QStringLiteral("wish%1.pdf").arg(id), 1), QString()}});
        return list;
    };
    static_assert(PdfPictureRedraw::filesPerRound == 8);
    PdfPictureRedraw redraw;
    QList<quint64> drawn;
    connect(&redraw, &PdfPictureRedraw::pictureRead, this, [&](quint64 id, const QByteArray &picture) {
        QVERIFY(!picture.isEmpty());
        drawn.append(id);
    });
    redraw.request(files({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), QSize(50, 50));
    redraw.request(files(later), QSize(50, 50));
    QTRY_COMPARE_WITH_TIMEOUT(drawn.size(), order.size(), 30000);
    QTest::qWait(100);
    QCOMPARE(drawn, order);
}

QTEST_MAIN(TestPdfFileList)
#include "tst_pdffilelist.moc"
