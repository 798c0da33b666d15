#pragma once

#include "convertformpart.h"

// The output options that shape each page or file: the target and its JPG
// quality, the PDF page options of the "Output" tab, and the "Scale" tab.
class ConvertOptionTabs : public ConvertFormPart
{
    Q_OBJECT
public:
    ConvertOptionTabs(QWidget *form, ConvertImageFormUi &ui, bool &ready);

    void apply(const ConvertSettings &s);
    void refreshTheme() override;

private slots:
    void on_targetComboBox_currentIndexChanged(int index);
    void on_qualitySpinBox_valueChanged(int value);
    void on_pdfPaperSizeComboBox_currentIndexChanged(int index);
    void on_pdfPageOrientationPortraitButton_clicked();
    void on_pdfPageOrientationLanscapeButton_clicked();
    void on_pdfNoMarginButton_clicked();
    void on_pdfAddMarginButton_clicked();
    void on_pdfMarginSizeSpinBox_valueChanged(int value);
    void on_pdfResizeImageToPaperCheckBox_clicked();
    void on_pdfQualityComboBox_currentIndexChanged(int index);
    void on_pdfSmoothEdgesCheckBox_clicked();

    void on_scaleImageCheckBox_clicked();
    void on_percentageRadioButton_toggled(bool checked);
    void on_absoluteRadioButton_toggled(bool checked);
    void on_relativeRadioButton_toggled(bool checked);
    void on_percentageSpinBox_valueChanged(int value);
    void on_absoluteWidthLineEdit_textChanged(const QString &text);
    void on_absoluteHeightLineEdit_textChanged(const QString &text);
    void on_relativeToComboBox_currentIndexChanged(int index);
    void on_relativeValueLineEdit_textChanged(const QString &text);

private:
    void applyScale(const ConvertSettings &s);
    void updateTargetWidgets(int index);
    void updateMarginWidgets(bool margin);
    void updateScaleWidgets();

    // Indexes of the formats in `targetComboBox`, -1 when not offered.
    const int pdfIndex;
    const int jpgIndex;
};
