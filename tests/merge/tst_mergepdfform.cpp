#include "mergepdfform.h"
#include "mergepdflistview.h"
#include "mergepdfmergethread.h"
#include "pdftestfiles.h"
#include "shelldialogs.h"
#include "testenvironment.h"
#include "testpdf.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {
QStringList numbered(const QList<int> &pageCounts)
{
    QStringList texts;
    for (int count : pageCounts) {
        for (int page = 1; page <= count; ++page)
            texts.append(QString::number(page));
    }
    return texts;
}
} // namespace

class TestMergePdfForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void mergeNeedsTwoFiles_data();
    void mergeNeedsTwoFiles();
    void mergesInListOrder_data();
    void mergesInListOrder();
    void savesUnderTheFinalName_data();
    void savesUnderTheFinalName();
    void rowShowsTheFirstPage();
    void overlappingIntakesKeepTheirOrder();
    void progressFollowsPages_data();
    void progressFollowsPages();
    void cancelDuringSecondFileKeepsTheFirstTwo();
    void stopDuringAMergeKeepsTheTarget_data();
    void stopDuringAMergeKeepsTheTarget();
    void mergeWaitsForTheIntake();
    void damagedFileWritesNothing();
    void protectedAndUnreadableFilesAtIntake();
    void repairedSourceIsReported();

private:
    QString pdf(int pageCount);
    void list(MergePdfForm &form, const QStringList &paths);

    QTemporaryDir dir;
};

void TestMergePdfForm::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(dir.isValid());
}

void TestMergePdfForm::init()
{
    ShellDialogs::setScripted(true);
}

QString TestMergePdfForm::pdf(int pageCount)
{
    const QString path = dir.filePath(QStringLiteral("%1 pages.pdf").arg(pageCount));
    if (!QFile::exists(path))
        PdfTestFiles::writeNumbered(path, pageCount);
    return path;
}

void TestMergePdfForm::list(MergePdfForm &form, const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    form.on_AddURLs(urls);
    QTRY_COMPARE(form.findChild<MergePDFListView *>(QStringLiteral("mainListView"))->model()->rowCount(), paths.size());
    // The intake has ended once Merge can be pressed.
    QTRY_VERIFY(paths.size() < 2 || form.findChild<QToolButton *>(QStringLiteral("mergeButton"))->isEnabled());
}

void TestMergePdfForm::mergeNeedsTwoFiles_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("one") << 1 << false;
    QTest::newRow("two") << 2 << true;
    QTest::newRow("three") << 3 << true;
}

void TestMergePdfForm::mergeNeedsTwoFiles()
{
    QFETCH(int, files);
    QFETCH(bool, enabled);
    MergePdfForm form;
    auto *merge = form.findChild<QToolButton *>(QStringLiteral("mergeButton"));
    QVERIFY(!merge->isEnabled());
    QStringList paths;
    for (int i = 0; i < files; ++i)
        paths.append(pdf(i + 1));
    list(form, paths);
    QTRY_COMPARE(merge->isEnabled(), enabled);
    form.on_clearButton_clicked();
    QVERIFY(!merge->isEnabled());
}

void TestMergePdfForm::mergesInListOrder_data()
{
    QTest::addColumn<QList<int>>("pageCounts");
    QTest::addColumn<int>("dragFrom");
    QTest::addColumn<int>("dropOnto");
    QTest::addColumn<QList<int>>("mergedCounts");
    QTest::newRow("2 + 250 + 1") << QList<int>{2, 250, 1} << -1 << -1 << QList<int>{2, 250, 1};
    QTest::newRow("third dragged onto first") << QList<int>{2, 250, 1} << 2 << 0 << QList<int>{1, 2, 250};
    QTest::newRow("first dragged onto last") << QList<int>{3, 2, 1} << 0 << 2 << QList<int>{2, 1, 3};
    QTest::newRow("same file twice") << QList<int>{3, 3} << -1 << -1 << QList<int>{3, 3};
}

