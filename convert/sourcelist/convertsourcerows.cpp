#include "convertsourcerows.h"

#include "sourceimageloader.h"
#include "thumbnailitem.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <QStandardItemModel>

#include <algorithm>

namespace {

// Rows are moved between rows, never dropped onto one, and not edited.
QStandardItem *sourceItem(QStandardItem *item)
{
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
    return item;
}

} // namespace

ConvertSourceRows::ConvertSourceRows(QStandardItemModel *model, ThumbnailStore *icons)
    : model(model)
    , icons(icons)
{
}

void ConvertSourceRows::append(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    const int first = model->rowCount();
    const int last = first + int(paths.size()) - 1;
    // One insertion for the batch; the cells are filled quietly and announced
    // once, instead of two changes per row reaching every view.
    model->insertRows(first, int(paths.size()));
    {
        const QSignalBlocker quiet(model);
        for (int row = first; row <= last; ++row) {
            const QString &path = paths.at(row - first);
            const ThumbnailStore::Id id = nextId++;
            QStandardItem *shown = sourceItem(new ThumbnailItem(icons, id, QFileInfo(path).fileName()));
            model->setItem(row, 0, shown);
            model->setItem(row, 1, sourceItem(new QStandardItem(path)));
            pathOfIcon.insert(id, path);
            rowOfPath.insert(SourceImageLoader::pathKey(path), shown);
        }
    }
    emit model->dataChanged(model->index(first, 0), model->index(last, model->columnCount() - 1));
}

bool ConvertSourceRows::setDetails(const QString &path, const QString &text, const QByteArray &icon)
{
    auto *shown = static_cast<ThumbnailItem *>(rowOfPath.value(SourceImageLoader::pathKey(path)));
    if (!shown)
        return false;
    icons->setThumbnail(shown->thumbnailId(), icon);
    // An icon read again comes with the text the row has: the row is
    // repainted for the icon alone.
    if (shown->text() == text) {
        const QModelIndex index = shown->index();
        emit model->dataChanged(index, index, {Qt::DecorationRole});
    } else {
        shown->setText(text);
    }
    return true;
}

QStringList ConvertSourceRows::remove(QList<int> rows)
{
    // Bottom first, so the numbers of the rows still to go stay valid.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList removed;
    for (int row : std::as_const(rows)) {
        const QString gone = path(row);
        if (auto *shown = static_cast<ThumbnailItem *>(rowOfPath.take(SourceImageLoader::pathKey(gone)))) {
            icons->remove(shown->thumbnailId());
            pathOfIcon.remove(shown->thumbnailId());
        }
        model->removeRow(row);
        removed.append(gone);
    }
    return removed;
}

void ConvertSourceRows::clear()
{
    rowOfPath.clear();
    pathOfIcon.clear();
    icons->clear(icons->devicePixelRatio());
    model->removeRows(0, model->rowCount());
}

int ConvertSourceRows::count() const
{
    return model->rowCount();
}

QString ConvertSourceRows::path(int row) const
{
    const QStandardItem *item = model->item(row, 1);
    return item ? item->text() : QString();
}

QStringList ConvertSourceRows::paths() const
{
    QStringList all;
    all.reserve(model->rowCount());
    for (int row = 0; row < model->rowCount(); ++row)
        all.append(path(row));
    return all;
}
