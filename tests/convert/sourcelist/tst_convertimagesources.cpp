#include "convertimageaddurlsthread.h"
#include "convertimageform.h"
#include "convertimageframe.h"
#include "convertimagetreeview.h"
#include "imagefiles.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "testenvironment.h"
#include "testimages.h"
#include "thumbnailitem.h"
#include "thumbnailstore.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QSemaphore>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <atomic>
#include <memory>

namespace {

std::unique_ptr<ConvertImageForm> startForm()
{
    auto form = std::make_unique<ConvertImageForm>();
    form->loadSettings();
    form->setReady(true);
    return form;
}

QToolButton *button(const ConvertImageForm &form, const char *name)
{
    return form.findChild<QToolButton *>(QLatin1String(name));
}

ConvertImageTreeView *view(const ConvertImageForm &form)
{
    return form.findChild<ConvertImageTreeView *>(QStringLiteral("sourceTreeView"));
}

QList<QUrl> urls(const QString &root, const QStringList &paths)
{
    QList<QUrl> list;
    for (const QString &path : paths)
        list << QUrl::fromLocalFile(root + QLatin1Char('/') + path);
    return list;
}

// Every add has ended once the form has let go of its thread.
bool intakeDone(const ConvertImageForm &form)
{
    return !form.findChild<ConvertImageAddUrlsThread *>();
}

QStringList fileNames(const ConvertImageForm &form)
{
    QStringList names;
    for (const QString &path : form.sourceFiles())
        names << QFileInfo(path).fileName();
    return names;
}

QList<int> selectedRows(const ConvertImageForm &form)
{
    QList<int> rows;
    for (const QModelIndex &index : view(form)->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

class TestConvertImageSources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void imageFileTest_data();
    void imageFileTest();
    void dragEnter_data();
    void dragEnter();
    void intake_data();
    void intake();
    void details_data();
    void details();
    void listOperations_data();
    void listOperations();
    void clearDuringABatch();
    void iconsOfRowsInViewComeFirst_data();
    void iconsOfRowsInViewComeFirst();
    void iconsLetGoOfAreReadAgain_data();
    void iconsLetGoOfAreReadAgain();
    void anIntakeReadsAnIconAgainWhenWished();
    void addFilesDialog_data();
    void addFilesDialog();

private:
    void write(const QString &relative, const QByteArray &format = "PNG", QSize size = QSize(30, 20));
    std::unique_ptr<ConvertImageForm> listed(const QStringList &names);
    QTemporaryDir m_dir;
};

void TestConvertImageSources::initTestCase()
{
    TestEnvironment::isolate();
    ShellDialogs::setScripted(true);
    QVERIFY(m_dir.isValid());
    for (const char *name : {"tree/b.png",     "tree/A/d.JPG",
                             "tree/A/c.png",   "tree/noextension",
                             "tree/notes.txt", "tree/.hidden.png",
                             "tree/old.bmp",   "loop/x.png",
                             "Case.png",       "case.png",
                             "one.png",        "two.png",
                             "IMG.PNG",        "a.jpeg.bak",
                             "a.heic",         "A.png",
                             "B.png",          "C.png",
                             "pick/p1.png",    "pick/p2.png",
                             "links/in.png"})
        write(QLatin1String(name),
              QFileInfo(QLatin1String(name)).suffix().compare("jpg", Qt::CaseInsensitive) == 0 ? "JPG" : "PNG");
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("album.jpg")));
    QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("loop")), m_dir.filePath(QStringLiteral("loop/back"))));
    for (const auto &[target, link] : {std::pair{"..", "links/up"}, std::pair{"../pick", "links/elsewhere"},
                                       std::pair{"../one.png", "links/linked.png"}, std::pair{"/", "links/root"}})
        QVERIFY(QFile::link(QLatin1String(target), m_dir.filePath(QLatin1String(link))));
    for (int i = 0; i < 40; ++i)
        write(QStringLiteral("many/%1.png").arg(i, 3, 10, QLatin1Char('0')));
}

