#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

class QStandardItem;
class QStandardItemModel;

// The rows of the source list in its model: column 0 shows a file (its name,
// later its details and icon), column 1 holds its full path. A file's row is
// found at once, however rows were moved or removed since it was listed, and
// new rows go in as one insertion per batch.
class ConvertSourceRows
{
public:
    explicit ConvertSourceRows(QStandardItemModel *model);

    void append(const QStringList &paths);
    // Gives the row of `path` its text and icon; false when the file has left
    // the list.
    bool setDetails(const QString &path, const QString &text, const QIcon &icon);
    // Removes the rows (any order); returns their paths.
    QStringList remove(QList<int> rows);
    void clear();

    int count() const;
    QString path(int row) const;
    QStringList paths() const;

private:
    QStandardItemModel *const model;
    // SourceImageLoader::pathKey of each listed path: the row's column 0 item,
    // which keeps its identity when rows are taken and put back elsewhere.
    QHash<QString, QStandardItem *> rowOfPath;
};
