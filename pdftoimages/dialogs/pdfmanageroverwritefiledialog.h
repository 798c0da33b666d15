#pragma once

#include "overwritequestiondialog.h"

#include <QList>
#include <QStringList>

// Lists the target files that already exist and asks which to replace.
class PdfManagerOverwriteFileDialog : public OverwriteQuestionDialog
{
    Q_OBJECT
public:
    explicit PdfManagerOverwriteFileDialog(QWidget *parent);

    // Both lists come from the first export pass: equal length, same order.
    void fill(const QStringList &fileExistsList, const QList<int> &pageExistsList);

signals:
    void overwriteFiles(QList<int> pageExistsList);
    void exporttFinish();

protected:
    // Nothing ticked, or the dialog closed without its buttons: no signal; the
    // form, which ran the dialog, decides what follows.
    void answer(Ending ending, const QStringList &tickedPages) override;
};
