#pragma once

#include "overwritequestiondialog.h"

#include <QList>
#include <QString>
#include <QStringList>

// Lists the targets a conversion found existing and asks which to replace.
class OverwriteFileDialog : public OverwriteQuestionDialog
{
    Q_OBJECT
public:
    explicit OverwriteFileDialog(QWidget *parent);

    // Targets and their sources, same order.
    void fill(const QList<QString> &targetFiles, const QList<QString> &sourceFiles);

signals:
    void overwriteFiles(QStringList urls);
    void convertFinish();

protected:
    // Whatever ends the dialog without a ticked source ends the run.
    void answer(Ending ending, const QStringList &tickedSources) override;
};
