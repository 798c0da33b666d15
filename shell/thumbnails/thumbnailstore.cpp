#include "thumbnailstore.h"

#include <QAbstractItemView>
#include <QPixmap>
#include <QTimer>

ThumbnailStore::ThumbnailStore(QObject *parent, qint64 byteBudget, qint64 cacheBytes)
    : QObject(parent)
    , budget(byteBudget)
    , decoded(cacheBytes)
{
}

void ThumbnailStore::clear(qreal devicePixelRatio)
{
    entries.clear();
    order.clear();
    decoded.clear();
    wanted.clear();
    wantedNow.clear();
    askedFor.clear();
    stored = 0;
    pixelRatio = devicePixelRatio;
    ++currentGeneration;
}

void ThumbnailStore::setThumbnail(Id id, const QByteArray &encoded)
{
    decoded.remove(id);
    auto found = entries.find(id);
    if (found != entries.end()) {
        stored += encoded.size() - found->bytes.size();
        found->bytes = encoded;
    } else {
        Entry entry{encoded, askedFor.remove(id), {}};
        // An asked-for picture is about to be painted; others wait at the front.
        entry.place = entry.seen ? order.insert(order.end(), id) : order.insert(order.begin(), id);
        entries.insert(id, entry);
        stored += encoded.size();
    }
    evict();
    schedule(changedPending, &ThumbnailStore::thumbnailsChanged);
}

void ThumbnailStore::remove(Id id)
{
    drop(id);
    decoded.remove(id);
    askedFor.remove(id);
}

bool ThumbnailStore::contains(Id id) const
{
    return entries.contains(id) || decoded.contains(id);
}

QIcon ThumbnailStore::icon(Id id)
{
    const auto found = entries.find(id);
    if (found != entries.end())
        touch(*found);
    if (const QIcon *cached = decoded.object(id))
        return *cached;
    if (found == entries.end()) {
        askedFor.insert(id);
        if (!wantedNow.contains(id)) {
            wantedNow.insert(id);
            wanted.append(id);
        }
        schedule(wantedPending, &ThumbnailStore::thumbnailsWanted);
        return placeholder;
    }
    if (found->bytes.isEmpty())
        return {};
    QIcon *picture = decode(found->bytes);
    const QIcon shown = *picture;
    const QSize size = shown.availableSizes().value(0);
    // Pictures larger than the whole cache are decoded again when painted.
    decoded.insert(id, picture, qMax<qsizetype>(1, qsizetype(size.width()) * size.height() * 4));
    return shown;
}

void ThumbnailStore::expect(const QList<Id> &ids)
{
    for (const Id id : ids)
        askedFor.insert(id);
}

QList<ThumbnailStore::Id> ThumbnailStore::takeWanted()
{
    wantedNow.clear();
    return std::exchange(wanted, {});
}

void ThumbnailStore::attach(QAbstractItemView *view)
{
    connect(this, &ThumbnailStore::thumbnailsChanged, view->viewport(), qOverload<>(&QWidget::update));
}

void ThumbnailStore::touch(Entry &entry)
{
    entry.seen = true;
    order.splice(order.end(), order, entry.place);
}

void ThumbnailStore::evict()
{
    while (stored > budget && !order.empty())
        drop(order.front());
}

void ThumbnailStore::drop(Id id)
{
    const auto found = entries.find(id);
    if (found == entries.end())
        return;
    stored -= found->bytes.size();
    order.erase(found->place);
    entries.erase(found);
}

// Naming the format spares asking every image plug-in whether it reads the bytes.
const char *ThumbnailStore::formatOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xff\xd8\xff"))
        return "JPG";
    if (bytes.startsWith("\x89PNG"))
        return "PNG";
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return "WEBP";
    return nullptr;
}

QIcon *ThumbnailStore::decode(const QByteArray &bytes) const
{
    QImage image = QImage::fromData(bytes, formatOf(bytes));
    if (image.isNull())
        return new QIcon;
    if (decorator)
        decorator(image);
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(pixelRatio);
    return new QIcon(pixmap);
}

void ThumbnailStore::schedule(bool &pending, void (ThumbnailStore::*signal)())
{
    if (pending)
        return;
    pending = true;
    QTimer::singleShot(0, this, [this, &pending, signal] {
        pending = false;
        emit(this->*signal)();
    });
}
