#include "cocoacode.h"
#include "pdfmanageraddpagethread.h"
#include "pdfmanagerexportpagethread.h"
#include "pdfmanagerform.h"
#include "pdfmanagerglobal.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "testenvironment.h"
#include "testpdf.h"

#include <QComboBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QImageReader>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

// A folder-picker answer that runs code while the picker is open.
struct PickerHook {
    std::function<QString()> answer;
};
Q_DECLARE_METATYPE(PickerHook)

namespace {

enum { ResultPage = 0, ProgressPage = 1, SourcePage = 2 };

void clickButton(QDialog *dialog, const char *name)
{
    dialog->findChild<QPushButton *>(QLatin1String(name))->click();
}

} // namespace

class TestPdfManagerForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnDropAreaWithPageControlsDisabled();
    void settingsOutOfRangeFallBack();
    void openStartsInDocumentsWhenLoadFolderIsGone();
    void openLoadsFileAndRemembersFolder();
    void dragAcceptsPdfFilesAndFolders_data();
    void dragAcceptsPdfFilesAndFolders();
    void dropLoadsOnlyFirstPdf();
    void unreadableInputEndsWithEmptyList();
    void cancelDuringLoadKeepsRowsAndShowsDropArea();
    void newDropDuringLoadDropsStaleRows();
    void closingDuringLoadOrExportWaitsForThreads();
    void checkedStripFollowsPageOrder();
    void checkAllAndUncheckAll();
    void pageRangeKeepsEarlierChecks();
    void selectionFollowsBetweenListAndStrip();
    void splitterMovesRedrawPreviewOnce();
    void outputFormatChangedWhilePickingIsNotStored();
    void exportWritesFilesAndOffersFolder();
    void exportAgainAsksBeforeOverwriting();
    void overwriteWithNothingTickedReturnsToPages();
    void exportReportsPagesThatCannotBeWritten();
    void cancelDuringExportReturnsWithoutMessage();

private:
    template<typename T> T *child(const char *name) const
    {
        T *widget = form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no child %s", name);
        return widget;
    }
    void createForm();
    QString writePdf(const QString &name, int pages);
    void dropOn(QWidget *target, const QList<QUrl> &urls);
    void load(const QString &path);
    void waitForThreads();
    int stackedPage() const
    {
        return form->findChild<QStackedLayout *>(QStringLiteral("stackedLayout"))->currentIndex();
    }
    QStandardItemModel *pages() const
    {
        return qobject_cast<QStandardItemModel *>(child<QListView>("listView")->model());
    }
    QStringList strip() const;
    void togglePage(int pageNumber);
    void exportChecked(const QString &folder, const QVariantList &laterAnswers = {});

    QTemporaryDir temp;
    PdfManagerForm *form = nullptr;
};

void TestPdfManagerForm::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(temp.isValid());
    QMetaType::registerConverter<PickerHook, QString>([](const PickerHook &hook) { return hook.answer(); });
}

void TestPdfManagerForm::init()
{
    ShellDialogs::setScripted(true);
    QSettings(QStringLiteral("Corvane"), QStringLiteral("Quillbox")).clear();
    createForm();
}

void TestPdfManagerForm::cleanup()
{
    delete form;
    form = nullptr;
    ShellDialogs::setScripted(false);
}

