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

// One axis of the restore rule: a position beyond the screen goes back to the
// start, a too small extent grows (the position is then left alone), a too
// large one shrinks to the screen, and otherwise the window is pulled back so
// that it ends on the screen.
struct Span {
    quint32 pos;
    quint32 extent;
};

Span restoreAxis(std::optional<quint32> storedPos, std::optional<quint32> storedExtent, int start, int minExtent,
                 int screenExtent)
{
    const quint32 screen = static_cast<quint32>(screenExtent);
    const quint32 minimum = static_cast<quint32>(minExtent);
    quint32 pos = storedPos.value_or(start);
    if (pos > screen)
        pos = start;
    quint32 extent = storedExtent.value_or(minimum);
    if (extent < minimum)
        extent = minimum;
    else if (extent > screen)
        extent = screen;
    else if (pos + extent > screen)
        pos = screen - extent;
    return {pos, extent};
}

} // namespace

QRect restore(const Stored &stored, QSize screen)
{
    const Span x = restoreAxis(stored.posX, stored.width, startGeometry.x(), startGeometry.width(), screen.width());
    const Span y = restoreAxis(stored.posY, stored.height, startGeometry.y(), startGeometry.height(), screen.height());
    return QRect(int(x.pos), int(y.pos), int(x.extent), int(y.extent));
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
