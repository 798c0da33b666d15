#pragma once

#include "pagestream.h"

#include <QList>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>

// Prepares the pages of a run on the shared thread pool, ahead of the writer,
// and hands them out in list order. What is in flight is bounded in bytes:
// a page starts only when its estimated peak fits into what the pages being
// prepared and the prepared pages not yet taken leave of the budget (a page
// larger than the whole budget runs alone).
class PageQueue
{
public:
    struct Work {
        std::function<qint64(int index)> cost;        // peak bytes the preparation of page `index` may hold
        std::function<PageStream(int index)> prepare; // runs on a pool thread
    };

    PageQueue(int count, Work work, int threads, qint64 budget);
    // Starts nothing more and waits for the pages being prepared.
    ~PageQueue();
    PageQueue(const PageQueue &) = delete;
    PageQueue &operator=(const PageQueue &) = delete;

    // Page `index`: 0, 1, 2 ... in turn. Waits until it is prepared.
    PageStream take(int index);

private:
    void startMore(std::unique_lock<std::mutex> &lock);
    void finished(int index, qint64 cost, PageStream page);

    const int m_count;
    const Work m_work;
    const int m_threads;
    const qint64 m_budget;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_next = 0;          // the next page to start
    qint64 m_nextCost = -1;  // its cost, once estimated
    int m_taken = 0;         // pages handed out
    int m_running = 0;       // pages being prepared
    qint64 m_reserved = 0;   // bytes of the pages being prepared and of those ready
    std::map<int, PageStream> m_ready;
};