void TestPdfManagerForm::createForm()
{
    delete form;
    form = new PdfManagerForm;
    form->resize(1100, 800);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

QString TestPdfManagerForm::writePdf(const QString &name, int pageCount)
{
    const QString path = temp.filePath(name);
    if (!QFile::exists(path) && !TestPdf::writeA4(path, pageCount))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestPdfManagerForm::dropOn(QWidget *target, const QList<QUrl> &urls)
{
    // As the desktop does it: the drop goes to the widget that accepted the drag.
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

void TestPdfManagerForm::waitForThreads()
{
    QTRY_VERIFY_WITH_TIMEOUT(form->findChildren<QThread *>().isEmpty(), 60000);
}

void TestPdfManagerForm::load(const QString &path)
{
    dropOn(child<QWidget>("sourceFrame"), {QUrl::fromLocalFile(path)});
    waitForThreads();
    QCOMPARE(stackedPage(), int(ResultPage));
}

QStringList TestPdfManagerForm::strip() const
{
    const QAbstractItemModel *model = child<QTableView>("checkedView")->model();
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->index(0, column).data().toString();
    return texts;
}

void TestPdfManagerForm::togglePage(int pageNumber)
{
    auto *list = child<QListView>("listView");
    list->setFocus();
    list->setCurrentIndex(pages()->index(pageNumber - 1, 0));
    QTest::keyClick(list, Qt::Key_Space);
}

static QVariant script(const ShellDialogs::DialogScript &dialogScript)
{
    return QVariant::fromValue(dialogScript);
}

void TestPdfManagerForm::exportChecked(const QString &folder, const QVariantList &laterAnswers)
{
    ShellDialogs::enqueueAnswer(folder);
    for (const QVariant &answer : laterAnswers)
        ShellDialogs::enqueueAnswer(answer);
    QTest::mouseClick(child<QToolButton>("exportButton"), Qt::LeftButton);
    waitForThreads();
}

void TestPdfManagerForm::startsOnDropAreaWithPageControlsDisabled()
{
    QCOMPARE(stackedPage(), int(SourcePage));
    for (const char *name : {"exportButton", "checkAllButton", "uncheckAllButton", "pageRangeButton"})
        QVERIFY2(!child<QToolButton>(name)->isEnabled(), name);
    QVERIFY(child<QToolButton>("loadButton")->isEnabled());
    for (const char *name : {"websiteButton", "aboutButton"})
        QVERIFY2(child<QToolButton>(name)->isHidden(), name);
    QVERIFY(child<QTabWidget>("checkedTabWidget")->isHidden());
    for (const char *name : {"checkAllButton", "uncheckAllButton", "pageRangeButton"}) {
        const auto *button = child<QToolButton>(name);
        QVERIFY(!button->toolTip().isEmpty());
        QCOMPARE(button->accessibleName(), button->toolTip());
    }
    QCOMPARE(child<QLabel>("sourceLabel")->text(), QStringLiteral("Drop PDF File here"));
    QCOMPARE(child<QComboBox>("scaleComboBox")->currentIndex(), 1);
}

void TestPdfManagerForm::settingsOutOfRangeFallBack()
{
    {
        QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Quillbox"));
        settings.beginGroup(QStringLiteral("PdfManager"));
        settings.setValue(QStringLiteral("exportScale"), 7);
        settings.setValue(QStringLiteral("outputFormat"), -1);
    }
    createForm();
    QCOMPARE(child<QComboBox>("scaleComboBox")->currentIndex(), 1);
    QCOMPARE(child<QComboBox>("outputComboBox")->currentIndex(), 0);
    QCOMPARE(PdfManagerGlobal::exportScale(), 1);

    // Reading does not write back; a real change does.
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Quillbox"));
    QCOMPARE(settings.value(QStringLiteral("PdfManager/exportScale")).toInt(), 7);
    child<QComboBox>("scaleComboBox")->setCurrentIndex(4);
    settings.sync();
    QCOMPARE(settings.value(QStringLiteral("PdfManager/exportScale")).toInt(), 4);
    QCOMPARE(PdfManagerGlobal::exportScale(), 4);
}

void TestPdfManagerForm::openStartsInDocumentsWhenLoadFolderIsGone()
{
    const QString gone = temp.filePath(QStringLiteral("gone"));
    QVERIFY(QDir().mkpath(gone));
    {
        QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Quillbox"));
        settings.setValue(QStringLiteral("PdfManager/loadPath"), gone);
    }
    QVERIFY(QDir(gone).removeRecursively());
    createForm();
    ShellDialogs::enqueueAnswer(QString());
    QTest::mouseClick(child<QToolButton>("loadButton"), Qt::LeftButton);
    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions.first().title, QStringLiteral("Open PDF File"));
    QCOMPARE(questions.first().text, ShellHelpers::documentsFolder());
    QCOMPARE(stackedPage(), int(SourcePage));
    QVERIFY(form->findChildren<QThread *>().isEmpty());
}

void TestPdfManagerForm::openLoadsFileAndRemembersFolder()
{
    QDir().mkpath(temp.filePath(QStringLiteral("Mes documents ✓")));
    const QString path = writePdf(QStringLiteral("Mes documents ✓/rapport été.pdf"), 2);
    ShellDialogs::enqueueAnswer(path);
    QTest::mouseClick(child<QToolButton>("loadButton"), Qt::LeftButton);
    waitForThreads();
    QCOMPARE(pages()->rowCount(), 2);
    QCOMPARE(PdfManagerGlobal::currentPdfPath(), path);
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Quillbox"));
    QCOMPARE(settings.value(QStringLiteral("PdfManager/loadPath")).toString(),
             temp.filePath(QStringLiteral("Mes documents ✓")));
}

void TestPdfManagerForm::dragAcceptsPdfFilesAndFolders_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("pdf") << "a.pdf" << true;
    QTest::newRow("upper case") << "B.PDF" << true;
    QTest::newRow("double suffix") << "c.tar.Pdf" << true;
    QTest::newRow("image") << "d.png" << false;
    QTest::newRow("pdf in the middle") << "e.pdf.txt" << false;
    QTest::newRow("folder") << "folder" << true;
}

void TestPdfManagerForm::dragAcceptsPdfFilesAndFolders()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    QDir().mkpath(temp.filePath(QStringLiteral("folder")));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(temp.filePath(name))});
    for (QWidget *target : {child<QWidget>("sourceFrame"), child<QListView>("listView")->viewport()}) {
        QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
        event.ignore();
        QCoreApplication::sendEvent(target, &event);
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        QCOMPARE(event.isAccepted(), accepted);
        if (accepted)
            QCOMPARE(event.dropAction(), Qt::LinkAction);
    }
    QMimeData noUrls;
    noUrls.setText(QStringLiteral("a.pdf"));
    QDragEnterEvent text(QPoint(5, 5), Qt::CopyAction, &noUrls, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(child<QWidget>("sourceFrame"), &text);
    QVERIFY(!text.isAccepted());
}

