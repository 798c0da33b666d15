#include "passwordprotectpasswordthread.h"

#include "protectpdf.h"

#include <QFileInfo>

PasswordProtectPasswordThread::PasswordProtectPasswordThread(const QStringList &paths, const QString &outputFolder,
                                                             const QString &password, QObject *parent)
    : QThread(parent)
    , paths(paths)
    , outputFolder(outputFolder)
    , password(password)
{
}

PasswordProtectPasswordThread::~PasswordProtectPasswordThread()
{
    requestStop();
    wait();
}

void PasswordProtectPasswordThread::run()
{
    setPriority(QThread::HighPriority);
    emit preparePassword(int(paths.size()));
    QString errMsg;
    for (int i = 0; i < paths.size() && !stop; ++i) {
        const QString &path = paths.at(i);
        emit progressPassword(i, QFileInfo(path).fileName());
        const PdfError error = protectPdf({path, QString()}, protectedOutputPath(outputFolder, path), password);
        if (error.failed()) {
            errMsg = error.messageWithCode();
            break;
        }
    }
    emit finishPassword(outputFolder, errMsg);
}
