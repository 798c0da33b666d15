#include "convertimageform.h"

#include "cocoacode.h"
#include "colorscheme.h"
#include "convertimageframe.h"
#include "convertimagepreviewlabel.h"
#include "convertsettingsstore.h"
#include "converttargets.h"
#include "kivcolorwidget.h"
#include "kivglobal.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "theme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>

ConvertImageForm::ConvertImageForm(QWidget *parent)
    : QWidget(parent)
    , pdfIndex(ConvertTargets::indexOf(QStringLiteral("PDF")))
    , jpgIndex(ConvertTargets::indexOf(QStringLiteral("JPG")))
{
    ui.setupUi(this);
    for (const ConvertTargets::Target &target : ConvertTargets::offered())
        ui.targetComboBox->addItem(target.name);
    if (KivGlobal::isPdfManager) {
        ui.tabWidget->setTabVisible(ui.tabWidget->indexOf(ui.scaleTab), false);
        ui.websiteButton->hide();
        ui.aboutButton->hide();
    }
    createAdjustMenu();
    sourceModel = new QStandardItemModel(0, 2, this);
    sourceModel->setHorizontalHeaderLabels({tr("File List"), tr("Path")});
    setupSourceList();
    folderPicker = new CocoaCode(this);
    folderPicker->hide();
    connect(folderPicker, &CocoaCode::folderSelected, this, &ConvertImageForm::on_FolderSelected);
    connect(ui.colorWidget, &KivColorWidget::colorUpdated, this, &ConvertImageForm::on_ColorUpdated);
    setupPreview();
    QMetaObject::connectSlotsByName(this);
    ui.sourceStack->setCurrentWidget(ui.sourceFrame);
    for (QWidget *button : {ui.convertButton, ui.removeButton, ui.clearButton, ui.upButton, ui.downButton})
        button->setEnabled(false);
    refreshTheme();
}

QStringList ConvertImageForm::sourceFiles() const
{
    QStringList paths;
    paths.reserve(sourceModel->rowCount());
    for (int row = 0; row < sourceModel->rowCount(); ++row)
        paths.append(sourceModel->item(row, 1)->text());
    return paths;
}

void ConvertImageForm::requestPreview(bool reload)
{
    emit previewRequested(currentSelectedFile, reload);
}

void ConvertImageForm::changeSetting(const QString &key, const std::function<void(ConvertSettings &)> &edit)
{
    if (!isReady)
        return;
    isReady = false;
    storeSettings({key}, edit);
    requestPreview(true);
    isReady = true;
}

void ConvertImageForm::storeSettings(const QStringList &keys, const std::function<void(ConvertSettings &)> &edit)
{
    KivLocalConvertImage::editSettings(edit);
    const ConvertSettings s = KivLocalConvertImage::settings();
    for (const QString &key : keys)
        ConvertSettingsStore::save(s, key);
}

void ConvertImageForm::loadSettings()
{
    const ConvertSettingsStore::Loaded loaded = ConvertSettingsStore::load(ui.fontLabel->font());
    KivLocalConvertImage::editSettings([&loaded](ConvertSettings &s) {
        const QList<AdjustmentRule> rules = s.ruleList;
        s = loaded.settings;
        s.ruleList = rules;
    });
    for (const StoredRule &rule : loaded.rules) {
        const bool valued = rule.kind >= AdjustmentRule::Contrast && rule.kind <= AdjustmentRule::GaussianBlur;
        addRule(rule.kind, valued ? std::optional<int>(rule.values.value(0).toInt()) : std::nullopt);
    }
    applySettingsToForm();
}

void ConvertImageForm::applySettingsToForm()
{
    const bool wasReady = isReady;
    isReady = false;
    KivLocalConvertImage::editSettings([this](ConvertSettings &s) {
        if (s.targeFileType < 0 || s.targeFileType >= ui.targetComboBox->count())
            s.targeFileType = 0;
        if (!s.outputFolder.isEmpty() &&
            (!QFileInfo(s.outputFolder).isDir() || !QFileInfo(s.outputFolder).isReadable()))
            s.outputFolder.clear();
    });
    const ConvertSettings s = KivLocalConvertImage::settings();
    applyOutputSettings(s);
    applyScaleSettings(s);
    applyWatermarkSettings(s);
    isReady = wasReady;
}

