#include "pdftestfiles.h"
#include "shelldialogs.h"
#include "splitpdfaddpagethread.h"
#include "splitpdfform.h"
#include "splitpdfframe.h"
#include "splitpdfglobal.h"
#include "splitpdflistview.h"
#include "splitpdfrangeform.h"
#include "splitpdfsideform.h"
#include "splitpdfsplitthread.h"
#include "testenvironment.h"
#include "thumbnailitem.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

const QString completed = QStringLiteral("Creating PDF file is completed");

} // namespace

class TestSplitPdfForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newRowSpansTheDocument();
    void loadingFewerPagesClampsRows();
    void thumbnailsAndPreview();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void splitThroughTheForm();
    void lastRequestDuringListingWins();
    void rowsScrolledToAreDrawnFirst();
    void documentIsReadWhileTheUserIsAtTheList_data();
    void documentIsReadWhileTheUserIsAtTheList();
    void failureReachesUser_data();
    void failureReachesUser();
    void protectedSourceSplitsWithItsPassword();
    void repairedSourceIsReported();

private:
    QString writePdf(const QString &name, int pageCount);
    void load(const QString &path, int expectedPages);
    void setRows(const QList<PageRange> &ranges);
    QList<SplitPDFRangeForm *> rows() const;
    void waitForSplitToEnd();
    int listedPages() const { return form->mainListView->model()->rowCount(); }

    QTemporaryDir dir;
    SplitPDFForm *form = nullptr;
};

void TestSplitPdfForm::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(dir.isValid());
    ShellDialogs::setScripted(true);
}

void TestSplitPdfForm::init()
{
    form = new SplitPDFForm;
    form->resize(1000, 700);
    form->show();
}

void TestSplitPdfForm::cleanup()
{
    delete form;
    form = nullptr;
    QCOMPARE(ShellDialogs::pendingAnswers(), 0);
    ShellDialogs::takeQuestions();
}

QString TestSplitPdfForm::writePdf(const QString &name, int pageCount)
{
    const QString path = dir.filePath(name);
    if (!QFileInfo::exists(path))
        PdfTestFiles::writeNumbered(path, pageCount);
    return path;
}

void TestSplitPdfForm::load(const QString &path, int expectedPages)
{
    emit form->sourceFrame->addURLs({QUrl::fromLocalFile(path)});
    QTRY_COMPARE(form->findChildren<SplitPDFAddPageThread *>().size(), 0);
    QCOMPARE(listedPages(), expectedPages);
}

QList<SplitPDFRangeForm *> TestSplitPdfForm::rows() const
{
    // Removed rows are hidden and linger until deleted; new rows are shown a
    // moment after they were added.
    QList<SplitPDFRangeForm *> shown;
    for (SplitPDFRangeForm *row : form->findChildren<SplitPDFRangeForm *>())
        if (!row->testAttribute(Qt::WA_WState_ExplicitShowHide) || !row->isHidden())
            shown.append(row);
    return shown;
}

void TestSplitPdfForm::setRows(const QList<PageRange> &ranges)
{
    while (rows().size() < ranges.size())
        rows().first()->addButton->click();
    for (qsizetype i = 0; i < ranges.size(); ++i) {
        rows().at(i)->fromSpinBox->setValue(ranges.at(i).first);
        rows().at(i)->toSpinBox->setValue(ranges.at(i).last);
    }
}

void TestSplitPdfForm::waitForSplitToEnd()
{
    QTRY_VERIFY(form->findChildren<QThread *>().isEmpty());
    QTRY_VERIFY(form->widget->isVisible());
}

