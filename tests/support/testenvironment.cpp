#include "testenvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
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

bool fileIsOpen(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    QStringList processes{QStringLiteral("self")};
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        if (line.mid(line.lastIndexOf(')') + 2).split(' ').value(1) == self)
            processes.append(pid);
    }
    for (const QString &process : std::as_const(processes)) {
        QDirIterator links(QStringLiteral("/proc/%1/fd").arg(process), QDir::System | QDir::Files);
        while (links.hasNext()) {
            if (QFile::symLinkTarget(links.next()) == target)
                return true;
        }
    }
    return false;
}

} // namespace TestEnvironment
