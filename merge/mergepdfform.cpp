#include "mergepdfform.h"

#include "mergepdfaddfilethread.h"
#include "mergepdflistview.h"
#include "mergepdfmergethread.h"
#include "pdffilelist.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "splitpdfframe.h"
#include "theme.h"
#include "toolsettings.h"
#include "workerrelease.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardItemModel>
#include <QToolButton>

namespace {
const QString settingsApplication = QStringLiteral("MergePDF");
}

MergePdfForm::MergePdfForm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MergePdfForm"));
    resize(892, 696);
    ui.setupUi(this, "mergeButton", tr("Merge Files"), false);
    fileList = new PdfFileList(
        [](const QList<PdfInput> &inputs, int generation) { return new MergePDFAddFileThread(inputs, generation); },
        tr("Merge PDF"), this);
    ui.mainListView->setModel(fileList->model());
    readSettings();

    connect(ui.mainListView, &MergePDFListView::moveItem, this, &MergePdfForm::on_MoveItem);
    connect(ui.mainListView, &MergePDFListView::addURLs, this, &MergePdfForm::on_AddURLs);
    connect(ui.sourceFrame, &SplitPDFFrame::addURLs, this, &MergePdfForm::on_AddURLs);
    connect(ui.mainListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MergePdfForm::on_itemSelection_changed);
    connect(fileList, &PdfFileList::filesAdded, this, &MergePdfForm::on_filesAdded);
    connect(fileList, &PdfFileList::busyChanged, this, &MergePdfForm::updateButtons);
    connect(ui.mainListView, &MergePDFListView::removeRequested, this, &MergePdfForm::on_removeButton_clicked);
    connect(ui.fileAddButton, &QToolButton::clicked, this, &MergePdfForm::on_fileAddButton_clicked);
    connect(ui.actionButton, &QToolButton::clicked, this, &MergePdfForm::on_mergeButton_clicked);
    connect(ui.clearButton, &QToolButton::clicked, this, &MergePdfForm::on_clearButton_clicked);
    connect(ui.removeButton, &QToolButton::clicked, this, &MergePdfForm::on_removeButton_clicked);
    connect(ui.progressCancelButton, &QPushButton::clicked, this, &MergePdfForm::on_progressCancelButton_clicked);

    ui.removeButton->setEnabled(false);
    ui.clearButton->setEnabled(false);
    ui.actionButton->setEnabled(false);
    refreshTheme();
    ready = true;
}

MergePdfForm::~MergePdfForm()
{
    // Closing never commits a merge, and never waits long for one.
    if (mergeThread)
        mergeThread->requestDiscard();
    releaseWorker(mergeThread.data());
}

void MergePdfForm::refreshTheme()
{
    Theme::applyIcon(ui.fileAddButton, QStringLiteral("_load_extractIcon.png"),
                     QStringLiteral("_load_extractIconWhite.png"));
    Theme::applyIcon(ui.removeButton, QStringLiteral("_Delete24.png"), QStringLiteral("_DeleteWhite24.png"),
                     QStringLiteral("_DeleteGray24.png"));
    Theme::applyIcon(ui.clearButton, QStringLiteral("_shortcut24.png"), QStringLiteral("_shortcutWhite24.png"),
                     QStringLiteral("_shortcutGray24.png"));
    Theme::applyIcon(ui.actionButton, QStringLiteral("_MergeIcon24.png"), QStringLiteral("_MergeWhiteIcon24.png"),
                     QStringLiteral("_MergeGrayIcon24.png"));
    Theme::applyPixmap(ui.sourceImageLabel, QStringLiteral("_PDF128.png"), QStringLiteral("_PDFWhite128.png"));
}

void MergePdfForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ThemeChange || event->type() == QEvent::PaletteChange)
        refreshTheme();
    QWidget::changeEvent(event);
}

void MergePdfForm::readSettings()
{
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(QStringLiteral("General"));
    loadPath = settings.value(QStringLiteral("loadPath")).toString();
    outputPath = settings.value(QStringLiteral("outputPath")).toString();
}

void MergePdfForm::writeSettings() const
{
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(QStringLiteral("General"));
    settings.setValue(QStringLiteral("loadPath"), loadPath);
    settings.setValue(QStringLiteral("outputPath"), outputPath);
}

void MergePdfForm::on_AddURLs(QList<QUrl> urls)
{
    QStringList paths;
    for (const QUrl &url : std::as_const(urls)) {
        const QString path = QDir::toNativeSeparators(url.toLocalFile());
        if (!path.isEmpty())
            paths.append(path);
    }
    startAdding(paths);
}

