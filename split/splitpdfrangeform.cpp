#include "splitpdfrangeform.h"

#include "namedwidget.h"
#include "theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

namespace {

constexpr int largestPageNumber = 999999;

QSpinBox *pageSpinBox(QWidget *parent, const char *objectName)
{
    auto *spinBox = namedWidget<QSpinBox>(parent, objectName);
    // 0 is kept as typed, to be refused with a reason rather than undone in silence.
    spinBox->setRange(0, largestPageNumber);
    return spinBox;
}

} // namespace

SplitPDFRangeForm::SplitPDFRangeForm(int rangeId, QWidget *parent)
    : QWidget(parent)
    , rangeId(rangeId)
{
    setObjectName(QStringLiteral("SplitPDFRangeForm"));
    setWindowTitle(tr("Form"));
    resize(410, 42);
    setFixedHeight(42);

    fromLabel = namedWidget<QLabel>(this, "fromLabel");
    fromLabel->setText(tr("From page:"));
    fromSpinBox = pageSpinBox(this, "fromSpinBox");
    fromLabel->setBuddy(fromSpinBox);
    toLabel = namedWidget<QLabel>(this, "toLabel");
    toLabel->setText(tr("to:"));
    toSpinBox = pageSpinBox(this, "toSpinBox");
    toLabel->setBuddy(toSpinBox);
    removeButton = namedWidget<QToolButton>(this, "removeButton");
    removeButton->setText(QStringLiteral("..."));
    removeButton->setToolTip(tr("Remove this range"));
    removeButton->setAccessibleName(removeButton->toolTip());
    addButton = namedWidget<QToolButton>(this, "addButton");
    addButton->setText(QStringLiteral("..."));
    addButton->setToolTip(tr("Add a range"));
    addButton->setAccessibleName(addButton->toolTip());

    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(10);
    layout->setAlignment(Qt::AlignLeft);
    for (QWidget *widget :
         std::initializer_list<QWidget *>{fromLabel, fromSpinBox, toLabel, toSpinBox, removeButton, addButton})
        layout->addWidget(widget);

    // The first row stays: it can only add.
    addButton->setVisible(rangeId == 0);
    removeButton->setVisible(rangeId != 0);
    refreshTheme();
    QMetaObject::connectSlotsByName(this);
}

void SplitPDFRangeForm::refreshTheme()
{
    Theme::applyIcon(addButton, QStringLiteral("_AddIcon24.png"), QStringLiteral("_AddWhiteIcon24.png"));
    Theme::applyIcon(removeButton, QStringLiteral("_Delete24.png"), QStringLiteral("_DeleteWhite24.png"));
}

void SplitPDFRangeForm::on_removeButton_clicked()
{
    emit removeRangeForm(rangeId);
}

void SplitPDFRangeForm::on_addButton_clicked()
{
    emit addRangeForm();
}
