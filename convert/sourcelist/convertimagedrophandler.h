#pragma once

#include <QList>
#include <QUrl>

class QDragEnterEvent;
class QDropEvent;

// The drag rules the images tool's drop area and source list share: the
// first URL decides; a folder or an image file may be dropped. A drop hands
// on every URL; the intake skips what is not an image.
class ConvertImageDropHandler
{
public:
    static void dragEnter(QDragEnterEvent *event);
    static QList<QUrl> drop(QDropEvent *event);
};
