#include "colorscheme.h"
#include "convertformpart.h"
#include "convertimageform.h"
#include "convertrulerows.h"
#include "iconimages.h"
#include "kivcolorwidget.h"
#include "kivglobal.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "testenvironment.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

QVariant stored(const QString &key)
{
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("ConvertImage"));
    settings.beginGroup(QStringLiteral("MainApp"));
    return settings.value(key);
}

void store(const QString &key, const QVariant &value)
{
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("ConvertImage"));
    settings.beginGroup(QStringLiteral("MainApp"));
    settings.setValue(key, value);
}

// What the main window does right after creating the form.
std::unique_ptr<ConvertImageForm> startForm()
{
    auto form = std::make_unique<ConvertImageForm>();
    form->setReady(false);
    form->setRuleButtonsShown(true);
    form->loadSettings();
    form->setReady(true);
    return form;
}

QStringList ruleRows(const ConvertImageForm &form)
{
    QStringList rows;
    auto *contents = form.findChild<QWidget *>(QStringLiteral("adjustScrollAreaWidgetContents"));
    for (QWidget *row : contents->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (row->objectName().startsWith(QLatin1String("Widget")))
            rows << row->objectName();
    return rows;
}

// The adjustments tab's menu and value slots.
ConvertRuleRows *rules(const ConvertImageForm &form)
{
    return form.findChild<ConvertRuleRows *>();
}

QList<int> ruleKinds()
{
    QList<int> kinds;
    for (const AdjustmentRule &rule : KivLocalConvertImage::settings().ruleList)
        kinds << rule.ruleIndex;
    return kinds;
}

} // namespace

class TestConvertImageForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void everyPartSlotMeetsItsWidget();
    void firstStartShowsTheDefaults();
    void storedValuesAreCorrectedOnLoad();
    void storedRulesComeBackWithFreshIds();
    void handlersStoreAndRequestAPreview_data();
    void handlersStoreAndRequestAPreview();
    void pageOptionsStoreTogether();
    void ruleRowsMoveWrapAndDelete();
    void menuRulesHaveNoValueUntilMoved();
    void removeAllAsksFirst();
    void resetAsksAndKeepsOutputOptions();
    void colourDialogAndSwatch();
    void watermarkImagePreviewFitsTheLabel();
    void darkSchemeIcons();
    void editionTargets();
    void settingsControlsAreNamed();

private:
    QTemporaryDir m_dir;
};

void TestConvertImageForm::initTestCase()
{
    TestEnvironment::isolate();
    ShellDialogs::setScripted(true);
}

void TestConvertImageForm::init()
{
    QSettings(QStringLiteral("Corvane"), QStringLiteral("ConvertImage")).clear();
    KivLocalConvertImage::editSettings([](ConvertSettings &s) { s = ConvertSettings(); });
}

void TestConvertImageForm::cleanup()
{
    QCOMPARE(ShellDialogs::pendingAnswers(), 0);
    ShellDialogs::takeQuestions();
    overrideColorScheme(std::nullopt);
}

// A renamed widget or signal would leave its handler silently unconnected.
void TestConvertImageForm::everyPartSlotMeetsItsWidget()
{
    const auto form = startForm();
    const QList<ConvertFormPart *> parts = form->findChildren<ConvertFormPart *>();
    QCOMPARE(parts.size(), 6);
    for (const ConvertFormPart *part : parts)
        QVERIFY2(part->unconnectedSlots().isEmpty(), qPrintable(part->unconnectedSlots().join(QLatin1Char(' '))));
}

