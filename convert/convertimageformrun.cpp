// One conversion run: output checks, the questions before it, the progress
// panel while it lasts, and the close that waits for it.
#include "convertimageform.h"

#include "aboutdialog.h"
#include "cocoacode.h"
#include "convertimagepreviewcontroller.h"
#include "convertimagepreviewlabel.h"
#include "convertimagetreeview.h"
#include "convertprogressform.h"
#include "converttargets.h"
#include "kivglobal.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "shellhelpers.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>

namespace {

QString withPdfExtension(const QString &name)
{
    return name.right(4).compare(QLatin1String(".pdf"), Qt::CaseInsensitive) == 0 ? name : name + QLatin1String(".pdf");
}

} // namespace

void ConvertImageForm::on_convertButton_clicked()
{
    if (conversionRunning || closing || sourceModel->rowCount() == 0)
        return;
    if (KivGlobal::isPdfManager || ui.targetComboBox->currentIndex() == pdfIndex)
        convertToPdf();
    else
        convertToImages();
}

void ConvertImageForm::convertToPdf()
{
    const ConvertSettings s = KivLocalConvertImage::settings();
    if (s.pdfFileName.isEmpty()) {
        if (choosePdfPath(ShellHelpers::documentsFolder()).isEmpty())
            return;
    } else if (s.outputFolder.isEmpty()) {
        convertAfterFolderChoice = true;
        folderPicker->pickFolderFromDocuments();
        return;
    } else {
        const QString name = withPdfExtension(s.pdfFileName);
        if (name != s.pdfFileName) {
            storeSettings({QStringLiteral("pdfFileName")}, [&name](ConvertSettings &c) { c.pdfFileName = name; });
            const bool wasReady = isReady;
            isReady = false;
            ui.pdfFilenameLineEdit->setText(name);
            isReady = wasReady;
        }
        const QString path = s.outputFolder + QLatin1Char('/') + name;
        if (!QFileInfo(s.outputFolder).isDir()) {
            if (choosePdfPath(ShellHelpers::documentsFolder()).isEmpty())
                return;
        } else if (QFileInfo::exists(path)) {
            QMessageBox box(QMessageBox::Question, KivGlobal::productName(), tr("Confirm overwrite"),
                            QMessageBox::Yes | QMessageBox::No, this);
            box.setInformativeText(tr("Are you sure you want to overwrite ") + QDir::toNativeSeparators(path) +
                                   QLatin1Char('?'));
            box.setDefaultButton(QMessageBox::No);
            if (ShellDialogs::exec(box) != box.button(QMessageBox::Yes) &&
                choosePdfPath(ShellHelpers::documentsFolder()).isEmpty())
                return;
        }
    }
    const ConvertTargets::Target pdf = ConvertTargets::offered().at(pdfIndex);
    startRun(KivLocalConvertImage::settings().outputFolder, pdf.name, pdf.extension);
}

// The "Save to PDF File" dialog, starting in the output folder or else in
// `fallbackFolder`; the chosen file becomes the output folder and PDF file
// name. Returns its full path, empty when cancelled.
QString ConvertImageForm::choosePdfPath(const QString &fallbackFolder)
{
    const QString folder = KivLocalConvertImage::settings().outputFolder;
    const QString start = QFileInfo(folder).isDir() ? folder : fallbackFolder;
    const QString chosen = ShellDialogs::getSaveFileName(this, tr("Save to PDF File"), start, tr("PDF files (*.pdf)"));
    if (chosen.isEmpty())
        return QString();
    const QFileInfo file(chosen);
    const QString outputFolder = QDir::toNativeSeparators(file.absolutePath());
    const QString name = withPdfExtension(file.fileName());
    const bool wasReady = isReady;
    isReady = false;
    ui.outputFolderLineEdit->setText(outputFolder);
    ui.pdfFilenameLineEdit->setText(name);
    storeSettings({QStringLiteral("outputFolder"), QStringLiteral("pdfFileName")}, [&](ConvertSettings &s) {
        s.outputFolder = outputFolder;
        s.pdfFileName = name;
    });
    isReady = wasReady;
    return outputFolder + QDir::separator() + name;
}

