#include "toolsettings.h"

#include <QDir>

namespace ToolSettings {

QString readFolder(QSettings &settings, const QString &key, const QString &fallback)
{
    const QString folder = settings.value(key, QStringLiteral("NULL")).toString();
    const bool usable = !folder.isEmpty() && folder != QLatin1String("NULL") && QDir(folder).exists();
    return usable ? folder : fallback;
}

int readIndex(QSettings &settings, const QString &key, int defaultIndex, int last)
{
    const int index = settings.value(key, defaultIndex).toInt();
    return static_cast<unsigned>(index) > static_cast<unsigned>(last) ? defaultIndex : index;
}

} // namespace ToolSettings
