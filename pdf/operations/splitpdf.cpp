#include "splitpdf.h"
#include "pdfassembly.h"

#include <QCoreApplication>

#include <qpdf/Constants.h>

QString pageRangeProblem(const QList<PageRange> &ranges, int pageCount)
{
    if (ranges.isEmpty())
        return QCoreApplication::translate("SplitPdf", "There is no page range to copy.");
    for (qsizetype row = 0; row < ranges.size(); ++row) {
        const PageRange &range = ranges.at(row);
        if (range.first > range.last)
            return QCoreApplication::translate("SplitPdf",
                                               "Range %1: the first page (%2) comes after the last page (%3).")
                .arg(row + 1)
                .arg(range.first)
                .arg(range.last);
        if (range.first < 1 || range.last > pageCount)
            return QCoreApplication::translate("SplitPdf",
                                               "Range %1: pages %2 to %3 are outside the document (pages 1 to %4).")
                .arg(row + 1)
                .arg(range.first)
                .arg(range.last)
                .arg(pageCount);
    }
    return {};
}

PdfWorkResult splitPdf(const SplitJob &job, const std::function<void(int rangesDone)> &rangesDone)
{
    PdfWorkResult result;
    try {
        const std::shared_ptr<PdfSource> source = PdfSource::open(job.source);
        const QString problem = pageRangeProblem(job.ranges, source->pageCount());
        if (!problem.isEmpty()) {
            result.error = {problem, int(qpdf_e_pages)};
            return result;
        }
        PdfAssembly output;
        for (qsizetype row = 0; row < job.ranges.size(); ++row) {
            output.appendPages(source, job.ranges.at(row).first - 1, job.ranges.at(row).last - 1);
            rangesDone(int(row + 1));
        }
        output.save(job.outputPath);
        result.warnings = output.warnings();
    } catch (...) {
        result.error = currentPdfError();
    }
    return result;
}