void TestMergePdfForm::mergesInListOrder()
{
    QFETCH(QList<int>, pageCounts);
    QFETCH(int, dragFrom);
    QFETCH(int, dropOnto);
    QFETCH(QList<int>, mergedCounts);
    MergePdfForm form;
    QStringList paths;
    for (int count : pageCounts)
        paths.append(pdf(count));
    list(form, paths);
    if (dragFrom >= 0)
        form.findChild<MergePDFListView *>(QStringLiteral("mainListView"))->moveRow(dragFrom, dropOnto);

    const QString output = dir.filePath(QStringLiteral("merged %1.pdf").arg(QTest::currentDataTag()));
    ShellDialogs::enqueueAnswer(output);
    ShellDialogs::enqueueAnswer(QMessageBox::Ok);
    form.on_mergeButton_clicked();
    QTRY_COMPARE(ShellDialogs::pendingAnswers(), 0);
    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.last().kind, QStringLiteral("message"));
    QCOMPARE(questions.last().text, QStringLiteral("The PDF files have been successfully merged."));
    QCOMPARE(PdfTestFiles::pageTexts(output), numbered(mergedCounts));
}

void TestMergePdfForm::savesUnderTheFinalName_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QVariantList>("answers"); // after the name typed without its extension
    QTest::addColumn<bool>("written");
    QTest::newRow("new file") << false << QVariantList{int(QMessageBox::Ok)} << true;
    QTest::newRow("exists, Yes") << true << QVariantList{int(QMessageBox::Yes), int(QMessageBox::Ok)} << true;
    QTest::newRow("exists, No, cancel") << true << QVariantList{int(QMessageBox::No), QString()} << false;
    QTest::newRow("exists, close box, cancel")
        << true << QVariantList{QVariant::fromValue(ShellDialogs::Ending::CloseBox), QString()} << false;
}

void TestMergePdfForm::savesUnderTheFinalName()
{
    QFETCH(bool, exists);
    QFETCH(QVariantList, answers);
    QFETCH(bool, written);
    QTemporaryDir out;
    const QString typed = out.filePath(QStringLiteral("merged"));
    const QString final = typed + QStringLiteral(".pdf");
    if (exists) {
        QFile file(final);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
    }
    MergePdfForm form;
    list(form, {pdf(1), pdf(2)});
    ShellDialogs::enqueueAnswer(typed);
    for (const QVariant &answer : std::as_const(answers))
        ShellDialogs::enqueueAnswer(answer);
    form.on_mergeButton_clicked();
    QTRY_COMPARE(ShellDialogs::pendingAnswers(), 0);
    QTRY_VERIFY(form.findChildren<QThread *>().isEmpty());
    if (written)
        QCOMPARE(PdfTestFiles::pageTexts(final), numbered({1, 2}));
    else
        QCOMPARE(PdfTestFiles::contents(final), QByteArray("old"));
    QVERIFY(!QFileInfo::exists(typed));
}

void TestMergePdfForm::rowShowsTheFirstPage()
{
    const QString path = dir.filePath(QStringLiteral("landscape first.pdf"));
    QVERIFY(TestPdf::write(path, {TestPdf::a4Landscape, TestPdf::a4Portrait}));
    MergePdfForm form;
    list(form, {path});
    const QModelIndex row = form.findChild<MergePDFListView *>(QStringLiteral("mainListView"))->model()->index(0, 0);
    QCOMPARE(row.data().toString(), QStringLiteral("1-2"));
    const QImage icon = row.data(Qt::DecorationRole).value<QIcon>().pixmap(QSize(200, 200)).toImage();
    QCOMPARE(icon.size(), QSize(200, 141));
    QCOMPARE(icon.pixelColor(198, 139), QColor(Qt::white)); // drawn on white, inside its edge
    bool red = false;
    for (int y = 0; y < icon.height() / 2 && !red; ++y) {
        for (int x = 0; x < icon.width() / 2 && !red; ++x) {
            const QColor pixel = icon.pixelColor(x, y);
            red = pixel.red() > 200 && pixel.green() < 60 && pixel.blue() < 60;
        }
    }
    QVERIFY(red);
}

