#pragma once

#include "pdferror.h"

#include <QStringList>

// How writing a new PDF from others ended.
struct PdfWorkResult {
    PdfError error;       // failed(): nothing was written
    QStringList warnings; // damage the sources were read despite
    bool stopped = false; // ended early on request; what was done before is written
};
