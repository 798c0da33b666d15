#include "mergepdfmergethread.h"

#include "mergepdf.h"

#include <QFileInfo>

#include <algorithm>

MergePDFMergeThread::MergePDFMergeThread(const QList<PdfInput> &sources, const QString &outputPath, QObject *parent)
    : PdfListToolThread(sources, parent)
    , outputPath(outputPath)
{
}

MergePDFMergeThread::~MergePDFMergeThread()
{
    requestStop();
    wait();
}

void MergePDFMergeThread::run()
{
    // The progress counts pages, out of the pages the list read; a file
    // that has changed since corrects the total when it is opened.
    int total = 0;
    for (const PdfInput &source : sources)
        total += std::max(0, source.pageCount);
    emit prepareMerge(total);
    MergeJob job;
    job.outputPath = outputPath;
    job.sources = sources;

    int pagesBefore = 0; // of the files merged so far
    const auto progress = [&](const MergeProgress &at) {
        if (at.writing) {
            // No count to show while the output is written: a busy bar says
            // the merge goes on.
            emit prepareMerge(0);
            emit progressMerge(0, QFileInfo(outputPath).fileName());
            return;
        }
        const QString name = QFileInfo(sources.at(at.fileIndex).path).fileName();
        if (at.pageCount < 0) {
            emit progressMerge(pagesBefore, name);
            return;
        }
        const int listed = std::max(0, sources.at(at.fileIndex).pageCount);
        if (at.pagesDone == 0 && at.pageCount != listed) {
            total += at.pageCount - listed;
            emit prepareMerge(total);
        }
        emit progressMerge(pagesBefore + at.pagesDone,
                           QStringLiteral("%1 (%2 of %3)").arg(name).arg(at.pagesDone).arg(at.pageCount));
        if (at.pagesDone == at.pageCount)
            pagesBefore += at.pageCount;
    };
    const PdfWorkResult result = mergePdfs(job, progress, stopFlag(), &discardFlag());
    reportRepairs(result.warnings);
    emit finishMerge(outputPath, result.error.message);
}
