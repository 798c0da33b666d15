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

    // Takes effect between files; the pages merged so far are written where
    // no file was, never over one.
    void requestStop() { stop = true; }
    // The program is closing: nothing is written, even mid-save.
    void requestDiscard()
    {
        discard = true;
        stop = true;
    }

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
    std::atomic_bool discard = false;
};
