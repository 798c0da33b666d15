#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QUrl>

#include <atomic>

// Scans dropped files and folders for the source list, then reads the icon
// and size of every file it listed. It never touches the list's model: new
// rows travel to the GUI thread in batches through rowsListed(), details
// through processFinish(). URLs dropped while it runs join its queue.
class ConvertImageAddUrlsThread : public QThread
{
    Q_OBJECT
public:
    // `listed` holds the full paths already in the list, for the duplicate
    // test; `firstRow` is the row the first new file will take. `generation`
    // tells the list which of its contents the results belong to.
    ConvertImageAddUrlsThread(const QStringList &listed, int firstRow, int generation, QObject *parent = nullptr);
    ~ConvertImageAddUrlsThread() override;

    const int generation;

    // Queues URLs behind the others. False once the thread has stopped taking
    // URLs: the caller then needs a new thread.
    bool appendUrls(const QList<QUrl> &urls);
    // Paths the user removed from the list may be added again.
    void forgetPaths(const QStringList &paths);
    // Rows on screen without an icon: their icons are read next.
    void prefer(const QStringList &paths);
    void requestStop() { stopFlag = true; }

signals:
    void addUrlsThreadBegin();
    void addUrlsThreadEnd();
    // Full paths of new rows, in list order, to be appended at the end.
    void rowsListed(QStringList paths);
    void addUrlsFinish(QString lastPath);
    // `index` is the row the file was listed at (-1 for an icon read again);
    // `path` identifies it should the rows have moved since.
    void processFinish(QByteArray icon, QString fileName, QString path, QString sizeStr, int index);

protected:
    void run() override;

private:
    bool takeUrl(QUrl &url);
    bool urlsWaiting();
    void addFile(const QString &path);
    void flushRows();
    void loadIcons();
    // The next file whose icon is due, preferred ones first; false when none.
    bool takeIcon(QString &path, int &row);

    QMutex lock; // guards urls, known, preferred and takingUrls
    QList<QUrl> urls;
    QStringList preferred;
    QSet<QString> known; // SourceImageLoader::pathKey of every listed path
    bool takingUrls = true;

    // Worker thread only.
    QStringList pendingRows;
    QList<QPair<QString, int>> iconQueue; // path and row, in list order
    QHash<QString, int> iconsDue;         // SourceImageLoader::pathKey -> row, for those not read yet
    int nextRow;
    QString lastPath;
    std::atomic_bool stopFlag{false};
};