void MergePdfForm::on_fileAddButton_clicked()
{
    const QStringList chosen =
        ShellDialogs::getOpenFileNames(this, tr("Open PDF File"), loadPath, tr("PDF Files (*.pdf)"));
    if (chosen.isEmpty())
        return;
    loadPath = QFileInfo(chosen.constFirst()).absolutePath();
    writeSettings();
    QStringList paths;
    for (const QString &path : chosen)
        paths.append(QDir::toNativeSeparators(path));
    startAdding(paths);
}

void MergePdfForm::startAdding(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    ui.mainListView->show();
    ui.sourceFrame->hide();
    fileList->add(paths);
}

void MergePdfForm::on_mergeButton_clicked()
{
    if (!ui.actionButton->isEnabled())
        return;
    const QString answer = QDir::toNativeSeparators(
        ShellDialogs::getSaveFileName(this, tr("Save to PDF File"), outputPath, tr("PDF files (*.pdf)"),
                                      QStringLiteral("pdf")));
    if (answer.isEmpty())
        return;
    outputPath = QFileInfo(answer).absolutePath();
    writeSettings();
    ui.progressFrame->show();
    ui.mainListView->hide();
    cancelled = false;
    mergeThread = new MergePDFMergeThread(fileList->inputs(), answer, this);
    connect(mergeThread, &MergePDFMergeThread::prepareMerge, this, &MergePdfForm::on_prepareMerge);
    connect(mergeThread, &MergePDFMergeThread::progressMerge, this, &MergePdfForm::on_progressMerge);
    connect(mergeThread, &MergePDFMergeThread::finishMerge, this, &MergePdfForm::on_finishMerge);
    connect(mergeThread, &QThread::finished, mergeThread, &QObject::deleteLater);
    mergeThread->start(QThread::InheritPriority);
}

void MergePdfForm::on_MoveItem(int source, int target)
{
    fileList->movePath(source, target);
}

void MergePdfForm::updateButtons()
{
    const int rows = fileList->rowCount();
    // Files still being read or asked about are not part of a run yet.
    ui.actionButton->setEnabled(rows > 1 && !fileList->isBusy());
    ui.clearButton->setEnabled(rows > 0);
    ui.removeButton->setEnabled(ui.mainListView->selectionModel()->hasSelection());
    refreshTheme();
}

void MergePdfForm::on_filesAdded()
{
    // Nothing listed after all (every file left out or its password not
    // given): back to the drop area, as before.
    if (fileList->rowCount() == 0 && !fileList->isBusy()) {
        ui.mainListView->hide();
        ui.sourceFrame->show();
    }
    updateButtons();
}

void MergePdfForm::on_clearButton_clicked()
{
    fileList->clear();
    ui.actionButton->setEnabled(false);
    ui.removeButton->setEnabled(false);
    ui.clearButton->setEnabled(false);
    refreshTheme();
}

void MergePdfForm::on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &)
{
    if (!ready)
        return;
    ui.removeButton->setEnabled(!selected.indexes().isEmpty());
    refreshTheme();
}

void MergePdfForm::on_removeButton_clicked()
{
    ready = false;
    const QModelIndexList selected = ui.mainListView->selectionModel()->selectedIndexes();
    if (!selected.isEmpty())
        fileList->removeRow(selected.constFirst().row());
    updateButtons();
    ready = true;
}

void MergePdfForm::on_prepareMerge(int count)
{
    ui.setButtonRowVisible(false);
    ui.progressBar->setMaximum(count);
    ui.progressBar->setValue(0);
}

void MergePdfForm::on_progressMerge(int index, QString fileName)
{
    ui.progressLabel->setText(tr("Processing: ") + fileName);
    ui.progressBar->setValue(index);
}

void MergePdfForm::on_finishMerge(QString outputFile, QString errMsg)
{
    ui.setButtonRowVisible(true);
    ui.progressBar->setValue(ui.progressBar->maximum());
    ui.mainListView->show();
    ui.progressFrame->hide();
    if (!errMsg.isEmpty()) {
        ShellDialogs::message(nullptr, QMessageBox::Information, tr("Merge PDF"), errMsg);
        return;
    }
    if (cancelled)
        return;
    QMessageBox box(QMessageBox::Information, tr("Merge PDF"), tr("The PDF files have been successfully merged."),
                    QMessageBox::Ok);
    const QPushButton *openFolder = box.addButton(tr("Open Folder"), QMessageBox::ActionRole);
    if (ShellDialogs::exec(box) == openFolder)
        ShellHelpers::openFolder(QFileInfo(outputFile).absolutePath(), this);
}

void MergePdfForm::on_progressCancelButton_clicked()
{
    cancelled = true;
    if (mergeThread)
        mergeThread->requestStop();
}
