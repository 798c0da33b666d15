#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// What the source list learns about dropped paths, apart from any thread.
namespace SourceIntake {

// Calls `found` with every image file (ImageFiles::isImageFile) that `path`
// names: the file itself, or for a folder the non-hidden files of it and all
// its sub-folders, entries of a folder in name order ignoring case, each
// sub-folder where its name falls. Linked folders inside are not entered
// (linked files are listed); a folder reached twice is listed once. Paths
// come with native separators.
// Stops early when `stop` is set.
void listImageFiles(const QString &path, const std::atomic_bool &stop, const std::function<void(QString)> &found);

struct Details {
    QByteArray icon; // compressed (JPEG, or PNG with transparency); empty when the image could not be read
    QString sizeStr; // upright width "x" height, "0x0" when unreadable
};

// The size and a 64-pixel icon (on the shorter side, fast scaling) of an
// image file, upright, within the decoder's allocation limit.
Details readDetails(const QString &path);

// The text of a row once its details are known: name, size and folder with
// forward slashes, one per line.
QString detailsText(const QString &fileName, const QString &sizeStr, const QString &folder);

// Puts the latest icon wishes (what is on screen now) before the earlier
// ones, each path once; keeps about a screenful, as older wishes are
// scrolled away.
void preferFirst(QStringList &wished, const QStringList &latest);

} // namespace SourceIntake
