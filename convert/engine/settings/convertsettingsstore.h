#pragma once

#include "convertsettings.h"

#include <QFont>
#include <QList>
#include <QString>

// The images tool's store: organisation "Corvane", application "ConvertImage",
// group "MainApp".
namespace ConvertSettingsStore {

// Every key with its default; `defaultFont` stands in for an empty "textFont".
// Rules come back in stored order as parsed strings (the form gives them ids).
struct Loaded {
    ConvertSettings settings;
    QList<StoredRule> rules;
};
Loaded load(const QFont &defaultFont);

// Writes one key from `settings`. "ruleList" writes "AdjustImageCount" and every
// rule; any of "pdfFileName", "resizeImageToPaper", "pdfSmoothEdges" writes all three.
void save(const ConvertSettings &settings, const QString &key);

} // namespace ConvertSettingsStore
