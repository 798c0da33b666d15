#include "imagepipeline.h"

#include "imageadjustments.h"
#include "imagescaling.h"
#include "sourceimageloader.h"
#include "watermarks.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>

#include <algorithm>

namespace ImagePipeline {
namespace {

// What tells a file's versions apart without reading it: a source edited
// after it was cached must not bring back its old pixels.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path)
{
    const QFileInfo info(path);
    return {info.size(), info.lastModified()};
}

// The last decoded source, shared by the conversion and the previews.
struct LastSourceCache {
    QMutex mutex;
    QString path;
    FileStamp stamp;
    QImage image;
    bool readable = false;
    QString failure;
};

LastSourceCache &cache()
{
    static LastSourceCache instance;
    return instance;
}

// Whether the cache holds `path` as it is now; the caller holds the lock.
bool holds(const LastSourceCache &c, const QString &path, const FileStamp &stamp)
{
    return !c.path.isNull() && SourceImageLoader::samePath(c.path, path) && c.stamp == stamp;
}

// Decoding happens outside the lock so a preview does not wait for the
// conversion's decode; each caller still gets the image of its own path.
PreparedImage loadThroughCache(const QString &path)
{
    LastSourceCache &c = cache();
    // Taken before the decode: a change during it shows at the next look.
    const FileStamp stamp = stampOf(path);
    {
        QMutexLocker locker(&c.mutex);
        if (holds(c, path, stamp))
            return {c.image, c.readable, c.failure};
    }
    PreparedImage loaded;
    loaded.readable = SourceImageLoader::load(path, loaded.image, &loaded.failure);
    QMutexLocker locker(&c.mutex);
    c.path = path;
    c.stamp = stamp;
    c.image = loaded.image;
    c.readable = loaded.readable;
    c.failure = loaded.failure;
    return loaded;
}

bool paintable(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Invalid:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return false;
    default:
        return !image.isNull();
    }
}

Qt::TransformationMode filter(bool fast, const ConvertSettings &s, bool pdfMode)
{
    return fast || (pdfMode && !s.pdfSmoothEdges) ? Qt::FastTransformation : Qt::SmoothTransformation;
}

bool hasBlur(const ConvertSettings &s)
{
    return std::any_of(s.ruleList.cbegin(), s.ruleList.cend(), [](const AdjustmentRule &rule) {
        return rule.ruleIndex == AdjustmentRule::GaussianBlur && rule.value() > 0;
    });
}

QImage scaledTo(const QImage &image, const QSize &size, Qt::TransformationMode mode)
{
    if (size == image.size())
        return image;
    if (size.isEmpty())
        return {};
    return image.scaled(size, Qt::IgnoreAspectRatio, mode);
}

} // namespace

PreparedImage prepareImage(const QString &path, bool fast, const ConvertSettings &s, bool pdfMode)
{
    PreparedImage prepared = loadThroughCache(path);
    QImage &image = prepared.image;
    // An indexed or empty image cannot be painted on and leaves as it is.
    if (!paintable(image))
        return prepared;
    // An empty overlay would change no pixel; skip making and blending it.
    if (Watermarks::any(s)) {
        QImage overlay(image.size(), QImage::Format_ARGB32);
        overlay.fill(0);
        Watermarks::drawWatermarks(overlay, s);
        QPainter painter(&image);
        painter.drawImage(0, 0, overlay);
    }
    if (s.scaleImage)
        image = scaledTo(image, ImageScaling::scaledSize(image.size(), s), filter(fast, s, pdfMode));
    if (!s.ruleList.isEmpty())
        image = applyAdjustments(image, s.ruleList);
    return prepared;
}

PreparedImage preparePageImage(const QString &path, const ConvertSettings &s, const QSize &printable)
{
    const Qt::TransformationMode mode = filter(false, s, true);
    QByteArray format;
    const QSize source = SourceImageLoader::uprightSize(path, &format);
    bool cached = false;
    {
        LastSourceCache &c = cache();
        QMutexLocker locker(&c.mutex);
        cached = holds(c, path, stampOf(path));
    }
    // Without watermarks or blur the source's own resolution matters to no
    // rule, so a JPEG (never indexed) can go to its page size in one step.
    if (!cached && decodesToPageSize(format, s)) {
        const QSize page =
            ImageScaling::pageFitSize(ImageScaling::scaledSize(source, s), printable, s.resizeImageToPaper);
        PreparedImage prepared;
        if (page.isEmpty()) {
            prepared.readable = true; // scaled to nothing, as prepareImage would
            return prepared;
        }
        prepared.readable = SourceImageLoader::loadScaledAsStored(path, page, mode, prepared.image,
                                                                  &prepared.orientation, &prepared.failure);
        // Colour rules work per pixel, so they may run after the scaling.
        if (!s.ruleList.isEmpty())
            prepared.image = applyAdjustments(prepared.image, s.ruleList);
        return prepared;
    }
    PreparedImage prepared = prepareImage(path, false, s, true);
    prepared.image = scaledTo(prepared.image,
                              ImageScaling::pageFitSize(prepared.image.size(), printable, s.resizeImageToPaper), mode);
    return prepared;
}

bool decodesToPageSize(const QByteArray &format, const ConvertSettings &s)
{
    return format == "jpeg" && !Watermarks::any(s) && !hasBlur(s);
}

void clearCache()
{
    LastSourceCache &c = cache();
    QMutexLocker locker(&c.mutex);
    c.path.clear();
    c.stamp = {};
    c.image = QImage();
    c.readable = false;
    c.failure.clear();
}

} // namespace ImagePipeline
