#pragma once

#include "convertformpart.h"

#include <QPointer>
#include <QString>

class CocoaCode;
class ConvertProgressForm;
class ConvertSourceList;

// One conversion run: where the output goes (the output folder and PDF file
// name), the checks and questions before a run, the progress panel while it
// lasts, and a stop that a closing window waits for.
class ConvertRunControl : public ConvertFormPart
{
    Q_OBJECT
public:
    ConvertRunControl(QWidget *form, ConvertImageFormUi &ui, bool &ready, ConvertSourceList *sources);

    void apply(const ConvertSettings &s);
    void refreshTheme() override;
    bool isConversionRunning() const { return conversionRunning; }
    // Stops the run for a window that is closing: no new run starts, and
    // runFinished() follows when the current one has ended.
    void stop();

signals:
    void runFinished();
    void showToolbarSignal(bool show);

public slots:
    void handleStartConvertSignal();
    void handleFinishConvertSignal();
    void OnShowToolbarSignal(bool show);

private slots:
    void on_convertButton_clicked();
    void on_outputFolderButton_clicked();
    void on_outputFolderLineEdit_textChanged(const QString &text);
    void on_pdfFilenameButton_clicked();
    void on_pdfFilenameLineEdit_textChanged(const QString &text);

private:
    // Connected explicitly to the folder picker's folderSelected().
    void on_FolderSelected(QString path);

    void convertToPdf();
    void convertToImages();
    QString choosePdfPath(const QString &fallbackFolder);
    void startRun(const QString &outputPath, const QString &formatName, const QString &extension);
    void setRunning(bool running);
    void setSettingsShown(bool shown);

    ConvertSourceList *const sources;
    CocoaCode *folderPicker = nullptr;
    const int pdfIndex;
    QPointer<ConvertProgressForm> progressForm;
    bool conversionRunning = false;
    bool convertAfterFolderChoice = false;
    bool closing = false;
};
