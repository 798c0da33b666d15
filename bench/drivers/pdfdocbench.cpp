// Benchmark driver for the split, merge and protect work; bench/run calls it.
//   ff-pdfdoc-bench split <pdf> <output> <first-last>...
//   ff-pdfdoc-bench merge <output> <pdf>...
//   ff-pdfdoc-bench protect <pdf> <output> <password>
// Links QtCore only, so that its start-up compares fairly with qpdf's.
#include "mergepdf.h"
#include "protectpdf.h"
#include "splitpdf.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: ff-pdfdoc-bench split <pdf> <output> <first-last>...\n"
                         "       ff-pdfdoc-bench merge <output> <pdf>...\n"
                         "       ff-pdfdoc-bench protect <pdf> <output> <password>\n");
    return 2;
}

int report(const QElapsedTimer &timer, const PdfError &error, const QStringList &warnings = {})
{
    for (const QString &warning : warnings)
        std::fprintf(stderr, "warning: %s\n", qPrintable(warning));
    if (error.failed()) {
        std::fprintf(stderr, "%s\n", qPrintable(error.messageWithCode()));
        return 1;
    }
    std::printf("done in %.3f s\n", timer.elapsed() / 1000.0);
    return 0;
}

int runSplit(const QStringList &arguments)
{
    SplitJob job{{arguments.at(0), {}}, arguments.at(1), {}};
    for (const QString &range : arguments.mid(2)) {
        const QStringList pages = range.split(QLatin1Char('-'));
        if (pages.size() != 2)
            return usage();
        job.ranges.append({pages.at(0).toInt(), pages.at(1).toInt()});
    }
    QElapsedTimer timer;
    timer.start();
    const PdfWorkResult result = splitPdf(job, [](int) {});
    return report(timer, result.error, result.warnings);
}

int runMerge(const QStringList &arguments)
{
    MergeJob job{{}, arguments.at(0)};
    for (const QString &path : arguments.mid(1))
        job.sources.append({path, {}});
    QElapsedTimer timer;
    timer.start();
    const std::atomic_bool stop = false;
    const PdfWorkResult result = mergePdfs(
        job, [](const MergeProgress &) {}, stop);
    return report(timer, result.error, result.warnings);
}

int runProtect(const QStringList &arguments)
{
    QElapsedTimer timer;
    timer.start();
    const PdfWorkResult result = protectPdf({arguments.at(0), {}}, arguments.at(1), arguments.at(2));
    return report(timer, result.error, result.warnings);
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (command == QLatin1String("split") && arguments.size() >= 3)
        return runSplit(arguments);
    if (command == QLatin1String("merge") && arguments.size() >= 2)
        return runMerge(arguments);
    if (command == QLatin1String("protect") && arguments.size() == 3)
        return runProtect(arguments);
    return usage();
}