void TestSplitPdfForm::newRowSpansTheDocument()
{
    ShellDialogs::enqueueAnswer(writePdf(QStringLiteral("ten.pdf"), 10));
    form->fileAddButton->click();
    QTRY_COMPARE(listedPages(), 10);

    QCOMPARE(rows().size(), 1);
    QCOMPARE(form->findChild<SplitPDFSideForm *>()->ranges().first().last, 1);
    rows().first()->addButton->click();
    QCOMPARE(rows().size(), 2);
    QCOMPARE(rows().at(1)->fromSpinBox->value(), 1);
    QCOMPARE(rows().at(1)->toSpinBox->value(), 10);
    rows().at(1)->removeButton->click();
    QCOMPARE(rows().size(), 1);
}

void TestSplitPdfForm::loadingFewerPagesClampsRows()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10), 10);
    setRows({{8, 10}});
    load(writePdf(QStringLiteral("four.pdf"), 4), 4);
    QCOMPARE(rows().first()->fromSpinBox->value(), 4);
    QCOMPARE(rows().first()->toSpinBox->value(), 4);
}

void TestSplitPdfForm::thumbnailsAndPreview()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10), 10);
    auto *model = qobject_cast<QStandardItemModel *>(form->mainListView->model());
    // A4 pages come at the list's size, not as 200 x 200 placeholders or full pages.
    const QSize thumbnail = QSize(595, 842).scaled(200, 200, Qt::KeepAspectRatio);
    for (int row : {0, 9})
        QCOMPARE(model->item(row)->icon().availableSizes(), QList<QSize>{thumbnail});

    auto *preview = form->findChild<QLabel *>(QStringLiteral("previewImage"));
    form->mainListView->setCurrentIndex(model->index(2, 0));
    QTRY_VERIFY(!preview->pixmap().isNull());
    QCOMPARE(preview->pixmap().width(), preview->width());
}

void TestSplitPdfForm::overwriteQuestion_data()
{
    QTest::addColumn<QVariantList>("answers");
    QTest::addColumn<bool>("existingReplaced");
    QTest::addColumn<bool>("otherWritten");
    QTest::addColumn<int>("questions"); // about replacing a file

    const QString existing = dir.filePath(QStringLiteral("existing.pdf"));
    const QString typed = dir.filePath(QStringLiteral("existing"));
    const QString other = dir.filePath(QStringLiteral("other"));
    const QVariant yes = int(QMessageBox::Yes);
    const QVariant no = int(QMessageBox::No);
    const QVariant ok = int(QMessageBox::Ok);
    const QVariant escape = QVariant::fromValue(ShellDialogs::Ending::Escape);
    const QVariant closeBox = QVariant::fromValue(ShellDialogs::Ending::CloseBox);
    QTest::newRow("yes overwrites") << QVariantList{existing, yes, ok} << true << false << 1;
    QTest::newRow("typed without extension, yes") << QVariantList{typed, yes, ok} << true << false << 1;
    QTest::newRow("no asks again") << QVariantList{existing, no, other, ok} << false << true << 1;
    QTest::newRow("no, then cancel") << QVariantList{existing, no, QString()} << false << false << 1;
    QTest::newRow("Esc on the question, then cancel") << QVariantList{typed, escape, QString()} << false << false << 1;
    QTest::newRow("dialog closed") << QVariantList{closeBox} << false << false << 0;
    QTest::newRow("platform dialog without the extension, yes")
        << QVariantList{ShellDialogs::asUncheckedSaveName(typed), yes, ok} << true << false << 1;
    QTest::newRow("cancel") << QVariantList{QString()} << false << false << 0;
}

