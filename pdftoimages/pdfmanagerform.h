#pragma once

#include "pdfmanagerformui.h"
#include "pdfopenproblem.h"

#include <QByteArray>
#include <QImage>
#include <QItemSelection>
#include <QList>
#include <QModelIndex>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class CocoaCode;
class PdfManagerAddPageThread;
class PdfManagerExportPageThread;
class PagePreviewRenderer;
class QStandardItem;
class QStandardItemModel;
class QTimer;
class ThumbnailLookahead;
class ThumbnailStore;

// The "PDF to Images" tab: lists the pages of one PDF, lets the user check
// pages and writes the checked ones as image files.
class PdfManagerForm : public QWidget
{
    Q_OBJECT
public:
    explicit PdfManagerForm(QWidget *parent = nullptr);
    ~PdfManagerForm() override;

    void refreshTheme();

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void updateTimer();
    void OnSplitterMoved(int pos, int index);

    void onLoadPagesFinish();
    void onLoadPagesStart();
    void onloadPagesProgress(int index);
    void onPagesLoaded(int generation, int firstPage, const QList<QByteArray> &thumbnails);
    void onPreviewRendered(int page, const QImage &image);

    void onExportPagesFinish(QList<QString> fileExistsList, QList<int> pageExistsList);
    void onExportPagesStart();
    void onExportPagesProgress(int index);
    void onExportPagesTerminated();
    void onExportPagesFailed(const QStringList &reasons);

    void on_loadButton_clicked();
    void on_exportButton_clicked();
    void on_progressCancelButton_clicked();
    void addItemToCheckedView(QModelIndex index);
    void on_listView_clicked(QModelIndex index);
    void handleOverwriteFiles(QList<int> pageExistsList);
    void handleExportFinish();
    void handlePageRangeChecked(int start, int end);
    void on_outputComboBox_currentIndexChanged(int index);
    void on_scaleComboBox_currentIndexChanged(int index);
    void on_checkAllButton_clicked();
    void on_uncheckAllButton_clicked();
    void on_pageRangeButton_clicked();
    void on_aboutButton_clicked();
    void on_websiteButton_clicked();

private:
    // Connected explicitly: their names follow the on_ pattern without naming
    // a designer widget and signal, which connectSlotsByName would reject.
    void on_FolderSelected(QString path);
    void on_checkedView_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected);
    void on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected);
    void on_AddURLs(QList<QUrl> urls);

    void showLoadProgress();
    void setupViews();
    void connectSignals();
    void readSettings();
    void writeSetting(const QString &key, const QVariant &value);

    void startAddPageThread(const QString &path, const QString &password = {});
    void handleUnopenedPdf(const QString &path, const PdfOpenProblem &problem);
    void startExportThread(const QString &folder, bool overwrite, const QList<int> &pages);
    void stopThreadsAndWait();
    void renderWantedThumbnails();
    void renderThumbnailsAhead();
    void setBusy(bool busy);
    void setTopRowVisible(bool visible);
    void showPage(PdfManagerFormUi::Page page);

    bool anyPageChecked() const;
    void syncCheckedPage(const QModelIndex &index);
    void onPageItemChanged(QStandardItem *item);
    QStandardItem *newCheckedItem(const QStandardItem *page) const;
    int checkedColumnAtOrAfter(int pageNumber) const;
    int checkedColumnOf(int pageNumber) const;
    void removeCheckedPage(int pageNumber);
    void clearCheckedView();
    void afterCheckedViewChanged();
    void updatePreview();

    void showCompletionMessage();
    void runOverwriteDialog(const QStringList &fileExistsList, const QList<int> &pageExistsList);

    PdfManagerFormUi ui;
    QStandardItemModel *pageModel = nullptr;
    QStandardItemModel *checkedModel = nullptr;
    QPointer<PdfManagerAddPageThread> addPageThread;
    QPointer<PdfManagerExportPageThread> exportPageThread;
    CocoaCode *folderPicker = nullptr;
    QList<int> pageExportList;
    QTimer *previewTimer = nullptr;
    // The panel shows the listing's progress a few times a second, not for
    // every page: a long document lists hundreds of pages a second.
    QTimer *progressTimer = nullptr;
    int pagesListed = 0;
    // Draws the preview in a render worker that stays with the loaded PDF.
    PagePreviewRenderer *previewRenderer = nullptr;
    qreal previewPixelRatio = 1.0;
    // The pictures of the page list and the strip, compressed.
    ThumbnailStore *thumbnails = nullptr;
    ThumbnailLookahead *lookahead = nullptr;
    int needToResizePreviewDelay = 0;
    bool isReady = false;
    bool stopRequested = false;
    bool selectionSyncing = false;
    bool previewPending = false;
    // Set while the form checks pages itself, so per-item reactions stay quiet.
    bool bulkChecking = false;

    // Each load gets a new number; signals of an abandoned load are dropped.
    int loadGeneration = 0;
    // The size pictures are drawn at, in device pixels.
    QSize thumbnailPixels;

    // Opens the loaded PDF; in memory only, replaced with the document.
    QString pdfPassword;
    PdfOpenProblem loadProblem;

    QStringList exportFailures;
    bool overwriteAnswered = false;
};
