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
    if (!busy)
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
    if (process) {
        process->kill();
        process->deleteLater();
        process = nullptr;
    }
    releaseTimer->stop();
    documentOpen = false;
    busy = false;
    pendingPage = -1;
}

void PagePreviewRenderer::sendPending()
{
    if (pendingPage < 0 || path.isEmpty())
        return;
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
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << qint32(++tag) << qint32(pendingPage) << pendingBox;
    process->send(RenderProtocol::Render, body);
    busy = true;
    busyPage = pendingPage;
    pendingPage = -1;
}

void PagePreviewRenderer::onFrame(const RenderProtocol::Frame &frame)
{
    if (frame.type == RenderProtocol::Opened) {
        process->setWatchdog(timeouts.pageMs);
        return;
    }
    if (frame.type != RenderProtocol::Image)
        return;
    busy = false;
    process->setWatchdog(0);
    releaseTimer->start();
    // A newer request makes this answer stale.
    if (pendingPage >= 0) {
        sendPending();
        return;
    }
    QDataStream stream(frame.body);
    qint32 answeredTag = 0;
    stream >> answeredTag;
    emit rendered(busyPage, RenderProtocol::readImage(stream));
}

void PagePreviewRenderer::onDied()
{
    process->deleteLater();
    process = nullptr;
    documentOpen = false;
    busy = false;
    // The request that killed it is not retried; a newer one gets a fresh worker.
    sendPending();
}
