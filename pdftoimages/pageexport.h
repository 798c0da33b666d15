#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

enum class PageImageFormat { Jpg = 0, Png = 1, Webp = 2 };

struct PageExportJob {
    QString pdfPath;
    QString folder;
    QList<int> pages;       // 0-based, in the order to write
    int format = 0;         // 0 JPG, 1 PNG, 2 WEBP
    int scaleIndex = 0;     // 0..4 => factor 1..5
    bool overwrite = false; // false: existing targets are reported and skipped
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

// The format that `format` (0 JPG, 1 PNG, 2 WEBP) stands for; unknown values count as JPG.
PageImageFormat pageImageFormat(int format);

// Runs one pass. progress(position) is called on the calling thread before each
// page, in order, with the 0-based position in job.pages. stop is polled between
// pages. When stopped, pages already handed to encoders are still written before
// returning (files already written stay).
PageExportResult exportPages(const PageExportJob &job, const std::function<void(int position)> &progress,
                             const std::atomic_bool &stop);
