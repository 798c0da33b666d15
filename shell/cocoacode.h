#pragma once

#include <QWidget>

// Folder picker that reports its result by a signal. Created by a form that
// needs one, never shown itself.
class CocoaCode : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Modal; emits folderSelected() before returning.
    void pickFolder(const QString &startFolder);
    void pickFolderFromDocuments();

signals:
    // The chosen folder, or an empty string when the user cancelled.
    void folderSelected(QString path);
};
