#pragma once

#include "renderprotocol.h"

#include <QList>
#include <QObject>
#include <QPdfDocument>
#include <QSize>
#include <QString>

#include <atomic>
#include <deque>
#include <memory>
#include <vector>

class QEventLoop;
class RenderProcess;

struct RenderDocumentInfo {
    bool loaded = false;
    int pageCount = 0;
    QSize pageSize; // first page's size in points, rounded
    QPdfDocument::Error loadError = QPdfDocument::Error::None;
};

// How long a worker may stay silent before it is taken for stuck and killed.
// Generous: a complex page at 500 % may take many seconds.
struct RenderTimeouts {
    int loadMs = 15000;
    int pageMs = 60000;
};

// Spreads the pages of one document over render workers. The first worker
// loads the document; requests added later are handed out a few at a time to
// whichever worker is free, so answers come back close to request order. A
// worker that crashes or stays silent too long is killed: the request it was
// working on is lost, its other requests go to a fresh worker.
class PageJobRunner : public QObject
{
    Q_OBJECT
public:
    explicit PageJobRunner(const QString &pdfPath, RenderTimeouts timeouts = {}, QObject *parent = nullptr);
    ~PageJobRunner() override;

    // Workers for a job of `pages` pages: one per core up to 8 and the page
    // count, one for tiny jobs; `limit` > 0 caps it further.
    static int workerCountFor(int pages, int limit = 0);

    // The password that opens the document; set before start().
    void setPassword(const QString &password) { this->password = password; }
    // Work nobody waits for page by page (a list's pictures) runs in workers
    // below the program's priority; set before start().
    void setBackground(bool background) { this->background = background; }
    // Starts the first worker, which loads the document.
    void start();
    // Queues requests of one command type; each gets the next tag (0, 1, ...)
    // written in front of its body. `workerCount` workers share the queue.
    // Once the document has been given up on, new requests are lost.
    void addRequests(quint8 type, const QList<QByteArray> &bodies, int workerCount);
    // Kills every worker at once; only abandoned() follows.
    void stop();
    // Lets the workers end by themselves and ends exec().
    void finish();
    // Runs events until finish(), or until `stop` is set (then stops the
    // workers). Returns false when stopped.
    bool exec(const std::atomic_bool &stop);

signals:
    // Once: from the first worker to load the document, or not loaded when it
    // died or hung while loading (then every request is lost).
    void opened(const RenderDocumentInfo &info);
    // `body` is the whole reply body, tag included.
    void replied(int tag, const QByteArray &body);
    void lost(int tag);
    // Requests on a worker that was killed, lost or not; their work may be half done.
    void abandoned(const QList<int> &tags);

private:
    struct Worker {
        RenderProcess *process = nullptr;
        bool opened = false;
        bool alive = true;
        int begun = -1;
        std::deque<int> inFlight;
    };
    struct Request {
        quint8 type;
        QByteArray body;
    };

    Worker &spawn();
    void dispatch(Worker &worker);
    void updateWatchdog(Worker &worker);
    void onFrame(Worker &worker, const RenderProtocol::Frame &frame);
    void onDied(Worker &worker);
    void loseEverything();
    int aliveCount() const;

    const QString pdfPath;
    QString password;
    const RenderTimeouts timeouts;
    std::vector<std::unique_ptr<Worker>> workers;
    QList<Request> requests;
    std::deque<int> queue;
    int targetWorkers = 1;
    bool background = false;
    int restarts = 0;
    bool infoKnown = false;
    bool gaveUp = false;
    bool stopped = false;
    bool finished = false;
    QEventLoop *loop = nullptr;
};