void TestConvertImageForm::firstStartShowsTheDefaults()
{
    const auto form = startForm();
    QCOMPARE(form->findChild<QComboBox *>("targetComboBox")->currentIndex(), 0);
    QCOMPARE(form->findChild<QSpinBox *>("qualitySpinBox")->value(), 95);
    QCOMPARE(form->findChild<QComboBox *>("pdfPaperSizeComboBox")->currentText(), QStringLiteral("Letter"));
    QCOMPARE(form->findChild<QComboBox *>("pdfQualityComboBox")->currentText(), QStringLiteral("300 dpi"));
    QVERIFY(form->findChild<QToolButton *>("pdfPageOrientationPortraitButton")->isChecked());
    QVERIFY(form->findChild<QToolButton *>("pdfNoMarginButton")->isChecked());
    QVERIFY(form->findChild<QSpinBox *>("pdfMarginSizeSpinBox")->isHidden());
    QCOMPARE(form->findChild<QSpinBox *>("pdfMarginSizeSpinBox")->value(), 20);
    QVERIFY(form->findChild<QCheckBox *>("pdfSmoothEdgesCheckBox")->isChecked());
    QVERIFY(!form->findChild<QCheckBox *>("scaleImageCheckBox")->isChecked());
    QVERIFY(!form->findChild<QWidget *>("percentageSpinBox")->isEnabled());
    QCOMPARE(form->findChild<QLineEdit *>("relativeValueLineEdit")->text(), QStringLiteral("1920"));
    QCOMPARE(form->findChild<QSpinBox *>("sizeSpinBox")->value(), 12);
    QCOMPARE(form->findChild<KivColorWidget *>("colorWidget")->color(), QColor(Qt::black));
    QCOMPARE(form->findChild<QComboBox *>("positionComboBox")->currentText(), QStringLiteral("Bottom - Right"));
    QCOMPARE(form->findChild<QLabel *>("imageImage")->text(), QStringLiteral("Preview"));
    QCOMPARE(form->findChild<QSpinBox *>("qrCodeSizeSpinBox")->value(), 100);
    QVERIFY(ruleRows(*form).isEmpty());
    QVERIFY(form->findChild<QToolButton *>("adjustDeleteButton")->isHidden());
    QVERIFY(form->findChild<QToolButton *>("adjustDeleteButton")->isChecked());
    auto *tabs = form->findChild<QTabWidget *>("tabWidget");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->isTabVisible(tabs->indexOf(form->findChild<QWidget *>("scaleTab"))), !KivGlobal::isPdfManager);
    // Loading wrote nothing back.
    QVERIFY(!stored(QStringLiteral("targeFileType")).isValid());
}

void TestConvertImageForm::storedValuesAreCorrectedOnLoad()
{
    store(QStringLiteral("targeFileType"), 11);
    store(QStringLiteral("textPosition"), 9);
    store(QStringLiteral("imagePosition"), -1);
    store(QStringLiteral("outputFolder"), m_dir.filePath(QStringLiteral("gone")));
    store(QStringLiteral("pdfPaperMargin"), 1);
    const auto form = startForm();
    QCOMPARE(form->findChild<QComboBox *>("targetComboBox")->currentIndex(), 0);
    QCOMPARE(KivLocalConvertImage::settings().targeFileType, 0);
    QCOMPARE(form->findChild<QComboBox *>("positionComboBox")->currentIndex(), 8);
    QCOMPARE(form->findChild<QComboBox *>("imagePositionComboBox")->currentIndex(), 8);
    QVERIFY(form->findChild<QLineEdit *>("outputFolderLineEdit")->text().isEmpty());
    QVERIFY(!form->findChild<QSpinBox *>("pdfMarginSizeSpinBox")->isHidden());
    QCOMPARE(stored(QStringLiteral("targeFileType")).toInt(), 11);
}

void TestConvertImageForm::storedRulesComeBackWithFreshIds()
{
    store(QStringLiteral("AdjustImageCount"), 2);
    store(QStringLiteral("AdjustImage0"), QStringLiteral("7;4;250;;;;"));
    store(QStringLiteral("AdjustImage1"), QStringLiteral("8;1;;;;;"));
    const auto form = startForm();
    QCOMPARE(ruleRows(*form), QStringList({"Widget0", "Widget1"}));
    QCOMPARE(ruleKinds(), QList<int>({4, 1}));
    auto *slider = form->findChild<QSlider *>("Slider0");
    QCOMPARE(slider->value(), 250);
    QCOMPARE(slider->minimum(), -100);
    QCOMPARE(slider->maximum(), 1000);
    QVERIFY(!form->findChild<QToolButton *>("adjustDeleteAllButton")->isHidden());
    QVERIFY(!form->findChild<QPushButton *>("UpButton1")->isHidden());
    // The load itself stores nothing.
    QCOMPARE(stored(QStringLiteral("AdjustImage0")).toString(), QStringLiteral("7;4;250;;;;"));
}

