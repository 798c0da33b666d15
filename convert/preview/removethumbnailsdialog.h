#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Shown at exit while the thumbnail folder is emptied.
class RemoveThumbnailsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RemoveThumbnailsDialog(QWidget *parent = nullptr);

    // Deletes the thumbnail files, then clears the clean-up flag and emits closeApp().
    void removeThumbnails();

signals:
    void closeApp();

private slots:
    void on_cancelButton_clicked();

private:
    QLabel *label = nullptr;
    QPushButton *cancelButton = nullptr;
    bool cancelled = false;
    bool removing = false;
};
