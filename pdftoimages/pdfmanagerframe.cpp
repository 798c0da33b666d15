#include "pdfmanagerframe.h"

#include <QDropEvent>

PdfManagerFrame::PdfManagerFrame(QWidget *parent)
    : QFrame(parent)
{
    setAcceptDrops(true);
}

void PdfManagerFrame::dragEnterEvent(QDragEnterEvent *event)
{
    dropHandler.dragEnter(event);
}

void PdfManagerFrame::dragMoveEvent(QDragMoveEvent *event)
{
    PdfDropHandler::dragMove(event);
}

void PdfManagerFrame::dropEvent(QDropEvent *event)
{
    emit addURLs(PdfDropHandler::drop(event));
}