void TestMergePdfForm::overlappingIntakesKeepTheirOrder()
{
    MergePdfForm form;
    form.on_AddURLs({QUrl::fromLocalFile(pdf(250))});
    form.on_AddURLs({QUrl::fromLocalFile(pdf(1)), QUrl::fromLocalFile(pdf(2))});
    const QAbstractItemModel *model = form.findChild<MergePDFListView *>(QStringLiteral("mainListView"))->model();
    QTRY_COMPARE(model->rowCount(), 3);
    QStringList rows;
    for (int row = 0; row < 3; ++row)
        rows.append(model->index(row, 0).data().toString());
    QCOMPARE(rows, QStringList({QStringLiteral("1-250"), QStringLiteral("1-1"), QStringLiteral("1-2")}));
}

// The progress counts pages, every hundred, out of the pages the list read;
// a count not known or changed since is corrected when its file opens.
void TestMergePdfForm::progressFollowsPages_data()
{
    QTest::addColumn<QList<int>>("listedCounts"); // of files with 2 and 250 pages
    QTest::addColumn<QStringList>("reports");     // "of N": the total; else "pages-merged text"
    const QStringList firstOpened{QStringLiteral("0 2 pages.pdf")};
    const QStringList firstMerged{QStringLiteral("0 2 pages.pdf (0 of 2)"), QStringLiteral("2 2 pages.pdf (2 of 2)"),
                                  QStringLiteral("2 250 pages.pdf")};
    const QStringList secondMerged{
        QStringLiteral("2 250 pages.pdf (0 of 250)"), QStringLiteral("102 250 pages.pdf (100 of 250)"),
        QStringLiteral("202 250 pages.pdf (200 of 250)"), QStringLiteral("252 250 pages.pdf (250 of 250)"),
        QStringLiteral("of 0"), QStringLiteral("0 progress.pdf")}; // then written, with a busy bar
    const QString of252 = QStringLiteral("of 252");
    QTest::newRow("as listed") << QList<int>{2, 250} << QStringList{of252} + firstOpened + firstMerged + secondMerged;
    QTest::newRow("not known") << QList<int>{-1, -1}
                               << QStringList{QStringLiteral("of 0")} + firstOpened +
                                      QStringList{QStringLiteral("of 2")} + firstMerged + QStringList{of252} +
                                      secondMerged;
    QTest::newRow("first file changed since")
        << QList<int>{5, 250}
        << QStringList{QStringLiteral("of 255")} + firstOpened + QStringList{of252} + firstMerged + secondMerged;
}

void TestMergePdfForm::progressFollowsPages()
{
    QFETCH(QList<int>, listedCounts);
    QFETCH(QStringList, reports);
    MergePDFMergeThread thread({{pdf(2), {}, listedCounts.at(0)}, {pdf(250), {}, listedCounts.at(1)}},
                               dir.filePath(QStringLiteral("progress.pdf")));
    QStringList seen;
    connect(
        &thread, &MergePDFMergeThread::prepareMerge, &thread,
        [&seen](int count) { seen.append(QStringLiteral("of %1").arg(count)); }, Qt::DirectConnection);
    connect(
        &thread, &MergePDFMergeThread::progressMerge, &thread,
        [&seen](int index, const QString &text) { seen.append(QStringLiteral("%1 %2").arg(index).arg(text)); },
        Qt::DirectConnection);
    thread.start();
    QVERIFY(thread.wait());
    QCOMPARE(seen, reports);
}

void TestMergePdfForm::cancelDuringSecondFileKeepsTheFirstTwo()
{
    const QString output = dir.filePath(QStringLiteral("cancelled.pdf"));
    MergePDFMergeThread thread({{pdf(2), {}}, {pdf(3), {}}, {pdf(1), {}}}, output);
    connect(
        &thread, &MergePDFMergeThread::progressMerge, &thread,
        [&thread](int index, const QString &fileName) {
            if (index == 2 && fileName.endsWith(QStringLiteral("(0 of 3)")))
                thread.requestStop();
        },
        Qt::DirectConnection);
    QSignalSpy finished(&thread, &MergePDFMergeThread::finishMerge);
    thread.start();
    QVERIFY(thread.wait());
    QCOMPARE(finished.constFirst().at(1).toString(), QString());
    QCOMPARE(PdfTestFiles::pageTexts(output), numbered({2, 3}));
}

// A cancelled merge shows no message and never replaces the file that was
// there; closing the tab during a merge writes nothing at all.
void TestMergePdfForm::stopDuringAMergeKeepsTheTarget_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<bool>("closing");
    QTest::addColumn<QStringList>("written"); // empty: no file
    QTest::newRow("cancel over a file") << true << false << numbered({1});
    QTest::newRow("close over a file") << true << true << numbered({1});
    QTest::newRow("close, new file") << false << true << QStringList();
}

