#pragma once

#include "convertsettings.h"
#include "pagestream.h"

#include <QSize>
#include <QString>

// The work on one page of a PDF run, from the source file to its compressed
// picture, and what that work holds in memory at its peak.
namespace PagePreparation {

// `printable` is the printable area in device pixels.
PageStream preparePage(const QString &path, const ConvertSettings &settings, const QSize &printable);

// An estimate, from the file's header, of the bytes preparePage() holds at once.
qint64 peakBytes(const QString &path, const ConvertSettings &settings, const QSize &printable);

} // namespace PagePreparation
