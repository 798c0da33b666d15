#include "convertimageframe.h"

#include "convertimagedrophandler.h"

#include <QDragMoveEvent>
#include <QDropEvent>

ConvertImageFrame::ConvertImageFrame(QWidget *parent)
    : QFrame(parent)
{
    setAcceptDrops(true);
}

void ConvertImageFrame::dragEnterEvent(QDragEnterEvent *event)
{
    ConvertImageDropHandler::dragEnter(event);
}

void ConvertImageFrame::dragMoveEvent(QDragMoveEvent *event)
{
    event->accept();
}

void ConvertImageFrame::dropEvent(QDropEvent *event)
{
    emit addURLs(ConvertImageDropHandler::drop(event));
}
