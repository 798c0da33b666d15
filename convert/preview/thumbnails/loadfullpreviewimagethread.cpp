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
    QImage image = ImagePipeline::prepareImage(path, false, settings, pdfMode).image;
    // The window draws parts of it at every zoom step and scroll: in a format
    // the painter takes as it is, converted here rather than on each paint.
    if (!image.isNull())
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (!stopFlag)
        emit previewImageReady(image);
}
