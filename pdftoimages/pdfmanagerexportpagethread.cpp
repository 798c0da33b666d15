#include "pdfmanagerexportpagethread.h"

#include "pdfmanagerglobal.h"

namespace {

// Each reason already names its page and, where there is one, its file.
QStringList reasonsOf(const QList<PageExportFailure> &failures)
{
    QStringList reasons;
    reasons.reserve(failures.size());
    for (const PageExportFailure &failure : failures)
        reasons.append(failure.reason);
    return reasons;
}

} // namespace

PdfManagerExportPageThread::PdfManagerExportPageThread(const PageExportJob &job, QObject *parent)
    : QThread(parent)
    , job(job)
{
}

void PdfManagerExportPageThread::run()
{
    if (stopFlag)
        return;
    emit exportPagesStart();
    const PageExportResult result = exportPages(
        job, [this](int position) { emit exportPagesProgress(position); }, stopFlag);
    if (result.pageSize.isValid())
        PdfManagerGlobal::setPageSize(result.pageSize);

    if (!result.failures.isEmpty())
        emit exportPagesFailed(reasonsOf(result.failures));
    if (result.stopped || stopFlag) {
        emit exportPagesTerminated();
        return;
    }
    // The overwrite pass reports nothing as existing: it was told to replace them.
    if (job.overwrite)
        emit exportPagesFinish({}, {});
    else
        emit exportPagesFinish(result.fileExistsList, result.pageExistsList);
}
