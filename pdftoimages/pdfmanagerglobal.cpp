#include "pdfmanagerglobal.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

struct Values {
    QMutex mutex;
    QString currentPdfPath;
    QSize pageSize;
    int pageCount = 0;
    PdfManagerGlobal::PageAction pageAction = PdfManagerGlobal::paLoadPage;
    QString currentTargetFolderPath;
    QString loadFolderPath;
    int outputFormat = 0;
    int exportScale = 1;
};

Values &values()
{
    static Values instance;
    return instance;
}

template<typename T> T read(T Values::*member)
{
    QMutexLocker lock(&values().mutex);
    return values().*member;
}

template<typename T> void write(T Values::*member, const T &value)
{
    QMutexLocker lock(&values().mutex);
    values().*member = value;
}

} // namespace

QString PdfManagerGlobal::currentPdfPath()
{
    return read(&Values::currentPdfPath);
}

void PdfManagerGlobal::setCurrentPdfPath(const QString &path)
{
    write(&Values::currentPdfPath, path);
}

QSize PdfManagerGlobal::pageSize()
{
    return read(&Values::pageSize);
}

void PdfManagerGlobal::setPageSize(QSize size)
{
    write(&Values::pageSize, size);
}

int PdfManagerGlobal::pageCount()
{
    return read(&Values::pageCount);
}

void PdfManagerGlobal::setPageCount(int count)
{
    write(&Values::pageCount, count);
}

PdfManagerGlobal::PageAction PdfManagerGlobal::pageAction()
{
    return read(&Values::pageAction);
}

void PdfManagerGlobal::setPageAction(PageAction action)
{
    write(&Values::pageAction, action);
}

QString PdfManagerGlobal::currentTargetFolderPath()
{
    return read(&Values::currentTargetFolderPath);
}

void PdfManagerGlobal::setCurrentTargetFolderPath(const QString &path)
{
    write(&Values::currentTargetFolderPath, path);
}

QString PdfManagerGlobal::loadFolderPath()
{
    return read(&Values::loadFolderPath);
}

void PdfManagerGlobal::setLoadFolderPath(const QString &path)
{
    write(&Values::loadFolderPath, path);
}

int PdfManagerGlobal::outputFormat()
{
    return read(&Values::outputFormat);
}

void PdfManagerGlobal::setOutputFormat(int format)
{
    write(&Values::outputFormat, format);
}

int PdfManagerGlobal::exportScale()
{
    return read(&Values::exportScale);
}

void PdfManagerGlobal::setExportScale(int scale)
{
    write(&Values::exportScale, scale);
}
