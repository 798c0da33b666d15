#pragma once

#include "convertsettings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

// Converts the source list into one PDF or one image file per source.
class ConvertImagesThread : public QThread
{
    Q_OBJECT
public:
    explicit ConvertImagesThread(QObject *parent = nullptr);

    void requestStop() { stopFlag = true; }

    // The settings the run was started with; later edits do not reach it.
    ConvertSettings settings;
    QStringList sources;
    QString outputFolder;
    QString formatName; // shown to the user only
    QString extension;  // ".pdf" selects PDF mode
    bool overwrite = false;
    QList<QString> fileExistsList;
    QList<QString> fileSourceList;

signals:
    void updateFileName(QString fileName);
    void threadTerminated();
    // Sources that could not be read and targets that could not be written, one
    // sentence each; emitted before threadCompleted() or threadTerminated().
    void threadFailed(QStringList reasons);
    void threadCompleted(QList<QString> fileExistsList, QList<QString> fileSourceList);

protected:
    void run() override;

private:
    std::atomic_bool stopFlag{false};
};
