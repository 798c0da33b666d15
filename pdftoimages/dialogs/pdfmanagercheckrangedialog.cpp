#include "pdfmanagercheckrangedialog.h"

#include "namedwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

PdfManagerCheckRangeDialog::PdfManagerCheckRangeDialog(QWidget *parent)
    : QDialog(parent)
{
    setupUi();
    QMetaObject::connectSlotsByName(this);
}

void PdfManagerCheckRangeDialog::setupUi()
{
    setObjectName(QStringLiteral("PdfManagerCheckRangeDialog"));
    resize(313, 126);
    setWindowTitle(tr("Page Range"));

    descLabel = namedWidget<QLabel>(this, "descLabel");
    descLabel->setText(tr("Check specific page range."));
    startLabel = namedWidget<QLabel>(this, "startLabel");
    startLabel->setText(tr("Start:"));
    startSpinBox = namedWidget<QSpinBox>(this, "startSpinBox");
    endLabel = namedWidget<QLabel>(this, "endLabel");
    endLabel->setText(tr("End:"));
    endSpinBox = namedWidget<QSpinBox>(this, "endSpinBox");
    for (QSpinBox *box : {startSpinBox, endSpinBox}) {
        box->setMinimum(1);
        box->setMinimumWidth(61);
        box->setValue(1);
    }
    startLabel->setBuddy(startSpinBox);
    endLabel->setBuddy(endSpinBox);
    okButton = namedWidget<QPushButton>(this, "okButton");
    okButton->setText(tr("OK"));
    okButton->setDefault(true);
    cancelButton = namedWidget<QPushButton>(this, "cancelButton");
    cancelButton->setText(tr("Cancel"));

    auto *rangeRow = new QHBoxLayout;
    rangeRow->setAlignment(Qt::AlignLeft);
    rangeRow->addWidget(startLabel);
    rangeRow->addWidget(startSpinBox);
    rangeRow->addSpacing(20);
    rangeRow->addWidget(endLabel);
    rangeRow->addWidget(endSpinBox);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->setAlignment(Qt::AlignRight);
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->setAlignment(Qt::AlignTop);
    layout->addWidget(descLabel);
    layout->addLayout(rangeRow);
    layout->addSpacing(40);
    layout->addLayout(buttonRow);
}

void PdfManagerCheckRangeDialog::setMaximum(int pageCount)
{
    this->pageCount = pageCount;
    startSpinBox->setMaximum(pageCount);
    endSpinBox->setMaximum(pageCount);
}

void PdfManagerCheckRangeDialog::on_startSpinBox_valueChanged(int arg1)
{
    if (endSpinBox->value() < arg1)
        endSpinBox->setValue(arg1);
}

void PdfManagerCheckRangeDialog::on_endSpinBox_valueChanged(int arg1)
{
    if (arg1 < startSpinBox->value())
        startSpinBox->setValue(arg1);
}

void PdfManagerCheckRangeDialog::on_okButton_clicked()
{
    emit pageRangeChecked(startSpinBox->value(), endSpinBox->value());
    deleteLater();
    accept();
}

void PdfManagerCheckRangeDialog::on_cancelButton_clicked()
{
    deleteLater();
    reject();
}
