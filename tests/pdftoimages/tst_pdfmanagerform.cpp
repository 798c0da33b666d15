#include "cocoacode.h"
#include "colorscheme.h"
#include "iconimages.h"
#include "kivglobal.h"
#include "pdfmanageraddpagethread.h"
#include "pdfmanagerexportpagethread.h"
#include "pdfmanagerform.h"
#include "pdfmanagerglobal.h"
#include "pdftestfiles.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "testenvironment.h"
#include "testpdf.h"
#include "thumbnailstore.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using IconImages::fileImage;
using IconImages::iconImage;

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

QImage wholeImage(const QIcon &icon)
{
    return icon.pixmap(icon.availableSizes().value(0)).toImage();
}

int checkedRows(const QStandardItemModel *model)
{
    int count = 0;
    for (int row = 0; row < model->rowCount(); ++row)
        count += model->item(row)->checkState() == Qt::Checked ? 1 : 0;
    return count;
}

} // namespace

class TestPdfManagerForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnDropAreaAndReadsSettingsBack();
    void themeSwapsButtonIcons_data();
    void themeSwapsButtonIcons();
    void languageChangeKeepsTheChoices();
    void everyControlHasAnAccessibleName();
    void tabLeavesTheCheckedStrip_data();
    void tabLeavesTheCheckedStrip();
    void pageListShowsFocus();
    void openStartsInLoadFolderOrDocuments();
    void dropLeavesTheLoadFolder();
    void dropLoadsFirstPdfAndReplacesRows();
    void formIsBusyFromTheMomentALoadIsAsked();
    void cancelOrNewDropDuringLoad();
    void protectedPdfAsksForItsPassword();
    void closingDuringLoadOrExportStopsTheThreads();
    void loopingPdfFreezesNothing();
    void checkedStripFollowsPageOrder();
    void clickOnCheckBoxChecksThePage();
    void longListKeepsItsPlace_data();
    void longListKeepsItsPlace();
    void uncheckingTheSelectedStripPageKeepsTheSelection();
    void pageRangeKeepsEarlierChecks();
    void exportNeedsACheckedListedPage_data();
    void exportNeedsACheckedListedPage();
    void selectionAndPreviewFollowTheCurrentPage();
    void splitterMovesRedrawThePreviewOnce();
    void previewReleasesTheFileAndFollowsChanges();
    void exportFolderStartsInPicturesThenTheLastFolder();
    void outputFormatChangedWhilePickingIsNotStored();
    void exportWritesFilesAndOffersFolder();
    void exportAgainAsksBeforeOverwriting();
    void exportReportsPagesThatCannotBeWritten();
    void firstPassFailuresAreReportedWhateverTheAnswer_data();
    void firstPassFailuresAreReportedWhateverTheAnswer();
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
    QString writeBrokenPdf();
    void activate();
    QPoint checkBoxCentre(int row) const;
    void loadAndCancel();
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
    overrideColorScheme(std::nullopt);
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

QString TestPdfManagerForm::writeBrokenPdf()
{
    const QString path = temp.filePath(QStringLiteral("broken.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("%PDF-1.4\nnothing else\n") < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestPdfManagerForm::activate()
{
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
}

// Where a page's check box is drawn, as the item delegate lays it out.
QPoint TestPdfManagerForm::checkBoxCentre(int row) const
{
    auto *list = child<QListView>("listView");
    const QModelIndex index = pages()->index(row, 0);
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualRect(index);
    option.decorationPosition = QStyleOptionViewItem::Top;
    option.decorationAlignment = Qt::AlignCenter;
    option.displayAlignment = Qt::AlignCenter;
    option.decorationSize = list->iconSize();
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay |
                      QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::WrapText;
    option.text = index.data().toString();
    option.icon = index.data(Qt::DecorationRole).value<QIcon>();
    option.checkState = index.data(Qt::CheckStateRole).value<Qt::CheckState>();
    return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list).center();
}

// Cancels a long load once a few pages are listed.
void TestPdfManagerForm::loadAndCancel()
{
    drop(writePdf(QStringLiteral("long.pdf"), 800));
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 2);
    QTest::mouseClick(child<QPushButton>("progressCancelButton"), Qt::LeftButton);
    waitForThreads();
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
    QVERIFY(QDir().mkpath(ShellHelpers::documentsFolder()));
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

    // A drop onto the page list replaces the document, and its pictures.
    dropOn(child<QListView>("listView")->viewport(), writePdf(QStringLiteral("second.pdf"), 5));
    waitForThreads();
    QCOMPARE(pages()->rowCount(), 5);
    QCOMPARE(form->findChild<ThumbnailStore *>()->count(), 5);

    // An unreadable file is named with its reason; the drop area comes back.
    ShellDialogs::takeQuestions();
    ShellDialogs::enqueueAnswer(int(QMessageBox::Ok));
    drop(writeBrokenPdf());
    waitForThreads();
    QCOMPARE(pages()->rowCount(), 0);
    QCOMPARE(stackedPage(), int(SourcePage));
    QVERIFY(child("loadButton")->isEnabled());
    const QList<ShellDialogs::Question> questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions.first().text,
             QStringLiteral("\"broken.pdf\" cannot be opened: the file is damaged and cannot be repaired."));
}

