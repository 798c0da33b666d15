#include "thumbnailcache.h"

#include "imagepipeline.h"
#include "sourceimageloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStandardPaths>

SourceStamp SourceStamp::of(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? SourceStamp{info.size(), info.lastModified()} : SourceStamp{};
}

namespace ThumbnailCache {
namespace {

struct Records {
    QMutex mutex;
    QList<ThumbnailRecord> LThumbnailData;
    // Counts the setting changes: a thumbnail made before the last one is
    // stale even when its worker finishes after it.
    int settingsRevision = 0;
};

Records &shared()
{
    static Records instance;
    return instance;
}

std::atomic_bool cleanupFlag{true};

// Which thumbnail file serves `path`, and whether it must be made anew. A new
// source gets its record at once, so two workers never share a number; it
// stays stale until its file has been written.
struct Choice {
    int index = 0;
    bool current = false;
    int settingsRevision = 0;
    SourceStamp source;
};

Choice choose(const QString &path, bool reload, const SourceStamp &source)
{
    Records &r = shared();
    QMutexLocker locker(&r.mutex);
    if (reload) {
        ++r.settingsRevision;
        for (ThumbnailRecord &record : r.LThumbnailData)
            record.stale = true;
    }
    for (const ThumbnailRecord &record : std::as_const(r.LThumbnailData)) {
        if (SourceImageLoader::samePath(record.filePath, path))
            return {record.index, !record.stale && record.source == source, r.settingsRevision, source};
    }
    const int index = int(r.LThumbnailData.size());
    r.LThumbnailData.append({path, index, true, {}});
    return {index, false, r.settingsRevision, source};
}

void markCurrent(const Choice &choice)
{
    Records &r = shared();
    QMutexLocker locker(&r.mutex);
    if (choice.index < r.LThumbnailData.size() && choice.settingsRevision == r.settingsRevision) {
        ThumbnailRecord &record = r.LThumbnailData[choice.index];
        record.stale = false;
        // Read before the pipeline ran: a change made meanwhile shows next time.
        record.source = choice.source;
    }
}

bool save(const QImage &image, const QString &file)
{
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && image.save(&out, "WEBP") && out.commit();
}

} // namespace

QString folder()
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('/');
    path += QLatin1String("Thumbnails/");
    QDir().mkpath(path);
    return path;
}

QString fileOf(int index)
{
    return folder() + QString::number(index) + QLatin1String(".webp");
}

QImage fitInto(const QImage &image, const QSize &target)
{
    if (image.width() <= target.width() && image.height() <= target.height())
        return image;
    // Integer arithmetic: the side that decides fits exactly, with no rounding error.
    const qint64 w = image.width(), h = image.height();
    const QSize size = w * target.height() >= h * target.width()
                           ? QSize(target.width(), int(std::max<qint64>(1, h * target.width() / w)))
                           : QSize(int(std::max<qint64>(1, w * target.height() / h)), target.height());
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

Outcome preview(const QString &path, const QSize &target, bool reload, const ConvertSettings &settings,
                const std::atomic_bool &stop, const std::function<void(const QImage &)> &show)
{
    const Choice choice = choose(path, reload, SourceStamp::of(path));
    const QString file = fileOf(choice.index);
    if (choice.current && QFileInfo::exists(file)) {
        const QImage thumbnail(file, "WEBP");
        if (!thumbnail.isNull()) {
            show(thumbnail);
            return Outcome::Read;
        }
    }
    if (stop)
        return Outcome::Stopped;
    // Fast scaling: whether a PDF run smooths its edges does not matter here.
    QImage image = ImagePipeline::prepareImage(path, true, settings, false).image;
    if (stop)
        return Outcome::Stopped;
    if (image.isNull()) {
        show(image);
        return Outcome::Unreadable;
    }
    image = fitInto(image, target);
    if (stop)
        return Outcome::Stopped;
    show(image);
    // A thumbnail that cannot be written is made again when next asked for.
    if (save(image, file))
        markCurrent(choice);
    return Outcome::Generated;
}

QList<ThumbnailRecord> records()
{
    Records &r = shared();
    QMutexLocker locker(&r.mutex);
    return r.LThumbnailData;
}

void forgetRecords()
{
    Records &r = shared();
    QMutexLocker locker(&r.mutex);
    r.LThumbnailData.clear();
}

bool cleanupPending()
{
    return cleanupFlag;
}

void setCleanupPending(bool pending)
{
    cleanupFlag = pending;
}

int removeFiles(const std::function<bool()> &cancelled)
{
    const QDir dir(folder());
    int removed = 0;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        if (cancelled())
            break;
        if (QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

} // namespace ThumbnailCache
