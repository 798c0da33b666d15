#include "convertsettingsstore.h"
#include "testenvironment.h"

#include <QGuiApplication>
#include <QSettings>
#include <QTest>

namespace {

QSettings store()
{
    return QSettings(QStringLiteral("Corvane"), QStringLiteral("ConvertImage"));
}

void writeStored(const QString &key, const QVariant &value)
{
    QSettings settings = store();
    settings.beginGroup(QStringLiteral("MainApp"));
    settings.setValue(key, value);
}

QVariant stored(const QString &key)
{
    QSettings settings = store();
    settings.beginGroup(QStringLiteral("MainApp"));
    return settings.value(key);
}

} // namespace

class TestConvertSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void firstStartGivesTheDefaults();
    void positionsOutOfRangeBecomeBottomRight_data();
    void positionsOutOfRangeBecomeBottomRight();
    void valuesRoundTrip();
    void pdfOptionsAreWrittenTogether();
    void ruleStrings_data();
    void ruleStrings();
    void ruleListIsBoundedByItsCount();
    void resetKeepsOutputOptions();
};

void TestConvertSettings::initTestCase()
{
    TestEnvironment::isolate();
}

void TestConvertSettings::init()
{
    QSettings settings = store();
    settings.clear();
}

void TestConvertSettings::firstStartGivesTheDefaults()
{
    const QFont font(QStringLiteral("DejaVu Sans"));
    const ConvertSettingsStore::Loaded loaded = ConvertSettingsStore::load(font);
    const ConvertSettings &s = loaded.settings;
    QCOMPARE(s.targeFileType, 0);
    QCOMPARE(s.targeFileQuality, 95);
    QCOMPARE(s.pdfPaperSize, 0);
    QCOMPARE(s.pdfQuality, 2);
    QCOMPARE(s.pdfPaperMarginSize, 20);
    QVERIFY(s.pdfSmoothEdges && !s.resizeImageToPaper && !s.scaleImage);
    QCOMPARE(s.scalePercentage, 100);
    QCOMPARE(QSize(s.scaleAbsoluteWitdh, s.scaleAbsoluteHeight), QSize(1920, 1080));
    QCOMPARE(s.scaleRelativeWidth, 1920);
    QCOMPARE(s.textSize, 12);
    QCOMPARE(s.textColor, QColor(Qt::black));
    QCOMPARE(s.textFont.family(), font.family());
    QCOMPARE(s.textPosition, 8);
    QCOMPARE(s.textOpacity, 100);
    QCOMPARE(s.imageSize, 100);
    QCOMPARE(s.qrCodeSize, 100);
    QVERIFY(loaded.rules.isEmpty());
}

void TestConvertSettings::positionsOutOfRangeBecomeBottomRight_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("9") << QVariant(9) << 8;
    QTest::newRow("-1") << QVariant(-1) << 8;
    QTest::newRow("0") << QVariant(0) << 0;
    QTest::newRow("text reads as 0") << QVariant(QStringLiteral("left")) << 0;
}

void TestConvertSettings::positionsOutOfRangeBecomeBottomRight()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    for (const char *key : {"textPosition", "imagePosition", "qrCodePosition"})
        writeStored(QLatin1String(key), value);
    const ConvertSettings s = ConvertSettingsStore::load(QFont()).settings;
    QCOMPARE(s.textPosition, expected);
    QCOMPARE(s.imagePosition, expected);
    QCOMPARE(s.qrCodePosition, expected);
}

