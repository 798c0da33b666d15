#include "urldroparea.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

UrlDropArea::UrlDropArea(QWidget *widget, FileRule takesFile)
    : QObject(widget)
    , widget(widget)
    , takesFile(takesFile)
{
    QWidget *target = widget;
    if (auto *scrollArea = qobject_cast<QAbstractScrollArea *>(widget))
        target = scrollArea->viewport();
    widget->setAcceptDrops(true);
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

bool UrlDropArea::accepts(const QList<QUrl> &urls) const
{
    if (urls.isEmpty())
        return false;
    const QString path = urls.constFirst().toLocalFile();
    return !path.isEmpty() && (QFileInfo(path).isDir() || takesFile(path));
}

bool UrlDropArea::eventFilter(QObject *, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::DragLeave) {
        emit left();
        return false;
    }
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drag = static_cast<QDropEvent *>(event);
    if (drag->source() == widget)
        return false;
    const QPoint pos = drag->position().toPoint();
    if (type == QEvent::DragMove) {
        drag->accept();
        emit hovering(pos);
        return true;
    }
    const QMimeData *mime = drag->mimeData();
    const QList<QUrl> urls = mime && mime->hasUrls() ? mime->urls() : QList<QUrl>();
    drag->setDropAction(Qt::LinkAction);
    if (type == QEvent::DragEnter) {
        drag->setAccepted(accepts(urls));
        if (drag->isAccepted())
            emit hovering(pos);
        return true;
    }
    drag->accept();
    emit left();
    emit dropped(urls, pos);
    return true;
}
