#pragma once

#include "pdflisttoolthread.h"

#include <QString>

// Writes a password-protected copy of each listed file into one folder. Each
// copy is written whole under a new name, so a discard is only a stop.
class PasswordProtectPasswordThread : public PdfListToolThread
{
    Q_OBJECT
public:
    PasswordProtectPasswordThread(const QList<PdfInput> &sources, const QString &outputFolder, const QString &password,
                                  QObject *parent = nullptr);
    ~PasswordProtectPasswordThread() override;

signals:
    void preparePassword(int count);
    void progressPassword(int index, QString fileName);
    // outputFile is the output folder; errMsg is empty on success.
    void finishPassword(QString outputFile, QString errMsg);

protected:
    void run() override;

private:
    const QString outputFolder;
    const QString password;
};
