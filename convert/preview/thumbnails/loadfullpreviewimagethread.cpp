#include "loadfullpreviewimagethread.h"

#include "imagepipeline.h"

LoadFullPreviewImageThread::LoadFullPreviewImageThread(QObject *parent)
    : QThread(parent)
{
}

void LoadFullPreviewImageThread::run()
{
    if (stopFlag)
        return;
    QImage image = prepareImage(path, false);
    if (!stopFlag)
        emit previewImageReady(image);
}