void TestConvertImageForm::handlersStoreAndRequestAPreview_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QVariant>("value"); // for a button: clicked
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("previewed"); // only what changes the picture makes previews stale
    QTest::newRow("text margin") << "marginSpinBox" << QVariant(7) << "textMargin" << QVariant(7) << true;
    QTest::newRow("text") << "textLineEdit" << QVariant("draft") << "textContent" << QVariant("draft") << true;
    QTest::newRow("QR position") << "qrCodePositionComboBox" << QVariant(2) << "qrCodePosition" << QVariant(2) << true;
    QTest::newRow("smooth edges") << "pdfSmoothEdgesCheckBox" << QVariant() << "pdfSmoothEdges" << QVariant(false)
                                  << true;
    QTest::newRow("add margin") << "pdfAddMarginButton" << QVariant() << "pdfPaperMargin" << QVariant(1) << false;
    QTest::newRow("paper size") << "pdfPaperSizeComboBox" << QVariant(3) << "pdfPaperSize" << QVariant(3) << false;
    QTest::newRow("PDF quality") << "pdfQualityComboBox" << QVariant(5) << "pdfQuality" << QVariant(5) << false;
    QTest::newRow("typing the output folder")
        << "outputFolderLineEdit" << QVariant("/tmp/o") << "outputFolder" << QVariant("/tmp/o") << false;
    QTest::newRow("typing the file name")
        << "pdfFilenameLineEdit" << QVariant("r") << "pdfFileName" << QVariant("r") << false;
}

void TestConvertImageForm::handlersStoreAndRequestAPreview()
{
    QFETCH(QString, widget);
    QFETCH(QVariant, value);
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(bool, previewed);
    const auto form = startForm();
    QSignalSpy previews(form.get(), &ConvertImageForm::previewRequested);
    QWidget *target = form->findChild<QWidget *>(widget);
    QVERIFY(target);
    if (auto *spin = qobject_cast<QSpinBox *>(target))
        spin->setValue(value.toInt());
    else if (auto *line = qobject_cast<QLineEdit *>(target))
        line->setText(value.toString());
    else if (auto *combo = qobject_cast<QComboBox *>(target))
        combo->setCurrentIndex(value.toInt());
    else
        qobject_cast<QAbstractButton *>(target)->click();
    QCOMPARE(previews.count(), previewed ? 1 : 0);
    QCOMPARE(::stored(key).toString(), stored.toString());
}

// The page options keep their companions and their widgets in step.
void TestConvertImageForm::pageOptionsStoreTogether()
{
    const auto form = startForm();
    form->findChild<QCheckBox *>("pdfSmoothEdgesCheckBox")->click();
    form->findChild<QToolButton *>("pdfAddMarginButton")->click();
    QVERIFY(stored(QStringLiteral("pdfFileName")).isValid());
    QVERIFY(stored(QStringLiteral("resizeImageToPaper")).isValid());
    QVERIFY(!form->findChild<QSpinBox *>("pdfMarginSizeSpinBox")->isHidden());
    QVERIFY(!form->findChild<QToolButton *>("pdfNoMarginButton")->isChecked());

    form->findChild<QLineEdit *>("textLineEdit")->setText(QStringLiteral("draft"));
    form->findChild<QToolButton *>("textClearButton")->click();
    QVERIFY(stored(QStringLiteral("textContent")).toString().isEmpty());
    QVERIFY(KivLocalConvertImage::settings().textContent.isEmpty());
    form->setReady(false);
    form->findChild<QSpinBox *>("marginSpinBox")->setValue(9);
    QCOMPARE(stored(QStringLiteral("textMargin")).toInt(), 0);
}

