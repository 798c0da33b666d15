#pragma once

#include <QFrame>
#include <QList>
#include <QUrl>

// The drop area the images tool shows while its source list is empty.
class ConvertImageFrame : public QFrame
{
    Q_OBJECT
public:
    explicit ConvertImageFrame(QWidget *parent = nullptr);

signals:
    void addURLs(QList<QUrl> urls);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
