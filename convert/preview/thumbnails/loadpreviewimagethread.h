#pragma once

#include "convertsettings.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QThread>

#include <atomic>

// Makes the small preview of one source, from its thumbnail when current.
class LoadPreviewImageThread : public QThread
{
    Q_OBJECT
public:
    explicit LoadPreviewImageThread(QObject *parent = nullptr);

    void requestStop() { stopFlag = true; }

    QString path;
    QSize targetSize;
    bool reload = false;
    // The settings when the preview was asked for; later edits do not reach it.
    ConvertSettings settings;

signals:
    void updatePreviewImage(QImage image);

protected:
    void run() override;

private:
    std::atomic_bool stopFlag{false};
};
