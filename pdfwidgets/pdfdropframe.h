#pragma once

#include "pdfdrophandler.h"

#include <QFrame>
#include <QList>
#include <QUrl>

// A drop area for PDF files and folders, shown while a tool has nothing listed.
class PdfDropFrame : public QFrame
{
    Q_OBJECT
public:
    explicit PdfDropFrame(QWidget *parent = nullptr);

signals:
    void addURLs(QList<QUrl> urls);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
