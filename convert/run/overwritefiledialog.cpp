#include "overwritefiledialog.h"

OverwriteFileDialog::OverwriteFileDialog(QWidget *parent)
    : OverwriteQuestionDialog({QStringLiteral("OverwriteFileDialog"), tr("Overwrite"), QSize(629, 458),
                               tr("Target File"), tr("Source File"), true,
                               tr("The following file already exist. Do you wish to overwrite it?"),
                               tr("The following files already exist. Check all files that you wish to overwrite."),
                               tr("Overwrite"), tr("Cancel")},
                              parent)
{
}

void OverwriteFileDialog::fill(const QList<QString> &targetFiles, const QList<QString> &sourceFiles)
{
    fillRows(targetFiles, sourceFiles);
}

void OverwriteFileDialog::answer(Ending ending, const QStringList &tickedSources)
{
    if (ending == Ending::Overwrite && !tickedSources.isEmpty())
        emit overwriteFiles(tickedSources);
    else
        emit convertFinish();
}
