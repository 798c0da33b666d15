#include "pagethumbnails.h"

#include "pagerendering.h"
#include "pdfopencheck.h"

#include <QDataStream>
#include <QIODevice>
#include <QThread>
#include <QTimer>

#include <map>

namespace {

// Pages asked for ahead of the next one to hand over: enough to keep every
// worker busy, few enough that little is drawn past the byte budget.
constexpr int requestWindow = 32;
// A batch goes when it is this long or this old, whichever comes first.
constexpr int batchPages = 256;
constexpr int batchMs = 50;
// Pages beyond the budget cost no drawing; they are paced so the receiving
// thread can lay them out between its other work.
constexpr int undrawnBatchPages = 2048;
constexpr int undrawnIntervalMs = 10;

class ThumbnailListing
{
public:
    ThumbnailListing(const PdfInput &input, const ThumbnailListingOptions &options, const std::atomic_bool &stop,
                     const std::function<void(int)> &beforePage,
                     const std::function<void(int, const QList<QByteArray> &)> &pagesReady)
        : options(options)
        , stop(stop)
        , beforePage(beforePage)
        , pagesReady(pagesReady)
        , runner(input.path, options.timeouts)
    {
        runner.setPassword(input.password);
        runner.setBackground(true);
        batchTimer.setSingleShot(true);
        batchTimer.setInterval(batchMs);
        QObject::connect(&batchTimer, &QTimer::timeout, &runner, [this] { flush(); });
        QObject::connect(&runner, &PageJobRunner::replied, &runner, [this](int tag, const QByteArray &body) {
            QDataStream stream(body);
            qint32 skippedTag = 0;
            QByteArray encoded;
            stream >> skippedTag >> encoded;
            arrived[tag] = encoded;
            deliver();
        });
        QObject::connect(&runner, &PageJobRunner::lost, &runner, [this](int tag) {
            arrived[tag] = blank;
            deliver();
        });
    }

    PageJobRunner &workers() { return runner; }

    // The first page's size is known: ask for the first pages.
    void start(const RenderDocumentInfo &info)
    {
        pageCount = info.pageCount;
        workerCount = PageJobRunner::workerCountFor(pageCount);
        QImage white(fitIntoBox(info.pageSize, options.box), QImage::Format_RGB32);
        white.fill(Qt::white);
        blank = encodeThumbnail(white);
        requestMore();
    }

    // After the workers are done: what was handed to beforePage() goes out,
    // then the pages left undrawn.
    void end()
    {
        flush();
        while (next < pageCount && !stop) {
            const int count = qMin(undrawnBatchPages, pageCount - next);
            beforePage(next + count);
            pagesReady(next, QList<QByteArray>(count));
            next += count;
            if (next < pageCount)
                QThread::msleep(undrawnIntervalMs);
        }
    }

private:
    bool overBudget() const { return options.byteBudget > 0 && deliveredBytes >= options.byteBudget; }
    int pagesToDraw() const { return options.drawAhead > 0 ? qMin(pageCount, options.drawAhead) : pageCount; }

    void requestMore()
    {
        QList<QByteArray> bodies;
        for (; !overBudget() && requested < pagesToDraw() && requested - next < requestWindow; ++requested) {
            QByteArray body;
            QDataStream out(&body, QIODevice::WriteOnly);
            out << qint32(requested) << options.box;
            bodies.append(body);
        }
        // Tags count requests from 0, so a page's tag is its index.
        if (!bodies.isEmpty())
            runner.addRequests(RenderProtocol::Thumbnail, bodies, workerCount);
        if (next == requested)
            runner.finish();
    }

    void deliver()
    {
        for (auto found = arrived.find(next); found != arrived.end(); found = arrived.find(next)) {
            if (stop) {
                flush();
                return;
            }
            beforePage(next + 1);
            if (batch.isEmpty()) {
                batchFirst = next;
                batchTimer.start();
            }
            deliveredBytes += found->second.size();
            batch.append(found->second);
            arrived.erase(found);
            ++next;
            if (batch.size() >= batchPages)
                flush();
        }
        requestMore();
    }

    void flush()
    {
        batchTimer.stop();
        if (batch.isEmpty())
            return;
        pagesReady(batchFirst, std::exchange(batch, {}));
    }

    const ThumbnailListingOptions options;
    const std::atomic_bool &stop;
    const std::function<void(int)> &beforePage;
    const std::function<void(int, const QList<QByteArray> &)> &pagesReady;
    PageJobRunner runner;
    QTimer batchTimer;
    int pageCount = 0;
    int workerCount = 1;
    int requested = 0;
    int next = 0;
    qint64 deliveredBytes = 0;
    QByteArray blank;
    // Pages answered ahead of their turn wait here.
    std::map<int, QByteArray> arrived;
    QList<QByteArray> batch;
    int batchFirst = 0;
};

} // namespace

void listPageThumbnails(const PdfInput &input, const ThumbnailListingOptions &options, const std::atomic_bool &stop,
                        const std::function<void(const PdfPageListing &)> &listed,
                        const std::function<void(int pageNumber)> &beforePage,
                        const std::function<void(int firstPage, const QList<QByteArray> &thumbnails)> &pagesReady)
{
    // A pipe or a device would hold a worker until its watchdog fires.
    if (const PdfOpenProblem problem = fileProblem(input.path); problem.failed()) {
        listed({0, {}, problem});
        return;
    }
    ThumbnailListing listing(input, options, stop, beforePage, pagesReady);
    PageJobRunner &runner = listing.workers();
    int pageCount = 0;
    QObject::connect(&runner, &PageJobRunner::opened, &runner, [&](const RenderDocumentInfo &info) {
        pageCount = info.pageCount;
        PdfOpenProblem problem;
        if (pageCount == 0 && !stop)
            problem = loadProblem(input, info);
        listed({pageCount, info.pageSize, problem});
        if (pageCount == 0 || stop)
            runner.finish();
        else
            listing.start(info);
    });
    runner.start();
    runner.exec(stop);
    if (pageCount > 0)
        listing.end();
}
