#pragma once

#include <QList>
#include <QListView>
#include <QUrl>

// The page list of the split tool; a PDF dropped onto it replaces the listed one.
class SplitPDFListView : public QListView
{
    Q_OBJECT
public:
    explicit SplitPDFListView(QWidget *parent = nullptr);

signals:
    void addURLs(QList<QUrl> urls);
};
