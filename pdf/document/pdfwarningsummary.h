#pragma once

#include <QString>
#include <QStringList>

// The completion message of a run that read damaged input: message, then how
// many warnings qpdf gave while repairing it and the first few of them, each
// on one line of readable length. A file with a common defect can give one
// warning per object, tens of thousands, so the rest are only counted.
// Without warnings, message as it is.
QString withPdfWarningSummary(const QString &message, const QStringList &warnings);
