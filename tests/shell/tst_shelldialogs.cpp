#include "shelldialogs.h"
#include "testenvironment.h"

#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Ending = ShellDialogs::Ending;

QVariant ending(Ending end)
{
    return QVariant::fromValue(end);
}

// Says which way it was ended.
class RecordingDialog : public QDialog
{
public:
    bool sawEscape = false;
    bool sawClose = false;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        sawEscape = event->key() == Qt::Key_Escape;
        QDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        sawClose = true;
        QDialog::closeEvent(event);
    }
};

// "kind title" of each question, the way the rows below write them.
QStringList asked(const QList<ShellDialogs::Question> &questions)
{
    QStringList kinds;
    for (const ShellDialogs::Question &question : questions)
        kinds.append(question.kind + QLatin1Char(' ') + question.title);
    return kinds;
}
} // namespace

class TestShellDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void saveNameIsFinal_data();
    void saveNameIsFinal();
    void confirmOverwrite_data();
    void confirmOverwrite();
    void messageBoxEndings_data();
    void messageBoxEndings();
    void ownDialogEndings_data();
    void ownDialogEndings();
    void endingCancelsFileDialogs();
};

void TestShellDialogs::initTestCase()
{
    TestEnvironment::isolate();
}

void TestShellDialogs::init()
{
    ShellDialogs::setScripted(true);
}

void TestShellDialogs::saveNameIsFinal_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QVariantList>("answers"); // "DIR/" stands for the test folder
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("asked");

    const QVariant yes = int(QMessageBox::Yes);
    const QVariant no = int(QMessageBox::No);
    const QString save = QStringLiteral("save Save");
    const QString dialogAsks = QStringLiteral("message Save");
    const QString programAsks = QStringLiteral("message Folioforge");
    const auto unchecked = [](const char *path) { return ShellDialogs::asUncheckedSaveName(QLatin1String(path)); };
    QTest::newRow("typed with the extension") << "pdf" << "" << QVariantList{"DIR/a.pdf"} << "a.pdf" << QStringList{save};
    QTest::newRow("extension completed") << "pdf" << "" << QVariantList{"DIR/a"} << "a.pdf" << QStringList{save};
    QTest::newRow("other extension kept") << "pdf" << "" << QVariantList{"DIR/a.txt"} << "a.txt" << QStringList{save};
    QTest::newRow("no extension wanted") << "" << "" << QVariantList{"DIR/a"} << "a" << QStringList{save};
    QTest::newRow("completed name exists: Yes")
        << "pdf" << "a.pdf" << QVariantList{"DIR/a", yes} << "a.pdf" << QStringList{save, dialogAsks};
    QTest::newRow("completed name exists: No, other name")
        << "pdf" << "a.pdf" << QVariantList{"DIR/a", no, "DIR/b"} << "b.pdf" << QStringList{save, dialogAsks, save};
    QTest::newRow("completed name exists: Esc, cancel")
        << "pdf" << "a.pdf" << QVariantList{"DIR/a", ending(Ending::Escape), ""} << ""
        << QStringList{save, dialogAsks, save};
    QTest::newRow("dialog closed") << "pdf" << "" << QVariantList{ending(Ending::CloseBox)} << "" << QStringList{save};
    QTest::newRow("plain dialog, nothing there") << "pdf" << "" << QVariantList{unchecked("DIR/a")} << "a.pdf"
                                                 << QStringList{save};
    QTest::newRow("plain dialog, completed name exists: Yes")
        << "pdf" << "a.pdf" << QVariantList{unchecked("DIR/a"), yes} << "a.pdf" << QStringList{save, programAsks};
    QTest::newRow("plain dialog, typed name exists: close box, cancel")
        << "pdf" << "a.pdf" << QVariantList{unchecked("DIR/a.pdf"), ending(Ending::CloseBox), ""} << ""
        << QStringList{save, programAsks, save};
}

void TestShellDialogs::saveNameIsFinal()
{
    QFETCH(QString, suffix);
    QFETCH(QString, existing);
    QFETCH(QVariantList, answers);
    QFETCH(QString, chosen);
    QFETCH(QStringList, asked);
    QTemporaryDir dir;
    if (!existing.isEmpty()) {
        QFile file(dir.filePath(existing));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
    }
    for (QVariant answer : std::as_const(answers)) {
        if (answer.typeId() == QMetaType::QString)
            answer = answer.toString().replace(QLatin1String("DIR"), dir.path());
        else if (answer.metaType() == QMetaType::fromType<ShellDialogs::UncheckedSaveName>())
            answer = ShellDialogs::asUncheckedSaveName(
                QString(answer.value<ShellDialogs::UncheckedSaveName>().path).replace(QLatin1String("DIR"), dir.path()));
        ShellDialogs::enqueueAnswer(answer);
    }
    const QString answer =
        ShellDialogs::getSaveFileName(nullptr, QStringLiteral("Save"), dir.path(), QStringLiteral("PDF (*.pdf)"), suffix);
    QCOMPARE(answer, chosen.isEmpty() ? QString() : dir.filePath(chosen));
    QCOMPARE(::asked(ShellDialogs::takeQuestions()), asked);
    QCOMPARE(ShellDialogs::pendingAnswers(), 0);
}

