#pragma once

#include "pagejobrunner.h"

#include <QDateTime>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

class QTimer;
class RenderProcess;

// Draws single pages of one document on demand, in one long-lived render
// worker, so a new page costs no process start: the preview, and the list
// pictures a view shows but does not have. Preview requests that pile up while
// one is drawn collapse into the latest; the preview goes before pictures.
// A worker that crashes or hangs is killed; the next request starts a fresh
// one. After a few idle seconds the worker lets go of the file (on Windows an
// open file cannot be renamed or deleted), unless it is held; it reads the
// file again when needed, and also when the file on disk has changed since.
class PagePreviewRenderer : public QObject
{
    Q_OBJECT
public:
    static constexpr int releaseDelayMs = 3000;
    // The engine keeps what it has read of every page it drew: a worker that
    // has drawn this many pictures makes way for a fresh one.
    static constexpr int picturesPerWorker = 4000;

    explicit PagePreviewRenderer(QObject *parent = nullptr, RenderTimeouts timeouts = {});

    // The document to draw from, read afresh: ends the current worker.
    void setDocument(const QString &path, const QString &password = {});
    // `page` is 0-based; the image fits into `box` with the first page's proportions.
    void render(int page, QSize box);
    // Draws `pages` (0-based) as list pictures fitting `box`, in this order,
    // replacing the pictures asked for before and not begun.
    void renderThumbnails(const QList<int> &pages, QSize box);
    // Pictures a list is likely to show next: drawn, in this order, when no
    // picture asked for with renderThumbnails() waits, replacing those asked
    // for ahead before and not begun.
    void renderThumbnailsAhead(const QList<int> &pages, QSize box);
    // Reads the document now rather than at the first request, finds where
    // every page lies, and keeps the file open however long it is idle, until
    // letGo(): while a long document is listed (its file is open for that
    // anyway), the user may jump to any page and expect its picture at once.
    void holdDocument();
    void letGo();
    // The worker lets go of the file; the next request reads it afresh.
    void releaseDocument();
    // Ends the worker.
    void close();

signals:
    // Only for the latest request; a null image if the page could not be drawn.
    void rendered(int page, const QImage &image);
    // As encodeThumbnail() writes it; empty when the page cannot be drawn.
    void thumbnailRendered(int page, const QByteArray &encoded);

private:
    void sendPending();
    void openIfNeeded();
    void indexMore();
    void settle();
    void endWorker();
    bool fileChanged() const;
    void onFrame(const RenderProtocol::Frame &frame);
    void onDied();

    const RenderTimeouts timeouts;
    RenderProcess *process = nullptr;
    QTimer *releaseTimer = nullptr;
    QString path;
    QString password;
    qint64 openedSize = -1;
    QDateTime openedModified;
    bool documentOpen = false;
    bool holding = false;
    // Of the document as last read: its pages, and how many of them the
    // worker has found in the page tree (-1: not answered yet).
    int documentPages = -1;
    int indexedPages = 0;
    bool indexing = false;
    bool busy = false;
    bool busyWithThumbnail = false;
    int tag = 0;
    int busyPage = -1;
    int pendingPage = -1;
    QSize pendingBox;
    QList<int> pendingThumbnails;
    QList<int> pagesAhead;
    QSize thumbnailBox;
    int thumbnailsDrawn = 0;
};