void TestPdfManagerForm::dropLoadsOnlyFirstPdf()
{
    const QString first = writePdf(QStringLiteral("first.pdf"), 3);
    const QString second = writePdf(QStringLiteral("second.pdf"), 5);
    dropOn(child<QWidget>("sourceFrame"), {QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    waitForThreads();
    QCOMPARE(stackedPage(), int(ResultPage));
    QCOMPARE(PdfManagerGlobal::currentPdfPath(), first);
    QCOMPARE(pages()->rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        const QStandardItem *item = pages()->item(row);
        QCOMPARE(item->text(), QString::number(row + 1));
        QVERIFY(item->isCheckable());
        QCOMPARE(item->checkState(), Qt::Unchecked);
        // Thumbnails are the size shown, not whole pages.
        const QSize size = item->icon().availableSizes().value(0);
        QVERIFY2(size.width() <= 200 && size.height() <= 200 && !size.isEmpty(),
                 qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
    }
    QCOMPARE(child<QListView>("listView")->iconSize(), QSize(200, 200));
    QVERIFY(child<QToolButton>("checkAllButton")->isEnabled());
    QVERIFY(!child<QToolButton>("exportButton")->isEnabled());
    QCOMPARE(child<QProgressBar>("progressBar")->value(), 3);

    // A drop onto the page list replaces the document.
    dropOn(child<QListView>("listView")->viewport(), {QUrl::fromLocalFile(second)});
    waitForThreads();
    QCOMPARE(pages()->rowCount(), 5);
}

void TestPdfManagerForm::unreadableInputEndsWithEmptyList()
{
    const QString path = temp.filePath(QStringLiteral("broken.pdf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\nnothing else\n");
    file.close();
    dropOn(child<QWidget>("sourceFrame"), {QUrl::fromLocalFile(path)});
    waitForThreads();
    QCOMPARE(pages()->rowCount(), 0);
    QCOMPARE(stackedPage(), int(ResultPage));
    QVERIFY(child<QToolButton>("loadButton")->isEnabled());
    QVERIFY(ShellDialogs::takeQuestions().isEmpty());
}

void TestPdfManagerForm::cancelDuringLoadKeepsRowsAndShowsDropArea()
{
    const QString path = writePdf(QStringLiteral("long.pdf"), 800);
    dropOn(child<QWidget>("sourceFrame"), {QUrl::fromLocalFile(path)});
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 2);
    QCOMPARE(stackedPage(), int(ProgressPage));
    QVERIFY(!child<QToolButton>("loadButton")->isVisible());
    QTest::mouseClick(child<QPushButton>("progressCancelButton"), Qt::LeftButton);
    waitForThreads();
    QCOMPARE(stackedPage(), int(SourcePage));
    const int rows = pages()->rowCount();
    QVERIFY2(rows >= 1 && rows < 800, qPrintable(QString::number(rows)));
    for (int row = 0; row < rows; ++row)
        QCOMPARE(pages()->item(row)->text(), QString::number(row + 1));
    QVERIFY(child<QToolButton>("loadButton")->isVisible());
    QVERIFY(child<QToolButton>("loadButton")->isEnabled());
}

void TestPdfManagerForm::newDropDuringLoadDropsStaleRows()
{
    const QString big = writePdf(QStringLiteral("long.pdf"), 800);
    const QString small = writePdf(QStringLiteral("small.pdf"), 3);
    dropOn(child<QWidget>("sourceFrame"), {QUrl::fromLocalFile(big)});
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 1);
    dropOn(child<QWidget>("sourceFrame"), {QUrl::fromLocalFile(small)});
    waitForThreads();
    QTest::qWait(200);
    QCOMPARE(pages()->rowCount(), 3);
    QCOMPARE(PdfManagerGlobal::currentPdfPath(), small);
    QCOMPARE(PdfManagerGlobal::pageCount(), 3);
    QCOMPARE(stackedPage(), int(ResultPage));
    QVERIFY(child<QToolButton>("checkAllButton")->isEnabled());
}

void TestPdfManagerForm::closingDuringLoadOrExportWaitsForThreads()
{
    const QString big = writePdf(QStringLiteral("long.pdf"), 800);
    dropOn(child<QWidget>("sourceFrame"), {QUrl::fromLocalFile(big)});
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 1);
    delete form;
    form = nullptr;

    createForm();
    load(writePdf(QStringLiteral("export source.pdf"), 12));
    child<QToolButton>("checkAllButton")->click();
    child<QComboBox>("scaleComboBox")->setCurrentIndex(4);
    QTemporaryDir out;
    ShellDialogs::enqueueAnswer(out.path());
    child<QToolButton>("exportButton")->click();
    QTRY_COMPARE(stackedPage(), int(ProgressPage));
    delete form;
    form = nullptr;
    QCOMPARE(ShellDialogs::takeQuestions().size(), 1); // the folder, no completion message
}

void TestPdfManagerForm::checkedStripFollowsPageOrder()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    auto *export_ = child<QToolButton>("exportButton");
    auto *tabs = child<QTabWidget>("checkedTabWidget");
    togglePage(5);
    QVERIFY(export_->isEnabled());
    QVERIFY(tabs->isVisible());
    togglePage(2);
    togglePage(9);
    QCOMPARE(strip(), QStringList({"2", "5", "9"}));
    QCOMPARE(pages()->item(4)->checkState(), Qt::Checked);

    // A click on a page (not on its box) keeps the strip as it is.
    auto *list = child<QListView>("listView");
    const QRect rect = list->visualRect(pages()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center() + QPoint(0, rect.height() / 3));
    QCOMPARE(strip(), QStringList({"2", "5", "9"}));

    togglePage(5);
    QCOMPARE(strip(), QStringList({"2", "9"}));
    togglePage(2);
    QVERIFY(tabs->isVisible());
    togglePage(9);
    QVERIFY(strip().isEmpty());
    QVERIFY(tabs->isHidden());
    QVERIFY(!export_->isEnabled());
}

