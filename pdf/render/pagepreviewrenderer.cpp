#include "pagepreviewrenderer.h"

#include "renderprocess.h"

#include <QDataStream>
#include <QFileInfo>
#include <QIODevice>
#include <QTimer>

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
    thumbnailBox = box;
    sendPending();
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
    endWorker();
    releaseTimer->stop();
    pendingPage = -1;
    pendingThumbnails.clear();
}

void PagePreviewRenderer::endWorker()
{
    if (process) {
        process->kill();
        process->deleteLater();
        process = nullptr;
    }
    documentOpen = false;
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
        process->setWatchdog(timeouts.loadMs);
    } else {
        process->setWatchdog(timeouts.pageMs);
    }
}

void PagePreviewRenderer::sendPending()
{
    if (busy || path.isEmpty())
        return;
    busyWithThumbnail = pendingPage < 0;
    if (busyWithThumbnail && pendingThumbnails.isEmpty())
        return;
    if (busyWithThumbnail && thumbnailsDrawn >= picturesPerWorker)
        endWorker();
    openIfNeeded();
    busyPage = busyWithThumbnail ? pendingThumbnails.takeFirst() : std::exchange(pendingPage, -1);
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << qint32(++tag) << qint32(busyPage) << (busyWithThumbnail ? thumbnailBox : pendingBox);
    process->send(busyWithThumbnail ? RenderProtocol::Thumbnail : RenderProtocol::Render, body);
    busy = true;
}

void PagePreviewRenderer::onFrame(const RenderProtocol::Frame &frame)
{
    if (frame.type == RenderProtocol::Opened) {
        process->setWatchdog(timeouts.pageMs);
        return;
    }
    if (frame.type != RenderProtocol::Image && frame.type != RenderProtocol::Encoded)
        return;
    busy = false;
    process->setWatchdog(0);
    releaseTimer->start();
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
}

void PagePreviewRenderer::onDied()
{
    process->deleteLater();
    process = nullptr;
    documentOpen = false;
    busy = false;
    thumbnailsDrawn = 0;
    // The request that killed it is not retried; a newer one gets a fresh worker.
    if (busyWithThumbnail)
        emit thumbnailRendered(busyPage, {});
    sendPending();
}
