#pragma once

#include <QFileInfo>
#include <QString>

// What the PDF tools take by drag besides folders: an existing file whose
// last suffix is "pdf" in any letter case. The name decides, not the content.
namespace PdfDropRule {

inline bool takesFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

} // namespace PdfDropRule
