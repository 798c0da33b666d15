#include "pdfopencheck.h"
#include "pdftestfiles.h"
#include "testenvironment.h"
#include "testpdf.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// A certificate-encrypted file: the security handler is not a password one.
QByteArray certificateEncrypted()
{
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>",
        "<< /Filter /Adobe.PubSec /SubFilter /adbe.pkcs7.s5 /V 4 /R 4 /Length 128 "
        "/CF << /DefaultCryptFilter << /CFM /AESV2 /Recipients [<3082>] >> >> "
        "/StmF /DefaultCryptFilter /StrF /DefaultCryptFilter >>",
    };
    return TestPdf::fromObjects("1.6", objects,
                                " /Encrypt 4 0 R /ID [<0123456789abcdef0123456789abcdef> "
                                "<0123456789abcdef0123456789abcdef>]");
}

const QString userPassword = QStringLiteral("s3cret");
const QString nonAsciiPassword = QStringLiteral("Pässwörd €5");
} // namespace

class TestPdfOpenCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void classifiesEveryFile_data();
    void classifiesEveryFile();

private:
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QString write(const QString &name, const QByteArray &contents) const;

    QTemporaryDir dir;
};

QString TestPdfOpenCheck::write(const QString &name, const QByteArray &contents) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

void TestPdfOpenCheck::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(dir.isValid());
    const QString plain = path(QStringLiteral("plain.pdf"));
    QVERIFY(PdfTestFiles::writeNumbered(plain, 2));
    const QByteArray contents = PdfTestFiles::contents(plain);

    write(QStringLiteral("locked.pdf"), contents);
    PdfTestFiles::encrypt(path(QStringLiteral("locked.pdf")), userPassword);
    write(QStringLiteral("non-ascii.pdf"), contents);
    PdfTestFiles::encrypt(path(QStringLiteral("non-ascii.pdf")), nonAsciiPassword);
    TestEnvironment::run(QStringLiteral("qpdf"), {QStringLiteral("--encrypt"), QString(), QStringLiteral("owner"),
                                                  QStringLiteral("256"), QStringLiteral("--print=none"),
                                                  QStringLiteral("--"), plain, path(QStringLiteral("owner.pdf"))});

    QByteArray noise(4096, Qt::Uninitialized);
    QRandomGenerator random(13);
    random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    write(QStringLiteral("noise.pdf"), noise);
    write(QStringLiteral("empty.pdf"), {});
    write(QStringLiteral("truncated.pdf"), contents.left(contents.indexOf("obj") + 3));
    write(QStringLiteral("header only.pdf"), "%PDF-1.7\n" + noise);
    write(QStringLiteral("unreadable.pdf"), contents);
    QFile::setPermissions(path(QStringLiteral("unreadable.pdf")), {});
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.pdf")));
    QVERIFY(mkfifo(QFile::encodeName(path(QStringLiteral("pipe.pdf"))).constData(), 0600) == 0);
    write(QStringLiteral("certificate.pdf"), certificateEncrypted());
}

void TestPdfOpenCheck::classifiesEveryFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("kind");
    QTest::newRow("opens") << "plain.pdf" << QString() << int(PdfOpenProblem::None);
    QTest::newRow("owner password only") << "owner.pdf" << QString() << int(PdfOpenProblem::None);
    QTest::newRow("needs a password") << "locked.pdf" << QString() << int(PdfOpenProblem::NeedsPassword);
    QTest::newRow("wrong password") << "locked.pdf"
                                    << "S3cret" << int(PdfOpenProblem::WrongPassword);
    QTest::newRow("right password") << "locked.pdf" << userPassword << int(PdfOpenProblem::None);
    QTest::newRow("non-ASCII password") << "non-ascii.pdf" << nonAsciiPassword << int(PdfOpenProblem::None);
    QTest::newRow("not a PDF") << "noise.pdf" << QString() << int(PdfOpenProblem::NotPdf);
    QTest::newRow("empty") << "empty.pdf" << QString() << int(PdfOpenProblem::Empty);
    QTest::newRow("truncated") << "truncated.pdf" << QString() << int(PdfOpenProblem::Damaged);
    QTest::newRow("header, then noise") << "header only.pdf" << QString() << int(PdfOpenProblem::Damaged);
    QTest::newRow("folder") << "folder.pdf" << QString() << int(PdfOpenProblem::Folder);
    QTest::newRow("missing") << "gone.pdf" << QString() << int(PdfOpenProblem::NotFound);
    QTest::newRow("permission denied") << "unreadable.pdf" << QString() << int(PdfOpenProblem::Unreadable);
    QTest::newRow("named pipe") << "pipe.pdf" << QString() << int(PdfOpenProblem::NotRegularFile);
    QTest::newRow("device") << "/dev/zero" << QString() << int(PdfOpenProblem::NotRegularFile);
    QTest::newRow("certificate") << "certificate.pdf" << QString() << int(PdfOpenProblem::UnsupportedEncryption);
}

void TestPdfOpenCheck::classifiesEveryFile()
{
    QFETCH(QString, file);
    QFETCH(QString, password);
    QFETCH(int, kind);
    if (kind == PdfOpenProblem::Unreadable && geteuid() == 0)
        QSKIP("the administrator reads any file");
    // Short enough that a worker stuck on the file fails the test rather than stalls it.
    const RenderTimeouts timeouts{3000, 3000};
    const std::atomic_bool stop = false;
    const PdfOpenProblem problem = checkPdfOpens({path(file), password}, stop, timeouts);
    QCOMPARE(int(problem.kind), kind);
    if (kind == PdfOpenProblem::Unreadable)
        QVERIFY2(problem.reason().contains(QStringLiteral("Permission denied")), qPrintable(problem.reason()));
}

QTEST_MAIN(TestPdfOpenCheck)
#include "tst_pdfopencheck.moc"
