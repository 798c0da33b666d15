#include "convertrulerows.h"

#include "colorscheme.h"
#include "convertimageformui.h"
#include "convertsettingsstore.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct RuleKind {
    const char *menuEntry;
    const char *label;
    int minimum;
    int menuMaximum;  // added from the menu
    int valueMaximum; // added with a value (settings load)
};

// Indexed by AdjustmentRule::Kind.
constexpr RuleKind ruleKinds[] = {
    {"Grayscale", "Convert image to grayscale.", 0, 0, 0},
    {"Sepia", "Apply sepia tone to image", 0, 0, 0},
    {"Contrast", "Contrast:", -255, 255, 255},
    {"Brightness", "Brightness:", -255, 255, 255},
    {"Gamma", "Gamma:", -100, 999, 1000},
    {"Invert Colors", "Invert Colors:", 0, 255, 255},
    {"Gaussian Blur Radius", "Gaussian Blur:", 0, 50, 50},
};

bool hasValue(int kind)
{
    return kind >= AdjustmentRule::Contrast && kind <= AdjustmentRule::GaussianBlur;
}

int idAfter(const QObject *sender, const char *prefix)
{
    return sender ? sender->objectName().mid(int(qstrlen(prefix))).toInt() : -1;
}

} // namespace

ConvertRuleRows::ConvertRuleRows(QWidget *form, ConvertImageFormUi &ui, bool &ready)
    : ConvertFormPart(form, ui, ready)
{
    createAdjustMenu();
    connectSlotsByName();
}

void ConvertRuleRows::createAdjustMenu()
{
    auto *menu = new QMenu(form);
    connect(menu->addAction(tr(ruleKinds[0].menuEntry)), &QAction::triggered, this,
            &ConvertRuleRows::onGrayscaleAction);
    connect(menu->addAction(tr(ruleKinds[1].menuEntry)), &QAction::triggered, this, &ConvertRuleRows::onSepiaAction);
    connect(menu->addAction(tr(ruleKinds[2].menuEntry)), &QAction::triggered, this,
            qOverload<>(&ConvertRuleRows::onContrastAction));
    connect(menu->addAction(tr(ruleKinds[3].menuEntry)), &QAction::triggered, this,
            qOverload<>(&ConvertRuleRows::onBrightnessAction));
    connect(menu->addAction(tr(ruleKinds[4].menuEntry)), &QAction::triggered, this,
            qOverload<>(&ConvertRuleRows::onGammaAction));
    connect(menu->addAction(tr(ruleKinds[5].menuEntry)), &QAction::triggered, this,
            qOverload<>(&ConvertRuleRows::onInvertColorsAction));
    connect(menu->addAction(tr(ruleKinds[6].menuEntry)), &QAction::triggered, this,
            qOverload<>(&ConvertRuleRows::onGaussianBlurRadiusAction));
    ui.adjustAddButton->setMenu(menu);
}

void ConvertRuleRows::onGrayscaleAction()
{
    addRule(AdjustmentRule::Grayscale, std::nullopt);
}
void ConvertRuleRows::onSepiaAction()
{
    addRule(AdjustmentRule::Sepia, std::nullopt);
}
void ConvertRuleRows::onContrastAction()
{
    addRule(AdjustmentRule::Contrast, std::nullopt);
}
void ConvertRuleRows::onContrastAction(int value)
{
    addRule(AdjustmentRule::Contrast, value);
}
void ConvertRuleRows::onBrightnessAction()
{
    addRule(AdjustmentRule::Brightness, std::nullopt);
}
void ConvertRuleRows::onBrightnessAction(int value)
{
    addRule(AdjustmentRule::Brightness, value);
}
void ConvertRuleRows::onGammaAction()
{
    addRule(AdjustmentRule::Gamma, std::nullopt);
}
void ConvertRuleRows::onGammaAction(int value)
{
    addRule(AdjustmentRule::Gamma, value);
}
void ConvertRuleRows::onInvertColorsAction()
{
    addRule(AdjustmentRule::InvertColors, std::nullopt);
}
void ConvertRuleRows::onInvertColorsAction(int value)
{
    addRule(AdjustmentRule::InvertColors, value);
}
void ConvertRuleRows::onGaussianBlurRadiusAction()
{
    addRule(AdjustmentRule::GaussianBlur, std::nullopt);
}
void ConvertRuleRows::onGaussianBlurRadiusAction(int value)
{
    addRule(AdjustmentRule::GaussianBlur, value);
}

