#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class ConvertImagePreviewLabel;
class LoadPreviewImageThread;
class QTimer;

// Turns the form's preview requests into at most one attached worker: a burst
// of requests collapses after five 20 ms ticks, and a request that finds a
// worker busy detaches it and tries again 100 ms later. Late results of
// detached workers are dropped.
class ConvertImagePreviewController : public QObject
{
    Q_OBJECT
public:
    ConvertImagePreviewController(ConvertImagePreviewLabel *label, QObject *parent);
    ~ConvertImagePreviewController() override;

    // True while any preview worker, attached or not, still runs.
    bool isLoading() const;
    // Stops every worker and takes no further requests; when a preview was
    // loading, previewEnded() follows once the last worker has ended.
    void stop();

signals:
    void workerStarted(const QString &path);
    void previewEnded();

public slots:
    void request(const QString &path, bool reload);
    void tick();
    void retry();
    void handleUpdatePreviewImage(QImage image);

private:
    void startPreview();
    void onWorkerFinished(LoadPreviewImageThread *worker);

    ConvertImagePreviewLabel *previewImage;
    QTimer *tickTimer;
    QTimer *retryTimer;
    QString pendingPath;
    bool pendingReload = false;
    int updateDelayIndex = 0;
    bool stopped = false;
    QPointer<LoadPreviewImageThread> attached;
    QList<QPointer<LoadPreviewImageThread>> running;
};