void TestConvertImageForm::ruleRowsMoveWrapAndDelete()
{
    const auto form = startForm();
    rules(*form)->onGrayscaleAction();
    rules(*form)->onSepiaAction();
    rules(*form)->onBrightnessAction(-20);
    QCOMPARE(ruleKinds(), QList<int>({0, 1, 3}));
    form->findChild<QPushButton *>("UpButton0")->click(); // top wraps to the bottom
    QCOMPARE(ruleKinds(), QList<int>({1, 3, 0}));
    form->findChild<QPushButton *>("DownButton0")->click(); // bottom wraps to the top
    QCOMPARE(ruleKinds(), QList<int>({0, 1, 3}));
    form->findChild<QPushButton *>("DownButton1")->click();
    QCOMPARE(ruleKinds(), QList<int>({0, 3, 1}));
    QCOMPARE(ruleRows(*form).size(), 3);
    QCOMPARE(stored(QStringLiteral("AdjustImage1")).toString(), QStringLiteral("2;3;-20;;;;"));

    form->findChild<QSpinBox *>("SpinBox2")->setValue(30);
    QCOMPARE(form->findChild<QSlider *>("Slider2")->value(), 30);
    QCOMPARE(KivLocalConvertImage::settings().ruleList.at(1).value(), 30);

    auto *showButtons = form->findChild<QToolButton *>("adjustDeleteButton");
    showButtons->click();
    QVERIFY(form->findChild<QPushButton *>("DeleteButton1")->isHidden());
    showButtons->click();
    QVERIFY(!form->findChild<QPushButton *>("DeleteButton1")->isHidden());

    for (const char *button : {"DeleteButton0", "DeleteButton1", "DeleteButton2"})
        form->findChild<QPushButton *>(button)->click();
    QVERIFY(ruleKinds().isEmpty());
    QCOMPARE(stored(QStringLiteral("AdjustImageCount")).toInt(), 0);
    QVERIFY(showButtons->isHidden());
    QVERIFY(form->findChild<QToolButton *>("adjustDeleteAllButton")->isHidden());
}

void TestConvertImageForm::menuRulesHaveNoValueUntilMoved()
{
    const auto form = startForm();
    QMenu *menu = form->findChild<QToolButton *>("adjustAddButton")->menu();
    QStringList entries;
    for (QAction *action : menu->actions())
        entries << action->text();
    QCOMPARE(entries, QStringList({"Grayscale", "Sepia", "Contrast", "Brightness", "Gamma", "Invert Colors",
                                   "Gaussian Blur Radius"}));
    menu->actions().at(2)->trigger();
    menu->actions().at(4)->trigger();
    QCOMPARE(stored(QStringLiteral("AdjustImage0")).toString(), QStringLiteral("0;2;;;;;"));
    QCOMPARE(form->findChild<QSlider *>("Slider1")->maximum(), 999);
}

void TestConvertImageForm::removeAllAsksFirst()
{
    const auto form = startForm();
    rules(*form)->onSepiaAction();
    rules(*form)->onGammaAction(10);
    ShellDialogs::enqueueAnswer(QMessageBox::No);
    form->findChild<QToolButton *>("adjustDeleteAllButton")->click();
    QCOMPARE(ruleKinds().size(), 2);
    ShellDialogs::enqueueAnswer(QMessageBox::Yes);
    form->findChild<QToolButton *>("adjustDeleteAllButton")->click();
    QVERIFY(ruleKinds().isEmpty());
    QCOMPARE(stored(QStringLiteral("AdjustImageCount")).toInt(), 0);
    const QList<ShellDialogs::Question> questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.size(), 2);
    QCOMPARE(questions.first().title, QStringLiteral("Remove All Adjustment Settings"));
}

