#pragma once

#include "pdflistformui.h"

#include <QItemSelection>
#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class MergePDFMergeThread;
class PdfFileList;

// The "Merge PDF" tab: PDFs listed by drop or open dialog, put in order by
// dragging, merged into one file.
class MergePdfForm : public QWidget
{
    Q_OBJECT
public:
    explicit MergePdfForm(QWidget *parent = nullptr);
    ~MergePdfForm() override;

    void refreshTheme();

public slots:
    void on_AddURLs(QList<QUrl> urls);
    void on_fileAddButton_clicked();
    void on_mergeButton_clicked();
    void on_MoveItem(int source, int target);
    void on_filesAdded();
    void on_clearButton_clicked();
    void on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected);
    void on_removeButton_clicked();
    void on_prepareMerge(int count);
    void on_progressMerge(int index, QString fileName);
    void on_finishMerge(QString outputFile, QString errMsg);
    void on_progressCancelButton_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void readSettings();
    void writeSettings() const;
    void startAdding(const QStringList &paths);
    void updateButtons();

    PdfListFormUi ui;
    PdfFileList *fileList = nullptr;
    QPointer<MergePDFMergeThread> mergeThread;
    QString loadPath;
    QString outputPath;
    bool cancelled = false;
    bool ready = false;
};