void TestPdfManagerForm::checkAllAndUncheckAll()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    togglePage(4);
    QTest::mouseClick(child<QToolButton>("checkAllButton"), Qt::LeftButton);
    QCOMPARE(strip(), QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    QVERIFY(child<QToolButton>("exportButton")->isEnabled());
    QCOMPARE(child<QTableView>("checkedView")->columnWidth(3), 120);
    QTest::mouseClick(child<QToolButton>("uncheckAllButton"), Qt::LeftButton);
    QVERIFY(strip().isEmpty());
    QVERIFY(child<QTabWidget>("checkedTabWidget")->isHidden());
    QVERIFY(!child<QToolButton>("exportButton")->isEnabled());
    for (int row = 0; row < 10; ++row)
        QCOMPARE(pages()->item(row)->checkState(), Qt::Unchecked);
}

void TestPdfManagerForm::pageRangeKeepsEarlierChecks()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    togglePage(9);
    ShellDialogs::enqueueDialogScript([](QDialog *dialog) {
        auto *start = dialog->findChild<QSpinBox *>(QStringLiteral("startSpinBox"));
        auto *end = dialog->findChild<QSpinBox *>(QStringLiteral("endSpinBox"));
        QCOMPARE(end->maximum(), 10);
        end->setValue(6);
        start->setValue(3);
        clickButton(dialog, "okButton");
    });
    QTest::mouseClick(child<QToolButton>("pageRangeButton"), Qt::LeftButton);
    QCOMPARE(strip(), QStringList({"3", "4", "5", "6", "9"}));
    QCOMPARE(pages()->item(1)->checkState(), Qt::Unchecked);
    QCOMPARE(pages()->item(6)->checkState(), Qt::Unchecked);
    QVERIFY(child<QToolButton>("exportButton")->isEnabled());
    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions.first().title, QStringLiteral("Page Range"));
    QTRY_VERIFY(form->findChildren<QDialog *>().isEmpty());
}

