#include "pageexport.h"

#include "pageencoderqueue.h"
#include "pageencoders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPdfDocument>
#include <QThread>

#include <limits>
#include <map>

// The translation context of the messages below.
class PageExportText
{
    Q_DECLARE_TR_FUNCTIONS(PageExportText)
};

namespace {

// 64 Mpx is 256 MB as RGB32; beyond that a page is refused instead of risking
// the allocation (a 500 % A0 page would need almost 1.5 GB).
constexpr qint64 maxPixels = qint64(64) * 1024 * 1024;
// Two images waiting or being encoded beside the one being rendered keep both
// cores busy; the byte budget keeps 500 % pages from piling up.
constexpr int maxImagesInFlight = 2;
constexpr qint64 maxBytesInFlight = qint64(112) * 1024 * 1024;

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

// Why `page` cannot be written in this pass, or an empty string.
QString pageBlocker(const QPdfDocument &document, QSize pageSize, int factor, PageImageFormat format, int page)
{
    const int number = page + 1;
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

int encoderThreadCount()
{
    return qBound(1, QThread::idealThreadCount(), 4);
}

} // namespace

PageImageFormat pageImageFormat(int format)
{
    switch (format) {
    case 1:
        return PageImageFormat::Png;
    case 2:
        return PageImageFormat::Webp;
    default:
        return PageImageFormat::Jpg;
    }
}

QString pageTargetFileName(const QString &folder, int page, int format)
{
    static const char *const extensions[] = {".jpg", ".png", ".webp"};
    return folder + QLatin1Char('/') + QString::number(page + 1) +
           QLatin1String(extensions[int(pageImageFormat(format))]);
}

PageExportResult exportPages(const PageExportJob &job, const std::function<void(int position)> &progress,
                             const std::atomic_bool &stop)
{
    PageExportResult result;
    QPdfDocument document;
    document.load(job.pdfPath);
    result.pageSize = document.pagePointSize(0).toSize();

    const PageImageFormat format = pageImageFormat(job.format);
    const int factor = qBound(0, job.scaleIndex, 4) + 1;

    std::map<int, PageExportFailure> failures;
    PageEncoderQueue queue(format, encoderThreadCount(), maxImagesInFlight, maxBytesInFlight);
    for (int position = 0; position < job.pages.size(); ++position) {
        if (stop) {
            result.stopped = true;
            break;
        }
        progress(position);
        const int page = job.pages.at(position);
        const QString fileName = pageTargetFileName(job.folder, page, job.format);
        if (!job.overwrite && QFileInfo::exists(fileName)) {
            result.fileExistsList.append(fileName);
            result.pageExistsList.append(page);
            continue;
        }
        QString reason = pageBlocker(document, result.pageSize, factor, format, page);
        QImage image;
        if (reason.isEmpty()) {
            // pageBlocker has bounded the size, so the product cannot overflow.
            const QSize target = result.pageSize * factor;
            queue.waitForRoom(qint64(target.width()) * target.height() * 4);
            image = document.render(page, target);
            if (image.isNull())
                reason = PageExportText::tr("Page %1 could not be rendered (not enough memory?).").arg(page + 1);
        }
        if (!reason.isEmpty()) {
            failures.emplace(position, PageExportFailure{page, fileName, reason});
            continue;
        }
        queue.push(position, page, fileName, std::move(image));
    }
    for (PageEncoderQueue::Failure &failure : queue.finish())
        failures.emplace(failure.position, std::move(failure.failure));
    for (auto &entry : failures)
        result.failures.append(std::move(entry.second));
    result.stopped = result.stopped || stop;
    return result;
}
