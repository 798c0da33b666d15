// The floor for the source list's icons: a plain loop that decodes every
// image under a folder upright and scales it to 64 pixels on its shorter side.
#include <QDirIterator>
#include <QGuiApplication>
#include <QImageReader>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ff-intake-peer <folder>\n");
        return 2;
    }
    int count = 0;
    QDirIterator files(QString::fromLocal8Bit(argv[1]), {QStringLiteral("*.jpg"), QStringLiteral("*.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QImageReader reader(files.next());
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (image.isNull())
            return 1;
        const QImage icon = image.width() > image.height() ? image.scaledToHeight(64, Qt::FastTransformation)
                                                           : image.scaledToWidth(64, Qt::FastTransformation);
        count += !icon.isNull();
    }
    std::printf("%d icons\n", count);
    return 0;
}
