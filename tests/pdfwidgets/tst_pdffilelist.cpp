#include "mergepdflistview.h"
#include "pdffileitemdelegate.h"
#include "pdffilelist.h"
#include "pdflistaddfilethread.h"
#include "pdftestfiles.h"
#include "shelldialogs.h"
#include "testenvironment.h"

#include <QFile>
#include <QLineEdit>
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
} // namespace

class TestPdfFileList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void rowsKeepTheDropOrder_data();
    void rowsKeepTheDropOrder();
    void unreadFilesAreNeverInputs();
    void removeDuringIntake();
    void clearStopsAStuckIntake();
    void rowNamesItsFile();
    void keyboardReordersAndRemoves_data();
    void keyboardReordersAndRemoves();

private:
    QString pdf(const QString &name, int pages, const QStringList &encryption = {});
    PdfFileList *makeList(QWidget &form);
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

PdfFileList *TestPdfFileList::makeList(QWidget &form)
{
    return new PdfFileList(
        [](const QList<PdfInput> &inputs, int generation) { return new PdfListAddFileThread(inputs, generation); },
        QStringLiteral("Test"), &form);
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
        names.append(QFileInfo(input.path).fileName() + (input.password.isEmpty() ? QString() : QStringLiteral("+pw")));
    return names;
}

// A file that needs a password keeps its place in the drop while it is asked about.
void TestPdfFileList::rowsKeepTheDropOrder_data()
{
    QTest::addColumn<QStringList>("answers"); // one per locked file; empty: Cancel
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("inputs");
    QTest::newRow("password given") << QStringList{password, password} << QStringList{"1-2", "1-3", "1-1", "1-4"}
                                    << QStringList{"a.pdf", "locked.pdf+pw", "c.pdf", "locked R4.pdf+pw"};
    QTest::newRow("first cancelled") << QStringList{QString(), password} << QStringList{"1-2", "1-1", "1-4"}
                                     << QStringList{"a.pdf", "c.pdf", "locked R4.pdf+pw"};
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
    QCOMPARE(inputNames(*list), QStringList{"a.pdf"});
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
    QCOMPARE(inputNames(*list), (QStringList{"b.pdf", "c.pdf"}));
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

QTEST_MAIN(TestPdfFileList)
#include "tst_pdffilelist.moc"
