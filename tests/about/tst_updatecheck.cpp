#include "checkupdatedialog.h"
#include "shelldialogs.h"
#include "testenvironment.h"
#include "updateinfo.h"

#include <QLabel>
#include <QNetworkProxy>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

const QString noUpdates = QStringLiteral("There are no software updates available at this time.");

QByteArray httpResponse(const QByteArray &status, const QByteArray &body)
{
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

// Answers every request on 127.0.0.1 with one canned response, or never
// answers when the response is empty.
class UpdateServer : public QObject
{
public:
    explicit UpdateServer(QByteArray response)
        : m_response(std::move(response))
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }

    QUrl site() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())); }
    QByteArray requestLine() const { return m_request.left(m_request.indexOf("\r\n")); }

private:
    void serve(QTcpSocket *socket)
    {
        m_request += socket->readAll();
        if (!m_request.contains("\r\n\r\n") || m_response.isEmpty())
            return;
        socket->write(m_response);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_response;
    QByteArray m_request;
};

template<typename T> T *child(QWidget *dialog, const char *name)
{
    T *widget = dialog->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("missing child %s", name);
    return widget;
}

QString message(QWidget *dialog)
{
    return child<QLabel>(dialog, "messageLabel")->text();
}

} // namespace

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestEnvironment::isolate();
        // A proxy from the environment must not stand between us and 127.0.0.1.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        ShellDialogs::setScripted(true);
    }

    void parseAndCompare_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("subMinor");
        QTest::addColumn<bool>("newer"); // than the installed 1.3.0

        // Installed: 1.3.0.
        const auto row = [](const char *name, const char *body, int major, int minor, int subMinor, bool newer) {
            QTest::newRow(name) << QByteArray(body) << major << minor << subMinor << newer;
        };
        row("next sub-minor", "majorVersion=1;minorVersion=3;subMinorVersion=1", 1, 3, 1, true);
        row("older minor, larger sub-minor", "majorVersion=1;minorVersion=2;subMinorVersion=9", 1, 2, 9, false);
        row("same version", "majorVersion=1;minorVersion=3;subMinorVersion=0", 1, 3, 0, false);
        row("next minor", "majorVersion=1;minorVersion=4;subMinorVersion=0", 1, 4, 0, true);
        row("next major, smaller minor", "majorVersion=2;minorVersion=0;subMinorVersion=0", 2, 0, 0, true);
        row("older major, larger minor", "majorVersion=0;minorVersion=9;subMinorVersion=9", 0, 9, 9, false);
        row("major alone", "majorVersion=2", 2, 0, 0, true);
        row("order is free", "subMinorVersion=5;majorVersion=1;minorVersion=3", 1, 3, 5, true);
        row("CR LF lines", "majorVersion=1;\r\nminorVersion=4;\r\nsubMinorVersion=2\r\n", 1, 4, 2, true);
        row("LF-only lines", "majorVersion=1;\nminorVersion=4;\nsubMinorVersion=2\n", 1, 0, 0, false);
        row("capital M ignored", "MajorVersion=9;minorVersion=3;subMinorVersion=1", 0, 3, 1, false);
        row("last value wins", "majorVersion=9;minorVersion=3;majorVersion=1", 1, 3, 0, false);
        row("garbage value reads 0", "majorVersion=x1;minorVersion=3;subMinorVersion=1", 0, 3, 1, false);
        row("spaces around = break the key", "majorVersion = 2;minorVersion=3;subMinorVersion=1", 0, 3, 1, false);
        row("split at the first =", "majorVersion=2=3;minorVersion==1", 0, 0, 0, false);
        row("unknown keys, bare words, UTF-8", "note=Größe;hello;;majorVersion=1;minorVersion=3;subMinorVersion=7;", 1,
            3, 7, true);
        row("HTML error page", "<html><body>404 Not Found</body></html>", 0, 0, 0, false);
    }

    void parseAndCompare()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, subMinor);
        QFETCH(bool, newer);

        const PublishedVersion version = parseUpdateFile(body);
        QCOMPARE(version.major, major);
        QCOMPARE(version.minor, minor);
        QCOMPARE(version.subMinor, subMinor);
        QCOMPARE(isNewer(version, 1, 3, 0), newer);
    }

    void answersFromServer_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<QString>("expectedMessage");
        QTest::addColumn<QString>("expectedButton");

        QTest::newRow("newer") << httpResponse("200 OK", "majorVersion=1;minorVersion=3;subMinorVersion=1")
                               << QStringLiteral("Version 1.3.1 is available to download.")
                               << QStringLiteral("Download update");
        QTest::newRow("older") << httpResponse("200 OK", "majorVersion=1;minorVersion=2;subMinorVersion=9") << noUpdates
                               << QStringLiteral("Visit Website");
        QTest::newRow("not found") << httpResponse("404 Not Found", "<html>Not Found</html>") << noUpdates
                                   << QStringLiteral("Visit Website");
        QTest::newRow("not HTTP at all") << QByteArray("garbage\r\n\r\n") << noUpdates
                                         << QStringLiteral("Visit Website");
    }

    // Both answers send the user to the product page.
    void answersFromServer()
    {
        QFETCH(QByteArray, response);
        QFETCH(QString, expectedMessage);
        QFETCH(QString, expectedButton);

        UpdateServer server(response);
        QWidget host;
        auto *dialog = new CheckUpdateDialog(&host, server.site());
        dialog->show();
        QTRY_COMPARE(message(dialog), expectedMessage);
        auto *download = child<QPushButton>(dialog, "downloadButton");
        QCOMPARE(download->text(), expectedButton);
        QVERIFY(download->isVisible());

        ShellDialogs::takeQuestions();
        QTest::mouseClick(download, Qt::LeftButton);
        const QList<ShellDialogs::Question> asked = ShellDialogs::takeQuestions();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().kind, QStringLiteral("url"));
        QCOMPARE(asked.first().title, QStringLiteral("http://www.corvane.com/Folioforge.php"));
    }

    void serverDownAnswersNoUpdates()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();

        QWidget host;
        auto *dialog = new CheckUpdateDialog(&host, QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)));
        QTRY_COMPARE(message(dialog), noUpdates);
        QCOMPARE(child<QPushButton>(dialog, "downloadButton")->text(), QStringLiteral("Visit Website"));
        QVERIFY(!child<QPushButton>(dialog, "downloadButton")->isHidden());
    }

    void silentServerTimesOut()
    {
        UpdateServer server{QByteArray()};
        QWidget host;
        auto *dialog = new CheckUpdateDialog(&host, server.site());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Check Update"));
        QCOMPARE(child<QLabel>(dialog, "installVersionLabel")->text(), QStringLiteral("Installed Version: 1.3.0"));
        QVERIFY(child<QPushButton>(dialog, "downloadButton")->isHidden());
        QVERIFY(!child<QLabel>(dialog, "label_4")->pixmap().isNull());
        QTRY_COMPARE(server.requestLine(), QByteArray("GET /Folioforge/update.txt HTTP/1.1"));
        QTest::qWait(1000);
        QCOMPARE(message(dialog), QStringLiteral("Checking for update ..."));
        QTRY_COMPARE_WITH_TIMEOUT(message(dialog), noUpdates, 20000);
    }

    void closeReleasesDialog_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Close button") << false;
        QTest::newRow("Escape") << true;
    }

    // Closing while the request is still under way must neither crash nor
    // leave the dialog behind.
    void closeReleasesDialog()
    {
        QFETCH(bool, byEscape);
        UpdateServer server{QByteArray()};
        QWidget host;
        QPointer<CheckUpdateDialog> dialog = new CheckUpdateDialog(&host, server.site());
        QTimer::singleShot(0, dialog, [&] {
            if (byEscape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                QTest::mouseClick(child<QPushButton>(dialog, "closeButton"), Qt::LeftButton);
        });
        QCOMPARE(dialog->exec(), int(QDialog::Rejected));
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
