#include "thumbnailitem.h"

ThumbnailItem::ThumbnailItem(ThumbnailStore *store, ThumbnailStore::Id id, const QString &text)
    : QStandardItem(text)
    , store(store)
    , id(id)
    , generation(store->generation())
{
}

ThumbnailItem::ThumbnailItem(ThumbnailStore *store, ThumbnailStore::Id id, quint32 generation)
    : store(store)
    , id(id)
    , generation(generation)
{
}

QVariant ThumbnailItem::data(int role) const
{
    if (role == IdRole)
        return QVariant::fromValue(id);
    if (role != Qt::DecorationRole && role != HasThumbnailRole)
        return QStandardItem::data(role);
    const bool current = generation == store->generation();
    if (role == HasThumbnailRole)
        return current && store->contains(id);
    return current ? store->icon(id) : QIcon();
}

QStandardItem *ThumbnailItem::clone() const
{
    auto *copy = new ThumbnailItem(store, id, generation);
    copy->QStandardItem::operator=(*this);
    return copy;
}
