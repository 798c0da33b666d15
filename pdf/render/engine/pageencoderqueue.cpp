#include "pageencoderqueue.h"

#include "pageexporttext.h"
#include "pageimagewriter.h"

#include <QDir>

PageEncoderQueue::PageEncoderQueue(int threadCount, int maxImages, qint64 maxBytes, Done done)
    : m_maxImages(qMax(1, maxImages))
    , m_maxBytes(maxBytes)
    , m_done(std::move(done))
{
    for (int i = 0; i < qMax(1, threadCount); ++i)
        m_threads.emplace_back(&PageEncoderQueue::work, this);
}

PageEncoderQueue::~PageEncoderQueue()
{
    finish();
}

bool PageEncoderQueue::hasRoom(qint64 bytes) const
{
    // A single image larger than the byte budget still goes through, alone.
    return m_imagesInFlight == 0 || (m_imagesInFlight < m_maxImages && m_bytesInFlight + bytes <= m_maxBytes);
}

void PageEncoderQueue::waitForRoom(qint64 bytes)
{
    std::unique_lock lock(m_mutex);
    m_taskDone.wait(lock, [&] { return hasRoom(bytes); });
}

void PageEncoderQueue::push(int tag, int page, const QString &fileName, PageImageFormat format, QImage rendered)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_imagesInFlight;
        m_bytesInFlight += rendered.sizeInBytes();
        m_tasks.push_back({tag, page, fileName, format, std::move(rendered)});
    }
    m_taskAdded.notify_one();
}

void PageEncoderQueue::finish()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_taskAdded.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
    m_threads.clear();
}

void PageEncoderQueue::work()
{
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_taskAdded.wait(lock, [this] { return m_closing || !m_tasks.empty(); });
        if (m_tasks.empty())
            return;
        Task task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();

        const qint64 bytes = task.image.sizeInBytes();
        // The encoders flatten the page onto white row by row as they go:
        // rendering stays the only work on the caller's thread, and the page
        // is read once.
        const QString error = writePageImage(std::move(task.image), task.format, task.fileName);
        QString reason;
        if (!error.isEmpty())
            reason = PageExportText::tr("Page %1 could not be saved as %2: %3.")
                         .arg(task.page + 1)
                         .arg(QDir::toNativeSeparators(task.fileName), error);
        m_done(task.tag, reason);

        lock.lock();
        --m_imagesInFlight;
        m_bytesInFlight -= bytes;
        lock.unlock();
        m_taskDone.notify_all();
    }
}
