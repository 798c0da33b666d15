#pragma once

#include "urldroparea.h"

#include <QFrame>
#include <QList>
#include <QUrl>

// The frame a tool shows while it has nothing listed; it takes by drag what
// the tool's rule allows (see UrlDropArea).
class DropFrame : public QFrame
{
    Q_OBJECT
public:
    DropFrame(UrlDropArea::FileRule takesFile, QWidget *parent);

signals:
    void addURLs(QList<QUrl> urls);
};