void TestConvertImageForm::resetAsksAndKeepsOutputOptions()
{
    const auto form = startForm();
    form->findChild<QComboBox *>("pdfQualityComboBox")->setCurrentIndex(5);
    form->findChild<QLineEdit *>("textLineEdit")->setText(QStringLiteral("draft"));
    form->findChild<QSpinBox *>("qrCodeSizeSpinBox")->setValue(300);
    rules(*form)->onInvertColorsAction(100);
    ShellDialogs::enqueueAnswer(QMessageBox::No);
    form->findChild<QToolButton *>("tabResetButton")->click();
    QCOMPARE(KivLocalConvertImage::settings().textContent, QStringLiteral("draft"));
    QCOMPARE(form->findChild<QSpinBox *>("qrCodeSizeSpinBox")->value(), 300);
    QCOMPARE(ruleKinds(), QList<int>{AdjustmentRule::InvertColors});
    QCOMPARE(ruleRows(*form), QStringList{"Widget0"});

    ShellDialogs::enqueueAnswer(QMessageBox::Yes);
    QSignalSpy previews(form.get(), &ConvertImageForm::previewRequested);
    form->findChild<QToolButton *>("tabResetButton")->click();
    QCOMPARE(previews.count(), 1);
    QVERIFY(form->findChild<QLineEdit *>("textLineEdit")->text().isEmpty());
    QCOMPARE(form->findChild<QSpinBox *>("qrCodeSizeSpinBox")->value(), 100);
    QCOMPARE(form->findChild<QComboBox *>("pdfQualityComboBox")->currentIndex(), 5);
    QVERIFY(ruleKinds().isEmpty());
    QTRY_VERIFY(ruleRows(*form).isEmpty()); // the rows go with the next turn of the event loop
    QVERIFY(stored(QStringLiteral("textContent")).toString().isEmpty());
    QCOMPARE(stored(QStringLiteral("qrCodeSize")).toInt(), 100);
    QCOMPARE(stored(QStringLiteral("pdfQuality")).toInt(), 5);
    QCOMPARE(stored(QStringLiteral("AdjustImageCount")).toInt(), 0);
    QCOMPARE(ShellDialogs::takeQuestions().first().text,
             QStringLiteral("Are you sure you want to reset all settings to their default values?"));
}

void TestConvertImageForm::colourDialogAndSwatch()
{
    const auto form = startForm();
    auto *swatch = form->findChild<KivColorWidget *>("colorWidget");
    QSignalSpy previews(form.get(), &ConvertImageForm::previewRequested);

    ShellDialogs::enqueueAnswer(QString()); // cancelled
    form->findChild<QToolButton *>("colorButton")->click();
    QCOMPARE(previews.count(), 1);
    QCOMPARE(stored(QStringLiteral("textColor")).value<QColor>(), QColor(Qt::black));

    QTest::mouseClick(swatch, Qt::RightButton);
    QCOMPARE(ShellDialogs::takeQuestions().size(), 1);

    ShellDialogs::enqueueAnswer(QColor(Qt::darkGreen));
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(swatch->color(), QColor(Qt::darkGreen));
    QCOMPARE(KivLocalConvertImage::settings().textColor, QColor(Qt::darkGreen));
    QCOMPARE(stored(QStringLiteral("textColor")).value<QColor>(), QColor(Qt::darkGreen));
    QCOMPARE(previews.count(), 2);
}

void TestConvertImageForm::watermarkImagePreviewFitsTheLabel()
{
    QImage logo(480, 120, QImage::Format_RGB32);
    logo.fill(Qt::red);
    const QString path = m_dir.filePath(QStringLiteral("logo.png"));
    QVERIFY(logo.save(path));
    const auto form = startForm();
    ShellDialogs::enqueueAnswer(path);
    form->findChild<QPushButton *>("imageSelectButton")->click();
    const QList<ShellDialogs::Question> questions = ShellDialogs::takeQuestions();
    QCOMPARE(questions.first().title, QStringLiteral("Add Image Files"));
    auto *label = form->findChild<QLabel *>("imageImage");
    QCOMPARE(label->pixmap().size(), QSize(120, 30));
    QCOMPARE(stored(QStringLiteral("imagePath")).toString(), path);

    form->findChild<QPushButton *>("imageClearButton")->click();
    QCOMPARE(label->text(), QStringLiteral("Preview"));
    QVERIFY(stored(QStringLiteral("imagePath")).toString().isEmpty());
}

