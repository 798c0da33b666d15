#pragma once

#include <QString>
#include <QUrl>

// Constants of the build, read everywhere and written nowhere.
class KivGlobal
{
public:
    // The PDF edition of the images tool; the image edition is a build option.
    static constexpr bool isPdfManager = FF_IS_PDF_MANAGER;

    static constexpr int majorVersion = 1;
    static constexpr int minorVersion = 3;
    static constexpr int subMinorVersion = 0;

    static QString productName();
    static QString versionString();

    // The maker's web site; every page the program opens or fetches lives there.
    static QUrl websiteUrl();
    static QUrl productPageUrl();
};
