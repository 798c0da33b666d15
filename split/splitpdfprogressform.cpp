#include "splitpdfprogressform.h"

#include "namedwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

SplitPDFProgressForm::SplitPDFProgressForm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("SplitPDFProgressForm"));
    setWindowTitle(tr("Form"));
    resize(681, 501);

    label = namedWidget<QLabel>(this, "label");
    label->setText(tr("Creating PDF file is in progress. Please wait..."));
    label->setAlignment(Qt::AlignCenter);
    label_2 = namedWidget<QLabel>(this, "label_2");
    label_2->setAlignment(Qt::AlignCenter);
    progressBar = namedWidget<QProgressBar>(this, "progressBar");
    progressBar->setValue(0);
    progressBar->setMinimumWidth(400);
    progressBar->setAccessibleName(tr("Ranges copied"));
    cancelButton = namedWidget<QPushButton>(this, "cancelButton");
    cancelButton->setText(tr("Cancel"));
    // A split cannot be stopped halfway; a button that does nothing would mislead.
    cancelButton->hide();

    auto *barRow = new QHBoxLayout;
    barRow->setAlignment(Qt::AlignCenter);
    barRow->addWidget(progressBar);
    barRow->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->setAlignment(Qt::AlignCenter);
    layout->addWidget(label, 0, Qt::AlignCenter);
    layout->addWidget(label_2, 0, Qt::AlignCenter);
    layout->addSpacing(10);
    layout->addLayout(barRow);
}

void SplitPDFProgressForm::setMaximum(int count)
{
    progressBar->setMaximum(count);
    label_2->setText(tr("0 of ") + QString::number(count));
}

void SplitPDFProgressForm::setProgress(int value)
{
    label_2->setText(QString::number(value) + tr(" of ") + QString::number(progressBar->maximum()));
    progressBar->setValue(value);
}