void TestPdfManagerForm::selectionFollowsBetweenListAndStrip()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    togglePage(3);
    togglePage(7);
    auto *list = child<QListView>("listView");
    auto *stripView = child<QTableView>("checkedView");
    list->setCurrentIndex(pages()->index(0, 0));
    QVERIFY(stripView->selectionModel()->selectedIndexes().isEmpty());
    list->setCurrentIndex(pages()->index(6, 0));
    QCOMPARE(stripView->selectionModel()->selectedIndexes().value(0).data().toString(), QStringLiteral("7"));
    list->setCurrentIndex(pages()->index(4, 0));
    QVERIFY(stripView->selectionModel()->selectedIndexes().isEmpty());

    const QRect cell = stripView->visualRect(stripView->model()->index(0, 0));
    QTest::mouseClick(stripView->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(list->selectionModel()->selectedIndexes().value(0).row(), 2);
    QVERIFY(!child<QLabel>("previewImage")->pixmap().isNull());
}

void TestPdfManagerForm::splitterMovesRedrawPreviewOnce()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    auto *label = child<QLabel>("previewImage");
    child<QListView>("listView")->setCurrentIndex(pages()->index(0, 0));
    const QPixmap shown = label->pixmap();
    QVERIFY(!shown.isNull());
    // Drawn at the label's size, keeping the page's proportions.
    const QSize box = label->contentsRect().size();
    const QSize logical = shown.deviceIndependentSize().toSize();
    QVERIFY(logical.width() == box.width() || logical.height() == box.height());
    QVERIFY(qAbs(logical.width() * 842.0 / logical.height() - 595) < 8);

    auto *splitter = child<QSplitter>("splitter");
    QElapsedTimer clock;
    clock.start();
    qint64 key = shown.cacheKey();
    for (int move = 0; move < 4; ++move) {
        QMetaObject::invokeMethod(splitter, "splitterMoved", Q_ARG(int, 400 + move), Q_ARG(int, 1));
        QTest::qWait(100);
    }
    QCOMPARE(label->pixmap().cacheKey(), key);
    int redraws = 0;
    qint64 firstRedraw = -1;
    while (clock.elapsed() < 1600) {
        QTest::qWait(10);
        if (label->pixmap().cacheKey() != key) {
            key = label->pixmap().cacheKey();
            ++redraws;
            if (firstRedraw < 0)
                firstRedraw = clock.elapsed();
        }
    }
    QCOMPARE(redraws, 1);
    QVERIFY2(firstRedraw >= 550 && firstRedraw < 1100, qPrintable(QString::number(firstRedraw)));
}

