#pragma once

#include "thumbnailstore.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QStandardItem;
class QStandardItemModel;

// The rows of the source list in its model: column 0 shows a file (its name,
// later its details and icon), column 1 holds its full path. A file's row is
// found at once, however rows were moved or removed since it was listed, and
// new rows go in as one insertion per batch. Icons are kept compressed in
// `icons`, decoded only while a row is painted.
class ConvertSourceRows
{
public:
    ConvertSourceRows(QStandardItemModel *model, ThumbnailStore *icons);

    void append(const QStringList &paths);
    // Gives the row of `path` its text and icon (compressed bytes, empty for
    // none); false when the file has left the list.
    bool setDetails(const QString &path, const QString &text, const QByteArray &icon);
    // Removes the rows (any order); returns their paths.
    QStringList remove(QList<int> rows);
    // Empties the list and drops every icon at once.
    void clear();
    // The file of a row's icon, empty when it has left the list.
    QString pathOf(ThumbnailStore::Id id) const { return pathOfIcon.value(id); }

    int count() const;
    QString path(int row) const;
    QStringList paths() const;

private:
    QStandardItemModel *const model;
    ThumbnailStore *const icons;
    ThumbnailStore::Id nextId = 1;
    QHash<ThumbnailStore::Id, QString> pathOfIcon;
    // SourceImageLoader::pathKey of each listed path: the row's column 0 item,
    // which keeps its identity when rows are taken and put back elsewhere.
    QHash<QString, QStandardItem *> rowOfPath;
};