void TestConvertImageForm::darkSchemeIcons()
{
    const auto form = startForm();
    rules(*form)->onSepiaAction();
    overrideColorScheme(ColorScheme::Dark);
    form->refreshTheme();
    QCOMPARE(IconImages::iconImage(form->findChild<QPushButton *>("DeleteButton0")->icon()),
             IconImages::fileImage(QStringLiteral("_DeleteWhiteIcon24.png")));
    QCOMPARE(IconImages::iconImage(form->findChild<QToolButton *>("adjustAddButton")->icon()),
             IconImages::fileImage(QStringLiteral("_AddWhiteIcon24.png")));
    QCOMPARE(form->findChild<QWidget *>("tabToolbarWidget")->styleSheet(), QStringLiteral("background-color:#3F3F3F;"));
    overrideColorScheme(ColorScheme::Light);
    form->refreshTheme();
    QCOMPARE(IconImages::iconImage(form->findChild<QPushButton *>("UpButton0")->icon()),
             IconImages::fileImage(QStringLiteral("_ArrowUp24.png")));
}

void TestConvertImageForm::editionTargets()
{
    const auto form = startForm();
    auto *targets = form->findChild<QComboBox *>("targetComboBox");
    auto *pdfBox = form->findChild<QGroupBox *>("pdfGroupBox");
    if (KivGlobal::isPdfManager) {
        QCOMPARE(targets->count(), 1);
        QCOMPARE(targets->itemText(0), QStringLiteral("PDF"));
        QCOMPARE(form->jpgIndex, -1);
        QVERIFY(!pdfBox->isHidden());
        return;
    }
    QCOMPARE(targets->count(), 10);
    QCOMPARE(form->pdfIndex, 9);
    targets->setCurrentIndex(form->jpgIndex);
    QVERIFY(pdfBox->isHidden());
    QVERIFY(!form->findChild<QSpinBox *>("qualitySpinBox")->isHidden());
    QCOMPARE(stored(QStringLiteral("targeFileType")).toInt(), 4);
    targets->setCurrentIndex(form->pdfIndex);
    QVERIFY(!pdfBox->isHidden());
    QVERIFY(form->findChild<QSpinBox *>("qualitySpinBox")->isHidden());
}

// Screen readers name a field by the label beside it (on Windows its name,
// on Linux a "labelled by" relation); no Tab stop of the settings goes unnamed.
void TestConvertImageForm::settingsControlsAreNamed()
{
    const auto form = startForm();
    auto *tabs = form->findChild<QTabWidget *>("tabWidget");
    int labelled = 0;
    for (QLabel *label : tabs->findChildren<QLabel *>()) {
        if (!label->buddy())
            continue;
        QAccessibleInterface *field = QAccessible::queryAccessibleInterface(label->buddy());
        QVERIFY(field);
        bool found = false;
        for (const auto &[other, relation] : field->relations(QAccessible::Label))
            found = found || other->object() == label;
        QVERIFY2(found, qPrintable(label->buddy()->objectName()));
        ++labelled;
    }
    QVERIFY(labelled >= 20);
    for (QWidget *widget : tabs->findChildren<QWidget *>()) {
        // A spin box's or combo box's own line edit hands its focus to it.
        const bool inner = widget->parentWidget() && widget->focusProxy() == widget->parentWidget();
        // A combo box's list lives in a window of its own, not in the Tab chain.
        const bool popup = widget->window() != tabs->window();
        if (!(widget->focusPolicy() & Qt::TabFocus) || inner || popup || qobject_cast<QTabBar *>(widget))
            continue;
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(
            control && !control->text(QAccessible::Name).isEmpty(),
            qPrintable(widget->objectName() + QLatin1Char(' ') + QLatin1String(widget->metaObject()->className())));
    }
}

QTEST_MAIN(TestConvertImageForm)
#include "tst_convertimageform.moc"
