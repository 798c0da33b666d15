#include "pdfmanagercheckrangedialog.h"
#include "pdfmanageroverwritefiledialog.h"
#include "testenvironment.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

class TestPdfManagerDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rangeBoxesStopAtPageCount();
    void rangeBoxesKeepStartBeforeEnd();
    void rangeOkReportsAndDisposes();
    void rangeCancelReportsNothing();
    void overwriteTextFollowsFileCount_data();
    void overwriteTextFollowsFileCount();
    void overwriteReportsTickedPagesInRowOrder();
    void overwriteWithNothingTickedReportsNothing();
    void overwriteCancelFinishesExport();

private:
    static QStringList files(int count);
};

void TestPdfManagerDialogs::initTestCase()
{
    TestEnvironment::isolate();
}

QStringList TestPdfManagerDialogs::files(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("/out/%1.png").arg(i * 2 + 1);
    return names;
}

void TestPdfManagerDialogs::rangeBoxesStopAtPageCount()
{
    QWidget parent;
    auto *dialog = new PdfManagerCheckRangeDialog(&parent);
    dialog->setMaximum(12);
    auto *start = dialog->findChild<QSpinBox *>(QStringLiteral("startSpinBox"));
    auto *end = dialog->findChild<QSpinBox *>(QStringLiteral("endSpinBox"));
    QCOMPARE(start->value(), 1);
    QCOMPARE(end->value(), 1);
    start->setValue(40);
    end->setValue(40);
    QCOMPARE(start->value(), 12);
    QCOMPARE(end->value(), 12);
    start->setValue(0);
    QCOMPARE(start->value(), 1);
}

void TestPdfManagerDialogs::rangeBoxesKeepStartBeforeEnd()
{
    QWidget parent;
    auto *dialog = new PdfManagerCheckRangeDialog(&parent);
    dialog->setMaximum(12);
    auto *start = dialog->findChild<QSpinBox *>(QStringLiteral("startSpinBox"));
    auto *end = dialog->findChild<QSpinBox *>(QStringLiteral("endSpinBox"));
    end->setValue(5);
    start->setValue(8);
    QCOMPARE(end->value(), 8);
    end->setValue(3);
    QCOMPARE(start->value(), 3);
    QCOMPARE(end->value(), 3);

    // Typed in, too.
    start->selectAll();
    QTest::keyClicks(start, QStringLiteral("10"));
    QCOMPARE(start->value(), 10);
    QCOMPARE(end->value(), 10);
}

void TestPdfManagerDialogs::rangeOkReportsAndDisposes()
{
    QWidget parent;
    QPointer<PdfManagerCheckRangeDialog> dialog = new PdfManagerCheckRangeDialog(&parent);
    dialog->setMaximum(12);
    QSignalSpy spy(dialog.data(), &PdfManagerCheckRangeDialog::pageRangeChecked);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first(), QVariantList({1, 1}));
    QTRY_VERIFY(dialog.isNull());
}

void TestPdfManagerDialogs::rangeCancelReportsNothing()
{
    QWidget parent;
    QPointer<PdfManagerCheckRangeDialog> dialog = new PdfManagerCheckRangeDialog(&parent);
    QSignalSpy spy(dialog.data(), &PdfManagerCheckRangeDialog::pageRangeChecked);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cancelButton")), Qt::LeftButton);
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(spy.count(), 0);
}

void TestPdfManagerDialogs::overwriteTextFollowsFileCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("one") << 1 << "The following file already exist. Do you wish to overwrite it?";
    QTest::newRow("two") << 2 << "The following files already exist. Check all files that you wish to overwrite.";
}

void TestPdfManagerDialogs::overwriteTextFollowsFileCount()
{
    QFETCH(int, count);
    QFETCH(QString, text);
    QWidget parent;
    auto *dialog = new PdfManagerOverwriteFileDialog(&parent);
    dialog->fill(files(count), QList<int>({0, 2}).mid(0, count));
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("descLabel"))->text(), text);
    auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
    QCOMPARE(tree->topLevelItemCount(), count);
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("/out/1.png"));
    QCOMPARE(tree->topLevelItem(0)->checkState(0), Qt::Checked);
    QVERIFY(tree->isColumnHidden(1));
}

void TestPdfManagerDialogs::overwriteReportsTickedPagesInRowOrder()
{
    QWidget parent;
    QPointer<PdfManagerOverwriteFileDialog> dialog = new PdfManagerOverwriteFileDialog(&parent);
    dialog->fill(files(3), {4, 0, 9});
    auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
    tree->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    tree->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
    QSignalSpy overwrite(dialog.data(), &PdfManagerOverwriteFileDialog::overwriteFiles);
    QSignalSpy finish(dialog.data(), &PdfManagerOverwriteFileDialog::exporttFinish);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("overwriteButton")), Qt::LeftButton);
    QCOMPARE(overwrite.count(), 1);
    QCOMPARE(overwrite.first().first().value<QList<int>>(), QList<int>({0}));
    QCOMPARE(finish.count(), 0);
    QTRY_VERIFY(dialog.isNull());
}

void TestPdfManagerDialogs::overwriteWithNothingTickedReportsNothing()
{
    QWidget parent;
    QPointer<PdfManagerOverwriteFileDialog> dialog = new PdfManagerOverwriteFileDialog(&parent);
    dialog->fill(files(2), {0, 2});
    auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
    for (int row = 0; row < 2; ++row)
        tree->topLevelItem(row)->setCheckState(0, Qt::Unchecked);
    QSignalSpy overwrite(dialog.data(), &PdfManagerOverwriteFileDialog::overwriteFiles);
    QSignalSpy finish(dialog.data(), &PdfManagerOverwriteFileDialog::exporttFinish);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("overwriteButton")), Qt::LeftButton);
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(overwrite.count(), 0);
    QCOMPARE(finish.count(), 0);
}

void TestPdfManagerDialogs::overwriteCancelFinishesExport()
{
    QWidget parent;
    QPointer<PdfManagerOverwriteFileDialog> dialog = new PdfManagerOverwriteFileDialog(&parent);
    dialog->fill(files(2), {0, 2});
    QSignalSpy overwrite(dialog.data(), &PdfManagerOverwriteFileDialog::overwriteFiles);
    QSignalSpy finish(dialog.data(), &PdfManagerOverwriteFileDialog::exporttFinish);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cancelButton")), Qt::LeftButton);
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(finish.count(), 1);
    QCOMPARE(overwrite.count(), 0);
}

QTEST_MAIN(TestPdfManagerDialogs)
#include "tst_pdfmanagerdialogs.moc"
