#include "pagejobrunner.h"

#include "renderprocess.h"

#include <QDataStream>
#include <QEventLoop>
#include <QIODevice>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

// A few requests queued in each worker keep it busy between answers.
constexpr int requestsPerWorker = 3;
constexpr int maxWorkers = 8;
constexpr int tinyJob = 4;
// Beyond this many killed workers a document is given up on.
constexpr int maxRestarts = 8;
constexpr int stopPollMs = 20;

int tagOf(const QByteArray &body)
{
    QDataStream stream(body);
    qint32 tag = -1;
    stream >> tag;
    return tag;
}

} // namespace

PageJobRunner::PageJobRunner(const QString &pdfPath, RenderTimeouts timeouts, QObject *parent)
    : QObject(parent)
    , pdfPath(pdfPath)
    , timeouts(timeouts)
{
}

PageJobRunner::~PageJobRunner()
{
    stopped = true;
    for (const auto &worker : workers) {
        if (worker->alive)
            worker->process->kill();
    }
}

int PageJobRunner::workerCountFor(int pages, int limit)
{
    int count = pages <= tinyJob ? 1 : qMin(qMin(QThread::idealThreadCount(), maxWorkers), pages);
    if (limit > 0)
        count = qMin(count, limit);
    return qMax(1, count);
}

void PageJobRunner::start()
{
    spawn();
}

PageJobRunner::Worker &PageJobRunner::spawn()
{
    workers.push_back(std::make_unique<Worker>());
    Worker &worker = *workers.back();
    worker.process = new RenderProcess(this);
    connect(worker.process, &RenderProcess::frameReceived, this,
            [this, &worker](const RenderProtocol::Frame &frame) { onFrame(worker, frame); });
    connect(worker.process, &RenderProcess::died, this, [this, &worker] { onDied(worker); });
    worker.process->start(background);
    worker.process->send(RenderProtocol::Open, RenderProtocol::openBody(pdfPath, password));
    updateWatchdog(worker);
    return worker;
}

int PageJobRunner::aliveCount() const
{
    return int(std::count_if(workers.begin(), workers.end(), [](const auto &worker) { return worker->alive; }));
}

void PageJobRunner::addRequests(quint8 type, const QList<QByteArray> &bodies, int workerCount)
{
    for (const QByteArray &body : bodies) {
        const int tag = int(requests.size());
        QByteArray tagged;
        QDataStream out(&tagged, QIODevice::WriteOnly);
        out << qint32(tag);
        requests.append({type, tagged + body});
        // Queued: the caller may be handling an answer and add more from there.
        if (gaveUp)
            QMetaObject::invokeMethod(this, [this, tag] { emit lost(tag); }, Qt::QueuedConnection);
        else
            queue.push_back(tag);
    }
    targetWorkers = qMax(1, workerCount);
    for (const auto &worker : workers) {
        if (worker->alive)
            dispatch(*worker);
    }
    while (!queue.empty() && aliveCount() < targetWorkers)
        dispatch(spawn());
}

void PageJobRunner::dispatch(Worker &worker)
{
    while (worker.alive && !queue.empty() && int(worker.inFlight.size()) < requestsPerWorker) {
        const int tag = queue.front();
        queue.pop_front();
        worker.inFlight.push_back(tag);
        worker.process->send(requests.at(tag).type, requests.at(tag).body);
    }
    updateWatchdog(worker);
}

void PageJobRunner::updateWatchdog(Worker &worker)
{
    if (!worker.alive)
        return;
    if (!worker.opened)
        worker.process->setWatchdog(timeouts.loadMs);
    else
        worker.process->setWatchdog(worker.inFlight.empty() ? 0 : timeouts.pageMs);
}

void PageJobRunner::onFrame(Worker &worker, const RenderProtocol::Frame &frame)
{
    if (frame.type == RenderProtocol::Opened) {
        worker.opened = true;
        updateWatchdog(worker);
        if (infoKnown)
            return;
        infoKnown = true;
        RenderDocumentInfo info;
        QDataStream stream(frame.body);
        qint32 pageCount = 0;
        qint32 error = 0;
        stream >> info.loaded >> pageCount >> info.pageSize >> error;
        info.pageCount = info.loaded ? pageCount : 0;
        info.loadError = QPdfDocument::Error(error);
        emit opened(info);
        return;
    }
    const int tag = tagOf(frame.body);
    if (frame.type == RenderProtocol::Begin) {
        worker.begun = tag;
        return;
    }
    const auto found = std::find(worker.inFlight.begin(), worker.inFlight.end(), tag);
    if (found == worker.inFlight.end())
        return;
    worker.inFlight.erase(found);
    emit replied(tag, frame.body);
    if (!stopped)
        dispatch(worker);
}

void PageJobRunner::onDied(Worker &worker)
{
    worker.alive = false;
    worker.process->deleteLater();
    const QList<int> unfinished(worker.inFlight.begin(), worker.inFlight.end());
    worker.inFlight.clear();
    if (!unfinished.isEmpty())
        emit abandoned(unfinished);
    if (stopped)
        return;
    if (!infoKnown) {
        // The document never loaded: a load that hangs or crashes the engine.
        for (auto it = unfinished.rbegin(); it != unfinished.rend(); ++it)
            queue.push_front(*it);
        infoKnown = true;
        emit opened({});
        loseEverything();
        return;
    }
    // The request it was working on is the one to blame; the others are retried.
    const int culprit = unfinished.contains(worker.begun) ? worker.begun : -1;
    for (auto it = unfinished.rbegin(); it != unfinished.rend(); ++it) {
        if (*it != culprit)
            queue.push_front(*it);
    }
    if (culprit >= 0)
        emit lost(culprit);
    if (stopped)
        return;
    if (++restarts > maxRestarts) {
        loseEverything();
        return;
    }
    if (!queue.empty() && aliveCount() < targetWorkers)
        dispatch(spawn());
}

void PageJobRunner::loseEverything()
{
    gaveUp = true;
    QList<int> tags(queue.begin(), queue.end());
    queue.clear();
    for (const auto &worker : workers) {
        if (!worker->alive)
            continue;
        tags += QList<int>(worker->inFlight.begin(), worker->inFlight.end());
        worker->inFlight.clear();
        worker->alive = false;
        worker->process->kill();
    }
    std::sort(tags.begin(), tags.end());
    for (int tag : std::as_const(tags)) {
        if (stopped)
            return;
        emit lost(tag);
    }
}

void PageJobRunner::stop()
{
    if (stopped)
        return;
    stopped = true;
    QList<int> unfinished;
    for (const auto &worker : workers) {
        if (!worker->alive)
            continue;
        unfinished += QList<int>(worker->inFlight.begin(), worker->inFlight.end());
        worker->alive = false;
        worker->process->kill();
    }
    queue.clear();
    if (!unfinished.isEmpty())
        emit abandoned(unfinished);
    if (loop)
        loop->quit();
}

void PageJobRunner::finish()
{
    finished = true;
    for (const auto &worker : workers) {
        if (worker->alive) {
            worker->alive = false;
            worker->process->closeInput();
        }
    }
    if (loop)
        loop->quit();
}

bool PageJobRunner::exec(const std::atomic_bool &stop)
{
    QEventLoop eventLoop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [this, &stop] {
        if (stop)
            this->stop();
    });
    poll.start(stopPollMs);
    loop = &eventLoop;
    if (!finished && !stopped && !stop)
        eventLoop.exec();
    loop = nullptr;
    if (stop)
        this->stop();
    return !stopped;
}
