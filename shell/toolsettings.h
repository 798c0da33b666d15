#pragma once

#include <QSettings>
#include <QString>

// Settings conventions shared by the tools: one store per tool under the
// organisation "Corvane", opened where a value is read or written.
namespace ToolSettings {

inline constexpr char organisation[] = "Corvane";

// A remembered folder, or `fallback` when none is stored or the stored folder
// no longer exists.
QString readFolder(QSettings &settings, const QString &key, const QString &fallback);

// A stored choice index; anything outside 0..last (unsigned comparison, so
// negative values too) gives `defaultIndex`.
int readIndex(QSettings &settings, const QString &key, int defaultIndex, int last);

} // namespace ToolSettings
