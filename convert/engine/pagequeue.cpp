#include "pagequeue.h"

#include <QThreadPool>

PageQueue::PageQueue(int count, Work work, int threads, qint64 budget)
    : m_count(count)
    , m_work(std::move(work))
    , m_threads(qMax(1, threads))
    , m_budget(budget)
{
}

PageQueue::~PageQueue()
{
    std::unique_lock lock(m_mutex);
    m_next = m_count;
    // The pool threads finish what they hold; the decoders bound that time.
    m_changed.wait(lock, [this] { return m_running == 0; });
}

PageStream PageQueue::take(int index)
{
    std::unique_lock lock(m_mutex);
    Q_ASSERT(index == m_taken);
    for (;;) {
        startMore(lock);
        const auto ready = m_ready.find(index);
        if (ready != m_ready.end()) {
            PageStream page = std::move(ready->second);
            m_ready.erase(ready);
            m_reserved -= page.bytes();
            ++m_taken;
            return page;
        }
        m_changed.wait(lock);
    }
}

// The pool runs tasks of its own users too: a page may wait for a free
// thread there, but never more than `threads` of ours run at once, and the
// pages ready to take never run more than twice that far ahead.
void PageQueue::startMore(std::unique_lock<std::mutex> &lock)
{
    while (m_next < m_count && m_running < m_threads && m_next - m_taken < 2 * m_threads) {
        const int index = m_next;
        if (m_nextCost < 0) {
            lock.unlock();
            const qint64 cost = qMax<qint64>(0, m_work.cost(index));
            lock.lock();
            m_nextCost = cost;
        }
        const qint64 cost = m_nextCost;
        if (m_reserved > 0 && m_reserved + cost > m_budget)
            return;
        m_nextCost = -1;
        m_reserved += cost;
        ++m_running;
        ++m_next;
        QThreadPool::globalInstance()->start([this, index, cost] { finished(index, cost, m_work.prepare(index)); });
    }
}

void PageQueue::finished(int index, qint64 cost, PageStream page)
{
    std::lock_guard lock(m_mutex);
    m_reserved += page.bytes() - cost;
    m_ready.emplace(index, std::move(page));
    --m_running;
    m_changed.notify_all();
}
