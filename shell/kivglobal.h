#pragma once

#include <QString>
#include <QUrl>

// Constants of the build, read everywhere and written nowhere.
class KivGlobal
{
public:
    // The PDF edition of the images tool. Its value lives in the edition
    // library the executable links (ff_edition_pdf or ff_edition_image), so
    // one build holds the tests of both editions.
    static const bool isPdfManager;

    static constexpr int majorVersion = 1;
    static constexpr int minorVersion = 3;
    static constexpr int subMinorVersion = 0;

    static QString productName();
    static QString versionString();

    // The maker's web site; every page the program opens or fetches lives there.
    static QUrl websiteUrl();
    static QUrl productPageUrl();
};
