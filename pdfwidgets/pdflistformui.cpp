#include "pdflistformui.h"

#include "mergepdflistview.h"
#include "namedwidget.h"
#include "splitpdfframe.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QToolButton *toolButton(QWidget *parent, const char *name, const QString &toolTip, bool withText)
{
    auto *button = namedWidget<QToolButton>(parent, name);
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setAutoRaise(true);
    button->setIconSize(QSize(24, 24));
    if (withText) {
        button->setText(toolTip);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    } else {
        button->setFixedWidth(32);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    return button;
}

QFrame *boxFrame(QWidget *parent, const char *name)
{
    auto *frame = namedWidget<QFrame>(parent, name);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Raised);
    return frame;
}
} // namespace

void PdfListFormUi::setupUi(QWidget *form, const char *actionName, const QString &actionText, bool progressFirst)
{
    form->setWindowTitle(tr("Form"));
    widget = namedWidget<QWidget>(form, "widget");
    auto *formLayout = new QVBoxLayout(form);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->addWidget(widget);

    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(setupButtonRow(widget, actionName, actionText));
    auto *stack = new QVBoxLayout;
    stack->setContentsMargins(0, 0, 0, 0);
    column->addLayout(stack, 1);

    setupListView(widget);
    setupSourceFrame(widget);
    setupProgressFrame(widget);
    stack->addWidget(mainListView);
    stack->addWidget(progressFirst ? progressFrame : sourceFrame);
    stack->addWidget(progressFirst ? sourceFrame : progressFrame);
}

void PdfListFormUi::setButtonRowVisible(bool visible)
{
    for (QWidget *member :
         {static_cast<QWidget *>(fileAddButton), static_cast<QWidget *>(removeButton),
          static_cast<QWidget *>(clearButton), static_cast<QWidget *>(line), static_cast<QWidget *>(actionButton)})
        member->setVisible(visible);
}

QWidget *PdfListFormUi::setupButtonRow(QWidget *parent, const char *actionName, const QString &actionText)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignLeft);
    fileAddButton = toolButton(row, "fileAddButton", tr("Add PDF File"), true);
    removeButton = toolButton(row, "removeButton", tr("Remove"), false);
    clearButton = toolButton(row, "clearButton", tr("Clear"), false);
    line = namedWidget<QFrame>(row, "line");
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    actionButton = toolButton(row, actionName, actionText, true);
    for (QWidget *member :
         {static_cast<QWidget *>(fileAddButton), static_cast<QWidget *>(removeButton),
          static_cast<QWidget *>(clearButton), static_cast<QWidget *>(line), static_cast<QWidget *>(actionButton)})
        layout->addWidget(member);
    // The row keeps its height while hidden during a run.
    row->setMinimumHeight(fileAddButton->sizeHint().height());
    return row;
}

void PdfListFormUi::setupListView(QWidget *parent)
{
    mainListView = namedWidget<MergePDFListView>(parent, "mainListView");
    mainListView->setAccessibleName(tr("PDF files"));
    mainListView->setViewMode(QListView::IconMode);
    mainListView->setResizeMode(QListView::Adjust);
    mainListView->setIconSize(QSize(200, 200));
    mainListView->setDragDropMode(QAbstractItemView::InternalMove);
    mainListView->setDefaultDropAction(Qt::MoveAction);
    mainListView->setSelectionMode(QAbstractItemView::SingleSelection);
    mainListView->setDragEnabled(true);
    mainListView->setAcceptDrops(true);
    mainListView->setDropIndicatorShown(true);
    mainListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mainListView->setSpacing(8);
    mainListView->setTabKeyNavigation(false);
    mainListView->hide();
}

void PdfListFormUi::setupSourceFrame(QWidget *parent)
{
    sourceFrame = namedWidget<SplitPDFFrame>(parent, "sourceFrame");
    sourceFrame->setFrameShape(QFrame::Box);
    sourceFrame->setFrameShadow(QFrame::Raised);
    sourceFrame->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    sourceFrame->setMinimumSize(431, 291);
    sourceFrame->setAcceptDrops(true);
    auto *layout = new QVBoxLayout(sourceFrame);
    layout->addStretch();
    sourceImageLabel = namedWidget<QLabel>(sourceFrame, "sourceImageLabel");
    sourceImageLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(sourceImageLabel);
    layout->addSpacing(20);
    sourceLabel = namedWidget<QLabel>(sourceFrame, "sourceLabel");
    sourceLabel->setText(tr("Drop PDF File here"));
    sourceLabel->setAlignment(Qt::AlignCenter);
    QFont font = sourceLabel->font();
    font.setPointSize(20);
    font.setBold(true);
    sourceLabel->setFont(font);
    layout->addWidget(sourceLabel);
    layout->addStretch();
}

void PdfListFormUi::setupProgressFrame(QWidget *parent)
{
    progressFrame = boxFrame(parent, "progressFrame");
    auto *layout = new QVBoxLayout(progressFrame);
    layout->addStretch();
    progressLabel = namedWidget<QLabel>(progressFrame, "progressLabel");
    progressLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(progressLabel);
    progressBar = namedWidget<QProgressBar>(progressFrame, "progressBar");
    progressBar->setAccessibleName(tr("Progress"));
    layout->addWidget(progressBar);
    auto *buttons = new QHBoxLayout;
    progressCancelButton = namedWidget<QPushButton>(progressFrame, "progressCancelButton");
    progressCancelButton->setText(tr("Cancel"));
    buttons->addStretch();
    buttons->addWidget(progressCancelButton);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
    progressFrame->hide();
}
