#include "convertimageaddurlsthread.h"
#include "convertimageform.h"
#include "convertimageframe.h"
#include "convertimagefullpreviewlabel.h"
#include "convertimagepreviewcontroller.h"
#include "convertimagepreviewlabel.h"
#include "converttargets.h"
#include "kivglobal.h"
#include "kivlocalconvertimage.h"
#include "previewdialog.h"
#include "shelldialogs.h"
#include "testenvironment.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QWheelEvent>

#include <memory>

namespace {

QString writeImage(const QString &path, const QColor &colour)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
    return path;
}

// Drops the files on the form and waits until the list has taken them.
bool addSources(ConvertImageForm &form, const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    emit form.findChild<ConvertImageFrame *>()->addURLs(urls);
    return QTest::qWaitFor([&form] { return !form.findChild<ConvertImageAddUrlsThread *>(); });
}

std::unique_ptr<ConvertImageForm> startForm(const QString &folder, const QString &pdfName)
{
    KivLocalConvertImage::editSettings([&](ConvertSettings &s) {
        s = ConvertSettings();
        s.outputFolder = folder;
        s.pdfFileName = pdfName;
        s.targeFileType = ConvertTargets::indexOf(QStringLiteral("PDF"));
    });
    auto form = std::make_unique<ConvertImageForm>();
    form->applySettingsToForm();
    form->setReady(true);
    return form;
}

void clickConvert(ConvertImageForm &form)
{
    QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("convertButton")), Qt::LeftButton);
}

QStringList kinds(const QList<ShellDialogs::Question> &questions)
{
    QStringList list;
    for (const ShellDialogs::Question &question : questions)
        list << question.kind;
    return list;
}

int pdfPages(const QString &path)
{
    const QString info = QString::fromLocal8Bit(TestEnvironment::run(QStringLiteral("pdfinfo"), {path}));
    const qsizetype at = info.indexOf(QLatin1String("Pages:"));
    return at < 0 ? -1 : info.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

} // namespace

class TestConvertImageRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void burstOfRequestsStartsOneWorker();
    void zoomStepsStopBelowFortyPixels();
    void zoomedPreviewShowsThePartScrolledTo_data();
    void zoomedPreviewShowsThePartScrolledTo();
    void convertAsksAndWrites_data();
    void convertAsksAndWrites();
    void cancelReturnsToTheListQuietly_data();
    void cancelReturnsToTheListQuietly();
    void overwriteDialogConvertsOnlyTheTicked_data();
    void overwriteDialogConvertsOnlyTheTicked();

private:
    QTemporaryDir dir;
    QStringList sources;
};

void TestConvertImageRun::initTestCase()
{
    TestEnvironment::isolate();
    ShellDialogs::setScripted(true);
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkpath(dir.filePath("in")));
    for (const char *name : {"in/a.png", "in/b.png", "in/c.png"})
        sources << writeImage(dir.filePath(QLatin1String(name)), Qt::darkCyan);
}

void TestConvertImageRun::init()
{
    QDir(dir.filePath("out")).removeRecursively();
    QVERIFY(QDir().mkpath(dir.filePath("out")));
}

void TestConvertImageRun::cleanup()
{
    QCOMPARE(ShellDialogs::pendingAnswers(), 0);
    ShellDialogs::takeQuestions();
}

void TestConvertImageRun::burstOfRequestsStartsOneWorker()
{
    ConvertImagePreviewLabel label;
    label.setFixedSize(400, 231);
    ConvertImagePreviewController controller(&label, nullptr);
    QSignalSpy started(&controller, &ConvertImagePreviewController::workerStarted);
    for (int i = 0; i < 10; ++i)
        controller.request(sources.at(i % 3), false);
    QCOMPARE(label.text(), QStringLiteral("Generating preview\u2026"));
    for (int tick = 0; tick < 5; ++tick)
        controller.tick();
    QCOMPARE(started.size(), 0);
    controller.tick();
    QCOMPARE(started.size(), 1);
    QCOMPARE(started.at(0).at(0).toString(), sources.at(0));
    QTRY_VERIFY(label.hasImage());
    QTRY_VERIFY(!controller.isLoading());
    QCOMPARE(label.pixmap().size(), QSize(64, 48));
}

void TestConvertImageRun::zoomStepsStopBelowFortyPixels()
{
    PreviewDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QImage image(1000, 500, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    dialog.handleFullPreviewImageReady(image);
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("previewLabel"));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("sizeInfoLabel"))->text(), QStringLiteral("1000x500"));
    const auto wheel = [label](int delta) {
        QWheelEvent event(QPointF(5, 5), label->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(label, &event);
    };
    int width = dialog.displayedWidth();
    wheel(120);
    QCOMPARE(dialog.displayedWidth(), width + width / 10);
    width = dialog.displayedWidth();
    while (width - width / 10 >= 40) {
        wheel(-120);
        width -= width / 10;
        QCOMPARE(dialog.displayedWidth(), width);
    }
    wheel(-120);
    QCOMPARE(dialog.displayedWidth(), width);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("percentResizeLabel"))->text(),
             QString::number(width / 10.0, 'g', 6) + QLatin1Char('%'));
}

