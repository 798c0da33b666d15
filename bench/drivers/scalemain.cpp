// Lists long documents and folders in the real forms, offscreen, as the tests
// drive them; bench/run scale calls it.
//   ff-scale-bench generate-pdf <pages> <file>       text and a small picture per page
//   ff-scale-bench generate-images <count> <folder>  small JPEG and PNG pictures
//   ff-scale-bench pdf2img <pdf> | split <pdf> | images <folder> | merge <folder of PDFs>
#include "benchcorpus.h"
#include "listdriver.h"
#include "treerss.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: ff-scale-bench generate-pdf <pages> <file>\n"
                         "       ff-scale-bench generate-images <count> <folder>\n"
                         "       ff-scale-bench pdf2img <pdf> | split <pdf> | images <folder> | merge <folder>\n");
    return 2;
}

// Small pictures, a third of them PNG, in sub-folders of 1,000.
bool generateImages(int count, const QString &folder)
{
    QRandomGenerator random(1907);
    for (int i = 0; i < count; ++i) {
        const bool png = i % 3 == 0;
        QImage image(png ? QSize(120, 160) : QSize(160, 120), QImage::Format_RGB32);
        image.fill(QColor::fromHsv(random.bounded(360), 90, 230));
        QPainter painter(&image);
        for (int shape = 0; shape < 6; ++shape) {
            painter.setBrush(QColor::fromHsv(random.bounded(360), 160 + random.bounded(90), 60 + random.bounded(190)));
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(random.bounded(image.width()) - 20, random.bounded(image.height()) - 20,
                                20 + random.bounded(70), 20 + random.bounded(70));
        }
        painter.end();
        const QString sub = QDir(folder).filePath(QStringLiteral("set%1").arg(i / 1000, 2, 10, QLatin1Char('0')));
        if (!QDir().mkpath(sub))
            return false;
        const QString name = QStringLiteral("pic%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(png ? "png" : "jpg");
        if (!image.save(QDir(sub).filePath(name), png ? "PNG" : "JPG", png ? -1 : 85))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() != 2 && arguments.size() != 3)
        return usage();
    const QString command = arguments.at(0);
    if (arguments.size() == 3) {
        bool ok = false;
        const int count = arguments.at(1).toInt(&ok);
        if (!ok || count <= 0)
            return usage();
        if (command == QLatin1String("generate-pdf"))
            return BenchCorpus::writeScaleDocument(arguments.at(2), count) ? 0 : 1;
        if (command == QLatin1String("generate-images"))
            return generateImages(count, arguments.at(2)) ? 0 : 1;
        return usage();
    }
    const std::optional<ListDriver::Tool> tool = ListDriver::toolNamed(command);
    if (!tool)
        return usage();
    int code = 1;
    {
        const TreeRss rss;
        code = ListDriver::run(*tool, arguments.at(1));
        // The workers are part of the program: bench/lib.sh reads this line.
        std::printf("peak RSS of the program and its workers: %lld kB\n", rss.peakKb());
    }
    return code;
}