void TestPdfManagerForm::protectedPdfAsksForItsPassword()
{
    const QString locked = temp.filePath(QStringLiteral("locked.pdf"));
    QVERIFY(QFile::copy(writePdf(QStringLiteral("three.pdf"), 3), locked));
    PdfTestFiles::encrypt(locked, QStringLiteral("secret"));
    ShellDialogs::takeQuestions();

    ShellDialogs::enqueueDialogScript([](QDialog *dialog) { dialog->reject(); });
    drop(locked);
    waitForThreads();
    QCOMPARE(pages()->rowCount(), 0);
    QCOMPARE(stackedPage(), int(SourcePage));

    bool named = false;
    bool refusedShown = false;
    ShellDialogs::enqueueDialogScript([&](QDialog *dialog) {
        named = dialog->findChild<QLabel *>(QStringLiteral("messageLabel"))->text().contains(u"\"locked.pdf\"");
        auto *password = dialog->findChild<QLineEdit *>(QStringLiteral("passwordLineEdit"));
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        auto *open = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        password->setText(QStringLiteral("Secret"));
        open->click();
        refusedShown = dialog->result() == QDialog::Rejected &&
                       !dialog->findChild<QLabel *>(QStringLiteral("refusedLabel"))->isHidden();
        password->setText(QStringLiteral("secret"));
        open->click();
    });
    drop(locked);
    waitForThreads();
    QVERIFY(named);
    QVERIFY(refusedShown);
    QCOMPARE(pages()->rowCount(), 3);
    QCOMPARE(stackedPage(), int(ResultPage));
    QCOMPARE(ShellDialogs::takeQuestions().size(), 2);

    // Preview and export open it with the same password.
    child<QListView>("listView")->setCurrentIndex(pages()->index(1, 0));
    QTRY_VERIFY(!child<QLabel>("previewImage")->pixmap().isNull());
    togglePages({2});
    QTemporaryDir out(temp.filePath(QStringLiteral("locked pages XXXXXX")));
    exportChecked(out.path(), {int(QMessageBox::Ok)});
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList({"2.jpg"}));
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

void TestPdfManagerForm::closingDuringLoadOrExportStopsTheThreads()
{
    // Both jobs take many seconds in full (the load some ten, the export more);
    // closing asks them to stop instead of waiting for them. The time bounds
    // are only sanity limits; what was written shows that the export stopped.
    QElapsedTimer clock;
    drop(writePdf(QStringLiteral("long.pdf"), 800));
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 1);
    clock.start();
    delete form;
    form = nullptr;
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));

    createForm();
    QTemporaryDir out;
    startLongExport(out.path());
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 1);
    clock.start();
    delete form;
    form = nullptr;
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
    const qsizetype written = QDir(out.path()).entryList(QDir::Files).size();
    QVERIFY2(written < 15, qPrintable(QString::number(written)));
    QCOMPARE(ShellDialogs::takeQuestions().size(), 1); // the folder, no completion message
}

