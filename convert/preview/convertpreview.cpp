#include "convertpreview.h"

#include "convertimageformui.h"
#include "convertimagepreviewcontroller.h"
#include "convertimagepreviewlabel.h"
#include "previewdialog.h"

#include <QFileInfo>

ConvertPreview::ConvertPreview(QWidget *form, ConvertImageFormUi &ui, bool &ready, std::function<QString()> currentFile)
    : ConvertFormPart(form, ui, ready)
    , currentFile(std::move(currentFile))
    , controller(new ConvertImagePreviewController(ui.previewImage, this))
{
    connect(controller, &ConvertImagePreviewController::previewEnded, this, &ConvertPreview::previewEnded);
    connect(ui.previewImage, &ConvertImagePreviewLabel::mouseDoubleClick, this,
            &ConvertPreview::on_PreviewImage_DoubleClick);
}

void ConvertPreview::request(const QString &path, bool reload)
{
    controller->request(path, reload);
}

void ConvertPreview::showEmpty()
{
    ui.previewImage->clear();
    ui.previewImage->setHasImage(false);
    ui.previewImage->setText(tr("Preview"));
}

bool ConvertPreview::isLoading() const
{
    return controller->isLoading();
}

void ConvertPreview::stop()
{
    controller->stop();
}

void ConvertPreview::refreshTheme()
{
    ui.previewImage->update();
}

void ConvertPreview::on_PreviewImage_DoubleClick()
{
    const QString path = currentFile();
    if (previewDialogOpen || !QFileInfo(path).isFile())
        return;
    if (!previewDialog) {
        previewDialog = new PreviewDialog(form);
        connect(previewDialog, &PreviewDialog::previewDialogClosed, this, &ConvertPreview::on_previewDialogClosed);
    }
    previewDialogOpen = true;
    previewDialog->loadImage(path);
    // Modal, without a nested event loop: the form's own loop keeps serving it.
    previewDialog->open();
}

void ConvertPreview::on_previewDialogClosed()
{
    previewDialogOpen = false;
}
