#pragma once

#include "pagejobrunner.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

class QTimer;
class RenderProcess;

// Draws single pages of one document for a preview, in one long-lived render
// worker, so a new page costs no process start. Requests that pile up while
// one is drawn collapse into the latest. A worker that crashes or hangs is
// killed; the next request starts a fresh one. After a few idle seconds the
// worker lets go of the file (on Windows an open file cannot be renamed or
// deleted); it reads the file again when needed, and also when the file on
// disk has changed since.
class PagePreviewRenderer : public QObject
{
    Q_OBJECT
public:
    static constexpr int releaseDelayMs = 3000;

    explicit PagePreviewRenderer(QObject *parent = nullptr, RenderTimeouts timeouts = {});

    // The document to draw from, read afresh: ends the current worker.
    void setDocument(const QString &path, const QString &password = {});
    // `page` is 0-based; the image fits into `box` with the first page's proportions.
    void render(int page, QSize box);
    // The worker lets go of the file; the next request reads it afresh.
    void releaseDocument();
    // Ends the worker.
    void close();

signals:
    // Only for the latest request; a null image if the page could not be drawn.
    void rendered(int page, const QImage &image);

private:
    void sendPending();
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
    bool busy = false;
    int tag = 0;
    int busyPage = -1;
    int pendingPage = -1;
    QSize pendingBox;
};
