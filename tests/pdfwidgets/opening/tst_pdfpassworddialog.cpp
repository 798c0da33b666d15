#include "pdfpassworddialog.h"
#include "pdftestfiles.h"
#include "testenvironment.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestPdfPasswordDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void triesEachAnswer_data();
    void triesEachAnswer();

private:
    QTemporaryDir dir;
};

void TestPdfPasswordDialog::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(dir.isValid());
}

// Every answer is tried by the renderer; the dialog closes only on one that opens.
void TestPdfPasswordDialog::triesEachAnswer_data()
{
    QTest::addColumn<QStringList>("encryption");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    const QString password = QStringLiteral("pässwörd");
    QTest::newRow("R4, right") << QStringList{"128", "--use-aes=y"} << password << true;
    QTest::newRow("R4, wrong") << QStringList{"128", "--use-aes=y"} << "passwörd" << false;
    QTest::newRow("R6, right") << QStringList{"256"} << password << true;
    QTest::newRow("R6, other case") << QStringList{"256"} << "PÄSSWÖRD" << false;
}

void TestPdfPasswordDialog::triesEachAnswer()
{
    QFETCH(QStringList, encryption);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    const QString password = QStringLiteral("pässwörd");
    const QString file = dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
    QVERIFY(PdfTestFiles::writeNumbered(file, 2));
    PdfTestFiles::encrypt(file, password, encryption);
    PdfPasswordDialog dialog(file);
    dialog.findChild<QLineEdit *>(QStringLiteral("passwordLineEdit"))->setText(typed);
    dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    auto *note = dialog.findChild<QLabel *>(QStringLiteral("refusedLabel"));
    QCOMPARE(note->isVisibleTo(&dialog), !accepted);
    QVERIFY(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled());
}

QTEST_MAIN(TestPdfPasswordDialog)
#include "tst_pdfpassworddialog.moc"
