#include "convertimagepreviewcontroller.h"

#include "convertimagepreviewlabel.h"
#include "kivlocalconvertimage.h"
#include "loadpreviewimagethread.h"

#include <QPixmap>
#include <QTimer>

namespace {
constexpr int debounceTicks = 5;
// A result arriving while a new request counts down postpones that request.
constexpr int ticksAfterResult = 15;
} // namespace

ConvertImagePreviewController::ConvertImagePreviewController(ConvertImagePreviewLabel *label, QObject *parent)
    : QObject(parent)
    , previewImage(label)
    , tickTimer(new QTimer(this))
    , retryTimer(new QTimer(this))
{
    tickTimer->setInterval(20);
    retryTimer->setInterval(100);
    retryTimer->setSingleShot(true);
    connect(tickTimer, &QTimer::timeout, this, &ConvertImagePreviewController::tick);
    connect(retryTimer, &QTimer::timeout, this, &ConvertImagePreviewController::retry);
}

ConvertImagePreviewController::~ConvertImagePreviewController()
{
    for (const QPointer<LoadPreviewImageThread> &worker : std::as_const(running)) {
        if (worker) {
            worker->disconnect(this);
            worker->requestStop();
            worker->wait();
        }
    }
}

bool ConvertImagePreviewController::isLoading() const
{
    return !running.isEmpty() || retryTimer->isActive();
}

void ConvertImagePreviewController::stop()
{
    const bool wasLoading = isLoading();
    stopped = true;
    tickTimer->stop();
    retryTimer->stop();
    for (const QPointer<LoadPreviewImageThread> &worker : std::as_const(running)) {
        if (worker)
            worker->requestStop();
    }
    if (wasLoading && running.isEmpty())
        emit previewEnded();
}

void ConvertImagePreviewController::request(const QString &path, bool reload)
{
    if (stopped)
        return;
    pendingPath = path;
    // A settings change stays pending until a worker has seen it.
    pendingReload = pendingReload || reload;
    previewImage->setHasImage(false);
    previewImage->setText(path.isEmpty() ? tr("Preview") : tr("Generating preview\u2026"));
    tickTimer->stop();
    updateDelayIndex = debounceTicks;
    tickTimer->start();
}

void ConvertImagePreviewController::tick()
{
    if (updateDelayIndex > 0) {
        --updateDelayIndex;
        return;
    }
    tickTimer->stop();
    startPreview();
}

void ConvertImagePreviewController::retry()
{
    retryTimer->stop();
    attached = nullptr;
    startPreview();
}

void ConvertImagePreviewController::startPreview()
{
    if (stopped)
        return;
    if (attached) {
        disconnect(attached, &LoadPreviewImageThread::updatePreviewImage, this,
                   &ConvertImagePreviewController::handleUpdatePreviewImage);
        attached->requestStop();
        if (!retryTimer->isActive())
            retryTimer->start();
        return;
    }
    if (pendingPath.isEmpty())
        return;
    auto *worker = new LoadPreviewImageThread;
    worker->path = pendingPath;
    // The label's full size, also while a short window shrinks it: the
    // thumbnail is kept for later, when there may be room again.
    worker->targetSize = previewImage->maximumSize();
    worker->reload = pendingReload;
    worker->settings = KivLocalConvertImage::settings();
    pendingReload = false;
    attached = worker;
    running.append(worker);
    connect(worker, &LoadPreviewImageThread::updatePreviewImage, this,
            &ConvertImagePreviewController::handleUpdatePreviewImage);
    connect(worker, &QThread::finished, this, [this, worker] { onWorkerFinished(worker); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    emit workerStarted(worker->path);
    worker->start(QThread::InheritPriority);
}

void ConvertImagePreviewController::handleUpdatePreviewImage(QImage image)
{
    if (stopped || sender() != attached)
        return;
    if (!image.isNull()) {
        previewImage->setPixmap(QPixmap::fromImage(image));
        previewImage->setHasImage(true);
    }
    if (tickTimer->isActive())
        updateDelayIndex = ticksAfterResult;
}

void ConvertImagePreviewController::onWorkerFinished(LoadPreviewImageThread *worker)
{
    running.removeAll(worker);
    running.removeAll(nullptr);
    if (attached == worker)
        attached = nullptr;
    if (running.isEmpty() && !retryTimer->isActive() && stopped)
        emit previewEnded();
}
