#include "convertoptiontabs.h"

#include "convertimageformui.h"
#include "converttargets.h"
#include "kivlocalconvertimage.h"
#include "theme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

ConvertOptionTabs::ConvertOptionTabs(QWidget *form, ConvertImageFormUi &ui, bool &ready)
    : ConvertFormPart(form, ui, ready)
    , pdfIndex(ConvertTargets::indexOf(QStringLiteral("PDF")))
    , jpgIndex(ConvertTargets::indexOf(QStringLiteral("JPG")))
{
    for (const ConvertTargets::Target &target : ConvertTargets::offered())
        ui.targetComboBox->addItem(target.name);
    connectSlotsByName();
}

void ConvertOptionTabs::apply(const ConvertSettings &s)
{
    ui.targetComboBox->setCurrentIndex(s.targeFileType);
    updateTargetWidgets(s.targeFileType);
    ui.qualitySpinBox->setValue(s.targeFileQuality);
    ui.pdfPageOrientationLanscapeButton->setChecked(s.pdfPaperOrientation == 1);
    ui.pdfPageOrientationPortraitButton->setChecked(s.pdfPaperOrientation != 1);
    updateMarginWidgets(s.pdfPaperMargin == 1);
    ui.pdfMarginSizeSpinBox->setValue(s.pdfPaperMarginSize);
    ui.pdfPaperSizeComboBox->setCurrentIndex(s.pdfPaperSize);
    ui.pdfResizeImageToPaperCheckBox->setChecked(s.resizeImageToPaper);
    ui.pdfSmoothEdgesCheckBox->setChecked(s.pdfSmoothEdges);
    ui.pdfQualityComboBox->setCurrentIndex(s.pdfQuality);
    applyScale(s);
}

void ConvertOptionTabs::applyScale(const ConvertSettings &s)
{
    ui.scaleImageCheckBox->setChecked(s.scaleImage);
    if (s.scaleType == 1)
        ui.absoluteRadioButton->setChecked(true);
    else if (s.scaleType == 2)
        ui.relativeRadioButton->setChecked(true);
    else
        ui.percentageRadioButton->setChecked(true);
    ui.percentageSpinBox->setValue(s.scalePercentage);
    ui.absoluteWidthLineEdit->setText(QString::number(s.scaleAbsoluteWitdh));
    ui.absoluteHeightLineEdit->setText(QString::number(s.scaleAbsoluteHeight));
    ui.relativeToComboBox->setCurrentIndex(s.scaleRelativeTo);
    updateScaleWidgets();
}

void ConvertOptionTabs::refreshTheme()
{
    Theme::applyIcon(ui.pdfPageOrientationPortraitButton, QStringLiteral("Portrait.png"),
                     QStringLiteral("PortraitWhite.png"));
    Theme::applyIcon(ui.pdfPageOrientationLanscapeButton, QStringLiteral("Landscape.png"),
                     QStringLiteral("LandscapeWhite.png"));
    Theme::applyIcon(ui.pdfNoMarginButton, QStringLiteral("Image.png"), QStringLiteral("ImageWhite.png"));
    Theme::applyIcon(ui.pdfAddMarginButton, QStringLiteral("ImageBorder.png"), QStringLiteral("ImageBorderWhite.png"));
}

void ConvertOptionTabs::updateTargetWidgets(int index)
{
    ui.pdfGroupBox->setVisible(index == pdfIndex);
    ui.qualityLabel->setVisible(index == jpgIndex);
    ui.qualitySpinBox->setVisible(index == jpgIndex);
}

void ConvertOptionTabs::updateMarginWidgets(bool margin)
{
    ui.pdfAddMarginButton->setChecked(margin);
    ui.pdfNoMarginButton->setChecked(!margin);
    ui.pdfMarginSizeLabel->setVisible(margin);
    ui.pdfMarginSizeSpinBox->setVisible(margin);
}

void ConvertOptionTabs::updateScaleWidgets()
{
    const ConvertSettings s = KivLocalConvertImage::settings();
    const bool relativeToWidth = ui.relativeToComboBox->currentIndex() == 0;
    ui.relativeValueLabel->setText(relativeToWidth ? tr("Width:") : tr("Height:"));
    ui.relativeValueLineEdit->setText(QString::number(relativeToWidth ? s.scaleRelativeWidth : s.scaleRelativeHeight));
    const bool on = ui.scaleImageCheckBox->isChecked();
    for (QWidget *widget : std::initializer_list<QWidget *>{
             ui.percentageRadioButton, ui.absoluteRadioButton, ui.relativeRadioButton, ui.percentageSpinBox,
             ui.absoluteWidthLabel, ui.absoluteWidthLineEdit, ui.absoluteHeightLabel, ui.absoluteHeightLineEdit,
             ui.relativeToLabel, ui.relativeToComboBox, ui.relativeValueLabel, ui.relativeValueLineEdit})
        widget->setEnabled(on);
}

void ConvertOptionTabs::on_targetComboBox_currentIndexChanged(int index)
{
    if (!ready)
        return;
    updateTargetWidgets(index);
    changeOutputOption(QStringLiteral("targeFileType"), [index](ConvertSettings &s) { s.targeFileType = index; });
}