void TestMergePdfForm::stopDuringAMergeKeepsTheTarget()
{
    QFETCH(bool, targetExists);
    QFETCH(bool, closing);
    QFETCH(QStringList, written);
    const QString output = dir.filePath(QStringLiteral("stopped %1.pdf").arg(QTest::currentDataTag()));
    if (targetExists)
        QVERIFY(QFile::copy(pdf(1), output));
    auto *form = new MergePdfForm;
    list(*form, {pdf(400), pdf(400), pdf(400), pdf(400)});
    ShellDialogs::enqueueAnswer(output);
    if (targetExists)
        ShellDialogs::enqueueAnswer(int(QMessageBox::Yes)); // the save dialog's "already exists"
    form->findChild<QToolButton *>(QStringLiteral("mergeButton"))->click();
    auto *label = form->findChild<QLabel *>(QStringLiteral("progressLabel"));
    QTRY_VERIFY(label->text().contains(QStringLiteral("400 pages")));
    if (closing)
        delete form;
    else
        form->findChild<QPushButton *>(QStringLiteral("progressCancelButton"))->click();
    if (!closing) {
        QTRY_VERIFY(form->findChildren<QThread *>().isEmpty());
        delete form;
    }
    QTest::qWait(200);
    for (const ShellDialogs::Question &question : ShellDialogs::takeQuestions())
        QCOMPARE(question.title, QStringLiteral("Save to PDF File")); // the save dialog alone
    if (written.isEmpty())
        QVERIFY(!QFileInfo::exists(output));
    else
        QCOMPARE(PdfTestFiles::pageTexts(output), written);
    QCOMPARE(QDir(dir.path()).entryList({QFileInfo(output).fileName() + QLatin1Char('*')}, QDir::Files).size(),
             qsizetype(written.isEmpty() ? 0 : 1));
}

// Merge waits for the files being added: a drop, then Merge at once, merges
// only listed files, and the button stays off until the intake has ended.
void TestMergePdfForm::mergeWaitsForTheIntake()
{
    MergePdfForm form;
    auto *merge = form.findChild<QToolButton *>(QStringLiteral("mergeButton"));
    list(form, {pdf(2), pdf(3)});
    QVERIFY(merge->isEnabled());
    form.on_AddURLs({QUrl::fromLocalFile(pdf(1))});
    QVERIFY(!merge->isEnabled());
    form.on_mergeButton_clicked();
    QCOMPARE(ShellDialogs::takeQuestions().size(), 0);
    QTRY_VERIFY(merge->isEnabled());
    QCOMPARE(form.findChild<MergePDFListView *>()->model()->rowCount(), 3);
}

void TestMergePdfForm::damagedFileWritesNothing()
{
    const QString damaged = dir.filePath(QStringLiteral("damaged.pdf"));
    QVERIFY(QFile::copy(pdf(1), damaged));
    MergePdfForm form;
    list(form, {pdf(2), damaged, pdf(1)});
    // Damaged after it was listed.
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("%PDF-1.7\nnot really\n") > 0);
    file.close();
    const QString output = dir.filePath(QStringLiteral("never.pdf"));
    ShellDialogs::enqueueAnswer(output);
    ShellDialogs::enqueueAnswer(QMessageBox::Ok);
    form.on_mergeButton_clicked();
    QTRY_COMPARE(ShellDialogs::pendingAnswers(), 0);
    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.last().kind, QStringLiteral("message"));
    QVERIFY2(questions.last().text.startsWith(damaged), qPrintable(questions.last().text));
    QVERIFY(!QFile::exists(output));
}

