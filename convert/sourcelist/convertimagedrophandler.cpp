#include "convertimagedrophandler.h"

#include "imagefiles.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

void ConvertImageDropHandler::dragEnter(QDragEnterEvent *event)
{
    event->setDropAction(Qt::LinkAction);
    const QMimeData *mime = event->mimeData();
    if (!mime || !mime->hasUrls() || mime->urls().isEmpty()) {
        event->ignore();
        return;
    }
    const QString first = mime->urls().constFirst().toLocalFile();
    if (!first.isEmpty() && (QFileInfo(first).isDir() || ImageFiles::isImageFile(first)))
        event->accept();
    else
        event->ignore();
}

QList<QUrl> ConvertImageDropHandler::drop(QDropEvent *event)
{
    const QMimeData *mime = event->mimeData();
    event->setDropAction(Qt::LinkAction);
    event->accept();
    return mime ? mime->urls() : QList<QUrl>();
}