void TestPdfManagerForm::outputFormatChangedWhilePickingIsNotStored()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    togglePage(1);
    auto *combo = child<QComboBox>("outputComboBox");
    ShellDialogs::enqueueAnswer(QVariant::fromValue(PickerHook{[combo] {
        combo->setCurrentIndex(2);
        return QString();
    }}));
    QTest::mouseClick(child<QToolButton>("exportButton"), Qt::LeftButton);
    QCOMPARE(combo->currentIndex(), 2);
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Quillbox"));
    QVERIFY(!settings.contains(QStringLiteral("PdfManager/outputFormat")));
    QVERIFY(form->findChildren<QThread *>().isEmpty());

    // The cancelled picker made the form ready again.
    combo->setCurrentIndex(1);
    settings.sync();
    QCOMPARE(settings.value(QStringLiteral("PdfManager/outputFormat")).toInt(), 1);
}

void TestPdfManagerForm::exportWritesFilesAndOffersFolder()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    togglePage(1);
    togglePage(3);
    child<QComboBox>("outputComboBox")->setCurrentIndex(1);
    child<QComboBox>("scaleComboBox")->setCurrentIndex(0);
    QTemporaryDir out(temp.filePath(QStringLiteral("sortie XXXXXX")));
    exportChecked(out.path(), {QStringLiteral("Open Folder")});

    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList({"1.png", "3.png"}));
    QCOMPARE(QImageReader(out.filePath(QStringLiteral("3.png"))).size(), QSize(595, 842));
    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 3);
    QCOMPARE(questions.at(0).kind, QStringLiteral("folder"));
    QCOMPARE(questions.at(1).kind, QStringLiteral("message"));
    QCOMPARE(questions.at(1).title, QStringLiteral("PDF to Image"));
    QCOMPARE(questions.at(1).text, QStringLiteral("The exporting process is completed."));
    QCOMPARE(questions.at(2).kind, QStringLiteral("url"));
    QCOMPARE(QUrl(questions.at(2).title).toLocalFile(), out.path());
    QCOMPARE(stackedPage(), int(ResultPage));
    QCOMPARE(PdfManagerGlobal::currentTargetFolderPath(), out.path());
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Quillbox"));
    QCOMPARE(settings.value(QStringLiteral("PdfManager/exportPath")).toString(), out.path());

    // A cancelled picker starts nothing.
    ShellDialogs::enqueueAnswer(QString());
    QTest::mouseClick(child<QToolButton>("exportButton"), Qt::LeftButton);
    QVERIFY(form->findChildren<QThread *>().isEmpty());
    QCOMPARE(ShellDialogs::takeQuestions().size(), 1);
}

void TestPdfManagerForm::exportAgainAsksBeforeOverwriting()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    for (int page : {2, 5, 8})
        togglePage(page);
    QTemporaryDir out;
    const QString five = out.filePath(QStringLiteral("5.jpg"));
    const QString eight = out.filePath(QStringLiteral("8.jpg"));
    QFile::copy(writePdf(QStringLiteral("ten.pdf"), 10), five); // not an image: must be replaced
    QFile::copy(writePdf(QStringLiteral("ten.pdf"), 10), eight);

    QStringList listed;
    const auto untickSecond = [&listed](QDialog *dialog) {
        auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
        for (int row = 0; row < tree->topLevelItemCount(); ++row)
            listed << tree->topLevelItem(row)->text(0);
        tree->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        clickButton(dialog, "overwriteButton");
    };
    exportChecked(out.path(), {script(untickSecond), QMessageBox::Ok});

    QCOMPARE(listed, QStringList({five, eight}));
    QVERIFY(QImageReader(out.filePath(QStringLiteral("2.jpg"))).canRead());
    QVERIFY(QImageReader(five).canRead());
    QVERIFY(!QImageReader(eight).canRead());
    auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 3);
    QCOMPARE(questions.at(1).title, QStringLiteral("Overwrite Confirmation"));
    QCOMPARE(questions.at(2).text, QStringLiteral("The exporting process is completed."));
    QCOMPARE(stackedPage(), int(ResultPage));

    // Cancel in the dialog writes nothing more and still reports completion.
    exportChecked(out.path(), {script([](QDialog *dialog) { clickButton(dialog, "cancelButton"); }), QMessageBox::Ok});
    QVERIFY(!QImageReader(eight).canRead());
    questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 3);
    QCOMPARE(questions.at(2).text, QStringLiteral("The exporting process is completed."));
    QCOMPARE(stackedPage(), int(ResultPage));
}

