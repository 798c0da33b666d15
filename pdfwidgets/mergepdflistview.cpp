#include "mergepdflistview.h"

#include "pdfdroprule.h"
#include "pdffileitemdelegate.h"
#include "urldroparea.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QStandardItemModel>

MergePDFListView::MergePDFListView(QWidget *parent)
    : QListView(parent)
{
    setItemDelegate(new PdfFileItemDelegate(this));
    setTextElideMode(Qt::ElideMiddle);
    connect(new UrlDropArea(this, PdfDropRule::takesFile), &UrlDropArea::dropped, this, &MergePDFListView::addURLs);
}

void MergePDFListView::moveRow(int source, int target)
{
    auto *items = qobject_cast<QStandardItemModel *>(model());
    if (!items || source < 0 || source >= items->rowCount() || target < 0 || target >= items->rowCount())
        return;
    items->insertRow(target, items->takeRow(source));
    selectionModel()->clearSelection();
    const QModelIndex moved = items->index(target, 0);
    selectionModel()->setCurrentIndex(moved, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit moveItem(source, target);
}

void MergePDFListView::dragEnterEvent(QDragEnterEvent *event)
{
    event->setDropAction(event->proposedAction());
    event->accept();
}

void MergePDFListView::dragMoveEvent(QDragMoveEvent *event)
{
    event->accept();
}

void MergePDFListView::dropEvent(QDropEvent *event)
{
    if (!qobject_cast<QStandardItemModel *>(model()) || !draggedIndex.isValid()) {
        event->ignore();
        return;
    }
    const QModelIndex onto = indexAt(event->position().toPoint());
    moveRow(draggedIndex.row(), onto.isValid() ? onto.row() : model()->rowCount() - 1);
    // Reported as a copy: a move would make the view remove the dragged row
    // once more after the drag ends.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MergePDFListView::keyPressEvent(QKeyEvent *event)
{
    const int row = currentIndex().row();
    if (event->key() == Qt::Key_Delete && selectionModel()->hasSelection()) {
        emit removeRequested();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier && row >= 0) {
        const bool back = event->key() == Qt::Key_Left || event->key() == Qt::Key_Up;
        const bool forward = event->key() == Qt::Key_Right || event->key() == Qt::Key_Down;
        if (back || forward) {
            const int target = row + (back ? -1 : 1);
            if (target >= 0 && target < model()->rowCount())
                moveRow(row, target);
            return;
        }
    }
    QListView::keyPressEvent(event);
}

void MergePDFListView::startDrag(Qt::DropActions supportedActions)
{
    draggedIndex = currentIndex();
    QListView::startDrag(supportedActions);
    draggedIndex = QPersistentModelIndex();
}
