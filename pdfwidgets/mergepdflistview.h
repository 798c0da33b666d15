#pragma once

#include <QList>
#include <QListView>
#include <QPersistentModelIndex>
#include <QRect>
#include <QUrl>

// The file list of the merge and password tools: first pages as icons that
// the user puts in order by dragging, or with Ctrl and the arrow keys; Delete
// asks to remove the selected row. PDFs dropped from outside are handed on
// with the gap they were dropped in; the drag handlers below see only the
// rows dragged inside the view. Both kinds of drag show their gap as a bar.
class MergePDFListView : public QListView
{
    Q_OBJECT
public:
    explicit MergePDFListView(QWidget *parent = nullptr);

    // Takes row source out and puts it back so that it ends up at row target,
    // selects it and emits moveItem.
    void moveRow(int source, int target);
    // The row a drop at pos (viewport coordinates) goes before, rowCount for
    // the end: the gap the drop indicator shows.
    int dropGapAt(const QPoint &pos) const;
    // While addURLs is being emitted for a drop: the gap it went into; -1 otherwise.
    int droppedGap() const { return urlsDroppedGap; }

signals:
    void addURLs(QList<QUrl> urls);
    void moveItem(int source, int target);
    void removeRequested();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    QRect gapBar(const QPoint &pos) const;
    void showBar(const QRect &bar);
    void followDrag(const QPoint &pos);
    void handOnDrop(const QList<QUrl> &urls, const QPoint &pos);

    QPersistentModelIndex draggedIndex;
    QRect shownBar;
    int urlsDroppedGap = -1;
};
