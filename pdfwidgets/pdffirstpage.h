#pragma once

#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QImage>
#include <QString>

#include <atomic>

struct PdfFirstPage {
    int pageCount = 0; // 0 when the file does not open
    QImage image;      // the first page on white, fitted into 200 x 200; null when not drawn
    PdfOpenProblem problem;
};

// What a file list shows of a PDF. stop ends the reading early.
PdfFirstPage readFirstPage(const PdfInput &input, const std::atomic_bool &stop);
