#include "splitpdfaddpagethread.h"

#include "pagethumbnails.h"

SplitPDFAddPageThread::SplitPDFAddPageThread(const PdfInput &source, QSize thumbnailSize, int generation,
                                             QObject *parent)
    : QThread(parent)
    , source(source)
    , thumbnailSize(thumbnailSize)
    , generation(generation)
{
}

void SplitPDFAddPageThread::run()
{
    if (stopRequested)
        return;
    setPriority(QThread::HighPriority);
    listPageThumbnails(
        source, thumbnailSize, stopRequested,
        [this](const PdfPageListing &listing) {
            if (listing.problem.failed())
                emit loadPagesFailed(generation, listing.problem);
            emit loadPagesStart(generation, listing.pageCount);
        },
        [](int) {}, [this](int page, const QImage &thumbnail) { emit pageReady(generation, page, thumbnail); });
    emit loadPagesFinish(generation);
}
