#include "cocoacode.h"
#include "kivglobal.h"
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

QVariant setting(const QString &key)
{
    return QSettings(QStringLiteral("Corvane"), QStringLiteral("Quillbox")).value(key);
}

void setSetting(const QString &key, const QVariant &value)
{
    QSettings(QStringLiteral("Corvane"), QStringLiteral("Quillbox")).setValue(key, value);
}

QVariant script(const ShellDialogs::DialogScript &dialogScript)
{
    return QVariant::fromValue(dialogScript);
}

const QString completed = QStringLiteral("The exporting process is completed.");

} // namespace

class TestPdfManagerForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnDropAreaAndReadsSettingsBack();
    void openStartsInLoadFolderOrDocuments();
    void dragAcceptsPdfFilesAndFolders();
    void dropLoadsFirstPdfAndReplacesRows();
    void cancelOrNewDropDuringLoad();
    void closingDuringLoadOrExportWaitsForThreads();
    void checkedStripFollowsPageOrder();
    void pageRangeKeepsEarlierChecks();
    void selectionAndPreviewFollowTheCurrentPage();
    void outputFormatChangedWhilePickingIsNotStored();
    void exportWritesFilesAndOffersFolder();
    void exportAgainAsksBeforeOverwriting();
    void exportReportsPagesThatCannotBeWritten();
    void cancelDuringExportReturnsWithoutMessage();

private:
    template<typename T = QToolButton> T *child(const char *name) const
    {
        T *widget = form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no child %s", name);
        return widget;
    }
    void click(const char *name) { QTest::mouseClick(child(name), Qt::LeftButton); }
    void createForm();
    QString writePdf(const QString &name, int pages);
    void dropOn(QWidget *target, const QString &path, const QString &more = {});
    void drop(const QString &path) { dropOn(child<QWidget>("sourceFrame"), path); }
    void loadTen();
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
    void togglePages(std::initializer_list<int> pageNumbers);
    void exportChecked(const QString &folder, const QVariantList &laterAnswers = {});
    void startLongExport(const QString &folder);

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

