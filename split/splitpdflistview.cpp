#include "splitpdflistview.h"

#include <QDropEvent>

SplitPDFListView::SplitPDFListView(QWidget *parent)
    : QListView(parent)
{
}

void SplitPDFListView::dragEnterEvent(QDragEnterEvent *event)
{
    dropHandler.dragEnter(event);
}

void SplitPDFListView::dragMoveEvent(QDragMoveEvent *event)
{
    PdfDropHandler::dragMove(event);
}

void SplitPDFListView::dropEvent(QDropEvent *event)
{
    emit addURLs(PdfDropHandler::drop(event));
}