void TestSplitPdfForm::overwriteQuestion()
{
    QFETCH(QVariantList, answers);
    QFETCH(bool, existingReplaced);
    QFETCH(bool, otherWritten);
    QFETCH(int, questions);
    const QString existing = dir.filePath(QStringLiteral("existing.pdf"));
    const QString other = dir.filePath(QStringLiteral("other.pdf"));
    QFile::remove(other);
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("old contents");
    file.close();

    load(writePdf(QStringLiteral("ten.pdf"), 10), 10);
    setRows({{2, 3}});
    for (const QVariant &answer : answers)
        ShellDialogs::enqueueAnswer(answer);
    form->findChild<QPushButton *>(QStringLiteral("splitPDFButton"))->click();
    waitForSplitToEnd();

    int asked = 0;
    for (const ShellDialogs::Question &question : ShellDialogs::takeQuestions())
        asked += question.kind == QLatin1String("message") && question.text != completed ? 1 : 0;
    QCOMPARE(asked, questions);
    QCOMPARE(PdfTestFiles::contents(existing) != "old contents", existingReplaced);
    QCOMPARE(QFileInfo::exists(other), otherWritten);
    const QString written = existingReplaced ? existing : other;
    if (existingReplaced || otherWritten)
        QCOMPARE(PdfTestFiles::pageTexts(written), (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
}

void TestSplitPdfForm::splitThroughTheForm()
{
    const QString output = dir.filePath(QStringLiteral("ranges.pdf"));
    load(writePdf(QStringLiteral("ten.pdf"), 10), 10);
    setRows({{1, 3}, {8, 10}});
    ShellDialogs::enqueueAnswer(output);
    ShellDialogs::enqueueAnswer(QStringLiteral("Open PDF File"));
    form->findChild<QPushButton *>(QStringLiteral("splitPDFButton"))->click();

    auto *label = form->findChild<QLabel *>(QStringLiteral("label_2"));
    QStringList progress{label->text()};
    connect(form->findChild<QProgressBar *>(QStringLiteral("progressBar")), &QProgressBar::valueChanged, this,
            [&] { progress.append(label->text()); });
    QVERIFY(!form->widget->isVisible());
    // A split cannot be stopped, so there is no Cancel to offer.
    QVERIFY(form->findChild<QPushButton *>(QStringLiteral("cancelButton"))->isHidden());
    waitForSplitToEnd();

    QCOMPARE(progress, (QStringList{QStringLiteral("0 of 2"), QStringLiteral("1 of 2"), QStringLiteral("2 of 2")}));
    QCOMPARE(PdfTestFiles::pageTexts(output),
             (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("8"),
                          QStringLiteral("9"), QStringLiteral("10")}));
    const QList<ShellDialogs::Question> questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 3);
    QCOMPARE(questions.at(1).text, completed);
    QCOMPARE(questions.at(2).kind, QStringLiteral("url"));
    QCOMPARE(QUrl(questions.at(2).title), QUrl::fromLocalFile(output));
    QCOMPARE(SplitPDFGlobal::outputPath(), dir.path());
}

void TestSplitPdfForm::lastRequestDuringListingWins()
{
    const QString last = writePdf(QStringLiteral("seven.pdf"), 7);
    for (const QString &path : {writePdf(QStringLiteral("ten.pdf"), 10), writePdf(QStringLiteral("four.pdf"), 4), last})
        emit form->mainListView->addURLs({QUrl::fromLocalFile(path)});
    QTRY_COMPARE(SplitPDFGlobal::currentPdfPath(), last);
    QTRY_COMPARE(form->findChildren<SplitPDFAddPageThread *>().size(), 0);
    QCOMPARE(listedPages(), 7);
    QCOMPARE(rows().first()->toSpinBox->toolTip(), QStringLiteral("Pages 1 to 7"));
    // The pictures of the replaced documents went with them.
    QCOMPARE(form->findChild<ThumbnailStore *>()->count(), 7);
}