void TestPdfManagerForm::loopingPdfFreezesNothing()
{
    const QString looping = temp.filePath(QStringLiteral("looping.pdf"));
    QVERIFY(TestPdf::writeLoopingPageTree(looping));
    drop(looping);
    loadTen();
    QCOMPARE(pages()->rowCount(), 10);

    // Its load never ends; closing does not wait for it (the engine gives up far later).
    drop(looping);
    QTest::qWait(200);
    QElapsedTimer clock;
    clock.start();
    delete form;
    form = nullptr;
    QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
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
    // The strip shows each page's own picture.
    const QAbstractItemModel *stripModel = child<QTableView>("checkedView")->model();
    for (int column = 0; column < 3; ++column) {
        const int row = stripModel->index(0, column).data().toInt() - 1;
        QCOMPARE(wholeImage(stripModel->index(0, column).data(Qt::DecorationRole).value<QIcon>()),
                 wholeImage(pages()->item(row)->icon()));
    }
    QVERIFY(wholeImage(pages()->item(1)->icon()) != wholeImage(pages()->item(4)->icon()));

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
    QTRY_VERIFY(!label->pixmap().isNull());
    const QPixmap shown = label->pixmap();
    const QSize box = label->contentsRect().size();
    const QSize logical = shown.deviceIndependentSize().toSize();
    QVERIFY(logical.width() == box.width() || logical.height() == box.height());
    QVERIFY(qAbs(logical.width() * 842.0 / logical.height() - 595) < 8);
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
    // Once the first page is done, at least one file is whole.
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 1);
    QTest::mouseClick(child<QPushButton>("progressCancelButton"), Qt::LeftButton);
    waitForThreads();
    QCOMPARE(stackedPage(), int(ResultPage));
    QCOMPARE(ShellDialogs::takeQuestions().size(), 1);
    const int written = int(QDir(out.path()).entryList(QDir::Files).size());
    QVERIFY2(written >= 1 && written < 30, qPrintable(QString::number(written)));
    QVERIFY(child("exportButton")->isEnabled());
}

void TestPdfManagerForm::themeSwapsButtonIcons_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("icon");
    // At start only Open is enabled; the others show their disabled variant.
    QTest::newRow("light open") << false << "loadButton"
                                << "_load_extractIcon.png";
    QTest::newRow("dark open") << true << "loadButton"
                               << "_load_extractIconWhite.png";
    QTest::newRow("light export") << false << "exportButton"
                                  << "_export_extractIconGray.png";
    QTest::newRow("dark check all") << true << "checkAllButton"
                                    << "_IconYesGray24.png";
    QTest::newRow("dark uncheck all") << true << "uncheckAllButton"
                                      << "_IconNoGray24.png";
    QTest::newRow("dark range") << true << "pageRangeButton"
                                << "_IconRangeGray24.png";
}

void TestPdfManagerForm::themeSwapsButtonIcons()
{
    QFETCH(bool, dark);
    QFETCH(QString, button);
    QFETCH(QString, icon);
    overrideColorScheme(dark ? ColorScheme::Dark : ColorScheme::Light);
    form->refreshTheme();
    QCOMPARE(iconImage(child(qPrintable(button))->icon()),
             iconImage(QIcon(QStringLiteral(":/resources/images/") + icon)));
    QCOMPARE(child<QLabel>("sourceImageLabel")->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             fileImage(dark ? QStringLiteral("_PDFWhite128.png") : QStringLiteral("_PDF128.png")));
}

void TestPdfManagerForm::languageChangeKeepsTheChoices()
{
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(form, &change);
    QCOMPARE(child<QComboBox>("outputComboBox")->count(), 3);
    QCOMPARE(child<QComboBox>("scaleComboBox")->count(), 5);
    QCOMPARE(child<QComboBox>("scaleComboBox")->itemText(4), QStringLiteral("500%"));
    QCOMPARE(child<QLabel>("sourceLabel")->text(), QStringLiteral("Drop PDF File here"));
}

void TestPdfManagerForm::everyControlHasAnAccessibleName()
{
    loadTen();
    togglePages({2});
    // What a screen reader announces: every control that takes focus, and the
    // pictures that stand for something.
    QList<QWidget *> named = {child<QWidget>("previewImage"), child<QWidget>("sourceImageLabel")};
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
            named.append(widget);
    }
    for (QWidget *widget : std::as_const(named)) {
        const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
    }
}

