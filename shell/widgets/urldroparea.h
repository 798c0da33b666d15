#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QUrl>

class QWidget;

// The drop handling every drop frame and file list shares, so that a tool
// states only which files it takes. A drag from outside the widget is judged
// on its first URL alone (the intake sorts out the others): a local folder,
// or a file the tool's rule takes; it is offered as a link. Its drop hands on
// every URL through dropped(). Drags that start in the widget itself (a list
// putting its rows in order) are left to the widget's own handlers.
// Positions are in the watched widget's coordinates (a view's viewport).
class UrlDropArea : public QObject
{
    Q_OBJECT
public:
    using FileRule = bool (*)(const QString &path);

    // Watches widget, or the viewport of an item view, where drags arrive.
    UrlDropArea(QWidget *widget, FileRule takesFile);

    bool accepts(const QList<QUrl> &urls) const;

signals:
    // An accepted drag from outside is at pos.
    void hovering(QPoint pos);
    // It has left, or dropped.
    void left();
    void dropped(QList<QUrl> urls, QPoint pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *const widget;
    const FileRule takesFile;
};
