#pragma once

#include "pdfinput.h"

#include <QList>
#include <QString>
#include <QThread>

#include <atomic>

// Merges the listed files, in order, into one PDF.
class MergePDFMergeThread : public QThread
{
    Q_OBJECT
public:
    MergePDFMergeThread(const QList<PdfInput> &sources, const QString &outputPath, QObject *parent = nullptr);
    ~MergePDFMergeThread() override;

    // Takes effect between files; the pages merged so far are written.
    void requestStop() { stop = true; }

signals:
    void prepareMerge(int count);
    // index counts the files finished; fileName is the name and its progress.
    void progressMerge(int index, QString fileName);
    // errMsg is empty on success.
    void finishMerge(QString outputFile, QString errMsg);

protected:
    void run() override;

private:
    const QList<PdfInput> sources;
    const QString outputPath;
    std::atomic_bool stop = false;
};
