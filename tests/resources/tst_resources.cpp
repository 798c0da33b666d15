#include "testenvironment.h"

#include <QImage>
#include <QTest>

namespace {

// The images of one button or picture: the light-scheme file, its dark-scheme
// ("White") file and its disabled ("Gray") file; empty where there is none.
struct IconSet {
    const char *light;
    const char *white;
    const char *gray;
    int size;
};

constexpr IconSet iconSets[] = {
    {"Update24", "", "", 24},
    {"Update128", "", "", 128},
    {"AboutLogo", "", "", 128},
    {"About24", "AboutWhite24", "", 24},
    {"_About24", "_AboutWhite24", "", 24},
    {"websiteIcon24", "websiteWhiteIcon24", "", 24},
    {"_websiteIcon24", "_websiteWhiteIcon24", "", 24},
    {"IconYes24", "", "", 24},
    {"_IconYes24", "_IconYesWhite24", "_IconYesGray24", 24},
    {"IconNo24", "", "", 24},
    {"_IconNo24", "_IconNoWhite24", "_IconNoGray24", 24},
    {"IconRange24", "", "", 24},
    {"_IconRange24", "_IconRangeWhite24", "_IconRangeGray24", 24},
    {"load_extractIcon", "", "", 32},
    {"_load_extractIcon", "_load_extractIconWhite", "_load_extractIconGray", 32},
    {"export_extractIcon", "", "", 32},
    {"_export_extractIcon", "_export_extractIconWhite", "_export_extractIconGray", 32},
    {"PDF128", "", "", 128},
    {"_PDF128", "_PDFWhite128", "", 128},
    {"CheckIcon24", "CheckWhiteIcon24", "", 24},
    {"_Convert24", "_ConvertWhite24", "_ConvertGray24", 24},
    {"_AddFile24", "_AddFileWhite24", "", 24},
    {"_Delete24", "_DeleteWhite24", "_DeleteGray24", 24},
    {"_DeleteIcon24", "_DeleteWhiteIcon24", "", 24},
    {"_shortcut24", "_shortcutWhite24", "_shortcutGray24", 24},
    {"_ArrowUp24", "_ArrowUpWhite24", "_ArrowUpGray24", 24},
    {"_ArrowDown24", "_ArrowDownWhite24", "_ArrowDownGray24", 24},
    {"_AddIcon24", "_AddWhiteIcon24", "", 24},
    {"_SettingsIcon24", "_SettingsWhiteIcon24", "_SettingsGrayIcon24", 24},
    {"_Reset24", "_ResetWhite24", "", 24},
    {"_folder16", "_folderWhite16", "", 16},
    {"Portrait", "PortraitWhite", "", 24},
    {"Landscape", "LandscapeWhite", "", 24},
    {"Image", "ImageWhite", "", 24},
    {"ImageBorder", "ImageBorderWhite", "", 24},
    {"_DropLogo", "_DropLogoWhite", "", 128},
    {"FitToSize24", "", "", 24},
    {"_MergeIcon24", "_MergeWhiteIcon24", "_MergeGrayIcon24", 24},
    {"_PasswordBlack", "_PasswordWhite24", "", 24},
};

QImage load(const QString &name, const QString &suffix = QString())
{
    return QImage(QStringLiteral(":/resources/images/") + name + suffix + QStringLiteral(".png"));
}

// Mean luminance (0..255) of the pixels that are mostly opaque, so the
// transparent background does not dilute the tint; -1 for an empty image.
double meanLuminance(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    int count = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) < 192)
                continue;
            sum += 0.2126 * qRed(line[x]) + 0.7152 * qGreen(line[x]) + 0.0722 * qBlue(line[x]);
            ++count;
        }
    }
    return count == 0 ? -1 : sum / count;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void imagesLoadAtTheirSize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        for (const IconSet &set : iconSets) {
            for (const char *name : {set.light, set.white, set.gray}) {
                if (*name != '\0')
                    QTest::newRow(name) << QString::fromLatin1(name) << set.size;
            }
        }
    }

    void imagesLoadAtTheirSize()
    {
        QFETCH(QString, name);
        QFETCH(int, size);
        const QImage image = load(name);
        QVERIFY2(!image.isNull(), qPrintable(name));
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY2(meanLuminance(image) >= 0, "nothing opaque drawn");
        // High-DPI screens pick the @2x file by name.
        QCOMPARE(load(name, QStringLiteral("@2x")).size(), QSize(2 * size, 2 * size));
    }

    void variantsAreTintedForTheirBackground_data()
    {
        QTest::addColumn<QString>("light");
        QTest::addColumn<QString>("white");
        QTest::addColumn<QString>("gray");
        for (const IconSet &set : iconSets) {
            if (*set.white != '\0')
                QTest::newRow(set.light) << QString::fromLatin1(set.light) << QString::fromLatin1(set.white)
                                         << QString::fromLatin1(set.gray);
        }
    }

    void variantsAreTintedForTheirBackground()
    {
        QFETCH(QString, light);
        QFETCH(QString, white);
        QFETCH(QString, gray);
        const double lightLuma = meanLuminance(load(light));
        const double whiteLuma = meanLuminance(load(white));
        QVERIFY2(lightLuma >= 0 && whiteLuma >= 0, "image missing or empty");
        QVERIFY2(whiteLuma > lightLuma + 60,
                 qPrintable(QStringLiteral("%1 %2 vs %3").arg(white).arg(whiteLuma).arg(lightLuma)));
        if (gray.isEmpty())
            return;
        // Disabled must stand apart from both enabled looks.
        const double grayLuma = meanLuminance(load(gray));
        QVERIFY2(grayLuma > lightLuma + 30 && grayLuma < whiteLuma - 30,
                 qPrintable(QStringLiteral("%1 %2").arg(gray).arg(grayLuma)));
    }
};

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
