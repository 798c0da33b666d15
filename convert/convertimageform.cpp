#include "convertimageform.h"

#include "aboutdialog.h"
#include "colorscheme.h"
#include "convertoptiontabs.h"
#include "convertpreview.h"
#include "convertrulerows.h"
#include "convertruncontrol.h"
#include "convertsettingsstore.h"
#include "convertsourcelist.h"
#include "converttargets.h"
#include "convertwatermarktabs.h"
#include "kivglobal.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "theme.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QScopedValueRollback>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>

ConvertImageForm::ConvertImageForm(QWidget *parent)
    : QWidget(parent)
    , pdfIndex(ConvertTargets::indexOf(QStringLiteral("PDF")))
    , jpgIndex(ConvertTargets::indexOf(QStringLiteral("JPG")))
{
    ui.setupUi(this);
    if (KivGlobal::isPdfManager) {
        ui.tabWidget->setTabVisible(ui.tabWidget->indexOf(ui.scaleTab), false);
        ui.websiteButton->hide();
        ui.aboutButton->hide();
    }
    sourceModel = new QStandardItemModel(0, 2, this);
    sourceModel->setHorizontalHeaderLabels({tr("File List"), tr("Path")});
    sourceList = new ConvertSourceList(this, ui, isReady, sourceModel);
    optionTabs = new ConvertOptionTabs(this, ui, isReady);
    watermarkTabs = new ConvertWatermarkTabs(this, ui, isReady);
    ruleRows = new ConvertRuleRows(this, ui, isReady);
    preview = new ConvertPreview(this, ui, isReady, [this] { return currentSelectedFile; });
    run = new ConvertRunControl(this, ui, isReady, sourceList);
    parts = {sourceList, optionTabs, watermarkTabs, ruleRows, preview, run};
    wireParts();
    QMetaObject::connectSlotsByName(this);
    for (QWidget *button : {ui.convertButton, ui.removeButton, ui.clearButton, ui.upButton, ui.downButton})
        button->setEnabled(false);
    refreshTheme();
}

void ConvertImageForm::wireParts()
{
    for (ConvertFormPart *part : std::as_const(parts)) {
        connect(part, &ConvertFormPart::settingChanged, this, [this] { requestPreview(true); });
        connect(part, &ConvertFormPart::enabledStateChanged, this, &ConvertImageForm::refreshTheme);
    }
    connect(this, &ConvertImageForm::previewRequested, preview, &ConvertPreview::request);
    connect(sourceList, &ConvertSourceList::fileSelected, this, [this](const QString &path) {
        currentSelectedFile = path;
        requestPreview(false);
    });
    // With no row selected no file is current: a later setting change or a
    // double click must not bring back a file that left the list.
    for (auto emptied : {&ConvertSourceList::selectionEmptied, &ConvertSourceList::listCleared})
        connect(sourceList, emptied, this, [this] {
            currentSelectedFile.clear();
            preview->showEmpty();
        });
    connect(sourceList, &ConvertSourceList::showToolbarSignal, this, &ConvertImageForm::showToolbarSignal);
    connect(run, &ConvertRunControl::showToolbarSignal, this, &ConvertImageForm::showToolbarSignal);
    connect(preview, &ConvertPreview::previewEnded, this, &ConvertImageForm::onPreviewOrRunEnded);
    connect(run, &ConvertRunControl::runFinished, this, &ConvertImageForm::onPreviewOrRunEnded);
}

void ConvertImageForm::setRuleButtonsShown(bool shown)
{
    ruleRows->setRuleButtonsShown(shown);
}

QStringList ConvertImageForm::sourceFiles() const
{
    return sourceList->files();
}

bool ConvertImageForm::isPreviewLoading() const
{
    return preview->isLoading();
}

bool ConvertImageForm::isConversionRunning() const
{
    return run->isConversionRunning();
}

void ConvertImageForm::stopRequest()
{
    closing = true;
    preview->stop();
    run->stop();
}

