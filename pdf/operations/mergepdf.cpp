#include "mergepdf.h"
#include "pdfassembly.h"
#include "pdfwrite.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int PagesPerStep = 100;
// Above this many files, sources are reopened for each read rather than held
// open until the output is written (the C runtime on Windows allows 512).
constexpr qsizetype MaxOpenFiles = 100;

} // namespace

PdfWorkResult mergePdfs(const MergeJob &job, const std::function<void(const MergeProgress &)> &progress,
                        const std::atomic_bool &stop, const std::atomic_bool *discard)
{
    PdfWorkResult result;
    const bool replacing = QFileInfo::exists(job.outputPath);
    const auto abandoned = [&] { return (discard && *discard) || (stop && replacing); };
    try {
        PdfAssembly output;
        const bool keepFilesOpen = job.sources.size() <= MaxOpenFiles;
        for (qsizetype file = 0; file < job.sources.size(); ++file) {
            if (stop || abandoned()) {
                result.stopped = true;
                break;
            }
            const int index = int(file);
            progress({index, 0, -1});
            const std::shared_ptr<PdfSource> source = PdfSource::open(job.sources.at(file), keepFilesOpen);
            const int count = source->pageCount();
            progress({index, 0, count});
            for (int first = 0; first < count; first += PagesPerStep) {
                const int last = std::min(first + PagesPerStep, count) - 1;
                output.appendPages(source, first, last);
                progress({index, last + 1, count});
            }
        }
        if (output.pageCount() > 0 && !abandoned()) {
            progress({.writing = true});
            output.save(job.outputPath, abandoned);
        }
        result.warnings = output.warnings();
    } catch (const PdfWriteAbandoned &) {
        result.stopped = true;
    } catch (...) {
        result.error = currentPdfError();
    }
    return result;
}
