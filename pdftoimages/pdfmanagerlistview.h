#pragma once

#include <QList>
#include <QListView>
#include <QUrl>

// The page list; a PDF dropped onto it replaces the loaded one.
class PdfManagerListview : public QListView
{
    Q_OBJECT
public:
    explicit PdfManagerListview(QWidget *parent = nullptr);

signals:
    void addURLs(QList<QUrl> urls);
};