// A jump to the end of a long list shows its pictures long before the
// listing, which goes in page order, gets there.
void TestSplitPdfForm::rowsScrolledToAreDrawnFirst()
{
    emit form->sourceFrame->addURLs({QUrl::fromLocalFile(writePdf(QStringLiteral("long.pdf"), 1500))});
    QTRY_COMPARE(listedPages(), 1500);
    const QModelIndex last = form->mainListView->model()->index(1499, 0);
    const auto shown = [&] {
        form->mainListView->scrollTo(last);
        return form->mainListView->viewport()->rect().intersects(form->mainListView->visualRect(last));
    };
    QTRY_VERIFY(shown());
    QTRY_VERIFY(last.data(ThumbnailItem::HasThumbnailRole).toBool());
    QVERIFY(!form->mainListView->model()->index(750, 0).data(ThumbnailItem::HasThumbnailRole).toBool());
    QTRY_COMPARE_WITH_TIMEOUT(form->findChildren<SplitPDFAddPageThread *>().size(), 0, 60000);

    // Past the first thousand pages the listing drew nothing; a page there
    // is drawn when shown, and so is the screen before it, where the list
    // is heading.
    const QModelIndex far = form->mainListView->model()->index(1200, 0);
    QVERIFY(!far.data(ThumbnailItem::HasThumbnailRole).toBool());
    form->mainListView->scrollTo(far, QAbstractItemView::PositionAtTop);
    QTRY_VERIFY(far.data(ThumbnailItem::HasThumbnailRole).toBool());
    int above = 1200;
    while (form->mainListView->viewport()->rect().intersects(
        form->mainListView->visualRect(form->mainListView->model()->index(above, 0))))
        --above;
    QVERIFY(above > 1100);
    QTRY_VERIFY(form->mainListView->model()->index(above, 0).data(ThumbnailItem::HasThumbnailRole).toBool());
}

void TestSplitPdfForm::documentIsReadWhileTheUserIsAtTheList_data()
{
    QTest::addColumn<QEvent::Type>("turnTo");
    QTest::addColumn<QEvent::Type>("turnAway");
    QTest::newRow("pointer") << QEvent::Enter << QEvent::Leave;
    QTest::newRow("keyboard focus") << QEvent::FocusIn << QEvent::FocusOut;
}

// A long document takes the pictures' worker a while to read again: it is
// read while the user is at the list, and let go when they turn away.
void TestSplitPdfForm::documentIsReadWhileTheUserIsAtTheList()
{
    if (!QFileInfo(QStringLiteral("/proc/self/fd")).isDir())
        QSKIP("needs /proc to see open files");
    QFETCH(QEvent::Type, turnTo);
    QFETCH(QEvent::Type, turnAway);
    auto *release = form->findChild<QTimer *>(QStringLiteral("previewReleaseTimer"));
    QVERIFY(release);
    release->setInterval(0);
    const QString path = writePdf(QStringLiteral("ten.pdf"), 10);
    load(path, 10);
    QTRY_VERIFY(!TestEnvironment::fileIsOpen(path));

    const auto send = [&](QEvent::Type type) {
        if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
            QFocusEvent event(type, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(form->mainListView, &event);
        } else {
            QEvent event(type);
            QCoreApplication::sendEvent(form->mainListView, &event);
        }
    };
    send(turnTo);
    QTRY_VERIFY(TestEnvironment::fileIsOpen(path));
    QTest::qWait(50);
    QVERIFY(TestEnvironment::fileIsOpen(path));
    send(turnAway);
    QTRY_VERIFY(!TestEnvironment::fileIsOpen(path));
}

// Ranges are checked before a file name is asked for; typed pages are never
// changed behind the user's back, and the source is never the output.
void TestSplitPdfForm::failureReachesUser_data()
{
    QTest::addColumn<QList<PageRange>>("ranges");
    QTest::addColumn<QString>("output"); // empty: no file is asked for
    QTest::addColumn<QString>("messageStart");

    QTest::newRow("backwards second range") << QList<PageRange>{{1, 2}, {5, 3}} << QString() << "Range 2:";
    QTest::newRow("page beyond the end") << QList<PageRange>{{1, 25}} << QString()
                                         << "Range 1: pages 1 to 25 are outside the document (pages 1 to 10).";
    QTest::newRow("page 0") << QList<PageRange>{{2, 3}, {0, 1}} << QString() << "Range 2: pages 0 to 1";
    QTest::newRow("over its own source") << QList<PageRange>{{1, 2}} << "ten.pdf"
                                         << "\"ten.pdf\" is the PDF being split";
}

