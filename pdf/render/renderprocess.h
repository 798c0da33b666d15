#pragma once

#include "renderprotocol.h"

#include <QObject>

class QProcess;
class QTimer;

// One render worker process as the program sees it: frames out, frames in,
// and a watchdog that kills the worker when it stays silent while it owes
// an answer.
class RenderProcess : public QObject
{
    Q_OBJECT
public:
    explicit RenderProcess(QObject *parent = nullptr);
    ~RenderProcess() override;

    // The worker executable beside the program's own.
    static QString workerPath();

    // A background worker runs below the program's priority.
    void start(bool background = false);
    void send(quint8 type, const QByteArray &body);
    // 0 switches the watchdog off; otherwise the worker must answer within
    // `ms`, counted afresh from every frame it sends.
    void setWatchdog(int ms);
    // Ends the worker at once; no more signals follow.
    void kill();
    // Lets the worker end by itself once it has read everything sent.
    void closeInput();

signals:
    void frameReceived(const RenderProtocol::Frame &frame);
    // Crashed, exited early, could not start or was killed by the watchdog.
    void died();

private:
    void readFrames();
    void fail();

    QProcess *process = nullptr;
    QTimer *watchdog = nullptr;
    RenderProtocol::FrameReader reader;
    bool ended = false;
};
