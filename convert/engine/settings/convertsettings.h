#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QVariant>

#include <array>

// One adjustment rule of the images tool; applied in list order.
struct AdjustmentRule {
    enum Kind { Grayscale = 0, Sepia, Contrast, Brightness, Gamma, InvertColors, GaussianBlur };

    int ruleId = 0;
    int ruleIndex = Grayscale;
    // Slot 0 holds the parameter once the rule has one; the others exist for
    // the stored form only.
    std::array<QVariant, 5> ruleValues;

    int value() const { return ruleValues[0].toInt(); }
};

// Every option of the images tool, with its default. Field names follow the
// settings keys.
struct ConvertSettings {
    QString lastPicturesDir;
    int targeFileType = 0;
    int targeFileQuality = 95;
    QString outputFolder;
    QString pdfFileName;
    int pdfPaperSize = 0;
    bool resizeImageToPaper = false;
    bool pdfSmoothEdges = true;
    int pdfQuality = 2;
    int pdfPaperOrientation = 0;
    int pdfPaperMargin = 0;
    int pdfPaperMarginSize = 20;

    bool scaleImage = false;
    int scaleType = 0;
    int scalePercentage = 100;
    int scaleAbsoluteWitdh = 1920;
    int scaleAbsoluteHeight = 1080;
    int scaleRelativeTo = 0;
    int scaleRelativeWidth = 1920;
    int scaleRelativeHeight = 1080;

    QString textContent;
    QFont textFont;
    int textSize = 12;
    QColor textColor = Qt::black;
    int textPosition = 8;
    int textOpacity = 100;
    int textMargin = 0;

    QString imagePath;
    int imageSize = 100;
    int imagePosition = 8;
    int imageOpacity = 100;
    int imageMargin = 0;

    QString qrCodeText;
    int qrCodeSize = 100;
    int qrCodePosition = 8;
    int qrCodeMargin = 0;

    QList<AdjustmentRule> ruleList;

    // Puts the scale, text, image and QR code options back to their defaults
    // (`font` is the form's default font); the rest is kept.
    void resetWatermarksAndScale(const QFont &font);
};

namespace ConvertSettingsLists {
inline constexpr int positionCount = 9; // "Top - Left" .. "Bottom - Right"
inline constexpr int bottomRight = 8;
} // namespace ConvertSettingsLists

// The stored form of a rule: id;kind;v0;v1;v2;v3;v4.
QString ruleToString(const AdjustmentRule &rule);

// Kind and value slots of a stored rule string; no kind field gives ok = false.
// Only fields followed by ";" count, so the last field is never read.
struct StoredRule {
    bool ok = false;
    int kind = 0;
    QList<QVariant> values;
};
StoredRule parseRuleString(const QString &text);
