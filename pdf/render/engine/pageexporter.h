#pragma once

#include "pageencoderqueue.h"
#include "pageimageformat.h"

#include <QSize>
#include <QString>

#include <memory>

class QPdfDocument;

// Writes pages of one loaded document as image files: renders on the calling
// thread and encodes on encoder threads, so both overlap.
class PageExporter
{
public:
    struct Page {
        int tag = 0;
        int page = 0; // 0-based
        QString fileName;
        PageImageFormat format = PageImageFormat::Jpg;
        int scaleIndex = 0; // 0..4 => factor 1..5
    };

    // `done` is called once per page, on any thread.
    explicit PageExporter(PageEncoderQueue::Done done);
    ~PageExporter();
    PageExporter(const PageExporter &) = delete;
    PageExporter &operator=(const PageExporter &) = delete;

    // Bounds the images waiting for an encoder; takes effect for the first page.
    void setBudget(qint64 bytes, int encoderThreads);
    void exportPage(QPdfDocument &document, const Page &page);
    // Waits until every page handed over is written.
    void finish();

    // Why `page` cannot be exported from `document`, or an empty string.
    static QString blocker(const QPdfDocument &document, int page, int scaleIndex, PageImageFormat format);

private:
    const PageEncoderQueue::Done done;
    qint64 budgetBytes;
    int encoderThreads;
    std::unique_ptr<PageEncoderQueue> queue;
};