void TestConvertSettings::valuesRoundTrip()
{
    ConvertSettings s;
    s.textFont = QFont(QStringLiteral("DejaVu Serif"), 31);
    s.textColor = QColor(12, 34, 56);
    s.scaleAbsoluteWitdh = 640;
    s.qrCodeText = QStringLiteral("https://example.org/ü");
    for (const char *key : {"textFont", "textColor", "scaleAbsoluteWitdh", "qrCodeText"})
        ConvertSettingsStore::save(s, QLatin1String(key));
    const ConvertSettings back = ConvertSettingsStore::load(QFont()).settings;
    QCOMPARE(back.textFont.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(back.textColor, QColor(12, 34, 56));
    QCOMPARE(back.scaleAbsoluteWitdh, 640);
    QCOMPARE(back.qrCodeText, s.qrCodeText);
    QVERIFY(!stored(QStringLiteral("textSize")).isValid());
}

void TestConvertSettings::pdfOptionsAreWrittenTogether()
{
    ConvertSettings s;
    s.pdfFileName = QStringLiteral("report.pdf");
    s.resizeImageToPaper = true;
    s.pdfSmoothEdges = false;
    ConvertSettingsStore::save(s, QStringLiteral("pdfSmoothEdges"));
    QCOMPARE(stored(QStringLiteral("pdfFileName")).toString(), QStringLiteral("report.pdf"));
    QCOMPARE(stored(QStringLiteral("resizeImageToPaper")).toBool(), true);
    QCOMPARE(stored(QStringLiteral("pdfSmoothEdges")).toBool(), false);
}

void TestConvertSettings::ruleStrings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("gamma") << "7;4;250;;;;" << true << 4 << QVariant(QStringLiteral("250"));
    QTest::newRow("sepia") << "8;1;;;;;" << true << 1 << QVariant();
    QTest::newRow("seventh field never read") << "1;2;;;;;99" << true << 2 << QVariant();
    QTest::newRow("no kind") << "5" << false << 0 << QVariant();
    QTest::newRow("empty") << "" << false << 0 << QVariant();
}

void TestConvertSettings::ruleStrings()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, kind);
    QFETCH(QVariant, value);
    const StoredRule rule = parseRuleString(text);
    QCOMPARE(rule.ok, ok);
    if (!ok)
        return;
    QCOMPARE(rule.kind, kind);
    QCOMPARE(rule.values.value(0), value);
    QVERIFY(!rule.values.value(4).isValid());
}

void TestConvertSettings::ruleListIsBoundedByItsCount()
{
    ConvertSettings s;
    AdjustmentRule contrast;
    contrast.ruleId = 5;
    contrast.ruleIndex = AdjustmentRule::Contrast;
    contrast.ruleValues[0] = 40;
    AdjustmentRule gray;
    gray.ruleId = 3;
    s.ruleList = {contrast, gray};
    ConvertSettingsStore::save(s, QStringLiteral("ruleList"));
    QCOMPARE(stored(QStringLiteral("AdjustImage0")).toString(), QStringLiteral("5;2;40;;;;"));
    QCOMPARE(stored(QStringLiteral("AdjustImage1")).toString(), QStringLiteral("3;0;;;;;"));
    s.ruleList.removeLast();
    ConvertSettingsStore::save(s, QStringLiteral("ruleList"));
    const QList<StoredRule> rules = ConvertSettingsStore::load(QFont()).rules;
    QCOMPARE(rules.size(), 1);
    QCOMPARE(rules.first().kind, int(AdjustmentRule::Contrast));
}

void TestConvertSettings::resetKeepsOutputOptions()
{
    ConvertSettings s;
    s.pdfQuality = 5;
    s.outputFolder = QStringLiteral("/tmp");
    s.scaleImage = true;
    s.textContent = QStringLiteral("x");
    s.qrCodeMargin = 7;
    s.textColor = Qt::red;
    s.resetWatermarksAndScale(QFont(QStringLiteral("DejaVu Sans")));
    QCOMPARE(s.pdfQuality, 5);
    QCOMPARE(s.outputFolder, QStringLiteral("/tmp"));
    QVERIFY(!s.scaleImage);
    QVERIFY(s.textContent.isEmpty());
    QCOMPARE(s.qrCodeMargin, 0);
    QCOMPARE(s.textColor, QColor(Qt::black));
}

QTEST_MAIN(TestConvertSettings)
#include "tst_convertsettings.moc"