void ConvertOptionTabs::on_qualitySpinBox_valueChanged(int value)
{
    changeOutputOption(QStringLiteral("targeFileQuality"), [value](ConvertSettings &s) { s.targeFileQuality = value; });
}

void ConvertOptionTabs::on_pdfPaperSizeComboBox_currentIndexChanged(int index)
{
    changeOutputOption(QStringLiteral("pdfPaperSize"), [index](ConvertSettings &s) { s.pdfPaperSize = index; });
}

void ConvertOptionTabs::on_pdfPageOrientationPortraitButton_clicked()
{
    ui.pdfPageOrientationPortraitButton->setChecked(true);
    ui.pdfPageOrientationLanscapeButton->setChecked(false);
    changeOutputOption(QStringLiteral("pdfPaperOrientation"), [](ConvertSettings &s) { s.pdfPaperOrientation = 0; });
}

void ConvertOptionTabs::on_pdfPageOrientationLanscapeButton_clicked()
{
    ui.pdfPageOrientationPortraitButton->setChecked(false);
    ui.pdfPageOrientationLanscapeButton->setChecked(true);
    changeOutputOption(QStringLiteral("pdfPaperOrientation"), [](ConvertSettings &s) { s.pdfPaperOrientation = 1; });
}

void ConvertOptionTabs::on_pdfNoMarginButton_clicked()
{
    updateMarginWidgets(false);
    changeOutputOption(QStringLiteral("pdfPaperMargin"), [](ConvertSettings &s) { s.pdfPaperMargin = 0; });
}

void ConvertOptionTabs::on_pdfAddMarginButton_clicked()
{
    updateMarginWidgets(true);
    changeOutputOption(QStringLiteral("pdfPaperMargin"), [](ConvertSettings &s) { s.pdfPaperMargin = 1; });
}

void ConvertOptionTabs::on_pdfMarginSizeSpinBox_valueChanged(int value)
{
    changeOutputOption(QStringLiteral("pdfPaperMarginSize"),
                       [value](ConvertSettings &s) { s.pdfPaperMarginSize = value; });
}

void ConvertOptionTabs::on_pdfResizeImageToPaperCheckBox_clicked()
{
    const bool checked = ui.pdfResizeImageToPaperCheckBox->isChecked();
    changeOutputOption(QStringLiteral("resizeImageToPaper"),
                       [checked](ConvertSettings &s) { s.resizeImageToPaper = checked; });
}

void ConvertOptionTabs::on_pdfQualityComboBox_currentIndexChanged(int index)
{
    changeOutputOption(QStringLiteral("pdfQuality"), [index](ConvertSettings &s) { s.pdfQuality = index; });
}

void ConvertOptionTabs::on_pdfSmoothEdgesCheckBox_clicked()
{
    const bool checked = ui.pdfSmoothEdgesCheckBox->isChecked();
    changeSetting(QStringLiteral("pdfSmoothEdges"), [checked](ConvertSettings &s) { s.pdfSmoothEdges = checked; });
}

void ConvertOptionTabs::on_scaleImageCheckBox_clicked()
{
    const bool checked = ui.scaleImageCheckBox->isChecked();
    changeSetting(QStringLiteral("scaleImage"), [checked](ConvertSettings &s) { s.scaleImage = checked; });
    updateScaleWidgets();
}

void ConvertOptionTabs::on_percentageRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(QStringLiteral("scaleType"), [](ConvertSettings &s) { s.scaleType = 0; });
}

void ConvertOptionTabs::on_absoluteRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(QStringLiteral("scaleType"), [](ConvertSettings &s) { s.scaleType = 1; });
}

void ConvertOptionTabs::on_relativeRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(QStringLiteral("scaleType"), [](ConvertSettings &s) { s.scaleType = 2; });
}

void ConvertOptionTabs::on_percentageSpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("scalePercentage"), [value](ConvertSettings &s) { s.scalePercentage = value; });
}

void ConvertOptionTabs::on_absoluteWidthLineEdit_textChanged(const QString &text)
{
    const int value = text.toInt();
    changeSetting(QStringLiteral("scaleAbsoluteWitdh"), [value](ConvertSettings &s) { s.scaleAbsoluteWitdh = value; });
}

void ConvertOptionTabs::on_absoluteHeightLineEdit_textChanged(const QString &text)
{
    const int value = text.toInt();
    changeSetting(QStringLiteral("scaleAbsoluteHeight"),
                  [value](ConvertSettings &s) { s.scaleAbsoluteHeight = value; });
}

void ConvertOptionTabs::on_relativeToComboBox_currentIndexChanged(int index)
{
    if (!ready)
        return;
    changeSetting(QStringLiteral("scaleRelativeTo"), [index](ConvertSettings &s) { s.scaleRelativeTo = index; });
    ready = false;
    updateScaleWidgets();
    ready = true;
}

void ConvertOptionTabs::on_relativeValueLineEdit_textChanged(const QString &text)
{
    const int value = text.toInt();
    if (ui.relativeToComboBox->currentIndex() == 1)
        changeSetting(QStringLiteral("scaleRelativeHeight"),
                      [value](ConvertSettings &s) { s.scaleRelativeHeight = value; });
    else
        changeSetting(QStringLiteral("scaleRelativeWidth"),
                      [value](ConvertSettings &s) { s.scaleRelativeWidth = value; });
}
