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
    const QImage image = ImagePipeline::prepareImage(path, false, settings, pdfMode).image;
    if (!stopFlag)
        emit previewImageReady(image);
}
