#include "kivlocalconvertimage.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>

namespace KivLocalConvertImage {
namespace {

QMutex &lock()
{
    static QMutex mutex;
    return mutex;
}

ConvertSettings &values()
{
    static ConvertSettings settings;
    return settings;
}

QString &outputLocation()
{
    static QString location;
    return location;
}

std::atomic_bool pdfModeFlag{false};

} // namespace

ConvertSettings settings()
{
    QMutexLocker locker(&lock());
    return values();
}

void editSettings(const std::function<void(ConvertSettings &)> &edit)
{
    QMutexLocker locker(&lock());
    edit(values());
}

bool pdfMode()
{
    return pdfModeFlag;
}

void setPdfMode(bool pdf)
{
    pdfModeFlag = pdf;
}

QString lastOutputLocation()
{
    QMutexLocker locker(&lock());
    return outputLocation();
}

void setLastOutputLocation(const QString &path)
{
    QMutexLocker locker(&lock());
    outputLocation() = path;
}

} // namespace KivLocalConvertImage
