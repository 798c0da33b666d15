#include "pdfmanagerformui.h"

#include "namedwidget.h"
#include "pdfmanagerframe.h"
#include "pdfmanagerlistview.h"
#include "pdfmanagertableview.h"
#include "theme.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedLayout>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *toolButton(QWidget *parent, const char *objectName, const char *iconName, bool textUnderIcon)
{
    auto *button = namedWidget<QToolButton>(parent, objectName);
    button->setAutoRaise(true);
    button->setIcon(QIcon(Theme::imagePath(QLatin1String(iconName))));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(textUnderIcon ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    return button;
}

QFrame *separator(QWidget *parent, const char *objectName)
{
    auto *frame = namedWidget<QFrame>(parent, objectName);
    frame->setFrameShape(QFrame::VLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

// The items are added once, in set-up; a language change only renames them.
void setItemTexts(QComboBox *box, const QStringList &texts)
{
    for (int index = 0; index < texts.size(); ++index)
        box->setItemText(index, texts.at(index));
}

} // namespace

void PdfManagerFormUi::setupUi(QWidget *form)
{
    form->setObjectName(QStringLiteral("PdfManagerForm"));
    form->resize(1165, 797);
    setupTopRow(form);
    setupSourceFrame(form);
    setupProgressFrame(form);
    setupResultFrame(form);
    setupLayouts(form);
    retranslateUi();
}

void PdfManagerFormUi::setupTopRow(QWidget *form)
{
    loadButton = toolButton(form, "loadButton", "load_extractIcon.png", true);
    exportButton = toolButton(form, "exportButton", "export_extractIcon.png", true);
    line = separator(form, "line");
    checkAllButton = toolButton(form, "checkAllButton", "IconYes24.png", false);
    uncheckAllButton = toolButton(form, "uncheckAllButton", "IconNo24.png", false);
    pageRangeButton = toolButton(form, "pageRangeButton", "IconRange24.png", false);
    line_2 = separator(form, "line_2");
    outputLabel = namedWidget<QLabel>(form, "outputLabel");
    outputComboBox = namedWidget<QComboBox>(form, "outputComboBox");
    outputLabel->setBuddy(outputComboBox);
    outputComboBox->addItems(QStringList(3));
    scaleLabel = namedWidget<QLabel>(form, "scaleLabel");
    scaleComboBox = namedWidget<QComboBox>(form, "scaleComboBox");
    scaleLabel->setBuddy(scaleComboBox);
    scaleComboBox->addItems(QStringList(5));
    line_3 = separator(form, "line_3");
    websiteButton = toolButton(form, "websiteButton", "websiteIcon24.png", true);
    aboutButton = toolButton(form, "aboutButton", "About24.png", true);
}

void PdfManagerFormUi::setupSourceFrame(QWidget *form)
{
    sourceFrame = namedWidget<PdfManagerFrame>(form, "sourceFrame");
    sourceImageLabel = namedWidget<QLabel>(sourceFrame, "sourceImageLabel");
    sourceImageLabel->setPixmap(QPixmap(Theme::imagePath(QStringLiteral("PDF128.png"))));
    sourceImageLabel->setAlignment(Qt::AlignCenter);
    sourceLabel = namedWidget<QLabel>(sourceFrame, "sourceLabel");
    QFont font = sourceLabel->font();
    font.setPointSize(20);
    font.setBold(true);
    sourceLabel->setFont(font);
    sourceLabel->setAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(sourceFrame);
    layout->setAlignment(Qt::AlignCenter);
    layout->addWidget(sourceImageLabel, 0, Qt::AlignCenter);
    layout->addSpacing(20);
    layout->addWidget(sourceLabel, 0, Qt::AlignCenter);
}

void PdfManagerFormUi::setupProgressFrame(QWidget *form)
{
    progressFrame = namedWidget<QFrame>(form, "progressFrame");
    progressLabel = namedWidget<QLabel>(progressFrame, "progressLabel");
    progressLabel->setAlignment(Qt::AlignCenter);
    progressBar = namedWidget<QProgressBar>(progressFrame, "progressBar");
    progressBar->setMinimumWidth(400);
    progressCancelButton = namedWidget<QPushButton>(progressFrame, "progressCancelButton");
    progressCancelButton->setFixedWidth(75);

    auto *layout = new QVBoxLayout(progressFrame);
    layout->setAlignment(Qt::AlignCenter);
    layout->addWidget(progressLabel, 0, Qt::AlignCenter);
    layout->addWidget(progressBar, 0, Qt::AlignCenter);
    layout->addWidget(progressCancelButton, 0, Qt::AlignCenter);
}

void PdfManagerFormUi::setupResultFrame(QWidget *form)
{
    resultFrame = namedWidget<QFrame>(form, "resultFrame");
    splitter = namedWidget<QSplitter>(resultFrame, "splitter");
    splitter->setOrientation(Qt::Horizontal);

    contentWidget = namedWidget<QWidget>(splitter, "contentWidget");
    listView = namedWidget<PdfManagerListview>(contentWidget, "listView");
    checkedTabWidget = namedWidget<QTabWidget>(contentWidget, "checkedTabWidget");
    checkedTab = namedWidget<QWidget>(checkedTabWidget, "checkedTab");
    checkedView = namedWidget<PdfManagerTableView>(checkedTab, "checkedView");
    checkedTabWidget->addTab(checkedTab, QString());

    auto *tabLayout = new QVBoxLayout(checkedTab);
    tabLayout->setContentsMargins(6, 6, 6, 6);
    tabLayout->addWidget(checkedView);

    auto *contentLayout = new QVBoxLayout(contentWidget);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(listView, 1);
    contentLayout->addWidget(checkedTabWidget);

    previewImage = namedWidget<QLabel>(splitter, "previewImage");
    previewImage->setFrameShape(QFrame::Box);
    previewImage->setAlignment(Qt::AlignCenter);
    previewImage->setMinimumSize(100, 231);
    previewImage->setMaximumWidth(1000);
    previewImage->setScaledContents(false);

    splitter->addWidget(contentWidget);
    splitter->addWidget(previewImage);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto *layout = new QVBoxLayout(resultFrame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

void PdfManagerFormUi::setupLayouts(QWidget *form)
{
    auto *topRow = new QHBoxLayout;
    topRow->setAlignment(Qt::AlignLeft);
    for (QWidget *widget :
         std::initializer_list<QWidget *>{loadButton, exportButton, line, checkAllButton, uncheckAllButton,
                                          pageRangeButton, line_2, outputLabel, outputComboBox})
        topRow->addWidget(widget);
    topRow->addSpacing(20);
    for (QWidget *widget :
         std::initializer_list<QWidget *>{scaleLabel, scaleComboBox, line_3, websiteButton, aboutButton})
        topRow->addWidget(widget);

    stackedLayout = new QStackedLayout;
    stackedLayout->setObjectName(QStringLiteral("stackedLayout"));
    stackedLayout->addWidget(resultFrame);
    stackedLayout->addWidget(progressFrame);
    stackedLayout->addWidget(sourceFrame);

    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(topRow);
    layout->addLayout(stackedLayout, 1);
    // Only a stacked layout that has its widget can switch pages.
    stackedLayout->setCurrentIndex(SourcePage);
}

void PdfManagerFormUi::retranslateUi()
{
    sourceLabel->setText(tr("Drop PDF File here"));
    loadButton->setText(tr("Open"));
    exportButton->setText(tr("Export"));
    checkAllButton->setToolTip(tr("Check All"));
    uncheckAllButton->setToolTip(tr("Uncheck All"));
    pageRangeButton->setToolTip(tr("Set Page Range"));
    // Icon-only buttons: screen readers announce what the tool tip shows.
    for (QToolButton *button : {checkAllButton, uncheckAllButton, pageRangeButton})
        button->setAccessibleName(button->toolTip());
    outputLabel->setText(tr("Output Format:"));
    setItemTexts(outputComboBox, {tr("JPG"), tr("PNG"), tr("WEBP")});
    scaleLabel->setText(tr("Scale:"));
    setItemTexts(scaleComboBox, {tr("100%"), tr("200%"), tr("300%"), tr("400%"), tr("500%")});
    websiteButton->setText(tr("Website"));
    aboutButton->setText(tr("About"));
    progressCancelButton->setText(tr("Cancel"));
    checkedTabWidget->setTabText(checkedTabWidget->indexOf(checkedTab), tr("Checked Pages"));
    if (previewImage->pixmap().isNull())
        previewImage->setText(tr("Preview"));
    // Views and pictures have no text of their own for a screen reader to announce.
    listView->setAccessibleName(tr("Pages"));
    checkedView->setAccessibleName(tr("Checked pages"));
    previewImage->setAccessibleName(tr("Page preview"));
    sourceImageLabel->setAccessibleName(tr("PDF file"));
}
