#pragma once

#include "splitpdf.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>

// Copies the ranges of one PDF, in order, into a new PDF.
class SplitPDFSplitThread : public QThread
{
    Q_OBJECT
public:
    using QThread::QThread;

    QString sourcePath;
    QString sourcePassword;
    QString outputPath;
    QList<PageRange> ranges;

    // Damage the source was read despite; valid once splitPDFFinish has come.
    QStringList warnings() const { return readWarnings; }

signals:
    void splitPDFFinish(QString errMsg);
    void splitPDFProgress(int value);

protected:
    void run() override;

private:
    QStringList readWarnings;
};
