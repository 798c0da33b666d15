#include "convertsettingsstore.h"

#include "toolsettings.h"

#include <QSettings>

namespace ConvertSettingsStore {
namespace {

const QString ruleListKey = QStringLiteral("ruleList");

QSettings openStore()
{
    return QSettings(QLatin1String(ToolSettings::organisation), QStringLiteral("ConvertImage"));
}

int readPosition(QSettings &store, const QString &key)
{
    const int position = store.value(key, ConvertSettingsLists::bottomRight).toInt();
    return position < 0 || position >= ConvertSettingsLists::positionCount ? ConvertSettingsLists::bottomRight
                                                                           : position;
}

QVariant valueOf(const ConvertSettings &s, const QString &key)
{
    static const QHash<QString, std::function<QVariant(const ConvertSettings &)>> fields{
        {QStringLiteral("lastPicturesDir"), [](const ConvertSettings &s) { return QVariant(s.lastPicturesDir); }},
        {QStringLiteral("targeFileType"), [](const ConvertSettings &s) { return QVariant(s.targeFileType); }},
        {QStringLiteral("targeFileQuality"), [](const ConvertSettings &s) { return QVariant(s.targeFileQuality); }},
        {QStringLiteral("outputFolder"), [](const ConvertSettings &s) { return QVariant(s.outputFolder); }},
        {QStringLiteral("pdfFileName"), [](const ConvertSettings &s) { return QVariant(s.pdfFileName); }},
        {QStringLiteral("pdfPaperSize"), [](const ConvertSettings &s) { return QVariant(s.pdfPaperSize); }},
        {QStringLiteral("resizeImageToPaper"), [](const ConvertSettings &s) { return QVariant(s.resizeImageToPaper); }},
        {QStringLiteral("pdfSmoothEdges"), [](const ConvertSettings &s) { return QVariant(s.pdfSmoothEdges); }},
        {QStringLiteral("pdfQuality"), [](const ConvertSettings &s) { return QVariant(s.pdfQuality); }},
        {QStringLiteral("pdfPaperOrientation"),
         [](const ConvertSettings &s) { return QVariant(s.pdfPaperOrientation); }},
        {QStringLiteral("pdfPaperMargin"), [](const ConvertSettings &s) { return QVariant(s.pdfPaperMargin); }},
        {QStringLiteral("pdfPaperMarginSize"), [](const ConvertSettings &s) { return QVariant(s.pdfPaperMarginSize); }},
        {QStringLiteral("scaleImage"), [](const ConvertSettings &s) { return QVariant(s.scaleImage); }},
        {QStringLiteral("scaleType"), [](const ConvertSettings &s) { return QVariant(s.scaleType); }},
        {QStringLiteral("scalePercentage"), [](const ConvertSettings &s) { return QVariant(s.scalePercentage); }},
        {QStringLiteral("scaleAbsoluteWitdh"), [](const ConvertSettings &s) { return QVariant(s.scaleAbsoluteWitdh); }},
        {QStringLiteral("scaleAbsoluteHeight"),
         [](const ConvertSettings &s) { return QVariant(s.scaleAbsoluteHeight); }},
        {QStringLiteral("scaleRelativeTo"), [](const ConvertSettings &s) { return QVariant(s.scaleRelativeTo); }},
        {QStringLiteral("scaleRelativeWidth"), [](const ConvertSettings &s) { return QVariant(s.scaleRelativeWidth); }},
        {QStringLiteral("scaleRelativeHeight"),
         [](const ConvertSettings &s) { return QVariant(s.scaleRelativeHeight); }},
        {QStringLiteral("textContent"), [](const ConvertSettings &s) { return QVariant(s.textContent); }},
        {QStringLiteral("textFont"), [](const ConvertSettings &s) { return QVariant(s.textFont); }},
        {QStringLiteral("textSize"), [](const ConvertSettings &s) { return QVariant(s.textSize); }},
        {QStringLiteral("textColor"), [](const ConvertSettings &s) { return QVariant(s.textColor); }},
        {QStringLiteral("textPosition"), [](const ConvertSettings &s) { return QVariant(s.textPosition); }},
        {QStringLiteral("textOpacity"), [](const ConvertSettings &s) { return QVariant(s.textOpacity); }},
        {QStringLiteral("textMargin"), [](const ConvertSettings &s) { return QVariant(s.textMargin); }},
        {QStringLiteral("imagePath"), [](const ConvertSettings &s) { return QVariant(s.imagePath); }},
        {QStringLiteral("imageSize"), [](const ConvertSettings &s) { return QVariant(s.imageSize); }},
        {QStringLiteral("imagePosition"), [](const ConvertSettings &s) { return QVariant(s.imagePosition); }},
        {QStringLiteral("imageOpacity"), [](const ConvertSettings &s) { return QVariant(s.imageOpacity); }},
        {QStringLiteral("imageMargin"), [](const ConvertSettings &s) { return QVariant(s.imageMargin); }},
        {QStringLiteral("qrCodeText"), [](const ConvertSettings &s) { return QVariant(s.qrCodeText); }},
        {QStringLiteral("qrCodeSize"), [](const ConvertSettings &s) { return QVariant(s.qrCodeSize); }},
        {QStringLiteral("qrCodePosition"), [](const ConvertSettings &s) { return QVariant(s.qrCodePosition); }},
        {QStringLiteral("qrCodeMargin"), [](const ConvertSettings &s) { return QVariant(s.qrCodeMargin); }},
    };
    const auto field = fields.constFind(key);
    Q_ASSERT(field != fields.constEnd());
    return field != fields.constEnd() ? (*field)(s) : QVariant();
}

} // namespace

Loaded load(const QFont &defaultFont)
{
    QSettings store = openStore();
    store.beginGroup(QStringLiteral("MainApp"));
    Loaded loaded;
    ConvertSettings &s = loaded.settings;
    const ConvertSettings d;
    auto readInt = [&store](const char *key, int fallback) {
        return store.value(QLatin1String(key), fallback).toInt();
    };
    auto readBool = [&store](const char *key, bool fallback) {
        return store.value(QLatin1String(key), fallback).toBool();
    };
    auto readString = [&store](const char *key) { return store.value(QLatin1String(key)).toString(); };

    s.lastPicturesDir = readString("lastPicturesDir");
    s.targeFileType = readInt("targeFileType", d.targeFileType);
    s.targeFileQuality = readInt("targeFileQuality", d.targeFileQuality);
    s.outputFolder = readString("outputFolder");
    s.pdfFileName = readString("pdfFileName");
    s.pdfPaperSize = readInt("pdfPaperSize", d.pdfPaperSize);
    s.resizeImageToPaper = readBool("resizeImageToPaper", d.resizeImageToPaper);
    s.pdfSmoothEdges = readBool("pdfSmoothEdges", d.pdfSmoothEdges);
    s.pdfQuality = readInt("pdfQuality", d.pdfQuality);
    s.pdfPaperOrientation = readInt("pdfPaperOrientation", d.pdfPaperOrientation);
    s.pdfPaperMargin = readInt("pdfPaperMargin", d.pdfPaperMargin);
    s.pdfPaperMarginSize = readInt("pdfPaperMarginSize", d.pdfPaperMarginSize);
    s.scaleImage = readBool("scaleImage", d.scaleImage);
    s.scaleType = readInt("scaleType", d.scaleType);
    s.scalePercentage = readInt("scalePercentage", d.scalePercentage);
    s.scaleAbsoluteWitdh = readInt("scaleAbsoluteWitdh", d.scaleAbsoluteWitdh);
    s.scaleAbsoluteHeight = readInt("scaleAbsoluteHeight", d.scaleAbsoluteHeight);
    s.scaleRelativeTo = readInt("scaleRelativeTo", d.scaleRelativeTo);
    s.scaleRelativeWidth = readInt("scaleRelativeWidth", d.scaleRelativeWidth);
    s.scaleRelativeHeight = readInt("scaleRelativeHeight", d.scaleRelativeHeight);
    s.textContent = readString("textContent");
    // The string form of a font starts with its family, so the stored family
    // is the first choice of the family list.
    const QString font = readString("textFont");
    s.textFont = font.isEmpty() ? defaultFont : QFont(font);
    s.textSize = readInt("textSize", d.textSize);
    const QString color = readString("textColor");
    s.textColor = color.isEmpty() ? QColor(Qt::black) : QColor::fromString(color);
    s.textPosition = readPosition(store, QStringLiteral("textPosition"));
    s.textOpacity = readInt("textOpacity", d.textOpacity);
    s.textMargin = readInt("textMargin", d.textMargin);
    s.imagePath = readString("imagePath");
    s.imageSize = readInt("imageSize", d.imageSize);
    s.imagePosition = readPosition(store, QStringLiteral("imagePosition"));
    s.imageOpacity = readInt("imageOpacity", d.imageOpacity);
    s.imageMargin = readInt("imageMargin", d.imageMargin);
    s.qrCodeText = readString("qrCodeText");
    s.qrCodeSize = readInt("qrCodeSize", d.qrCodeSize);
    s.qrCodePosition = readPosition(store, QStringLiteral("qrCodePosition"));
    s.qrCodeMargin = readInt("qrCodeMargin", d.qrCodeMargin);

    const int count = readInt("AdjustImageCount", 0);
    for (int i = 0; i < count; ++i) {
        const StoredRule rule = parseRuleString(readString(qPrintable(QStringLiteral("AdjustImage%1").arg(i))));
        if (rule.ok)
            loaded.rules << rule;
    }
    store.endGroup();
    return loaded;
}

void save(const ConvertSettings &settings, const QString &key)
{
    QSettings store = openStore();
    store.beginGroup(QStringLiteral("MainApp"));
    if (key == ruleListKey) {
        store.setValue(QStringLiteral("AdjustImageCount"), settings.ruleList.size());
        for (qsizetype i = 0; i < settings.ruleList.size(); ++i)
            store.setValue(QStringLiteral("AdjustImage%1").arg(i), ruleToString(settings.ruleList.at(i)));
    } else if (key == QLatin1String("pdfFileName") || key == QLatin1String("resizeImageToPaper") ||
               key == QLatin1String("pdfSmoothEdges")) {
        for (const char *companion : {"pdfFileName", "resizeImageToPaper", "pdfSmoothEdges"})
            store.setValue(QLatin1String(companion), valueOf(settings, QLatin1String(companion)));
    } else {
        store.setValue(key, valueOf(settings, key));
    }
    store.endGroup();
}

} // namespace ConvertSettingsStore
