#pragma once

#include "convertsettings.h"

#include <QImage>
#include <QString>
#include <QThread>

#include <atomic>

// Runs the full pipeline on one source for the preview window.
class LoadFullPreviewImageThread : public QThread
{
    Q_OBJECT
public:
    explicit LoadFullPreviewImageThread(QObject *parent = nullptr);

    void requestStop() { stopFlag = true; }

    QString path;
    // The settings when the preview was asked for; later edits do not reach it.
    ConvertSettings settings;
    bool pdfMode = false;

signals:
    void previewImageReady(QImage image);

protected:
    void run() override;

private:
    std::atomic_bool stopFlag{false};
};