void TestPdfManagerForm::dropOn(QWidget *target, const QString &path, const QString &more)
{
    // As the desktop does it: the drop goes to the widget that accepted the drag.
    QMimeData mime;
    mime.setUrls(more.isEmpty() ? QList<QUrl>{QUrl::fromLocalFile(path)}
                                : QList<QUrl>{QUrl::fromLocalFile(path), QUrl::fromLocalFile(more)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent dropEvent(QPointF(5, 5), Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropEvent);
}

void TestPdfManagerForm::waitForThreads()
{
    QTRY_VERIFY_WITH_TIMEOUT(form->findChildren<QThread *>().isEmpty(), 60000);
}

void TestPdfManagerForm::loadTen()
{
    drop(writePdf(QStringLiteral("ten.pdf"), 10));
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

void TestPdfManagerForm::togglePages(std::initializer_list<int> pageNumbers)
{
    auto *list = child<QListView>("listView");
    list->setFocus();
    for (int pageNumber : pageNumbers) {
        list->setCurrentIndex(pages()->index(pageNumber - 1, 0));
        QTest::keyClick(list, Qt::Key_Space);
    }
}

void TestPdfManagerForm::exportChecked(const QString &folder, const QVariantList &laterAnswers)
{
    ShellDialogs::enqueueAnswer(folder);
    for (const QVariant &answer : laterAnswers)
        ShellDialogs::enqueueAnswer(answer);
    click("exportButton");
    waitForThreads();
}

// Every page of a 30-page document as PNG at 500 %: long enough to interrupt.
void TestPdfManagerForm::startLongExport(const QString &folder)
{
    drop(writePdf(QStringLiteral("thirty.pdf"), 30));
    waitForThreads();
    child("checkAllButton")->click();
    child<QComboBox>("scaleComboBox")->setCurrentIndex(4);
    child<QComboBox>("outputComboBox")->setCurrentIndex(1);
    ShellDialogs::enqueueAnswer(folder);
    child("exportButton")->click();
    QTRY_COMPARE(stackedPage(), int(ProgressPage));
}

void TestPdfManagerForm::startsOnDropAreaAndReadsSettingsBack()
{
    QCOMPARE(stackedPage(), int(SourcePage));
    for (const char *name : {"exportButton", "checkAllButton", "uncheckAllButton", "pageRangeButton"})
        QVERIFY2(!child(name)->isEnabled(), name);
    QVERIFY(child("loadButton")->isEnabled());
    // The PDF edition leaves the about and website actions to the main window.
    for (const char *name : {"line_3", "websiteButton", "aboutButton"})
        QVERIFY2(child<QWidget>(name)->isHidden() == KivGlobal::isPdfManager, name);
    QVERIFY(child<QTabWidget>("checkedTabWidget")->isHidden());
    for (const char *name : {"checkAllButton", "uncheckAllButton", "pageRangeButton"}) {
        QVERIFY(!child(name)->toolTip().isEmpty());
        QCOMPARE(child(name)->accessibleName(), child(name)->toolTip());
    }
    QCOMPARE(child<QLabel>("sourceLabel")->text(), QStringLiteral("Drop PDF File here"));
    QCOMPARE(child<QComboBox>("scaleComboBox")->currentIndex(), 1);

    setSetting(QStringLiteral("PdfManager/exportScale"), 7);
    setSetting(QStringLiteral("PdfManager/outputFormat"), -1);
    createForm();
    QCOMPARE(child<QComboBox>("scaleComboBox")->currentIndex(), 1);
    QCOMPARE(child<QComboBox>("outputComboBox")->currentIndex(), 0);
    QCOMPARE(PdfManagerGlobal::exportScale(), 1);
    // Reading does not write back; a real change does.
    QCOMPARE(setting(QStringLiteral("PdfManager/exportScale")).toInt(), 7);
    child<QComboBox>("scaleComboBox")->setCurrentIndex(4);
    QCOMPARE(setting(QStringLiteral("PdfManager/exportScale")).toInt(), 4);
    QCOMPARE(PdfManagerGlobal::exportScale(), 4);
}

void TestPdfManagerForm::openStartsInLoadFolderOrDocuments()
{
    const QString gone = temp.filePath(QStringLiteral("gone"));
    QVERIFY(QDir().mkpath(gone));
    setSetting(QStringLiteral("PdfManager/loadPath"), gone);
    QVERIFY(QDir(gone).removeRecursively());
    createForm();
    ShellDialogs::enqueueAnswer(QString());
    click("loadButton");
    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions.first().title, QStringLiteral("Open PDF File"));
    QCOMPARE(questions.first().text, ShellHelpers::documentsFolder());
    QCOMPARE(stackedPage(), int(SourcePage));
    QVERIFY(form->findChildren<QThread *>().isEmpty());

    const QString folder = temp.filePath(QStringLiteral("Mes documents ✓"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = writePdf(QStringLiteral("Mes documents ✓/rapport été.pdf"), 2);
    ShellDialogs::enqueueAnswer(path);
    click("loadButton");
    waitForThreads();
    QCOMPARE(pages()->rowCount(), 2);
    QCOMPARE(PdfManagerGlobal::currentPdfPath(), path);
    QCOMPARE(setting(QStringLiteral("PdfManager/loadPath")).toString(), folder);
    ShellDialogs::enqueueAnswer(QString());
    click("loadButton");
    QCOMPARE(ShellDialogs::takeQuestions().last().text, folder);
}

void TestPdfManagerForm::dragAcceptsPdfFilesAndFolders()
{
    QVERIFY(QDir().mkpath(temp.filePath(QStringLiteral("folder"))));
    const QList<std::pair<QString, bool>> names = {{"a.pdf", true},  {"B.PDF", true},      {"c.tar.Pdf", true},
                                                   {"d.png", false}, {"e.pdf.txt", false}, {"folder", true}};
    for (const auto &[name, accepted] : names) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(temp.filePath(name))});
        for (QWidget *target : {child<QWidget>("sourceFrame"), child<QListView>("listView")->viewport()}) {
            QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
            event.ignore();
            QCoreApplication::sendEvent(target, &event);
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(target, &leave);
            QVERIFY2(event.isAccepted() == accepted, qPrintable(name));
            QVERIFY(!accepted || event.dropAction() == Qt::LinkAction);
        }
    }
    QMimeData noUrls;
    noUrls.setText(QStringLiteral("a.pdf"));
    QDragEnterEvent text(QPoint(5, 5), Qt::CopyAction, &noUrls, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(child<QWidget>("sourceFrame"), &text);
    QVERIFY(!text.isAccepted());
}

void TestPdfManagerForm::dropLoadsFirstPdfAndReplacesRows()
{
    const QString first = writePdf(QStringLiteral("first.pdf"), 3);
    dropOn(child<QWidget>("sourceFrame"), first, writePdf(QStringLiteral("second.pdf"), 5));
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
    QVERIFY(child("checkAllButton")->isEnabled());
    QVERIFY(!child("exportButton")->isEnabled());
    QCOMPARE(child<QProgressBar>("progressBar")->value(), 3);

    // A drop onto the page list replaces the document.
    dropOn(child<QListView>("listView")->viewport(), writePdf(QStringLiteral("second.pdf"), 5));
    waitForThreads();
    QCOMPARE(pages()->rowCount(), 5);

    // An unreadable file ends quietly with an empty list.
    const QString broken = temp.filePath(QStringLiteral("broken.pdf"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\nnothing else\n");
    file.close();
    drop(broken);
    waitForThreads();
    QCOMPARE(pages()->rowCount(), 0);
    QCOMPARE(stackedPage(), int(ResultPage));
    QVERIFY(child("loadButton")->isEnabled());
    QVERIFY(ShellDialogs::takeQuestions().isEmpty());
}

void TestPdfManagerForm::cancelOrNewDropDuringLoad()
{
    drop(writePdf(QStringLiteral("long.pdf"), 800));
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 2);
    QCOMPARE(stackedPage(), int(ProgressPage));
    QVERIFY(!child("loadButton")->isVisible());
    QTest::mouseClick(child<QPushButton>("progressCancelButton"), Qt::LeftButton);
    waitForThreads();
    QCOMPARE(stackedPage(), int(SourcePage));
    const int rows = pages()->rowCount();
    QVERIFY2(rows >= 1 && rows < 800, qPrintable(QString::number(rows)));
    for (int row = 0; row < rows; ++row)
        QCOMPARE(pages()->item(row)->text(), QString::number(row + 1));
    QVERIFY(child("loadButton")->isVisible());
    QVERIFY(child("loadButton")->isEnabled());

    // A new drop during a load: the rows of the old document do not come back.
    const QString small = writePdf(QStringLiteral("small.pdf"), 3);
    drop(writePdf(QStringLiteral("long.pdf"), 800));
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 1);
    drop(small);
    waitForThreads();
    QTest::qWait(200);
    QCOMPARE(pages()->rowCount(), 3);
    QCOMPARE(PdfManagerGlobal::currentPdfPath(), small);
    QCOMPARE(PdfManagerGlobal::pageCount(), 3);
    QCOMPARE(stackedPage(), int(ResultPage));
    QVERIFY(child("checkAllButton")->isEnabled());
}

void TestPdfManagerForm::closingDuringLoadOrExportWaitsForThreads()
{
    drop(writePdf(QStringLiteral("long.pdf"), 800));
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 1);
    delete form;
    form = nullptr;

    createForm();
    QTemporaryDir out;
    startLongExport(out.path());
    delete form;
    form = nullptr;
    QCOMPARE(ShellDialogs::takeQuestions().size(), 1); // the folder, no completion message
}

void TestPdfManagerForm::checkedStripFollowsPageOrder()
{
    loadTen();
    auto *tabs = child<QTabWidget>("checkedTabWidget");
    togglePages({5});
    QVERIFY(child("exportButton")->isEnabled());
    QVERIFY(tabs->isVisible());
    togglePages({2, 9});
    QCOMPARE(strip(), QStringList({"2", "5", "9"}));
    QCOMPARE(pages()->item(4)->checkState(), Qt::Checked);

    // A click on a page (not on its box) keeps the strip as it is.
    auto *list = child<QListView>("listView");
    const QRect rect = list->visualRect(pages()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center() + QPoint(0, rect.height() / 3));
    QCOMPARE(strip(), QStringList({"2", "5", "9"}));

    togglePages({5});
    QCOMPARE(strip(), QStringList({"2", "9"}));
    togglePages({2});
    QVERIFY(tabs->isVisible());
    togglePages({9});
    QVERIFY(strip().isEmpty());
    QVERIFY(tabs->isHidden());
    QVERIFY(!child("exportButton")->isEnabled());

    togglePages({4});
    click("checkAllButton");
    QCOMPARE(strip(), QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    QVERIFY(child("exportButton")->isEnabled());
    QCOMPARE(child<QTableView>("checkedView")->columnWidth(3), 120);
    click("uncheckAllButton");
    QVERIFY(strip().isEmpty());
    QVERIFY(tabs->isHidden());
    QVERIFY(!child("exportButton")->isEnabled());
    for (int row = 0; row < 10; ++row)
        QCOMPARE(pages()->item(row)->checkState(), Qt::Unchecked);
}

void TestPdfManagerForm::pageRangeKeepsEarlierChecks()
{
    loadTen();
    togglePages({9});
    ShellDialogs::enqueueDialogScript([](QDialog *dialog) {
        auto *start = dialog->findChild<QSpinBox *>(QStringLiteral("startSpinBox"));
        auto *end = dialog->findChild<QSpinBox *>(QStringLiteral("endSpinBox"));
        QCOMPARE(end->maximum(), 10);
        end->setValue(6);
        start->setValue(3);
        clickButton(dialog, "okButton");
    });
    click("pageRangeButton");
    QCOMPARE(strip(), QStringList({"3", "4", "5", "6", "9"}));
    QCOMPARE(pages()->item(1)->checkState(), Qt::Unchecked);
    QCOMPARE(pages()->item(6)->checkState(), Qt::Unchecked);
    QVERIFY(child("exportButton")->isEnabled());
    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions.first().title, QStringLiteral("Page Range"));
    QTRY_VERIFY(form->findChildren<QDialog *>().isEmpty());
}

void TestPdfManagerForm::selectionAndPreviewFollowTheCurrentPage()
{
    loadTen();
    togglePages({3, 7});
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

    // The preview: drawn at the label's size, keeping the page's proportions.
    auto *label = child<QLabel>("previewImage");
    const QPixmap shown = label->pixmap();
    QVERIFY(!shown.isNull());
    const QSize box = label->contentsRect().size();
    const QSize logical = shown.deviceIndependentSize().toSize();
    QVERIFY(logical.width() == box.width() || logical.height() == box.height());
    QVERIFY(qAbs(logical.width() * 842.0 / logical.height() - 595) < 8);

    // Splitter moves in quick succession redraw it once, after a pause.
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
    loadTen();
    togglePages({1});
    auto *combo = child<QComboBox>("outputComboBox");
    ShellDialogs::enqueueAnswer(QVariant::fromValue(PickerHook{[combo] {
        combo->setCurrentIndex(2);
        return QString();
    }}));
    click("exportButton");
    QCOMPARE(combo->currentIndex(), 2);
    QVERIFY(!setting(QStringLiteral("PdfManager/outputFormat")).isValid());
    QVERIFY(form->findChildren<QThread *>().isEmpty());

    // The cancelled picker made the form ready again.
    combo->setCurrentIndex(1);
    QCOMPARE(setting(QStringLiteral("PdfManager/outputFormat")).toInt(), 1);
}

void TestPdfManagerForm::exportWritesFilesAndOffersFolder()
{
    loadTen();
    togglePages({1, 3});
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
    QCOMPARE(questions.at(1).text, completed);
    QCOMPARE(questions.at(2).kind, QStringLiteral("url"));
    QCOMPARE(QUrl(questions.at(2).title).toLocalFile(), out.path());
    QCOMPARE(stackedPage(), int(ResultPage));
    QCOMPARE(PdfManagerGlobal::currentTargetFolderPath(), out.path());
    QCOMPARE(setting(QStringLiteral("PdfManager/exportPath")).toString(), out.path());

    // A cancelled picker starts nothing.
    ShellDialogs::enqueueAnswer(QString());
    click("exportButton");
    QVERIFY(form->findChildren<QThread *>().isEmpty());
    QCOMPARE(ShellDialogs::takeQuestions().size(), 1);
}

void TestPdfManagerForm::exportAgainAsksBeforeOverwriting()
{
    loadTen();
    togglePages({2, 5, 8});
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
    QCOMPARE(questions.at(2).text, completed);
    QCOMPARE(stackedPage(), int(ResultPage));

    // Cancel in the dialog writes nothing more and still reports completion.
    exportChecked(out.path(), {script([](QDialog *dialog) { clickButton(dialog, "cancelButton"); }), QMessageBox::Ok});
    QVERIFY(!QImageReader(eight).canRead());
    questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 3);
    QCOMPARE(questions.at(2).text, completed);
    QCOMPARE(stackedPage(), int(ResultPage));

    // Nothing ticked: back to the pages without a message.
    togglePages({2, 5});
    exportChecked(out.path(), {script([](QDialog *dialog) {
                      dialog->findChild<QTreeWidget *>()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
                      clickButton(dialog, "overwriteButton");
                  })});
    QCOMPARE(ShellDialogs::takeQuestions().size(), 2); // folder and dialog, no message
    QCOMPARE(stackedPage(), int(ResultPage));
    QVERIFY(child("loadButton")->isVisible());
    QVERIFY(child("exportButton")->isEnabled());
    QVERIFY(!QImageReader(eight).canRead());
    QTRY_VERIFY(form->findChildren<QDialog *>().isEmpty());
}