void TestSplitPdfForm::failureReachesUser()
{
    QFETCH(QList<PageRange>, ranges);
    QFETCH(QString, output);
    QFETCH(QString, messageStart);
    const QString source = writePdf(QStringLiteral("ten.pdf"), 10);
    const QByteArray before = PdfTestFiles::contents(source);
    load(source, 10);
    setRows(ranges);
    QCOMPARE(rows().last()->toSpinBox->value(), ranges.last().last);
    if (!output.isEmpty()) {
        ShellDialogs::enqueueAnswer(dir.filePath(output));
        ShellDialogs::enqueueAnswer(int(QMessageBox::Yes)); // the save dialog's "already exists"
    }
    ShellDialogs::enqueueAnswer(int(QMessageBox::Ok));
    form->findChild<QPushButton *>(QStringLiteral("splitPDFButton"))->click();

    QCOMPARE(ShellDialogs::pendingAnswers(), 0);
    QVERIFY(form->findChildren<SplitPDFSplitThread *>().isEmpty());
    const QList<ShellDialogs::Question> questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), output.isEmpty() ? 1 : 3);
    QVERIFY2(questions.last().text.startsWith(messageStart), qPrintable(questions.last().text));
    QCOMPARE(PdfTestFiles::contents(source), before);
    QCOMPARE(listedPages(), 10);
}

void TestSplitPdfForm::protectedSourceSplitsWithItsPassword()
{
    const QString source = dir.filePath(QStringLiteral("locked.pdf"));
    QVERIFY(QFile::copy(writePdf(QStringLiteral("ten.pdf"), 10), source));
    PdfTestFiles::encrypt(source, QStringLiteral("secret"));

    // Cancel: back to the drop area, nothing listed.
    ShellDialogs::enqueueDialogScript([](QDialog *dialog) { dialog->reject(); });
    load(source, 0);
    QVERIFY(form->sourceFrame->isVisible());
    QVERIFY(!form->mainListView->isVisible());

    ShellDialogs::enqueueDialogScript([](QDialog *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("passwordLineEdit"))->setText(QStringLiteral("secret"));
        dialog->accept();
    });
    load(source, 10);
    QTRY_COMPARE(form->findChildren<SplitPDFAddPageThread *>().size(), 0);
    QCOMPARE(listedPages(), 10);
    QVERIFY(form->mainListView->isVisible());

    const QString output = dir.filePath(QStringLiteral("from locked.pdf"));
    setRows({{2, 3}});
    ShellDialogs::enqueueAnswer(output);
    ShellDialogs::enqueueAnswer(int(QMessageBox::Ok));
    form->findChild<QPushButton *>(QStringLiteral("splitPDFButton"))->click();
    waitForSplitToEnd();
    QCOMPARE(PdfTestFiles::pageTexts(output), (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
    QVERIFY(TestEnvironment::run(QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"), output})
                .contains("File is not encrypted"));
}

// A source qpdf had to repair is split, and the message says so briefly.
void TestSplitPdfForm::repairedSourceIsReported()
{
    const QString source = dir.filePath(QStringLiteral("repaired.pdf"));
    QVERIFY(PdfTestFiles::writeRepairable(source, 3));
    load(source, 3);
    const QString output = dir.filePath(QStringLiteral("from repaired.pdf"));
    setRows({{2, 3}});
    ShellDialogs::enqueueAnswer(output);
    ShellDialogs::enqueueAnswer(int(QMessageBox::Ok));
    form->findChild<QPushButton *>(QStringLiteral("splitPDFButton"))->click();
    waitForSplitToEnd();
    const QString message = ShellDialogs::takeQuestions().last().text;
    QVERIFY2(PdfTestFiles::tellsOfRepair(message, completed, source), qPrintable(message));
    QCOMPARE(PdfTestFiles::pageTexts(output), (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
}

QTEST_MAIN(TestSplitPdfForm)
#include "tst_splitpdfform.moc"
