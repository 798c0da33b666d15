#include "shellhelpers.h"

#include "shelldialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ShellHelpers {

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString picturesFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
}

QString dialogStartPath(const QString &path)
{
    const QFileInfo info(path);
    // A relative path would name the working folder, which the user never chose.
    if (path.isEmpty() || info.isRelative())
        return QDir::homePath();
    if (info.exists())
        return path;
    QString folder = info.absolutePath();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return QDir::homePath();
        folder = parent;
    }
    return folder;
}

QString folderForExplorer(const QString &path)
{
    if (path.endsWith(QLatin1Char('\\')) || (path.size() > 1 && path.endsWith(QLatin1Char('/'))))
        return path.chopped(1);
    return path;
}

void openFolder(const QString &path, QWidget *caller)
{
    Q_UNUSED(caller) // the desktop opens its own window; no owner needed
    ShellDialogs::openUrl(QUrl::fromLocalFile(folderForExplorer(path)));
}

void openWebPage(const QUrl &url)
{
    ShellDialogs::openUrl(url);
}

} // namespace ShellHelpers
