#include "thumbnaillookahead.h"

#include "thumbnailitem.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QScrollBar>
#include <QTimer>

#include <climits>

ThumbnailLookahead::ThumbnailLookahead(QAbstractItemView *view, ThumbnailStore *store)
    : QObject(view)
    , view(view)
    , store(store)
    , movedTimer(new QTimer(this))
{
    movedTimer->setSingleShot(true);
    movedTimer->setInterval(0);
    connect(movedTimer, &QTimer::timeout, this, &ThumbnailLookahead::moved);
    for (const QScrollBar *bar : {view->verticalScrollBar(), view->horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, movedTimer, qOverload<>(&QTimer::start));
    view->installEventFilter(this);
}

bool ThumbnailLookahead::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::FocusIn:
        emit engaged(true);
        break;
    case QEvent::Leave:
    case QEvent::FocusOut: {
        // Focus stays while the pointer leaves, and the other way round. The
        // watched widget, not the view: a view going away is a view no more.
        const auto *widget = static_cast<const QWidget *>(watched);
        emit engaged(widget->underMouse() || widget->hasFocus());
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// The first and last rows on screen ({-1, -1}: none). Items of a list in
// icon mode leave gaps between them, so the screen is probed on a grid finer
// than an item rather than at its corners.
std::pair<int, int> ThumbnailLookahead::rowsOnScreen() const
{
    const QAbstractItemModel *model = view->model();
    if (!model || model->rowCount() == 0)
        return {-1, -1};
    const QSize item = view->sizeHintForIndex(model->index(0, 0));
    const int stepX = qMax(8, item.width() / 2);
    const int stepY = qMax(8, item.height() / 2);
    const QRect screen = view->viewport()->rect();
    // The far edges too, for rows only partly on screen.
    const auto probes = [](int from, int to, int step) {
        QList<int> at;
        for (int p = from; p < to; p += step)
            at.append(p);
        at.append(to);
        return at;
    };
    int first = INT_MAX;
    int last = -1;
    for (const int y : probes(screen.top(), screen.bottom(), stepY)) {
        for (const int x : probes(screen.left(), screen.right(), stepX)) {
            const QModelIndex index = view->indexAt(QPoint(x, y));
            if (index.isValid()) {
                first = qMin(first, index.row());
                last = qMax(last, index.row());
            }
        }
    }
    return last < 0 ? std::pair{-1, -1} : std::pair{first, last};
}

QList<ThumbnailStore::Id> ThumbnailLookahead::idsAhead()
{
    QList<ThumbnailStore::Id> ids;
    if (!view)
        return ids;
    const auto [first, last] = rowsOnScreen();
    if (first < 0)
        return ids;
    if (lastFirstRow >= 0 && first != lastFirstRow)
        forward = first > lastFirstRow;
    lastFirstRow = first;
    const int screen = last - first + 1;
    const QAbstractItemModel *model = view->model();
    const int from = forward ? last + 1 : first - 1;
    const int to = forward ? qMin(model->rowCount() - 1, last + screen) : qMax(0, first - screen);
    for (int row = from; forward ? row <= to : row >= to; row += forward ? 1 : -1) {
        const QVariant id = model->index(row, 0).data(ThumbnailItem::IdRole);
        if (id.isValid() && !store->contains(id.value<ThumbnailStore::Id>()))
            ids.append(id.value<ThumbnailStore::Id>());
    }
    store->expect(ids);
    return ids;
}
