#include "pdfopenproblem.h"
#include "pdftestfiles.h"
#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {
const QString userPassword = QStringLiteral("s3cret");
const QString nonAsciiPassword = QStringLiteral("Pässwörd €5");
} // namespace

class TestPdfOpenProblem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void classifiesEveryFile_data();
    void classifiesEveryFile();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QString write(const QString &name, const QByteArray &contents) const;

    QTemporaryDir dir;
};

QString TestPdfOpenProblem::write(const QString &name, const QByteArray &contents) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

void TestPdfOpenProblem::initTestCase()
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
}

void TestPdfOpenProblem::classifiesEveryFile_data()
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
}

void TestPdfOpenProblem::classifiesEveryFile()
{
    QFETCH(QString, file);
    QFETCH(QString, password);
    QFETCH(int, kind);
    if (kind == PdfOpenProblem::Unreadable && geteuid() == 0)
        QSKIP("the administrator reads any file");
    const PdfOpenProblem problem = diagnosePdfOpen(path(file), password);
    QCOMPARE(int(problem.kind), kind);
    if (kind == PdfOpenProblem::Unreadable)
        QVERIFY2(problem.reason().contains(QStringLiteral("Permission denied")), qPrintable(problem.reason()));
}

QTEST_MAIN(TestPdfOpenProblem)
#include "tst_pdfopenproblem.moc"
