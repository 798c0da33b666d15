#pragma once

#include "pagejobrunner.h"
#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>

struct PdfPageListing {
    int pageCount = 0;
    QSize pageSize;         // the first page's size in points, rounded
    PdfOpenProblem problem; // why a document with no pages did not load
};

// Lists a PDF in render workers: calls listed(listing) once (a document that
// does not load, or whose load never ends, has pageCount 0 and a problem). Then, in page
// order, for p in 0..count-1: returns if stop is set; calls beforePage(p + 1)
// and pageReady(p, image), the page rendered on white at fitIntoBox(pageSize,
// box), every page stretched to the first page's proportions. A page that
// crashes or hangs its worker comes as a blank white image. Runs events of
// the calling thread meanwhile; stop is polled and kills the workers at once.
void listPageThumbnails(const PdfInput &input, QSize box, const std::atomic_bool &stop,
                        const std::function<void(const PdfPageListing &)> &listed,
                        const std::function<void(int pageNumber)> &beforePage,
                        const std::function<void(int page, const QImage &thumbnail)> &pageReady,
                        const RenderTimeouts &timeouts = {});
