#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>

struct PdfPageListing {
    int pageCount = 0;
    QSize pageSize; // pagePointSize(0).toSize()
};

// Opens `path` (a document that does not load has pageCount 0) and calls
// listed(listing) once. Then, for p in 0..count-1: returns if stop is set;
// calls beforePage(p + 1); renders page p on white at fitIntoBox(pageSize, box),
// every page stretched to the first page's proportions, and calls
// pageReady(p, image). The image is null when the first page has no usable size.
void listPageThumbnails(const QString &path, QSize box, const std::atomic_bool &stop,
                        const std::function<void(const PdfPageListing &)> &listed,
                        const std::function<void(int pageNumber)> &beforePage,
                        const std::function<void(int page, const QImage &thumbnail)> &pageReady);
