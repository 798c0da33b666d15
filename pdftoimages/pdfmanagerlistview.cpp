#include "pdfmanagerlistview.h"

#include <QDropEvent>

PdfManagerListview::PdfManagerListview(QWidget *parent)
    : QListView(parent)
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void PdfManagerListview::dragEnterEvent(QDragEnterEvent *event)
{
    PdfDropHandler::dragEnter(event);
}

void PdfManagerListview::dragMoveEvent(QDragMoveEvent *event)
{
    PdfDropHandler::dragMove(event);
}

void PdfManagerListview::dropEvent(QDropEvent *event)
{
    emit addURLs(PdfDropHandler::drop(event));
}
