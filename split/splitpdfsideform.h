#pragma once

#include "splitpdf.h"

#include <QList>
#include <QWidget>

class QImage;
class QLabel;
class QPushButton;
class QVBoxLayout;
class SplitPDFRangeForm;

// The split tool's side panel: the page-range rows, the "Split PDF" button
// and the preview of the selected page.
class SplitPDFSideForm : public QWidget
{
    Q_OBJECT
public:
    explicit SplitPDFSideForm(QWidget *parent = nullptr);

    void appendRangeForm(int maximum);
    // Later rows span 1 to count; existing rows keep their values, clamped.
    void setPageCount(int count);
    // One range per row, in row order, as the user typed them.
    QList<PageRange> ranges() const;
    void resetPreview();
    void showPreview(const QImage &image);
    void refreshTheme();

    QPushButton *splitPDFButton = nullptr;
    QLabel *previewImage = nullptr;

signals:
    void startSplitPDF();

private slots:
    void on_splitPDFButton_clicked();
    void on_removeRangeForm(int index);
    void on_addRangeForm();

private:
    QList<SplitPDFRangeForm *> rangeForms;
    QVBoxLayout *rangeLayout = nullptr;
    int pageCount = 0;
    int nextRangeId = 0;
};
