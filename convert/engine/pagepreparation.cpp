#include "pagepreparation.h"

#include "imagepipeline.h"
#include "imagescaling.h"
#include "jpegdecoder.h"
#include "pageencoder.h"
#include "sourceimageloader.h"
#include "watermarks.h"

#include <QColorSpace>
#include <QFile>

#include <optional>

namespace PagePreparation {
namespace {

// A JPEG that reaches the page at its own size, untouched by any option and
// already in sRGB, goes in as the file holds it: no decoding, no loss.
std::optional<PageStream> asItIs(const QString &path, const ConvertSettings &s, const QSize &printable)
{
    if (Watermarks::any(s) || !s.ruleList.isEmpty())
        return {};
    QByteArray format;
    QImageIOHandler::Transformations orientation;
    const QSize upright = SourceImageLoader::uprightSize(path, &format, &orientation);
    if (format != "jpeg" || ImageScaling::scaledSize(upright, s) != upright ||
        ImageScaling::pageFitSize(upright, printable, s.resizeImageToPaper) != upright)
        return {};
    QFile file(path);
    // More bytes than its pixels would take: something else rides along.
    if (file.size() > 4 * qint64(upright.width()) * upright.height() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    JpegDecoder::Header header;
    const QSize stored = orientation & QImageIOHandler::TransformationRotate90 ? upright.transposed() : upright;
    if (!JpegDecoder::readHeader(data, &header) || !header.plain || header.size != stored ||
        (header.colorSpace.isValid() && header.colorSpace != QColorSpace(QColorSpace::SRgb)))
        return {};
    return PageEncoder::embedJpeg(data, stored, header.components, orientation);
}

} // namespace

PageStream preparePage(const QString &path, const ConvertSettings &settings, const QSize &printable)
{
    if (std::optional<PageStream> page = asItIs(path, settings, printable))
        return *page;
    const PreparedImage prepared = ImagePipeline::preparePageImage(path, settings, printable);
    // Compressed upright, so the JPEG's blocks and halved chroma fall where a
    // page drawn upright puts them; compressed as stored, grainy photos
    // differed from such a page by 38 dB.
    PageStream page = PageEncoder::encode(prepared.image, prepared.orientation);
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