void TestConvertImageSources::init()
{
    QSettings(QStringLiteral("Corvane"), QStringLiteral("ConvertImage")).clear();
    KivLocalConvertImage::editSettings([](ConvertSettings &s) { s = ConvertSettings(); });
}

void TestConvertImageSources::cleanup()
{
    QCOMPARE(ShellDialogs::pendingAnswers(), 0);
    ShellDialogs::takeQuestions();
}

void TestConvertImageSources::write(const QString &relative, const QByteArray &format, QSize size)
{
    const QString path = m_dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY2(image.save(path, format.constData()), qPrintable(path));
}

std::unique_ptr<ConvertImageForm> TestConvertImageSources::listed(const QStringList &names)
{
    auto form = startForm();
    emit form->findChild<ConvertImageFrame *>()->addURLs(urls(m_dir.path(), names));
    if (!QTest::qWaitFor([&form] { return intakeDone(*form); }))
        return {};
    return form;
}

void TestConvertImageSources::imageFileTest_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("passes");
    QTest::newRow("upper-case extension") << "IMG.PNG" << true;
    QTest::newRow("HEIC") << "a.heic" << true;
    QTest::newRow("image name with another extension") << "a.jpeg.bak" << false;
    QTest::newRow("BMP") << "tree/old.bmp" << false;
    QTest::newRow("no dot") << "tree/noextension" << false;
    QTest::newRow("folder named like an image") << "album.jpg" << false;
    QTest::newRow("missing file") << "gone.png" << false;
}

void TestConvertImageSources::imageFileTest()
{
    QFETCH(QString, name);
    QFETCH(bool, passes);
    QCOMPARE(ImageFiles::isImageFile(m_dir.filePath(name)), passes);
}

void TestConvertImageSources::dragEnter_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("dragged");
    QTest::addColumn<bool>("accepted");
    for (const char *target : {"sourceFrame", "sourceTreeView"}) {
        const QByteArray prefix = QByteArray(target) + ": ";
        QTest::newRow(prefix + "folder") << target << QStringList{"tree"} << true;
        QTest::newRow(prefix + "image, then text") << target << QStringList{"one.png", "tree/notes.txt"} << true;
        QTest::newRow(prefix + "text, then image") << target << QStringList{"tree/notes.txt", "one.png"} << false;
        QTest::newRow(prefix + "no files") << target << QStringList{} << false;
    }
}

void TestConvertImageSources::dragEnter()
{
    QFETCH(QString, target);
    QFETCH(QStringList, dragged);
    QFETCH(bool, accepted);
    const auto form = startForm();
    QWidget *widget = form->findChild<QWidget *>(target);
    QMimeData mime;
    mime.setUrls(urls(m_dir.path(), dragged));
    QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    event.ignore();
    QCoreApplication::sendEvent(target == QLatin1String("sourceTreeView") ? view(*form)->viewport() : widget, &event);
    QCOMPARE(event.isAccepted(), accepted);
}

void TestConvertImageSources::intake_data()
{
    QTest::addColumn<QList<QStringList>>("drops"); // each emitted at once, while the first batch runs
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("folder: sub-folders in name order, not names without a dot, hidden or other types")
        << QList<QStringList>{{"tree"}} << QStringList{"c.png", "d.JPG", "b.png"};
    QTest::newRow("link loop ends") << QList<QStringList>{{"loop"}} << QStringList{"x.png"};
    QTest::newRow("linked folders not entered, linked files listed")
        << QList<QStringList>{{"links"}} << QStringList{"in.png", "linked.png"};
    QTest::newRow("true duplicate once") << QList<QStringList>{{"one.png", "one.png"}, {"one.png"}}
                                         << QStringList{"one.png"};
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QTest::newRow("other letter case is the same file")
        << QList<QStringList>{{"case.png"}, {"CASE.png"}} << QStringList{"case.png"};
#else
    QTest::newRow("other letter case is another file")
        << QList<QStringList>{{"case.png"}, {"Case.png"}} << QStringList{"case.png", "Case.png"};
#endif
    QTest::newRow("drops join the running batch in order")
        << QList<QStringList>{{"many"}, {"two.png"}, {"notes.txt", "one.png"}}
        << (QStringList{} <<
            [] {
                QStringList names;
                for (int i = 0; i < 40; ++i)
                    names << QStringLiteral("%1.png").arg(i, 3, 10, QLatin1Char('0'));
                return names;
            }() << "two.png"
                          << "one.png");
}

