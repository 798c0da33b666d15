#include "pagethumbnails.h"

#include "pagerendering.h"

#include <QPdfDocument>

void listPageThumbnails(const QString &path, QSize box, const std::atomic_bool &stop,
                        const std::function<void(const PdfPageListing &)> &listed,
                        const std::function<void(int pageNumber)> &beforePage,
                        const std::function<void(int page, const QImage &thumbnail)> &pageReady)
{
    QPdfDocument document;
    document.load(path);
    PdfPageListing listing;
    listing.pageCount = document.status() == QPdfDocument::Status::Ready ? document.pageCount() : 0;
    listing.pageSize = document.pagePointSize(0).toSize();
    listed(listing);

    const QSize size = fitIntoBox(listing.pageSize, box);
    for (int page = 0; page < listing.pageCount; ++page) {
        if (stop)
            return;
        beforePage(page + 1);
        pageReady(page, renderPageOnWhite(document, page, size));
    }
}
