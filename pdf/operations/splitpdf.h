#pragma once

#include "pdfsource.h"
#include "pdfworkresult.h"

#include <QList>
#include <QString>

#include <functional>

// 1-based page numbers, both included.
struct PageRange {
    int first = 1;
    int last = 1;
};

struct SplitJob {
    PdfInput source;
    QString outputPath;
    QList<PageRange> ranges; // copied in this order into one document
};

// Why the ranges cannot be copied from a document of pageCount pages, naming
// the row (1-based) at fault; empty when they can.
QString pageRangeProblem(const QList<PageRange> &ranges, int pageCount);

// Writes the pages of all ranges into one new PDF. rangesDone(n) follows the
// n-th range. A range that does not fit the document fails with a message
// naming its row.
PdfWorkResult splitPdf(const SplitJob &job, const std::function<void(int rangesDone)> &rangesDone);