// After a batch the last row is current and previewed, the list is shown and
// Up is offered when there is a row above.
void TestConvertImageSources::intake()
{
    QFETCH(QList<QStringList>, drops);
    QFETCH(QStringList, expected);
    const auto form = startForm();
    QSignalSpy previews(form.get(), &ConvertImageForm::previewRequested);
    auto *frame = form->findChild<ConvertImageFrame *>();
    for (const QStringList &drop : drops)
        emit frame->addURLs(urls(m_dir.path(), drop));
    QTRY_VERIFY(intakeDone(*form));
    QCOMPARE(fileNames(*form), expected);
    QCOMPARE(selectedRows(*form), QList<int>{int(expected.size()) - 1});
    QCOMPARE(view(*form)->currentIndex().row(), expected.size() - 1);
    QVERIFY(!previews.isEmpty());
    QCOMPARE(previews.constLast().constFirst().toString(), form->sourceFiles().constLast());
    QCOMPARE(form->findChild<QStackedLayout *>()->currentWidget(), view(*form));
    QCOMPARE(button(*form, "upButton")->isEnabled(), expected.size() > 1);
    QVERIFY(!button(*form, "downButton")->isEnabled());
    QVERIFY(button(*form, "convertButton")->isEnabled());
}

void TestConvertImageSources::details_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sizeStr");
    QTest::addColumn<QSize>("iconSize");
    QTest::newRow("landscape PNG") << "wide.png"
                                   << "300x200" << QSize(96, 64);
    QTest::newRow("JPEG turned by its EXIF tag") << "sideways.jpg"
                                                 << "20x40" << QSize(64, 128);
    QTest::newRow("HEIC") << "photo.heic"
                          << "80x60" << QSize(85, 64);
    QTest::newRow("unreadable") << "broken.png"
                                << "0x0" << QSize();
}

void TestConvertImageSources::details()
{
    QFETCH(QString, name);
    QFETCH(QString, sizeStr);
    QFETCH(QSize, iconSize);
    const QString folder = m_dir.filePath(QStringLiteral("details"));
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (name == QLatin1String("wide.png")) {
        QImage(300, 200, QImage::Format_RGB32).save(&file, "PNG");
    } else if (name == QLatin1String("sideways.jpg")) {
        file.write(TestImages::sidewaysJpeg());
    } else if (name == QLatin1String("photo.heic")) {
        file.close();
        QImage source(80, 60, QImage::Format_RGB32);
        source.fill(Qt::red);
        QVERIFY(source.save(path + QStringLiteral(".png")));
        TestEnvironment::run(QStringLiteral("heif-enc"), {"-o", path, path + QStringLiteral(".png")});
    } else {
        file.write("\x89PNG\r\n\x1a\n truncated");
    }
    file.close();

    const auto form = listed({QStringLiteral("details/") + name});
    QVERIFY(form);
    auto *model = qobject_cast<QStandardItemModel *>(view(*form)->model());
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->item(0, 0)->text(), name + QLatin1Char('\n') + sizeStr + QLatin1Char('\n') + folder);
    QCOMPARE(model->item(0, 1)->text(), QDir::toNativeSeparators(path));
    const QIcon icon = model->item(0, 0)->icon();
    QCOMPARE(icon.isNull(), iconSize.isEmpty());
    if (!icon.isNull())
        QCOMPARE(icon.availableSizes().value(0), iconSize);
}

