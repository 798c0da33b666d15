#include "mergepdfform.h"

#include "mergepdfaddfilethread.h"
#include "mergepdfmergethread.h"
#include "shelldialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>

namespace {
PdfListToolSetup mergeSetup()
{
    return {
        .formName = "MergePdfForm",
        .formSize = {892, 696},
        .filesToRun = 2,
        .actionName = "mergeButton",
        .actionText = MergePdfForm::tr("Merge Files"),
        .title = MergePdfForm::tr("Merge PDF"),
        .doneText = MergePdfForm::tr("The PDF files have been successfully merged."),
        .remembersOutputFolder = true,
        .makeAddFileThread = makePdfListAddFileThread<MergePDFAddFileThread>,
        .addIcon = {"_load_extractIcon.png", "_load_extractIconWhite.png"},
        .actionIcon = {"_MergeIcon24.png", "_MergeWhiteIcon24.png", "_MergeGrayIcon24.png"},
    };
}
} // namespace

MergePdfForm::MergePdfForm(QWidget *parent)
    : PdfListToolForm(mergeSetup(), parent)
{
}

void MergePdfForm::on_mergeButton_clicked()
{
    if (!actionButton()->isEnabled())
        return;
    const QString answer = QDir::toNativeSeparators(ShellDialogs::getSaveFileName(
        this, tr("Save to PDF File"), outputPath, tr("PDF files (*.pdf)"), QStringLiteral("pdf")));
    if (answer.isEmpty())
        return;
    outputPath = QFileInfo(answer).absolutePath();
    writeSettings();
    startRun(new MergePDFMergeThread(listedFiles(), answer), &MergePDFMergeThread::prepareMerge,
             &MergePDFMergeThread::progressMerge, &MergePDFMergeThread::finishMerge);
}