void TestConvertImageRun::zoomedPreviewShowsThePartScrolledTo_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("bottom");
    QTest::addColumn<QColor>("seen"); // at the middle of the window
    QTest::newRow("fitted") << 0 << false << false << QColor(Qt::white);
    QTest::newRow("zoomed, top left") << 16 << false << false << QColor(Qt::red);
    QTest::newRow("zoomed, top right") << 16 << true << false << QColor(Qt::blue);
    QTest::newRow("zoomed, bottom left") << 16 << false << true << QColor(Qt::green);
    QTest::newRow("zoomed, bottom right") << 16 << true << true << QColor(Qt::yellow);
}

// The window draws the part of the full-size picture that is on screen, at
// the zoom shown: quarters of four colours around a white middle.
void TestConvertImageRun::zoomedPreviewShowsThePartScrolledTo()
{
    QFETCH(int, steps);
    QFETCH(bool, right);
    QFETCH(bool, bottom);
    QFETCH(QColor, seen);
    PreviewDialog dialog;
    dialog.resize(400, 425);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QImage picture(800, 600, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(0, 0, 400, 300, Qt::red);
    painter.fillRect(400, 0, 400, 300, Qt::blue);
    painter.fillRect(0, 300, 400, 300, Qt::green);
    painter.fillRect(400, 300, 400, 300, Qt::yellow);
    painter.fillRect(380, 280, 40, 40, Qt::white);
    painter.end();
    dialog.handleFullPreviewImageReady(picture);
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("previewLabel"));
    for (int step = 0; step < steps; ++step)
        emit qobject_cast<ConvertImageFullPreviewLabel *>(label)->needToResizeImage(1);
    auto *area = dialog.findChild<QScrollArea *>(QStringLiteral("scrollArea"));
    area->horizontalScrollBar()->setValue(right ? area->horizontalScrollBar()->maximum() : 0);
    area->verticalScrollBar()->setValue(bottom ? area->verticalScrollBar()->maximum() : 0);
    const QImage shown = area->viewport()->grab().toImage();
    QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2), seen);
}

void TestConvertImageRun::convertAsksAndWrites_data()
{
    QTest::addColumn<QString>("pdfName");
    QTest::addColumn<bool>("folderSet");
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("sourceCount");
    QTest::addColumn<QVariantList>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("message");

    const QVariant ok = int(QMessageBox::Ok);
    const QVariant yes = int(QMessageBox::Yes);
    const QVariant no = int(QMessageBox::No);
    const QString one = QStringLiteral("The conversion process is completed.");
    const QString many = QStringLiteral("The conversion processes are completed.");
    const QStringList done{"message"};
    QTest::newRow("extension added") << "report" << true << "" << 1 << QVariantList{ok} << done << "report.pdf" << one;
    QTest::newRow("upper-case extension kept")
        << "Report.PDF" << true << "" << 2 << QVariantList{ok} << done << "Report.PDF" << many;
    QTest::newRow("exists, Yes") << "report.pdf" << true << "report.pdf" << 3 << QVariantList{yes, ok}
                                 << QStringList{"message", "message"} << "report.pdf" << many;
    QTest::newRow("exists, No, save cancelled") << "report.pdf" << true << "report.pdf" << 1
                                                << QVariantList{no, QString()} << QStringList{"message", "save"} << ""
                                                << "";
    QTest::newRow("exists, No, other name")
        << "report.pdf" << true << "report.pdf" << 1 << QVariantList{no, QStringLiteral("OUT/other"), ok}
        << QStringList{"message", "save", "message"} << "other.pdf" << one;
    QTest::newRow("no folder: picker, then run")
        << "report" << false << "" << 1 << QVariantList{QStringLiteral("OUT"), ok} << QStringList{"folder", "message"}
        << "report.pdf" << one;
    QTest::newRow("no folder: picker cancelled")
        << "report" << false << "" << 1 << QVariantList{QString()} << QStringList{"folder"} << ""
        << "";
    // The engine cannot write where a folder stands; the message must say so.
    QTest::newRow("unwritable target reported") << "report.pdf" << true << "report.pdf/" << 1 << QVariantList{yes, ok}
                                                << QStringList{"message", "message"} << "" << one;
    QTest::newRow("no name: save dialog") << "" << true << "" << 1 << QVariantList{QStringLiteral("OUT/chosen"), ok}
                                          << QStringList{"save", "message"} << "chosen.pdf" << one;
    // A name typed without .pdf is completed by the dialog, which asks about
    // the completed file before returning it.
    QTest::newRow("no name: typed without .pdf over a PDF, No, cancel")
        << "" << true << "chosen.pdf" << 1 << QVariantList{QStringLiteral("OUT/chosen"), no, QString()}
        << QStringList{"save", "message", "save"} << ""
        << "";
    QTest::newRow("no name: typed without .pdf over a PDF, Yes")
        << "" << true << "chosen.pdf" << 2 << QVariantList{QStringLiteral("OUT/chosen"), yes, ok}
        << QStringList{"save", "message", "message"} << "chosen.pdf" << many;
    QTest::newRow("exists, No, typed without .pdf over another PDF, No, cancel")
        << "report.pdf" << true << "report.pdf" << 1
        << QVariantList{no, QStringLiteral("OUT/report"), no, QString()}
        << QStringList{"message", "save", "message", "save"} << ""
        << "";
}

