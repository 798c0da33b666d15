#include "splitpdflistview.h"

#include "pdfdroprule.h"
#include "urldroparea.h"

SplitPDFListView::SplitPDFListView(QWidget *parent)
    : QListView(parent)
{
    connect(new UrlDropArea(this, PdfDropRule::takesFile), &UrlDropArea::dropped, this, &SplitPDFListView::addURLs);
}