void ConvertRuleRows::addRule(int kind, std::optional<int> value)
{
    if (kind < 0 || kind > AdjustmentRule::GaussianBlur)
        return;
    AdjustmentRule rule;
    rule.ruleId = nextRuleId++;
    rule.ruleIndex = kind;
    if (value && hasValue(kind))
        rule.ruleValues[0] = *value;
    QWidget *row = createRuleRow(rule.ruleId, kind, value.value_or(0), value.has_value());
    KivLocalConvertImage::editSettings([&rule](ConvertSettings &s) { s.ruleList.append(rule); });
    ruleWidgets.append(row);
    ui.adjustRulesLayout->addWidget(row);
    refreshRowIcons();
    ui.adjustDeleteButton->show();
    ui.adjustDeleteAllButton->show();
    rulesChanged();
}

QWidget *ConvertRuleRows::createRuleRow(int id, int kind, int value, bool withValue)
{
    const RuleKind &info = ruleKinds[kind];
    auto *row = new QWidget(ui.adjustScrollAreaWidgetContents);
    row->setObjectName(QStringLiteral("Widget%1").arg(id));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(tr(info.label), row);
    layout->addWidget(label);
    if (hasValue(kind)) {
        label->setMinimumWidth(100);
        const int maximum = withValue ? info.valueMaximum : info.menuMaximum;
        auto *slider = new QSlider(Qt::Horizontal, row);
        slider->setObjectName(QStringLiteral("Slider%1").arg(id));
        slider->setRange(info.minimum, maximum);
        slider->setValue(value);
        slider->setAccessibleName(tr(info.menuEntry));
        auto *spinBox = new QSpinBox(row);
        spinBox->setObjectName(QStringLiteral("SpinBox%1").arg(id));
        spinBox->setRange(info.minimum, maximum);
        spinBox->setValue(value);
        spinBox->setAccessibleName(tr(info.menuEntry));
        label->setBuddy(spinBox);
        layout->addWidget(slider, 1);
        layout->addWidget(spinBox);
        connect(slider, &QSlider::valueChanged, this, &ConvertRuleRows::on_rule_slider_changed);
        connect(spinBox, &QSpinBox::valueChanged, this, &ConvertRuleRows::on_rule_spinbox_changed);
    } else {
        layout->addStretch();
    }
    const struct {
        const char *prefix;
        const char *toolTip;
        void (ConvertRuleRows::*slot)(bool);
    } buttons[] = {{"DeleteButton", QT_TR_NOOP("Delete"), &ConvertRuleRows::on_rule_delete_clicked},
                   {"UpButton", QT_TR_NOOP("Move Up"), &ConvertRuleRows::on_rule_up_clicked},
                   {"DownButton", QT_TR_NOOP("Move Down"), &ConvertRuleRows::on_rule_down_clicked}};
    for (const auto &kind : buttons) {
        auto *button = new QPushButton(row);
        button->setObjectName(QLatin1String(kind.prefix) + QString::number(id));
        button->setFlat(true);
        button->setFixedWidth(30);
        button->setToolTip(tr(kind.toolTip));
        button->setAccessibleName(tr(kind.toolTip));
        button->setVisible(ui.adjustDeleteButton->isChecked());
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, kind.slot);
    }
    return row;
}

void ConvertRuleRows::rulesChanged()
{
    if (!ready)
        return;
    ConvertSettingsStore::save(KivLocalConvertImage::settings(), QStringLiteral("ruleList"));
    emit settingChanged();
}

int ConvertRuleRows::rulePosition(const QObject *sender, const char *prefix) const
{
    const QString rowName = QStringLiteral("Widget%1").arg(idAfter(sender, prefix));
    for (qsizetype i = 0; i < ruleWidgets.size(); ++i)
        if (ruleWidgets.at(i)->objectName() == rowName)
            return int(i);
    return -1;
}

void ConvertRuleRows::setRuleValue(int id, int value)
{
    KivLocalConvertImage::editSettings([id, value](ConvertSettings &s) {
        for (AdjustmentRule &rule : s.ruleList)
            if (rule.ruleId == id)
                rule.ruleValues[0] = value;
    });
}

void ConvertRuleRows::on_rule_slider_changed(int value)
{
    const int id = idAfter(sender(), "Slider");
    setRuleValue(id, value);
    if (auto *row = ui.adjustScrollAreaWidgetContents->findChild<QWidget *>(QStringLiteral("Widget%1").arg(id)))
        if (auto *spinBox = row->findChild<QSpinBox *>(QStringLiteral("SpinBox%1").arg(id)))
            spinBox->setValue(value);
    rulesChanged();
}

