#include "mergepdflistview.h"
#include "passwordprotectform.h"
#include "passwordprotectsetpassworddialog.h"
#include "pdftestfiles.h"
#include "protectpdf.h"
#include "shelldialogs.h"
#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <QThread>
#include <QToolButton>
#include <qpdf/Constants.h>

namespace {
QVariant typing(const QString &password)
{
    return QVariant::fromValue(ShellDialogs::DialogScript([password](QDialog *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("passwordLineEdit"))->setText(password);
        dialog->findChild<QLineEdit *>(QStringLiteral("repeatPasswordLineEdit"))->setText(password);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("setPasswordButton")), Qt::LeftButton);
    }));
}
} // namespace

class TestPasswordProtectForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void passwordDialogRules_data();
    void passwordDialogRules();
    void duplicatesAreListedOnce_data();
    void duplicatesAreListedOnce();
    void protectsNextToExistingFiles_data();
    void protectsNextToExistingFiles();
    void damagedFileStopsTheRun();
    void protectedSourceGetsTheNewPassword();
    void repairedSourceIsReported();

private:
    QString run(PasswordProtectForm &form, const QStringList &paths, const QString &folder, const QString &password,
                const std::function<void()> &onceListed = {});

    QTemporaryDir dir;
};

void TestPasswordProtectForm::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(dir.isValid());
}

void TestPasswordProtectForm::init()
{
    ShellDialogs::setScripted(true);
}

// Lists paths, protects them into folder and returns the closing message.
QString TestPasswordProtectForm::run(PasswordProtectForm &form, const QStringList &paths, const QString &folder,
                                     const QString &password, const std::function<void()> &onceListed)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    form.on_AddURLs(urls);
    auto *list = form.findChild<MergePDFListView *>(QStringLiteral("mainListView"));
    [&] { QTRY_COMPARE(list->model()->rowCount(), paths.size()); }();
    // The intake has ended once the button can be pressed.
    [&] { QTRY_VERIFY(form.findChild<QToolButton *>(QStringLiteral("passwordButton"))->isEnabled()); }();
    if (onceListed)
        onceListed();
    ShellDialogs::enqueueAnswer(typing(password));
    ShellDialogs::enqueueAnswer(folder);
    ShellDialogs::enqueueAnswer(QMessageBox::Ok);
    form.findChild<QToolButton *>(QStringLiteral("passwordButton"))->click();
    [&] { QTRY_COMPARE(ShellDialogs::pendingAnswers(), 0); }();
    const auto questions = ShellDialogs::takeQuestions();
    return questions.isEmpty() || questions.last().kind != QLatin1String("message") ? QString() : questions.last().text;
}

void TestPasswordProtectForm::passwordDialogRules_data()
{
    QTest::addColumn<QStringList>("edits"); // "1:text" or "2:text", in order
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("noteShown");
    QTest::newRow("nothing typed") << QStringList() << false << false;
    QTest::newRow("only the first") << QStringList{QStringLiteral("1:secret")} << false << false;
    QTest::newRow("different") << QStringList{QStringLiteral("1:secret"), QStringLiteral("2:secreT")} << false << true;
    QTest::newRow("equal") << QStringList{QStringLiteral("1:secret"), QStringLiteral("2:secret")} << true << false;
    QTest::newRow("different, then one cleared")
        << QStringList{QStringLiteral("1:a"), QStringLiteral("2:b"), QStringLiteral("2:")} << false << true;
    QTest::newRow("equal, then one cleared")
        << QStringList{QStringLiteral("1:a"), QStringLiteral("2:a"), QStringLiteral("1:")} << false << false;
    QTest::newRow("different, then made equal")
        << QStringList{QStringLiteral("1:a"), QStringLiteral("2:b"), QStringLiteral("2:a")} << true << false;
}

