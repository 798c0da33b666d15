#include "convertimageaddurlsthread.h"

#include "sourceimageloader.h"
#include "sourceintake.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>

#include <tuple>

namespace {
// Rows go to the GUI thread in batches of this size, so a folder of thousands
// of files does not mean thousands of queued calls.
constexpr int rowBatch = 256;
} // namespace

ConvertImageAddUrlsThread::ConvertImageAddUrlsThread(const QStringList &listed, int firstRow, int generation,
                                                     QObject *parent)
    : QThread(parent)
    , generation(generation)
    , nextRow(firstRow)
{
    known.reserve(listed.size());
    for (const QString &path : listed)
        known.insert(SourceImageLoader::pathKey(path));
}

ConvertImageAddUrlsThread::~ConvertImageAddUrlsThread()
{
    requestStop();
    wait();
}

bool ConvertImageAddUrlsThread::appendUrls(const QList<QUrl> &more)
{
    QMutexLocker locker(&lock);
    if (!takingUrls || stopFlag)
        return false;
    urls.append(more);
    return true;
}

void ConvertImageAddUrlsThread::forgetPaths(const QStringList &paths)
{
    QMutexLocker locker(&lock);
    for (const QString &path : paths)
        known.remove(SourceImageLoader::pathKey(path));
}

void ConvertImageAddUrlsThread::prefer(const QStringList &paths)
{
    QMutexLocker locker(&lock);
    SourceIntake::preferFirst(preferred, paths);
}

bool ConvertImageAddUrlsThread::takeUrl(QUrl &url)
{
    QMutexLocker locker(&lock);
    if (urls.isEmpty())
        return false;
    url = urls.takeFirst();
    return true;
}

bool ConvertImageAddUrlsThread::urlsWaiting()
{
    QMutexLocker locker(&lock);
    return !urls.isEmpty();
}

void ConvertImageAddUrlsThread::run()
{
    setPriority(QThread::NormalPriority);
    emit addUrlsThreadBegin();
    while (!stopFlag) {
        QUrl url;
        while (!stopFlag && takeUrl(url))
            SourceIntake::listImageFiles(QDir::toNativeSeparators(url.toLocalFile()), stopFlag,
                                         [this](const QString &path) { addFile(path); });
        flushRows();
        if (stopFlag)
            break;
        emit addUrlsFinish(lastPath);
        loadIcons();
        QMutexLocker locker(&lock);
        if (urls.isEmpty()) {
            takingUrls = false;
            break;
        }
    }
    emit addUrlsThreadEnd();
}

void ConvertImageAddUrlsThread::addFile(const QString &path)
{
    {
        QMutexLocker locker(&lock);
        const QString key = SourceImageLoader::pathKey(path);
        if (known.contains(key))
            return;
        known.insert(key);
    }
    pendingRows.append(path);
    iconsDue.insert(SourceImageLoader::pathKey(path), nextRow);
    iconQueue.append({path, nextRow++});
    lastPath = path;
    if (pendingRows.size() >= rowBatch)
        flushRows();
}

void ConvertImageAddUrlsThread::flushRows()
{
    if (pendingRows.isEmpty())
        return;
    emit rowsListed(pendingRows);
    pendingRows.clear();
}

void ConvertImageAddUrlsThread::loadIcons()
{
    QString path;
    int row = 0;
    while (!stopFlag && !urlsWaiting() && takeIcon(path, row)) {
        const QFileInfo info(path);
        const SourceIntake::Details details = SourceIntake::readDetails(path);
        emit processFinish(details.icon, info.fileName(), QDir::toNativeSeparators(info.path()), details.sizeStr, row);
    }
}

bool ConvertImageAddUrlsThread::takeIcon(QString &path, int &row)
{
    {
        QMutexLocker locker(&lock);
        while (!preferred.isEmpty()) {
            path = preferred.takeFirst();
            const QString key = SourceImageLoader::pathKey(path);
            const auto due = iconsDue.constFind(key);
            if (due != iconsDue.cend()) {
                row = *due;
                iconsDue.erase(due);
                return true;
            }
            // Read before, and let go of by the list since: read it again.
            if (known.contains(key)) {
                row = -1;
                return true;
            }
        }
    }
    while (!iconQueue.isEmpty()) {
        std::tie(path, row) = iconQueue.takeFirst();
        if (iconsDue.remove(SourceImageLoader::pathKey(path)))
            return true;
    }
    return false;
}