void ConvertRuleRows::on_rule_spinbox_changed(int value)
{
    const int id = idAfter(sender(), "SpinBox");
    setRuleValue(id, value);
    if (auto *row = ui.adjustScrollAreaWidgetContents->findChild<QWidget *>(QStringLiteral("Widget%1").arg(id)))
        if (auto *slider = row->findChild<QSlider *>(QStringLiteral("Slider%1").arg(id)))
            slider->setValue(value);
    rulesChanged();
}

void ConvertRuleRows::moveRule(int from, int to)
{
    if (from == to)
        return;
    KivLocalConvertImage::editSettings([from, to](ConvertSettings &s) { s.ruleList.move(from, to); });
    QWidget *row = ruleWidgets.at(from);
    ruleWidgets.move(from, to);
    ui.adjustRulesLayout->removeWidget(row);
    ui.adjustRulesLayout->insertWidget(to, row);
    rulesChanged();
}

void ConvertRuleRows::on_rule_up_clicked(bool)
{
    const int p = qMax(0, rulePosition(sender(), "UpButton"));
    if (ruleWidgets.isEmpty())
        return;
    moveRule(p, p - 1 < 0 ? int(ruleWidgets.size()) - 1 : p - 1);
}

void ConvertRuleRows::on_rule_down_clicked(bool)
{
    const int p = qMax(0, rulePosition(sender(), "DownButton"));
    if (ruleWidgets.isEmpty())
        return;
    moveRule(p, p + 1 >= ruleWidgets.size() ? 0 : p + 1);
}

void ConvertRuleRows::on_rule_delete_clicked(bool)
{
    const int p = rulePosition(sender(), "DeleteButton");
    if (p < 0)
        return;
    ruleWidgets.takeAt(p)->deleteLater();
    KivLocalConvertImage::editSettings([p](ConvertSettings &s) { s.ruleList.removeAt(p); });
    if (ruleWidgets.isEmpty()) {
        ui.adjustDeleteButton->hide();
        ui.adjustDeleteAllButton->hide();
    }
    rulesChanged();
}

void ConvertRuleRows::setRuleButtonsShown(bool shown)
{
    ui.adjustDeleteButton->setChecked(shown);
    on_adjustDeleteButton_clicked();
}

void ConvertRuleRows::on_adjustDeleteButton_clicked()
{
    const bool shown = ui.adjustDeleteButton->isChecked();
    for (QWidget *row : std::as_const(ruleWidgets))
        for (QPushButton *button : row->findChildren<QPushButton *>())
            button->setVisible(shown);
}

void ConvertRuleRows::on_adjustDeleteAllButton_clicked()
{
    if (ShellDialogs::message(form, QMessageBox::Question, tr("Remove All Adjustment Settings"),
                              tr("Are you sure you want to remove all adjustment settings?"),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    removeAllAdjustment();
    rulesChanged();
}

void ConvertRuleRows::removeAllAdjustment()
{
    while (!ruleWidgets.isEmpty()) {
        ruleWidgets.takeLast()->deleteLater();
        KivLocalConvertImage::editSettings([](ConvertSettings &s) { s.ruleList.removeLast(); });
    }
    ui.adjustDeleteButton->hide();
    ui.adjustDeleteAllButton->hide();
}

void ConvertRuleRows::refreshTheme()
{
    Theme::applyIcon(ui.adjustAddButton, QStringLiteral("_AddIcon24.png"), QStringLiteral("_AddWhiteIcon24.png"));
    Theme::applyIcon(ui.adjustDeleteButton, QStringLiteral("_SettingsIcon24.png"),
                     QStringLiteral("_SettingsWhiteIcon24.png"), QStringLiteral("_SettingsGrayIcon24.png"));
    Theme::applyIcon(ui.adjustDeleteAllButton, QStringLiteral("_Reset24.png"), QStringLiteral("_ResetWhite24.png"));
    refreshRowIcons();
}

void ConvertRuleRows::refreshRowIcons()
{
    const bool dark = isDarkColorScheme();
    for (QWidget *row : std::as_const(ruleWidgets)) {
        for (QPushButton *button : row->findChildren<QPushButton *>()) {
            const QString name = button->objectName();
            QString icon;
            if (name.startsWith(QLatin1String("DeleteButton")))
                icon = dark ? QStringLiteral("_DeleteWhiteIcon24.png") : QStringLiteral("_DeleteIcon24.png");
            else if (name.startsWith(QLatin1String("UpButton")))
                icon = dark ? QStringLiteral("_ArrowUpWhite24.png") : QStringLiteral("_ArrowUp24.png");
            else
                icon = dark ? QStringLiteral("_ArrowDownWhite24.png") : QStringLiteral("_ArrowDown24.png");
            button->setIcon(QIcon(Theme::imagePath(icon)));
        }
    }
}
