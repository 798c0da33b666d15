#include "splitpdfaddpagethread.h"

#include "pagethumbnails.h"

SplitPDFAddPageThread::SplitPDFAddPageThread(const PdfInput &source, QSize thumbnailSize, int generation,
                                             qint64 thumbnailBytes, QObject *parent)
    : QThread(parent)
    , source(source)
    , thumbnailSize(thumbnailSize)
    , generation(generation)
    , thumbnailBytes(thumbnailBytes)
{
}

void SplitPDFAddPageThread::run()
{
    if (stopRequested)
        return;
    setPriority(QThread::HighPriority);
    listPageThumbnails(
        source, {thumbnailSize, thumbnailBytes, {}}, stopRequested,
        [this](const PdfPageListing &listing) {
            if (listing.problem.failed())
                emit loadPagesFailed(generation, listing.problem);
            emit loadPagesStart(generation, listing.pageCount);
        },
        [](int) {},
        [this](int firstPage, const QList<QByteArray> &thumbnails) {
            emit pagesReady(generation, firstPage, thumbnails);
        });
    emit loadPagesFinish(generation);
}
