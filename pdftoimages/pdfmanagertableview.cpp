#include "pdfmanagertableview.h"

#include <QKeyEvent>

PdfManagerTableView::PdfManagerTableView(QWidget *parent)
    : QTableView(parent)
{
    setTabKeyNavigation(false);
}

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
    if (watched == this && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        // Tab and Shift+Tab still move on to the next and previous control.
        const int key = static_cast<QKeyEvent *>(event)->key();
        return key != Qt::Key_Tab && key != Qt::Key_Backtab;
    }
    return QTableView::eventFilter(watched, event);
}
