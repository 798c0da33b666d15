#pragma once

#include "pageimageformat.h"

#include <QImage>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Writes rendered pages (flattened onto white) on worker threads while the
// caller renders the next page.
// The number and total size of images in flight are bounded so that memory
// stays flat however many pages are exported.
class PageEncoderQueue
{
public:
    // Called on an encoder thread once a page is written (empty reason) or has failed.
    using Done = std::function<void(int tag, const QString &reason)>;

    PageEncoderQueue(int threadCount, int maxImages, qint64 maxBytes, Done done);
    ~PageEncoderQueue();
    PageEncoderQueue(const PageEncoderQueue &) = delete;
    PageEncoderQueue &operator=(const PageEncoderQueue &) = delete;

    // Blocks until an image of `bytes` may be rendered and handed over.
    void waitForRoom(qint64 bytes);
    // `rendered` is a page as QPdfDocument::render returns it.
    void push(int tag, int page, const QString &fileName, PageImageFormat format, QImage rendered);
    // Waits until every image handed over is written.
    void finish();

private:
    struct Task {
        int tag;
        int page;
        QString fileName;
        PageImageFormat format;
        QImage image;
    };

    void work();
    bool hasRoom(qint64 bytes) const;

    const int m_maxImages;
    const qint64 m_maxBytes;
    std::mutex m_mutex;
    std::condition_variable m_taskAdded;
    std::condition_variable m_taskDone;
    std::deque<Task> m_tasks;
    int m_imagesInFlight = 0;
    qint64 m_bytesInFlight = 0;
    bool m_closing = false;
    const Done m_done;
    std::vector<std::thread> m_threads;
};
