#include "pdfmanageroverwritefiledialog.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

PdfManagerOverwriteFileDialog::PdfManagerOverwriteFileDialog(QWidget *parent)
    : QDialog(parent)
{
    setupUi();
    QMetaObject::connectSlotsByName(this);
}

void PdfManagerOverwriteFileDialog::setupUi()
{
    setObjectName(QStringLiteral("PdfManagerOverwriteFileDialog"));
    resize(606, 475);
    setWindowTitle(tr("Overwrite Confirmation"));

    descLabel = new QLabel(this);
    descLabel->setObjectName(QStringLiteral("descLabel"));
    descLabel->setWordWrap(true);
    treeWidget = new QTreeWidget(this);
    treeWidget->setObjectName(QStringLiteral("treeWidget"));
    treeWidget->setColumnCount(2);
    treeWidget->setHeaderLabels({tr("Target File"), tr("Page Index")});
    treeWidget->setColumnWidth(0, 340);
    treeWidget->setColumnHidden(1, true);
    treeWidget->setRootIsDecorated(false);
    overwriteButton = new QPushButton(tr("Overwrite"), this);
    overwriteButton->setObjectName(QStringLiteral("overwriteButton"));
    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    auto *buttonRow = new QHBoxLayout;
    buttonRow->setAlignment(Qt::AlignRight);
    buttonRow->addWidget(overwriteButton);
    buttonRow->addWidget(cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(descLabel);
    layout->addWidget(treeWidget);
    layout->addSpacing(20);
    layout->addLayout(buttonRow);
}

void PdfManagerOverwriteFileDialog::fill(const QStringList &fileExistsList, const QList<int> &pageExistsList)
{
    descLabel->setText(fileExistsList.size() < 2
                           ? tr("The following file already exist. Do you wish to overwrite it?")
                           : tr("The following files already exist. Check all files that you wish to overwrite."));
    treeWidget->clear();
    const qsizetype rows = qMin(fileExistsList.size(), pageExistsList.size());
    for (qsizetype i = 0; i < rows; ++i) {
        auto *item = new QTreeWidgetItem(treeWidget);
        item->setText(0, QDir::toNativeSeparators(fileExistsList.at(i)));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        item->setText(1, QString::number(pageExistsList.at(i)));
    }
    if (treeWidget->topLevelItemCount() > 0)
        treeWidget->setCurrentItem(treeWidget->topLevelItem(0));
}

void PdfManagerOverwriteFileDialog::on_overwriteButton_clicked()
{
    chosenPages.clear();
    for (int row = 0; row < treeWidget->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = treeWidget->topLevelItem(row);
        if (item->checkState(0) == Qt::Checked)
            chosenPages.append(item->text(1).toInt());
    }
    // Closed first: what the answer leads to must not appear behind the dialog.
    accept();
    if (!chosenPages.isEmpty())
        emit overwriteFiles(chosenPages);
    deleteLater();
}

void PdfManagerOverwriteFileDialog::on_cancelButton_clicked()
{
    reject();
    emit exporttFinish();
    deleteLater();
}
