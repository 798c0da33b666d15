#pragma once

#include "thumbnailstore.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractItemView;
class QTimer;

// Finds the rows a list is about to show, so their pictures can be drawn
// before the user gets there: about one screen beyond the rows on screen, in
// the direction the list last moved, nearest first. Rows are ThumbnailItem
// objects of the store (or answer ThumbnailItem::IdRole). GUI thread only.
class ThumbnailLookahead : public QObject
{
    Q_OBJECT
public:
    ThumbnailLookahead(QAbstractItemView *view, ThumbnailStore *store);

    // The ids of those rows that have no picture yet; the store keeps their
    // pictures as shown ones when they come.
    QList<ThumbnailStore::Id> idsAhead();

signals:
    // The list has scrolled; coalesced to one a turn of the event loop.
    void moved();
    // The user has turned to the list (the pointer over it, or the keyboard
    // focus in it) or away from it: whoever draws its pictures may get ready.
    void engaged(bool engaged);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::pair<int, int> rowsOnScreen() const;

    const QPointer<QAbstractItemView> view;
    ThumbnailStore *const store;
    QTimer *movedTimer = nullptr;
    int lastFirstRow = -1;
    bool forward = true;
};
