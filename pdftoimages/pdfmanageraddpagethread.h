#pragma once

#include "pdfopenproblem.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QThread>

#include <atomic>

// Lists the pages of one PDF with their thumbnails. The thumbnails travel to
// the GUI thread compressed, in batches; the form turns them into rows.
class PdfManagerAddPageThread : public QThread
{
    Q_OBJECT
public:
    // `thumbnailBox` is in device pixels; `generation` tags the pages so the
    // form can tell them from those of a load it has abandoned. Beyond
    // `thumbnailBytes` of pictures (0: no limit), pages come without one.
    PdfManagerAddPageThread(const QString &pdfPath, QSize thumbnailBox, int generation, qint64 thumbnailBytes = 0,
                            QObject *parent = nullptr);

    void requestStop() { stopFlag = true; }
    // The password that opens the file; set before start().
    void setPassword(const QString &password) { pdfPassword = password; }

signals:
    void loadPagesTerminated();
    void loadPagesStart();
    void loadPagesProgress(int index);
    void loadPagesFinish();
    // Consecutive pages from `firstPage` (0-based), in page order; empty
    // bytes for a page listed without its picture.
    void pagesLoaded(int generation, int firstPage, QList<QByteArray> thumbnails);
    // Before loadPagesStart() when the file did not open.
    void loadPagesFailed(PdfOpenProblem problem);

protected:
    void run() override;

private:
    std::atomic_bool stopFlag{false};
    const QString pdfPath;
    QString pdfPassword;
    const QSize thumbnailBox;
    const int loadGeneration;
    const qint64 thumbnailBytes;
};
