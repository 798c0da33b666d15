#include "pagepreparation.h"

#include "imagepipeline.h"
#include "imagescaling.h"
#include "jpegdecoder.h"
#include "pageencoder.h"
#include "sourceimageloader.h"

namespace PagePreparation {

PageStream preparePage(const QString &path, const ConvertSettings &settings, const QSize &printable)
{
    const PreparedImage prepared = ImagePipeline::preparePageImage(path, settings, printable);
    PageStream page = PageEncoder::encode(prepared.image);
    page.readable = prepared.readable;
    page.failure = prepared.failure;
    return page;
}

qint64 peakBytes(const QString &path, const ConvertSettings &settings, const QSize &printable)
{
    QByteArray format;
    const QSize source = SourceImageLoader::uprightSize(path, &format);
    if (source.isEmpty())
        return 0; // refused from its header: nothing is decoded
    const QSize page =
        ImageScaling::pageFitSize(ImageScaling::scaledSize(source, settings), printable, settings.resizeImageToPaper);
    const qint64 pageBytes = 4 * qint64(page.width()) * page.height();
    if (ImagePipeline::decodesToPageSize(format, settings)) {
        const QSize decoded = JpegDecoder::decodedSize(source, page);
        return 4 * qint64(decoded.width()) * decoded.height() + 2 * pageBytes;
    }
    // The decoded source, its watermark overlay or a rule's copy, and the page picture twice.
    return 3 * 4 * qint64(source.width()) * source.height() + 2 * pageBytes;
}

} // namespace PagePreparation
