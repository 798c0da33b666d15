#include "pdfdrophandler.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

void PdfDropHandler::dragEnter(QDragEnterEvent *event)
{
    event->setDropAction(Qt::LinkAction);
    const QMimeData *mime = event->mimeData();
    if (!mime || !mime->hasUrls() || mime->urls().isEmpty()) {
        event->ignore();
        return;
    }
    const QFileInfo info(mime->urls().constFirst().toLocalFile());
    if (info.isDir() || info.suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        event->accept();
    else
        event->ignore();
}

void PdfDropHandler::dragMove(QDragMoveEvent *event)
{
    event->accept();
}

QList<QUrl> PdfDropHandler::drop(QDropEvent *event)
{
    const QMimeData *mime = event->mimeData();
    event->acceptProposedAction();
    return mime ? mime->urls() : QList<QUrl>();
}
