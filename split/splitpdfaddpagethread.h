#pragma once

#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QByteArray>
#include <QList>
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
    // Beyond `thumbnailBytes` of pictures (0: no limit), pages are not drawn.
    SplitPDFAddPageThread(const PdfInput &source, QSize thumbnailSize, int generation, qint64 thumbnailBytes = 0,
                          QObject *parent = nullptr);

    void stop() { stopRequested = true; }

signals:
    // pageCount is 0 for a file that does not open; loadPagesFailed said why.
    void loadPagesStart(int generation, int pageCount);
    void loadPagesFailed(int generation, PdfOpenProblem problem);
    // Consecutive pages from `firstPage` (0-based); empty bytes for a page not drawn.
    void pagesReady(int generation, int firstPage, const QList<QByteArray> &thumbnails);
    void loadPagesFinish(int generation);

protected:
    void run() override;

private:
    const PdfInput source;
    const QSize thumbnailSize;
    const int generation;
    const qint64 thumbnailBytes;
    std::atomic_bool stopRequested = false;
};
