#include "convertimageaddurlsthread.h"

#include "sourceimageloader.h"
#include "sourceintake.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>

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
    while (!stopFlag && !iconQueue.isEmpty() && !urlsWaiting()) {
        const auto [path, row] = iconQueue.takeFirst();
        const QFileInfo info(path);
        const SourceIntake::Details details = SourceIntake::readDetails(path);
        emit processFinish(details.icon, info.fileName(), QDir::toNativeSeparators(info.path()), details.sizeStr, row);
    }
}