void TestMergePdfForm::protectedAndUnreadableFilesAtIntake()
{
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    const QString password = QStringLiteral("Zebra-Secret-42");
    const QString locked = dir.filePath(QStringLiteral("locked.pdf"));
    QVERIFY(QFile::copy(pdf(3), locked));
    PdfTestFiles::encrypt(locked, password);
    const QString noise = dir.filePath(QStringLiteral("noise.pdf"));
    QFile noiseFile(noise);
    QVERIFY(noiseFile.open(QIODevice::WriteOnly) && noiseFile.write(QByteArray(2000, '#')) == 2000);
    noiseFile.close();
    const QString empty = dir.filePath(QStringLiteral("empty.pdf"));
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    ShellDialogs::takeQuestions();

    MergePdfForm form;
    form.show();
    auto *view = form.findChild<MergePDFListView *>(QStringLiteral("mainListView"));
    auto *dropArea = form.findChild<QWidget *>(QStringLiteral("sourceFrame"));
    // Cancel: the file is not listed and the drop area stays.
    ShellDialogs::enqueueDialogScript([](QDialog *dialog) { dialog->reject(); });
    form.on_AddURLs({QUrl::fromLocalFile(locked)});
    QTRY_COMPARE(ShellDialogs::pendingAnswers(), 0);
    QTRY_VERIFY(dropArea->isVisible());
    QCOMPARE(view->model()->rowCount(), 0);

    ShellDialogs::enqueueDialogScript([&](QDialog *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("passwordLineEdit"))->setText(password);
        dialog->accept();
    });
    ShellDialogs::enqueueAnswer(int(QMessageBox::Ok));
    form.on_AddURLs({QUrl::fromLocalFile(noise), QUrl::fromLocalFile(locked), QUrl::fromLocalFile(empty),
                     QUrl::fromLocalFile(pdf(2))});
    QTRY_COMPARE(ShellDialogs::pendingAnswers(), 0);
    QTRY_COMPARE(view->model()->rowCount(), 2);
    QList<ShellDialogs::Question> questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 3);
    QCOMPARE(questions.last().kind, QStringLiteral("message"));
    QCOMPARE(questions.last().text, QStringLiteral("These 2 files could not be opened and were left out:\n\n"
                                                   "noise.pdf: it is not a PDF file\n"
                                                   "empty.pdf: the file is empty (0 bytes)"));

    // The protected file keeps its place in the drop, and merges into a file
    // that opens without a password.
    const QString output = dir.filePath(QStringLiteral("with locked.pdf"));
    ShellDialogs::enqueueAnswer(output);
    ShellDialogs::enqueueAnswer(QMessageBox::Ok);
    form.on_mergeButton_clicked();
    QTRY_COMPARE(ShellDialogs::pendingAnswers(), 0);
    QTRY_VERIFY(form.findChildren<QThread *>().isEmpty());
    QCOMPARE(PdfTestFiles::pageTexts(output), numbered({3, 2}));
    QVERIFY(TestEnvironment::run(QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"), output})
                .contains("File is not encrypted"));

    // Nothing the program stored or left behind knows the password: its
    // settings and data, the output folder and what it made in the
    // temporary folder during this test.
    for (const QString &folder : {QDir::homePath(), dir.path(), QDir::tempPath()}) {
        QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile stored(files.next());
            if (QFileInfo(stored).lastModified() < started || !stored.open(QIODevice::ReadOnly))
                continue;
            QVERIFY2(!stored.readAll().contains(password.toUtf8()), qPrintable(stored.fileName()));
        }
    }
}

// A source qpdf had to repair is merged, and the message says so briefly.
void TestMergePdfForm::repairedSourceIsReported()
{
    const QString repaired = dir.filePath(QStringLiteral("repaired.pdf"));
    QVERIFY(PdfTestFiles::writeRepairable(repaired, 2));
    MergePdfForm form;
    list(form, {pdf(1), repaired});
    const QString output = dir.filePath(QStringLiteral("with repaired.pdf"));
    ShellDialogs::enqueueAnswer(output);
    ShellDialogs::enqueueAnswer(QMessageBox::Ok);
    form.on_mergeButton_clicked();
    QTRY_COMPARE(ShellDialogs::pendingAnswers(), 0);
    const QString message = ShellDialogs::takeQuestions().last().text;
    QVERIFY2(
        PdfTestFiles::tellsOfRepair(message, QStringLiteral("The PDF files have been successfully merged."), repaired),
        qPrintable(message));
    QCOMPARE(PdfTestFiles::pageTexts(output), numbered({1, 2}));
}

QTEST_MAIN(TestMergePdfForm)
#include "tst_mergepdfform.moc"
