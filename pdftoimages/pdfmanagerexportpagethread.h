#pragma once

#include "pageexport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

// Writes one pass of checked pages as image files.
class PdfManagerExportPageThread : public QThread
{
    Q_OBJECT
public:
    explicit PdfManagerExportPageThread(const PageExportJob &job, QObject *parent = nullptr);

    void requestStop() { stopFlag = true; }

signals:
    void exportPagesTerminated();
    void exportPagesStart();
    void exportPagesProgress(int index);
    // Pages that could not be written, one readable line each; emitted before
    // exportPagesFinish() or exportPagesTerminated() when there are any.
    void exportPagesFailed(QStringList reasons);
    void exportPagesFinish(QList<QString> fileExistsList, QList<int> pageExistsList);

protected:
    void run() override;

private:
    std::atomic_bool stopFlag{false};
    const PageExportJob job;
};
