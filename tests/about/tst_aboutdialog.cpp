#include "aboutdialog.h"
#include "testenvironment.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestAboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void showsProductAndSite()
    {
        QWidget host;
        auto *dialog = new AboutDialog(&host);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("About"));
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("label"))->text(), QStringLiteral("Folioforge"));
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("versionLabel"))->text(), QStringLiteral("Version: 1.3.0"));
        QVERIFY(!dialog->findChild<QLabel *>(QStringLiteral("label_4"))->pixmap().isNull());
        QVERIFY(dialog->width() >= 534 && dialog->height() >= 343);

        auto *web = dialog->findChild<QLabel *>(QStringLiteral("webLabel"));
        QCOMPARE(web->textFormat(), Qt::RichText);
        QCOMPARE(web->text(), QStringLiteral("<a href=\"http://www.corvane.com\">www.corvane.com</a>"));
        QVERIFY(web->openExternalLinks());
        QVERIFY(web->textInteractionFlags().testFlag(Qt::LinksAccessibleByKeyboard));
        QVERIFY(web->focusPolicy() & Qt::TabFocus);
    }

    void closeButtonEndsRunAndReleases()
    {
        QWidget host;
        QPointer<AboutDialog> dialog = new AboutDialog(&host);
        QTimer::singleShot(0, dialog, [&] {
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("closeButton")), Qt::LeftButton);
        });
        QCOMPARE(dialog->exec(), int(QDialog::Rejected));
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
