#include "convertimagetreeview.h"

#include "imagefiles.h"
#include "urldroparea.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QPixmap>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Every row keeps the room of an icon, whether or not its icon has arrived or
// could be read: the texts stay aligned, and rows of one height keep the view
// quick with thousands of them.
class IconRowDelegate : public QStyledItemDelegate
{
public:
    IconRowDelegate(const QSize &iconSize, QObject *parent)
        : QStyledItemDelegate(parent)
        , iconSize(iconSize)
    {
        QPixmap blank(iconSize);
        blank.fill(Qt::transparent);
        blankIcon = QIcon(blank);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(qMax(size.height(), iconSize.height() + 8));
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->icon.isNull()) {
            option->icon = blankIcon;
            option->features |= QStyleOptionViewItem::HasDecoration;
        }
        option->decorationSize = iconSize;
    }

private:
    QSize iconSize;
    QIcon blankIcon;
};

} // namespace

ConvertImageTreeView::ConvertImageTreeView(QWidget *parent)
    : QTreeView(parent)
{
    setIconSize(QSize(64, 64));
    setItemDelegate(new IconRowDelegate(iconSize(), this));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(true);
    setTabKeyNavigation(false);
    setAccessibleName(tr("Source images"));
    connect(new UrlDropArea(this, ImageFiles::isImageFile), &UrlDropArea::dropped, this,
            &ConvertImageTreeView::addURLs);
}

void ConvertImageTreeView::moveRows(QList<int> rows, int before)
{
    auto *items = qobject_cast<QStandardItemModel *>(model());
    if (!items || rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<QList<QStandardItem *>> taken;
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        if (*row < 0 || *row >= items->rowCount())
            continue;
        taken.prepend(items->takeRow(*row));
        if (*row < before)
            --before;
    }
    before = qBound(0, before, items->rowCount());
    for (qsizetype i = 0; i < taken.size(); ++i)
        items->insertRow(before + int(i), taken.at(i));
    if (taken.isEmpty())
        return;
    const QModelIndex first = items->index(before, 0);
    const QModelIndex last = items->index(before + int(taken.size()) - 1, 0);
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(first, last),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ConvertImageTreeView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!ImageFiles::isImageFile(selectedPath)) {
        event->ignore();
        return;
    }
    QTreeView::dragEnterEvent(event);
}

void ConvertImageTreeView::dragMoveEvent(QDragMoveEvent *event)
{
    // Shows where the rows would go.
    QTreeView::dragMoveEvent(event);
}

void ConvertImageTreeView::dropEvent(QDropEvent *event)
{
    const QModelIndex onto = indexAt(event->position().toPoint());
    const DropIndicatorPosition position = dropIndicatorPosition();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    if (!onto.isValid() || (position != AboveItem && position != BelowItem)) {
        event->ignore();
        return;
    }
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows << index.row();
    moveRows(rows, onto.row() + (position == BelowItem ? 1 : 0));
    // Reported as a copy: after a move the view would remove the dragged rows
    // once more when the drag ends.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}
