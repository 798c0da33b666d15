#include "passwordprotectpasswordthread.h"

#include "protectpdf.h"

#include <QFileInfo>

PasswordProtectPasswordThread::PasswordProtectPasswordThread(const QList<PdfInput> &sources,
                                                             const QString &outputFolder, const QString &password,
                                                             QObject *parent)
    : PdfListToolThread(sources, parent)
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
    emit preparePassword(int(sources.size()));
    QString errMsg;
    QStringList warnings;
    for (int i = 0; i < sources.size() && !stopFlag(); ++i) {
        const PdfInput &source = sources.at(i);
        emit progressPassword(i, QFileInfo(source.path).fileName());
        const PdfWorkResult result = protectPdf(source, protectedOutputPath(outputFolder, source.path), password);
        warnings += result.warnings;
        if (result.error.failed()) {
            errMsg = result.error.messageWithCode();
            break;
        }
    }
    reportRepairs(warnings);
    emit finishPassword(outputFolder, errMsg);
}
