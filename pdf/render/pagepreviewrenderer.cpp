#include "pagepreviewrenderer.h"

#include "renderprocess.h"

#include <QDataStream>
#include <QIODevice>

PagePreviewRenderer::PagePreviewRenderer(QObject *parent, RenderTimeouts timeouts)
    : QObject(parent)
    , timeouts(timeouts)
{
}

void PagePreviewRenderer::setDocument(const QString &newPath)
{
    close();
    path = newPath;
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
    if (process && documentOpen && !busy) {
        process->send(RenderProtocol::Close, {});
        documentOpen = false;
    }
}

void PagePreviewRenderer::close()
{
    if (process) {
        process->kill();
        process->deleteLater();
        process = nullptr;
    }
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
    if (!documentOpen) {
        QByteArray body;
        QDataStream out(&body, QIODevice::WriteOnly);
        out << path;
        process->send(RenderProtocol::Open, body);
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
