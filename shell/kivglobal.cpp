#include "kivglobal.h"

QString KivGlobal::productName()
{
    return QStringLiteral("Folioforge");
}

QString KivGlobal::versionString()
{
    return QStringLiteral("%1.%2.%3").arg(majorVersion).arg(minorVersion).arg(subMinorVersion);
}

QUrl KivGlobal::websiteUrl()
{
    return QUrl(QStringLiteral("http://www.corvane.com"));
}

QUrl KivGlobal::productPageUrl()
{
    QUrl url = websiteUrl();
    url.setPath(QStringLiteral("/Folioforge.php"));
    return url;
}
