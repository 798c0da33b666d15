// Benchmark driver for reading images through the shell's loader; bench/run imgread calls it.
//   ff-imgread-bench read <file...>    decode every file
//   ff-imgread-bench sizes <file...>   read every file's size from its headers
#include "imagemagickutil.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString mode = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (arguments.isEmpty() || (mode != QLatin1String("read") && mode != QLatin1String("sizes"))) {
        std::fprintf(stderr, "usage: ff-imgread-bench read|sizes <file...>\n");
        return 2;
    }
    qint64 pixels = 0;
    for (const QString &path : std::as_const(arguments)) {
        QSize size;
        if (mode == QLatin1String("read")) {
            QImage image;
            if (ImageMagickUtil::loadImage(path, image))
                size = image.size();
        } else {
            size = QImageReader(path).size();
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
