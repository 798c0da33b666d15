#include "convertwatermarktabs.h"

#include "convertimageformui.h"
#include "guardedimagereader.h"
#include "kivcolorwidget.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "theme.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QToolButton>

ConvertWatermarkTabs::ConvertWatermarkTabs(QWidget *form, ConvertImageFormUi &ui, bool &ready)
    : ConvertFormPart(form, ui, ready)
{
    connect(ui.colorWidget, &KivColorWidget::colorUpdated, this, &ConvertWatermarkTabs::on_ColorUpdated);
    connectSlotsByName();
}

void ConvertWatermarkTabs::apply(const ConvertSettings &s)
{
    ui.textLineEdit->setText(s.textContent);
    ui.fontComboBox->setCurrentFont(s.textFont);
    ui.sizeSpinBox->setValue(s.textSize);
    ui.colorWidget->setColor(s.textColor);
    ui.positionComboBox->setCurrentIndex(s.textPosition);
    ui.opacitySpinBox->setValue(s.textOpacity);
    ui.marginSpinBox->setValue(s.textMargin);

    if (QFileInfo(s.imagePath).isFile())
        showWatermarkImage(s.imagePath);
    else
        ui.imageImage->setText(tr("Preview"));
    ui.imageSizeSpinBox->setValue(s.imageSize);
    ui.imagePositionComboBox->setCurrentIndex(s.imagePosition);
    ui.imageOpacitySpinBox->setValue(s.imageOpacity);
    ui.imageMarginSpinBox->setValue(s.imageMargin);

    ui.qrCodeTextEdit->setPlainText(s.qrCodeText);
    ui.qrCodeSizeSpinBox->setValue(s.qrCodeSize);
    ui.qrCodePositionComboBox->setCurrentIndex(s.qrCodePosition);
    ui.qrCodeMarginSpinBox->setValue(s.qrCodeMargin);
}

void ConvertWatermarkTabs::refreshTheme()
{
    Theme::applyIcon(ui.textClearButton, QStringLiteral("_DeleteIcon24.png"), QStringLiteral("_DeleteWhiteIcon24.png"));
}

// Fits the image into the label without enlarging it, decoding only that size.
void ConvertWatermarkTabs::showWatermarkImage(const QString &path)
{
    GuardedImageReader reader(path);
    QSize size = reader.size();
    const float rw = float(size.width()) / float(ui.imageImage->width());
    const float rh = float(size.height()) / float(ui.imageImage->height());
    if (rw >= 1 || rh >= 1) {
        const float r = rw > rh ? rw : rh;
        size = QSize(int(float(size.width()) / r), int(float(size.height()) / r));
    }
    if (size.isEmpty()) {
        ui.imageImage->setText(tr("Preview"));
        return;
    }
    reader.setScaledSize(size);
    QImage image;
    if (!reader.read(&image))
        ui.imageImage->setText(tr("Preview"));
    else
        ui.imageImage->setPixmap(QPixmap::fromImage(image));
}

void ConvertWatermarkTabs::on_textLineEdit_textChanged(const QString &text)
{
    changeSetting(QStringLiteral("textContent"), [&text](ConvertSettings &s) { s.textContent = text; });
}

void ConvertWatermarkTabs::on_fontComboBox_currentFontChanged(const QFont &font)
{
    const QFont chosen(font.family());
    changeSetting(QStringLiteral("textFont"), [&chosen](ConvertSettings &s) { s.textFont = chosen; });
}

void ConvertWatermarkTabs::on_sizeSpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("textSize"), [value](ConvertSettings &s) { s.textSize = value; });
}

void ConvertWatermarkTabs::on_colorButton_clicked()
{
    if (!ready)
        return;
    QColor color = KivLocalConvertImage::settings().textColor;
    const QColor chosen = ShellDialogs::getColor(color, nullptr, QString());
    if (chosen.isValid()) {
        color = chosen;
        ui.colorWidget->setColor(color);
    }
    changeSetting(QStringLiteral("textColor"), [&color](ConvertSettings &s) { s.textColor = color; });
}

void ConvertWatermarkTabs::on_ColorUpdated(QColor color)
{
    ui.colorWidget->setColor(color);
    changeSetting(QStringLiteral("textColor"), [&color](ConvertSettings &s) { s.textColor = color; });
}

void ConvertWatermarkTabs::on_positionComboBox_currentIndexChanged(int index)
{
    changeSetting(QStringLiteral("textPosition"), [index](ConvertSettings &s) { s.textPosition = index; });
}

void ConvertWatermarkTabs::on_opacitySpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("textOpacity"), [value](ConvertSettings &s) { s.textOpacity = value; });
}

void ConvertWatermarkTabs::on_marginSpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("textMargin"), [value](ConvertSettings &s) { s.textMargin = value; });
}

void ConvertWatermarkTabs::on_textClearButton_clicked()
{
    ui.textLineEdit->clear();
}

void ConvertWatermarkTabs::on_imageSelectButton_clicked()
{
    const QString path =
        ShellDialogs::getOpenFileName(form, tr("Add Image Files"), ShellHelpers::picturesFolder(), imageFilesFilter());
    if (!path.isEmpty())
        on_WatermarkImageSelected(path);
}

void ConvertWatermarkTabs::on_WatermarkImageSelected(QString path)
{
    if (!QFileInfo(path).isFile())
        return;
    showWatermarkImage(path);
    changeSetting(QStringLiteral("imagePath"), [&path](ConvertSettings &s) { s.imagePath = path; });
}

void ConvertWatermarkTabs::on_imageClearButton_clicked()
{
    ui.imageImage->setText(tr("Preview"));
    changeSetting(QStringLiteral("imagePath"), [](ConvertSettings &s) { s.imagePath.clear(); });
}

void ConvertWatermarkTabs::on_imageSizeSpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("imageSize"), [value](ConvertSettings &s) { s.imageSize = value; });
}

void ConvertWatermarkTabs::on_imagePositionComboBox_currentIndexChanged(int index)
{
    changeSetting(QStringLiteral("imagePosition"), [index](ConvertSettings &s) { s.imagePosition = index; });
}

void ConvertWatermarkTabs::on_imageOpacitySpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("imageOpacity"), [value](ConvertSettings &s) { s.imageOpacity = value; });
}

void ConvertWatermarkTabs::on_imageMarginSpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("imageMargin"), [value](ConvertSettings &s) { s.imageMargin = value; });
}

void ConvertWatermarkTabs::on_qrCodeTextEdit_textChanged()
{
    const QString text = ui.qrCodeTextEdit->toPlainText();
    changeSetting(QStringLiteral("qrCodeText"), [&text](ConvertSettings &s) { s.qrCodeText = text; });
}

void ConvertWatermarkTabs::on_qrCodeTextClearButton_clicked()
{
    ui.qrCodeTextEdit->clear();
}

void ConvertWatermarkTabs::on_qrCodeSizeSpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("qrCodeSize"), [value](ConvertSettings &s) { s.qrCodeSize = value; });
}

void ConvertWatermarkTabs::on_qrCodePositionComboBox_currentIndexChanged(int index)
{
    changeSetting(QStringLiteral("qrCodePosition"), [index](ConvertSettings &s) { s.qrCodePosition = index; });
}

void ConvertWatermarkTabs::on_qrCodeMarginSpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("qrCodeMargin"), [value](ConvertSettings &s) { s.qrCodeMargin = value; });
}
