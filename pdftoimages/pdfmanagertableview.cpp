#include "pdfmanagertableview.h"

#include <QEvent>

void PdfManagerTableView::showEvent(QShowEvent *event)
{
    if (!filterInstalled) {
        installEventFilter(this);
        filterInstalled = true;
    }
    QTableView::showEvent(event);
}

bool PdfManagerTableView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
        return true;
    return QTableView::eventFilter(watched, event);
}
