#pragma once

#include <QImage>
#include <QString>

#include <atomic>

struct PdfFirstPage {
    int pageCount = 0; // 0 when the file does not open
    QImage image;      // the first page on white, fitted into 200 x 200; null when not drawn
};

// What a file list shows of a PDF. stop ends the reading early.
PdfFirstPage readFirstPage(const QString &path, const std::atomic_bool &stop);
