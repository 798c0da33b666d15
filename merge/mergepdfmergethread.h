#pragma once

#include "pdflisttoolthread.h"

#include <QString>

// Merges the listed files, in order, into one PDF. After a stop the pages
// merged so far are written where no file was, never over one; after a
// discard nothing is written, even mid-save.
class MergePDFMergeThread : public PdfListToolThread
{
    Q_OBJECT
signals:
    // count is the pages to merge; it comes again, corrected, when a file has
    // changed since it was listed.
    void prepareMerge(int count);
    // index counts the pages merged; fileName is the name and its progress.
    void progressMerge(int index, QString fileName);
    // errMsg is empty on success.
    void finishMerge(QString outputFile, QString errMsg);

public:
    MergePDFMergeThread(const QList<PdfInput> &sources, const QString &outputPath, QObject *parent = nullptr);
    ~MergePDFMergeThread() override;

protected:
    void run() override;

private:
    const QString outputPath;
};