void TestPdfManagerForm::tabLeavesTheCheckedStrip_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Tab") << Qt::KeyboardModifiers();
    QTest::newRow("Shift+Tab") << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void TestPdfManagerForm::tabLeavesTheCheckedStrip()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    loadTen();
    togglePages({2, 4});
    activate();
    auto *stripView = child<QTableView>("checkedView");
    stripView->setFocus();
    QVERIFY(stripView->hasFocus());
    QTest::keyClick(stripView, Qt::Key_Tab, modifiers);
    QVERIFY(!stripView->hasFocus());
    QVERIFY(form->isAncestorOf(QApplication::focusWidget()));
}

void TestPdfManagerForm::pageListShowsFocus()
{
    loadTen();
    activate();
    auto *list = child<QListView>("listView");
    child<QComboBox>("scaleComboBox")->setFocus();
    const QImage unfocused = list->grab().toImage();
    list->setFocus();
    QVERIFY(list->hasFocus());
    // The frame, away from any page, marks the focus.
    const QImage focused = list->grab().toImage();
    const QPoint frame(list->width() / 2, list->height() - 1);
    QVERIFY(focused.pixel(frame) != unfocused.pixel(frame));
}

void TestPdfManagerForm::dropLeavesTheLoadFolder()
{
    ShellDialogs::enqueueAnswer(QString());
    click("loadButton");
    const QString before = ShellDialogs::takeQuestions().value(0).text;
    QVERIFY(QDir().mkpath(temp.filePath(QStringLiteral("elsewhere"))));
    drop(writePdf(QStringLiteral("elsewhere/dropped.pdf"), 2));
    waitForThreads();
    ShellDialogs::enqueueAnswer(QString());
    click("loadButton");
    QCOMPARE(ShellDialogs::takeQuestions().value(0).text, before);
    QVERIFY(!setting(QStringLiteral("PdfManager/loadPath")).isValid());
}

void TestPdfManagerForm::formIsBusyFromTheMomentALoadIsAsked()
{
    loadTen();
    togglePages({2, 3});
    // No event is processed between the drop and these checks: the document
    // is still being opened on the loading thread.
    drop(writePdf(QStringLiteral("long.pdf"), 800));
    for (const char *name : {"loadButton", "exportButton", "checkAllButton", "uncheckAllButton", "pageRangeButton"})
        QVERIFY2(!child(name)->isEnabled(), name);
    QVERIFY(strip().isEmpty());
    QVERIFY(child<QTabWidget>("checkedTabWidget")->isHidden());
    QCOMPARE(stackedPage(), int(ProgressPage));

    // Cancel works before the first page arrives, too.
    QTest::mouseClick(child<QPushButton>("progressCancelButton"), Qt::LeftButton);
    waitForThreads();
    QCOMPARE(stackedPage(), int(SourcePage));
    QVERIFY(child("loadButton")->isEnabled());
    QVERIFY(!child("exportButton")->isEnabled());
}

void TestPdfManagerForm::clickOnCheckBoxChecksThePage()
{
    loadTen();
    auto *list = child<QListView>("listView");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxCentre(3));
    QCOMPARE(pages()->item(3)->checkState(), Qt::Checked);
    QCOMPARE(strip(), QStringList({"4"}));
    QVERIFY(child("exportButton")->isEnabled());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxCentre(3));
    QCOMPARE(pages()->item(3)->checkState(), Qt::Unchecked);
    QVERIFY(strip().isEmpty());
    QVERIFY(!child("exportButton")->isEnabled());
}

void TestPdfManagerForm::longListKeepsItsPlace_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("click on a page") << "page";
    QTest::newRow("click on its check box") << "check box";
    QTest::newRow("check all") << "check all";
}

// The list lays its rows out in batches: anything that lays it out again
// from the top would drop the user back near the first rows.
void TestPdfManagerForm::longListKeepsItsPlace()
{
    QFETCH(QString, action);
    drop(writePdf(QStringLiteral("long.pdf"), 700));
    waitForThreads();
    auto *list = child<QListView>("listView");
    const QModelIndex last = pages()->index(699, 0);
    const auto lastShown = [&] { return list->viewport()->rect().intersects(list->visualRect(last)); };
    QTRY_VERIFY([&] {
        list->scrollTo(last);
        return lastShown();
    }());
    if (action == QLatin1String("page"))
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(last).center());
    else if (action == QLatin1String("check box"))
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxCentre(699));
    else
        QTest::mouseClick(child("checkAllButton"), Qt::LeftButton);
    QTest::qWait(300);
    QVERIFY(lastShown());
    QVERIFY(child("exportButton")->isEnabled() || action == QLatin1String("page"));
}

