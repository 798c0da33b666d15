#include "cocoacode.h"
#include "imagemagickutil.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "testenvironment.h"
#include "testimages.h"
#include "toolsettings.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestShellHelpers : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestEnvironment::isolate(); }
    void cleanup() { ShellDialogs::setScripted(false); }

    void folderForExplorer_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trailing backslash") << "C:\\Out\\"
                                            << "C:\\Out";
        QTest::newRow("trailing slash") << "/tmp/out/"
                                        << "/tmp/out";
        QTest::newRow("only one removed") << "/tmp/out//"
                                          << "/tmp/out/";
        QTest::newRow("plain") << "/tmp/out"
                               << "/tmp/out";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("root stays") << "/"
                                    << "/";
    }

    void folderForExplorer()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(ShellHelpers::folderForExplorer(path), expected);
    }

    void openFolderGoesToTheDesktop()
    {
        ShellDialogs::setScripted(true);
        ShellHelpers::openFolder(QStringLiteral("/tmp/out/"), nullptr);
        const auto asked = ShellDialogs::takeQuestions();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().kind, QStringLiteral("url"));
        QCOMPARE(asked.first().title, QStringLiteral("file:///tmp/out"));
    }

    void folderPickerReportsChoiceOrCancel()
    {
        ShellDialogs::setScripted(true);
        ShellDialogs::enqueueAnswer(QString());
        ShellDialogs::enqueueAnswer(QStringLiteral("/tmp"));
        QTemporaryDir start;
        CocoaCode picker;
        QSignalSpy spy(&picker, &CocoaCode::folderSelected);
        picker.pickFolder(start.path());
        picker.pickFolder(start.path());
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).toString(), QString());
        QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("/tmp"));
        const auto asked = ShellDialogs::takeQuestions();
        QCOMPARE(asked.first().title, QStringLiteral("Select folder ..."));
        QCOMPARE(asked.first().text, start.path());
    }

    void loadImageTurnsPhotosUpright()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sideways photo é.jpg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(TestImages::sidewaysJpeg());
        file.close();

        QImage image;
        QVERIFY(ImageMagickUtil::loadImage(path, image));
        QCOMPARE(image.size(), QSize(20, 40));
        QVERIFY(qRed(image.pixel(10, 5)) > 200 && qBlue(image.pixel(10, 5)) < 60);
        QVERIFY(qBlue(image.pixel(10, 35)) > 200 && qRed(image.pixel(10, 35)) < 60);
    }

    void loadImageRejectsNonImages()
    {
        QTemporaryDir dir;
        QImage image(3, 3, QImage::Format_RGB32);
        QVERIFY(!ImageMagickUtil::loadImage(dir.path(), image));
        QCOMPARE(image.size(), QSize(3, 3));
        QFile text(dir.filePath(QStringLiteral("notes.png")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not an image");
        text.close();
        QVERIFY(!ImageMagickUtil::loadImage(text.fileName(), image));
        QVERIFY(!ImageMagickUtil::loadImage(dir.filePath(QStringLiteral("missing.png")), image));
    }

    void dialogsStartInAFolderThatExists_data()
    {
        QTest::addColumn<QString>("start"); // relative to a scratch folder; "~" is the home folder
        QTest::addColumn<QString>("expected");
        QTest::newRow("existing folder") << "here"
                                         << "here";
        QTest::newRow("existing file") << "here/file.pdf"
                                       << "here/file.pdf";
        QTest::newRow("missing folder") << "here/Pictures"
                                        << "here";
        QTest::newRow("missing branch") << "here/gone/deeper/still"
                                        << "here";
        QTest::newRow("nothing") << ""
                                 << "~";
        QTest::newRow("no such drive") << "?:/nowhere"
                                       << "~";
    }

    void dialogsStartInAFolderThatExists()
    {
        QFETCH(QString, start);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("here")));
        QFile file(dir.filePath(QStringLiteral("here/file.pdf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const auto resolve = [&dir](const QString &path) {
            if (path == QLatin1String("~"))
                return QDir::homePath();
            return path.isEmpty() || path.contains(QLatin1Char(':')) ? path : dir.filePath(path);
        };
        ShellDialogs::setScripted(true);
        ShellDialogs::enqueueAnswer(QString());
        ShellDialogs::enqueueAnswer(QString());
        ShellDialogs::getExistingDirectory(nullptr, QStringLiteral("folder"), resolve(start));
        ShellDialogs::getOpenFileName(nullptr, QStringLiteral("file"), resolve(start), QString());
        const auto asked = ShellDialogs::takeQuestions();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.at(0).text, resolve(expected));
        QCOMPARE(asked.at(1).text, resolve(expected));
    }

    void saveDialogKeepsTheSuggestedName()
    {
        QTemporaryDir dir;
        ShellDialogs::setScripted(true);
        ShellDialogs::enqueueAnswer(QString());
        ShellDialogs::getSaveFileName(nullptr, QStringLiteral("save"), dir.filePath(QStringLiteral("gone/out.pdf")),
                                      QString());
        QCOMPARE(ShellDialogs::takeQuestions().value(0).text, dir.filePath(QStringLiteral("out.pdf")));
    }

    void settingsReadBack()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("neg"), -1);
        settings.setValue(QStringLiteral("big"), 7);
        settings.setValue(QStringLiteral("ok"), 4);
        settings.setValue(QStringLiteral("text"), QStringLiteral("abc"));
        QCOMPARE(ToolSettings::readIndex(settings, QStringLiteral("neg"), 0, 2), 0);
        QCOMPARE(ToolSettings::readIndex(settings, QStringLiteral("big"), 1, 4), 1);
        QCOMPARE(ToolSettings::readIndex(settings, QStringLiteral("ok"), 1, 4), 4);
        QCOMPARE(ToolSettings::readIndex(settings, QStringLiteral("text"), 1, 4), 0); // unconvertible reads 0
        QCOMPARE(ToolSettings::readIndex(settings, QStringLiteral("missing"), 1, 4), 1);

        settings.setValue(QStringLiteral("gone"), dir.filePath(QStringLiteral("deleted")));
        settings.setValue(QStringLiteral("here"), dir.path());
        QCOMPARE(ToolSettings::readFolder(settings, QStringLiteral("gone"), QStringLiteral("/fallback")),
                 QStringLiteral("/fallback"));
        QCOMPARE(ToolSettings::readFolder(settings, QStringLiteral("here"), QStringLiteral("/fallback")), dir.path());
        QCOMPARE(ToolSettings::readFolder(settings, QStringLiteral("missing"), QStringLiteral("/fallback")),
                 QStringLiteral("/fallback"));
        // An empty path would name the working folder, which always exists.
        settings.setValue(QStringLiteral("empty"), QString());
        QCOMPARE(ToolSettings::readFolder(settings, QStringLiteral("empty"), QStringLiteral("/fallback")),
                 QStringLiteral("/fallback"));
    }
};

QTEST_MAIN(TestShellHelpers)
#include "tst_shellhelpers.moc"
