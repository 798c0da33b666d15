#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// Services the tools take from the desktop shell.
namespace ShellHelpers {

QString documentsFolder(); // empty when the platform has none
QString picturesFolder();  // empty when the platform has none

// Where a file or folder dialog asked to start at `path` starts: `path` when
// it exists, else its nearest existing parent folder, else the home folder.
// A remembered or standard folder may be gone (a fresh account, a removed drive).
QString dialogStartPath(const QString &path);

// One trailing separator is dropped, as the file explorer expects a folder
// name; an empty path is passed on unchanged.
QString folderForExplorer(const QString &path);
void openFolder(const QString &path, QWidget *caller);
void openWebPage(const QUrl &url);

} // namespace ShellHelpers
