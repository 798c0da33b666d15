#include "updateinfo.h"

#include <QString>
#include <QStringList>

#include <tuple>

PublishedVersion parseUpdateFile(const QByteArray &body)
{
    PublishedVersion version;
    const QString text = QString::fromUtf8(body);
    for (QString pair : text.split(QLatin1Char(';'))) {
        pair.remove(QStringLiteral("\r\n"));
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QStringView key = QStringView(pair).left(equals);
        const int value = pair.mid(equals + 1).toInt();
        if (key == QLatin1String("majorVersion"))
            version.major = value;
        else if (key == QLatin1String("minorVersion"))
            version.minor = value;
        else if (key == QLatin1String("subMinorVersion"))
            version.subMinor = value;
    }
    return version;
}

bool isNewer(const PublishedVersion &published, int major, int minor, int subMinor)
{
    return std::tie(major, minor, subMinor) < std::tie(published.major, published.minor, published.subMinor);
}
