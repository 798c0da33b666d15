#pragma once

#include "pdfsource.h"
#include "pdfworkresult.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

struct MergeJob {
    QList<PdfInput> sources; // every page of each, in this order; a file may repeat
    QString outputPath;
};

// Where a merge stands: file fileIndex (0-based) with pagesDone of its
// pageCount pages appended; pageCount is -1 just before the file is opened.
// Reported after opening (0 pages done), after every 100 pages and after the
// file's last page. Then, once, writing: every page is appended and the
// output is being written, which takes seconds for a large merge.
struct MergeProgress {
    int fileIndex = 0;
    int pagesDone = 0;
    int pageCount = -1;
    bool writing = false;
};

// Appends every page of the sources into one new PDF. stop is polled before
// each file: a stopped merge writes the files appended so far, but only where
// no file was: a stop never replaces a file that existed when the merge
// began, not even one that comes while the result is being written. discard
// (the program is closing) writes nothing at all, whenever it comes. A
// source that fails ends the merge and writes nothing.
PdfWorkResult mergePdfs(const MergeJob &job, const std::function<void(const MergeProgress &)> &progress,
                        const std::atomic_bool &stop, const std::atomic_bool *discard = nullptr);
