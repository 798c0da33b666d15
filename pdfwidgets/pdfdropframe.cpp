#include "pdfdropframe.h"

#include <QDropEvent>

PdfDropFrame::PdfDropFrame(QWidget *parent)
    : QFrame(parent)
{
    setAcceptDrops(true);
}

void PdfDropFrame::dragEnterEvent(QDragEnterEvent *event)
{
    PdfDropHandler::dragEnter(event);
}

void PdfDropFrame::dragMoveEvent(QDragMoveEvent *event)
{
    PdfDropHandler::dragMove(event);
}

void PdfDropFrame::dropEvent(QDropEvent *event)
{
    emit addURLs(PdfDropHandler::drop(event));
}
