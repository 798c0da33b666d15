#include "aboutdialog.h"
#include "checkupdatedialog.h"
#include "colorscheme.h"
#include "convertimageform.h"
#include "converttargets.h"
#include "iconimages.h"
#include "kivglobal.h"
#include "kivlocalconvertimage.h"
#include "mainwindow.h"
#include "shelldialogs.h"
#include "testenvironment.h"
#include "thumbnailcache.h"
#include "windowgeometry.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using IconImages::fileImage;
using IconImages::iconImage;

namespace {
QAction *toolbarAction(MainWindow &window, const QString &text)
{
    for (QAction *action : window.findChild<QToolBar *>(QStringLiteral("toolbar"))->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        TestEnvironment::isolate();
        QApplication::setStyle(QStringLiteral("Fusion"));
    }
    void init() { ShellDialogs::setScripted(true); }
    void cleanup()
    {
        ShellDialogs::setScripted(false);
        overrideColorScheme(std::nullopt);
    }

    void showsFiveToolsInOrder()
    {
        MainWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Folioforge"));
        auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
        QVERIFY(tabs);
        const QStringList captions{"PDF to Images", "Images to PDF", "Split PDF", "Merge PDF", "Password Protect"};
        const QStringList names{"pdfToImageTab", "imagesToPdfTab", "splitPdfTab", "mergePdfTab", "passwordProtectTab"};
        QCOMPARE(tabs->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(tabs->tabText(i), captions.at(i));
            QCOMPARE(tabs->widget(i)->objectName(), names.at(i));
        }
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(tabs->widget(0)->findChild<QWidget *>(QStringLiteral("loadButton")));
        // The images form has run its settings load with its rule buttons shown.
        auto *ruleButtons = tabs->widget(1)->findChild<QToolButton *>(QStringLiteral("adjustDeleteButton"));
        QVERIFY(ruleButtons);
        QVERIFY(ruleButtons->isChecked());

        auto *toolbar = window.findChild<QToolBar *>(QStringLiteral("toolbar"));
        QVERIFY(toolbar);
        QCOMPARE(toolbar->windowTitle(), QStringLiteral("Tabs toolbar"));
        QVERIFY(!toolbar->isMovable());
        QCOMPARE(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QStringList texts;
        for (QAction *action : toolbar->actions())
            texts << action->text();
        QCOMPARE(texts, QStringList({"Update", "Website", "About"}));
    }

    void firstStartAndEveryCloseKeepTheGeometry()
    {
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        MainWindow window;
        QCOMPARE(window.geometry(), WindowGeometry::restore({}, screen));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect moved(-8, 30, 1000, 520);
        window.setGeometry(moved);
        QTRY_COMPARE(window.geometry(), moved);
        window.close();
        const WindowGeometry::Stored stored = WindowGeometry::read();
        QCOMPARE(stored.posX, std::optional<quint32>(quint32(-8)));
        QCOMPARE(stored.posY, std::optional<quint32>(30u));
        QCOMPARE(stored.width, std::optional<quint32>(1000u));
        QCOMPARE(stored.height, std::optional<quint32>(520u));

        MainWindow reopened;
        QCOMPARE(reopened.geometry(), WindowGeometry::restore(stored, screen));
        QCOMPARE(reopened.geometry().x() >= 0, true);
    }

    void themeChangeSwapsToolbarIcons()
    {
        MainWindow window;
        overrideColorScheme(ColorScheme::Dark);
        QEvent themeChange(QEvent::ThemeChange);
        QApplication::sendEvent(&window, &themeChange);
        QCOMPARE(iconImage(toolbarAction(window, QStringLiteral("Website"))->icon()),
                 fileImage(QStringLiteral("websiteWhiteIcon24.png")));
        QCOMPARE(iconImage(toolbarAction(window, QStringLiteral("About"))->icon()),
                 fileImage(QStringLiteral("AboutWhite24.png")));
        QCOMPARE(iconImage(toolbarAction(window, QStringLiteral("Update"))->icon()),
                 fileImage(QStringLiteral("Update24.png")));
        QCOMPARE(iconImage(window.findChild<QToolButton *>(QStringLiteral("tabResetButton"))->icon()),
                 fileImage(QStringLiteral("_ResetWhite24.png")));

        overrideColorScheme(ColorScheme::Light);
        QApplication::sendEvent(&window, &themeChange);
        QCOMPARE(iconImage(toolbarAction(window, QStringLiteral("About"))->icon()),
                 fileImage(QStringLiteral("About24.png")));
    }

    void themeChangeReachesTheTools()
    {
        MainWindow window;
        overrideColorScheme(ColorScheme::Dark);
        QEvent themeChange(QEvent::ThemeChange);
        QApplication::sendEvent(&window, &themeChange);
        auto *open = window.findChild<QAbstractButton *>(QStringLiteral("loadButton"));
        QVERIFY(open);
        QCOMPARE(iconImage(open->icon()),
                 iconImage(QIcon(QStringLiteral(":/resources/images/_load_extractIconWhite.png"))));
    }

    void toolbarIsReachableByKeyboard_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("what");
        QTest::newRow("F1") << QKeySequence(Qt::Key_F1) << "dialog"
                            << "AboutDialog";
        QTest::newRow("update") << QKeySequence(Qt::ALT | Qt::Key_U) << "dialog"
                                << "CheckUpdateDialog";
        QTest::newRow("website") << QKeySequence(Qt::ALT | Qt::Key_W) << "url" << KivGlobal::websiteUrl().toString();
    }

    void toolbarIsReachableByKeyboard()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, kind);
        QFETCH(QString, what);
        MainWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ShellDialogs::enqueueDialogScript([](QDialog *dialog) { dialog->reject(); });
        QTest::keySequence(&window, keys);
        const auto asked = ShellDialogs::takeQuestions();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().kind, kind);
        QCOMPARE(kind == QLatin1String("url") ? asked.first().title : asked.first().text, what);
    }

    void toolbarActionsOpenTheirDialogsAndPages()
    {
        MainWindow window;
        QString aboutClass;
        ShellDialogs::enqueueDialogScript([&](QDialog *dialog) {
            aboutClass = QString::fromLatin1(dialog->metaObject()->className());
            QCOMPARE(dialog->parentWidget(), &window);
        });
        toolbarAction(window, QStringLiteral("About"))->trigger();
        QCOMPARE(aboutClass, QStringLiteral("AboutDialog"));

        toolbarAction(window, QStringLiteral("Website"))->trigger();
        const auto asked = ShellDialogs::takeQuestions();
        QCOMPARE(asked.last().kind, QStringLiteral("url"));
        QCOMPARE(QUrl(asked.last().title), KivGlobal::websiteUrl());
    }

    // A close during a run stops it and closes once it has ended; the exit
    // then empties the program's thumbnail folder and nothing beside it.
    void closeWaitsForTheRunThenRemovesThumbnails()
    {
        QTemporaryDir dir;
        const QString thumbnails = ThumbnailCache::folder();
        const QStringList left{"0.webp", "7.webp", "from-an-older-run.webp"};
        for (const QString &name : left + QStringList{"../beside.txt"}) {
            QFile file(thumbnails + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        ThumbnailCache::setCleanupPending(true);

        MainWindow window;
        window.show();
        auto *form = window.findChild<ConvertImageForm *>();
        KivLocalConvertImage::editSettings([&dir](ConvertSettings &s) {
            s.outputFolder = dir.path();
            s.pdfFileName = QStringLiteral("run.pdf");
        });
        auto *model = form->findChild<QStandardItemModel *>();
        for (int i = 0; i < 3; ++i) {
            const QString path = dir.filePath(QStringLiteral("%1.png").arg(i));
            // Large, so the run is still going when the close comes.
            QImage image(4000, 3000, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            QVERIFY(image.save(path));
            model->appendRow({new QStandardItem(path), new QStandardItem(path)});
        }
        // The run replaces a PDF the user had; closing stops it, which must leave that file as it was.
        const QByteArray before = "%PDF-1.4 the user's own run.pdf";
        QFile existing(dir.filePath(QStringLiteral("run.pdf")));
        QVERIFY(existing.open(QIODevice::WriteOnly) && existing.write(before) == before.size());
        existing.close();
        // The image edition offers other targets too; this is about a PDF run.
        form->findChild<QComboBox *>(QStringLiteral("targetComboBox"))
            ->setCurrentIndex(ConvertTargets::indexOf(QStringLiteral("PDF")));
        ShellDialogs::enqueueAnswer(int(QMessageBox::Yes));
        auto *convert = form->findChild<QToolButton *>(QStringLiteral("convertButton"));
        convert->setEnabled(true);
        convert->click();
        QVERIFY(form->isConversionRunning());

        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!form->isConversionRunning());
        const QList<ShellDialogs::Question> questions = ShellDialogs::takeQuestions();
        QCOMPARE(questions.value(0).text, QStringLiteral("Confirm overwrite"));
        for (const ShellDialogs::Question &question : questions.mid(1))
            QVERIFY2(question.kind != QLatin1String("message"), qPrintable(question.text));
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), before);
        QCOMPARE(QDir(thumbnails).entryList(QDir::Files), QStringList());
        QVERIFY(QFileInfo::exists(thumbnails + QStringLiteral("../beside.txt")));
        QVERIFY(!ThumbnailCache::cleanupPending());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
