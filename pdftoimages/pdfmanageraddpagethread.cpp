#include "pdfmanageraddpagethread.h"

#include "pagethumbnails.h"
#include "pdfmanagerglobal.h"

PdfManagerAddPageThread::PdfManagerAddPageThread(const QString &pdfPath, QSize thumbnailBox, int generation,
                                                 QObject *parent)
    : QThread(parent)
    , pdfPath(pdfPath)
    , thumbnailBox(thumbnailBox)
    , loadGeneration(generation)
{
}

void PdfManagerAddPageThread::run()
{
    if (stopFlag)
        return;
    setPriority(QThread::HighPriority);

    PdfManagerGlobal::setCurrentPdfPath(pdfPath);
    listPageThumbnails(
        {pdfPath, pdfPassword}, thumbnailBox, stopFlag,
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
        [this](int page, const QImage &thumbnail) { emit pageLoaded(loadGeneration, page, thumbnail); });
    if (stopFlag)
        emit loadPagesTerminated();
    emit loadPagesFinish();
}
