#pragma once

#include "pdfdrophandler.h"

#include <QFrame>
#include <QList>
#include <QUrl>

// The drop area shown before a PDF is loaded.
class PdfManagerFrame : public QFrame
{
    Q_OBJECT
public:
    explicit PdfManagerFrame(QWidget *parent = nullptr);

    bool isFolder() const { return dropHandler.isFolder(); }

signals:
    void addURLs(QList<QUrl> urls);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    PdfDropHandler dropHandler;
};
