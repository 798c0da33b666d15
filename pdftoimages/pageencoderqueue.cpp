#include "pageencoderqueue.h"

#include "pageimagewriter.h"
#include "pagerendering.h"

#include <QCoreApplication>
#include <QDir>

PageEncoderQueue::PageEncoderQueue(PageImageFormat format, int threadCount, int maxImages, qint64 maxBytes)
    : m_format(format)
    , m_maxImages(qMax(1, maxImages))
    , m_maxBytes(maxBytes)
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

void PageEncoderQueue::push(int position, int page, const QString &fileName, QImage rendered)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_imagesInFlight;
        m_bytesInFlight += rendered.sizeInBytes();
        m_tasks.push_back({position, page, fileName, std::move(rendered)});
    }
    m_taskAdded.notify_one();
}

std::vector<PageEncoderQueue::Failure> PageEncoderQueue::finish()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_taskAdded.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
    m_threads.clear();
    return std::move(m_failures);
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
        // Flattening here rather than on the rendering thread keeps QtPdf's
        // serialised rendering the only work on the caller's thread.
        const QImage page = flattenOntoWhite(std::move(task.image));
        const QString error = writePageImage(page, m_format, task.fileName);

        lock.lock();
        if (!error.isEmpty()) {
            const QString reason = QCoreApplication::translate("PageExport", "Page %1 could not be saved as %2: %3.")
                                       .arg(task.page + 1)
                                       .arg(QDir::toNativeSeparators(task.fileName), error);
            m_failures.push_back({task.position, {task.page, task.fileName, reason}});
        }
        --m_imagesInFlight;
        m_bytesInFlight -= bytes;
        lock.unlock();
        m_taskDone.notify_all();
    }
}
