#include "pdfmanagerlistview.h"

#include "pdfdroprule.h"
#include "urldroparea.h"

PdfManagerListview::PdfManagerListview(QWidget *parent)
    : QListView(parent)
{
    connect(new UrlDropArea(this, PdfDropRule::takesFile), &UrlDropArea::dropped, this,
            &PdfManagerListview::addURLs);
}
