#pragma once

#include "convertimageformui.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class ConvertFormPart;
class ConvertOptionTabs;
class ConvertPreview;
class ConvertRuleRows;
class ConvertRunControl;
class ConvertSourceList;
class ConvertWatermarkTabs;
class QStandardItemModel;

// The "Images to PDF" tab. It builds the widgets and wires the parts that
// each own one concern: the source list, the output and scale options, the
// watermark tabs, the adjustment rule rows, the preview and the run.
class ConvertImageForm : public QWidget
{
    Q_OBJECT
public:
    explicit ConvertImageForm(QWidget *parent = nullptr);

    // The ready flag: widget handlers act only while it is set.
    void setReady(bool ready) { isReady = ready; }
    // Whether the rule rows show their Delete, Up and Down buttons.
    void setRuleButtonsShown(bool shown);

    void loadSettings();
    void applySettingsToForm();
    void refreshTheme();

    // Indexes of the formats in `targetComboBox`, -1 when not offered.
    const int pdfIndex;
    const int jpgIndex;

    // Full paths of the listed sources, in conversion order.
    QStringList sourceFiles() const;
    bool isPreviewLoading() const;
    bool isConversionRunning() const;
    // A close is waiting: stops the preview and the run; closeApp() follows
    // once both have ended.
    void stopRequest();

signals:
    // The preview should show `path` as it will be converted; `reload` when a
    // setting changed, so earlier previews are stale.
    void previewRequested(const QString &path, bool reload);
    void closeApp();
    // False while sources are being added or converted, true when that has
    // ended: an embedding window may hide its own toolbar meanwhile.
    void showToolbarSignal(bool show);

private slots:
    void on_tabResetButton_clicked();
    void on_websiteButton_clicked();
    void on_aboutButton_clicked();

private:
    void wireParts();
    void requestPreview(bool reload);
    void onPreviewOrRunEnded();

    ConvertImageFormUi ui;
    // Column 0 shows each source, column 1 holds its full path.
    QStandardItemModel *sourceModel = nullptr;
    QString currentSelectedFile;
    bool isReady = false;
    bool closing = false;

    ConvertSourceList *sourceList = nullptr;
    ConvertOptionTabs *optionTabs = nullptr;
    ConvertWatermarkTabs *watermarkTabs = nullptr;
    ConvertRuleRows *ruleRows = nullptr;
    ConvertPreview *preview = nullptr;
    ConvertRunControl *run = nullptr;
    QList<ConvertFormPart *> parts;
};
