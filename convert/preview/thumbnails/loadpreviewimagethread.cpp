#include "loadpreviewimagethread.h"

#include "thumbnailcache.h"

LoadPreviewImageThread::LoadPreviewImageThread(QObject *parent)
    : QThread(parent)
{
}

void LoadPreviewImageThread::run()
{
    ThumbnailCache::preview(path, targetSize, reload, settings, stopFlag,
                            [this](const QImage &image) { emit updatePreviewImage(image); });
}