void TestPasswordProtectForm::passwordDialogRules()
{
    QFETCH(QStringList, edits);
    QFETCH(bool, enabled);
    QFETCH(bool, noteShown);
    PasswordProtectSetPasswordDialog dialog;
    dialog.show();
    for (const QString &edit : std::as_const(edits)) {
        const char *field = edit.startsWith(QLatin1Char('1')) ? "passwordLineEdit" : "repeatPasswordLineEdit";
        auto *lineEdit = dialog.findChild<QLineEdit *>(QLatin1String(field));
        QCOMPARE(lineEdit->echoMode(), QLineEdit::Password); // never shown to someone looking on
        lineEdit->setText(edit.mid(2));
    }
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("setPasswordButton"))->isEnabled(), enabled);
    auto *note = dialog.findChild<QLabel *>(QStringLiteral("passwordeNoteLabel"));
    QCOMPARE(note->isVisible(), noteShown);
    if (noteShown)
        QCOMPARE(note->text(), QStringLiteral("Passwords do not match."));
}

void TestPasswordProtectForm::duplicatesAreListedOnce_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("rows");
    QTest::newRow("same file twice in one drop") << QStringList{QStringLiteral("a.pdf"), QStringLiteral("a.pdf")} << 1;
    QTest::newRow("same file in two drops")
        << QStringList{QStringLiteral("a.pdf"), QString(), QStringLiteral("a.pdf")} << 1;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QTest::newRow("names differing in case") << QStringList{QStringLiteral("a.pdf"), QStringLiteral("A.pdf")} << 1;
#else
    QTest::newRow("names differing in case") << QStringList{QStringLiteral("a.pdf"), QStringLiteral("A.pdf")} << 2;
#endif
}

void TestPasswordProtectForm::duplicatesAreListedOnce()
{
    QFETCH(QStringList, names);
    QFETCH(int, rows);
    PasswordProtectForm form;
    QList<QUrl> drop;
    for (const QString &name : std::as_const(names)) {
        if (name.isEmpty()) { // the next drop
            form.on_AddURLs(drop);
            drop.clear();
            continue;
        }
        const QString path = dir.filePath(name);
        if (!QFile::exists(path))
            PdfTestFiles::writeNumbered(path, 1);
        drop.append(QUrl::fromLocalFile(path));
    }
    form.on_AddURLs(drop);
    auto *list = form.findChild<MergePDFListView *>(QStringLiteral("mainListView"));
    QTRY_VERIFY(list->model()->rowCount() > 0 && !form.findChild<QThread *>());
    QCOMPARE(list->model()->rowCount(), rows);
}

void TestPasswordProtectForm::protectsNextToExistingFiles_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("written");
    QTest::newRow("empty folder") << QStringList() << QStringLiteral("secret") << QStringLiteral("report.pdf");
    QTest::newRow("report.pdf there") << QStringList{QStringLiteral("report.pdf")} << QStringLiteral("secret")
                                      << QStringLiteral("report(1).pdf");
    QTest::newRow("report.pdf and report(1).pdf there")
        << QStringList{QStringLiteral("report.pdf"), QStringLiteral("report(1).pdf")} << QStringLiteral("secret")
        << QStringLiteral("report(2).pdf");
    QTest::newRow("non-ASCII password") << QStringList() << QStringLiteral("pässwörd€") << QStringLiteral("report.pdf");
}

void TestPasswordProtectForm::protectsNextToExistingFiles()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, password);
    QFETCH(QString, written);
    const QString source = dir.filePath(QStringLiteral("report.pdf"));
    if (!QFile::exists(source))
        PdfTestFiles::writeNumbered(source, 3);
    QTemporaryDir output;
    for (const QString &name : std::as_const(existing))
        QVERIFY(QFile::copy(source, output.filePath(name)));

    PasswordProtectForm form;
    QCOMPARE(run(form, {source}, output.path(), password),
             QStringLiteral("The PDF files have been successfully protected by password."));
    QCOMPARE(QDir(output.path()).entryList(QDir::Files).size(), existing.size() + 1);
    for (const QString &name : std::as_const(existing))
        QCOMPARE(PdfTestFiles::contents(output.filePath(name)), PdfTestFiles::contents(source));

    const QString target = output.filePath(written);
    const QString encryption = QString::fromUtf8(
        TestEnvironment::run(QStringLiteral("qpdf"),
                             {QStringLiteral("--show-encryption"), QStringLiteral("--password=") + password, target}));
    QVERIFY2(encryption.contains(QStringLiteral("R = 6")), qPrintable(encryption));
    QVERIFY2(encryption.contains(QStringLiteral("stream encryption method: AESv3")), qPrintable(encryption));
    QVERIFY(encryption.contains(QStringLiteral("print low resolution: allowed")));
    QVERIFY(encryption.contains(QStringLiteral("print high resolution: not allowed")));
    QVERIFY(encryption.contains(QStringLiteral("modify other: allowed")));
    QVERIFY(encryption.contains(QStringLiteral("extract for any purpose: allowed")));
    QVERIFY(encryption.contains(QStringLiteral("modify annotations: not allowed")));
}