void ConvertImageForm::applyOutputSettings(const ConvertSettings &s)
{
    ui.targetComboBox->setCurrentIndex(s.targeFileType);
    updateTargetWidgets(s.targeFileType);
    ui.qualitySpinBox->setValue(s.targeFileQuality);
    ui.pdfPageOrientationLanscapeButton->setChecked(s.pdfPaperOrientation == 1);
    ui.pdfPageOrientationPortraitButton->setChecked(s.pdfPaperOrientation != 1);
    updateMarginWidgets(s.pdfPaperMargin == 1);
    ui.pdfMarginSizeSpinBox->setValue(s.pdfPaperMarginSize);
    ui.outputFolderLineEdit->setText(s.outputFolder);
    ui.pdfFilenameLineEdit->setText(s.pdfFileName);
    ui.pdfPaperSizeComboBox->setCurrentIndex(s.pdfPaperSize);
    ui.pdfResizeImageToPaperCheckBox->setChecked(s.resizeImageToPaper);
    ui.pdfSmoothEdgesCheckBox->setChecked(s.pdfSmoothEdges);
    ui.pdfQualityComboBox->setCurrentIndex(s.pdfQuality);
}

void ConvertImageForm::applyScaleSettings(const ConvertSettings &s)
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

void ConvertImageForm::updateTargetWidgets(int index)
{
    ui.pdfGroupBox->setVisible(index == pdfIndex);
    ui.qualityLabel->setVisible(index == jpgIndex);
    ui.qualitySpinBox->setVisible(index == jpgIndex);
}

void ConvertImageForm::updateMarginWidgets(bool margin)
{
    ui.pdfAddMarginButton->setChecked(margin);
    ui.pdfNoMarginButton->setChecked(!margin);
    ui.pdfMarginSizeLabel->setVisible(margin);
    ui.pdfMarginSizeSpinBox->setVisible(margin);
}

void ConvertImageForm::updateScaleWidgets()
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

void ConvertImageForm::on_tabResetButton_clicked()
{
    if (ShellDialogs::message(this, QMessageBox::Question, tr("Reset Settings"),
                              tr("Are you sure you want to reset all settings to their default values?"),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const QFont font = ui.fontLabel->font();
    KivLocalConvertImage::editSettings([&font](ConvertSettings &s) { s.resetWatermarksAndScale(font); });
    applySettingsToForm();
    const bool wasReady = isReady;
    isReady = false;
    removeAllAdjustment();
    isReady = wasReady;
    requestPreview(true);
    const ConvertSettings s = KivLocalConvertImage::settings();
    for (const char *key :
         {"scaleImage",      "scaleType",          "scalePercentage",     "scaleAbsoluteWitdh", "scaleAbsoluteHeight",
          "scaleRelativeTo", "scaleRelativeWidth", "scaleRelativeHeight", "textContent",        "textFont",
          "textSize",        "textColor",          "textPosition",        "textOpacity",        "textMargin",
          "imagePath",       "imageSize",          "imagePosition",       "imageOpacity",       "imageMargin",
          "qrCodeText",      "qrCodeSize",         "qrCodePosition",      "qrCodeMargin",       "ruleList"})
        ConvertSettingsStore::save(s, QLatin1String(key));
}

void ConvertImageForm::refreshTheme()
{
    Theme::applyIcon(ui.convertButton, QStringLiteral("_Convert24.png"), QStringLiteral("_ConvertWhite24.png"),
                     QStringLiteral("_ConvertGray24.png"));
    Theme::applyIcon(ui.addFilesButton, QStringLiteral("_AddFile24.png"), QStringLiteral("_AddFileWhite24.png"));
    Theme::applyIcon(ui.removeButton, QStringLiteral("_Delete24.png"), QStringLiteral("_DeleteWhite24.png"),
                     QStringLiteral("_DeleteGray24.png"));
    Theme::applyIcon(ui.clearButton, QStringLiteral("_shortcut24.png"), QStringLiteral("_shortcutWhite24.png"),
                     QStringLiteral("_shortcutGray24.png"));
    Theme::applyIcon(ui.upButton, QStringLiteral("_ArrowUp24.png"), QStringLiteral("_ArrowUpWhite24.png"),
                     QStringLiteral("_ArrowUpGray24.png"));
    Theme::applyIcon(ui.downButton, QStringLiteral("_ArrowDown24.png"), QStringLiteral("_ArrowDownWhite24.png"),
                     QStringLiteral("_ArrowDownGray24.png"));
    Theme::applyIcon(ui.websiteButton, QStringLiteral("_websiteIcon24.png"), QStringLiteral("_websiteWhiteIcon24.png"));
    Theme::applyIcon(ui.aboutButton, QStringLiteral("_About24.png"), QStringLiteral("_AboutWhite24.png"));
    Theme::applyIcon(ui.tabResetButton, QStringLiteral("_Reset24.png"), QStringLiteral("_ResetWhite24.png"));
    Theme::applyIcon(ui.adjustAddButton, QStringLiteral("_AddIcon24.png"), QStringLiteral("_AddWhiteIcon24.png"));
    Theme::applyIcon(ui.adjustDeleteButton, QStringLiteral("_SettingsIcon24.png"),
                     QStringLiteral("_SettingsWhiteIcon24.png"), QStringLiteral("_SettingsGrayIcon24.png"));
    Theme::applyIcon(ui.adjustDeleteAllButton, QStringLiteral("_Reset24.png"), QStringLiteral("_ResetWhite24.png"));
    for (QAbstractButton *button : {ui.outputFolderButton, ui.pdfFilenameButton})
        Theme::applyIcon(button, QStringLiteral("_folder16.png"), QStringLiteral("_folderWhite16.png"));
    Theme::applyIcon(ui.textClearButton, QStringLiteral("_DeleteIcon24.png"), QStringLiteral("_DeleteWhiteIcon24.png"));
    Theme::applyIcon(ui.pdfPageOrientationPortraitButton, QStringLiteral("Portrait.png"),
                     QStringLiteral("PortraitWhite.png"));
    Theme::applyIcon(ui.pdfPageOrientationLanscapeButton, QStringLiteral("Landscape.png"),
                     QStringLiteral("LandscapeWhite.png"));
    Theme::applyIcon(ui.pdfNoMarginButton, QStringLiteral("Image.png"), QStringLiteral("ImageWhite.png"));
    Theme::applyIcon(ui.pdfAddMarginButton, QStringLiteral("ImageBorder.png"), QStringLiteral("ImageBorderWhite.png"));
    Theme::applyPixmap(ui.label_2, QStringLiteral("_DropLogo.png"), QStringLiteral("_DropLogoWhite.png"));
    ui.tabToolbarWidget->setStyleSheet(isDarkColorScheme() ? QStringLiteral("background-color:#3F3F3F;")
                                                           : QStringLiteral("background-color:#E2E2E2;"));
    ui.previewImage->update();
    refreshRuleTheme();
}

void ConvertImageForm::on_targetComboBox_currentIndexChanged(int index)
{
    if (!isReady)
        return;
    updateTargetWidgets(index);
    changeSetting(QStringLiteral("targeFileType"), [index](ConvertSettings &s) { s.targeFileType = index; });
}

void ConvertImageForm::on_qualitySpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("targeFileQuality"), [value](ConvertSettings &s) { s.targeFileQuality = value; });
}

