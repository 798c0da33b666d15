#pragma once

#include <QString>

namespace ImageFiles {

// Whether `path` names an existing regular file whose extension (the text
// after the last ".") is one the images tool reads, in any letter case. The
// name decides, not the content.
bool isImageFile(const QString &path);

} // namespace ImageFiles
