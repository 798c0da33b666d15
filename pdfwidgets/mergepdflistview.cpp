#include "mergepdflistview.h"

#include "pdfdroprule.h"
#include "pdffileitemdelegate.h"
#include "urldroparea.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStandardItemModel>

MergePDFListView::MergePDFListView(QWidget *parent)
    : QListView(parent)
{
    setItemDelegate(new PdfFileItemDelegate(this));
    setTextElideMode(Qt::ElideMiddle);
    auto *outside = new UrlDropArea(this, PdfDropRule::takesFile);
    connect(outside, &UrlDropArea::hovering, this, &MergePDFListView::followDrag);
    connect(outside, &UrlDropArea::left, this, [this] {
        showBar(QRect());
        stopAutoScroll();
    });
    connect(outside, &UrlDropArea::dropped, this, &MergePDFListView::handOnDrop);
}

void MergePDFListView::handOnDrop(const QList<QUrl> &urls, const QPoint &pos)
{
    urlsDroppedGap = dropGapAt(pos);
    emit addURLs(urls);
    urlsDroppedGap = -1;
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

int MergePDFListView::dropGapAt(const QPoint &pos) const
{
    // Rows flow left to right, line by line: the gap is before the first row
    // on a later line, or on the pointer's line with its middle right of it.
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    for (int row = 0; row < rows; ++row) {
        const QRect rect = visualRect(model()->index(row, 0, rootIndex()));
        const bool laterLine = rect.top() > pos.y();
        const bool onLine = rect.top() <= pos.y() && pos.y() <= rect.bottom();
        if (laterLine || (onLine && rect.center().x() > pos.x()))
            return row;
    }
    return rows;
}

// The view's own indicator marks the top or bottom of a row, which says
// nothing in a grid of thumbnails, and its drag handling in icon mode moves
// pictures freely instead; the gap is drawn here as an upright bar.
void MergePDFListView::dragMoveEvent(QDragMoveEvent *event)
{
    event->accept();
    followDrag(event->position().toPoint());
}

void MergePDFListView::followDrag(const QPoint &pos)
{
    showBar(gapBar(pos));
    const QRect inner = viewport()->rect().marginsRemoved(
        QMargins(autoScrollMargin(), autoScrollMargin(), autoScrollMargin(), autoScrollMargin()));
    if (hasAutoScroll() && !inner.contains(pos))
        startAutoScroll();
}

void MergePDFListView::dragLeaveEvent(QDragLeaveEvent *event)
{
    showBar(QRect());
    stopAutoScroll();
    event->accept();
}

void MergePDFListView::showBar(const QRect &bar)
{
    if (bar == shownBar)
        return;
    shownBar = bar;
    viewport()->update();
}

void MergePDFListView::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    if (shownBar.isNull() || !showDropIndicator())
        return;
    QPainter painter(viewport());
    painter.fillRect(shownBar, palette().color(QPalette::Highlight));
}

QRect MergePDFListView::gapBar(const QPoint &pos) const
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    const int gap = dropGapAt(pos);
    if (rows == 0)
        return QRect();
    // After the row before the gap while that row is on the pointer's line
    // (the end of a line), else before the row after it.
    const QRect before = gap > 0 ? visualRect(model()->index(gap - 1, 0, rootIndex())) : QRect();
    const bool afterBefore = gap == rows || (before.isValid() && before.top() <= pos.y() && pos.y() <= before.bottom());
    const QRect side = afterBefore ? before : visualRect(model()->index(gap, 0, rootIndex()));
    const int x = afterBefore ? side.right() + spacing() / 2 + 1 : side.left() - spacing() / 2 - 1;
    return QRect(x - 1, side.top(), 3, side.height());
}

void MergePDFListView::dropEvent(QDropEvent *event)
{
    showBar(QRect());
    stopAutoScroll();
    if (!qobject_cast<QStandardItemModel *>(model()) || !draggedIndex.isValid()) {
        event->ignore();
        return;
    }
    const int source = draggedIndex.row();
    const int gap = dropGapAt(event->position().toPoint());
    const int target = gap > source ? gap - 1 : gap;
    if (target != source)
        moveRow(source, target);
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
    // Kept after the drag: only a drag from this view, which sets it anew,
    // can drop rows here.
    draggedIndex = currentIndex();
    QListView::startDrag(supportedActions);
}
