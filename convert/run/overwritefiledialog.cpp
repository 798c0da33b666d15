#include "overwritefiledialog.h"

#include "namedwidget.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

OverwriteFileDialog::OverwriteFileDialog(QWidget *parent)
    : QDialog(parent)
{
    setupUi();
    QMetaObject::connectSlotsByName(this);
}

void OverwriteFileDialog::setupUi()
{
    setObjectName(QStringLiteral("OverwriteFileDialog"));
    setModal(true);
    resize(629, 458);
    setWindowTitle(tr("Overwrite"));
    descLabel = namedWidget<QLabel>(this, "descLabel");
    descLabel->setWordWrap(true);
    treeWidget = namedWidget<QTreeWidget>(this, "treeWidget");
    treeWidget->setHeaderLabels({tr("Target File"), tr("Source File")});
    treeWidget->setColumnWidth(0, 340);
    treeWidget->setRootIsDecorated(false);
    treeWidget->setAccessibleName(tr("Files that already exist"));
    overwriteButton = namedWidget<QPushButton>(this, "overwriteButton");
    overwriteButton->setText(tr("Overwrite"));
    cancelButton = namedWidget<QPushButton>(this, "cancelButton");
    cancelButton->setText(tr("Cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(overwriteButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(descLabel);
    layout->addWidget(treeWidget);
    layout->addSpacing(20);
    layout->addLayout(buttons);
}

void OverwriteFileDialog::fill(const QList<QString> &targetFiles, const QList<QString> &sourceFiles)
{
    descLabel->setText(targetFiles.size() < 2
                           ? tr("The following file already exist. Do you wish to overwrite it?")
                           : tr("The following files already exist. Check all files that you wish to overwrite."));
    treeWidget->clear();
    const qsizetype rows = qMin(targetFiles.size(), sourceFiles.size());
    for (qsizetype i = 0; i < rows; ++i) {
        auto *item = new QTreeWidgetItem(treeWidget);
        item->setText(0, QDir::toNativeSeparators(targetFiles.at(i)));
        item->setText(1, sourceFiles.at(i));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
    }
    if (treeWidget->topLevelItemCount() > 0)
        treeWidget->setCurrentItem(treeWidget->topLevelItem(0));
}

void OverwriteFileDialog::on_overwriteButton_clicked()
{
    ticked.clear();
    for (int row = 0; row < treeWidget->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = treeWidget->topLevelItem(row);
        if (item->checkState(0) == Qt::Checked)
            ticked.append(item->text(1));
    }
    accept();
}

void OverwriteFileDialog::on_cancelButton_clicked()
{
    reject();
}

void OverwriteFileDialog::done(int result)
{
    // Closed first: what the answer leads to must not appear behind the dialog.
    QDialog::done(result);
    if (answered)
        return;
    answered = true;
    if (result == Accepted && !ticked.isEmpty())
        emit overwriteFiles(ticked);
    else
        emit convertFinish();
    deleteLater();
}