void TestConvertImageRun::convertAsksAndWrites()
{
    QFETCH(QString, pdfName);
    QFETCH(bool, folderSet);
    QFETCH(QString, existing);
    QFETCH(int, sourceCount);
    QFETCH(QVariantList, answers);
    QFETCH(QStringList, asked);
    QFETCH(QString, written);
    QFETCH(QString, message);

    const QString out = dir.filePath("out");
    if (existing.endsWith(QLatin1Char('/'))) {
        QVERIFY(QDir().mkpath(out + QLatin1Char('/') + existing));
    } else if (!existing.isEmpty()) {
        QFile file(out + QLatin1Char('/') + existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    auto form = startForm(folderSet ? out : QString(), pdfName);
    QVERIFY(addSources(*form, sources.first(sourceCount)));
    for (QVariant answer : answers) {
        if (answer.typeId() == QMetaType::QString)
            answer = answer.toString().replace(QLatin1String("OUT"), out);
        ShellDialogs::enqueueAnswer(answer);
    }
    clickConvert(*form);
    QTRY_VERIFY(!form->isConversionRunning());
    const QList<ShellDialogs::Question> questions = ShellDialogs::takeQuestions();
    QCOMPARE(kinds(questions), asked);
    // Every question before the completion message is about replacing a file:
    // the program's own, or the save dialog's about the name it completed.
    for (qsizetype i = 0; i < questions.size() - (message.isEmpty() ? 0 : 1); ++i) {
        const QString text = questions.at(i).text;
        if (questions.at(i).kind == QLatin1String("message"))
            QVERIFY2(text == QLatin1String("Confirm overwrite") || text.contains(QLatin1String("already exists")),
                     qPrintable(text));
    }
    if (!message.isEmpty())
        QCOMPARE(questions.last().title, KivGlobal::productName());
    if (written.isEmpty()) {
        QCOMPARE(QDir(out).entryList(QDir::Files),
                 existing.isEmpty() || !message.isEmpty() ? QStringList() : QStringList{existing});
        // A file the user kept is left as it was, byte for byte.
        if (!existing.isEmpty() && message.isEmpty()) {
            QFile kept(out + QLatin1Char('/') + existing);
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), QByteArray("old"));
        }
        if (!message.isEmpty()) {
            QVERIFY(questions.last().text.startsWith(message + QStringLiteral("\n\n1 problem occurred:\n")));
            QVERIFY(questions.last().text.contains(QStringLiteral("report.pdf")));
        }
        return;
    }
    QCOMPARE(questions.last().text, message);
    QCOMPARE(pdfPages(out + QLatin1Char('/') + written), sourceCount);
    QCOMPARE(KivLocalConvertImage::settings().pdfFileName, written);
    QCOMPARE(QDir(form->findChild<QLineEdit *>(QStringLiteral("outputFolderLineEdit"))->text()), QDir(out));
}

void TestConvertImageRun::cancelReturnsToTheListQuietly_data()
{
    QTest::addColumn<bool>("existed");
    QTest::newRow("over an existing PDF") << true;
    QTest::newRow("a new PDF") << false;
}

