#include "cocoacode.h"

#include "shelldialogs.h"

#include <QDir>
#include <QStandardPaths>

void CocoaCode::pickFolder(const QString &startFolder)
{
    const QString folder = ShellDialogs::getExistingDirectory(nullptr, tr("Select folder ..."), startFolder);
    emit folderSelected(folder.isEmpty() ? QString() : QDir::toNativeSeparators(folder));
}

void CocoaCode::pickFolderFromDocuments()
{
    pickFolder(QStandardPaths::locate(QStandardPaths::DocumentsLocation, QString(), QStandardPaths::LocateDirectory));
}
