#include "mergepdfmergethread.h"

#include "mergepdf.h"

#include <QFileInfo>

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
    emit prepareMerge(int(sources.size()));
    MergeJob job;
    job.outputPath = outputPath;
    job.sources = sources;

    const auto progress = [this](const MergeProgress &at) {
        const QString name = QFileInfo(sources.at(at.fileIndex).path).fileName();
        if (at.pageCount < 0) {
            emit progressMerge(at.fileIndex, name);
            return;
        }
        const bool fileDone = at.pagesDone == at.pageCount && at.pagesDone > 0;
        emit progressMerge(at.fileIndex + (fileDone ? 1 : 0),
                           QStringLiteral("%1 (%2 of %3)").arg(name).arg(at.pagesDone).arg(at.pageCount));
    };
    const PdfWorkResult result = mergePdfs(job, progress, stopFlag(), &discardFlag());
    reportRepairs(result.warnings);
    emit finishMerge(outputPath, result.error.message);
}