void TestPdfManagerForm::uncheckingTheSelectedStripPageKeepsTheSelection()
{
    loadTen();
    togglePages({3, 5, 7});
    auto *list = child<QListView>("listView");
    auto *stripView = child<QTableView>("checkedView");
    const QRect cell = stripView->visualRect(stripView->model()->index(0, 1));
    QTest::mouseClick(stripView->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(list->selectionModel()->selectedIndexes().value(0).row(), 4);
    const qint64 preview = child<QLabel>("previewImage")->pixmap().cacheKey();

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxCentre(4));
    QCOMPARE(strip(), QStringList({"3", "7"}));
    QCOMPARE(list->selectionModel()->selectedIndexes().value(0).row(), 4);
    QCOMPARE(child<QLabel>("previewImage")->pixmap().cacheKey(), preview);
}

void TestPdfManagerForm::exportNeedsACheckedListedPage_data()
{
    QTest::addColumn<bool>("cancelled"); // else the document does not load
    QTest::addColumn<QString>("button");
    QTest::newRow("check all, nothing listed") << false << "checkAllButton";
    QTest::newRow("range, nothing listed") << false << "pageRangeButton";
    QTest::newRow("range, load cancelled") << true << "pageRangeButton";
}

void TestPdfManagerForm::exportNeedsACheckedListedPage()
{
    QFETCH(bool, cancelled);
    QFETCH(QString, button);
    if (cancelled) {
        loadAndCancel();
    } else {
        ShellDialogs::enqueueAnswer(int(QMessageBox::Ok));
        drop(writeBrokenPdf());
        waitForThreads();
    }
    const int listed = pages()->rowCount();
    int offered = 0;
    ShellDialogs::enqueueDialogScript([&offered](QDialog *dialog) {
        auto *end = dialog->findChild<QSpinBox *>(QStringLiteral("endSpinBox"));
        offered = end->maximum();
        end->setValue(end->maximum());
        clickButton(dialog, "okButton");
    });
    child(qPrintable(button))->click();
    QVERIFY2(offered <= listed, qPrintable(QStringLiteral("%1 of %2").arg(offered).arg(listed)));
    const int checked = checkedRows(pages());
    QCOMPARE(child("exportButton")->isEnabled(), checked > 0);
    QCOMPARE(int(strip().size()), checked);
    QCOMPARE(child<QTabWidget>("checkedTabWidget")->isHidden(), checked == 0);
}

