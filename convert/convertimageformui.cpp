#include "convertimageformui.h"

#include "convertimageframe.h"
#include "convertimagepreviewlabel.h"
#include "convertimagetreeview.h"
#include "kivcolorwidget.h"
#include "namedwidget.h"
#include "theme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedLayout>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ConvertImageForm", text);
}

QLabel *makeLabel(QWidget *parent, const char *objectName, const char *text, QWidget *buddy = nullptr)
{
    auto *widget = namedWidget<QLabel>(parent, objectName);
    widget->setText(tr(text));
    if (buddy)
        widget->setBuddy(buddy);
    return widget;
}

QSpinBox *spinBox(QWidget *parent, const char *objectName, int minimum, int maximum, const char *suffix = "")
{
    auto *box = namedWidget<QSpinBox>(parent, objectName);
    box->setRange(minimum, maximum);
    box->setSuffix(QLatin1String(suffix));
    return box;
}

QComboBox *makePositionComboBox(QWidget *parent, const char *objectName)
{
    auto *box = namedWidget<QComboBox>(parent, objectName);
    for (const char *position : {"Top - Left", "Top - Center", "Top - Right", "Center - Left", "Center - Center",
                                 "Center - Right", "Bottom - Left", "Bottom - Center", "Bottom - Right"})
        box->addItem(tr(position));
    return box;
}

// Icon-only buttons are named by their tool tip.
QToolButton *iconButton(QWidget *parent, const char *objectName, const char *icon, const char *toolTip, int size)
{
    auto *button = namedWidget<QToolButton>(parent, objectName);
    button->setIcon(QIcon(Theme::imagePath(QLatin1String(icon))));
    button->setIconSize(QSize(size, size));
    button->setAutoRaise(true);
    button->setToolTip(tr(toolTip));
    button->setAccessibleName(tr(toolTip));
    return button;
}

