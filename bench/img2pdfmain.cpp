// Benchmark driver for the images-to-PDF work layer; bench/run img2pdf calls it.
//   ff-img2pdf-bench generate <folder> <count>
//   ff-img2pdf-bench convert <folder of JPEGs> <output.pdf>
// Converts like a run of the "Images to PDF" tab on A4 at 300 dpi with the
// other options at their defaults.
#include "imageconversion.h"
#include "photocorpus.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: ff-img2pdf-bench generate <folder> <count>\n"
                         "       ff-img2pdf-bench convert <folder> <output.pdf>\n");
    return 2;
}

int runConvert(const QString &folder, const QString &output)
{
    ConvertJob job;
    const QDir sources(folder);
    for (const QString &name : sources.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
        job.sources << sources.filePath(name);
    const QFileInfo target(output);
    job.outputFolder = target.absolutePath();
    job.extension = QStringLiteral(".pdf");
    ConvertSettings settings;
    settings.pdfFileName = target.fileName();
    settings.pdfPaperSize = 1; // A4
    settings.pdfQuality = 2;   // 300 dpi

    QElapsedTimer timer;
    timer.start();
    const std::atomic_bool stop = false;
    const ConvertResult result = ImageConversion::convert(
        job, settings, [](int, const QString &) {}, stop);
    std::printf("converted %lld images in %.3f s, %lld failures\n", qlonglong(job.sources.size()),
                timer.elapsed() / 1000.0, qlonglong(result.failures.size()));
    for (const QString &failure : result.failures)
        std::fprintf(stderr, "%s\n", qPrintable(failure));
    return result.failures.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (command == QLatin1String("generate") && arguments.size() == 2)
        return PhotoCorpus::write(arguments.at(0), arguments.at(1).toInt()) ? 0 : 1;
    if (command == QLatin1String("convert") && arguments.size() == 2)
        return runConvert(arguments.at(0), arguments.at(1));
    return usage();
}