void TestPdfManagerForm::splitterMovesRedrawThePreviewOnce()
{
    loadTen();
    child<QListView>("listView")->setCurrentIndex(pages()->index(2, 0));
    auto *label = child<QLabel>("previewImage");
    auto *timer = form->findChild<QTimer *>(QStringLiteral("previewTimer"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 100);
    QTRY_VERIFY(!label->pixmap().isNull());
    const qint64 shown = label->pixmap().cacheKey();

    // The timer's ticks are driven here, so no wall-clock scheduling is involved.
    const auto moveSplitter = [this] {
        QMetaObject::invokeMethod(child<QSplitter>("splitter"), "splitterMoved", Q_ARG(int, 400), Q_ARG(int, 1));
    };
    const auto tick = [this] { QMetaObject::invokeMethod(form, "updateTimer"); };
    moveSplitter();
    QVERIFY(timer->isActive());
    for (int ticks = 0; ticks < 3; ++ticks)
        tick();
    moveSplitter(); // later moves of a burst do not restart the count
    tick();
    tick();
    QCOMPARE(label->pixmap().cacheKey(), shown);
    tick();
    QVERIFY(!timer->isActive());
    QTRY_VERIFY(label->pixmap().cacheKey() != shown);
}

void TestPdfManagerForm::previewReleasesTheFileAndFollowsChanges()
{
    if (!QFileInfo(QStringLiteral("/proc/self/fd")).isDir())
        QSKIP("needs /proc to see open files");
    const QString path = temp.filePath(QStringLiteral("replaced.pdf"));
    QVERIFY(TestPdf::writeA4(path, 3));
    drop(path);
    waitForThreads();
    auto *list = child<QListView>("listView");
    auto *label = child<QLabel>("previewImage");
    auto *release = form->findChild<QTimer *>(QStringLiteral("previewReleaseTimer"));
    QVERIFY(release);
    release->setInterval(3600 * 1000);
    list->setCurrentIndex(pages()->index(0, 0));
    QTRY_VERIFY(!label->pixmap().isNull());
    const QImage before = label->pixmap().toImage();
    QVERIFY(TestEnvironment::fileIsOpen(path));
    QVERIFY(release->isActive());

    // Replaced on disk: the next redraw shows the new file.
    const QString other = temp.filePath(QStringLiteral("other.pdf"));
    QVERIFY(TestPdf::write(other, {TestPdf::a4Landscape, TestPdf::a4Landscape, TestPdf::a4Landscape}));
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::rename(other, path));
    list->setCurrentIndex(pages()->index(1, 0));
    list->setCurrentIndex(pages()->index(0, 0));
    QTRY_VERIFY(label->pixmap().toImage() != before);

    // Idle: the file is let go, and opened again when a page is shown.
    release->setInterval(0);
    QTRY_VERIFY(!TestEnvironment::fileIsOpen(path));
    // Long again, or the file could be let go before the poll sees it open.
    release->setInterval(3600 * 1000);
    list->setCurrentIndex(pages()->index(2, 0));
    QTRY_VERIFY(TestEnvironment::fileIsOpen(path));
    QVERIFY(!label->pixmap().isNull());

    // Now one page short: the page is not shown from the old file.
    QVERIFY(TestPdf::writeA4(other, 2));
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::rename(other, path));
    list->setCurrentIndex(pages()->index(1, 0));
    list->setCurrentIndex(pages()->index(2, 0));
    QTRY_VERIFY(label->pixmap().isNull());
    QCOMPARE(label->text(), QStringLiteral("Preview"));
}

void TestPdfManagerForm::exportFolderStartsInPicturesThenTheLastFolder()
{
    QVERIFY(QDir().mkpath(ShellHelpers::picturesFolder()));
    createForm();
    loadTen();
    togglePages({1});
    QTemporaryDir out;
    exportChecked(out.path(), {QMessageBox::Ok});
    ShellDialogs::enqueueAnswer(QString());
    click("exportButton");
    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.first().kind, QStringLiteral("folder"));
    QCOMPARE(questions.first().text, ShellHelpers::picturesFolder());
    QCOMPARE(questions.last().text, out.path());
}

void TestPdfManagerForm::firstPassFailuresAreReportedWhateverTheAnswer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("nothing ticked") << "untick";
    QTest::newRow("window closed") << "close";
    QTest::newRow("cancel") << "cancel";
}

void TestPdfManagerForm::firstPassFailuresAreReportedWhateverTheAnswer()
{
    QFETCH(QString, answer);
    const QString path = temp.filePath(QStringLiteral("vanishing.pdf"));
    QFile::remove(path);
    QVERIFY(TestPdf::writeA4(path, 3));
    drop(path);
    waitForThreads();
    togglePages({1, 2});
    QTemporaryDir out;
    QFile existing(out.filePath(QStringLiteral("2.jpg")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    // Gone before the export: page 1 cannot be written, page 2's file exists.
    QVERIFY(QFile::remove(path));
    exportChecked(out.path(),
                  {script([answer](QDialog *dialog) {
                       if (answer == QLatin1String("untick")) {
                           dialog->findChild<QTreeWidget *>()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
                           clickButton(dialog, "overwriteButton");
                       } else if (answer == QLatin1String("cancel")) {
                           clickButton(dialog, "cancelButton");
                       } else {
                           dialog->reject();
                       }
                   }),
                   QMessageBox::Ok});
    const auto questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 3);
    QCOMPARE(questions.at(2).kind, QStringLiteral("message"));
    QVERIFY2(questions.at(2).text.contains(QStringLiteral("1 page could not be written:\nPage 1 ")),
             qPrintable(questions.at(2).text));
    QCOMPARE(stackedPage(), int(ResultPage));
}

QTEST_MAIN(TestPdfManagerForm)
#include "tst_pdfmanagerform.moc"