void ConvertImageForm::convertToImages()
{
    const QString folder = KivLocalConvertImage::settings().outputFolder;
    // A bare drive letter is no folder to write into.
    if (folder.size() <= 1 || !QFileInfo(folder).isDir()) {
        convertAfterFolderChoice = true;
        folderPicker->pickFolderFromDocuments();
        return;
    }
    const bool wasReady = isReady;
    isReady = false;
    ui.outputFolderLineEdit->setText(folder);
    isReady = wasReady;
    const ConvertTargets::Target target = ConvertTargets::offered().at(ui.targetComboBox->currentIndex());
    startRun(folder, target.name, target.extension);
}

void ConvertImageForm::startRun(const QString &outputPath, const QString &formatName, const QString &extension)
{
    conversionRunning = true;
    progressForm = new ConvertProgressForm(this);
    connect(progressForm, &ConvertProgressForm::startConvertSignal, this, &ConvertImageForm::handleStartConvertSignal);
    connect(progressForm, &ConvertProgressForm::finishConvertSignal, this,
            &ConvertImageForm::handleFinishConvertSignal);
    connect(progressForm, &ConvertProgressForm::showToolbarSignal, this, &ConvertImageForm::OnShowToolbarSignal);
    progressForm->start(sourceFiles(), outputPath, formatName, extension, false);
    ui.sourceStack->addWidget(progressForm);
    ui.sourceStack->setCurrentWidget(progressForm);
    for (QWidget *widget : {ui.toolbarWidget, ui.tabToolbarWidget, static_cast<QWidget *>(ui.tabWidget),
                            static_cast<QWidget *>(ui.previewImage)})
        widget->hide();
}

void ConvertImageForm::handleStartConvertSignal()
{
    // A second pass the user asked for while a close waits ends at once.
    if (closing && progressForm)
        progressForm->stop();
    setRunning(true);
}

void ConvertImageForm::handleFinishConvertSignal()
{
    conversionRunning = false;
    setRunning(false);
    for (QWidget *widget : {ui.toolbarWidget, ui.tabToolbarWidget, static_cast<QWidget *>(ui.tabWidget),
                            static_cast<QWidget *>(ui.previewImage)})
        widget->show();
    ui.sourceStack->setCurrentWidget(ui.sourceTreeView);
    if (closing)
        emit closeApp();
}

// While a run lasts the list and everything that edits it are locked.
void ConvertImageForm::setRunning(bool running)
{
    for (QWidget *button : {ui.addFilesButton, ui.clearButton})
        button->setEnabled(!running);
    if (running) {
        for (QWidget *button : {ui.removeButton, ui.upButton, ui.downButton})
            button->setEnabled(false);
    } else {
        updateListButtons();
    }
    ui.targetComboBox->setEnabled(!running);
    ui.convertButton->setEnabled(!running && sourceModel->rowCount() > 0);
    for (int page = 0; page < ui.sourceStack->count(); ++page) {
        QWidget *widget = ui.sourceStack->widget(page);
        if (widget != progressForm)
            widget->setEnabled(!running);
    }
    refreshTheme();
}

void ConvertImageForm::OnShowToolbarSignal(bool show)
{
    emit showToolbarSignal(show);
}

void ConvertImageForm::stopRequest()
{
    closing = true;
    previewController->stop();
    if (progressForm)
        progressForm->stop();
}

void ConvertImageForm::on_websiteButton_clicked()
{
    ShellHelpers::openWebPage(KivGlobal::websiteUrl());
}

void ConvertImageForm::on_aboutButton_clicked()
{
    ShellDialogs::exec(new AboutDialog(this));
}
