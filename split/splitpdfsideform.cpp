#include "splitpdfsideform.h"

#include "namedwidget.h"
#include "splitpdfrangeform.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The fields take any number, so that what the user types stays as typed: a
// page the document lacks is refused, with its reason, when Split is pressed.
// A shorter document still clamps what was there.
void setPageMaximum(QSpinBox *spinBox, int maximum)
{
    spinBox->setValue(qMin(spinBox->value(), maximum));
    spinBox->setToolTip(maximum > 0 ? QCoreApplication::translate("SplitPDFSideForm", "Pages 1 to %1").arg(maximum)
                                    : QCoreApplication::translate("SplitPDFSideForm", "The document has no pages"));
}

} // namespace

SplitPDFSideForm::SplitPDFSideForm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("SplitPDFSideForm"));
    setWindowTitle(tr("Form"));
    resize(400, 501);

    splitPDFButton = namedWidget<QPushButton>(this, "splitPDFButton");
    splitPDFButton->setText(tr("Split PDF"));
    splitPDFButton->setFixedSize(111, 51);
    splitPDFButton->setStyleSheet(QStringLiteral("background-color: red; color: white;"));
    previewImage = namedWidget<QLabel>(this, "previewImage");
    previewImage->setMinimumSize(300, 300);
    previewImage->setMaximumWidth(300);
    previewImage->setFrameShape(QFrame::Box);
    previewImage->setScaledContents(false);
    previewImage->setAlignment(Qt::AlignCenter);
    previewImage->setAccessibleName(tr("Preview of the selected page"));
    resetPreview();

    rangeLayout = new QVBoxLayout;
    rangeLayout->setContentsMargins(0, 0, 0, 0);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(splitPDFButton, 0, Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(20);
    layout->setAlignment(Qt::AlignTop);
    layout->addLayout(rangeLayout);
    layout->addSpacing(10);
    layout->addLayout(buttonRow);
    layout->addWidget(previewImage);

    QMetaObject::connectSlotsByName(this);
}

void SplitPDFSideForm::appendRangeForm(int maximum)
{
    auto *row = new SplitPDFRangeForm(nextRangeId++, this);
    connect(row, &SplitPDFRangeForm::addRangeForm, this, &SplitPDFSideForm::on_addRangeForm);
    connect(row, &SplitPDFRangeForm::removeRangeForm, this, &SplitPDFSideForm::on_removeRangeForm);
    setPageMaximum(row->fromSpinBox, maximum);
    row->fromSpinBox->setValue(1);
    setPageMaximum(row->toSpinBox, maximum);
    row->toSpinBox->setValue(maximum);
    rangeForms.append(row);
    rangeLayout->addWidget(row);
}

void SplitPDFSideForm::setPageCount(int count)
{
    pageCount = count;
    for (SplitPDFRangeForm *row : std::as_const(rangeForms)) {
        setPageMaximum(row->fromSpinBox, count);
        setPageMaximum(row->toSpinBox, count);
    }
}

QList<PageRange> SplitPDFSideForm::ranges() const
{
    QList<PageRange> result;
    for (const SplitPDFRangeForm *row : rangeForms)
        result.append({row->fromSpinBox->value(), row->toSpinBox->value()});
    return result;
}

void SplitPDFSideForm::resetPreview()
{
    previewImage->setPixmap(QPixmap());
    previewImage->setText(tr("Preview"));
}

void SplitPDFSideForm::showPreview(const QImage &image)
{
    const qreal ratio = previewImage->devicePixelRatioF();
    QPixmap pixmap =
        QPixmap::fromImage(image.scaledToWidth(qRound(previewImage->width() * ratio), Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    previewImage->setPixmap(pixmap);
}

void SplitPDFSideForm::refreshTheme()
{
    for (SplitPDFRangeForm *row : std::as_const(rangeForms))
        row->refreshTheme();
}

void SplitPDFSideForm::on_splitPDFButton_clicked()
{
    emit startSplitPDF();
}

void SplitPDFSideForm::on_removeRangeForm(int index)
{
    for (qsizetype i = 0; i < rangeForms.size(); ++i) {
        if (rangeForms.at(i)->id() == index) {
            SplitPDFRangeForm *row = rangeForms.takeAt(i);
            row->hide();
            row->deleteLater();
            return;
        }
    }
}

void SplitPDFSideForm::on_addRangeForm()
{
    appendRangeForm(pageCount);
}
