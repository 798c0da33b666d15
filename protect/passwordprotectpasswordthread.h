#pragma once

#include "pdfinput.h"

#include <QList>
#include <QString>
#include <QThread>

#include <atomic>

// Writes a password-protected copy of each listed file into one folder.
class PasswordProtectPasswordThread : public QThread
{
    Q_OBJECT
public:
    PasswordProtectPasswordThread(const QList<PdfInput> &sources, const QString &outputFolder, const QString &password,
                                  QObject *parent = nullptr);
    ~PasswordProtectPasswordThread() override;

    // Takes effect between files.
    void requestStop() { stop = true; }

signals:
    void preparePassword(int count);
    void progressPassword(int index, QString fileName);
    // outputFile is the output folder; errMsg is empty on success.
    void finishPassword(QString outputFile, QString errMsg);

protected:
    void run() override;

private:
    const QList<PdfInput> sources;
    const QString outputFolder;
    const QString password;
    std::atomic_bool stop = false;
};
