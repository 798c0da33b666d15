#include "pdfmanageraddpagethread.h"

#include "pagethumbnails.h"
#include "pdfmanagerglobal.h"

PdfManagerAddPageThread::PdfManagerAddPageThread(const QString &pdfPath, QSize thumbnailBox, int generation,
                                                 qint64 thumbnailBytes, QObject *parent)
    : QThread(parent)
    , pdfPath(pdfPath)
    , thumbnailBox(thumbnailBox)
    , loadGeneration(generation)
    , thumbnailBytes(thumbnailBytes)
{
}

void PdfManagerAddPageThread::run()
{
    if (stopFlag)
        return;
    setPriority(QThread::HighPriority);

    PdfManagerGlobal::setCurrentPdfPath(pdfPath);
    listPageThumbnails(
        {pdfPath, pdfPassword}, {thumbnailBox, thumbnailBytes, {}}, stopFlag,
        [this](const PdfPageListing &listing) {
            // A stopped load has been replaced; the shared values are the newer load's.
            if (stopFlag)
                return;
            if (listing.problem.failed())
                emit loadPagesFailed(listing.problem);
            PdfManagerGlobal::setPageSize(listing.pageSize);
            PdfManagerGlobal::setPageCount(listing.pageCount);
            emit loadPagesStart();
        },
        [this](int pageNumber) { emit loadPagesProgress(pageNumber); },
        [this](int firstPage, const QList<QByteArray> &thumbnails) {
            emit pagesLoaded(loadGeneration, firstPage, thumbnails);
        });
    if (stopFlag)
        emit loadPagesTerminated();
    emit loadPagesFinish();
}