void TestConvertImageSources::listOperations_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("action"); // a button, or "drag N": drop the selected rows before row N
    QTest::addColumn<QString>("order");
    QTest::addColumn<QList<int>>("nowSelected");
    QTest::addColumn<QString>("enabled"); // initials of the enabled buttons: Convert, Remove, cLear, Up, Down
    QTest::newRow("remove the last: the new last") << QList<int>{2} << "removeButton"
                                                   << "AB" << QList<int>{1} << "CRLU";
    QTest::newRow("remove the first: the next") << QList<int>{0} << "removeButton"
                                                << "BC" << QList<int>{0} << "CRLD";
    QTest::newRow("remove all") << QList<int>{0, 1, 2} << "removeButton"
                                << "" << QList<int>{} << "";
    QTest::newRow("block up") << QList<int>{1, 2} << "upButton"
                              << "BCA" << QList<int>{0} << "CRLD";
    QTest::newRow("block down") << QList<int>{0, 1} << "downButton"
                                << "CAB" << QList<int>{1} << "CRLUD";
    QTest::newRow("drag to the top") << QList<int>{2} << "drag 0"
                                     << "CAB" << QList<int>{0} << "CRLD";
    QTest::newRow("drag rows apart to the end") << QList<int>{0, 2} << "drag 3"
                                                << "BAC" << QList<int>{1, 2} << "CRLU";
    QTest::newRow("drag onto its own place") << QList<int>{1} << "drag 1"
                                             << "ABC" << QList<int>{1} << "CRLUD";
}

// The list stays on screen and every row keeps its own path and details.
void TestConvertImageSources::listOperations()
{
    QFETCH(QList<int>, selected);
    QFETCH(QString, action);
    QFETCH(QString, order);
    QFETCH(QList<int>, nowSelected);
    QFETCH(QString, enabled);
    const auto form = listed({"A.png", "B.png", "C.png"});
    QVERIFY(form);
    QItemSelection selection;
    for (int row : selected)
        selection.select(view(*form)->model()->index(row, 0), view(*form)->model()->index(row, 0));
    view(*form)->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QSignalSpy previews(form.get(), &ConvertImageForm::previewRequested);
    if (action.startsWith(QLatin1String("drag ")))
        view(*form)->moveRows(selected, action.mid(5).toInt());
    else
        button(*form, action.toLatin1().constData())->click();

    QCOMPARE(fileNames(*form).join(QString()).remove(QStringLiteral(".png")), order);
    QCOMPARE(selectedRows(*form), nowSelected);
    QString buttons;
    for (const auto &[initial, name] :
         {std::pair{'C', "convertButton"}, std::pair{'R', "removeButton"}, std::pair{'L', "clearButton"},
          std::pair{'U', "upButton"}, std::pair{'D', "downButton"}})
        if (button(*form, name)->isEnabled())
            buttons += QLatin1Char(initial);
    QCOMPARE(buttons, enabled);
    QCOMPARE(form->findChild<QStackedLayout *>()->currentWidget(), view(*form));
    if (!action.startsWith(QLatin1String("drag ")))
        QCOMPARE(previews.isEmpty(), nowSelected.isEmpty());
    if (!previews.isEmpty())
        QCOMPARE(previews.constLast().constFirst().toString(), form->sourceFiles().at(nowSelected.constFirst()));
    auto *model = qobject_cast<QStandardItemModel *>(view(*form)->model());
    for (int row = 0; row < model->rowCount(); ++row)
        QVERIFY(model->item(row, 0)->text().startsWith(QFileInfo(model->item(row, 1)->text()).fileName() + '\n'));
    // A setting changed afterwards previews the selected file, never one that left the list.
    previews.clear();
    form->findChild<QSpinBox *>(QStringLiteral("opacitySpinBox"))->setValue(50);
    QCOMPARE(previews.size(), 1);
    QCOMPARE(previews.constFirst().constFirst().toString(),
             nowSelected.isEmpty() ? QString() : form->sourceFiles().at(nowSelected.constFirst()));
}

