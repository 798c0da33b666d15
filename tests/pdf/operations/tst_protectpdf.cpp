#include "pdftestfiles.h"
#include "protectpdf.h"
#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <qpdf/Constants.h>

class TestProtectPdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void encryptsWithAes256_data();
    void encryptsWithAes256();
    void namesTheOutputWithoutReplacingFiles_data();
    void namesTheOutputWithoutReplacingFiles();
    void unreadableSourceWritesNothing();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_source;
};

void TestProtectPdf::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    m_source = path(QStringLiteral("source.pdf"));
    QVERIFY(PdfTestFiles::writeNumbered(m_source, 2));
}

void TestProtectPdf::encryptsWithAes256_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("sourcePassword");
    QTest::newRow("ascii") << "secret"
                           << "";
    QTest::newRow("non-ascii") << "pässwörd€"
                               << "";
    QTest::newRow("protected source") << "new one"
                                      << "ältere€";
}

void TestProtectPdf::encryptsWithAes256()
{
    QFETCH(QString, password);
    QFETCH(QString, sourcePassword);
    QString source = m_source;
    if (!sourcePassword.isEmpty()) {
        source = path(QStringLiteral("protected source.pdf"));
        QVERIFY(QFile::copy(m_source, source));
        PdfTestFiles::encrypt(source, sourcePassword);
    }
    const QString target = path(QStringLiteral("protected.pdf"));
    QFile::remove(target);
    const PdfError error = protectPdf({source, sourcePassword}, target, password).error;
    QVERIFY2(!error.failed(), qPrintable(error.message));

    const QString report = QString::fromUtf8(
        TestEnvironment::run(QStringLiteral("qpdf"),
                             {QStringLiteral("--show-encryption"), QStringLiteral("--password=") + password, target}));
    // Print low resolution, modify contents, copy, and the accessibility bit qpdf always sets.
    for (const char *line :
         {"R = 6", "P = -3364", "Supplied password is user password", "print low resolution: allowed",
          "print high resolution: not allowed", "extract for any purpose: allowed", "modify other: allowed",
          "modify annotations: not allowed", "modify forms: not allowed", "modify document assembly: not allowed",
          "file encryption method: AESv3"})
        QVERIFY2(report.contains(QLatin1String(line)), line);

    const QString image = path(QStringLiteral("page"));
    TestEnvironment::run(QStringLiteral("pdftoppm"), {QStringLiteral("-upw"), password, QStringLiteral("-r"),
                                                      QStringLiteral("10"), QStringLiteral("-png"), target, image});
    QVERIFY(QFileInfo::exists(image + QStringLiteral("-1.png")));
    QPdfDocument document;
    document.setPassword(password);
    document.load(target);
    QCOMPARE(document.status(), QPdfDocument::Status::Ready);
    QCOMPARE(document.pageCount(), 2);

    QProcess refused;
    refused.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), target, image});
    QVERIFY(refused.waitForFinished());
    QVERIFY(refused.exitCode() != 0);
}

void TestProtectPdf::namesTheOutputWithoutReplacingFiles_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");
    QTest::newRow("free") << "/in/report.pdf" << QStringList{} << "report.pdf";
    QTest::newRow("taken") << "/in/report.pdf" << QStringList{"report.pdf"} << "report(1).pdf";
    QTest::newRow("(1) taken too") << "/in/report.pdf" << QStringList{"report.pdf", "report(1).pdf"} << "report(2).pdf";
    QTest::newRow("gap") << "/in/report.pdf" << QStringList{"report.pdf", "report(1).pdf", "report(3).pdf"}
                         << "report(2).pdf";
    QTest::newRow("complete suffix") << "/in/a.b.pdf" << QStringList{} << "a.b.pdf";
    QTest::newRow("complete suffix taken") << "/in/a.b.pdf" << QStringList{"a.b.pdf"} << "a(1).b.pdf";
    QTest::newRow("capitals") << "/in/Scan.PDF" << QStringList{"Scan.PDF"} << "Scan(1).PDF";
    QTest::newRow("no suffix") << "/in/notes" << QStringList{"notes"} << "notes(1)";
}

void TestProtectPdf::namesTheOutputWithoutReplacingFiles()
{
    QFETCH(QString, source);
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);
    QTemporaryDir folder(path(QStringLiteral("names-XXXXXX")));
    for (const QString &name : existing) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(protectedOutputPath(folder.path(), source), folder.filePath(expected));
}

void TestProtectPdf::unreadableSourceWritesNothing()
{
    const QString source = path(QStringLiteral("text.pdf"));
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a PDF\n") > 0);
    file.close();
    const QString target = path(QStringLiteral("never.pdf"));
    const PdfError error = protectPdf({source, {}}, target, QStringLiteral("secret")).error;
    QCOMPARE(error.code, int(qpdf_e_damaged_pdf));
    QVERIFY(error.messageWithCode().startsWith(source));
    QVERIFY(error.messageWithCode().endsWith(QStringLiteral(" :5")));
    QVERIFY(!QFileInfo::exists(target));
}

QTEST_MAIN(TestProtectPdf)
#include "tst_protectpdf.moc"
