// Benchmark driver for the PDF-to-images work layer; bench/run calls it.
//   ff-pdf2img-bench export <pdf> <pageCount> <folder> <jpg|png|webp> <scaleIndex> [workers]
//   ff-pdf2img-bench list <pdf>
//   ff-pdf2img-bench generate <folder>
#include "benchcorpus.h"
#include "pageexport.h"
#include "pagethumbnails.h"
#include "treerss.h"

#include <QElapsedTimer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QByteArray>

#include <cstdio>
#include <vector>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: ff-pdf2img-bench export <pdf> <pageCount> <folder> <jpg|png|webp> <scaleIndex> "
                         "[workers]\n"
                         "       ff-pdf2img-bench list <pdf>\n"
                         "       ff-pdf2img-bench generate <folder>\n");
    return 2;
}

// The page count comes from the caller, as the program has it from the page
// list: finding it out here would add a worker's start to the measurement.
int runExport(const QStringList &arguments)
{
    bool countOk = false;
    const int pageCount = arguments.at(1).toInt(&countOk);
    const int format =
        QStringList{QStringLiteral("jpg"), QStringLiteral("png"), QStringLiteral("webp")}.indexOf(arguments.at(3));
    bool scaleOk = false;
    const int scaleIndex = arguments.at(4).toInt(&scaleOk);
    bool workersOk = true;
    const int workers = arguments.size() > 5 ? arguments.at(5).toInt(&workersOk) : 0;
    if (!countOk || format < 0 || !scaleOk || !workersOk)
        return usage();
    PageExportJob job;
    job.pdfPath = arguments.at(0);
    job.folder = arguments.at(2);
    job.format = format;
    job.scaleIndex = scaleIndex;
    job.maxWorkers = workers;
    for (int page = 0; page < pageCount; ++page)
        job.pages.append(page);
    QElapsedTimer timer;
    timer.start();
    const std::atomic_bool stop = false;
    const PageExportResult result = exportPages(
        job, [](int) {}, stop);
    std::printf("exported %lld pages in %.3f s, %lld existing, %lld failed\n", qlonglong(job.pages.size()),
                timer.elapsed() / 1000.0, qlonglong(result.fileExistsList.size()), qlonglong(result.failures.size()));
    for (const PageExportFailure &failure : result.failures)
        std::fprintf(stderr, "%s\n", qPrintable(failure.reason));
    return result.failures.isEmpty() ? 0 : 1;
}

int runList(const QString &path)
{
    // Kept like the page model keeps its pictures, so the peak memory is realistic.
    std::vector<QByteArray> thumbnails;
    qint64 firstMs = -1;
    QElapsedTimer timer;
    timer.start();
    const std::atomic_bool stop = false;
    listPageThumbnails(
        {path, {}}, {QSize(200, 200), 0, {}}, stop,
        [&](const PdfPageListing &listing) { thumbnails.reserve(size_t(listing.pageCount)); }, [](int) {},
        [&](int, const QList<QByteArray> &batch) {
            if (firstMs < 0)
                firstMs = timer.elapsed();
            thumbnails.insert(thumbnails.end(), batch.begin(), batch.end());
        });
    std::printf("listed %zu pages in %.3f s, first thumbnail after %.3f s\n", thumbnails.size(),
                timer.elapsed() / 1000.0, firstMs / 1000.0);
    return thumbnails.empty() ? 1 : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == QLatin1String("generate")) {
        // Drawing the corpus needs fonts, hence a GUI application.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        return argc == 3 && BenchCorpus::write(application.arguments().at(2)) ? 0 : usage();
    }
    // Exporting and listing run on QtCore alone, as on the program's worker
    // threads, so the measurement carries no GUI start-up.
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(2);
    // The workers are part of the program: bench/lib.sh reads this line.
    const auto measured = [](int code, const TreeRss &rss) {
        std::printf("peak RSS of the program and its workers: %lld kB\n", rss.peakKb());
        return code;
    };
    if (command == QLatin1String("export") && (arguments.size() == 5 || arguments.size() == 6)) {
        const TreeRss rss;
        return measured(runExport(arguments), rss);
    }
    if (command == QLatin1String("list") && arguments.size() == 1) {
        const TreeRss rss;
        return measured(runList(arguments.at(0)), rss);
    }
    return usage();
}
