// The small preview under the settings and the full-size preview window.
#include "convertimageform.h"

#include "convertimagepreviewcontroller.h"
#include "convertimagepreviewlabel.h"
#include "previewdialog.h"

#include <QFileInfo>

void ConvertImageForm::setupPreview()
{
    previewController = new ConvertImagePreviewController(ui.previewImage, this);
    connect(this, &ConvertImageForm::previewRequested, previewController, &ConvertImagePreviewController::request);
    connect(previewController, &ConvertImagePreviewController::previewEnded, this, &ConvertImageForm::onPreviewEnded);
    connect(ui.previewImage, &ConvertImagePreviewLabel::mouseDoubleClick, this,
            &ConvertImageForm::on_PreviewImage_DoubleClick);
}

bool ConvertImageForm::isPreviewLoading() const
{
    return previewController->isLoading();
}

void ConvertImageForm::on_PreviewImage_DoubleClick()
{
    if (previewDialogOpen || !QFileInfo(currentSelectedFile).isFile())
        return;
    if (!previewDialog) {
        previewDialog = new PreviewDialog(this);
        connect(previewDialog, &PreviewDialog::previewDialogClosed, this, &ConvertImageForm::on_previewDialogClosed);
    }
    previewDialogOpen = true;
    previewDialog->loadImage(currentSelectedFile);
    // Modal, without a nested event loop: the form's own loop keeps serving it.
    previewDialog->open();
}

void ConvertImageForm::on_previewDialogClosed()
{
    previewDialogOpen = false;
}

void ConvertImageForm::onPreviewEnded()
{
    if (closing)
        emit closeApp();
}
