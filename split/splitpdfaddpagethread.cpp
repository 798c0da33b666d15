#include "splitpdfaddpagethread.h"

#include "pagethumbnails.h"

SplitPDFAddPageThread::SplitPDFAddPageThread(const QString &path, QSize thumbnailSize, int generation, QObject *parent)
    : QThread(parent)
    , path(path)
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
        path, thumbnailSize, stopRequested,
        [this](const PdfPageListing &listing) { emit loadPagesStart(generation, listing.pageCount); }, [](int) {},
        [this](int page, const QImage &thumbnail) { emit pageReady(generation, page, thumbnail); });
    emit loadPagesFinish(generation);
}
