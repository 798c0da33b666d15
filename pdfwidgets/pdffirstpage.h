#pragma once

#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QByteArray>
#include <QSize>

#include <atomic>

struct PdfFirstPage {
    int pageCount = 0;   // 0 when the file does not open
    QByteArray picture;  // the first page on white, fitted into the box, compressed; empty when not drawn
    PdfOpenProblem problem;
};

// What a file list shows of a PDF: its page count and its first page, drawn
// in a render worker to fit `box` (device pixels). stop ends the reading early.
PdfFirstPage readFirstPage(const PdfInput &input, QSize box, const std::atomic_bool &stop);
