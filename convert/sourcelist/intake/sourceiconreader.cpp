#include "sourceiconreader.h"

#include "sourceintake.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>

SourceIconReader::SourceIconReader(int generation, QObject *parent)
    : QThread(parent)
    , generation(generation)
{
}

SourceIconReader::~SourceIconReader()
{
    requestStop();
    wait();
}

bool SourceIconReader::prefer(const QStringList &paths)
{
    QMutexLocker locker(&lock);
    if (!taking || stopFlag)
        return false;
    SourceIntake::preferFirst(wished, paths);
    return true;
}

bool SourceIconReader::take(QString &path)
{
    QMutexLocker locker(&lock);
    if (wished.isEmpty() || stopFlag) {
        taking = false;
        return false;
    }
    path = wished.takeFirst();
    return true;
}

void SourceIconReader::run()
{
    QString path;
    while (take(path)) {
        const QFileInfo info(path);
        const SourceIntake::Details details = SourceIntake::readDetails(path);
        emit iconRead(details.icon, info.fileName(), QDir::toNativeSeparators(info.path()), details.sizeStr);
    }
}
