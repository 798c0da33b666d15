#pragma once

#include <QObject>
#include <QThread>

// Lets go of a worker thread its owner no longer wants without an unbounded
// wait: asks it to stop, gives it msecs to end and deletes it. A thread still
// busy then (inside a library call that cannot be interrupted) is cut loose:
// its signals reach no one and it deletes itself when it ends, so its run()
// must work on its own copies. Worker needs requestStop().
template<typename Worker> void releaseWorker(Worker *thread, int msecs = 2000)
{
    if (!thread)
        return;
    thread->requestStop();
    QObject::disconnect(thread, nullptr, nullptr, nullptr);
    if (thread->wait(msecs)) {
        delete thread;
        return;
    }
    thread->setParent(nullptr);
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
}
