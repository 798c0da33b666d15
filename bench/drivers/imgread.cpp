// Benchmark driver for reading images through the program's guarded reader; bench/run imgread calls it.
//   ff-imgread-bench read <file...>      decode every file, upright
//   ff-imgread-bench sizes <file...>     read every file's size from its headers
//   ff-imgread-bench refuse <file...>    every file must be refused; prints why
//   ff-imgread-bench hostile <folder>    writes the generated hostile files, one per kind
#include "guardedimagereader.h"
#include "hostileimages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>

namespace {

int writeHostile(const QString &folder)
{
    for (const QString &kind : HostileImages::kinds()) {
        QFile file(QDir(folder).filePath(kind));
        if (!file.open(QIODevice::WriteOnly) || file.write(HostileImages::make(kind)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString mode = arguments.isEmpty() ? QString() : arguments.takeFirst();
    const QStringList modes{"read", "sizes", "refuse", "hostile"};
    if (arguments.isEmpty() || !modes.contains(mode)) {
        std::fprintf(stderr, "usage: ff-imgread-bench read|sizes|refuse <file...> | hostile <folder>\n");
        return 2;
    }
    if (mode == QLatin1String("hostile"))
        return writeHostile(arguments.first());
    qint64 pixels = 0;
    for (const QString &path : std::as_const(arguments)) {
        GuardedImageReader reader(path);
        QSize size;
        if (mode == QLatin1String("sizes")) {
            size = reader.size();
        } else {
            QImage image;
            reader.setAutoTransform(true);
            if (reader.read(&image))
                size = image.size();
        }
        if (mode == QLatin1String("refuse")) {
            std::printf("%s: %s\n", qPrintable(path), qPrintable(reader.failure()));
            if (size.isValid() || reader.failure().isEmpty())
                return 1;
            continue;
        }
        if (!size.isValid()) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        pixels += qint64(size.width()) * size.height();
    }
    std::printf("%lld pixels\n", static_cast<long long>(pixels));
    return 0;
}
