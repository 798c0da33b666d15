#pragma once

#include <QByteArray>
#include <QCache>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>

#include <functional>
#include <list>
#include <utility>

class QAbstractItemView;

// Keeps the pictures of a long list small, whatever its length: a row holds
// its picture as compressed bytes (any format QImage reads), and views decode
// only what they paint, through a cache bounded in bytes. The compressed
// bytes have a budget as well: beyond it, pictures nobody has looked at go
// first (the latest of them first, so a list filled from the top keeps its
// top), then those looked at least recently. A row painted without bytes
// shows the placeholder and is marked wanted; whoever can draw it answers
// thumbnailsWanted() with setThumbnail(). Every repaint of such a row wants it
// again, so the latest wishes are all that needs answering.
//
// How a list uses it: one store per tool, shared by the tool's views; rows
// are ThumbnailItem objects (or answer Qt::DecorationRole with icon()); bytes
// go in with setThumbnail() as they arrive; attach() every view that shows
// them; clear() when the list is emptied or refilled, remove() when one row
// goes for good. GUI thread only.
class ThumbnailStore : public QObject
{
    Q_OBJECT
public:
    using Id = quint64;
    static constexpr qint64 defaultByteBudget = qint64(96) << 20;
    static constexpr qint64 defaultCacheBytes = qint64(64) << 20;

    explicit ThumbnailStore(QObject *parent = nullptr, qint64 byteBudget = defaultByteBudget,
                            qint64 cacheBytes = defaultCacheBytes);

    // Drops every picture at once and starts a new generation: rows made
    // before show nothing. New pictures are drawn for `devicePixelRatio`.
    void clear(qreal devicePixelRatio = 1.0);
    quint32 generation() const { return currentGeneration; }
    qreal devicePixelRatio() const { return pixelRatio; }
    qint64 byteBudget() const { return budget; }

    // Empty bytes mark a picture that cannot be drawn: nothing is shown and
    // nothing is asked for.
    void setThumbnail(Id id, const QByteArray &encoded);
    void remove(Id id);
    // Whether `id` has its picture, compressed or decoded.
    bool contains(Id id) const;

    // The picture of `id` to paint now; for an id without one, the
    // placeholder, and `id` is marked wanted.
    QIcon icon(Id id);
    void setPlaceholder(const QIcon &icon) { placeholder = icon; }
    // Runs on every decoded picture before it is cached (to draw a frame, say).
    void setDecorator(std::function<void(QImage &)> decorate) { decorator = std::move(decorate); }

    // Pictures about to be shown (drawn ahead of a scrolling list): when
    // they come they are kept as painted ones, not as pictures nobody looked at.
    void expect(const QList<Id> &ids);

    // Ids painted without a picture since the last call, each once, in the
    // order painted.
    QList<Id> takeWanted();

    // Repaints `view` when pictures arrive.
    void attach(QAbstractItemView *view);

    int count() const { return int(entries.size()); }
    qint64 storedBytes() const { return stored; }
    qint64 cachedBytes() const { return decoded.totalCost(); }

signals:
    // Coalesced: once per turn of the event loop at most.
    void thumbnailsWanted();
    void thumbnailsChanged();

private:
    struct Entry {
        QByteArray bytes;
        bool seen = false;
        std::list<Id>::iterator place;
    };

    void touch(Entry &entry);
    void evict();
    void drop(Id id);
    static const char *formatOf(const QByteArray &bytes);
    QIcon *decode(const QByteArray &bytes) const;
    void schedule(bool &pending, void (ThumbnailStore::*signal)());

    const qint64 budget;
    qint64 stored = 0;
    QHash<Id, Entry> entries;
    // Front: the next to go when the budget is exceeded. Unseen pictures
    // stand before seen ones, the newest first; seen ones from least to most
    // recently painted.
    std::list<Id> order;
    QCache<Id, QIcon> decoded;
    QList<Id> wanted;
    QSet<Id> wantedNow;
    // Wanted ids whose picture has not come yet: it joins the seen ones.
    QSet<Id> askedFor;
    QIcon placeholder;
    std::function<void(QImage &)> decorator;
    qreal pixelRatio = 1.0;
    quint32 currentGeneration = 0;
    bool wantedPending = false;
    bool changedPending = false;
};
