#include "imagefiles.h"

#include <QFileInfo>
#include <QLatin1StringView>

#include <algorithm>
#include <array>

namespace ImageFiles {

bool isImageFile(const QString &path)
{
    static constexpr std::array<QLatin1StringView, 11> suffixes{
        QLatin1StringView("gif"), QLatin1StringView("heif"), QLatin1StringView("heic"), QLatin1StringView("avif"),
        QLatin1StringView("jxl"), QLatin1StringView("jpg"),  QLatin1StringView("jpeg"), QLatin1StringView("png"),
        QLatin1StringView("tif"), QLatin1StringView("tiff"), QLatin1StringView("webp")};
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return false;
    const QString suffix = info.suffix();
    return std::any_of(suffixes.begin(), suffixes.end(),
                       [&suffix](QLatin1StringView known) { return suffix.compare(known, Qt::CaseInsensitive) == 0; });
}

} // namespace ImageFiles
