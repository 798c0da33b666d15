#pragma once

#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QThread>

#include <atomic>

// Lists the pages of one PDF for the split tool, then draws their thumbnails
// in render workers. Signals carry the load's generation, so the form can
// drop what a replaced load still reports.
class SplitPDFAddPageThread : public QThread
{
    Q_OBJECT
public:
    SplitPDFAddPageThread(const PdfInput &source, QSize thumbnailSize, int generation, QObject *parent = nullptr);

    void stop() { stopRequested = true; }

signals:
    // pageCount is 0 for a file that does not open; loadPagesFailed said why.
    void loadPagesStart(int generation, int pageCount);
    void loadPagesFailed(int generation, PdfOpenProblem problem);
    void pageReady(int generation, int page, const QImage &thumbnail); // page is 0-based
    void loadPagesFinish(int generation);

protected:
    void run() override;

private:
    const PdfInput source;
    const QSize thumbnailSize;
    const int generation;
    std::atomic_bool stopRequested = false;
};
