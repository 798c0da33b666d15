#include "dropframe.h"

DropFrame::DropFrame(UrlDropArea::FileRule takesFile, QWidget *parent)
    : QFrame(parent)
{
    connect(new UrlDropArea(this, takesFile), &UrlDropArea::dropped, this, &DropFrame::addURLs);
}
