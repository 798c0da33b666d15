#include "pdferror.h"
#include "pdfsource.h"
#include "pdftestfiles.h"
#include "pdfwrite.h"
#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <qpdf/Constants.h>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFWriter.hh>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

class TestPdfSource : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void opensDamagedFiles_data();
    void opensDamagedFiles();
    void reportsUnreadableFiles_data();
    void reportsUnreadableFiles();
    void acceptsNonAsciiPasswords_data();
    void acceptsNonAsciiPasswords();
    void failedWriteKeepsTheExistingFile();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString writeFile(const QString &name, const QByteArray &contents) const;

    QTemporaryDir m_dir;
    QByteArray m_threePages;
};

QString TestPdfSource::writeFile(const QString &name, const QByteArray &contents) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return {};
    return file.fileName();
}

void TestPdfSource::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    QVERIFY(PdfTestFiles::writeNumbered(path(QStringLiteral("three.pdf")), 3));
    m_threePages = PdfTestFiles::contents(path(QStringLiteral("three.pdf")));
}

void TestPdfSource::opensDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("contents");
    QByteArray shifted = m_threePages;
    shifted.insert(shifted.indexOf('\n') + 1, "\n\n\n\n\n\n\n\n");
    QByteArray wrongStart = m_threePages;
    const qsizetype start = wrongStart.lastIndexOf("startxref\n") + 10;
    wrongStart.replace(start, wrongStart.indexOf('\n', start) - start, "123");
    QByteArray noEnd = m_threePages;
    noEnd.truncate(noEnd.lastIndexOf("%%EOF"));
    QTest::newRow("shifted xref") << shifted;
    QTest::newRow("wrong startxref") << wrongStart;
    QTest::newRow("missing %%EOF") << noEnd;
    QTest::newRow("junk before %PDF") << QByteArray("Received: by mail\r\n\r\n" + m_threePages);
}

void TestPdfSource::opensDamagedFiles()
{
    QFETCH(QByteArray, contents);
    const QString file = writeFile(QStringLiteral("damaged.pdf"), contents);
    try {
        const std::shared_ptr<PdfSource> source = PdfSource::open({file, {}});
        QCOMPARE(source->pageCount(), 3);
    } catch (...) {
        QFAIL(qPrintable(currentPdfError().message));
    }
}

void TestPdfSource::reportsUnreadableFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("code");
    const QString folder = path(QStringLiteral("folder.pdf"));
    QDir().mkpath(folder);
    const QString encrypted = writeFile(QStringLiteral("encrypted.pdf"), m_threePages);
    PdfTestFiles::encrypt(encrypted, QStringLiteral("secret"));
    QPDF empty;
    empty.emptyPDF();
    const QString noPages = path(QStringLiteral("no pages.pdf"));
    QPDFWriter(empty, QFile::encodeName(noPages).constData()).write();

    QTest::newRow("empty file") << writeFile(QStringLiteral("empty.pdf"), {}) << "" << int(qpdf_e_damaged_pdf);
    QTest::newRow("not a PDF") << writeFile(QStringLiteral("text.pdf"), "Just some text.\n") << ""
                               << int(qpdf_e_damaged_pdf);
    QTest::newRow("cut short") << writeFile(QStringLiteral("cut.pdf"), m_threePages.left(400)) << ""
                               << int(qpdf_e_damaged_pdf);
    QTest::newRow("no pages") << noPages << "" << int(qpdf_e_pages);
    QTest::newRow("folder") << folder << "" << EISDIR;
    QTest::newRow("missing") << path(QStringLiteral("missing.pdf")) << "" << ENOENT;
    const QString fifo = path(QStringLiteral("pipe.pdf"));
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QTest::newRow("named pipe") << fifo << "" << int(qpdf_e_system);
    QTest::newRow("device") << QStringLiteral("/dev/zero") << "" << int(qpdf_e_system);
    QTest::newRow("password needed") << encrypted << "" << int(qpdf_e_password);
    QTest::newRow("wrong password") << encrypted << "Secret" << int(qpdf_e_password);
}

void TestPdfSource::reportsUnreadableFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, password);
    QFETCH(int, code);
    try {
        PdfSource::open({file, password});
        QFAIL("opened");
    } catch (...) {
        const PdfError error = currentPdfError();
        QVERIFY2(error.message.contains(file), qPrintable(error.message));
        QCOMPARE(error.code, code);
    }
}

// Revisions 2 to 4 take the password in PDFDocEncoding, revision 6 in UTF-8.
void TestPdfSource::acceptsNonAsciiPasswords_data()
{
    QTest::addColumn<QStringList>("keyOptions");
    QTest::addColumn<QString>("password");
    const QString accented = QStringLiteral("pässwörd");
    QTest::newRow("R2, 40-bit RC4") << QStringList{"40"} << accented;
    QTest::newRow("R3, 128-bit RC4") << QStringList{"128", "--use-aes=n"} << accented;
    QTest::newRow("R4, 128-bit AES") << QStringList{"128", "--use-aes=y"} << accented;
    QTest::newRow("R6, 256-bit AES") << QStringList{"256"} << accented;
    QTest::newRow("R6, beyond PDFDocEncoding") << QStringList{"256"} << QStringLiteral("пароль €");
}

void TestPdfSource::acceptsNonAsciiPasswords()
{
    QFETCH(QStringList, keyOptions);
    QFETCH(QString, password);
    const QString file = writeFile(QStringLiteral("accented.pdf"), m_threePages);
    PdfTestFiles::encrypt(file, password, keyOptions);
    try {
        QCOMPARE(PdfSource::open({file, password})->pageCount(), 3);
    } catch (...) {
        QFAIL(qPrintable(currentPdfError().message));
    }
    QVERIFY_THROWS_EXCEPTION(QPDFExc, PdfSource::open({file, QStringLiteral("passwörd")}));
}

// A write cut off by the file size limit, like a full disk.
void TestPdfSource::failedWriteKeepsTheExistingFile()
{
    const QString folder = path(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("/target.pdf");
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old contents") == 12);
    old.close();
    QVERIFY(PdfTestFiles::writeNumbered(path(QStringLiteral("long.pdf")), 200));
    const std::shared_ptr<PdfSource> source = PdfSource::open({path(QStringLiteral("long.pdf")), {}});

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 20000;
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    PdfError error;
    try {
        writePdfAtomically(
            source->qpdf(), target, [](QPDFWriter &) {}, [] {});
    } catch (...) {
        error = currentPdfError();
    }
    setrlimit(RLIMIT_FSIZE, &saved);

    QCOMPARE(error.code, EFBIG);
    QVERIFY2(error.message.startsWith(target), qPrintable(error.message));
    QCOMPARE(PdfTestFiles::contents(target), QByteArray("old contents"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"target.pdf"});
}

QTEST_MAIN(TestPdfSource)
#include "tst_pdfsource.moc"
