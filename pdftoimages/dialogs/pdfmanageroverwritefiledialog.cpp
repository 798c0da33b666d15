#include "pdfmanageroverwritefiledialog.h"

PdfManagerOverwriteFileDialog::PdfManagerOverwriteFileDialog(QWidget *parent)
    : OverwriteQuestionDialog({QStringLiteral("PdfManagerOverwriteFileDialog"), tr("Overwrite Confirmation"),
                               QSize(606, 475), tr("Target File"), tr("Page Index"), false,
                               tr("The following file already exist. Do you wish to overwrite it?"),
                               tr("The following files already exist. Check all files that you wish to overwrite."),
                               tr("Overwrite"), tr("Cancel")},
                              parent)
{
}

void PdfManagerOverwriteFileDialog::fill(const QStringList &fileExistsList, const QList<int> &pageExistsList)
{
    QStringList pages;
    for (int page : pageExistsList)
        pages.append(QString::number(page));
    fillRows(fileExistsList, pages);
}

void PdfManagerOverwriteFileDialog::answer(Ending ending, const QStringList &tickedPages)
{
    if (ending == Ending::Cancel) {
        emit exporttFinish();
        return;
    }
    QList<int> pages;
    for (const QString &page : tickedPages)
        pages.append(page.toInt());
    if (!pages.isEmpty())
        emit overwriteFiles(pages);
}
