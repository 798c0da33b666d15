#pragma once

#include "convertformpart.h"

#include <QColor>
#include <QFont>
#include <QString>

// The "Text", "Image" and "QR Code" tabs: the three watermarks stamped on
// every image.
class ConvertWatermarkTabs : public ConvertFormPart
{
    Q_OBJECT
public:
    ConvertWatermarkTabs(QWidget *form, ConvertImageFormUi &ui, bool &ready);

    void apply(const ConvertSettings &s);
    void refreshTheme() override;

private slots:
    void on_textLineEdit_textChanged(const QString &text);
    void on_fontComboBox_currentFontChanged(const QFont &font);
    void on_sizeSpinBox_valueChanged(int value);
    void on_colorButton_clicked();
    void on_positionComboBox_currentIndexChanged(int index);
    void on_opacitySpinBox_valueChanged(int value);
    void on_marginSpinBox_valueChanged(int value);
    void on_textClearButton_clicked();
    void on_imageSelectButton_clicked();
    void on_imageClearButton_clicked();
    void on_imageSizeSpinBox_valueChanged(int value);
    void on_imagePositionComboBox_currentIndexChanged(int index);
    void on_imageOpacitySpinBox_valueChanged(int value);
    void on_imageMarginSpinBox_valueChanged(int value);
    void on_qrCodeTextEdit_textChanged();
    void on_qrCodeTextClearButton_clicked();
    void on_qrCodeSizeSpinBox_valueChanged(int value);
    void on_qrCodePositionComboBox_currentIndexChanged(int index);
    void on_qrCodeMarginSpinBox_valueChanged(int value);

private:
    // Connected explicitly: named like by-name slots without naming a widget.
    void on_ColorUpdated(QColor color);
    void on_WatermarkImageSelected(QString path);

    void showWatermarkImage(const QString &path);
};