void TestPdfManagerForm::overwriteWithNothingTickedReturnsToPages()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    togglePage(1);
    QTemporaryDir out;
    QFile(out.filePath(QStringLiteral("1.jpg"))).open(QIODevice::WriteOnly);
    exportChecked(out.path(), {script([](QDialog *dialog) {
                      dialog->findChild<QTreeWidget *>()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
                      clickButton(dialog, "overwriteButton");
                  })});
    QCOMPARE(ShellDialogs::takeQuestions().size(), 2); // folder and dialog, no message
    QCOMPARE(stackedPage(), int(ResultPage));
    QVERIFY(child<QToolButton>("loadButton")->isVisible());
    QVERIFY(child<QToolButton>("exportButton")->isEnabled());
    QCOMPARE(QFileInfo(out.filePath(QStringLiteral("1.jpg"))).size(), 0);
    QTRY_VERIFY(form->findChildren<QDialog *>().isEmpty());
}

void TestPdfManagerForm::exportReportsPagesThatCannotBeWritten()
{
    load(writePdf(QStringLiteral("ten.pdf"), 10));
    togglePage(1);
    togglePage(2);
    QTemporaryDir out;
    // A folder in the way of page 1's file: listed as existing, then not replaceable.
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("1.jpg")));
    exportChecked(out.path(),
                  {script([](QDialog *dialog) { clickButton(dialog, "overwriteButton"); }), QMessageBox::Ok});

    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 3);
    const QString text = questions.at(2).text;
    QVERIFY2(text.startsWith(QStringLiteral("The exporting process is completed.\n\n1 page could not be written:\n"
                                            "Page 1 could not be saved as ")),
             qPrintable(text));
    QVERIFY(text.contains(QDir::toNativeSeparators(out.filePath(QStringLiteral("1.jpg")))));
    QVERIFY(QImageReader(out.filePath(QStringLiteral("2.jpg"))).canRead());

    // The next export starts with a clean report.
    for (int page : {1, 2, 3})
        togglePage(page);
    exportChecked(out.path(), {QMessageBox::Ok});
    QCOMPARE(ShellDialogs::takeQuestions().value(1).text, QStringLiteral("The exporting process is completed."));
}

void TestPdfManagerForm::cancelDuringExportReturnsWithoutMessage()
{
    load(writePdf(QStringLiteral("thirty.pdf"), 30));
    child<QToolButton>("checkAllButton")->click();
    child<QComboBox>("scaleComboBox")->setCurrentIndex(4);
    child<QComboBox>("outputComboBox")->setCurrentIndex(1);
    QTemporaryDir out;
    ShellDialogs::enqueueAnswer(out.path());
    child<QToolButton>("exportButton")->click();
    QTRY_VERIFY(child<QLabel>("progressLabel")->text().startsWith(QStringLiteral("Exporting page ")));
    const QString progress = child<QLabel>("progressLabel")->text();
    QVERIFY2(progress.endsWith(QStringLiteral(" of 30. Please wait...")), qPrintable(progress));
    QCOMPARE(stackedPage(), int(ProgressPage));
    QTest::mouseClick(child<QPushButton>("progressCancelButton"), Qt::LeftButton);
    waitForThreads();
    QCOMPARE(stackedPage(), int(ResultPage));
    QCOMPARE(ShellDialogs::takeQuestions().size(), 1);
    const int written = int(QDir(out.path()).entryList(QDir::Files).size());
    QVERIFY2(written >= 1 && written < 30, qPrintable(QString::number(written)));
    QVERIFY(child<QToolButton>("exportButton")->isEnabled());
}

QTEST_MAIN(TestPdfManagerForm)
#include "tst_pdfmanagerform.moc"
