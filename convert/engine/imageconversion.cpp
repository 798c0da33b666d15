#include "imageconversion.h"

#include "gifwriter.h"
#include "imagepipeline.h"
#include "kivlocalconvertimage.h"
#include "sourceimageloader.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QThread>
#include <QThreadPool>

#include <deque>
#include <future>
#include <memory>

namespace ImageConversion {
namespace {

QString unreadable(const QString &source, const QString &why)
{
    const QString name = QDir::toNativeSeparators(source);
    if (why.isEmpty())
        return QStringLiteral("%1 could not be read as an image.").arg(name);
    return QStringLiteral("%1 could not be read as an image: it is %2.").arg(name, why);
}

QString notWritten(const QString &target, const QString &why)
{
    return QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(target), why);
}

QPageSize::PageSizeId paperSize(int index)
{
    switch (index) {
    case 1:
        return QPageSize::A4;
    case 2:
        return QPageSize::A5;
    case 3:
        return QPageSize::Legal;
    case 4:
        return QPageSize::Executive;
    default:
        return QPageSize::Letter;
    }
}

// Prepares the next sources on other cores while the caller writes the
// current one; only `window` prepared images exist at a time. The pool's
// threads live for the whole run, so each keeps reusing its decode buffer.
class PagePrefetcher
{
public:
    PagePrefetcher(const QStringList &sources, const ConvertSettings &settings, const QSize &printable)
        : sources(sources)
        , settings(settings)
        , printable(printable)
        , window(qMax(2, QThread::idealThreadCount()))
    {
        pool.setMaxThreadCount(window);
        pool.setExpiryTimeout(-1);
    }
    ~PagePrefetcher() { pool.waitForDone(); }

    PreparedImage take(int index)
    {
        while (next < sources.size() && next < index + window) {
            auto promise = std::make_shared<std::promise<PreparedImage>>();
            queue.push_back(promise->get_future());
            pool.start([this, promise, path = sources.at(next)] {
                promise->set_value(ImagePipeline::preparePageImage(path, settings, printable));
            });
            ++next;
        }
        PreparedImage image = queue.front().get();
        queue.pop_front();
        return image;
    }

private:
    const QStringList &sources;
    const ConvertSettings &settings;
    const QSize printable;
    const int window;
    qsizetype next = 0;
    std::deque<std::future<PreparedImage>> queue;
    QThreadPool pool;
};

void convertToPdf(const ConvertJob &job, const ConvertSettings &s,
                  const std::function<void(int, const QString &)> &progress, const std::atomic_bool &stop,
                  ConvertResult &result)
{
    const QString target = job.outputFolder + QLatin1Char('/') + s.pdfFileName;
    KivLocalConvertImage::setLastOutputLocation(QDir::toNativeSeparators(target));
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        result.failures << notWritten(target, file.errorString());
        result.stopped = stop;
        return;
    }
    QPdfWriter writer(&file);
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_6);
    writer.setResolution(pdfResolution(s.pdfQuality));
    writer.setPageSize(QPageSize(paperSize(s.pdfPaperSize)));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setPageOrientation(s.pdfPaperOrientation != 0 ? QPageLayout::Landscape : QPageLayout::Portrait);

    const int m = s.pdfPaperMargin != 0 ? s.pdfPaperMarginSize * 10 : 0;
    const QSize printable(writer.width() - 2 * m, writer.height() - 2 * m);
    QPainter painter;
    if (!painter.begin(&writer)) {
        file.cancelWriting();
        result.failures << notWritten(target, QStringLiteral("the PDF writer could not start"));
        return;
    }
    {
        PagePrefetcher prefetcher(job.sources, s, printable);
        for (int i = 0; i < job.sources.size() && !stop; ++i) {
            progress(i, job.sources.at(i));
            const PreparedImage page = prefetcher.take(i);
            if (!page.readable)
                result.failures << unreadable(job.sources.at(i), page.failure);
            if (!page.image.isNull())
                painter.drawImage(QPoint(m, m), page.image);
            if (i + 1 < job.sources.size())
                writer.newPage();
        }
    }
    painter.end();
    result.stopped = stop;
    if (file.error() != QFileDevice::NoError || !file.commit())
        result.failures << notWritten(target, file.errorString());
}

QString writeImage(const QImage &image, const QString &target, int jpgQuality)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QString suffix = QFileInfo(target).suffix();
    QString error;
    if (suffix.compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0) {
        error = writeGif(image, file);
    } else {
        QImageWriter writer(&file, suffix.toLatin1());
        if (suffix.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0)
            writer.setQuality(jpgQuality);
        writer.setOptimizedWrite(true);
        writer.setProgressiveScanWrite(true);
        if (!writer.write(image))
            error = image.isNull() ? QStringLiteral("the image is empty") : writer.errorString();
    }
    if (!error.isEmpty()) {
        file.cancelWriting();
        return error;
    }
    return file.commit() ? QString() : file.errorString();
}

void convertToImages(const ConvertJob &job, const ConvertSettings &s,
                     const std::function<void(int, const QString &)> &progress, const std::atomic_bool &stop,
                     ConvertResult &result)
{
    if (!job.sources.isEmpty())
        KivLocalConvertImage::setLastOutputLocation(QDir::toNativeSeparators(QDir(job.outputFolder).absolutePath()));
    for (int i = 0; i < job.sources.size(); ++i) {
        if (stop) {
            result.stopped = true;
            return;
        }
        const QString &source = job.sources.at(i);
        progress(i, source);
        const QString target = imageTargetPath(job.outputFolder, source, job.extension);
        if (!job.overwrite && QFileInfo::exists(target)) {
            result.fileExistsList << target;
            result.fileSourceList << source;
            continue;
        }
        const PreparedImage prepared = ImagePipeline::prepareImage(source, false, s, false);
        if (!prepared.readable)
            result.failures << unreadable(source, prepared.failure);
        const QString error = writeImage(prepared.image, target, s.targeFileQuality);
        if (!error.isEmpty() && prepared.readable)
            result.failures << notWritten(target, error);
    }
    result.stopped = stop;
}

} // namespace

bool isPdfTarget(const QString &extension)
{
    return extension.compare(QLatin1String(".pdf"), Qt::CaseInsensitive) == 0;
}

QString imageTargetPath(const QString &folder, const QString &source, const QString &extension)
{
    return folder + QLatin1Char('/') + QFileInfo(source).baseName() + extension;
}

int pdfResolution(int qualityIndex)
{
    static constexpr int dpi[] = {96, 150, 300, 400, 600, 1200};
    return qualityIndex >= 0 && qualityIndex < 6 ? dpi[qualityIndex] : 300;
}

ConvertResult convert(const ConvertJob &job, const ConvertSettings &settings,
                      const std::function<void(int, const QString &)> &progress, const std::atomic_bool &stop)
{
    ConvertResult result;
    QImageReader::setAllocationLimit(SourceImageLoader::allocationLimitMB);
    const bool pdf = isPdfTarget(job.extension);
    KivLocalConvertImage::setPdfMode(pdf);
    if (pdf)
        convertToPdf(job, settings, progress, stop, result);
    else
        convertToImages(job, settings, progress, stop, result);
    return result;
}

} // namespace ImageConversion
