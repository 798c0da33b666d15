#include "pdflistaddfilethread.h"

#include "pdffirstpage.h"

PdfListAddFileThread::PdfListAddFileThread(const QStringList &paths, int generation, QObject *parent)
    : QThread(parent)
    , paths(paths)
    , generation(generation)
{
}

PdfListAddFileThread::~PdfListAddFileThread()
{
    requestStop();
    wait();
}

void PdfListAddFileThread::run()
{
    setPriority(QThread::HighPriority);
    for (const QString &path : paths) {
        if (stop)
            break;
        const PdfFirstPage first = readFirstPage(path, stop);
        emit fileListed(generation, first.pageCount, first.image);
    }
    emit filesAdded();
}
