#pragma once

#include "pdfopenproblem.h"

#include <QByteArray>
#include <QImage>
#include <QItemSelection>
#include <QList>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

class PagePreviewRenderer;
class QLabel;
class QStandardItemModel;
class QTimer;
class ThumbnailLookahead;
class ThumbnailStore;
class QToolButton;
class QVBoxLayout;
class SplitPDFAddPageThread;
class SplitPDFFrame;
class SplitPDFListView;
class SplitPDFProgressForm;
class SplitPDFSideForm;
class SplitPDFSplitThread;

// The "Split PDF" tab: lists the pages of one PDF and writes the pages of the
// user's ranges, in row order, into one new PDF.
class SplitPDFForm : public QWidget
{
    Q_OBJECT
public:
    explicit SplitPDFForm(QWidget *parent = nullptr);
    ~SplitPDFForm() override;

    void refreshTheme();

    QWidget *widget = nullptr;
    QToolButton *fileAddButton = nullptr;
    SplitPDFListView *mainListView = nullptr;
    SplitPDFFrame *sourceFrame = nullptr;
    QLabel *sourceLabel = nullptr;
    QLabel *sourceImageLabel = nullptr;

private slots:
    void on_AddURLs(QList<QUrl> urls);
    void on_startSplitPDF();
    void onSplitPDFFinish(QString errMsg);
    void onSplitPDFProgress(int value);
    void onLoadPagesStart(int generation, int pageCount);
    void onPagesReady(int generation, int firstPage, const QList<QByteArray> &thumbnails);
    void onLoadPagesFinish(int generation);
    void onLoadPagesFailed(int generation, const PdfOpenProblem &problem);
    void onRefreshTimer();
    void onPreviewRendered(int page, const QImage &image);
    void on_fileAddButton_clicked();

private:
    // Connected explicitly: the name looks like a designer widget's signal to
    // connectSlotsByName, which would warn that there is none.
    void on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected);
    void setupUi();
    void readSettings();
    void saveSettings();
    QSize thumbnailSize() const;
    void renderWantedThumbnails();
    void renderThumbnailsAhead();
    void appendPageRows();
    void requestLoad(const QString &path);
    void loadPdf(const QString &path, const QString &password = {});
    void showDropArea();
    bool prepareSplit();
    bool isSplitSource(const QString &path);
    QString chooseOutputFile();
    void showCompletionMessage(const QString &errMsg, const QStringList &warnings);

    SplitPDFSideForm *sideForm = nullptr;
    SplitPDFProgressForm *progressForm = nullptr;
    QVBoxLayout *outerLayout = nullptr;
    QPointer<SplitPDFSplitThread> splitThread;
    QPointer<SplitPDFAddPageThread> pageLoader;
    QString outputFilePath;
    QStandardItemModel *pageModel = nullptr;
    // The page list's pictures, compressed.
    ThumbnailStore *thumbnails = nullptr;
    ThumbnailLookahead *lookahead = nullptr;
    // Rows go into the list a slice at a time, up to the listed page count.
    QTimer *rowTimer = nullptr;
    int pagesToList = 0;
    QTimer *reloadTimer = nullptr;
    PagePreviewRenderer *previewRenderer = nullptr;
    int previewPage = -1; // 0-based; the page the preview waits for
    QString pendingPath;
    // Opens the loaded PDF; in memory only, replaced with the document.
    QString sourcePassword;
    qint64 rangeCount = 0;
    bool pagesLoading = false;
    // Each load gets a new number; what an abandoned loader still reports is dropped.
    int loadGeneration = 0;
};