// The preview's end and the run's end: a close waiting for them goes on.
void ConvertImageForm::onPreviewOrRunEnded()
{
    if (closing)
        emit closeApp();
}

void ConvertImageForm::requestPreview(bool reload)
{
    emit previewRequested(currentSelectedFile, reload);
}

void ConvertImageForm::loadSettings()
{
    const ConvertSettingsStore::Loaded loaded = ConvertSettingsStore::load(ui.fontLabel->font());
    KivLocalConvertImage::editSettings([&loaded](ConvertSettings &s) {
        const QList<AdjustmentRule> rules = s.ruleList;
        s = loaded.settings;
        s.ruleList = rules;
    });
    for (const StoredRule &rule : loaded.rules) {
        const bool valued = rule.kind >= AdjustmentRule::Contrast && rule.kind <= AdjustmentRule::GaussianBlur;
        ruleRows->addRule(rule.kind, valued ? std::optional<int>(rule.values.value(0).toInt()) : std::nullopt);
    }
    applySettingsToForm();
}

void ConvertImageForm::applySettingsToForm()
{
    const QScopedValueRollback<bool> paused(isReady, false);
    KivLocalConvertImage::editSettings([this](ConvertSettings &s) {
        if (s.targeFileType < 0 || s.targeFileType >= ui.targetComboBox->count())
            s.targeFileType = 0;
        if (!s.outputFolder.isEmpty() &&
            (!QFileInfo(s.outputFolder).isDir() || !QFileInfo(s.outputFolder).isReadable()))
            s.outputFolder.clear();
    });
    const ConvertSettings s = KivLocalConvertImage::settings();
    optionTabs->apply(s);
    run->apply(s);
    watermarkTabs->apply(s);
}

void ConvertImageForm::on_tabResetButton_clicked()
{
    if (ShellDialogs::message(this, QMessageBox::Question, tr("Reset Settings"),
                              tr("Are you sure you want to reset all settings to their default values?"),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const QFont font = ui.fontLabel->font();
    KivLocalConvertImage::editSettings([&font](ConvertSettings &s) { s.resetWatermarksAndScale(font); });
    applySettingsToForm();
    {
        const QScopedValueRollback<bool> paused(isReady, false);
        ruleRows->removeAllAdjustment();
    }
    requestPreview(true);
    const ConvertSettings s = KivLocalConvertImage::settings();
    for (const char *key :
         {"scaleImage",      "scaleType",          "scalePercentage",     "scaleAbsoluteWitdh", "scaleAbsoluteHeight",
          "scaleRelativeTo", "scaleRelativeWidth", "scaleRelativeHeight", "textContent",        "textFont",
          "textSize",        "textColor",          "textPosition",        "textOpacity",        "textMargin",
          "imagePath",       "imageSize",          "imagePosition",       "imageOpacity",       "imageMargin",
          "qrCodeText",      "qrCodeSize",         "qrCodePosition",      "qrCodeMargin",       "ruleList"})
        ConvertSettingsStore::save(s, QLatin1String(key));
}

void ConvertImageForm::refreshTheme()
{
    for (ConvertFormPart *part : std::as_const(parts))
        part->refreshTheme();
    Theme::applyIcon(ui.websiteButton, QStringLiteral("_websiteIcon24.png"), QStringLiteral("_websiteWhiteIcon24.png"));
    Theme::applyIcon(ui.aboutButton, QStringLiteral("_About24.png"), QStringLiteral("_AboutWhite24.png"));
    Theme::applyIcon(ui.tabResetButton, QStringLiteral("_Reset24.png"), QStringLiteral("_ResetWhite24.png"));
    ui.tabToolbarWidget->setStyleSheet(isDarkColorScheme() ? QStringLiteral("background-color:#3F3F3F;")
                                                           : QStringLiteral("background-color:#E2E2E2;"));
}

void ConvertImageForm::on_websiteButton_clicked()
{
    ShellHelpers::openWebPage(KivGlobal::websiteUrl());
}

void ConvertImageForm::on_aboutButton_clicked()
{
    ShellDialogs::exec(new AboutDialog(this));
}
