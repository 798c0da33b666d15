#include "mergepdfmergethread.h"

#include "mergepdf.h"

#include <QFileInfo>

MergePDFMergeThread::MergePDFMergeThread(const QStringList &paths, const QString &outputPath, QObject *parent)
    : QThread(parent)
    , paths(paths)
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
    setPriority(QThread::HighPriority);
    emit prepareMerge(int(paths.size()));
    MergeJob job;
    job.outputPath = outputPath;
    for (const QString &path : paths)
        job.sources.append({path, QString()});

    const auto progress = [this](const MergeProgress &at) {
        const QString name = QFileInfo(paths.at(at.fileIndex)).fileName();
        if (at.pageCount < 0) {
            emit progressMerge(at.fileIndex, name);
            return;
        }
        const bool fileDone = at.pagesDone == at.pageCount && at.pagesDone > 0;
        emit progressMerge(at.fileIndex + (fileDone ? 1 : 0),
                           QStringLiteral("%1 (%2 of %3)").arg(name).arg(at.pagesDone).arg(at.pageCount));
    };
    const PdfWorkResult result = mergePdfs(job, progress, stop);
    emit finishMerge(outputPath, result.error.message);
}
