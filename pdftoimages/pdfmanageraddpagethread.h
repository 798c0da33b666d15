#pragma once

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

signals:
    void loadPagesTerminated();
    void loadPagesStart();
    void loadPagesProgress(int index);
    void loadPagesFinish();
    // `page` is 0-based; pages arrive in page order.
    void pageLoaded(int generation, int page, QImage image);

protected:
    void run() override;

private:
    std::atomic_bool stopFlag{false};
    const QString pdfPath;
    const QSize thumbnailBox;
    const int loadGeneration;
};
