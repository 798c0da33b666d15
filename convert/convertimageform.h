#pragma once

#include "convertimageformui.h"
#include "convertsettings.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

class CocoaCode;
class ConvertImageAddUrlsThread;
class QItemSelection;
class ConvertImagePreviewController;
class ConvertProgressForm;
class PreviewDialog;
class QStandardItemModel;

// The "Images to PDF" tab: the settings tabs that feed the conversion.
class ConvertImageForm : public QWidget
{
    Q_OBJECT
public:
    explicit ConvertImageForm(QWidget *parent = nullptr);

    // The ready flag: widget handlers act only while it is set.
    void setReady(bool ready) { isReady = ready; }
    // Whether the rule rows show their Delete, Up and Down buttons.
    void setRuleButtonsShown(bool shown);

    void loadSettings();
    void applySettingsToForm();
    void refreshTheme();
    void removeAllAdjustment();

    // Indexes of the formats in `targetComboBox`, -1 when not offered.
    const int pdfIndex;
    const int jpgIndex;

    // Full paths of the listed sources, in conversion order.
    QStringList sourceFiles() const;

    // Preview
    bool isPreviewLoading() const;

    // Run
    bool isConversionRunning() const { return conversionRunning; }
    // A close is waiting: stops the preview and the run; closeApp() follows
    // once both have ended.
    void stopRequest();

signals:
    // The preview should show `path` as it will be converted; `reload` when a
    // setting changed, so earlier previews are stale.
    void previewRequested(const QString &path, bool reload);
    void closeApp();
    // False while sources are being added, true when that has ended: an
    // embedding window may hide its own toolbar meanwhile.
    void showToolbarSignal(bool show);

public slots:
    void onGrayscaleAction();
    void onSepiaAction();
    void onContrastAction();
    void onContrastAction(int value);
    void onBrightnessAction();
    void onBrightnessAction(int value);
    void onGammaAction();
    void onGammaAction(int value);
    void onInvertColorsAction();
    void onInvertColorsAction(int value);
    void onGaussianBlurRadiusAction();
    void onGaussianBlurRadiusAction(int value);

    // Run
    void handleStartConvertSignal();
    void handleFinishConvertSignal();
    void OnShowToolbarSignal(bool show);

private slots:
    // Source list
    void on_addFilesButton_clicked();
    void on_removeButton_clicked();
    void on_clearButton_clicked();
    void on_upButton_clicked();
    void on_downButton_clicked();

    // Run
    void on_convertButton_clicked();
    void on_websiteButton_clicked();
    void on_aboutButton_clicked();

    void on_tabResetButton_clicked();

    void on_targetComboBox_currentIndexChanged(int index);
    void on_qualitySpinBox_valueChanged(int value);
    void on_outputFolderButton_clicked();
    void on_outputFolderLineEdit_textChanged(const QString &text);
    void on_pdfFilenameButton_clicked();
    void on_pdfFilenameLineEdit_textChanged(const QString &text);
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

    void on_adjustDeleteButton_clicked();
    void on_adjustDeleteAllButton_clicked();

private:
    // Connected explicitly: their names follow the on_ pattern without naming
    // a designer widget and signal, which connectSlotsByName would reject.
    void on_FolderSelected(QString path);
    void on_ColorUpdated(QColor color);
    void on_WatermarkImageSelected(QString path);
    void on_rule_slider_changed(int value);
    void on_rule_spinbox_changed(int value);
    void on_rule_up_clicked(bool checked);
    void on_rule_down_clicked(bool checked);
    void on_rule_delete_clicked(bool checked);

    // Source list (connected explicitly, like the handlers above)
    void setupSourceList();
    void on_AddURLs(QList<QUrl> urls);
    void on_AddURL(QUrl url);
    void on_ImageFilesSelected(QList<QString> pathList);
    void on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected);
    void onRowsListed(QStringList paths);
    void onAddUrlsFinish(QString lastPath);
    void onGetItemIconProcessFinish(QImage icon, QString fileName, QString path, QString sizeStr, int index);
    void onAddUrlsThreadDestroy();
    void stopAddingUrls();
    bool fromCurrentList(QObject *thread) const;
    QList<int> selectedSourceRows() const;
    // Remove, Up and Down as the selection allows; returns the selected rows.
    QList<int> updateListButtons();
    // Makes `row` the current and only selected row.
    void selectSourceRow(int row);
    void showEmptyPreview();

    // Preview
    void setupPreview();
    void on_PreviewImage_DoubleClick();
    void on_previewDialogClosed();
    void onPreviewEnded();

    // Run
    void convertToPdf();
    void convertToImages();
    QString choosePdfPath(const QString &fallbackFolder);
    void startRun(const QString &outputPath, const QString &formatName, const QString &extension);
    void setRunning(bool running);

    void requestPreview(bool reload);
    void createAdjustMenu();
    // Copies a widget's value into the settings, stores `key` and asks for a
    // preview; nothing while the form sets its own widgets.
    void changeSetting(const QString &key, const std::function<void(ConvertSettings &)> &edit);
    void storeSettings(const QStringList &keys, const std::function<void(ConvertSettings &)> &edit);
    void updateTargetWidgets(int index);
    void updateMarginWidgets(bool margin);
    void updateScaleWidgets();
    void showWatermarkImage(const QString &path);
    void applyOutputSettings(const ConvertSettings &s);
    void applyScaleSettings(const ConvertSettings &s);
    void applyWatermarkSettings(const ConvertSettings &s);

    void addRule(int kind, std::optional<int> value);
    QWidget *createRuleRow(int id, int kind, int value, bool withValue);
    int rulePosition(const QObject *sender, const char *prefix) const;
    void moveRule(int from, int to);
    void rulesChanged();
    void refreshRuleTheme();

    ConvertImageFormUi ui;
    // Column 0 shows each source, column 1 holds its full path.
    QStandardItemModel *sourceModel = nullptr;
    QString currentSelectedFile;
    // Source list: the thread adding the current batch, null when none runs.
    QPointer<ConvertImageAddUrlsThread> addUrlsThread;
    bool convertImageAddUrlsThreadStat = false;
    // Counts Clears: results of a thread from before the last one are dropped.
    int sourceGeneration = 0;
    CocoaCode *folderPicker = nullptr;
    QList<QWidget *> ruleWidgets;
    int nextRuleId = 0;
    bool isReady = false;

    // Preview
    ConvertImagePreviewController *previewController = nullptr;
    PreviewDialog *previewDialog = nullptr;
    bool previewDialogOpen = false;

    // Run
    QPointer<ConvertProgressForm> progressForm;
    bool conversionRunning = false;
    bool convertAfterFolderChoice = false;
    bool closing = false;
};
