#include "pdflisttoolform.h"

#include "mergepdflistview.h"
#include "pdffilelist.h"
#include "pdflistaddfilethread.h"
#include "pdflisttoolthread.h"
#include "pdfwarningsummary.h"
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
// The merge and password tools share one store of remembered folders.
const QString settingsApplication = QStringLiteral("MergePDF");
const QString settingsGroup = QStringLiteral("General");

void applyIcon(QAbstractButton *button, const PdfListToolIcon &icon)
{
    Theme::applyIcon(button, QLatin1String(icon.light), QLatin1String(icon.dark), QLatin1String(icon.disabled));
}
} // namespace

PdfListToolForm::PdfListToolForm(const PdfListToolSetup &setup, QWidget *parent)
    : QWidget(parent)
    , setup(setup)
{
    setObjectName(QLatin1String(setup.formName));
    resize(setup.formSize);
    ui.setupUi(this, setup.actionName, setup.actionText, setup.progressAboveDropArea);
    fileList = new PdfFileList(setup.makeAddFileThread, setup.title, this);
    ui.mainListView->setModel(fileList->model());
    readSettings();

    connect(ui.sourceFrame, &SplitPDFFrame::addURLs, this, &PdfListToolForm::on_AddURLs);
    connect(ui.mainListView, &MergePDFListView::addURLs, this, &PdfListToolForm::on_AddURLs);
    connect(ui.mainListView, &MergePDFListView::moveItem, this, &PdfListToolForm::on_MoveItem);
    connect(ui.mainListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PdfListToolForm::on_itemSelection_changed);
    connect(fileList, &PdfFileList::filesAdded, this, &PdfListToolForm::on_filesAdded);
    connect(fileList, &PdfFileList::busyChanged, this, &PdfListToolForm::updateButtons);
    connect(ui.mainListView, &MergePDFListView::removeRequested, this, &PdfListToolForm::on_removeButton_clicked);
    connect(ui.fileAddButton, &QToolButton::clicked, this, &PdfListToolForm::on_fileAddButton_clicked);
    connect(ui.clearButton, &QToolButton::clicked, this, &PdfListToolForm::on_clearButton_clicked);
    connect(ui.removeButton, &QToolButton::clicked, this, &PdfListToolForm::on_removeButton_clicked);
    connect(ui.progressCancelButton, &QPushButton::clicked, this, &PdfListToolForm::on_progressCancelButton_clicked);
    // Connected by name, as Qt connects a designer form's slots: the slot
    // belongs to the subclass, which does not exist yet.
    const QByteArray actionSlot = "on_" + QByteArray(setup.actionName) + "_clicked";
    connect(ui.actionButton, &QToolButton::clicked, this, [this, actionSlot] {
        [[maybe_unused]] const bool called = QMetaObject::invokeMethod(this, actionSlot.constData());
        Q_ASSERT(called);
    });

    ui.removeButton->setEnabled(false);
    ui.clearButton->setEnabled(false);
    ui.actionButton->setEnabled(false);
    refreshTheme();
    ready = true;
}

PdfListToolForm::~PdfListToolForm()
{
    // Closing never commits a run's output, and never waits long for it.
    if (runThread)
        runThread->requestDiscard();
    releaseWorker(runThread.data());
}

void PdfListToolForm::refreshTheme()
{
    applyIcon(ui.fileAddButton, setup.addIcon);
    Theme::applyIcon(ui.removeButton, QStringLiteral("_Delete24.png"), QStringLiteral("_DeleteWhite24.png"),
                     QStringLiteral("_DeleteGray24.png"));
    Theme::applyIcon(ui.clearButton, QStringLiteral("_shortcut24.png"), QStringLiteral("_shortcutWhite24.png"),
                     QStringLiteral("_shortcutGray24.png"));
    applyIcon(ui.actionButton, setup.actionIcon);
    Theme::applyPixmap(ui.sourceImageLabel, QStringLiteral("_PDF128.png"), QStringLiteral("_PDFWhite128.png"));
}

void PdfListToolForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ThemeChange || event->type() == QEvent::PaletteChange)
        refreshTheme();
    QWidget::changeEvent(event);
}

QAbstractButton *PdfListToolForm::actionButton() const
{
    return ui.actionButton;
}

QList<PdfInput> PdfListToolForm::listedFiles() const
{
    return fileList->inputs();
}

void PdfListToolForm::readSettings()
{
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(settingsGroup);
    loadPath = settings.value(QStringLiteral("loadPath")).toString();
    outputPath = settings.value(QStringLiteral("outputPath")).toString();
}

void PdfListToolForm::writeSettings() const
{
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(settingsGroup);
    settings.setValue(QStringLiteral("loadPath"), loadPath);
    // A tool that never changes the output folder leaves it alone: writing
    // back the value read at start would undo a change the other tool made.
    if (setup.remembersOutputFolder)
        settings.setValue(QStringLiteral("outputPath"), outputPath);
}

