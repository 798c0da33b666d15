#include "pdfopencheckthread.h"

#include "pdfopencheck.h"

PdfOpenCheckThread::PdfOpenCheckThread(const PdfInput &input, QObject *parent)
    : QThread(parent)
    , input(input)
{
}

PdfOpenCheckThread::~PdfOpenCheckThread()
{
    requestStop();
    wait(); // checkPdfOpens ends within its stop poll
}

void PdfOpenCheckThread::run()
{
    const PdfOpenProblem problem = checkPdfOpens(input, stop);
    if (!stop)
        emit checked(problem);
}