void TestShellDialogs::confirmOverwrite_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("nothing there") << false << QVariant() << true;
    QTest::newRow("Yes") << true << QVariant(int(QMessageBox::Yes)) << true;
    QTest::newRow("No") << true << QVariant(int(QMessageBox::No)) << false;
    QTest::newRow("Esc") << true << ending(Ending::Escape) << false;
    QTest::newRow("close box") << true << ending(Ending::CloseBox) << false;
}

void TestShellDialogs::confirmOverwrite()
{
    QFETCH(bool, exists);
    QFETCH(QVariant, answer);
    QFETCH(bool, confirmed);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    if (exists)
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    if (answer.isValid())
        ShellDialogs::enqueueAnswer(answer);
    QCOMPARE(ShellDialogs::confirmOverwrite(nullptr, path), confirmed);
    const QList<ShellDialogs::Question> questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), exists ? 1 : 0);
    if (exists)
        QCOMPARE(questions.first().text, QStringLiteral("Confirm overwrite"));
}

void TestShellDialogs::messageBoxEndings_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<int>("clicked");
    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    QTest::newRow("Yes") << yesNo << QVariant(int(QMessageBox::Yes)) << int(QMessageBox::Yes);
    QTest::newRow("Esc is No") << yesNo << ending(Ending::Escape) << int(QMessageBox::No);
    QTest::newRow("close box is No") << yesNo << ending(Ending::CloseBox) << int(QMessageBox::No);
    QTest::newRow("rejected is No") << yesNo << ending(Ending::Rejected) << int(QMessageBox::No);
    QTest::newRow("Esc on a lone OK") << int(QMessageBox::Ok) << ending(Ending::Escape) << int(QMessageBox::Ok);
    const int okAndAction = QMessageBox::Ok | QMessageBox::Open;
    QTest::newRow("Esc on OK beside an action") << okAndAction << ending(Ending::Escape) << int(QMessageBox::Ok);
    QTest::newRow("close box on OK beside an action") << okAndAction << ending(Ending::CloseBox) << int(QMessageBox::Ok);
    // Without a button that declines or acknowledges, Esc and the close box do nothing.
    QTest::newRow("Esc without a way out") << int(QMessageBox::Save | QMessageBox::Open) << ending(Ending::Escape)
                                           << int(QMessageBox::NoButton);
    QTest::newRow("close box without a way out")
        << int(QMessageBox::Save | QMessageBox::Open) << ending(Ending::CloseBox) << int(QMessageBox::NoButton);
}

void TestShellDialogs::messageBoxEndings()
{
    QFETCH(int, buttons);
    QFETCH(QVariant, answer);
    QFETCH(int, clicked);
    ShellDialogs::enqueueAnswer(answer);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Title"), QStringLiteral("Text"),
                    QMessageBox::StandardButtons(buttons));
    QAbstractButton *button = ShellDialogs::exec(box);
    QCOMPARE(int(button ? box.standardButton(button) : QMessageBox::NoButton), clicked);
    QVERIFY(!box.isVisible()); // never left open behind the flow
}

void TestShellDialogs::ownDialogEndings_data()
{
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<bool>("close");
    const auto script = [](const ShellDialogs::DialogScript &run) { return QVariant::fromValue(run); };
    QTest::newRow("accepted") << script([](QDialog *dialog) { dialog->accept(); }) << int(QDialog::Accepted) << false
                              << false;
    QTest::newRow("rejected") << ending(Ending::Rejected) << int(QDialog::Rejected) << false << false;
    QTest::newRow("Esc") << ending(Ending::Escape) << int(QDialog::Rejected) << true << false;
    QTest::newRow("close box") << ending(Ending::CloseBox) << int(QDialog::Rejected) << false << true;
    QTest::newRow("left open by its script") << script([](QDialog *) {}) << int(QDialog::Rejected) << false << false;
}

void TestShellDialogs::ownDialogEndings()
{
    QFETCH(QVariant, answer);
    QFETCH(int, result);
    QFETCH(bool, escape);
    QFETCH(bool, close);
    ShellDialogs::enqueueAnswer(answer);
    RecordingDialog dialog;
    QSignalSpy finished(&dialog, &QDialog::finished);
    QCOMPARE(ShellDialogs::exec(&dialog), result);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(dialog.sawEscape, escape);
    QCOMPARE(dialog.sawClose, close);
    QVERIFY(!dialog.isVisible());
}

void TestShellDialogs::endingCancelsFileDialogs()
{
    for (Ending end : {Ending::Rejected, Ending::Escape, Ending::CloseBox}) {
        for (int i = 0; i < 4; ++i)
            ShellDialogs::enqueueEnding(end);
        QCOMPARE(ShellDialogs::getOpenFileName(nullptr, QString(), QString(), QString()), QString());
        QCOMPARE(ShellDialogs::getOpenFileNames(nullptr, QString(), QString(), QString()), QStringList());
        QCOMPARE(ShellDialogs::getExistingDirectory(nullptr, QString(), QString()), QString());
        QVERIFY(!ShellDialogs::getColor(Qt::red, nullptr, QString()).isValid());
    }
}

QTEST_MAIN(TestShellDialogs)
#include "tst_shelldialogs.moc"
