#pragma once

#include "convertformpart.h"
#include "convertsourcerows.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class ConvertImageAddUrlsThread;
class SourceIconReader;
class QItemSelection;
class QStandardItemModel;

// The source list: files and folders come in by drop, "Add Files" or the
// intake thread, and Remove, Clear, Up and Down put the list in order. Its
// order is the order of conversion.
class ConvertSourceList : public ConvertFormPart
{
    Q_OBJECT
public:
    // `model` is the form's: column 0 shows each source, column 1 holds its
    // full path.
    ConvertSourceList(QWidget *form, ConvertImageFormUi &ui, bool &ready, QStandardItemModel *model);
    ~ConvertSourceList() override;

    // Full paths of the listed sources, in conversion order.
    QStringList files() const;
    // While a run lasts the list and everything that edits it are locked.
    void setLocked(bool locked);
    void refreshTheme() override;

signals:
    // The file whose preview the form shows; its details may still be loading.
    void fileSelected(const QString &path);
    // The selection became empty.
    void selectionEmptied();
    // Clear emptied the list: no file is current any more.
    void listCleared();
    // False while sources are being added, true when that has ended.
    void showToolbarSignal(bool show);

private slots:
    void on_addFilesButton_clicked();
    void on_removeButton_clicked();
    void on_clearButton_clicked();
    void on_upButton_clicked();
    void on_downButton_clicked();

private:
    // Connected explicitly, like the intake thread's signals below.
    void on_AddURLs(QList<QUrl> urls);
    void on_AddURL(QUrl url);
    void on_ImageFilesSelected(QList<QString> pathList);
    void on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected);

    void onRowsListed(QStringList paths);
    void onAddUrlsFinish(QString lastPath);
    void onGetItemIconProcessFinish(QByteArray icon, QString fileName, QString path, QString sizeStr, int index);
    // Rows painted without their icon: the running intake reads those next,
    // or else a reader of their own.
    void preferWantedIcons();
    void readIconsAgain(const QStringList &paths);
    void onAddUrlsThreadDestroy();
    void stopAddingUrls();
    bool fromCurrentList(QObject *thread) const;
    QList<int> selectedRows() const;
    // Remove, Up and Down as the selection allows; returns the selected rows.
    QList<int> updateListButtons();
    // Makes `row` the current and only selected row.
    void selectRow(int row);

    QStandardItemModel *const sourceModel;
    ThumbnailStore *const icons;
    ConvertSourceRows sourceRows;
    // The thread adding the current batch, null when none runs.
    QPointer<ConvertImageAddUrlsThread> addUrlsThread;
    QPointer<SourceIconReader> iconReader;
    bool convertImageAddUrlsThreadStat = false;
    // Counts Clears: results of a thread from before the last one are dropped.
    int sourceGeneration = 0;
    bool locked = false;
};
