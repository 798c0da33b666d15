#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Image files whose headers claim what they do not hold, each a few bytes
// (the metadata one 60 MB): a chunk length of a gigabyte, a picture of
// billions of pixels, a frame without its data. The tests and bench/run
// imgread read them.
namespace HostileImages {

// Every kind, as "<format>-<claim>", for example "png-tEXt" or "gif-pixels".
QStringList kinds();
QByteArray make(const QString &kind);
// What the program must say about such a file, after "it is".
QString expectedReason(const QString &kind);

} // namespace HostileImages
