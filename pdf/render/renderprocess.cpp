#include "renderprocess.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/resource.h>
#endif

RenderProcess::RenderProcess(QObject *parent)
    : QObject(parent)
    , process(new QProcess(this))
    , watchdog(new QTimer(this))
{
    watchdog->setSingleShot(true);
    // The worker's messages are for developers; the program's own stderr keeps them.
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(process, &QProcess::readyReadStandardOutput, this, &RenderProcess::readFrames);
    connect(process, &QProcess::finished, this, &RenderProcess::fail);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail();
    });
    connect(watchdog, &QTimer::timeout, this, &RenderProcess::fail);
}

RenderProcess::~RenderProcess()
{
    kill();
    // A worker told to finish has answered everything; it need not linger.
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(5000);
    }
}

QString RenderProcess::workerPath()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + QStringLiteral("/folioforge-render.exe");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/folioforge-render");
#endif
}

// A list's pictures are drawn ahead of need on every core: below the
// program's priority they leave the window, and the pictures the user has
// just scrolled to (drawn by a worker of normal priority), a core at once.
// Set before the worker runs, so none of its work escapes it.
void RenderProcess::start(bool background)
{
#ifdef Q_OS_WIN
    process->setCreateProcessArgumentsModifier([background](QProcess::CreateProcessArguments *arguments) {
        if (background)
            arguments->flags |= BELOW_NORMAL_PRIORITY_CLASS;
    });
#else
    process->setChildProcessModifier([background] {
        if (background)
            setpriority(PRIO_PROCESS, 0, getpriority(PRIO_PROCESS, 0) + 5);
    });
#endif
    process->start(workerPath(), {}, QIODevice::ReadWrite | QIODevice::Unbuffered);
}

void RenderProcess::send(quint8 type, const QByteArray &body)
{
    if (!ended)
        process->write(RenderProtocol::encode(type, body));
}

void RenderProcess::setWatchdog(int ms)
{
    if (ms <= 0)
        watchdog->stop();
    else if (!watchdog->isActive() || watchdog->interval() != ms)
        watchdog->start(ms);
}

void RenderProcess::kill()
{
    if (ended)
        return;
    ended = true;
    watchdog->stop();
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        // Reaps it; a killed process ends at once.
        process->waitForFinished(5000);
    }
}

void RenderProcess::closeInput()
{
    if (ended)
        return;
    // Nothing more is expected from it: its exit is no failure.
    ended = true;
    watchdog->stop();
    process->disconnect(this);
    process->closeWriteChannel();
}

void RenderProcess::readFrames()
{
    reader.append(process->readAllStandardOutput());
    RenderProtocol::Frame frame;
    while (!ended && reader.next(frame)) {
        if (watchdog->isActive())
            watchdog->start();
        emit frameReceived(frame);
    }
    if (!ended && reader.isCorrupt())
        fail();
}

void RenderProcess::fail()
{
    if (ended)
        return;
    kill();
    emit died();
}
