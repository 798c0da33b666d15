#include "passwordprotectform.h"

#include "mergepdflistview.h"
#include "passwordprotectaddfilethread.h"
#include "passwordprotectpasswordthread.h"
#include "passwordprotectsetpassworddialog.h"
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
// The password tool shares the merge tool's remembered folders.
const QString settingsApplication = QStringLiteral("MergePDF");

QString withSlashes(const QString &path)
{
    return QDir::toNativeSeparators(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
}
} // namespace

PasswordProtectForm::PasswordProtectForm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PasswordProtectForm"));
    resize(897, 750);
    ui.setupUi(this, "passwordButton", tr("Add Password"), true);
    fileList = new PdfFileList([](const QList<PdfInput> &inputs,
                                  int generation) { return new PasswordProtectAddFileThread(inputs, generation); },
                               tr("Set PDF Password"), this);
    ui.mainListView->setModel(fileList->model());
    readSettings();

    connect(ui.sourceFrame, &SplitPDFFrame::addURLs, this, &PasswordProtectForm::on_AddURLs);
    connect(ui.mainListView, &MergePDFListView::addURLs, this, &PasswordProtectForm::on_AddURLs);
    connect(ui.mainListView, &MergePDFListView::moveItem, this, &PasswordProtectForm::on_MoveItem);
    connect(ui.mainListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PasswordProtectForm::on_itemSelection_changed);
    connect(fileList, &PdfFileList::filesAdded, this, &PasswordProtectForm::on_filesAdded);
    connect(fileList, &PdfFileList::busyChanged, this, &PasswordProtectForm::updateButtons);
    connect(ui.mainListView, &MergePDFListView::removeRequested, this, &PasswordProtectForm::on_removeButton_clicked);
    connect(ui.fileAddButton, &QToolButton::clicked, this, &PasswordProtectForm::on_fileAddButton_clicked);
    connect(ui.actionButton, &QToolButton::clicked, this, &PasswordProtectForm::on_passwordButton_clicked);
    connect(ui.clearButton, &QToolButton::clicked, this, &PasswordProtectForm::on_clearButton_clicked);
    connect(ui.removeButton, &QToolButton::clicked, this, &PasswordProtectForm::on_removeButton_clicked);
    connect(ui.progressCancelButton, &QPushButton::clicked, this,
            &PasswordProtectForm::on_progressCancelButton_clicked);

    ui.removeButton->setEnabled(false);
    ui.clearButton->setEnabled(false);
    ui.actionButton->setEnabled(false);
    refreshTheme();
    ready = true;
}

PasswordProtectForm::~PasswordProtectForm()
{
    // Each file is written whole or not at all; a file in hand is not waited for long.
    releaseWorker(passwordThread.data());
}

void PasswordProtectForm::refreshTheme()
{
    Theme::applyIcon(ui.fileAddButton, QStringLiteral("_AddFile24.png"), QStringLiteral("_AddFileWhite24.png"));
    Theme::applyIcon(ui.removeButton, QStringLiteral("_Delete24.png"), QStringLiteral("_DeleteWhite24.png"),
                     QStringLiteral("_DeleteGray24.png"));
    Theme::applyIcon(ui.clearButton, QStringLiteral("_shortcut24.png"), QStringLiteral("_shortcutWhite24.png"),
                     QStringLiteral("_shortcutGray24.png"));
    Theme::applyIcon(ui.actionButton, QStringLiteral("_PasswordBlack.png"), QStringLiteral("_PasswordWhite24.png"));
    Theme::applyPixmap(ui.sourceImageLabel, QStringLiteral("_PDF128.png"), QStringLiteral("_PDFWhite128.png"));
}

void PasswordProtectForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ThemeChange || event->type() == QEvent::PaletteChange)
        refreshTheme();
    QWidget::changeEvent(event);
}

void PasswordProtectForm::readSettings()
{
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(QStringLiteral("General"));
    loadPath = settings.value(QStringLiteral("loadPath")).toString();
}

void PasswordProtectForm::writeSettings() const
{
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(QStringLiteral("General"));
    // Only the folder this tool changes: writing back the merge tool's output
    // folder as read at start would undo a change the merge tool made since.
    settings.setValue(QStringLiteral("loadPath"), loadPath);
}

void PasswordProtectForm::on_AddURLs(QList<QUrl> urls)
{
    QStringList paths;
    for (const QUrl &url : std::as_const(urls)) {
        if (!url.toLocalFile().isEmpty())
            paths.append(withSlashes(url.toLocalFile()));
    }
    addPaths(paths);
}

void PasswordProtectForm::on_fileAddButton_clicked()
{
    const QStringList chosen =
        ShellDialogs::getOpenFileNames(this, tr("Open PDF File"), loadPath, tr("PDF Files (*.pdf)"));
    if (chosen.isEmpty())
        return;
    loadPath = QFileInfo(chosen.constFirst()).absolutePath();
    writeSettings();
    QStringList paths;
    for (const QString &path : chosen)
        paths.append(withSlashes(path));
    addPaths(paths);
}

