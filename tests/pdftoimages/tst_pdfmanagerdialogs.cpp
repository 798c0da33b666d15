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
    void initTestCase() { TestEnvironment::isolate(); }
    void rangeBoxesStayWithinPagesAndInOrder();
    void rangeOkReportsCancelDoesNot();
    void overwriteTextFollowsFileCount();
    void overwriteButtons_data();
    void overwriteButtons();
};

namespace {

QPushButton *button(QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QLatin1String(name));
}

QStringList files(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("/out/%1.png").arg(i * 2 + 1);
    return names;
}

} // namespace

void TestPdfManagerDialogs::rangeBoxesStayWithinPagesAndInOrder()
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

void TestPdfManagerDialogs::rangeOkReportsCancelDoesNot()
{
    QWidget parent;
    for (const char *name : {"okButton", "cancelButton"}) {
        QPointer<PdfManagerCheckRangeDialog> dialog = new PdfManagerCheckRangeDialog(&parent);
        dialog->setMaximum(12);
        QSignalSpy spy(dialog.data(), &PdfManagerCheckRangeDialog::pageRangeChecked);
        QTest::mouseClick(button(dialog, name), Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
        const bool ok = qstrcmp(name, "okButton") == 0;
        QCOMPARE(spy.count(), ok ? 1 : 0);
        if (ok)
            QCOMPARE(spy.first(), QVariantList({1, 1}));
    }
}

void TestPdfManagerDialogs::overwriteTextFollowsFileCount()
{
    QWidget parent;
    for (int count : {1, 2}) {
        auto *dialog = new PdfManagerOverwriteFileDialog(&parent);
        dialog->fill(files(count), QList<int>({0, 2}).mid(0, count));
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("descLabel"))->text(),
                 count == 1 ? QStringLiteral("The following file already exist. Do you wish to overwrite it?")
                            : QStringLiteral("The following files already exist. Check all files that you wish to "
                                             "overwrite."));
        auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
        QCOMPARE(tree->topLevelItemCount(), count);
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("/out/1.png"));
        QCOMPARE(tree->topLevelItem(0)->checkState(0), Qt::Checked);
        QVERIFY(tree->isColumnHidden(1));
    }
}

void TestPdfManagerDialogs::overwriteButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("unticked");
    QTest::addColumn<int>("overwrites");
    QTest::addColumn<int>("finishes");
    // Ticked pages are reported in row order; nothing ticked reports nothing.
    QTest::newRow("overwrite one") << "overwriteButton" << QList<int>{0, 2} << 1 << 0;
    QTest::newRow("overwrite none") << "overwriteButton" << QList<int>{0, 1, 2} << 0 << 0;
    QTest::newRow("cancel") << "cancelButton" << QList<int>{} << 0 << 1;
    // Without its buttons the dialog only goes; the form decides what follows.
    QTest::newRow("Esc") << "Esc" << QList<int>{} << 0 << 0;
    QTest::newRow("close box") << "close box" << QList<int>{} << 0 << 0;
}

void TestPdfManagerDialogs::overwriteButtons()
{
    QFETCH(QString, button);
    QFETCH(QList<int>, unticked);
    QFETCH(int, overwrites);
    QFETCH(int, finishes);
    QWidget parent;
    QPointer<PdfManagerOverwriteFileDialog> dialog = new PdfManagerOverwriteFileDialog(&parent);
    dialog->fill(files(3), {4, 0, 9});
    auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
    for (int row : unticked)
        tree->topLevelItem(row)->setCheckState(0, Qt::Unchecked);
    QSignalSpy overwrite(dialog.data(), &PdfManagerOverwriteFileDialog::overwriteFiles);
    QSignalSpy finish(dialog.data(), &PdfManagerOverwriteFileDialog::exporttFinish);
    // What the answer leads to (a completion message, another pass) happens
    // with the dialog already off the screen.
    dialog->show();
    bool visibleOnAnswer = false;
    const auto recordVisibility = [&] { visibleOnAnswer = dialog->isVisible(); };
    connect(dialog.data(), &PdfManagerOverwriteFileDialog::overwriteFiles, this, recordVisibility);
    connect(dialog.data(), &PdfManagerOverwriteFileDialog::exporttFinish, this, recordVisibility);
    if (button == QLatin1String("Esc"))
        QTest::keyClick(dialog, Qt::Key_Escape);
    else if (button == QLatin1String("close box"))
        dialog->close();
    else
        QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
    QVERIFY(!visibleOnAnswer);
    QVERIFY(!dialog || !dialog->isVisible());
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(overwrite.count(), overwrites);
    if (overwrites)
        QCOMPARE(overwrite.first().first().value<QList<int>>(), QList<int>({0}));
    QCOMPARE(finish.count(), finishes);
}

QTEST_MAIN(TestPdfManagerDialogs)
#include "tst_pdfmanagerdialogs.moc"
