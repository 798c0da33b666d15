#pragma once

class ConvertImageFrame;
class ConvertImageTreeView;
class ConvertImagePreviewLabel;
class KivColorWidget;
class QCheckBox;
class QComboBox;
class QFontComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStackedLayout;
class QTabWidget;
class QToolButton;
class QVBoxLayout;
class QHBoxLayout;
class QWidget;

// The designer part of the images form: widgets with their fixed object
// names, texts and layouts. Behaviour lives in the form's parts.
struct ConvertImageFormUi {
    void setupUi(QWidget *form);

    // Left column.
    QWidget *toolbarWidget = nullptr;
    QToolButton *convertButton = nullptr;
    QFrame *line_2 = nullptr;
    QToolButton *addFilesButton = nullptr;
    QToolButton *removeButton = nullptr;
    QToolButton *clearButton = nullptr;
    QFrame *line = nullptr;
    QToolButton *upButton = nullptr;
    QToolButton *downButton = nullptr;
    QFrame *line_3 = nullptr;
    QLabel *targetLabel = nullptr;
    QComboBox *targetComboBox = nullptr;
    QLabel *qualityLabel = nullptr;
    QSpinBox *qualitySpinBox = nullptr;
    QFrame *line4 = nullptr;
    QToolButton *websiteButton = nullptr;
    QToolButton *aboutButton = nullptr;
    QStackedLayout *sourceStack = nullptr;
    ConvertImageTreeView *sourceTreeView = nullptr;
    ConvertImageFrame *sourceFrame = nullptr;
    QLabel *label_2 = nullptr;
    QLabel *label = nullptr;

    // Right column.
    QWidget *tabToolbarWidget = nullptr;
    QLabel *tabTileLabel = nullptr;
    QToolButton *tabResetButton = nullptr;
    QTabWidget *tabWidget = nullptr;
    ConvertImagePreviewLabel *previewImage = nullptr;

    QWidget *outputFolderTab = nullptr;
    QLabel *outputFolderLabel = nullptr;
    QLineEdit *outputFolderLineEdit = nullptr;
    QToolButton *outputFolderButton = nullptr;
    QGroupBox *pdfGroupBox = nullptr;
    QLabel *pdfFilenameLabel = nullptr;
    QLineEdit *pdfFilenameLineEdit = nullptr;
    QToolButton *pdfFilenameButton = nullptr;
    QLabel *pdfPaperSizeLabel = nullptr;
    QComboBox *pdfPaperSizeComboBox = nullptr;
    QLabel *pdfPageOrientationLabel = nullptr;
    QToolButton *pdfPageOrientationPortraitButton = nullptr;
    QToolButton *pdfPageOrientationLanscapeButton = nullptr;
    QLabel *pdfMarginLabel = nullptr;
    QToolButton *pdfNoMarginButton = nullptr;
    QToolButton *pdfAddMarginButton = nullptr;
    QLabel *pdfMarginSizeLabel = nullptr;
    QSpinBox *pdfMarginSizeSpinBox = nullptr;
    QCheckBox *pdfResizeImageToPaperCheckBox = nullptr;
    QLabel *pdfQualityLabel = nullptr;
    QComboBox *pdfQualityComboBox = nullptr;
    QCheckBox *pdfSmoothEdgesCheckBox = nullptr;

    QWidget *scaleTab = nullptr;
    QCheckBox *scaleImageCheckBox = nullptr;
    QRadioButton *percentageRadioButton = nullptr;
    QSpinBox *percentageSpinBox = nullptr;
    QRadioButton *absoluteRadioButton = nullptr;
    QLabel *absoluteWidthLabel = nullptr;
    QLineEdit *absoluteWidthLineEdit = nullptr;
    QLabel *absoluteHeightLabel = nullptr;
    QLineEdit *absoluteHeightLineEdit = nullptr;
    QRadioButton *relativeRadioButton = nullptr;
    QLabel *relativeToLabel = nullptr;
    QComboBox *relativeToComboBox = nullptr;
    QLabel *relativeValueLabel = nullptr;
    QLineEdit *relativeValueLineEdit = nullptr;

    QWidget *textTab = nullptr;
    QLabel *textLabel = nullptr;
    QLineEdit *textLineEdit = nullptr;
    QToolButton *textClearButton = nullptr;
    QLabel *fontLabel = nullptr;
    QFontComboBox *fontComboBox = nullptr;
    QLabel *sizeLabel = nullptr;
    QSpinBox *sizeSpinBox = nullptr;
    QLabel *colorLabel = nullptr;
    KivColorWidget *colorWidget = nullptr;
    QToolButton *colorButton = nullptr;
    QLabel *positionLabel = nullptr;
    QComboBox *positionComboBox = nullptr;
    QLabel *opacityLabel = nullptr;
    QSpinBox *opacitySpinBox = nullptr;
    QLabel *marginLabel = nullptr;
    QSpinBox *marginSpinBox = nullptr;

    QWidget *imageTab = nullptr;
    QLabel *imageImage = nullptr;
    QPushButton *imageSelectButton = nullptr;
    QPushButton *imageClearButton = nullptr;
    QLabel *imageSizeLabel = nullptr;
    QSpinBox *imageSizeSpinBox = nullptr;
    QLabel *imagePositionLabel = nullptr;
    QComboBox *imagePositionComboBox = nullptr;
    QLabel *imageOpacityLabel = nullptr;
    QSpinBox *imageOpacitySpinBox = nullptr;
    QLabel *imageMarginLabel = nullptr;
    QSpinBox *imageMarginSpinBox = nullptr;

    QWidget *qrCodeTab = nullptr;
    QLabel *qrCodeTextLabel = nullptr;
    QPlainTextEdit *qrCodeTextEdit = nullptr;
    QPushButton *qrCodeTextClearButton = nullptr;
    QLabel *qrCodeSizeLabel = nullptr;
    QSpinBox *qrCodeSizeSpinBox = nullptr;
    QLabel *qrCodePositionLabel = nullptr;
    QComboBox *qrCodePositionComboBox = nullptr;
    QLabel *qrCodeMarginLabel = nullptr;
    QSpinBox *qrCodeMarginSpinBox = nullptr;

    QWidget *AdjustmentsTab = nullptr;
    QToolButton *adjustAddButton = nullptr;
    QToolButton *adjustDeleteButton = nullptr;
    QToolButton *adjustDeleteAllButton = nullptr;
    QScrollArea *adjustScrollArea = nullptr;
    QWidget *adjustScrollAreaWidgetContents = nullptr;
    QVBoxLayout *adjustRulesLayout = nullptr;

private:
    void setupLeftColumn(QWidget *form);
    void setupRightColumn(QWidget *form);
    void setupOutputTab();
    void setupScaleTab();
    void setupTextTab();
    void setupImageTab();
    void setupQrCodeTab();
    void setupAdjustmentsTab();
};