void TestPasswordProtectForm::damagedFileStopsTheRun()
{
    QTemporaryDir sources;
    const QString first = sources.filePath(QStringLiteral("first.pdf"));
    const QString damaged = sources.filePath(QStringLiteral("damaged.pdf"));
    const QString third = sources.filePath(QStringLiteral("third.pdf"));
    PdfTestFiles::writeNumbered(first, 1);
    PdfTestFiles::writeNumbered(third, 1);
    QVERIFY(QFile::copy(first, damaged));
    // Damaged after it was listed.
    const auto damage = [&] {
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("%PDF-1.7\nnot really\n") > 0);
    };

    QTemporaryDir output;
    PasswordProtectForm form;
    const QString message = run(form, {first, damaged, third}, output.path(), QStringLiteral("p"), damage);
    // qpdf's own words for the damage, the file named first, then the code of damaged input.
    QVERIFY2(message.startsWith(damaged + QStringLiteral(": ")), qPrintable(message));
    QVERIFY2(message.endsWith(QStringLiteral(" :") + QString::number(qpdf_e_damaged_pdf)), qPrintable(message));
    QCOMPARE(QDir(output.path()).entryList(QDir::Files), QStringList{QStringLiteral("first.pdf")});
}

void TestPasswordProtectForm::protectedSourceGetsTheNewPassword()
{
    const QString source = dir.filePath(QStringLiteral("locked.pdf"));
    PdfTestFiles::writeNumbered(source, 2);
    PdfTestFiles::encrypt(source, QStringLiteral("old password"));
    ShellDialogs::enqueueDialogScript([](QDialog *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("passwordLineEdit"))->setText(QStringLiteral("old password"));
        dialog->accept();
    });
    QTemporaryDir output;
    PasswordProtectForm form;
    QCOMPARE(run(form, {source}, output.path(), QStringLiteral("new password")),
             QStringLiteral("The PDF files have been successfully protected by password."));

    const QString target = output.filePath(QStringLiteral("locked.pdf"));
    QVERIFY(TestEnvironment::run(QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"),
                                                          QStringLiteral("--password=new password"), target})
                .contains("R = 6"));
    const auto rendersWith = [&](const QString &password) {
        return QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-upw"), password, QStringLiteral("-png"),
                                                              target, output.filePath(QStringLiteral("page"))}) == 0;
    };
    QVERIFY(rendersWith(QStringLiteral("new password")));
    QVERIFY(!rendersWith(QStringLiteral("old password")));
}

// The copy of a file qpdf had to repair is written, and the message says so briefly.
void TestPasswordProtectForm::repairedSourceIsReported()
{
    const QString source = dir.filePath(QStringLiteral("repaired.pdf"));
    QVERIFY(PdfTestFiles::writeRepairable(source, 2));
    QTemporaryDir output;
    PasswordProtectForm form;
    const QString message = run(form, {source}, output.path(), QStringLiteral("p"));
    QVERIFY2(PdfTestFiles::tellsOfRepair(
                 message, QStringLiteral("The PDF files have been successfully protected by password."), source),
             qPrintable(message));
    QVERIFY(QFileInfo::exists(output.filePath(QStringLiteral("repaired.pdf"))));
}

QTEST_MAIN(TestPasswordProtectForm)
#include "tst_passwordprotectform.moc"
