#pragma once

#include "convertformpart.h"

#include <QString>

#include <functional>

class ConvertImagePreviewController;
class PreviewDialog;

// The small preview under the settings tabs and, on a double click, the
// full-size preview window, both of the form's current file.
class ConvertPreview : public ConvertFormPart
{
    Q_OBJECT
public:
    // `currentFile` tells which file a double click opens.
    ConvertPreview(QWidget *form, ConvertImageFormUi &ui, bool &ready, std::function<QString()> currentFile);

    // Asks for a preview of `path`; `reload` when a setting changed.
    void request(const QString &path, bool reload);
    // Shows the text "Preview" instead of a picture.
    void showEmpty();
    bool isLoading() const;
    // Stops every preview worker; previewEnded() follows when one was loading.
    void stop();
    void refreshTheme() override;

signals:
    void previewEnded();

private:
    // Connected explicitly to `previewImage` and to the dialog.
    void on_PreviewImage_DoubleClick();
    void on_previewDialogClosed();

    const std::function<QString()> currentFile;
    ConvertImagePreviewController *controller = nullptr;
    PreviewDialog *previewDialog = nullptr;
    bool previewDialogOpen = false;
};
