#include "pageexporter.h"

#include "pageencoders.h"
#include "pageexporttext.h"

#include <QPdfDocument>
#include <QThread>

#include <limits>

namespace {

// 64 Mpx is 256 MB as RGB32; beyond that a page is refused instead of risking
// the allocation (a 500 % A0 page would need almost 1.5 GB).
constexpr qint64 maxPixels = qint64(64) * 1024 * 1024;
// Two images waiting or being encoded beside the one being rendered keep the
// encoders busy; the byte budget keeps 500 % pages from piling up.
constexpr int maxImagesInFlight = 2;
constexpr qint64 defaultBytesInFlight = qint64(112) * 1024 * 1024;
constexpr double pointsPerMeter = 72 / 0.0254;

int maxSide(PageImageFormat format)
{
    switch (format) {
    case PageImageFormat::Jpg:
        return PageEncoders::maxJpegSide;
    case PageImageFormat::Webp:
        return PageEncoders::maxWebpSide;
    case PageImageFormat::Png:
        break;
    }
    return std::numeric_limits<int>::max();
}

int factorOf(int scaleIndex)
{
    return qBound(0, scaleIndex, 4) + 1;
}

} // namespace

PageExporter::PageExporter(PageEncoderQueue::Done done)
    : done(std::move(done))
    , budgetBytes(defaultBytesInFlight)
    , encoderThreads(qBound(1, QThread::idealThreadCount(), 4))
{
}

PageExporter::~PageExporter()
{
    finish();
}

void PageExporter::setBudget(qint64 bytes, int threads)
{
    if (bytes > 0)
        budgetBytes = bytes;
    if (threads > 0)
        encoderThreads = threads;
}

QString PageExporter::blocker(const QPdfDocument &document, int page, int scaleIndex, PageImageFormat format)
{
    const int number = page + 1;
    const int factor = factorOf(scaleIndex);
    const QSize pageSize = document.pagePointSize(0).toSize();
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() <= 0)
        return PageExportText::tr("Page %1 was not exported: the PDF file could not be opened.").arg(number);
    if (pageSize.isEmpty())
        return PageExportText::tr("Page %1 was not exported: the first page of the PDF file has no usable size.")
            .arg(number);
    if (page < 0 || page >= document.pageCount())
        return PageExportText::tr("Page %1 does not exist in the PDF file.").arg(number);
    const qint64 width = qint64(pageSize.width()) * factor;
    const qint64 height = qint64(pageSize.height()) * factor;
    const QString tail =
        factor > 1 ? PageExportText::tr("Choose a smaller scale.") : PageExportText::tr("It cannot be exported.");
    if (width * height > maxPixels)
        return PageExportText::tr("Page %1 is too large to export at %2 % (%3 × %4 pixels). %5")
            .arg(number)
            .arg(factor * 100)
            .arg(width)
            .arg(height)
            .arg(tail);
    if (qMax(width, height) > maxSide(format))
        return PageExportText::tr("Page %1 is too large to export as %2 at %3 % (%4 × %5 pixels; at most %6 "
                                  "pixels a side). %7")
            .arg(number)
            .arg(format == PageImageFormat::Webp ? QStringLiteral("WEBP") : QStringLiteral("JPG"))
            .arg(factor * 100)
            .arg(width)
            .arg(height)
            .arg(maxSide(format))
            .arg(tail);
    return {};
}

void PageExporter::exportPage(QPdfDocument &document, const Page &page)
{
    const QString reason = blocker(document, page.page, page.scaleIndex, page.format);
    if (!reason.isEmpty()) {
        done(page.tag, reason);
        return;
    }
    if (!queue)
        queue = std::make_unique<PageEncoderQueue>(encoderThreads, maxImagesInFlight, budgetBytes, done);
    // blocker() has bounded the size, so the product cannot overflow.
    const QSize target = document.pagePointSize(0).toSize() * factorOf(page.scaleIndex);
    queue->waitForRoom(qint64(target.width()) * target.height() * 4);
    QImage image = document.render(page.page, target);
    if (image.isNull()) {
        done(page.tag, PageExportText::tr("Page %1 could not be rendered (not enough memory?).").arg(page.page + 1));
        return;
    }
    // One pixel per point at 100 %: files say so, whatever screen the program runs on.
    const int dotsPerMeter = qRound(pointsPerMeter * factorOf(page.scaleIndex));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    queue->push(page.tag, page.page, page.fileName, page.format, std::move(image));
}

void PageExporter::finish()
{
    if (queue)
        queue->finish();
    queue.reset();
}