void TestPdfManagerForm::exportReportsPagesThatCannotBeWritten()
{
    loadTen();
    togglePages({1, 2});
    QTemporaryDir out;
    // A folder in the way of page 1's file: listed as existing, then not replaceable.
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("1.jpg")));
    exportChecked(out.path(),
                  {script([](QDialog *dialog) { clickButton(dialog, "overwriteButton"); }), QMessageBox::Ok});

    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 3);
    const QString text = questions.at(2).text;
    QVERIFY2(text.startsWith(completed + QStringLiteral("\n\n1 page could not be written:\n"
                                                        "Page 1 could not be saved as ")),
             qPrintable(text));
    QVERIFY(text.contains(QDir::toNativeSeparators(out.filePath(QStringLiteral("1.jpg")))));
    QVERIFY(QImageReader(out.filePath(QStringLiteral("2.jpg"))).canRead());

    // The next export starts with a clean report.
    togglePages({1, 2, 3});
    exportChecked(out.path(), {QMessageBox::Ok});
    QCOMPARE(ShellDialogs::takeQuestions().value(1).text, completed);
}

void TestPdfManagerForm::cancelDuringExportReturnsWithoutMessage()
{
    QTemporaryDir out;
    startLongExport(out.path());
    QTRY_VERIFY(child<QLabel>("progressLabel")->text().startsWith(QStringLiteral("Exporting page ")));
    const QString progress = child<QLabel>("progressLabel")->text();
    QVERIFY2(progress.endsWith(QStringLiteral(" of 30. Please wait...")), qPrintable(progress));
    QTest::mouseClick(child<QPushButton>("progressCancelButton"), Qt::LeftButton);
    waitForThreads();
    QCOMPARE(stackedPage(), int(ResultPage));
    QCOMPARE(ShellDialogs::takeQuestions().size(), 1);
    const int written = int(QDir(out.path()).entryList(QDir::Files).size());
    QVERIFY2(written >= 1 && written < 30, qPrintable(QString::number(written)));
    QVERIFY(child("exportButton")->isEnabled());
}

QTEST_MAIN(TestPdfManagerForm)
#include "tst_pdfmanagerform.moc"
