#pragma once

#include "convertsettings.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>

// The version of a source file a thumbnail shows: a file replaced or edited
// since has another size or time.
struct SourceStamp {
    qint64 size = -1;
    QDateTime modified;
    static SourceStamp of(const QString &path);
    friend bool operator==(const SourceStamp &, const SourceStamp &) = default;
};

// One small preview made in this run; its file is ThumbnailCache::fileOf(index).
struct ThumbnailRecord {
    QString filePath;
    int index = 0;
    bool stale = false;
    SourceStamp source;
};

// Small previews kept as WEBP files for the program run, so going back to a
// previewed source costs one small read. The records are shared by every
// preview worker and guarded by a lock.
namespace ThumbnailCache {

enum class Outcome { Read, Generated, Unreadable, Stopped };

// This program's own data folder + "Thumbnails/", created when missing. Never a
// folder other programs share: the clean-up at exit empties it.
QString folder();
QString fileOf(int index);

// Fits `image` into `target`, keeping its proportions, fast; smaller images stay.
QImage fitInto(const QImage &image, const QSize &target);

// The preview of `path` within `target`, handed to `show` as soon as it
// exists: read from its thumbnail when that is current (made since the last
// setting change, from the source as it is now), else made by the pipeline
// with `settings` and saved. `reload` marks every earlier thumbnail
// stale first (a setting changed). `stop` is polled between the steps.
Outcome preview(const QString &path, const QSize &target, bool reload, const ConvertSettings &settings,
                const std::atomic_bool &stop, const std::function<void(const QImage &)> &show);

QList<ThumbnailRecord> records();
void forgetRecords(); // for tests

// Set at start-up; cleared once the clean-up at exit has run.
bool cleanupPending();
void setCleanupPending(bool pending);

// Deletes every file of folder(), also those of earlier runs, asking
// `cancelled` before each; returns how many were removed.
int removeFiles(const std::function<bool()> &cancelled);

} // namespace ThumbnailCache
