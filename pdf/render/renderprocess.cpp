#include "renderprocess.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

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

void RenderProcess::start()
{
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
