#include "pdfwarningsummary.h"

#include <QCoreApplication>

#include <algorithm>

namespace {
constexpr int WarningsShown = 3;
constexpr int LineLength = 160;

QString oneLine(const QString &warning)
{
    const QString line = warning.simplified();
    if (line.size() <= LineLength)
        return line;
    return line.left(LineLength - 1) + QChar(0x2026);
}

QString tr(const char *text)
{
    return QCoreApplication::translate("PdfWarningSummary", text);
}
} // namespace

QString withPdfWarningSummary(const QString &message, const QStringList &warnings)
{
    if (warnings.isEmpty())
        return message;
    const qsizetype count = warnings.size();
    QString summary = message + QStringLiteral("\n\n") +
                      tr("Damage in the input was repaired while it was read; please check the result.") +
                      QLatin1Char('\n');
    if (count == 1)
        summary += tr("1 warning:");
    else if (count <= WarningsShown)
        summary += tr("%1 warnings:").arg(count);
    else
        summary += tr("%1 warnings, the first %2:").arg(count).arg(WarningsShown);
    for (qsizetype i = 0; i < std::min<qsizetype>(count, WarningsShown); ++i)
        summary += QLatin1Char('\n') + oneLine(warnings.at(i));
    return summary;
}
