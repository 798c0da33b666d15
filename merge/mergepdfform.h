#pragma once

#include "pdflisttoolform.h"

// The "Merge PDF" tab: PDFs listed by drop or open dialog, put in order by
// dragging, merged into one file.
class MergePdfForm : public PdfListToolForm
{
    Q_OBJECT
public:
    explicit MergePdfForm(QWidget *parent = nullptr);

public slots:
    void on_mergeButton_clicked();
};
