#include "splitpdfframe.h"

#include <QDropEvent>

SplitPDFFrame::SplitPDFFrame(QWidget *parent)
    : QFrame(parent)
{
    setAcceptDrops(true);
}

void SplitPDFFrame::dragEnterEvent(QDragEnterEvent *event)
{
    dropHandler.dragEnter(event);
}

void SplitPDFFrame::dragMoveEvent(QDragMoveEvent *event)
{
    PdfDropHandler::dragMove(event);
}

void SplitPDFFrame::dropEvent(QDropEvent *event)
{
    emit addURLs(PdfDropHandler::drop(event));
}
