#include "colorscheme.h"
#include "iconimages.h"
#include "testenvironment.h"
#include "theme.h"

#include <QApplication>
#include <QPalette>
#include <QTest>
#include <QToolButton>

using IconImages::fileImage;
using IconImages::iconImage;

class TestTheme : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestEnvironment::isolate(); }
    void cleanup() { overrideColorScheme(std::nullopt); }

    void buttonIconFollowsSchemeAndState_data()
    {
        QTest::addColumn<ColorScheme>("scheme");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("expected");
        QTest::newRow("light enabled") << ColorScheme::Light << true << "_IconYes24.png";
        QTest::newRow("dark enabled") << ColorScheme::Dark << true << "_IconYesWhite24.png";
        QTest::newRow("light disabled") << ColorScheme::Light << false << "_IconYesGray24.png";
        QTest::newRow("dark disabled") << ColorScheme::Dark << false << "_IconYesGray24.png";
        QTest::newRow("unknown is light") << ColorScheme::Unknown << true << "_IconYes24.png";
    }

    void buttonIconFollowsSchemeAndState()
    {
        QFETCH(ColorScheme, scheme);
        QFETCH(bool, enabled);
        QFETCH(QString, expected);
        overrideColorScheme(scheme);
        QToolButton button;
        button.setEnabled(enabled);
        Theme::applyIcon(&button, QStringLiteral("_IconYes24.png"), QStringLiteral("_IconYesWhite24.png"),
                         QStringLiteral("_IconYesGray24.png"));
        QVERIFY(!fileImage(expected).isNull());
        QCOMPARE(iconImage(button.icon()), fileImage(expected));
    }

    void neverDisabledButtonsKeepTheirSchemeIcon()
    {
        overrideColorScheme(ColorScheme::Dark);
        QToolButton button;
        button.setEnabled(false);
        Theme::applyIcon(&button, QStringLiteral("_About24.png"), QStringLiteral("_AboutWhite24.png"));
        QCOMPARE(iconImage(button.icon()), fileImage(QStringLiteral("_AboutWhite24.png")));
    }

    void checkListStyleSheetFollowsScheme()
    {
        overrideColorScheme(ColorScheme::Dark);
        const QString dark = Theme::checkListStyleSheet(QStringLiteral("QListView"));
        QVERIFY(dark.contains(QLatin1String("background-color: black;")));
        QVERIFY(dark.contains(QLatin1String("CheckWhiteIcon24.png")));
        QVERIFY(dark.contains(QLatin1String("border-color: lightgray;")));
        overrideColorScheme(ColorScheme::Light);
        const QString light = Theme::checkListStyleSheet(QStringLiteral("QListView"));
        QVERIFY(light.contains(QLatin1String("background-color: white;")));
        QVERIFY(light.contains(QLatin1String("url(:/resources/images/CheckIcon24.png)")));
    }

#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    // Without a platform colour-scheme query the palette decides.
    void schemeFollowsThePalette()
    {
        const QPalette original = QApplication::palette();
        QPalette dark = original;
        dark.setColor(QPalette::Window, QColor(32, 32, 32));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        QApplication::setPalette(dark);
        QCOMPARE(currentColorScheme(), ColorScheme::Dark);
        QPalette light = original;
        light.setColor(QPalette::Window, QColor(240, 240, 240));
        light.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(light);
        QCOMPARE(currentColorScheme(), ColorScheme::Light);
        QApplication::setPalette(original);
    }
#endif
};

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
