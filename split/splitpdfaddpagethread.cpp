#include "splitpdfaddpagethread.h"

#include "pdfsource.h"

SplitPDFAddPageThread::SplitPDFAddPageThread(const QString &path, int generation, QObject *parent)
    : QThread(parent)
    , path(path)
    , generation(generation)
{
}

void SplitPDFAddPageThread::run()
{
    if (stopRequested)
        return;
    setPriority(QThread::HighPriority);
    int pageCount = 0;
    try {
        pageCount = PdfSource::open({path, QString()})->pageCount();
    } catch (const std::exception &) {
        // Damaged, password-protected or not a PDF at all: nothing to list.
    }
    if (!stopRequested)
        emit loadPagesStart(generation, pageCount);
    emit loadPagesFinish(generation);
}
