#pragma once

#include <QList>
#include <QString>
#include <QTreeView>
#include <QUrl>

// The images tool's source list: one row per file with its icon and details,
// put in order by dragging rows; image files and folders dropped from outside
// are handed on through addURLs. The drag handlers below see only the rows
// dragged inside the view.
class ConvertImageTreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit ConvertImageTreeView(QWidget *parent = nullptr);

    // The full path of the selected file, kept by the form; a row drag starts
    // only while it names an image file.
    QString selectedPath;

    // Moves `rows` (of a QStandardItemModel), keeping their order, so that
    // they stand before the row that was at `before` (the end for rowCount),
    // and selects them.
    void moveRows(QList<int> rows, int before);

signals:
    void addURLs(QList<QUrl> urls);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
