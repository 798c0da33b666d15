#include "convertimagesthread.h"

#include "imageconversion.h"

ConvertImagesThread::ConvertImagesThread(QObject *parent)
    : QThread(parent)
{
}

void ConvertImagesThread::run()
{
    if (stopFlag)
        return;
    fileExistsList.clear();
    fileSourceList.clear();
    const ConvertJob job{sources, outputFolder, extension, overwrite};
    const ConvertResult result = ImageConversion::convert(
        job, settings, [this](int, const QString &source) { emit updateFileName(source); }, stopFlag);
    fileExistsList = result.fileExistsList;
    fileSourceList = result.fileSourceList;
    if (!result.failures.isEmpty())
        emit threadFailed(result.failures);
    if (result.stopped || stopFlag)
        emit threadTerminated();
    else
        emit threadCompleted(fileExistsList, fileSourceList);
}
