#include "sourceintake.h"

#include "imagefiles.h"
#include "sourceimageloader.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QFileInfo>
#include <QSet>

namespace SourceIntake {
namespace {

constexpr int iconSide = 64;

void listFolder(const QString &folder, QSet<QString> &visited, const std::atomic_bool &stop,
                const std::function<void(QString)> &found)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (stop)
            return;
        if (entry.isDir()) {
            // A linked folder may lead anywhere: up out of the dropped one, or
            // over the whole disk. Linked files are the user's to list.
            if (!entry.isSymLink() && !entry.isJunction())
                listFolder(entry.filePath(), visited, stop, found);
        } else if (ImageFiles::isImageFile(entry.filePath())) {
            found(QDir::toNativeSeparators(entry.filePath()));
        }
    }
}

} // namespace

void listImageFiles(const QString &path, const std::atomic_bool &stop, const std::function<void(QString)> &found)
{
    if (path.isEmpty())
        return;
    if (QFileInfo(path).isDir()) {
        QSet<QString> visited;
        listFolder(path, visited, stop, found);
    } else if (ImageFiles::isImageFile(path)) {
        found(QDir::toNativeSeparators(path));
    }
}

Details readDetails(const QString &path)
{
    Details details{QByteArray(), QStringLiteral("0x0")};
    const QSize size = SourceImageLoader::uprightSize(path);
    if (size.isEmpty())
        return details;
    const QSize iconSize = size.width() > size.height()
                               ? QSize(qMax(1, qRound(double(size.width()) * iconSide / size.height())), iconSide)
                               : QSize(iconSide, qMax(1, qRound(double(size.height()) * iconSide / size.width())));
    QImage icon;
    if (!SourceImageLoader::loadScaled(path, iconSize, Qt::FastTransformation, icon))
        return details;
    // A list keeps thousands of these: a few kilobytes each, decoded only
    // while a row is painted.
    QBuffer buffer(&details.icon);
    buffer.open(QIODevice::WriteOnly);
    if (icon.hasAlphaChannel())
        icon.save(&buffer, "PNG", 80); // light compression: quick to write, small all the same
    else
        icon.save(&buffer, "JPEG", 85);
    details.sizeStr = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    return details;
}

QString detailsText(const QString &fileName, const QString &sizeStr, const QString &folder)
{
    return fileName + QLatin1Char('\n') + sizeStr + QLatin1Char('\n') + QDir::fromNativeSeparators(folder);
}

void preferFirst(QStringList &wished, const QStringList &latest)
{
    for (const QString &path : latest)
        wished.removeAll(path);
    wished = latest + wished;
    constexpr qsizetype kept = 1024;
    if (wished.size() > kept)
        wished.resize(kept);
}

} // namespace SourceIntake
