#pragma once

#include "convertsettings.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class ConvertImagesThread;
class QLabel;
class QProgressBar;
class QPushButton;

// The panel shown in place of the source list while a conversion runs: it
// drives the engine through both passes and ends with the completion message.
// It deletes itself when the run is over.
class ConvertProgressForm : public QWidget
{
    Q_OBJECT
public:
    explicit ConvertProgressForm(QWidget *parent = nullptr);
    ~ConvertProgressForm() override;

    void start(const QStringList &sources, const QString &outputPath, const QString &formatName,
               const QString &extension, bool overwrite);
    // Asks the engine to stop; the panel then ends as after Cancel.
    void stop();

signals:
    void startConvertSignal();
    void finishConvertSignal();
    void showToolbarSignal(bool show);

private slots:
    void on_cancelButton_clicked();

public slots:
    void handleUpdateFileName(QString fileName);
    void handleThreadTerminated();
    void handleThreadCompleted(QList<QString> fileExistsList, QList<QString> fileSourceList);
    void handleThreadFailed(QStringList reasons);
    void handleOverwriteFiles(QStringList urls);
    void handleConvertFinish();

private:
    void setupUi();
    void onThreadFinished();
    void showCompletionMessage();
    void finish();

    QLabel *label = nullptr;
    QLabel *label_2 = nullptr;
    QProgressBar *progressBar = nullptr;
    QPushButton *cancelButton = nullptr;

    // Taken when the run starts; both passes convert with it.
    ConvertSettings runSettings;
    QStringList sourceList;
    QString outputPath;
    QString formatName;
    QString targetExtension;
    qsizetype runSourceCount = 0;
    QStringList failures;
    bool reported = false;
    QPointer<ConvertImagesThread> thread;
};
