#pragma once

#include "pdfdrophandler.h"

#include <QFrame>
#include <QList>
#include <QUrl>

// The drop area of the split, merge and password tools, shown while they have
// no file listed.
class SplitPDFFrame : public QFrame
{
    Q_OBJECT
public:
    explicit SplitPDFFrame(QWidget *parent = nullptr);

signals:
    void addURLs(QList<QUrl> urls);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    PdfDropHandler dropHandler;
};