void PasswordProtectForm::addPaths(const QStringList &paths)
{
    QStringList added;
    for (const QString &path : paths) {
        if (!fileList->contains(path) && !PdfFileList::containsPath(added, path))
            added.append(path);
    }
    if (added.isEmpty())
        return;
    ui.mainListView->show();
    ui.sourceFrame->hide();
    fileList->add(added);
}

void PasswordProtectForm::updateButtons()
{
    const int rows = fileList->rowCount();
    // Files still being read or asked about are not part of a run yet.
    ui.actionButton->setEnabled(rows > 0 && !fileList->isBusy());
    ui.clearButton->setEnabled(rows > 0);
    ui.removeButton->setEnabled(ui.mainListView->selectionModel()->hasSelection());
    refreshTheme();
}

void PasswordProtectForm::on_removeButton_clicked()
{
    ready = false;
    const QModelIndexList selected = ui.mainListView->selectionModel()->selectedIndexes();
    if (!selected.isEmpty())
        fileList->removeRow(selected.constFirst().row());
    updateButtons();
    ready = true;
}

void PasswordProtectForm::on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &)
{
    if (!ready)
        return;
    ui.removeButton->setEnabled(!selected.indexes().isEmpty());
    refreshTheme();
}

void PasswordProtectForm::on_filesAdded()
{
    // Nothing listed after all (every file left out or its password not
    // given): back to the drop area, as before.
    if (fileList->rowCount() == 0 && !fileList->isBusy()) {
        ui.mainListView->hide();
        ui.sourceFrame->show();
    }
    updateButtons();
}

void PasswordProtectForm::on_clearButton_clicked()
{
    fileList->clear();
    ui.actionButton->setEnabled(false);
    ui.removeButton->setEnabled(false);
    ui.clearButton->setEnabled(false);
    refreshTheme();
}

void PasswordProtectForm::on_passwordButton_clicked()
{
    if (!ui.actionButton->isEnabled())
        return;
    auto *dialog = new PasswordProtectSetPasswordDialog(this);
    connect(dialog, &PasswordProtectSetPasswordDialog::cancelProcess, this, &PasswordProtectForm::on_setPasswordCancel);
    connect(dialog, &PasswordProtectSetPasswordDialog::setPassword, this, &PasswordProtectForm::on_setPassword);
    ShellDialogs::exec(dialog);
    dialog->deleteLater();
}

void PasswordProtectForm::on_setPasswordCancel() {}

void PasswordProtectForm::on_setPassword(QString userPassword)
{
    if (userPassword.isEmpty())
        return;
    const QString folder = ShellDialogs::getExistingDirectory(this, tr("Select Folder"), loadPath);
    if (folder.isEmpty())
        return;
    ui.progressFrame->show();
    ui.mainListView->hide();
    cancelled = false;
    passwordThread = new PasswordProtectPasswordThread(fileList->inputs(), folder, userPassword, this);
    connect(passwordThread, &PasswordProtectPasswordThread::preparePassword, this,
            &PasswordProtectForm::on_preparePassword);
    connect(passwordThread, &PasswordProtectPasswordThread::progressPassword, this,
            &PasswordProtectForm::on_progressPassword);
    connect(passwordThread, &PasswordProtectPasswordThread::finishPassword, this,
            &PasswordProtectForm::on_finishPassword);
    connect(passwordThread, &QThread::finished, passwordThread, &QObject::deleteLater);
    passwordThread->start(QThread::InheritPriority);
}

void PasswordProtectForm::setButtonRowVisible(bool visible)
{
    ui.setButtonRowVisible(visible);
    refreshTheme();
}

void PasswordProtectForm::on_preparePassword(int count)
{
    setButtonRowVisible(false);
    ui.progressBar->setMaximum(count);
    ui.progressBar->setValue(0);
}

void PasswordProtectForm::on_progressPassword(int index, QString fileName)
{
    ui.progressLabel->setText(tr("Processing: ") + fileName);
    ui.progressBar->setValue(index);
}

void PasswordProtectForm::on_finishPassword(QString outputFile, QString errMsg)
{
    setButtonRowVisible(true);
    ui.progressBar->setValue(ui.progressBar->maximum());
    ui.mainListView->show();
    ui.progressFrame->hide();
    if (!errMsg.isEmpty()) {
        ShellDialogs::message(nullptr, QMessageBox::Information, tr("Set PDF Password"), errMsg);
        return;
    }
    if (cancelled)
        return;
    QMessageBox box(QMessageBox::Information, tr("Set PDF Password"),
                    tr("The PDF files have been successfully protected by password."), QMessageBox::Ok);
    const QPushButton *openFolder = box.addButton(tr("Open Folder"), QMessageBox::ActionRole);
    if (ShellDialogs::exec(box) == openFolder)
        ShellHelpers::openFolder(outputFile, this);
}

void PasswordProtectForm::on_progressCancelButton_clicked()
{
    cancelled = true;
    if (passwordThread)
        passwordThread->requestStop();
}

void PasswordProtectForm::on_MoveItem(int source, int target)
{
    fileList->movePath(source, target);
}
