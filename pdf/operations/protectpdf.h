#pragma once

#include "pdfsource.h"
#include "pdfworkresult.h"

#include <QString>

// The name a protected copy of sourcePath gets in folder: the file name
// itself, or, when that exists, the base name (up to the first ".") with
// "(1)", "(2)", ... before the complete suffix, the first that does not
// exist, so no file is ever replaced.
QString protectedOutputPath(const QString &folder, const QString &sourcePath);

// Saves an AES-256 (revision 6) encrypted copy of source to target; the
// password opens it and is also its owner password. Readers may print at
// low resolution, change the contents and copy text and graphics.
PdfWorkResult protectPdf(const PdfInput &source, const QString &target, const QString &password);