void ConvertImageForm::on_outputFolderButton_clicked()
{
    convertAfterFolderChoice = false;
    folderPicker->pickFolderFromDocuments();
}

void ConvertImageForm::on_FolderSelected(QString path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return;
    storeSettings({QStringLiteral("outputFolder")}, [&path](ConvertSettings &s) { s.outputFolder = path; });
    const bool wasReady = isReady;
    isReady = false;
    ui.outputFolderLineEdit->setText(path);
    isReady = wasReady;
    if (convertAfterFolderChoice) {
        convertAfterFolderChoice = false;
        on_convertButton_clicked();
    }
}

void ConvertImageForm::on_outputFolderLineEdit_textChanged(const QString &text)
{
    changeSetting(QStringLiteral("outputFolder"), [&text](ConvertSettings &s) { s.outputFolder = text; });
}

void ConvertImageForm::on_pdfFilenameButton_clicked()
{
    if (isReady)
        choosePdfPath(ShellHelpers::picturesFolder());
}

void ConvertImageForm::on_pdfFilenameLineEdit_textChanged(const QString &text)
{
    changeSetting(QStringLiteral("pdfFileName"), [&text](ConvertSettings &s) { s.pdfFileName = text; });
}

void ConvertImageForm::on_pdfPaperSizeComboBox_currentIndexChanged(int index)
{
    changeSetting(QStringLiteral("pdfPaperSize"), [index](ConvertSettings &s) { s.pdfPaperSize = index; });
}

void ConvertImageForm::on_pdfPageOrientationPortraitButton_clicked()
{
    ui.pdfPageOrientationPortraitButton->setChecked(true);
    ui.pdfPageOrientationLanscapeButton->setChecked(false);
    changeSetting(QStringLiteral("pdfPaperOrientation"), [](ConvertSettings &s) { s.pdfPaperOrientation = 0; });
}

