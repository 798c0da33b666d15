#include "imageconversion.h"

#include "gifwriter.h"
#include "imagepdfwriter.h"
#include "imagepipeline.h"
#include "kivlocalconvertimage.h"
#include "pagepreparation.h"
#include "pagequeue.h"
#include "sourceimageloader.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QSaveFile>
#include <QThread>

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

void convertToPdf(const ConvertJob &job, const ConvertSettings &s,
                  const std::function<void(int, const QString &)> &progress, const std::atomic_bool &stop,
                  ConvertResult &result)
{
    const QString target = job.outputFolder + QLatin1Char('/') + s.pdfFileName;
    KivLocalConvertImage::setLastOutputLocation(QDir::toNativeSeparators(target));
    const QPageLayout layout(QPageSize(paperSize(s.pdfPaperSize)),
                             s.pdfPaperOrientation != 0 ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    const int dpi = pdfResolution(s.pdfQuality);
    const QSize page = layout.paintRectPixels(dpi).size();
    const int m = s.pdfPaperMargin != 0 ? s.pdfPaperMarginSize * 10 : 0;
    const QSize printable(page.width() - 2 * m, page.height() - 2 * m);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        result.failures << notWritten(target, file.errorString());
        result.stopped = stop;
        return;
    }
    ImagePdfWriter pdf(file, layout, dpi);
    {
        const QStringList &sources = job.sources;
        PageQueue pages(int(sources.size()),
                        {[&](int i) { return PagePreparation::peakBytes(sources.at(i), s, printable); },
                         [&](int i) { return PagePreparation::preparePage(sources.at(i), s, printable); }},
                        job.threads > 0 ? job.threads : QThread::idealThreadCount(), pageBudgetBytes);
        for (int i = 0; i < sources.size() && !stop; ++i) {
            progress(i, sources.at(i));
            const PageStream prepared = pages.take(i);
            if (!prepared.readable)
                result.failures << unreadable(sources.at(i), prepared.failure);
            pdf.addPage(prepared, QPoint(m, m));
        }
    }
    if (job.sources.isEmpty())
        pdf.addPage(PageStream(), QPoint());
    result.stopped = stop;
    // A stopped run keeps the pages it has only where it replaces nothing.
    if (result.stopped && (pdf.pageCount() == 0 || QFileInfo::exists(target))) {
        file.cancelWriting();
        return;
    }
    if (!pdf.finish() || !file.commit())
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
