#include "converttargets.h"

#include "kivglobal.h"

namespace ConvertTargets {

QList<Target> offered()
{
    const Target pdf{QStringLiteral("PDF"), QStringLiteral(".pdf")};
    if (KivGlobal::isPdfManager)
        return {pdf};
    return {{QStringLiteral("AVIF"), QStringLiteral(".avif")}, {QStringLiteral("GIF"), QStringLiteral(".gif")},
            {QStringLiteral("HEIC"), QStringLiteral(".heic")}, {QStringLiteral("HEIF"), QStringLiteral(".heif")},
            {QStringLiteral("JPG"), QStringLiteral(".jpg")},   {QStringLiteral("JPEG XL"), QStringLiteral(".jxl")},
            {QStringLiteral("PNG"), QStringLiteral(".png")},   {QStringLiteral("TIFF"), QStringLiteral(".tiff")},
            {QStringLiteral("WEBP"), QStringLiteral(".webp")}, pdf};
}

int indexOf(const QString &name)
{
    const QList<Target> targets = offered();
    for (qsizetype i = 0; i < targets.size(); ++i)
        if (targets.at(i).name == name)
            return int(i);
    return -1;
}

} // namespace ConvertTargets