QString PdfListToolForm::listedPath(const QString &path) const
{
    const QString native = QDir::toNativeSeparators(path);
    return setup.pathsWithForwardSlashes ? QString(native).replace(QLatin1Char('\\'), QLatin1Char('/')) : native;
}

void PdfListToolForm::on_AddURLs(QList<QUrl> urls)
{
    QStringList paths;
    for (const QUrl &url : std::as_const(urls)) {
        if (!url.toLocalFile().isEmpty())
            paths.append(listedPath(url.toLocalFile()));
    }
    // A drop onto the list goes into the gap it showed; one onto the frame, to the end.
    addPaths(paths, ui.mainListView->droppedGap());
}

void PdfListToolForm::on_fileAddButton_clicked()
{
    const QStringList chosen =
        ShellDialogs::getOpenFileNames(this, tr("Open PDF File"), loadPath, tr("PDF Files (*.pdf)"));
    if (chosen.isEmpty())
        return;
    loadPath = QFileInfo(chosen.constFirst()).absolutePath();
    writeSettings();
    QStringList paths;
    for (const QString &path : chosen)
        paths.append(listedPath(path));
    addPaths(paths);
}

void PdfListToolForm::addPaths(const QStringList &paths, int beforeRow)
{
    QStringList added;
    for (const QString &path : paths) {
        if (!setup.listsFileOnce || (!fileList->contains(path) && !PdfFileList::containsPath(added, path)))
            added.append(path);
    }
    if (added.isEmpty())
        return;
    ui.mainListView->show();
    ui.sourceFrame->hide();
    fileList->add(added, beforeRow);
}

void PdfListToolForm::updateButtons()
{
    const int rows = fileList->rowCount();
    // Files still being read or asked about are not part of a run yet.
    ui.actionButton->setEnabled(rows >= setup.filesToRun && !fileList->isBusy());
    ui.clearButton->setEnabled(rows > 0);
    ui.removeButton->setEnabled(ui.mainListView->selectionModel()->hasSelection());
    refreshTheme();
}

void PdfListToolForm::on_removeButton_clicked()
{
    ready = false;
    const QModelIndexList selected = ui.mainListView->selectionModel()->selectedIndexes();
    if (!selected.isEmpty())
        fileList->removeRow(selected.constFirst().row());
    updateButtons();
    ready = true;
}

void PdfListToolForm::on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &)
{
    if (!ready)
        return;
    ui.removeButton->setEnabled(!selected.indexes().isEmpty());
    refreshTheme();
}

void PdfListToolForm::on_filesAdded()
{
    // Nothing listed after all (every file left out or its password not
    // given): back to the drop area, as before.
    if (fileList->rowCount() == 0 && !fileList->isBusy()) {
        ui.mainListView->hide();
        ui.sourceFrame->show();
    }
    updateButtons();
}

void PdfListToolForm::on_clearButton_clicked()
{
    fileList->clear();
    ui.actionButton->setEnabled(false);
    ui.removeButton->setEnabled(false);
    ui.clearButton->setEnabled(false);
    refreshTheme();
}

void PdfListToolForm::on_MoveItem(int source, int target)
{
    fileList->movePath(source, target);
}

void PdfListToolForm::startRunThread(PdfListToolThread *thread)
{
    ui.progressFrame->show();
    ui.mainListView->hide();
    cancelled = false;
    runWarnings.clear();
    connect(thread, &PdfListToolThread::damageRepaired, this,
            [this](const QStringList &warnings) { runWarnings += warnings; });
    thread->setParent(this);
    runThread = thread;
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::HighPriority);
}

void PdfListToolForm::setButtonRowVisible(bool visible)
{
    ui.setButtonRowVisible(visible);
    refreshTheme();
}

void PdfListToolForm::showRunStarted(int count)
{
    setButtonRowVisible(false);
    ui.progressBar->setMaximum(count);
    ui.progressBar->setValue(0);
}

void PdfListToolForm::showRunProgress(int index, const QString &text)
{
    ui.progressLabel->setText(tr("Processing: ") + text);
    ui.progressBar->setValue(index);
}

void PdfListToolForm::showRunFinished(const QString &output, const QString &errMsg)
{
    setButtonRowVisible(true);
    ui.progressBar->setValue(ui.progressBar->maximum());
    ui.mainListView->show();
    ui.progressFrame->hide();
    if (!errMsg.isEmpty()) {
        ShellDialogs::message(nullptr, QMessageBox::Information, setup.title, errMsg);
        return;
    }
    if (cancelled)
        return;
    QMessageBox box(QMessageBox::Information, setup.title, withPdfWarningSummary(setup.doneText, runWarnings),
                    QMessageBox::Ok);
    const QPushButton *openFolder = box.addButton(tr("Open Folder"), QMessageBox::ActionRole);
    if (ShellDialogs::exec(box) == openFolder)
        ShellHelpers::openFolder(QFileInfo(output).isDir() ? output : QFileInfo(output).absolutePath(), this);
}

void PdfListToolForm::on_progressCancelButton_clicked()
{
    cancelled = true;
    if (runThread)
        runThread->requestStop();
}
