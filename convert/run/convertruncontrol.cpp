#include "convertruncontrol.h"

#include "cocoacode.h"
#include "convertimageformui.h"
#include "convertimagepreviewlabel.h"
#include "convertimagetreeview.h"
#include "convertprogressform.h"
#include "convertsourcelist.h"
#include "converttargets.h"
#include "kivglobal.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "theme.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QStackedLayout>
#include <QTabWidget>
#include <QToolButton>

namespace {

QString withPdfExtension(const QString &name)
{
    return name.right(4).compare(QLatin1String(".pdf"), Qt::CaseInsensitive) == 0 ? name : name + QLatin1String(".pdf");
}

} // namespace

ConvertRunControl::ConvertRunControl(QWidget *form, ConvertImageFormUi &ui, bool &ready, ConvertSourceList *sources)
    : ConvertFormPart(form, ui, ready)
    , sources(sources)
    , folderPicker(new CocoaCode(form))
    , pdfIndex(ConvertTargets::indexOf(QStringLiteral("PDF")))
{
    folderPicker->hide();
    connect(folderPicker, &CocoaCode::folderSelected, this, &ConvertRunControl::on_FolderSelected);
    connectSlotsByName();
}

void ConvertRunControl::apply(const ConvertSettings &s)
{
    ui.outputFolderLineEdit->setText(s.outputFolder);
    ui.pdfFilenameLineEdit->setText(s.pdfFileName);
}

void ConvertRunControl::refreshTheme()
{
    Theme::applyIcon(ui.convertButton, QStringLiteral("_Convert24.png"), QStringLiteral("_ConvertWhite24.png"),
                     QStringLiteral("_ConvertGray24.png"));
    for (QAbstractButton *button : {ui.outputFolderButton, ui.pdfFilenameButton})
        Theme::applyIcon(button, QStringLiteral("_folder16.png"), QStringLiteral("_folderWhite16.png"));
}

void ConvertRunControl::on_convertButton_clicked()
{
    if (conversionRunning || closing || sources->files().isEmpty())
        return;
    if (KivGlobal::isPdfManager || ui.targetComboBox->currentIndex() == pdfIndex)
        convertToPdf();
    else
        convertToImages();
}

void ConvertRunControl::convertToPdf()
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
            {
                const QScopedValueRollback<bool> paused(ready, false);
                ui.pdfFilenameLineEdit->setText(name);
            }
        }
        const QString path = s.outputFolder + QLatin1Char('/') + name;
        if (!QFileInfo(s.outputFolder).isDir()) {
            if (choosePdfPath(ShellHelpers::documentsFolder()).isEmpty())
                return;
        } else if (!ShellDialogs::confirmOverwrite(form, path) &&
                   choosePdfPath(ShellHelpers::documentsFolder()).isEmpty()) {
            return;
        }
    }
    const ConvertTargets::Target pdf = ConvertTargets::offered().at(pdfIndex);
    startRun(KivLocalConvertImage::settings().outputFolder, pdf.name, pdf.extension);
}

// The "Save to PDF File" dialog, starting in the output folder or else in
// `fallbackFolder`; the chosen file becomes the output folder and PDF file
// name. Returns its full path, empty when cancelled.
QString ConvertRunControl::choosePdfPath(const QString &fallbackFolder)
{
    const QString folder = KivLocalConvertImage::settings().outputFolder;
    const QString start = QFileInfo(folder).isDir() ? folder : fallbackFolder;
    // A name typed without ".pdf" is completed and the completed file asked
    // about before anything is replaced.
    const QString path = ShellDialogs::getSaveFileName(form, tr("Save to PDF File"), start, tr("PDF files (*.pdf)"),
                                                       QStringLiteral("pdf"));
    if (path.isEmpty())
        return QString();
    const QFileInfo file(path);
    const QString outputFolder = QDir::toNativeSeparators(file.absolutePath());
    const QString name = file.fileName();
    {
        const QScopedValueRollback<bool> paused(ready, false);
        ui.outputFolderLineEdit->setText(outputFolder);
        ui.pdfFilenameLineEdit->setText(name);
        storeSettings({QStringLiteral("outputFolder"), QStringLiteral("pdfFileName")}, [&](ConvertSettings &s) {
            s.outputFolder = outputFolder;
            s.pdfFileName = name;
        });
    }
    return outputFolder + QDir::separator() + name;
}