// Clear lets go of a running batch: none of its rows or icons land in the
// list that follows.
void TestConvertImageSources::clearDuringABatch()
{
    // Before the form, which must end its thread before these go.
    QSemaphore cleared;
    std::atomic_bool waiting = false;
    const auto form = listed({"one.png"});
    QVERIFY(form);
    emit form->findChild<ConvertImageFrame *>()->addURLs(urls(m_dir.path(), {"many"}));
    auto *thread = form->findChild<ConvertImageAddUrlsThread *>();
    QVERIFY(thread);
    // An icon of the batch waits in the thread until Clear has come. By then
    // the batch's rows and first icons wait in the event queue, which is not
    // served until Clear has been clicked.
    connect(
        thread, &ConvertImageAddUrlsThread::processFinish, this,
        [&] {
            if (!waiting.exchange(true))
                cleared.tryAcquire(1, 10000);
        },
        Qt::DirectConnection);
    const QDeadlineTimer deadline(10000);
    while (!waiting && !deadline.hasExpired())
        QThread::msleep(1);
    QVERIFY(waiting);
    button(*form, "clearButton")->click();
    cleared.release();
    QCOMPARE(form->findChild<QStackedLayout *>()->currentWidget(), form->findChild<ConvertImageFrame *>());
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("previewImage"))->text(), QStringLiteral("Preview"));
    for (const char *name : {"convertButton", "removeButton", "clearButton", "upButton", "downButton"})
        QVERIFY2(!button(*form, name)->isEnabled(), name);
    emit form->findChild<ConvertImageFrame *>()->addURLs(urls(m_dir.path(), {"two.png"}));
    QTRY_VERIFY(intakeDone(*form));
    QCOMPARE(fileNames(*form), QStringList{"two.png"});
    auto *model = qobject_cast<QStandardItemModel *>(view(*form)->model());
    QVERIFY(model->item(0, 0)->text().startsWith(QStringLiteral("two.png\n30x20\n")));
}

void TestConvertImageSources::iconsOfRowsInViewComeFirst_data()
{
    QTest::addColumn<QStringList>("preferred"); // asked for once every row is listed
    QTest::addColumn<QStringList>("first");     // the first icons read
    QTest::newRow("none: list order") << QStringList{} << QStringList{"000", "001", "002"};
    QTest::newRow("rows in view first, the latest wish first")
        << QStringList{"030", "010"} << QStringList{"030", "010", "000", "001"};
    QTest::newRow("files not listed are passed over") << QStringList{"zzz", "020"} << QStringList{"020", "000"};
}

// A long list shows the icons of the rows on screen first, then the rest.
void TestConvertImageSources::iconsOfRowsInViewComeFirst()
{
    QFETCH(QStringList, preferred);
    QFETCH(QStringList, first);
    const auto manyPath = [this](const QString &name) {
        return QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("many/") + name + QStringLiteral(".png")));
    };
    ConvertImageAddUrlsThread thread({}, 0, 0);
    QStringList read;
    // Both run in the thread: the wish comes between the listing and the icons.
    connect(
        &thread, &ConvertImageAddUrlsThread::addUrlsFinish, this,
        [&] {
            QStringList paths;
            for (const QString &name : preferred)
                paths << manyPath(name);
            thread.prefer(paths);
        },
        Qt::DirectConnection);
    connect(
        &thread, &ConvertImageAddUrlsThread::processFinish, this,
        [&read](const QByteArray &, const QString &fileName) { read << QFileInfo(fileName).completeBaseName(); },
        Qt::DirectConnection);
    thread.appendUrls(urls(m_dir.path(), {"many"}));
    thread.start();
    QVERIFY(thread.wait(20000));
    QCOMPARE(read.size(), 40);
    QCOMPARE(read.first(first.size()), first);
}

// Icons the store let go of to stay within its budget come back when their
// rows are shown, long after the intake that first read them has ended.
void TestConvertImageSources::iconsLetGoOfAreReadAgain_data()
{
    QTest::addColumn<QList<int>>("dropped");
    QTest::newRow("one row") << QList<int>{1};
    QTest::newRow("every row in view") << QList<int>{0, 1, 2, 3, 4};
}

