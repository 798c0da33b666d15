// The export flow: folder, first pass, overwrite question, second pass, report.
#include "pdfmanagerform.h"

#include "cocoacode.h"
#include "pdfmanagerexportpagethread.h"
#include "pdfmanagerglobal.h"
#include "pdfmanageroverwritefiledialog.h"
#include "shelldialogs.h"
#include "shellhelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>

namespace {

// The message lists this many failures; the details hold all of them.
constexpr int listedFailures = 10;

QString failureSummary(const QStringList &reasons)
{
    const qsizetype count = reasons.size();
    QString text = count == 1 ? PdfManagerForm::tr("1 page could not be written:")
                              : PdfManagerForm::tr("%1 pages could not be written:").arg(count);
    for (const QString &reason : reasons.first(qMin<qsizetype>(count, listedFailures)))
        text += QLatin1Char('\n') + reason;
    if (count > listedFailures)
        text += QLatin1Char('\n') + PdfManagerForm::tr("... and %1 more.").arg(count - listedFailures);
    return text;
}

} // namespace

void PdfManagerForm::on_exportButton_clicked()
{
    if (!isReady)
        return;
    isReady = false;
    folderPicker->pickFolder(PdfManagerGlobal::currentTargetFolderPath());
}

void PdfManagerForm::on_FolderSelected(QString path)
{
    QList<int> checkedPages;
    for (int row = 0; row < pageModel->rowCount(); ++row) {
        if (pageModel->item(row)->checkState() == Qt::Checked)
            checkedPages.append(row);
    }
    // Nothing checked would end in a completion message for nothing.
    if (path.isEmpty() || !QFileInfo(path).isDir() || checkedPages.isEmpty()) {
        isReady = true;
        return;
    }
    pageExportList = checkedPages;
    PdfManagerGlobal::setCurrentTargetFolderPath(path);
    isReady = true;
    writeSetting(QStringLiteral("exportPath"), path);
    exportFailures.clear();
    startExportThread(path, false, pageExportList);
}

void PdfManagerForm::startExportThread(const QString &folder, bool overwrite, const QList<int> &pages)
{
    PageExportJob job;
    job.pdfPath = PdfManagerGlobal::currentPdfPath();
    job.pdfPassword = pdfPassword;
    job.folder = folder;
    job.pages = pages;
    job.format = PdfManagerGlobal::outputFormat();
    job.scaleIndex = PdfManagerGlobal::exportScale();
    job.overwrite = overwrite;

    auto *thread = new PdfManagerExportPageThread(job, this);
    exportPageThread = thread;
    connect(thread, &PdfManagerExportPageThread::exportPagesFinish, this, &PdfManagerForm::onExportPagesFinish);
    connect(thread, &PdfManagerExportPageThread::exportPagesStart, this, &PdfManagerForm::onExportPagesStart);
    connect(thread, &PdfManagerExportPageThread::exportPagesProgress, this, &PdfManagerForm::onExportPagesProgress);
    connect(thread, &PdfManagerExportPageThread::exportPagesTerminated, this, &PdfManagerForm::onExportPagesTerminated);
    connect(thread, &PdfManagerExportPageThread::exportPagesFailed, this, &PdfManagerForm::onExportPagesFailed);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::InheritPriority);
}

void PdfManagerForm::onExportPagesStart()
{
    setTopRowVisible(false);
    stopRequested = false;
    ui.progressBar->setMaximum(int(pageExportList.size()));
    ui.progressBar->setValue(0);
    setBusy(true);
    showPage(PdfManagerFormUi::ProgressPage);
    PdfManagerGlobal::setPageAction(PdfManagerGlobal::paExportPage);
}

void PdfManagerForm::onExportPagesProgress(int index)
{
    ui.progressBar->setValue(index);
    ui.progressLabel->setText(tr("Exporting page %1 of %2. Please wait...").arg(index + 1).arg(pageExportList.size()));
}

void PdfManagerForm::onExportPagesFailed(const QStringList &reasons)
{
    exportFailures += reasons;
}

void PdfManagerForm::onExportPagesFinish(QList<QString> fileExistsList, QList<int> pageExistsList)
{
    setTopRowVisible(true);
    setBusy(false);
    ui.progressBar->setValue(ui.progressBar->maximum());
    if (stopRequested) {
        showPage(PdfManagerFormUi::ResultPage);
    } else if (fileExistsList.isEmpty()) {
        showCompletionMessage();
        showPage(PdfManagerFormUi::ResultPage);
    } else {
        runOverwriteDialog(fileExistsList, pageExistsList);
    }
}

void PdfManagerForm::runOverwriteDialog(const QStringList &fileExistsList, const QList<int> &pageExistsList)
{
    QPointer<PdfManagerOverwriteFileDialog> dialog = new PdfManagerOverwriteFileDialog(this);
    connect(dialog, &PdfManagerOverwriteFileDialog::overwriteFiles, this, &PdfManagerForm::handleOverwriteFiles);
    connect(dialog, &PdfManagerOverwriteFileDialog::exporttFinish, this, &PdfManagerForm::handleExportFinish);
    dialog->fill(fileExistsList, pageExistsList);
    overwriteAnswered = false;
    ShellDialogs::exec(dialog);
    if (dialog)
        dialog->deleteLater();
    // Nothing ticked, or the window closed: no pass follows. Pages that failed
    // in the first pass are still reported; otherwise there is nothing to say.
    if (!overwriteAnswered) {
        if (!exportFailures.isEmpty())
            showCompletionMessage();
        showPage(PdfManagerFormUi::ResultPage);
    }
}

void PdfManagerForm::onExportPagesTerminated()
{
    setBusy(false);
    setTopRowVisible(true);
    showPage(PdfManagerFormUi::ResultPage);
}

void PdfManagerForm::handleOverwriteFiles(QList<int> pageExistsList)
{
    overwriteAnswered = true;
    startExportThread(PdfManagerGlobal::currentTargetFolderPath(), true, pageExistsList);
}

void PdfManagerForm::handleExportFinish()
{
    overwriteAnswered = true;
    showCompletionMessage();
    showPage(PdfManagerFormUi::ResultPage);
}

void PdfManagerForm::showCompletionMessage()
{
    QMessageBox box(QMessageBox::Information, tr("PDF to Image"), tr("The exporting process is completed."),
                    QMessageBox::Ok);
    if (!exportFailures.isEmpty()) {
        // Pages that could not be written are not a success to report silently.
        box.setIcon(QMessageBox::Warning);
        box.setText(box.text() + QStringLiteral("\n\n") + failureSummary(exportFailures));
        box.setDetailedText(exportFailures.join(QLatin1Char('\n')));
    }
    QPushButton *openFolder = box.addButton(tr("Open Folder"), QMessageBox::ActionRole);
    const QAbstractButton *clicked = ShellDialogs::exec(box);
    if (clicked == openFolder)
        ShellHelpers::openFolder(PdfManagerGlobal::currentTargetFolderPath(), this);
}
