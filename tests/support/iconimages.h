#pragma once

#include <QIcon>
#include <QImage>

// Icons compared by their pixels. Both sides are premultiplied, as a pixmap
// stores them, so faint edge pixels of dark icons compare equal.
namespace IconImages {

inline QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// `name` is a file of the program's icon set.
inline QImage fileImage(const QString &name)
{
    return QImage(QStringLiteral(":/resources/images/") + name).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace IconImages
