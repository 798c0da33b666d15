#pragma once

#include "pageimageformat.h"
#include "pagejobrunner.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

struct PageExportJob {
    QString pdfPath;
    QString folder;
    QList<int> pages;         // 0-based, in the order to write
    int format = 0;           // 0 JPG, 1 PNG, 2 WEBP
    int scaleIndex = 0;       // 0..4 => factor 1..5
    bool overwrite = false;   // false: existing targets are reported and skipped
    int maxWorkers = 0;       // 0: one render worker per core (see PageJobRunner)
    QString pdfPassword = {}; // empty for a file that opens without one
};

struct PageExportFailure {
    int page;         // 0-based page index
    QString fileName; // full target path
    QString reason;   // a sentence the user can read
};

struct PageExportResult {
    QStringList fileExistsList;        // full target paths found existing (first pass only)
    QList<int> pageExistsList;         // their 0-based page indices, same order
    QList<PageExportFailure> failures; // in the order of job.pages
    QSize pageSize;                    // first page's rounded point size, as loaded by this pass
    bool stopped = false;
};

// folder + "/" + (page + 1) + ".jpg", ".png" or ".webp"; an unknown format counts as JPG.
QString pageTargetFileName(const QString &folder, int page, int format);

// Runs one pass in render workers, which render, encode and write the files
// themselves. progress(position) is called on the calling thread once per
// position of job.pages, in order, as the pages before it are done. Runs
// events of the calling thread meanwhile. stop is polled and kills the
// workers at once: files already written stay, files half written vanish.
// A page that crashes or hangs its worker fails; the others are written.
PageExportResult exportPages(const PageExportJob &job, const std::function<void(int position)> &progress,
                             const std::atomic_bool &stop, const RenderTimeouts &timeouts = {});
