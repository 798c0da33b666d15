#pragma once

#include <QString>

// What the whole split tool shares: the remembered folders and the PDF whose
// pages are listed. GUI thread only.
namespace SplitPDFGlobal {

QString loadPath(); // folder of the last loaded PDF
void setLoadPath(const QString &path);
QString outputPath(); // folder of the last chosen output file
void setOutputPath(const QString &path);
QString currentPdfPath();
void setCurrentPdfPath(const QString &path);
int pageCount();
void setPageCount(int count);

} // namespace SplitPDFGlobal
