#pragma once

#include "pagejobrunner.h"
#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>

struct PdfPageListing {
    int pageCount = 0;
    QSize pageSize;         // the first page's size in points, rounded
    PdfOpenProblem problem; // why a document with no pages did not load
};

struct ThumbnailListingOptions {
    // Past this many pages a listing would burn minutes of CPU on pictures
    // nobody has scrolled to; they are drawn when a list shows them.
    static constexpr int defaultDrawAhead = 1000;

    // Pictures fill this box (device pixels) with the first page's proportions.
    QSize box;
    // Once the pictures handed over add up to this many bytes (0: no limit),
    // the remaining pages are listed without one and no longer drawn: a list
    // keeps no more than that anyway, and draws the others when it shows them.
    qint64 byteBudget = 0;
    RenderTimeouts timeouts;
    // Only the first this many pages are drawn (0: every page, budget allowing).
    int drawAhead = defaultDrawAhead;
};

// Lists a PDF in render workers: calls listed(listing) once (a document that
// does not load, or whose load never ends, has pageCount 0 and a problem).
// Then, in page order, for p in 0..count-1: returns if stop is set; calls
// beforePage(p + 1) and hands the page over, in batches of consecutive pages:
// pagesReady(first, thumbnails), each thumbnail the page rendered on white at
// fitIntoBox(pageSize, box), every page stretched to the first page's
// proportions, in the form encodeThumbnail() writes. A page that crashes or
// hangs its worker comes as a blank white picture. Pages beyond the byte
// budget or the draw-ahead come with empty bytes, beforePage() once per batch with its last page.
// Runs events of the calling thread meanwhile; stop is polled and kills the
// workers at once.
void listPageThumbnails(const PdfInput &input, const ThumbnailListingOptions &options, const std::atomic_bool &stop,
                        const std::function<void(const PdfPageListing &)> &listed,
                        const std::function<void(int pageNumber)> &beforePage,
                        const std::function<void(int firstPage, const QList<QByteArray> &thumbnails)> &pagesReady);