void TestConvertImageSources::iconsLetGoOfAreReadAgain()
{
    QFETCH(QList<int>, dropped);
    const auto form = startForm();
    form->resize(1000, 700);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    emit form->findChild<ConvertImageFrame *>()->addURLs(urls(m_dir.path(), {"many"}));
    QTRY_VERIFY_WITH_TIMEOUT(intakeDone(*form), 20000);
    auto *model = qobject_cast<QStandardItemModel *>(view(*form)->model());
    auto *store = form->findChild<ThumbnailStore *>();
    QVERIFY(model && store);
    const auto shown = [model](int row) { return model->index(row, 0).data(ThumbnailItem::HasThumbnailRole).toBool(); };
    view(*form)->scrollToTop();
    for (int row : std::as_const(dropped)) {
        QTRY_VERIFY(shown(row));
        store->remove(static_cast<ThumbnailItem *>(model->item(row))->thumbnailId());
        QVERIFY(!shown(row));
    }
    view(*form)->viewport()->update();
    for (int row : std::as_const(dropped))
        QTRY_VERIFY_WITH_TIMEOUT(shown(row), 10000);
    QVERIFY(intakeDone(*form));
}

// While an intake runs, a row shown again without the icon it read before
// gets it read again next.
void TestConvertImageSources::anIntakeReadsAnIconAgainWhenWished()
{
    const QString first = QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("many/000.png")));
    ConvertImageAddUrlsThread thread({}, 0, 0);
    QStringList read;
    connect(
        &thread, &ConvertImageAddUrlsThread::processFinish, this,
        [&](const QByteArray &, const QString &fileName) {
            read << QFileInfo(fileName).completeBaseName();
            if (read.size() == 2)
                thread.prefer({first});
        },
        Qt::DirectConnection);
    thread.appendUrls(urls(m_dir.path(), {"many"}));
    thread.start();
    QVERIFY(thread.wait(20000));
    QCOMPARE(read.size(), 41);
    QCOMPARE(read.mid(0, 3), (QStringList{"000", "001", "000"}));
}

void TestConvertImageSources::addFilesDialog_data()
{
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("startIn"); // empty: the Pictures folder
    QTest::newRow("remembered folder") << m_dir.filePath("pick") << QStringList{"pick/p2.png", "pick/p1.png"}
                                       << m_dir.filePath("pick");
    QTest::newRow("remembered folder gone") << m_dir.filePath("gone") << QStringList{"pick/p1.png"} << QString();
    QTest::newRow("cancelled") << QString() << QStringList{} << QString();
}

void TestConvertImageSources::addFilesDialog()
{
    QFETCH(QString, remembered);
    QFETCH(QStringList, chosen);
    QFETCH(QString, startIn);
    const auto form = startForm();
    KivLocalConvertImage::editSettings([&remembered](ConvertSettings &s) { s.lastPicturesDir = remembered; });
    QStringList answer;
    for (const QString &name : chosen)
        answer << m_dir.filePath(name);
    ShellDialogs::enqueueAnswer(answer);
    button(*form, "addFilesButton")->click();
    const QList<ShellDialogs::Question> asked = ShellDialogs::takeQuestions();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.constFirst().title, QStringLiteral("Add Image Files"));
    QCOMPARE(asked.constFirst().text,
             ShellHelpers::dialogStartPath(startIn.isEmpty() ? ShellHelpers::picturesFolder() : startIn));
    QTRY_VERIFY(intakeDone(*form));
    QCOMPARE(form->sourceFiles(), answer);
    const QString stored = QSettings(QStringLiteral("Corvane"), QStringLiteral("ConvertImage"))
                               .value(QStringLiteral("MainApp/lastPicturesDir"))
                               .toString();
    QCOMPARE(stored, chosen.isEmpty() ? QString() : m_dir.filePath(QStringLiteral("pick")));
}

QTEST_MAIN(TestConvertImageSources)
#include "tst_convertimagesources.moc"
