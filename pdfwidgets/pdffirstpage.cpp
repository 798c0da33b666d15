#include "pdffirstpage.h"

#include "pagethumbnails.h"

PdfFirstPage readFirstPage(const PdfInput &input, const std::atomic_bool &stop)
{
    PdfFirstPage first;
    // The workers stop at once when this is set: after the first page, or
    // when the list no longer wants the file.
    std::atomic_bool enough = stop.load();
    listPageThumbnails(
        input, {QSize(200, 200), 0, {}}, enough,
        [&](const PdfPageListing &listing) {
            first.pageCount = listing.pageCount;
            first.problem = listing.problem;
            enough = enough || stop;
        },
        [&](int) { enough = enough || stop; },
        [&](int, const QList<QByteArray> &thumbnails) {
            first.image = QImage::fromData(thumbnails.constFirst());
            enough = true;
        });
    return first;
}
