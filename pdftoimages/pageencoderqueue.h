#pragma once

#include "pageexport.h"

#include <QImage>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Flattens rendered pages onto white and writes them on worker threads while
// the caller renders the next page.
// The number and total size of images in flight are bounded so that memory
// stays flat however many pages are exported.
class PageEncoderQueue
{
public:
    struct Failure {
        int position;
        PageExportFailure failure;
    };

    PageEncoderQueue(PageImageFormat format, int threadCount, int maxImages, qint64 maxBytes);
    ~PageEncoderQueue();
    PageEncoderQueue(const PageEncoderQueue &) = delete;
    PageEncoderQueue &operator=(const PageEncoderQueue &) = delete;

    // Blocks until an image of `bytes` may be rendered and handed over.
    void waitForRoom(qint64 bytes);
    // `rendered` is a page as QPdfDocument::render returns it.
    void push(int position, int page, const QString &fileName, QImage rendered);
    // Waits until every image handed over is written; returns the failures.
    std::vector<Failure> finish();

private:
    struct Task {
        int position;
        int page;
        QString fileName;
        QImage image;
    };

    void work();
    bool hasRoom(qint64 bytes) const;

    const PageImageFormat m_format;
    const int m_maxImages;
    const qint64 m_maxBytes;
    std::mutex m_mutex;
    std::condition_variable m_taskAdded;
    std::condition_variable m_taskDone;
    std::deque<Task> m_tasks;
    int m_imagesInFlight = 0;
    qint64 m_bytesInFlight = 0;
    bool m_closing = false;
    std::vector<Failure> m_failures;
    std::vector<std::thread> m_threads;
};
