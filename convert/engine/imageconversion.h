#pragma once

#include "convertsettings.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

struct ConvertJob {
    QStringList sources;  // full paths, in page or file order
    QString outputFolder; // image files go here; the PDF goes to outputFolder + "/" + pdfFileName
    QString extension;    // ".pdf" selects PDF mode, else the image target's extension
    bool overwrite = false;
    int threads = 0; // pages prepared at once in a PDF run; 0: one per core
};

struct ConvertResult {
    QStringList fileExistsList; // image targets found existing and skipped
    QStringList fileSourceList; // their sources, same order
    QStringList failures;       // one sentence per source that could not be read or target not written
    bool stopped = false;
};

namespace ImageConversion {

bool isPdfTarget(const QString &extension);

// Image mode's target: folder + "/" + the source's name up to its first "." + extension.
QString imageTargetPath(const QString &folder, const QString &source, const QString &extension);

// The pages of a PDF run being prepared, or prepared and not yet written,
// hold at most this many bytes together (a single larger page runs alone).
inline constexpr qint64 pageBudgetBytes = 512ll * 1024 * 1024;

// Dots per inch of "pdfQuality" (300 for unknown values).
int pdfResolution(int qualityIndex);

// Converts every source. progress(index, source) is called on the calling
// thread when work on a source begins; stop is polled before each source.
// The output is written only as a whole: a failed write leaves no file and the
// previous file, if any, untouched. A stopped PDF run keeps the pages written
// so far only where no file of that name exists, and never as an empty file.
ConvertResult convert(const ConvertJob &job, const ConvertSettings &settings,
                      const std::function<void(int index, const QString &source)> &progress,
                      const std::atomic_bool &stop);

} // namespace ImageConversion
