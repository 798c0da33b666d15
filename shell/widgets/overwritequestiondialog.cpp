#include "overwritequestiondialog.h"

#include "namedwidget.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

OverwriteQuestionDialog::OverwriteQuestionDialog(const Texts &texts, QWidget *parent)
    : QDialog(parent)
    , oneFile(texts.oneFile)
    , severalFiles(texts.severalFiles)
{
    setupUi(texts);
    QMetaObject::connectSlotsByName(this);
}

void OverwriteQuestionDialog::setupUi(const Texts &texts)
{
    setObjectName(texts.objectName);
    setModal(true);
    resize(texts.size);
    setWindowTitle(texts.title);
    descLabel = namedWidget<QLabel>(this, "descLabel");
    descLabel->setWordWrap(true);
    treeWidget = namedWidget<QTreeWidget>(this, "treeWidget");
    treeWidget->setHeaderLabels({texts.targetHeader, texts.keyHeader});
    treeWidget->setColumnWidth(0, 340);
    treeWidget->setColumnHidden(1, !texts.keyShown);
    treeWidget->setRootIsDecorated(false);
    treeWidget->setAccessibleName(tr("Files that already exist"));
    overwriteButton = namedWidget<QPushButton>(this, "overwriteButton");
    overwriteButton->setText(texts.overwrite);
    cancelButton = namedWidget<QPushButton>(this, "cancelButton");
    cancelButton->setText(texts.cancel);
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

void OverwriteQuestionDialog::fillRows(const QStringList &targets, const QStringList &keys)
{
    descLabel->setText(targets.size() < 2 ? oneFile : severalFiles);
    treeWidget->clear();
    const qsizetype rows = qMin(targets.size(), keys.size());
    for (qsizetype i = 0; i < rows; ++i) {
        auto *item = new QTreeWidgetItem(treeWidget);
        item->setText(0, QDir::toNativeSeparators(targets.at(i)));
        item->setText(1, keys.at(i));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
    }
    if (treeWidget->topLevelItemCount() > 0)
        treeWidget->setCurrentItem(treeWidget->topLevelItem(0));
}

void OverwriteQuestionDialog::on_overwriteButton_clicked()
{
    ending = Ending::Overwrite;
    accept();
}

void OverwriteQuestionDialog::on_cancelButton_clicked()
{
    ending = Ending::Cancel;
    reject();
}

void OverwriteQuestionDialog::done(int result)
{
    // Closed first: what the answer leads to must not appear behind the dialog.
    QDialog::done(result);
    if (answered)
        return;
    answered = true;
    QStringList ticked;
    for (int row = 0; ending == Ending::Overwrite && row < treeWidget->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = treeWidget->topLevelItem(row);
        if (item->checkState(0) == Qt::Checked)
            ticked.append(item->text(1));
    }
    answer(ending, ticked);
    deleteLater();
}
