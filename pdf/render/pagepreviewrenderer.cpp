#include "pagepreviewrenderer.h"

#include "renderprocess.h"

#include <QDataStream>
#include <QFileInfo>
#include <QIODevice>
#include <QTimer>

namespace {

// Pages whose place a held worker finds in one go: a short step, so a
// request that comes meanwhile waits little.
constexpr int indexStep = 5000;

} // namespace

PagePreviewRenderer::PagePreviewRenderer(QObject *parent, RenderTimeouts timeouts)
    : QObject(parent)
    , timeouts(timeouts)
    , releaseTimer(new QTimer(this))
{
    releaseTimer->setObjectName(QStringLiteral("previewReleaseTimer"));
    releaseTimer->setSingleShot(true);
    releaseTimer->setInterval(releaseDelayMs);
    connect(releaseTimer, &QTimer::timeout, this, &PagePreviewRenderer::releaseDocument);
}

void PagePreviewRenderer::setDocument(const QString &newPath, const QString &newPassword)
{
    close();
    path = newPath;
    password = newPassword;
}

void PagePreviewRenderer::render(int page, QSize box)
{
    pendingPage = page;
    pendingBox = box;
    sendPending();
}

void PagePreviewRenderer::renderThumbnails(const QList<int> &pages, QSize box)
{
    pendingThumbnails = pages;
    // A view repaints a row again and again while its picture is on the way.
    if (busy && busyWithThumbnail)
        pendingThumbnails.removeAll(busyPage);
    for (const int page : pages)
        pagesAhead.removeAll(page);
    thumbnailBox = box;
    sendPending();
}

void PagePreviewRenderer::renderThumbnailsAhead(const QList<int> &pages, QSize box)
{
    pagesAhead = pages;
    if (busy && busyWithThumbnail)
        pagesAhead.removeAll(busyPage);
    thumbnailBox = box;
    sendPending();
}

void PagePreviewRenderer::holdDocument()
{
    holding = true;
    releaseTimer->stop();
    if (path.isEmpty())
        return;
    if (!documentOpen || fileChanged())
        openIfNeeded();
    else
        indexMore();
}

void PagePreviewRenderer::letGo()
{
    holding = false;
    if (process && documentOpen && !busy && !indexing)
        releaseTimer->start();
}

void PagePreviewRenderer::releaseDocument()
{
    releaseTimer->stop();
    if (process && documentOpen && !busy) {
        process->send(RenderProtocol::Close, {});
        documentOpen = false;
    }
}

// A file replaced or rewritten on disk shows in its size or modification time.
bool PagePreviewRenderer::fileChanged() const
{
    const QFileInfo file(path);
    return file.size() != openedSize || file.lastModified() != openedModified;
}

void PagePreviewRenderer::close()
{
    holding = false;
    endWorker();
    releaseTimer->stop();
    pendingPage = -1;
    pendingThumbnails.clear();
    pagesAhead.clear();
}

void PagePreviewRenderer::endWorker()
{
    if (process) {
        process->kill();
        process->deleteLater();
        process = nullptr;
    }
    documentOpen = false;
    indexing = false;
    busy = false;
    thumbnailsDrawn = 0;
}

void PagePreviewRenderer::openIfNeeded()
{
    if (!process) {
        process = new RenderProcess(this);
        connect(process, &RenderProcess::frameReceived, this, &PagePreviewRenderer::onFrame);
        connect(process, &RenderProcess::died, this, &PagePreviewRenderer::onDied);
        process->start();
    }
    releaseTimer->stop();
    if (!documentOpen || fileChanged()) {
        const QFileInfo file(path);
        openedSize = file.size();
        openedModified = file.lastModified();
        process->send(RenderProtocol::Open, RenderProtocol::openBody(path, password));
        documentOpen = true;
        documentPages = -1;
        indexedPages = 0;
        process->setWatchdog(timeouts.loadMs);
    } else {
        process->setWatchdog(timeouts.pageMs);
    }
}

// While held and idle, the worker finds where the pages lie, a step at a time.
void PagePreviewRenderer::indexMore()
{
    if (!holding || busy || indexing || !process || !documentOpen || indexedPages >= documentPages)
        return;
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << qint32(qMin(indexedPages + indexStep, documentPages) - 1);
    process->send(RenderProtocol::Index, body);
    process->setWatchdog(timeouts.pageMs);
    indexing = true;
}

// Nothing more to wait for: the watchdog rests and the idle delay begins.
void PagePreviewRenderer::settle()
{
    if (busy || indexing)
        return;
    process->setWatchdog(0);
    if (!holding)
        releaseTimer->start();
}

void PagePreviewRenderer::sendPending()
{
    if (busy || path.isEmpty())
        return;
    busyWithThumbnail = pendingPage < 0;
    if (busyWithThumbnail && pendingThumbnails.isEmpty() && pagesAhead.isEmpty())
        return;
    if (busyWithThumbnail && thumbnailsDrawn >= picturesPerWorker)
        endWorker();
    openIfNeeded();
    if (!busyWithThumbnail)
        busyPage = std::exchange(pendingPage, -1);
    else
        busyPage = pendingThumbnails.isEmpty() ? pagesAhead.takeFirst() : pendingThumbnails.takeFirst();
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << qint32(++tag) << qint32(busyPage) << (busyWithThumbnail ? thumbnailBox : pendingBox);
    process->send(busyWithThumbnail ? RenderProtocol::Thumbnail : RenderProtocol::Render, body);
    busy = true;
}

void PagePreviewRenderer::onFrame(const RenderProtocol::Frame &frame)
{
    if (frame.type == RenderProtocol::Opened) {
        QDataStream stream(frame.body);
        bool loaded = false;
        qint32 pageCount = 0;
        stream >> loaded >> pageCount;
        documentPages = loaded ? pageCount : 0;
        process->setWatchdog(timeouts.pageMs);
        indexMore();
        settle();
        return;
    }
    if (frame.type == RenderProtocol::Indexed) {
        QDataStream stream(frame.body);
        qint32 lastPage = 0;
        stream >> lastPage;
        indexing = false;
        indexedPages = lastPage + 1;
        // Requests that came meanwhile go first.
        sendPending();
        indexMore();
        settle();
        return;
    }
    if (frame.type != RenderProtocol::Image && frame.type != RenderProtocol::Encoded)
        return;
    busy = false;
    QDataStream stream(frame.body);
    qint32 answeredTag = 0;
    stream >> answeredTag;
    if (frame.type == RenderProtocol::Encoded) {
        ++thumbnailsDrawn;
        QByteArray encoded;
        stream >> encoded;
        emit thumbnailRendered(busyPage, encoded);
    } else if (pendingPage < 0) {
        // A newer preview request makes this answer stale.
        emit rendered(busyPage, RenderProtocol::readImage(stream));
    }
    sendPending();
    if (process) {
        indexMore();
        settle();
    }
}

void PagePreviewRenderer::onDied()
{
    process->deleteLater();
    process = nullptr;
    documentOpen = false;
    indexing = false;
    busy = false;
    thumbnailsDrawn = 0;
    // The request that killed it is not retried; a newer one gets a fresh worker.
    if (busyWithThumbnail)
        emit thumbnailRendered(busyPage, {});
    sendPending();
}