void ConvertRunControl::convertToImages()
{
    const QString folder = KivLocalConvertImage::settings().outputFolder;
    // A bare drive letter is no folder to write into.
    if (folder.size() <= 1 || !QFileInfo(folder).isDir()) {
        convertAfterFolderChoice = true;
        folderPicker->pickFolderFromDocuments();
        return;
    }
    {
        const QScopedValueRollback<bool> paused(ready, false);
        ui.outputFolderLineEdit->setText(folder);
    }
    const ConvertTargets::Target target = ConvertTargets::offered().at(ui.targetComboBox->currentIndex());
    startRun(folder, target.name, target.extension);
}

void ConvertRunControl::startRun(const QString &outputPath, const QString &formatName, const QString &extension)
{
    conversionRunning = true;
    progressForm = new ConvertProgressForm(form);
    connect(progressForm, &ConvertProgressForm::startConvertSignal, this, &ConvertRunControl::handleStartConvertSignal);
    connect(progressForm, &ConvertProgressForm::finishConvertSignal, this,
            &ConvertRunControl::handleFinishConvertSignal);
    connect(progressForm, &ConvertProgressForm::showToolbarSignal, this, &ConvertRunControl::OnShowToolbarSignal);
    progressForm->start(sources->files(), outputPath, formatName, extension, false);
    ui.sourceStack->addWidget(progressForm);
    ui.sourceStack->setCurrentWidget(progressForm);
    setSettingsShown(false);
}

void ConvertRunControl::handleStartConvertSignal()
{
    // A second pass the user asked for while a close waits ends at once.
    if (closing && progressForm)
        progressForm->stop();
    setRunning(true);
}

void ConvertRunControl::handleFinishConvertSignal()
{
    conversionRunning = false;
    setRunning(false);
    setSettingsShown(true);
    ui.sourceStack->setCurrentWidget(ui.sourceTreeView);
    emit runFinished();
}

// The run's panel stands alone: no toolbar, settings or preview beside it.
void ConvertRunControl::setSettingsShown(bool shown)
{
    for (QWidget *widget :
         std::initializer_list<QWidget *>{ui.toolbarWidget, ui.tabToolbarWidget, ui.tabWidget, ui.previewImage})
        widget->setVisible(shown);
}

// While a run lasts the list and everything that edits it are locked.
void ConvertRunControl::setRunning(bool running)
{
    sources->setLocked(running);
    ui.targetComboBox->setEnabled(!running);
    ui.convertButton->setEnabled(!running && !sources->files().isEmpty());
    emit enabledStateChanged();
}

void ConvertRunControl::OnShowToolbarSignal(bool show)
{
    emit showToolbarSignal(show);
}

void ConvertRunControl::stop()
{
    closing = true;
    if (progressForm)
        progressForm->stop();
}

void ConvertRunControl::on_outputFolderButton_clicked()
{
    convertAfterFolderChoice = false;
    folderPicker->pickFolderFromDocuments();
}

void ConvertRunControl::on_FolderSelected(QString path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return;
    storeSettings({QStringLiteral("outputFolder")}, [&path](ConvertSettings &s) { s.outputFolder = path; });
    {
        const QScopedValueRollback<bool> paused(ready, false);
        ui.outputFolderLineEdit->setText(path);
    }
    if (convertAfterFolderChoice) {
        convertAfterFolderChoice = false;
        on_convertButton_clicked();
    }
}

void ConvertRunControl::on_outputFolderLineEdit_textChanged(const QString &text)
{
    changeOutputOption(QStringLiteral("outputFolder"), [&text](ConvertSettings &s) { s.outputFolder = text; });
}

void ConvertRunControl::on_pdfFilenameButton_clicked()
{
    if (ready)
        choosePdfPath(ShellHelpers::picturesFolder());
}

void ConvertRunControl::on_pdfFilenameLineEdit_textChanged(const QString &text)
{
    changeOutputOption(QStringLiteral("pdfFileName"), [&text](ConvertSettings &s) { s.pdfFileName = text; });
}
