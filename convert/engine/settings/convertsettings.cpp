#include "convertsettings.h"

#include <QStringList>

void ConvertSettings::resetWatermarksAndScale(const QFont &font)
{
    ConvertSettings defaults;
    defaults.textFont = font;
    scaleImage = defaults.scaleImage;
    scaleType = defaults.scaleType;
    scalePercentage = defaults.scalePercentage;
    scaleAbsoluteWitdh = defaults.scaleAbsoluteWitdh;
    scaleAbsoluteHeight = defaults.scaleAbsoluteHeight;
    scaleRelativeTo = defaults.scaleRelativeTo;
    scaleRelativeWidth = defaults.scaleRelativeWidth;
    scaleRelativeHeight = defaults.scaleRelativeHeight;
    textContent = defaults.textContent;
    textFont = defaults.textFont;
    textSize = defaults.textSize;
    textColor = defaults.textColor;
    textPosition = defaults.textPosition;
    textOpacity = defaults.textOpacity;
    textMargin = defaults.textMargin;
    imagePath = defaults.imagePath;
    imageSize = defaults.imageSize;
    imagePosition = defaults.imagePosition;
    imageOpacity = defaults.imageOpacity;
    imageMargin = defaults.imageMargin;
    qrCodeText = defaults.qrCodeText;
    qrCodeSize = defaults.qrCodeSize;
    qrCodePosition = defaults.qrCodePosition;
    qrCodeMargin = defaults.qrCodeMargin;
}

QString ruleToString(const AdjustmentRule &rule)
{
    QStringList fields{QString::number(rule.ruleId), QString::number(rule.ruleIndex)};
    for (const QVariant &value : rule.ruleValues)
        fields << value.toString();
    return fields.join(QLatin1Char(';'));
}

StoredRule parseRuleString(const QString &text)
{
    QStringList fields = text.split(QLatin1Char(';'));
    fields.removeLast(); // not followed by ";"
    StoredRule rule;
    if (fields.size() < 2)
        return rule;
    rule.ok = true;
    rule.kind = fields.at(1).toInt();
    for (qsizetype i = 2; i < fields.size(); ++i)
        rule.values << (fields.at(i).isEmpty() ? QVariant() : QVariant(fields.at(i)));
    return rule;
}
