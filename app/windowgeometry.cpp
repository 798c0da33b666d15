#include "windowgeometry.h"

#include <QSettings>

namespace WindowGeometry {
namespace {

QSettings store()
{
#ifdef Q_OS_WIN
    return QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\Corvane Folioforge"), QSettings::NativeFormat);
#else
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane Folioforge"));
#endif
}

std::optional<quint32> readDword(const QSettings &settings, const QString &name)
{
    bool ok = false;
    const qlonglong value = settings.value(name).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return static_cast<quint32>(value);
}

} // namespace

QRect restore(const Stored &stored, QSize screen)
{
    const quint32 screenWidth = static_cast<quint32>(screen.width());
    const quint32 screenHeight = static_cast<quint32>(screen.height());
    const quint32 minWidth = static_cast<quint32>(startGeometry.width());
    const quint32 minHeight = static_cast<quint32>(startGeometry.height());

    quint32 x = stored.posX.value_or(startGeometry.x());
    if (x > screenWidth)
        x = startGeometry.x();
    quint32 y = stored.posY.value_or(startGeometry.y());
    if (y > screenHeight)
        y = startGeometry.y();

    quint32 width = stored.width.value_or(minWidth);
    if (width < minWidth)
        width = minWidth;
    else if (width > screenWidth)
        width = screenWidth;
    else if (x + width > screenWidth)
        x = screenWidth - width;

    quint32 height = stored.height.value_or(minHeight);
    if (height < minHeight)
        height = minHeight;
    else if (height > screenHeight)
        height = screenHeight;
    else if (y + height > screenHeight)
        y = screenHeight - height;

    return QRect(int(x), int(y), int(width), int(height));
}

Stored read()
{
    const QSettings settings = store();
    return {readDword(settings, QStringLiteral("posX")), readDword(settings, QStringLiteral("posY")),
            readDword(settings, QStringLiteral("width")), readDword(settings, QStringLiteral("height"))};
}

void write(const QRect &geometry)
{
    QSettings settings = store();
    // Stored as the registry's DWORDs: the bit pattern of the signed value.
    settings.setValue(QStringLiteral("posX"), static_cast<quint32>(geometry.x()));
    settings.setValue(QStringLiteral("posY"), static_cast<quint32>(geometry.y()));
    settings.setValue(QStringLiteral("width"), static_cast<quint32>(geometry.width()));
    settings.setValue(QStringLiteral("height"), static_cast<quint32>(geometry.height()));
}

} // namespace WindowGeometry
