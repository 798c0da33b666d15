#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// Services the tools take from the desktop shell.
namespace ShellHelpers {

QString documentsFolder(); // empty when the platform has none
QString picturesFolder();  // empty when the platform has none

// One trailing separator is dropped, as the file explorer expects a folder
// name; an empty path is passed on unchanged.
QString folderForExplorer(const QString &path);
void openFolder(const QString &path, QWidget *caller);
void openWebPage(const QUrl &url);

} // namespace ShellHelpers
