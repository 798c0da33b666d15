#pragma once

#include "convertformpart.h"

#include <QList>

#include <optional>

// The "Adjustments" tab: one row of widgets per adjustment rule, in the
// order the rules apply.
class ConvertRuleRows : public ConvertFormPart
{
    Q_OBJECT
public:
    ConvertRuleRows(QWidget *form, ConvertImageFormUi &ui, bool &ready);

    // Adds a rule of `kind` at the end; without a value its slider starts at 0
    // and the rule has no value until it is moved.
    void addRule(int kind, std::optional<int> value);
    void removeAllAdjustment();
    // Whether the rows show their Delete, Up and Down buttons.
    void setRuleButtonsShown(bool shown);
    void refreshTheme() override;

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

private slots:
    void on_adjustDeleteButton_clicked();
    void on_adjustDeleteAllButton_clicked();

private:
    // Connected explicitly to each row's widgets, which find their rule by
    // their own object name.
    void on_rule_slider_changed(int value);
    void on_rule_spinbox_changed(int value);
    void on_rule_up_clicked(bool checked);
    void on_rule_down_clicked(bool checked);
    void on_rule_delete_clicked(bool checked);

    void createAdjustMenu();
    QWidget *createRuleRow(int id, int kind, int value, bool withValue);
    int rulePosition(const QObject *sender, const char *prefix) const;
    void setRuleValue(int id, int value);
    void moveRule(int from, int to);
    void rulesChanged();
    void refreshRowIcons();

    QList<QWidget *> ruleWidgets;
    int nextRuleId = 0;
};
