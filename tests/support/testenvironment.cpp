#include "testenvironment.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace TestEnvironment {

void isolate()
{
    const QString home = qEnvironmentVariable("HOME");
    // Refuse to wipe anything but the folder CTest made for this test.
    if (home.contains(QLatin1String("/home/")) && home.contains(QLatin1String("tst_"))) {
        QDir(home).removeRecursively();
        QDir().mkpath(home);
        QDir().mkpath(home + QLatin1String("/runtime"));
        QFile::setPermissions(home + QLatin1String("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStandardPaths::setTestModeEnabled(true);
}

QString tool(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("%1 %2 failed: %3")
                                    .arg(program, arguments.join(QLatin1Char(' ')),
                                         QString::fromLocal8Bit(process.readAllStandardError()))),
                     __FILE__, __LINE__);
        return {};
    }
    return process.readAllStandardOutput();
}

} // namespace TestEnvironment
