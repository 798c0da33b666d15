#pragma once

#include <QList>
#include <QUrl>

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;

// The drag rules every PDF tool's drop frame and page list share: a folder or a
// file ending in ".pdf" (any case) may be dropped; a drop hands on every URL.
class PdfDropHandler
{
public:
    static void dragEnter(QDragEnterEvent *event);
    static void dragMove(QDragMoveEvent *event);
    static QList<QUrl> drop(QDropEvent *event);
};
