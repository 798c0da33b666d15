#include "pdffirstpage.h"

#include "pagethumbnails.h"

#include <QTimer>

namespace {
// How often a stop is looked for while the workers are busy.
constexpr int stopPollMs = 20;
} // namespace

PdfFirstPage readFirstPage(const PdfInput &input, const std::atomic_bool &stop)
{
    PdfFirstPage first;
    // The workers stop at once when this is set: after the first page, or
    // when the list no longer wants the file, even while a worker is busy.
    std::atomic_bool enough = stop.load();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { enough = enough || stop; });
    poll.start(stopPollMs);
    listPageThumbnails(
        input, {QSize(200, 200), 0, {}}, enough,
        [&](const PdfPageListing &listing) {
            first.pageCount = listing.pageCount;
            first.problem = listing.problem;
        },
        [](int) {},
        [&](int, const QList<QByteArray> &thumbnails) {
            first.image = QImage::fromData(thumbnails.constFirst());
            enough = true;
        });
    return first;
}