void ConvertImageForm::on_pdfPageOrientationLanscapeButton_clicked()
{
    ui.pdfPageOrientationPortraitButton->setChecked(false);
    ui.pdfPageOrientationLanscapeButton->setChecked(true);
    changeSetting(QStringLiteral("pdfPaperOrientation"), [](ConvertSettings &s) { s.pdfPaperOrientation = 1; });
}

void ConvertImageForm::on_pdfNoMarginButton_clicked()
{
    updateMarginWidgets(false);
    changeSetting(QStringLiteral("pdfPaperMargin"), [](ConvertSettings &s) { s.pdfPaperMargin = 0; });
}

void ConvertImageForm::on_pdfAddMarginButton_clicked()
{
    updateMarginWidgets(true);
    changeSetting(QStringLiteral("pdfPaperMargin"), [](ConvertSettings &s) { s.pdfPaperMargin = 1; });
}

void ConvertImageForm::on_pdfMarginSizeSpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("pdfPaperMarginSize"), [value](ConvertSettings &s) { s.pdfPaperMarginSize = value; });
}

void ConvertImageForm::on_pdfResizeImageToPaperCheckBox_clicked()
{
    const bool checked = ui.pdfResizeImageToPaperCheckBox->isChecked();
    changeSetting(QStringLiteral("resizeImageToPaper"),
                  [checked](ConvertSettings &s) { s.resizeImageToPaper = checked; });
}

void ConvertImageForm::on_pdfQualityComboBox_currentIndexChanged(int index)
{
    changeSetting(QStringLiteral("pdfQuality"), [index](ConvertSettings &s) { s.pdfQuality = index; });
}

void ConvertImageForm::on_pdfSmoothEdgesCheckBox_clicked()
{
    const bool checked = ui.pdfSmoothEdgesCheckBox->isChecked();
    changeSetting(QStringLiteral("pdfSmoothEdges"), [checked](ConvertSettings &s) { s.pdfSmoothEdges = checked; });
}

void ConvertImageForm::on_scaleImageCheckBox_clicked()
{
    const bool checked = ui.scaleImageCheckBox->isChecked();
    changeSetting(QStringLiteral("scaleImage"), [checked](ConvertSettings &s) { s.scaleImage = checked; });
    updateScaleWidgets();
}

void ConvertImageForm::on_percentageRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(QStringLiteral("scaleType"), [](ConvertSettings &s) { s.scaleType = 0; });
}

void ConvertImageForm::on_absoluteRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(QStringLiteral("scaleType"), [](ConvertSettings &s) { s.scaleType = 1; });
}

void ConvertImageForm::on_relativeRadioButton_toggled(bool checked)
{
    if (checked)
        changeSetting(QStringLiteral("scaleType"), [](ConvertSettings &s) { s.scaleType = 2; });
}

void ConvertImageForm::on_percentageSpinBox_valueChanged(int value)
{
    changeSetting(QStringLiteral("scalePercentage"), [value](ConvertSettings &s) { s.scalePercentage = value; });
}

void ConvertImageForm::on_absoluteWidthLineEdit_textChanged(const QString &text)
{
    const int value = text.toInt();
    changeSetting(QStringLiteral("scaleAbsoluteWitdh"), [value](ConvertSettings &s) { s.scaleAbsoluteWitdh = value; });
}

void ConvertImageForm::on_absoluteHeightLineEdit_textChanged(const QString &text)
{
    const int value = text.toInt();
    changeSetting(QStringLiteral("scaleAbsoluteHeight"),
                  [value](ConvertSettings &s) { s.scaleAbsoluteHeight = value; });
}

void ConvertImageForm::on_relativeToComboBox_currentIndexChanged(int index)
{
    if (!isReady)
        return;
    changeSetting(QStringLiteral("scaleRelativeTo"), [index](ConvertSettings &s) { s.scaleRelativeTo = index; });
    isReady = false;
    updateScaleWidgets();
    isReady = true;
}

void ConvertImageForm::on_relativeValueLineEdit_textChanged(const QString &text)
{
    const int value = text.toInt();
    if (ui.relativeToComboBox->currentIndex() == 1)
        changeSetting(QStringLiteral("scaleRelativeHeight"),
                      [value](ConvertSettings &s) { s.scaleRelativeHeight = value; });
    else
        changeSetting(QStringLiteral("scaleRelativeWidth"),
                      [value](ConvertSettings &s) { s.scaleRelativeWidth = value; });
}
