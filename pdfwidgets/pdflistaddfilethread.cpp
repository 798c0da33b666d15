#include "pdflistaddfilethread.h"

#include "pdffirstpage.h"

PdfListAddFileThread::PdfListAddFileThread(const QList<PdfInput> &inputs, int generation, QObject *parent)
    : QThread(parent)
    , inputs(inputs)
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
    for (const PdfInput &input : inputs) {
        if (stop)
            break;
        const PdfFirstPage first = readFirstPage(input, pictureBox, stop);
        emit fileListed(generation, first.pageCount, first.picture, first.problem);
    }
    emit filesAdded();
}
