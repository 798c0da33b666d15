#pragma once

#include "thumbnailstore.h"

#include <QStandardItem>

// A list row whose picture lives in a ThumbnailStore: its decoration is
// decoded when a view paints it, and rows of the same id (a page in two
// views, say) show the same picture. Rows made before the store's last
// clear() show nothing. The store must outlive the painting, not the item.
class ThumbnailItem : public QStandardItem
{
public:
    // Whether the row shows its own picture rather than the placeholder (bool).
    static constexpr int HasThumbnailRole = Qt::UserRole + 0x7417;
    // The row's id in its store (ThumbnailStore::Id).
    static constexpr int IdRole = Qt::UserRole + 0x7418;
    static constexpr int Type = QStandardItem::UserType + 0x7417;

    ThumbnailItem(ThumbnailStore *store, ThumbnailStore::Id id, const QString &text = {});

    ThumbnailStore::Id thumbnailId() const { return id; }

    QVariant data(int role = Qt::UserRole + 1) const override;
    QStandardItem *clone() const override;
    int type() const override { return Type; }

private:
    ThumbnailItem(ThumbnailStore *store, ThumbnailStore::Id id, quint32 generation);

    ThumbnailStore *const store;
    const ThumbnailStore::Id id;
    const quint32 generation;
};