QFrame *separator(QWidget *parent, const char *objectName)
{
    auto *frame = namedWidget<QFrame>(parent, objectName);
    frame->setFrameShape(QFrame::VLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QToolButton *choiceButton(QWidget *parent, const char *objectName, const char *icon, const char *text)
{
    auto *button = namedWidget<QToolButton>(parent, objectName);
    button->setText(tr(text));
    button->setIcon(QIcon(Theme::imagePath(QLatin1String(icon))));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setCheckable(true);
    button->setAutoRaise(true);
    return button;
}

QLineEdit *numberEdit(QWidget *parent, const char *objectName)
{
    auto *edit = namedWidget<QLineEdit>(parent, objectName);
    edit->setValidator(new QIntValidator(0, 100000, edit));
    edit->setMaximumWidth(80);
    return edit;
}

// A tab page whose controls scroll when the window is too short for them;
// returns the widget that holds the controls. The scroll area is no Tab stop:
// Tab goes through the controls, which it scrolls into view.
QWidget *addTab(QTabWidget *tabs, const char *objectName, const char *caption, QWidget **page)
{
    *page = namedWidget<QWidget>(tabs, objectName);
    tabs->addTab(*page, tr(caption));
    auto *scroll = new QScrollArea(*page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *contents = new QWidget(scroll);
    scroll->setWidget(contents);
    auto *layout = new QVBoxLayout(*page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    return contents;
}

// A row of widgets, left aligned, or with the first one taking the spare
// width. A layout, not a widget: a field stays beside its label, which is how
// screen readers find the label that names it.
QHBoxLayout *row(std::initializer_list<QWidget *> widgets, bool stretchFirst = false)
{
    auto *layout = new QHBoxLayout;
    for (QWidget *widget : widgets)
        layout->addWidget(widget, stretchFirst && widget == *widgets.begin() ? 1 : 0);
    if (!stretchFirst)
        layout->addStretch();
    return layout;
}

// Label and field rows at the top of a tab, spare height below them.
QFormLayout *formLayout(QWidget *tab)
{
    auto *outer = new QVBoxLayout(tab);
    auto *form = new QFormLayout;
    outer->addLayout(form);
    outer->addStretch();
    return form;
}

} // namespace

void ConvertImageFormUi::setupUi(QWidget *form)
{
    form->setObjectName(QStringLiteral("ConvertImageForm"));
    form->resize(1165, 797);
    auto *layout = new QHBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    setupLeftColumn(form);
    setupRightColumn(form);
    auto *left = new QVBoxLayout;
    left->addWidget(toolbarWidget);
    left->addLayout(sourceStack, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(tabToolbarWidget);
    // The settings take the height they need; the preview the rest, up to its
    // full size. In a short window it gives way, down to nothing.
    right->addWidget(tabWidget);
    right->addWidget(previewImage, 1);
    layout->addLayout(left, 1);
    layout->addLayout(right);
}

void ConvertImageFormUi::setupLeftColumn(QWidget *form)
{
    toolbarWidget = namedWidget<QWidget>(form, "toolbarWidget");
    targetComboBox = namedWidget<QComboBox>(toolbarWidget, "targetComboBox");
    targetLabel = makeLabel(toolbarWidget, "targetLabel", "Output:", targetComboBox);
    qualitySpinBox = spinBox(toolbarWidget, "qualitySpinBox", 0, 99);
    qualityLabel = makeLabel(toolbarWidget, "qualityLabel", "Quality", qualitySpinBox);
    line4 = separator(toolbarWidget, "line4");
    line4->hide();
    websiteButton = iconButton(toolbarWidget, "websiteButton", "_websiteIcon24.png", "Website", 24);
    websiteButton->setText(tr("Website"));
    aboutButton = iconButton(toolbarWidget, "aboutButton", "_About24.png", "About", 24);
    convertButton = iconButton(toolbarWidget, "convertButton", "_Convert24.png", "Convert Images", 24);
    convertButton->setText(tr("Convert"));
    convertButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    line_2 = separator(toolbarWidget, "line_2");
    addFilesButton = iconButton(toolbarWidget, "addFilesButton", "_AddFile24.png", "Add Files", 24);
    removeButton = iconButton(toolbarWidget, "removeButton", "_Delete24.png", "Remove", 24);
    clearButton = iconButton(toolbarWidget, "clearButton", "_shortcut24.png", "Clear", 24);
    line = separator(toolbarWidget, "line");
    upButton = iconButton(toolbarWidget, "upButton", "_ArrowUp24.png", "Up", 24);
    downButton = iconButton(toolbarWidget, "downButton", "_ArrowDown24.png", "Down", 24);
    line_3 = separator(toolbarWidget, "line_3");
    auto *toolbarLayout = new QHBoxLayout(toolbarWidget);
    toolbarLayout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *widget : std::initializer_list<QWidget *>{convertButton, line_2, addFilesButton, removeButton,
                                                            clearButton, line, upButton, downButton, line_3,
                                                            targetLabel, targetComboBox, qualityLabel, qualitySpinBox})
        toolbarLayout->addWidget(widget);
    toolbarLayout->addStretch();
    toolbarLayout->addWidget(line4);
    toolbarLayout->addWidget(websiteButton);
    toolbarLayout->addWidget(aboutButton);

    sourceTreeView = namedWidget<ConvertImageTreeView>(form, "sourceTreeView");
    sourceFrame = namedWidget<ConvertImageFrame>(form, "sourceFrame");
    sourceFrame->setFrameShape(QFrame::StyledPanel);
    sourceFrame->setAccessibleName(tr("Image drop area"));
    label_2 = namedWidget<QLabel>(sourceFrame, "label_2");
    label_2->setAlignment(Qt::AlignCenter);
    label = makeLabel(sourceFrame, "label", "Drop images to convert here");
    QFont font = label->font();
    font.setPointSize(16);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    auto *frameLayout = new QVBoxLayout(sourceFrame);
    frameLayout->setAlignment(Qt::AlignCenter);
    frameLayout->addWidget(label_2, 0, Qt::AlignCenter);
    frameLayout->addSpacing(20);
    frameLayout->addWidget(label, 0, Qt::AlignCenter);

    // Page 2, the progress panel, joins while the tool runs.
    sourceStack = new QStackedLayout;
    sourceStack->addWidget(sourceTreeView);
    sourceStack->addWidget(sourceFrame);
}

void ConvertImageFormUi::setupRightColumn(QWidget *form)
{
    tabToolbarWidget = namedWidget<QWidget>(form, "tabToolbarWidget");
    tabTileLabel = makeLabel(tabToolbarWidget, "tabTileLabel", "Settings");
    QFont font = tabTileLabel->font();
    font.setBold(true);
    tabTileLabel->setFont(font);
    tabResetButton = iconButton(tabToolbarWidget, "tabResetButton", "_Reset24.png", "Reset", 24);
    auto *toolbar = new QHBoxLayout(tabToolbarWidget);
    toolbar->setContentsMargins(8, 2, 2, 2);
    toolbar->addWidget(tabTileLabel);
    toolbar->addStretch();
    toolbar->addWidget(tabResetButton);

    tabWidget = namedWidget<QTabWidget>(form, "tabWidget");
    tabWidget->setFixedWidth(400);
    setupOutputTab();
    setupScaleTab();
    setupTextTab();
    setupImageTab();
    setupQrCodeTab();
    setupAdjustmentsTab();
    tabWidget->setCurrentIndex(0);

    previewImage = namedWidget<ConvertImagePreviewLabel>(form, "previewImage");
    // 400 by 231 where there is room; in a short window the preview gives
    // way, so that every setting of the current tab stays in view.
    previewImage->setFixedWidth(400);
    previewImage->setMaximumHeight(231);
    previewImage->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    previewImage->setFrameShape(QFrame::Box);
    previewImage->setAlignment(Qt::AlignCenter);
    previewImage->setAccessibleName(tr("Preview"));
    previewImage->setToolTip(tr("Double-click or press Enter for the full-size preview"));
}

void ConvertImageFormUi::setupOutputTab()
{
    QWidget *tab = addTab(tabWidget, "outputFolderTab", "Output", &outputFolderTab);
    outputFolderLineEdit = namedWidget<QLineEdit>(tab, "outputFolderLineEdit");
    outputFolderLabel = makeLabel(tab, "outputFolderLabel", "Save converted files to:", outputFolderLineEdit);
    outputFolderButton = iconButton(tab, "outputFolderButton", "_folder16.png", "Choose Output Folder", 16);
    outputFolderButton->setText(QStringLiteral("..."));

    pdfGroupBox = namedWidget<QGroupBox>(tab, "pdfGroupBox");
    pdfGroupBox->setTitle(tr("Save to PDF"));
    QWidget *box = pdfGroupBox;
    pdfFilenameLineEdit = namedWidget<QLineEdit>(box, "pdfFilenameLineEdit");
    pdfFilenameLabel = makeLabel(box, "pdfFilenameLabel", "PDF file name:", pdfFilenameLineEdit);
    pdfFilenameButton = iconButton(box, "pdfFilenameButton", "_folder16.png", "Choose PDF File", 16);
    pdfFilenameButton->setText(QStringLiteral("..."));
    pdfPaperSizeComboBox = namedWidget<QComboBox>(box, "pdfPaperSizeComboBox");
    for (const char *paper : {"Letter", "A4", "A5", "Legal", "Executive"})
        pdfPaperSizeComboBox->addItem(tr(paper));
    pdfPaperSizeLabel = makeLabel(box, "pdfPaperSizeLabel", "Paper size:", pdfPaperSizeComboBox);
    pdfPageOrientationPortraitButton =
        choiceButton(box, "pdfPageOrientationPortraitButton", "Portrait.png", "Portrait");
    pdfPageOrientationLanscapeButton =
        choiceButton(box, "pdfPageOrientationLanscapeButton", "Landscape.png", "Landscape");
    pdfPageOrientationLabel = makeLabel(box, "pdfPageOrientationLabel", "Page Orientation:");
    pdfNoMarginButton = choiceButton(box, "pdfNoMarginButton", "Image.png", "No Margin");
    pdfAddMarginButton = choiceButton(box, "pdfAddMarginButton", "ImageBorder.png", "Add Margin");
    pdfMarginLabel = makeLabel(box, "pdfMarginLabel", "Margin:");
    pdfMarginSizeSpinBox = spinBox(box, "pdfMarginSizeSpinBox", 0, 99);
    pdfMarginSizeLabel = makeLabel(box, "pdfMarginSizeLabel", "Margin Size:", pdfMarginSizeSpinBox);
    pdfResizeImageToPaperCheckBox = namedWidget<QCheckBox>(box, "pdfResizeImageToPaperCheckBox");
    pdfResizeImageToPaperCheckBox->setText(tr("Resize Image to Paper Size"));
    pdfQualityComboBox = namedWidget<QComboBox>(box, "pdfQualityComboBox");
    for (const char *dpi : {"96 dpi", "150 dpi", "300 dpi", "400 dpi", "600 dpi", "1200 dpi"})
        pdfQualityComboBox->addItem(tr(dpi));
    pdfQualityLabel = makeLabel(box, "pdfQualityLabel", "Quality:", pdfQualityComboBox);
    pdfSmoothEdgesCheckBox = namedWidget<QCheckBox>(box, "pdfSmoothEdgesCheckBox");
    pdfSmoothEdgesCheckBox->setText(tr("Smooth Edges on Resize"));

    auto *grid = new QGridLayout(box);
    grid->addWidget(pdfFilenameLabel, 0, 0);
    grid->addLayout(row({pdfFilenameLineEdit, pdfFilenameButton}, true), 0, 1);
    grid->addWidget(pdfPaperSizeLabel, 1, 0);
    grid->addLayout(row({pdfPaperSizeComboBox}), 1, 1);
    grid->addWidget(pdfPageOrientationLabel, 2, 0);
    grid->addLayout(row({pdfPageOrientationPortraitButton, pdfPageOrientationLanscapeButton}), 2, 1);
    grid->addWidget(pdfMarginLabel, 3, 0);
    grid->addLayout(row({pdfNoMarginButton, pdfAddMarginButton}), 3, 1);
    grid->addWidget(pdfMarginSizeLabel, 4, 0);
    grid->addLayout(row({pdfMarginSizeSpinBox}), 4, 1);
    grid->addWidget(pdfQualityLabel, 5, 0);
    grid->addLayout(row({pdfQualityComboBox}), 5, 1);
    grid->addWidget(pdfResizeImageToPaperCheckBox, 6, 0, 1, 2);
    grid->addWidget(pdfSmoothEdgesCheckBox, 7, 0, 1, 2);

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(outputFolderLabel);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(outputFolderLineEdit, 1);
    folderRow->addWidget(outputFolderButton);
    layout->addLayout(folderRow);
    layout->addWidget(pdfGroupBox);
    layout->addStretch();
}

void ConvertImageFormUi::setupScaleTab()
{
    QWidget *tab = addTab(tabWidget, "scaleTab", "Scale", &scaleTab);
    scaleImageCheckBox = namedWidget<QCheckBox>(tab, "scaleImageCheckBox");
    scaleImageCheckBox->setText(tr("Scale Image"));
    percentageRadioButton = namedWidget<QRadioButton>(tab, "percentageRadioButton");
    percentageRadioButton->setText(tr("Percentage:"));
    percentageSpinBox = spinBox(tab, "percentageSpinBox", 0, 400, " %");
    percentageSpinBox->setAccessibleName(tr("Percentage"));
    absoluteRadioButton = namedWidget<QRadioButton>(tab, "absoluteRadioButton");
    absoluteRadioButton->setText(tr("Absolute size"));
    absoluteWidthLineEdit = numberEdit(tab, "absoluteWidthLineEdit");
    absoluteWidthLabel = makeLabel(tab, "absoluteWidthLabel", "Width:", absoluteWidthLineEdit);
    absoluteHeightLineEdit = numberEdit(tab, "absoluteHeightLineEdit");
    absoluteHeightLabel = makeLabel(tab, "absoluteHeightLabel", "Height:", absoluteHeightLineEdit);
    relativeRadioButton = namedWidget<QRadioButton>(tab, "relativeRadioButton");
    relativeRadioButton->setText(tr("Keep aspect ratio"));
    relativeToComboBox = namedWidget<QComboBox>(tab, "relativeToComboBox");
    relativeToComboBox->addItems({tr("Width"), tr("Height")});
    relativeToLabel = makeLabel(tab, "relativeToLabel", "Relative to:", relativeToComboBox);
    relativeValueLineEdit = numberEdit(tab, "relativeValueLineEdit");
    relativeValueLabel = makeLabel(tab, "relativeValueLabel", "Width:", relativeValueLineEdit);

    auto *grid = new QGridLayout(tab);
    grid->setColumnMinimumWidth(0, 20);
    grid->addWidget(scaleImageCheckBox, 0, 0, 1, 3);
    grid->addWidget(percentageRadioButton, 1, 0, 1, 2);
    grid->addWidget(percentageSpinBox, 1, 2);
    grid->addWidget(absoluteRadioButton, 2, 0, 1, 3);
    grid->addWidget(absoluteWidthLabel, 3, 1);
    grid->addWidget(absoluteWidthLineEdit, 3, 2);
    grid->addWidget(absoluteHeightLabel, 4, 1);
    grid->addWidget(absoluteHeightLineEdit, 4, 2);
    grid->addWidget(relativeRadioButton, 5, 0, 1, 3);
    grid->addWidget(relativeToLabel, 6, 1);
    grid->addWidget(relativeToComboBox, 6, 2);
    grid->addWidget(relativeValueLabel, 7, 1);
    grid->addWidget(relativeValueLineEdit, 7, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(8, 1);
}

void ConvertImageFormUi::setupTextTab()
{
    QWidget *tab = addTab(tabWidget, "textTab", "Text", &textTab);
    textLineEdit = namedWidget<QLineEdit>(tab, "textLineEdit");
    textLabel = makeLabel(tab, "textLabel", "Text:", textLineEdit);
    textClearButton = iconButton(tab, "textClearButton", "_DeleteIcon24.png", "Clear Text", 16);
    fontComboBox = namedWidget<QFontComboBox>(tab, "fontComboBox");
    fontLabel = makeLabel(tab, "fontLabel", "Font:", fontComboBox);
    sizeSpinBox = spinBox(tab, "sizeSpinBox", 0, 999);
    sizeLabel = makeLabel(tab, "sizeLabel", "Size:", sizeSpinBox);
    colorWidget = namedWidget<KivColorWidget>(tab, "colorWidget");
    colorWidget->setFixedSize(60, 22);
    colorWidget->setToolTip(tr("Text Color"));
    colorButton = namedWidget<QToolButton>(tab, "colorButton");
    colorButton->setText(QStringLiteral("..."));
    colorButton->setToolTip(tr("Choose Text Color"));
    colorButton->setAccessibleName(tr("Choose Text Color"));
    colorLabel = makeLabel(tab, "colorLabel", "Color:", colorButton);
    positionComboBox = makePositionComboBox(tab, "positionComboBox");
    positionLabel = makeLabel(tab, "positionLabel", "Position:", positionComboBox);
    opacitySpinBox = spinBox(tab, "opacitySpinBox", 0, 100, " %");
    opacityLabel = makeLabel(tab, "opacityLabel", "Opacity:", opacitySpinBox);
    marginSpinBox = spinBox(tab, "marginSpinBox", 0, 999, " px");
    marginLabel = makeLabel(tab, "marginLabel", "Margin:", marginSpinBox);

    QFormLayout *form = formLayout(tab);
    form->addRow(textLabel, row({textLineEdit, textClearButton}, true));
    form->addRow(fontLabel, fontComboBox);
    form->addRow(sizeLabel, row({sizeSpinBox}));
    form->addRow(colorLabel, row({colorWidget, colorButton}));
    form->addRow(positionLabel, row({positionComboBox}));
    form->addRow(opacityLabel, row({opacitySpinBox}));
    form->addRow(marginLabel, row({marginSpinBox}));
}

void ConvertImageFormUi::setupImageTab()
{
    QWidget *tab = addTab(tabWidget, "imageTab", "Image", &imageTab);
    imageImage = namedWidget<QLabel>(tab, "imageImage");
    imageImage->setFixedSize(120, 60);
    imageImage->setFrameShape(QFrame::Box);
    imageImage->setAlignment(Qt::AlignCenter);
    imageImage->setText(tr("Preview"));
    imageImage->setAccessibleName(tr("Watermark Image"));
    imageSelectButton = namedWidget<QPushButton>(tab, "imageSelectButton");
    imageSelectButton->setText(tr("Select Image..."));
    imageClearButton = namedWidget<QPushButton>(tab, "imageClearButton");
    imageClearButton->setText(tr("Clear"));
    imageSizeSpinBox = spinBox(tab, "imageSizeSpinBox", 1, 100, " %");
    imageSizeLabel = makeLabel(tab, "imageSizeLabel", "Size:", imageSizeSpinBox);
    imagePositionComboBox = makePositionComboBox(tab, "imagePositionComboBox");
    imagePositionLabel = makeLabel(tab, "imagePositionLabel", "Position:", imagePositionComboBox);
    imageOpacitySpinBox = spinBox(tab, "imageOpacitySpinBox", 0, 100, " %");
    imageOpacityLabel = makeLabel(tab, "imageOpacityLabel", "Opacity:", imageOpacitySpinBox);
    imageMarginSpinBox = spinBox(tab, "imageMarginSpinBox", 0, 999, " px");
    imageMarginLabel = makeLabel(tab, "imageMarginLabel", "Margin:", imageMarginSpinBox);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(imageSelectButton);
    buttons->addWidget(imageClearButton);
    QHBoxLayout *imageRow = row({imageImage});
    imageRow->insertLayout(1, buttons);
    QFormLayout *form = formLayout(tab);
    form->addRow(imageRow);
    form->addRow(imageSizeLabel, row({imageSizeSpinBox}));
    form->addRow(imagePositionLabel, row({imagePositionComboBox}));
    form->addRow(imageOpacityLabel, row({imageOpacitySpinBox}));
    form->addRow(imageMarginLabel, row({imageMarginSpinBox}));
}

void ConvertImageFormUi::setupQrCodeTab()
{
    QWidget *tab = addTab(tabWidget, "qrCodeTab", "QR Code", &qrCodeTab);
    qrCodeTextEdit = namedWidget<QPlainTextEdit>(tab, "qrCodeTextEdit");
    qrCodeTextEdit->setTabChangesFocus(true);
    qrCodeTextEdit->setMaximumHeight(80);
    qrCodeTextLabel = makeLabel(tab, "qrCodeTextLabel", "Text:", qrCodeTextEdit);
    qrCodeTextEdit->setAccessibleName(tr("QR Code Text"));
    qrCodeTextClearButton = namedWidget<QPushButton>(tab, "qrCodeTextClearButton");
    qrCodeTextClearButton->setText(tr("Clear"));
    qrCodeSizeSpinBox = spinBox(tab, "qrCodeSizeSpinBox", 1, 1000, " px");
    qrCodeSizeLabel = makeLabel(tab, "qrCodeSizeLabel", "Size:", qrCodeSizeSpinBox);
    qrCodePositionComboBox = makePositionComboBox(tab, "qrCodePositionComboBox");
    qrCodePositionLabel = makeLabel(tab, "qrCodePositionLabel", "Position:", qrCodePositionComboBox);
    qrCodeMarginSpinBox = spinBox(tab, "qrCodeMarginSpinBox", 0, 999, " px");
    qrCodeMarginLabel = makeLabel(tab, "qrCodeMarginLabel", "Margin:", qrCodeMarginSpinBox);

    QFormLayout *form = formLayout(tab);
    form->addRow(qrCodeTextLabel, qrCodeTextEdit);
    form->addRow(QString(), row({qrCodeTextClearButton}));
    form->addRow(qrCodeSizeLabel, row({qrCodeSizeSpinBox}));
    form->addRow(qrCodePositionLabel, row({qrCodePositionComboBox}));
    form->addRow(qrCodeMarginLabel, row({qrCodeMarginSpinBox}));
}

void ConvertImageFormUi::setupAdjustmentsTab()
{
    QWidget *tab = addTab(tabWidget, "AdjustmentsTab", "Adjustments", &AdjustmentsTab);
    adjustAddButton = iconButton(tab, "adjustAddButton", "_AddIcon24.png", "Add Adjustment", 24);
    adjustAddButton->setPopupMode(QToolButton::InstantPopup);
    adjustDeleteButton = iconButton(tab, "adjustDeleteButton", "_SettingsIcon24.png", "Show Rule Buttons", 24);
    adjustDeleteButton->setCheckable(true);
    adjustDeleteButton->hide();
    adjustDeleteAllButton =
        iconButton(tab, "adjustDeleteAllButton", "_Reset24.png", "Remove All Adjustment Settings", 24);
    adjustDeleteAllButton->hide();
    adjustScrollArea = namedWidget<QScrollArea>(tab, "adjustScrollArea");
    adjustScrollArea->setWidgetResizable(true);
    adjustScrollArea->setMinimumHeight(30); // the window may be as short as 513 pixels
    adjustScrollArea->setAccessibleName(tr("Adjustment Rules"));
    adjustScrollAreaWidgetContents = namedWidget<QWidget>(adjustScrollArea, "adjustScrollAreaWidgetContents");
    adjustRulesLayout = new QVBoxLayout(adjustScrollAreaWidgetContents);
    adjustRulesLayout->setAlignment(Qt::AlignTop);
    adjustScrollArea->setWidget(adjustScrollAreaWidgetContents);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(adjustAddButton);
    buttons->addStretch();
    buttons->addWidget(adjustDeleteButton);
    buttons->addWidget(adjustDeleteAllButton);
    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(buttons);
    layout->addWidget(adjustScrollArea, 1);
}
