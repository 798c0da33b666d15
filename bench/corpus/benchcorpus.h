#pragma once

#include <QString>

namespace BenchCorpus {
// Writes the benchmark documents into folder: mixed100.pdf (text, vector
// graphics and a photo on every page), mixed10.pdf (its first ten pages),
// pages1000.pdf (a long text document) and images20.pdf (a full-page photo per
// page). Needs a QGuiApplication for fonts. Returns false on a write error.
bool write(const QString &folder);

// Writes a document of pageCount pages, each with a few lines of text and one
// of 16 small pictures (160 x 120), embedded once and shared by the pages.
bool writeScaleDocument(const QString &path, int pageCount);

// Writes the split, merge and protect inputs into folder: pages2000.pdf (a
// long text document) and a copy of it, two.pdf, pages250.pdf and one.pdf
// (text), images30.pdf (30 pages sharing 10 photos) and photos54.pdf (about
// 50 MB, a different full-page photo on each page).
bool writeDocumentCorpus(const QString &folder);
} // namespace BenchCorpus