void TestConvertImageRun::cancelReturnsToTheListQuietly()
{
    QFETCH(bool, existed);
    // Large pages, so the run is still on its first page when Cancel comes.
    QStringList large;
    QVERIFY(QDir().mkpath(dir.filePath("large")));
    for (const char *name : {"large/1.jpg", "large/2.jpg", "large/3.jpg", "large/4.jpg"}) {
        QImage image(4000, 3000, QImage::Format_RGB32);
        QPainter(&image).fillRect(image.rect(), QLinearGradient(0, 0, 4000, 3000));
        QVERIFY(image.save(dir.filePath(QLatin1String(name)), "JPG", 95));
        large << dir.filePath(QLatin1String(name));
    }
    const QString report = dir.filePath("out/report.pdf");
    const QByteArray before = "%PDF-1.4 the user's report, three pages";
    if (existed) {
        QFile file(report);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
        ShellDialogs::enqueueAnswer(int(QMessageBox::Yes));
    }
    auto form = startForm(dir.filePath("out"), QStringLiteral("report.pdf"));
    QVERIFY(addSources(*form, large));
    auto *stack = form->findChild<QStackedLayout *>();
    QWidget *listPage = stack->currentWidget();
    clickConvert(*form);
    QVERIFY(form->isConversionRunning());
    QVERIFY(form->findChild<QWidget *>(QStringLiteral("tabWidget"))->isHidden());
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("ConvertProgressForm"));
    QTest::mouseClick(stack->currentWidget()->findChild<QPushButton *>(QStringLiteral("cancelButton")), Qt::LeftButton);
    QTRY_VERIFY(!form->isConversionRunning());
    QCOMPARE(ShellDialogs::takeQuestions().size(), existed ? 1 : 0);
    QCOMPARE(stack->currentWidget(), listPage);
    QVERIFY(!form->findChild<QWidget *>(QStringLiteral("tabWidget"))->isHidden());
    QCOMPARE(form->sourceFiles(), large);
    QVERIFY(form->findChild<QToolButton *>(QStringLiteral("convertButton"))->isEnabled());
    // A stop never replaces a file; a new PDF keeps the pages drawn before it.
    QFile file(report);
    if (existed) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    } else {
        QVERIFY(!file.exists() || (pdfPages(report) >= 1 && pdfPages(report) < large.size()));
    }
}

void TestConvertImageRun::overwriteDialogConvertsOnlyTheTicked_data()
{
    QTest::addColumn<QList<int>>("unticked");
    QTest::addColumn<QString>("ending"); // "Overwrite", or how the dialog is dismissed
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    const QColor kept(Qt::red);
    const QColor converted(Qt::darkCyan);
    QTest::newRow("one unticked") << QList<int>{0} << "Overwrite" << QStringList{"dialog", "message"} << kept
                                  << converted;
    QTest::newRow("both unticked: as Cancel")
        << QList<int>{0, 1} << "Overwrite" << QStringList{"dialog"} << kept << kept;
    // Any way the dialog ends must end the run: the tool never stays locked.
    QTest::newRow("Esc") << QList<int>{} << "Esc" << QStringList{"dialog"} << kept << kept;
    QTest::newRow("close box") << QList<int>{} << "close box" << QStringList{"dialog"} << kept << kept;
}

// Only the image edition writes one file per source and can meet existing ones.
void TestConvertImageRun::overwriteDialogConvertsOnlyTheTicked()
{
    QFETCH(QList<int>, unticked);
    QFETCH(QString, ending);
    QFETCH(QStringList, asked);
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    if (KivGlobal::isPdfManager)
        QSKIP("the PDF edition writes one PDF");
    const QString out = dir.filePath("out");
    auto form = startForm(out, QString());
    form->findChild<QComboBox *>(QStringLiteral("targetComboBox"))->setCurrentText(QStringLiteral("PNG"));
    QVERIFY(addSources(*form, sources.first(2)));
    for (const char *name : {"a.png", "b.png"})
        writeImage(out + QLatin1Char('/') + QLatin1String(name), Qt::red);
    if (ending != QLatin1String("Overwrite")) {
        // Ended as a person ends it without a button: shown, then Esc or the close box.
        ShellDialogs::enqueueDialogScript([ending](QDialog *dialog) {
            dialog->show();
            if (ending == QLatin1String("Esc"))
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->close();
        });
    } else {
        ShellDialogs::enqueueDialogScript([unticked](QDialog *dialog) {
            auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
            QCOMPARE(tree->topLevelItemCount(), 2);
            for (int row : unticked)
                tree->topLevelItem(row)->setCheckState(0, Qt::Unchecked);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("overwriteButton")), Qt::LeftButton);
        });
    }
    if (asked.size() > 1)
        ShellDialogs::enqueueAnswer(int(QMessageBox::Ok));
    clickConvert(*form);
    QTRY_VERIFY(!form->isConversionRunning());
    QCOMPARE(kinds(ShellDialogs::takeQuestions()), asked);
    QCOMPARE(QImage(out + QStringLiteral("/a.png")).pixelColor(1, 1), a);
    QCOMPARE(QImage(out + QStringLiteral("/b.png")).pixelColor(1, 1), b);
    // The tool is back: the list is shown and unlocked.
    QVERIFY(form->findChild<QToolButton *>(QStringLiteral("convertButton"))->isEnabled());
    QVERIFY(!form->findChild<QWidget *>(QStringLiteral("tabWidget"))->isHidden());
}

QTEST_MAIN(TestConvertImageRun)
#include "tst_convertimagerun.moc"
