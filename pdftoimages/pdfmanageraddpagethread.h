#pragma once

#include "pdfopenproblem.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QThread>

#include <atomic>

// Lists the pages of one PDF with their thumbnails. The thumbnails travel to
// the GUI thread as images; the form turns them into rows.
class PdfManagerAddPageThread : public QThread
{
    Q_OBJECT
public:
    // `thumbnailBox` is in device pixels; `generation` tags the pages so the
    // form can tell them from those of a load it has abandoned.
    PdfManagerAddPageThread(const QString &pdfPath, QSize thumbnailBox, int generation, QObject *parent = nullptr);

    void requestStop() { stopFlag = true; }
    // The password that opens the file; set before start().
    void setPassword(const QString &password) { pdfPassword = password; }

signals:
    void loadPagesTerminated();
    void loadPagesStart();
    void loadPagesProgress(int index);
    void loadPagesFinish();
    // `page` is 0-based; pages arrive in page order.
    void pageLoaded(int generation, int page, QImage image);
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
};
